// The client library search, the loader's own reasons turned into advice, and the environment.
#include "db/oci/OciLibrary.h"

#include "common/KOLMCOMM.h"
#include "common/ProfileFile.h"
#include "db/DatabaseError.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <iterator>
#else
#include <dlfcn.h>
#include <locale.h>
#endif

namespace kolmara::db::oci {

namespace {

#ifdef _WIN32
const QString kLibraryName = QStringLiteral("oci.dll");
const QString kSystemPlaces =
    QStringLiteral("Windows의 DLL 검색 경로(프로그램 폴더, 시스템 폴더, PATH)");
#else
const QString kLibraryName = QStringLiteral("libclntsh.so");
const QString kSystemPlaces = QStringLiteral("시스템 라이브러리 경로(LD_LIBRARY_PATH, ldconfig)");
// The versioned names Instant Client releases install, newest first.
const QStringList kVersionedNames = {
    QStringLiteral("libclntsh.so.23.1"), QStringLiteral("libclntsh.so.21.1"),
    QStringLiteral("libclntsh.so.20.1"), QStringLiteral("libclntsh.so.19.1"),
    QStringLiteral("libclntsh.so.18.1"), QStringLiteral("libclntsh.so.12.1"),
    QStringLiteral("libclntsh.so.11.1")};
#endif

// ---- the platform's loader
// -----------------------------------------------------------------------

struct Loaded {
    void* handle = nullptr;
    QString error;  // the system's reason when handle is null
};

#ifdef _WIN32
QString lastErrorText()
{
    const DWORD code = GetLastError();
    wchar_t* buffer = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    QString text = buffer ? QString::fromWCharArray(buffer).trimmed() : QString();
    LocalFree(buffer);
    text = QStringLiteral("error %1: %2").arg(code).arg(text);
    if (code == ERROR_MOD_NOT_FOUND)
        text += QStringLiteral(
            " (oci.dll 또는 그것이 쓰는 DLL, 예를 들어 Visual C++ 재배포 패키지가 없습니다)");
    return text;
}

Loaded loadFile(const QString& path, bool bareName)
{
    const std::wstring name = QDir::toNativeSeparators(path).toStdWString();
    HMODULE h = bareName ? LoadLibraryW(name.c_str())
                         : LoadLibraryExW(name.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!h)
        return {nullptr, lastErrorText()};
    return {h, {}};
}

void* symbolOf(void* handle, const char* name)
{
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

QString fileOf(void* handle, void*)
{
    wchar_t buffer[MAX_PATH * 2];
    const DWORD n =
        GetModuleFileNameW(static_cast<HMODULE>(handle), buffer, DWORD(std::size(buffer)));
    return n ? QDir::fromNativeSeparators(QString::fromWCharArray(buffer, int(n))) : QString();
}

void preloadCompanions(const QString&) {}
#else
// The loader's reasons in its own English words, whatever the desktop's language: the advice
// below recognises them, and they are what a search for the problem finds.
Loaded loadFile(const QString& path, bool)
{
    const locale_t english = newlocale(LC_MESSAGES_MASK, "C", locale_t(nullptr));
    const locale_t previous = english ? uselocale(english) : locale_t(nullptr);
    dlerror();
    void* h = dlopen(QFile::encodeName(path).constData(), RTLD_NOW);
    const char* e = h ? nullptr : dlerror();
    Loaded loaded{h, h   ? QString()
                     : e ? QString::fromLocal8Bit(e)
                         : QStringLiteral("dlopen failed")};
    if (english) {
        uselocale(previous);
        freelocale(english);
    }
    return loaded;
}

void* symbolOf(void* handle, const char* name)
{
    return dlsym(handle, name);
}

QString fileOf(void*, void* symbol)
{
    Dl_info info{};
    if (symbol && dladdr(symbol, &info) && info.dli_fname)
        return QFileInfo(QFile::decodeName(info.dli_fname)).absoluteFilePath();
    return {};
}

// An Instant Client folder that is not on the loader's path still works when its own libraries
// are already loaded: the loader then finds them by name.
void preloadCompanions(const QString& folder)
{
    const QStringList companions =
        QDir(folder).entryList({QStringLiteral("libnnz*.so*"), QStringLiteral("libclntshcore.so*")},
                               QDir::Files, QDir::Name);
    for (const QString& name : companions)
        dlopen(QFile::encodeName(QDir(folder).filePath(name)).constData(), RTLD_NOW | RTLD_GLOBAL);
}

void preloadDataLibrary(const QString& folder)
{
    for (const char* name : {"libociei.so", "libociicus.so"}) {
        const QString path = QDir(folder).filePath(QLatin1String(name));
        if (QFile::exists(path)) {
            dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_GLOBAL);
            return;
        }
    }
}
#endif

// The word size and machine a library file was built for, when it differs from this program's.
QString bitnessMismatch(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = f.read(4096);
    const int ours = int(sizeof(void*)) * 8;
    int bits = 0;
    if (head.size() >= 20 && head.startsWith("\x7f"
                                             "ELF")) {
        bits = head[4] == 1 ? 32 : head[4] == 2 ? 64 : 0;
    } else if (head.size() >= 0x40 && head.startsWith("MZ")) {
        const quint32 pe = quint8(head[0x3c]) | quint8(head[0x3d]) << 8 | quint8(head[0x3e]) << 16 |
                           quint32(quint8(head[0x3f])) << 24;
        if (pe + 6 <= quint32(head.size()) && head.mid(int(pe), 4) == QByteArray("PE\0\0", 4)) {
            const int machine = quint8(head[int(pe) + 4]) | quint8(head[int(pe) + 5]) << 8;
            bits = machine == 0x14c ? 32 : (machine == 0x8664 || machine == 0xaa64) ? 64 : 0;
        }
    }
    if (bits == 0 || bits == ours)
        return {};
    return QStringLiteral(
               "%1비트 클라이언트입니다: Kolmara는 %2비트 프로그램이라 %2비트 Oracle 클라이언트가 "
               "필요합니다.")
        .arg(bits)
        .arg(ours);
}

// Advice for the reasons a DBA meets most.
QString adviceFor(const QString& reason)
{
    if (reason.contains(QStringLiteral("libaio")))
        return QStringLiteral(
            "libaio 패키지를 설치하십시오 (Debian/Ubuntu: apt-get install libaio1, Ubuntu 24.04는 "
            "libaio1t64와 "
            "libaio.so.1 링크, Oracle Linux/RHEL: dnf install libaio).");
    if (reason.contains(QStringLiteral("wrong ELF class")))
        return QStringLiteral(
            "32비트와 64비트가 맞지 않는 클라이언트입니다: Kolmara에는 64비트 Oracle 클라이언트가 "
            "필요합니다.");
    if (reason.contains(QStringLiteral("libnnz")) ||
        reason.contains(QStringLiteral("libclntshcore")))
        return QStringLiteral(
            "Instant Client 폴더의 라이브러리가 모두 한 폴더에 있는지 확인하고, 그 폴더를 "
            "LD_LIBRARY_PATH에 "
            "넣거나 ldconfig에 등록하십시오.");
    return {};
}

// ---- the search
// ------------------------------------------------------------------------------------

struct Attempt {
    QString place;   // where we looked
    QString result;  // what happened there
};

struct Candidate {
    QString path;
    bool bareName = false;
};

// The library files in a folder: the plain name first, then versioned names, newest first.
QStringList libraryFilesIn(const QString& folder)
{
#ifdef _WIN32
    return QFile::exists(QDir(folder).filePath(kLibraryName)) ? QStringList{kLibraryName}
                                                              : QStringList();
#else
    QStringList names =
        QDir(folder).entryList({kLibraryName + QLatin1Char('*')}, QDir::Files | QDir::System);
    QCollator collator;
    collator.setNumericMode(true);
    std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        if (a == kLibraryName || b == kLibraryName)
            return a == kLibraryName && b != kLibraryName;
        return collator.compare(a, b) > 0;
    });
    return names;
#endif
}

