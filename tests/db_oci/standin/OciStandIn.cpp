// A stand-in for the Oracle client library, for tests only: a shared library that exports the
// same C calls the client driver looks up, behaving like a small Oracle server that answers from a
// script. It keeps the rules the driver must live with (bind buffers read at execute, defines
// filled in arrays with indicators and return codes, NULL and truncation, NO_DATA on the last
// batch, a break from another thread ending a blocked call with ORA-01013, text mangled unless the
// environment asked for AL32UTF8, dates and decimal points as the session's NLS settings say) and
// records what the driver did, so tests check both the results and the calls.
//
// The script is a JSON object, set with kolmaraStandInReset() or read from the file named by
// KOLMARA_STANDIN_SCRIPT when the first environment is made:
//   clientVersion  [19, 20, 0, 0, 0]
//   envError       [code, "text"]: the environment is made but reports this error
//   services       {"ORCL": {"users": {"SCOTT": "TIGER"}, "charset": "AL32UTF8", "ncharset":
//   "AL16UTF16",
//                            "territory": "GERMANY", "logonError": [code, "text"], "dumps": ["Typ=1
//                            Len=2: b0,a1"]}}
//   statements     [{"match": "text the SQL contains", "columns": [{"name": "X", "type": 1, "size":
//   10,
//                    "charSize": 10}], "rows": [["a"], [null]], "generate": 1000, "rowCount": 3,
//                    "error": [code, "text"], "failAt": "execute" | "fetch", "failAfterRows": 5,
//                    "hang": "execute" | "fetch"}]
#include "db/oci/OciApi.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QLocale>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <type_traits>

using namespace kolmara::db::oci;

#define STANDIN_EXPORT extern "C" __attribute__((visibility("default")))

#ifdef KOLMARA_STANDIN_NEEDS_DEPENDENCY
extern "C" int kolmaraStandInDependency();
#endif

