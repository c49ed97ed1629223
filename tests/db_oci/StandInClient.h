// The stand-in Oracle client of the tests: a temporary program folder whose KOLMARA.INI points at
// a copy of the stand-in library under client/, scripted through the library's own control calls,
// and the shapes of its script. Each ClientFolder is a fresh client: the driver forgets the
// library it had loaded.
#pragma once

#include "common/KOLMCOMM.h"
#include "db/oci/OciLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <dlfcn.h>

namespace kolmara::test {

// A program folder with KOLMARA.INI and, under client/, a copy of a stand-in client.
class ClientFolder {
public:
    // settingsKey: what KOLMARA.INI's "Oracle Client" says (empty: no key).
    explicit ClientFolder(const QString& settingsKey = QStringLiteral("client"))
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("client"));
        writeSettings(settingsKey);
        setProgramFolderForTesting(m_dir.path());
        db::oci::forgetClientLibraryForTesting();
    }
    ~ClientFolder()
    {
        setProgramFolderForTesting(QString());
        db::oci::forgetClientLibraryForTesting();
    }

    QString path(const QString& relative = QString()) const
    {
        return QDir(m_dir.path()).filePath(relative);
    }

    void writeSettings(const QString& settingsKey)
    {
        QFile ini(path(QStringLiteral("KOLMARA.INI")));
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write("[System Version]\r\nCount=0\r\n");
        if (!settingsKey.isEmpty())
            ini.write("Oracle Client=" + settingsKey.toUtf8() + "\r\n");
    }

    // Copies a library into the folder (client/libclntsh.so by default) and scripts that copy.
    void install(const QJsonObject& script,
                 const QString& as = QStringLiteral("client/libclntsh.so"),
                 const QString& from = QStringLiteral(KOLMARA_STANDIN))
    {
        QDir().mkpath(QFileInfo(path(as)).absolutePath());
        QVERIFY(QFile::copy(from, path(as)));
        m_library = path(as);
        setScript(script);
    }

    void setScript(const QJsonObject& script)
    {
        void* h = dlopen(QFile::encodeName(m_library).constData(), RTLD_NOW);
        QVERIFY2(h, dlerror());
        m_reset = reinterpret_cast<void (*)(const char*)>(dlsym(h, "kolmaraStandInReset"));
        m_log = reinterpret_cast<const char* (*)()>(dlsym(h, "kolmaraStandInLog"));
        m_live = reinterpret_cast<int (*)()>(dlsym(h, "kolmaraStandInLiveHandles"));
        m_reset(QJsonDocument(script).toJson().constData());
    }

    QJsonArray log() const { return QJsonDocument::fromJson(m_log()).array(); }
    // The recorded calls of one kind.
    QList<QJsonObject> calls(const QString& name) const
    {
        QList<QJsonObject> out;
        for (const QJsonValue v : log())
            if (v[QStringLiteral("call")].toString() == name)
                out.append(v.toObject());
        return out;
    }
    QStringList callNames() const
    {
        QStringList out;
        for (const QJsonValue v : log())
            out.append(v[QStringLiteral("call")].toString());
        return out;
    }
    int liveHandles() const { return m_live(); }

private:
    QTemporaryDir m_dir;
    QString m_library;
    void (*m_reset)(const char*) = nullptr;
    const char* (*m_log)() = nullptr;
    int (*m_live)() = nullptr;
};

// A stand-in script: the services it serves, its replies to statements, the client's version.
inline QJsonObject script(const QJsonObject& services, const QJsonArray& statements = {},
                          const QJsonArray& version = {19, 20, 0, 0, 0})
{
    return {{"clientVersion", version}, {"services", services}, {"statements", statements}};
}

// A column of a reply: its name, SQLT type and sizes (0: the stand-in's default for the type).
inline QJsonObject column(const QString& name, int type, int size = 0, int charSize = 0)
{
    QJsonObject c{{"name", name}, {"type", type}};
    if (size)
        c.insert(QStringLiteral("size"), size);
    if (charSize)
        c.insert(QStringLiteral("charSize"), charSize);
    return c;
}

}  // namespace kolmara::test