class Search {
public:
    std::optional<OciLibrary> run()
    {
        const QString configured =
            ProfileFile(settingsFilePath()).readString(kClientSection, kClientKey).trimmed();
        const QString settingPlace =
            QStringLiteral("KOLMARA.INI [%1] \"%2\"").arg(kClientSection, kClientKey);
        if (configured.isEmpty()) {
            m_attempts.append({settingPlace, QStringLiteral("설정되어 있지 않습니다")});
        } else {
            QString folder = configured;
            if (QDir::isRelativePath(folder))
                folder = QDir(programFolder()).filePath(folder);
            if (auto lib = tryFolder(settingPlace + QStringLiteral(" = ") + configured, {folder}))
                return lib;
        }

        const QString home = qEnvironmentVariable("ORACLE_HOME").trimmed();
        if (home.isEmpty()) {
            m_attempts.append(
                {QStringLiteral("ORACLE_HOME"), QStringLiteral("설정되어 있지 않습니다")});
        } else {
#ifdef _WIN32
            const QStringList folders = {QDir(home).filePath(QStringLiteral("bin")), home};
#else
            const QStringList folders = {QDir(home).filePath(QStringLiteral("lib")), home};
#endif
            if (auto lib = tryFolder(QStringLiteral("ORACLE_HOME = ") + home, folders))
                return lib;
        }

        QStringList names{kLibraryName};
#ifndef _WIN32
        names += kVersionedNames;
#endif
        QString firstError;
        QString telling;  // a reason other than "not found"
        for (const QString& name : names) {
            const Loaded loaded = loadFile(name, true);
            if (loaded.handle) {
                if (auto lib = complete(kSystemPlaces, loaded.handle, QString()))
                    return lib;
                return std::nullopt;
            }
            if (firstError.isEmpty())
                firstError = loaded.error;
            if (telling.isEmpty() && !isNotFound(loaded.error))
                telling = loaded.error;
        }
        m_attempts.append({kSystemPlaces, telling.isEmpty() ? firstError : telling});
        if (!telling.isEmpty()) {
            m_foundButFailed = true;
            if (const QString advice = adviceFor(telling); !advice.isEmpty())
                m_advice.append(advice);
        }
        return std::nullopt;
    }