namespace {

struct Column {
    QByteArray name;
    ub2 type = SQLT_CHR;
    ub2 size = 0;
    ub2 charSize = 0;
};

struct Reply {
    QString match;
    QList<Column> columns;
    QJsonArray rows;
    int generate = 0;
    ub4 rowCount = 0;
    int errorCode = 0;
    QString errorText;
    QString failAt = QStringLiteral("execute");
    int failAfterRows = 0;
    QString hang;
};

struct Service {
    QHash<QString, QString> users;
    QString charset = QStringLiteral("AL32UTF8");
    QString ncharset = QStringLiteral("AL16UTF16");
    QString territory;
    int logonErrorCode = 0;
    QString logonErrorText;
    QStringList dumps;
};

struct Script {
    int version[5] = {19, 20, 0, 0, 0};
    int envErrorCode = 0;
    QString envErrorText;
    QHash<QString, Service> services;
    QList<Reply> replies;
};

// ---- handles
// ---------------------------------------------------------------------------------------

struct Handle {
    ub4 type = 0;
    virtual ~Handle() = default;
};

struct Err : Handle {
    int code = 0;
    QByteArray text;
};

struct Env : Err {
    ub2 charset = 0;
    ub2 ncharset = 0;
};

struct Server : Handle {
    QString service;
    bool attached = false;
};

struct Session : Handle {
    QByteArray user;
    QByteArray password;
    bool begun = false;
    QString dateFormat;
    QString numericCharacters;
};

struct SvcCtx : Handle {
    Server* server = nullptr;
    Session* session = nullptr;
    ub4 callTimeout = 0;
    bool inCall = false;
    Err* callErr = nullptr;
    bool breakRequested = false;
    bool pendingBreak = false;
};

struct Bind {
    void* value = nullptr;
    sb4 size = 0;
    ub2 type = 0;
    sb2* indicator = nullptr;
};

struct Define {
    char* value = nullptr;
    sb4 size = 0;
    ub2 type = 0;
    sb2* indicator = nullptr;
    ub2* length = nullptr;
    ub2* code = nullptr;
};

struct Stmt : Handle {
    SvcCtx* svc = nullptr;
    QString sql;
    ub2 stmtType = 0;
    Reply reply;
    bool found = false;
    QMap<QString, Bind> binds;
    QMap<ub4, Define> defines;
    bool executed = false;
    int position = 0;
    ub4 rowsFetched = 0;
    ub4 rowCount = 0;
    ub4 prefetch = 0;
};

struct Param : Handle {
    Stmt* stmt = nullptr;
    int position = 0;
};

struct State {
    std::mutex lock;
    std::condition_variable wake;
    Script script;
    bool scripted = false;
    QJsonArray log;
    QSet<Handle*> live;
    QByteArray logText;
};

State& state()
{
    static State s;
    return s;
}

void record(QJsonObject event)
{
    state().log.append(event);
}

template <typename T>
T* make(ub4 type)
{
    T* h = new T;
    h->type = type;
    state().live.insert(h);
    return h;
}

void destroy(Handle* h)
{
    if (state().live.remove(h))
        delete h;
}

sword fail(Err* err, int code, const QString& text)
{
    if (err) {
        err->code = code;
        err->text =
            QStringLiteral("ORA-%1: %2\n").arg(code, 5, 10, QLatin1Char('0')).arg(text).toUtf8();
    }
    return OCI_ERROR;
}

void clear(Err* err)
{
    if (err) {
        err->code = 0;
        err->text.clear();
    }
}

QString text(const void* data, qsizetype size)
{
    return QString::fromUtf8(static_cast<const char*>(data), size);
}

// ---- the script
// ------------------------------------------------------------------------------------

Script parse(const QByteArray& json)
{
    Script s;
    const QJsonObject o = QJsonDocument::fromJson(json).object();
    const QJsonArray v = o.value(QStringLiteral("clientVersion")).toArray();
    for (int i = 0; i < 5 && i < v.size(); ++i)
        s.version[i] = v[i].toInt();
    const QJsonArray envError = o.value(QStringLiteral("envError")).toArray();
    s.envErrorCode = envError.at(0).toInt();
    s.envErrorText = envError.at(1).toString();
    const QJsonObject services = o.value(QStringLiteral("services")).toObject();
    for (auto it = services.begin(); it != services.end(); ++it) {
        const QJsonObject so = it->toObject();
        Service svc;
        const QJsonObject users = so.value(QStringLiteral("users")).toObject();
        for (auto u = users.begin(); u != users.end(); ++u)
            svc.users.insert(u.key().toUpper(), u->toString());
        svc.charset = so.value(QStringLiteral("charset")).toString(svc.charset);
        svc.ncharset = so.value(QStringLiteral("ncharset")).toString(svc.ncharset);
        svc.territory = so.value(QStringLiteral("territory")).toString();
        const QJsonArray logonError = so.value(QStringLiteral("logonError")).toArray();
        svc.logonErrorCode = logonError.at(0).toInt();
        svc.logonErrorText = logonError.at(1).toString();
        for (const QJsonValue d : so.value(QStringLiteral("dumps")).toArray())
            svc.dumps.append(d.toString());
        s.services.insert(it.key().toUpper(), svc);
    }
    for (const QJsonValue rv : o.value(QStringLiteral("statements")).toArray()) {
        const QJsonObject ro = rv.toObject();
        Reply r;
        r.match = ro.value(QStringLiteral("match")).toString();
        for (const QJsonValue cv : ro.value(QStringLiteral("columns")).toArray()) {
            const QJsonObject co = cv.toObject();
            Column c;
            c.name = co.value(QStringLiteral("name")).toString().toUtf8();
            c.type = ub2(co.value(QStringLiteral("type")).toInt(SQLT_CHR));
            c.size = ub2(co.value(QStringLiteral("size"))
                             .toInt(c.type == SQLT_NUM   ? 22
                                    : c.type == SQLT_DAT ? 7
                                                         : 4000));
            c.charSize = ub2(co.value(QStringLiteral("charSize"))
                                 .toInt(c.type == SQLT_CHR || c.type == SQLT_AFC ? c.size : 0));
            r.columns.append(c);
        }
        r.rows = ro.value(QStringLiteral("rows")).toArray();
        r.generate = ro.value(QStringLiteral("generate")).toInt();
        r.rowCount = ub4(ro.value(QStringLiteral("rowCount")).toInt());
        const QJsonArray error = ro.value(QStringLiteral("error")).toArray();
        r.errorCode = error.at(0).toInt();
        r.errorText = error.at(1).toString();
        r.failAt = ro.value(QStringLiteral("failAt")).toString(r.failAt);
        r.failAfterRows = ro.value(QStringLiteral("failAfterRows")).toInt();
        r.hang = ro.value(QStringLiteral("hang")).toString();
        s.replies.append(r);
    }
    return s;
}

void loadScriptFromEnvironment()
{
    State& s = state();
    if (s.scripted)
        return;
    s.scripted = true;
    QFile f(qEnvironmentVariable("KOLMARA_STANDIN_SCRIPT"));
    if (!f.fileName().isEmpty() && f.open(QIODevice::ReadOnly))
        s.script = parse(f.readAll());
}

const Service* serviceOf(const SvcCtx* svc)
{
    if (!svc || !svc->server)
        return nullptr;
    const auto it = state().script.services.constFind(svc->server->service.toUpper());
    return it == state().script.services.constEnd() ? nullptr : &*it;
}

ub2 statementType(const QString& sql)
{
    static const QRegularExpression word(QStringLiteral("^\\s*([A-Za-z]+)"));
    const QString w = word.match(sql).captured(1).toUpper();
    static const QHash<QString, ub2> types = {
        {"SELECT", 1}, {"WITH", 1},  {"UPDATE", 2}, {"DELETE", 3},  {"INSERT", 4}, {"CREATE", 5},
        {"DROP", 6},   {"ALTER", 7}, {"BEGIN", 8},  {"DECLARE", 9}, {"MERGE", 16}, {"COMMIT", 21}};
    return types.value(w, 0);
}

// The reply for a statement: the server's own dictionary first, then the script.
bool replyFor(Stmt* st)
{
    const QString sql = st->sql;
    const Service* service = serviceOf(st->svc);
    Reply r;
    if (sql.startsWith(QStringLiteral("ALTER SESSION"), Qt::CaseInsensitive)) {
        st->reply = r;
        return true;
    }
    if (sql.contains(QStringLiteral("NLS_DATABASE_PARAMETERS")) && service) {
        r.columns = {{"PARAMETER", SQLT_CHR, 128, 128}, {"VALUE", SQLT_CHR, 64, 64}};
        r.rows = QJsonArray{QJsonArray{"NLS_CHARACTERSET", service->charset},
                            QJsonArray{"NLS_NCHAR_CHARACTERSET", service->ncharset}};
        st->reply = r;
        return true;
    }
    if (sql.contains(QStringLiteral("DUMP(SUBSTRB(COMMENTS")) && service) {
        r.columns = {{"DUMP", SQLT_CHR, 4000, 4000}};
        for (const QString& d : service->dumps)
            r.rows.append(QJsonArray{d});
        st->reply = r;
        return true;
    }
    for (const Reply& candidate : std::as_const(state().script.replies)) {
        if (sql.contains(candidate.match)) {
            st->reply = candidate;
            return true;
        }
    }
    return false;
}

int rowTotal(const Reply& r)
{
    return r.generate > 0 ? r.generate : int(r.rows.size());
}

QJsonValue cellOf(const Reply& r, int row, int column)
{
    if (r.generate > 0) {
        if (r.columns[column].type == SQLT_NUM)
            return QString::number(row + 1);
        return QStringLiteral("%1-%2").arg(QString::fromUtf8(r.columns[column].name)).arg(row + 1);
    }
    return r.rows.at(row).toArray().at(column);
}

// The text the server sends for a value, in the session's formats and the client's character set.
QByteArray serverText(const Stmt* st, const Column& c, const QString& value)
{
    QString out = value;
    const Session* ses = st->svc->session;
    if (c.type == SQLT_DAT && ses->dateFormat != QLatin1String("YYYY-MM-DD HH24:MI:SS")) {
        const QDateTime d = QDateTime::fromString(value, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        out = QLocale::c().toString(d, QStringLiteral("dd-MMM-yy")).toUpper();
    }
    if (c.type == SQLT_NUM) {
        const Service* service = serviceOf(st->svc);
        QChar decimal = service && service->territory == QLatin1String("GERMANY")
                            ? QLatin1Char(',')
                            : QLatin1Char('.');
        if (ses->numericCharacters.size() == 2)
            decimal = ses->numericCharacters[0];
        out.replace(QLatin1Char('.'), decimal);
    }
    const Env* env = nullptr;
    for (Handle* h : std::as_const(state().live))
        if (h->type == OCI_HTYPE_ENV)
            env = static_cast<Env*>(h);
    if (!env || env->charset != kAl32Utf8) {
        for (QChar& ch : out)
            if (ch.unicode() > 127)
                ch = QLatin1Char('?');
    }
    return out.toUtf8();
}

// Waits for a break or the call timeout; the lock is released meanwhile.
sword block(std::unique_lock<std::mutex>& lock, SvcCtx* svc, Err* err)
{
    const auto limit = std::chrono::milliseconds(svc->callTimeout ? svc->callTimeout : 20000);
    const bool broken = state().wake.wait_for(lock, limit, [&] { return svc->breakRequested; });
    svc->breakRequested = false;
    if (broken)
        return fail(err, 1013, QStringLiteral("user requested cancel of current operation"));
    if (svc->callTimeout)
        return fail(err, 3156, QStringLiteral("OCI call timed out"));
    return fail(err, 1, QStringLiteral("stand-in: the blocked call was never broken"));
}

struct CallScope {
    SvcCtx* svc;
    CallScope(SvcCtx* s, Err* err) : svc(s)
    {
        svc->inCall = true;
        svc->callErr = err;
    }
    ~CallScope()
    {
        svc->inCall = false;
        svc->callErr = nullptr;
    }
};

QJsonValue boundValue(const Bind& b)
{
    if (b.indicator && *b.indicator == OCI_IND_NULL)
        return QJsonValue::Null;
    switch (b.type) {
    case SQLT_STR:
        return text(b.value, qsizetype(qstrnlen(static_cast<const char*>(b.value), uint(b.size))));
    case SQLT_CHR:
        return text(b.value, b.size);
    case SQLT_FLT:
        if (b.size == sizeof(double))
            return *static_cast<const double*>(b.value);
        return double(*static_cast<const float*>(b.value));
    default:
        return QStringLiteral("<type %1>").arg(b.type);
    }
}

}  // namespace

// ---- control
// ---------------------------------------------------------------------------------------

STANDIN_EXPORT void kolmaraStandInReset(const char* scriptJson)
{
    State& s = state();
    const std::lock_guard lock(s.lock);
    s.script = parse(QByteArray(scriptJson));
    s.scripted = true;
    s.log = QJsonArray();
}

// The calls recorded since the last reset, as a JSON array; valid until the next call.
STANDIN_EXPORT const char* kolmaraStandInLog()
{
    State& s = state();
    const std::lock_guard lock(s.lock);
    s.logText = QJsonDocument(s.log).toJson(QJsonDocument::Compact);
    return s.logText.constData();
}

// Handles allocated and not yet freed, the environment aside.
STANDIN_EXPORT int kolmaraStandInLiveHandles()
{
    State& s = state();
    const std::lock_guard lock(s.lock);
    int n = 0;
    for (Handle* h : std::as_const(s.live))
        n += h->type != OCI_HTYPE_ENV;
    return n;
}

// ---- the client calls
// ------------------------------------------------------------------------------

STANDIN_EXPORT sword OCIEnvNlsCreate(OCIEnv** envp, ub4 mode, void*, OciMallocFn, OciReallocFn,
                                     OciFreeFn, size_t, void**, ub2 charset, ub2 ncharset)
{
#ifdef KOLMARA_STANDIN_NEEDS_DEPENDENCY
    kolmaraStandInDependency();
#endif
    State& s = state();
    const std::lock_guard lock(s.lock);
    loadScriptFromEnvironment();
    Env* env = make<Env>(OCI_HTYPE_ENV);
    env->charset = charset;
    env->ncharset = ncharset;
    *envp = env;
    record({{"call", "OCIEnvNlsCreate"},
            {"mode", int(mode)},
            {"charset", charset},
            {"ncharset", ncharset}});
    if (s.script.envErrorCode)
        return fail(env, s.script.envErrorCode, s.script.envErrorText);
    return OCI_SUCCESS;
}

STANDIN_EXPORT void OCIClientVersion(sword* major, sword* minor, sword* update, sword* patch,
                                     sword* portUpdate)
{
    const std::lock_guard lock(state().lock);
    loadScriptFromEnvironment();
    const int* v = state().script.version;
    *major = v[0];
    *minor = v[1];
    *update = v[2];
    *patch = v[3];
    *portUpdate = v[4];
}

STANDIN_EXPORT sword OCIHandleAlloc(const void* parent, void** handle, ub4 type, size_t, void**)
{
    const std::lock_guard lock(state().lock);
    if (!parent || !state().live.contains(static_cast<Handle*>(const_cast<void*>(parent))))
        return OCI_INVALID_HANDLE;
    switch (type) {
    case OCI_HTYPE_ERROR:
        *handle = make<Err>(type);
        return OCI_SUCCESS;
    case OCI_HTYPE_SERVER:
        *handle = make<Server>(type);
        return OCI_SUCCESS;
    case OCI_HTYPE_SVCCTX:
        *handle = make<SvcCtx>(type);
        return OCI_SUCCESS;
    case OCI_HTYPE_SESSION:
        *handle = make<Session>(type);
        return OCI_SUCCESS;
    default:
        return OCI_INVALID_HANDLE;
    }
}

STANDIN_EXPORT sword OCIHandleFree(void* handle, ub4 type)
{
    const std::lock_guard lock(state().lock);
    auto* h = static_cast<Handle*>(handle);
    if (!state().live.contains(h) || h->type != type)
        return OCI_INVALID_HANDLE;
    destroy(h);
    return OCI_SUCCESS;
}

STANDIN_EXPORT sword OCIDescriptorFree(void* descriptor, ub4 type)
{
    return OCIHandleFree(descriptor, type);
}

STANDIN_EXPORT sword OCIErrorGet(void* handle, ub4 recordNo, OraText*, sb4* errorCode,
                                 OraText* buffer, ub4 bufferSize, ub4 type)
{
    const std::lock_guard lock(state().lock);
    auto* h = static_cast<Handle*>(handle);
    if (!state().live.contains(h) || h->type != type || recordNo != 1)
        return OCI_INVALID_HANDLE;
    const Err* err = static_cast<Err*>(h);
    if (err->code == 0)
        return OCI_NO_DATA;
    *errorCode = err->code;
    const qsizetype n = std::min<qsizetype>(err->text.size(), qsizetype(bufferSize) - 1);
    std::memcpy(buffer, err->text.constData(), size_t(n));
    buffer[n] = 0;
    return OCI_SUCCESS;
}

STANDIN_EXPORT sword OCIServerAttach(OCIServer* server, OCIError* error, const OraText* link,
                                     sb4 linkLength, ub4)
{
    const std::lock_guard lock(state().lock);
    auto* srv = static_cast<Server*>(server);
    auto* err = static_cast<Err*>(error);
    clear(err);
    srv->service = text(link, linkLength);
    record({{"call", "OCIServerAttach"}, {"service", srv->service}});
    if (!state().script.services.contains(srv->service.toUpper()))
        return fail(err, 12154,
                    QStringLiteral("TNS:could not resolve the connect identifier specified"));
    srv->attached = true;
    return OCI_SUCCESS;
}

STANDIN_EXPORT sword OCIServerDetach(OCIServer* server, OCIError*, ub4)
{
    const std::lock_guard lock(state().lock);
    static_cast<Server*>(server)->attached = false;
    record({{"call", "OCIServerDetach"}});
    return OCI_SUCCESS;
}

STANDIN_EXPORT sword OCIAttrSet(void* handle, ub4 handleType, void* attribute, ub4 size,
                                ub4 attributeType, OCIError* error)
{
    const std::lock_guard lock(state().lock);
    auto* err = static_cast<Err*>(error);
    clear(err);
    auto* h = static_cast<Handle*>(handle);
    if (!state().live.contains(h) || h->type != handleType)
        return OCI_INVALID_HANDLE;
    if (handleType == OCI_HTYPE_SVCCTX) {
        auto* svc = static_cast<SvcCtx*>(h);
        if (attributeType == OCI_ATTR_SERVER) {
            svc->server = static_cast<Server*>(attribute);
            return OCI_SUCCESS;
        }
        if (attributeType == OCI_ATTR_SESSION) {
            svc->session = static_cast<Session*>(attribute);
            return OCI_SUCCESS;
        }
        if (attributeType == OCI_ATTR_CALL_TIMEOUT && state().script.version[0] >= 18) {
            svc->callTimeout = *static_cast<ub4*>(attribute);
            record({{"call", "callTimeout"}, {"ms", int(svc->callTimeout)}});
            return OCI_SUCCESS;
        }
    } else if (handleType == OCI_HTYPE_SESSION) {
        auto* ses = static_cast<Session*>(h);
        if (attributeType == OCI_ATTR_USERNAME) {
            ses->user = QByteArray(static_cast<const char*>(attribute), size);
            return OCI_SUCCESS;
        }
        if (attributeType == OCI_ATTR_PASSWORD) {
            ses->password = QByteArray(static_cast<const char*>(attribute), size);
            return OCI_SUCCESS;
        }
    } else if (handleType == OCI_HTYPE_STMT && attributeType == OCI_ATTR_PREFETCH_ROWS &&
               size == sizeof(ub4)) {
        static_cast<Stmt*>(h)->prefetch = *static_cast<ub4*>(attribute);
        return OCI_SUCCESS;
    }
    return fail(err, 24315, QStringLiteral("illegal attribute type"));
}

STANDIN_EXPORT sword OCIAttrGet(const void* handle, ub4 handleType, void* attribute, ub4* size,
                                ub4 attributeType, OCIError* error)
{
    const std::lock_guard lock(state().lock);
    auto* err = static_cast<Err*>(error);
    clear(err);
    auto* h = static_cast<Handle*>(const_cast<void*>(handle));
    if (!state().live.contains(h) || h->type != handleType)
        return OCI_INVALID_HANDLE;
    if (handleType == OCI_HTYPE_STMT) {
        const auto* st = static_cast<Stmt*>(h);
        switch (attributeType) {
        case OCI_ATTR_STMT_TYPE:
            *static_cast<ub2*>(attribute) = st->stmtType;
            return OCI_SUCCESS;
        case OCI_ATTR_PARAM_COUNT:
            *static_cast<ub4*>(attribute) = st->executed ? ub4(st->reply.columns.size()) : 0;
            return OCI_SUCCESS;
        case OCI_ATTR_ROWS_FETCHED:
            *static_cast<ub4*>(attribute) = st->rowsFetched;
            return OCI_SUCCESS;
        case OCI_ATTR_ROW_COUNT:
            *static_cast<ub4*>(attribute) = st->stmtType == 1 ? ub4(st->position) : st->rowCount;
            return OCI_SUCCESS;
        default:
            break;
        }
    } else if (handleType == OCI_DTYPE_PARAM) {
        const auto* p = static_cast<Param*>(h);
        const Column& c = p->stmt->reply.columns[p->position - 1];
        switch (attributeType) {
        case OCI_ATTR_DATA_TYPE:
            *static_cast<ub2*>(attribute) = c.type;
            return OCI_SUCCESS;
        case OCI_ATTR_DATA_SIZE:
            *static_cast<ub2*>(attribute) = c.size;
            return OCI_SUCCESS;
        case OCI_ATTR_CHAR_SIZE:
            *static_cast<ub2*>(attribute) = c.charSize;
            return OCI_SUCCESS;
        case OCI_ATTR_NAME:
            *static_cast<const char**>(attribute) = c.name.constData();
            *size = ub4(c.name.size());
            return OCI_SUCCESS;
        default:
            break;
        }
    }
    return fail(err, 24315, QStringLiteral("illegal attribute type"));
}

STANDIN_EXPORT sword OCISessionBegin(OCISvcCtx* svcHandle, OCIError* error,
                                     OCISession* sessionHandle, ub4 credentials, ub4 mode)
{
    const std::lock_guard lock(state().lock);
    auto* svc = static_cast<SvcCtx*>(svcHandle);
    auto* ses = static_cast<Session*>(sessionHandle);
    auto* err = static_cast<Err*>(error);
    clear(err);
    record({{"call", "OCISessionBegin"},
            {"user", QString::fromUtf8(ses->user)},
            {"credentials", int(credentials)},
            {"mode", int(mode)}});
    const Service* service = serviceOf(svc);
    if (!service || !svc->server->attached)
        return fail(err, 12154,
                    QStringLiteral("TNS:could not resolve the connect identifier specified"));
    if (service->logonErrorCode)
        return fail(err, service->logonErrorCode, service->logonErrorText);
    const auto user = service->users.constFind(QString::fromUtf8(ses->user).toUpper());
    if (user == service->users.constEnd() || *user != QString::fromUtf8(ses->password))
        return fail(err, 1017, QStringLiteral("invalid username/password; logon denied"));
    ses->begun = true;
    return OCI_SUCCESS;
}

STANDIN_EXPORT sword OCISessionEnd(OCISvcCtx*, OCIError*, OCISession* sessionHandle, ub4)
{
    const std::lock_guard lock(state().lock);
    static_cast<Session*>(sessionHandle)->begun = false;
    record({{"call", "OCISessionEnd"}});
    return OCI_SUCCESS;
}

STANDIN_EXPORT sword OCIParamGet(const void* handle, ub4 handleType, OCIError* error, void** param,
                                 ub4 position)
{
    const std::lock_guard lock(state().lock);
    auto* st = static_cast<Stmt*>(const_cast<void*>(handle));
    if (!state().live.contains(st) || handleType != OCI_HTYPE_STMT)
        return OCI_INVALID_HANDLE;
    if (!st->executed || position < 1 || position > ub4(st->reply.columns.size()))
        return fail(static_cast<Err*>(error), 24334,
                    QStringLiteral("no descriptor for this position"));
    Param* p = make<Param>(OCI_DTYPE_PARAM);
    p->stmt = st;
    p->position = int(position);
    *param = p;
    return OCI_SUCCESS;
}

STANDIN_EXPORT sword OCIStmtPrepare2(OCISvcCtx* svcHandle, OCIStmt** stmt, OCIError* error,
                                     const OraText* sql, ub4 sqlLength, const OraText*, ub4,
                                     ub4 language, ub4)
{
    const std::lock_guard lock(state().lock);
    auto* svc = static_cast<SvcCtx*>(svcHandle);
    auto* err = static_cast<Err*>(error);
    clear(err);
    if (!state().live.contains(svc) || !svc->session || !svc->session->begun)
        return fail(err, 3114, QStringLiteral("not connected to ORACLE"));
    Stmt* st = make<Stmt>(OCI_HTYPE_STMT);
    st->svc = svc;
    st->sql = text(sql, sqlLength);
    st->stmtType = statementType(st->sql);
    record({{"call", "OCIStmtPrepare2"}, {"sql", st->sql}, {"language", int(language)}});
    *stmt = st;
    return OCI_SUCCESS;
}

STANDIN_EXPORT sword OCIStmtRelease(OCIStmt* stmt, OCIError*, const OraText*, ub4, ub4)
{
    const std::lock_guard lock(state().lock);
    auto* st = static_cast<Stmt*>(stmt);
    if (!state().live.contains(st))
        return OCI_INVALID_HANDLE;
    destroy(st);
    return OCI_SUCCESS;
}

STANDIN_EXPORT sword OCIBindByName(OCIStmt* stmt, OCIBind** bind, OCIError* error,
                                   const OraText* placeholder, sb4 placeholderLength, void* value,
                                   sb4 valueSize, ub2 type, void* indicator, ub2*, ub2*, ub4, ub4*,
                                   ub4)
{
    const std::lock_guard lock(state().lock);
    auto* st = static_cast<Stmt*>(stmt);
    auto* err = static_cast<Err*>(error);
    clear(err);
    const QString name = text(placeholder, placeholderLength).toUpper();
    const QRegularExpression used(
        QRegularExpression::escape(name) + QStringLiteral("(?![A-Z0-9_#$])"),
        QRegularExpression::CaseInsensitiveOption);
    if (*bind != nullptr || !name.startsWith(QLatin1Char(':')) || !used.match(st->sql).hasMatch())
        return fail(err, 1036, QStringLiteral("illegal variable name/number"));
    st->binds.insert(name, Bind{value, valueSize, type, static_cast<sb2*>(indicator)});
    *bind = &st->binds[name];
    return OCI_SUCCESS;
}

STANDIN_EXPORT sword OCIDefineByPos(OCIStmt* stmt, OCIDefine** define, OCIError* error,
                                    ub4 position, void* value, sb4 valueSize, ub2 type,
                                    void* indicator, ub2* length, ub2* returnCode, ub4)
{
    const std::lock_guard lock(state().lock);
    auto* st = static_cast<Stmt*>(stmt);
    auto* err = static_cast<Err*>(error);
    clear(err);
    if (position < 1 || position > ub4(st->reply.columns.size()))
        return fail(err, 1007, QStringLiteral("variable not in select list"));
    st->defines.insert(position, Define{static_cast<char*>(value), valueSize, type,
                                        static_cast<sb2*>(indicator), length, returnCode});
    *define = &st->defines[position];
    record({{"call", "OCIDefineByPos"},
            {"position", int(position)},
            {"type", type},
            {"size", valueSize}});
    return OCI_SUCCESS;
}

STANDIN_EXPORT sword OCIStmtExecute(OCISvcCtx* svcHandle, OCIStmt* stmt, OCIError* error,
                                    ub4 iterations, ub4, const void*, void*, ub4 mode)
{
    std::unique_lock lock(state().lock);
    auto* svc = static_cast<SvcCtx*>(svcHandle);
    auto* st = static_cast<Stmt*>(stmt);
    auto* err = static_cast<Err*>(error);
    clear(err);
    if (!state().live.contains(st) || !state().live.contains(svc))
        return OCI_INVALID_HANDLE;
    QJsonObject binds;
    for (auto it = st->binds.cbegin(); it != st->binds.cend(); ++it)
        binds.insert(it.key(), boundValue(*it));
    record({{"call", "OCIStmtExecute"},
            {"sql", st->sql},
            {"iterations", int(iterations)},
            {"mode", int(mode)},
            {"prefetch", int(st->prefetch)},
            {"binds", binds}});
    if (svc->pendingBreak) {
        svc->pendingBreak = false;
        return fail(err, 1013, QStringLiteral("user requested cancel of current operation"));
    }
    if (st->stmtType != 1 && iterations == 0)
        return fail(err, 24333, QStringLiteral("zero iteration count"));
    if (!replyFor(st))
        return fail(err, 942, QStringLiteral("table or view does not exist"));
    if (st->sql.startsWith(QStringLiteral("ALTER SESSION"), Qt::CaseInsensitive)) {
        static const QRegularExpression date(QStringLiteral("NLS_DATE_FORMAT\\s*=\\s*'([^']*)'"));
        static const QRegularExpression numeric(
            QStringLiteral("NLS_NUMERIC_CHARACTERS\\s*=\\s*'([^']*)'"));
        if (const auto m = date.match(st->sql); m.hasMatch())
            svc->session->dateFormat = m.captured(1);
        if (const auto m = numeric.match(st->sql); m.hasMatch())
            svc->session->numericCharacters = m.captured(1);
    }
    const CallScope call(svc, err);
    if (st->reply.hang == QLatin1String("execute")) {
        const sword rc = block(lock, svc, err);
        if (rc != OCI_SUCCESS)
            return rc;
    }
    if (st->reply.errorCode && st->reply.failAt == QLatin1String("execute"))
        return fail(err, st->reply.errorCode, st->reply.errorText);
    st->executed = true;
    st->position = 0;
    st->rowCount = st->stmtType == 1 ? 0 : st->reply.rowCount;
    return OCI_SUCCESS;
}

STANDIN_EXPORT sword OCIStmtFetch2(OCIStmt* stmt, OCIError* error, ub4 rows, ub2 orientation, sb4,
                                   ub4)
{
    std::unique_lock lock(state().lock);
    auto* st = static_cast<Stmt*>(stmt);
    auto* err = static_cast<Err*>(error);
    clear(err);
    if (!state().live.contains(st))
        return OCI_INVALID_HANDLE;
    st->rowsFetched = 0;
    if (!st->executed || orientation != OCI_FETCH_NEXT)
        return fail(err, 1002, QStringLiteral("fetch out of sequence"));
    SvcCtx* svc = st->svc;
    if (svc->pendingBreak) {
        svc->pendingBreak = false;
        return fail(err, 1013, QStringLiteral("user requested cancel of current operation"));
    }
    const Reply& r = st->reply;
    for (int c = 1; c <= r.columns.size(); ++c)
        if (!st->defines.contains(ub4(c)))
            return fail(err, 24374,
                        QStringLiteral("define not done before fetch or execute and fetch"));
    const CallScope call(svc, err);
    if (r.hang == QLatin1String("fetch")) {
        const sword rc = block(lock, svc, err);
        if (rc != OCI_SUCCESS)
            return rc;
    }
    const int total = rowTotal(r);
    int last = std::min(total, st->position + int(rows));
    const bool failing =
        r.errorCode && r.failAt == QLatin1String("fetch") && r.failAfterRows < last;
    if (failing)
        last = std::max(st->position, r.failAfterRows);
    bool truncated = false;
    ub4 delivered = 0;
    for (int row = st->position; row < last; ++row, ++delivered) {
        for (int c = 0; c < r.columns.size(); ++c) {
            const Column& column = r.columns[c];
            const Define& d = st->defines[ub4(c + 1)];
            const QJsonValue cell = cellOf(r, row, c);
            char* value = d.value + size_t(d.size) * delivered;
            sb2& indicator = d.indicator[delivered];
            ub2& length = d.length[delivered];
            ub2& code = d.code[delivered];
            indicator = 0;
            code = 0;
            if (cell.isNull() || cell.isUndefined()) {
                indicator = OCI_IND_NULL;
                code = 1405;
                continue;
            }
            if (d.type == SQLT_FLT || d.type == SQLT_BDOUBLE) {
                const double v = cell.toString().toDouble();
                std::memcpy(value, &v, sizeof v);
                length = sizeof v;
            } else if (d.type == SQLT_BFLOAT) {
                const float v = cell.toString().toFloat();
                std::memcpy(value, &v, sizeof v);
                length = sizeof v;
            } else if (d.type == SQLT_BIN) {
                const QByteArray bytes = QByteArray::fromHex(cell.toString().toLatin1());
                const qsizetype n = std::min<qsizetype>(bytes.size(), d.size);
                std::memcpy(value, bytes.constData(), size_t(n));
                length = ub2(n);
            } else {
                const QByteArray bytes = serverText(st, column, cell.toString());
                const qsizetype room = d.size - 1;
                const qsizetype n = std::min(bytes.size(), room);
                std::memcpy(value, bytes.constData(), size_t(n));
                value[n] = 0;
                length = ub2(n);
                if (bytes.size() > room) {
                    indicator = sb2(bytes.size());
                    code = 1406;
                    truncated = true;
                }
            }
        }
    }
    st->rowsFetched = delivered;
    st->position += int(delivered);
    record({{"call", "OCIStmtFetch2"}, {"rows", int(rows)}, {"delivered", int(delivered)}});
    if (failing)
        return fail(err, r.errorCode, r.errorText);
    if (st->position >= total && delivered < rows)
        return OCI_NO_DATA;
    if (truncated) {
        fail(err, 24345, QStringLiteral("A Truncation or null fetch error occurred"));
        return OCI_SUCCESS_WITH_INFO;
    }
    return OCI_SUCCESS;
}

STANDIN_EXPORT sword OCITransCommit(OCISvcCtx*, OCIError* error, ub4)
{
    const std::lock_guard lock(state().lock);
    clear(static_cast<Err*>(error));
    record({{"call", "OCITransCommit"}});
    return OCI_SUCCESS;
}

STANDIN_EXPORT sword OCITransRollback(OCISvcCtx*, OCIError* error, ub4)
{
    const std::lock_guard lock(state().lock);
    clear(static_cast<Err*>(error));
    record({{"call", "OCITransRollback"}});
    return OCI_SUCCESS;
}

STANDIN_EXPORT sword OCIBreak(void* handle, OCIError* error)
{
    const std::lock_guard lock(state().lock);
    auto* svc = static_cast<SvcCtx*>(handle);
    if (!state().live.contains(svc) || svc->type != OCI_HTYPE_SVCCTX)
        return OCI_INVALID_HANDLE;
    record(
        {{"call", "OCIBreak"}, {"inCall", svc->inCall}, {"ownErrorHandle", svc->callErr != error}});
    if (svc->inCall)
        svc->breakRequested = true;
    else
        svc->pendingBreak = true;
    state().wake.notify_all();
    return OCI_SUCCESS;
}

// Every export has the prototype the driver declares.
#define STANDIN_SAME_PROTOTYPE(name, ret, params) \
    static_assert(std::is_same_v<decltype(&::name), ret(*) params>);
KOLMARA_OCI_REQUIRED_CALLS(STANDIN_SAME_PROTOTYPE)
KOLMARA_OCI_OPTIONAL_CALLS(STANDIN_SAME_PROTOTYPE)
