// Finding and loading the Oracle client library at run time, and the one OCI environment of the
// process. The search goes, in order: the folder in the settings file's key "Oracle Client"
// (section "System Version"), then ORACLE_HOME, then the platform's own library search
// (libclntsh.so and its versioned names on Linux, oci.dll on Windows). The first library that
// loads and has every call the driver needs wins and stays loaded for the rest of the run; when
// none does, the error names each place looked at, the system's own reason and the fix, and the
// next connect searches again.
#pragma once

#include "db/oci/OciApi.h"

#include <QString>

#include <memory>

namespace kolmara::db::oci {

enum class ClientKind { Basic, BasicLight, Full };

struct OciLibrary {
    QString file;  // the library file that was loaded, as the loader found it
    OciCalls calls;
    int version[5] = {0, 0, 0, 0, 0};  // major, minor, update, patch, port update; 0s when unknown
    ClientKind kind = ClientKind::Full;
    OCIEnv* env = nullptr;  // threaded, AL32UTF8 for CHAR and NCHAR data

    int major() const { return version[0]; }
    // "19.20.0.0.0", or empty when the client cannot tell.
    QString versionText() const;
    QString kindText() const;
};

// The loaded client; throws DatabaseError (code 0, the whole explanation) when there is none.
std::shared_ptr<const OciLibrary> clientLibrary();

// The settings key and section that name the client folder.
inline const QString kClientSection = QStringLiteral("System Version");
inline const QString kClientKey = QStringLiteral("Oracle Client");

// Forgets the loaded client (the library itself stays mapped, and connections keep theirs), so
// the next connect searches again.
void forgetClientLibraryForTesting();

}  // namespace kolmara::db::oci