    QString message() const
    {
        QString text =
            !m_fatal.isEmpty() ? m_fatal
            : m_foundButFailed
                ? QStringLiteral("Oracle 클라이언트 라이브러리(%1)를 불러오지 못했습니다.")
                      .arg(kLibraryName)
                : QStringLiteral("Oracle 클라이언트 라이브러리(%1)를 찾지 못했습니다.")
                      .arg(kLibraryName);
        text += QStringLiteral("\n찾아본 곳:");
        for (int i = 0; i < m_attempts.size(); ++i)
            text += QStringLiteral("\n  %1. %2: %3")
                        .arg(i + 1)
                        .arg(m_attempts[i].place, m_attempts[i].result);
        QStringList advice = m_advice;
        advice.removeDuplicates();
        if (advice.isEmpty())
#ifdef _WIN32
            advice.append(
                QStringLiteral(
                    "64비트 Oracle Instant Client Basic을 설치하고, 그 폴더를 KOLMARA.INI의 [%1] "
                    "\"%2\"에 적거나 PATH의 맨 앞에 넣으십시오.")
                    .arg(kClientSection, kClientKey));
#else
            advice.append(
                QStringLiteral(
                    "64비트 Oracle Instant Client Basic을 설치하고, 그 폴더를 KOLMARA.INI의 [%1] "
                    "\"%2\"에 적거나 ldconfig에 등록하십시오.")
                    .arg(kClientSection, kClientKey));
#endif
        text += QStringLiteral("\n해결: ") + advice.join(QLatin1Char(' '));
        return text;
    }

private:
    static bool isNotFound(const QString& error)
    {
        return error.contains(QStringLiteral("No such file")) ||
               error.contains(QStringLiteral("error 126:"));
    }

    // The first of the folders that holds the library (a full client keeps it in lib/ or bin/, an
    // Instant Client in its own folder).
    std::optional<OciLibrary> tryFolder(const QString& place, const QStringList& folders)
    {
        QString folder;
        QStringList files;
        for (const QString& f : folders) {
            files = QFileInfo(f).isDir() ? libraryFilesIn(f) : QStringList();
            if (!files.isEmpty()) {
                folder = f;
                break;
            }
        }
        if (files.isEmpty()) {
            QStringList shown;
            for (const QString& f : folders)
                shown.append(QDir::toNativeSeparators(f));
            const bool anyFolder =
                std::any_of(folders.begin(), folders.end(),
                            [](const QString& f) { return QFileInfo(f).isDir(); });
            m_attempts.append({place, anyFolder
                                          ? QStringLiteral("%1에 %2이(가) 없습니다")
                                                .arg(shown.join(QStringLiteral(", ")), kLibraryName)
                                          : QStringLiteral("폴더 %1이(가) 없습니다")
                                                .arg(shown.join(QStringLiteral(", ")))});
            return std::nullopt;
        }
        const QString path = QDir(folder).filePath(files.first());
        preloadCompanions(folder);
        const Loaded loaded = loadFile(path, false);
        if (!loaded.handle) {
            m_foundButFailed = true;
            const QString shown = QDir::toNativeSeparators(path);
            m_attempts.append({place, loaded.error.startsWith(shown)
                                          ? loaded.error
                                          : shown + QStringLiteral(": ") + loaded.error});
            const QString bits = bitnessMismatch(path);
            const QString advice = bits.isEmpty() ? adviceFor(loaded.error) : bits;
            if (!advice.isEmpty())
                m_advice.append(advice);
            return std::nullopt;
        }
        return complete(place, loaded.handle, folder);
    }

    // Looks up the calls and makes the environment; a library that fails here ends the search, as
    // it is the client the DBA installed.
    std::optional<OciLibrary> complete(const QString& place, void* handle, const QString& folder)
    {
        OciLibrary lib;
        QStringList missing;
#define KOLMARA_OCI_RESOLVE(name, ret, params)                                 \
    lib.calls.name = reinterpret_cast<ret(*) params>(symbolOf(handle, #name)); \
    if (!lib.calls.name)                                                       \
        missing.append(QStringLiteral(#name));
        KOLMARA_OCI_REQUIRED_CALLS(KOLMARA_OCI_RESOLVE)
#undef KOLMARA_OCI_RESOLVE
#define KOLMARA_OCI_RESOLVE_OPTIONAL(name, ret, params) \
    lib.calls.name = reinterpret_cast<ret(*) params>(symbolOf(handle, #name));
        KOLMARA_OCI_OPTIONAL_CALLS(KOLMARA_OCI_RESOLVE_OPTIONAL)
#undef KOLMARA_OCI_RESOLVE_OPTIONAL

        lib.file = fileOf(handle, reinterpret_cast<void*>(lib.calls.OCIEnvNlsCreate));
        const QString shown =
            lib.file.isEmpty() ? kLibraryName : QDir::toNativeSeparators(lib.file);
        if (!missing.isEmpty()) {
            m_attempts.append({place, QStringLiteral("%1에 %2 함수가 없습니다")
                                          .arg(shown, missing.join(QStringLiteral(", ")))});
            m_fatal =
                QStringLiteral("Oracle 클라이언트 %1은(는) Kolmara가 쓰기에 너무 오래되었습니다.")
                    .arg(shown);
            m_advice.append(QStringLiteral(
                "Oracle 클라이언트 11.2 이후(권장: Instant Client 19 이후)를 설치하십시오."));
            return std::nullopt;
        }
        if (lib.calls.OCIClientVersion)
            lib.calls.OCIClientVersion(&lib.version[0], &lib.version[1], &lib.version[2],
                                       &lib.version[3], &lib.version[4]);

        const QString dir = lib.file.isEmpty() ? folder : QFileInfo(lib.file).absolutePath();
        lib.kind = clientKind(dir);
#ifndef _WIN32
        if (!dir.isEmpty())
            preloadDataLibrary(dir);
#endif
        void* env = nullptr;
        const sword rc = lib.calls.OCIEnvNlsCreate(&env, OCI_THREADED, nullptr, nullptr, nullptr,
                                                   nullptr, 0, nullptr, kAl32Utf8, kAl32Utf8);
        if (rc != OCI_SUCCESS || !env) {
            QString reason = QStringLiteral("OCIEnvNlsCreate가 %1을(를) 돌려주었습니다").arg(rc);
            if (env) {
                OraText buffer[3072] = {};
                sb4 code = 0;
                if (lib.calls.OCIErrorGet(env, 1, nullptr, &code, buffer, sizeof buffer,
                                          OCI_HTYPE_ENV) == OCI_SUCCESS)
                    reason = QString::fromUtf8(reinterpret_cast<const char*>(buffer)).trimmed();
                lib.calls.OCIHandleFree(env, OCI_HTYPE_ENV);
            }
            m_attempts.append({place, shown + QStringLiteral(": ") + reason});
            m_fatal = QStringLiteral(
                          "Oracle 클라이언트 %1을(를) 불러왔지만 OCI 환경을 만들지 못했습니다.")
                          .arg(shown);
#ifdef _WIN32
            m_advice.append(
                QStringLiteral("클라이언트의 메시지와 NLS 파일(Instant Client는 oraociei*.dll)이 "
                               "oci.dll과 같은 폴더에 "
                               "있는지, PATH에 다른 Oracle 설치가 앞서 있지 않은지 확인하십시오."));
#else
            m_advice.append(QStringLiteral(
                "클라이언트의 메시지와 NLS 파일(Instant Client는 libociei.so)이 같은 폴더에 "
                "있는지, "
                "다른 Oracle 설치의 ORACLE_HOME이나 LD_LIBRARY_PATH가 섞이지 않았는지 "
                "확인하십시오. "
                "Instant Client 폴더는 LD_LIBRARY_PATH나 ldconfig에도 등록하십시오."));
#endif
            return std::nullopt;
        }
        lib.env = env;
        return lib;
    }

    static ClientKind clientKind(const QString& folder)
    {
        if (folder.isEmpty())
            return ClientKind::Full;
#ifdef _WIN32
        const QDir dir(folder);
        if (!dir.entryList({QStringLiteral("oraociei*.dll")}, QDir::Files).isEmpty())
            return ClientKind::Basic;
        if (!dir.entryList({QStringLiteral("oraociicus*.dll")}, QDir::Files).isEmpty())
            return ClientKind::BasicLight;
#else
        if (QFile::exists(QDir(folder).filePath(QStringLiteral("libociei.so"))))
            return ClientKind::Basic;
        if (QFile::exists(QDir(folder).filePath(QStringLiteral("libociicus.so"))))
            return ClientKind::BasicLight;
#endif
        return ClientKind::Full;
    }

    QList<Attempt> m_attempts;
    QStringList m_advice;
    QString m_fatal;
    bool m_foundButFailed = false;
};

std::mutex& libraryLock()
{
    static std::mutex lock;
    return lock;
}

std::shared_ptr<const OciLibrary>& loadedLibrary()
{
    static std::shared_ptr<const OciLibrary> library;
    return library;
}

}  // namespace

QString OciLibrary::versionText() const
{
    if (version[0] == 0)
        return {};
    return QStringLiteral("%1.%2.%3.%4.%5")
        .arg(version[0])
        .arg(version[1])
        .arg(version[2])
        .arg(version[3])
        .arg(version[4]);
}

QString OciLibrary::kindText() const
{
    switch (kind) {
    case ClientKind::Basic:
        return QStringLiteral("Instant Client Basic");
    case ClientKind::BasicLight:
        return QStringLiteral("Instant Client Basic Light");
    case ClientKind::Full:
        break;
    }
    return QStringLiteral("Oracle Client");
}

std::shared_ptr<const OciLibrary> clientLibrary()
{
    const std::lock_guard lock(libraryLock());
    std::shared_ptr<const OciLibrary>& library = loadedLibrary();
    if (!library) {
        Search search;
        std::optional<OciLibrary> found = search.run();
        if (!found)
            throw DatabaseError(0, search.message());
        library = std::make_shared<const OciLibrary>(std::move(*found));
    }
    return library;
}

void forgetClientLibraryForTesting()
{
    const std::lock_guard lock(libraryLock());
    loadedLibrary().reset();
}

}  // namespace kolmara::db::oci
