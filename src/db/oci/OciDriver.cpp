// Connection, cursor and error handling over the OCI calls of OciApi.h.
#include "db/oci/OciDriver.h"

#include "db/FloatFormat.h"
#include "db/oci/OciLibrary.h"

#include <QDateTime>
#include <QRegularExpression>

#include <atomic>
#include <cstring>
#include <vector>

namespace kolmara::db::oci {

namespace {

// Rows per fetch: as many as fit in this many bytes of column buffers, within the two bounds.
constexpr qsizetype kBatchBytes = 1 << 20;
constexpr ub4 kMaxBatchRows = 500;
constexpr ub4 kPrefetchRows = 100;
// Buffer bytes per value (with the terminating NUL) of the kinds whose size describe cannot give.
constexpr sb4 kNumberBytes = 173;
constexpr sb4 kDateBytes = 64;
constexpr sb4 kTimestampBytes = 96;
constexpr sb4 kLongBytes = 65535;  // a LONG, CLOB or BLOB value read whole must stay below 64 KB

const QString kSessionSetup = QStringLiteral(
    "ALTER SESSION SET NLS_DATE_FORMAT = 'YYYY-MM-DD HH24:MI:SS'"
    " NLS_TIMESTAMP_FORMAT = 'YYYY-MM-DD HH24:MI:SS.FF'"
    " NLS_TIMESTAMP_TZ_FORMAT = 'YYYY-MM-DD HH24:MI:SS.FF TZR'"
    " NLS_NUMERIC_CHARACTERS = '.,'");

const QString kCharsetQuery = QStringLiteral(
    "SELECT PARAMETER, VALUE FROM NLS_DATABASE_PARAMETERS"
    " WHERE PARAMETER IN ('NLS_CHARACTERSET', 'NLS_NCHAR_CHARACTERSET')");

// The stored bytes of a sample of the comments users wrote, to see whether a US7ASCII database
// holds bytes above 127 (Korean text written through a client that claimed US7ASCII).
const QString kHighByteSample = QStringLiteral(
    "SELECT DUMP(SUBSTRB(COMMENTS, 1, 100), 16) FROM ALL_TAB_COMMENTS"
    " WHERE COMMENTS IS NOT NULL AND OWNER NOT IN ('SYS', 'SYSTEM') AND ROWNUM <= 200"
    " UNION ALL"
    " SELECT DUMP(SUBSTRB(COMMENTS, 1, 100), 16) FROM ALL_COL_COMMENTS"
    " WHERE COMMENTS IS NOT NULL AND OWNER NOT IN ('SYS', 'SYSTEM') AND ROWNUM <= 200");

// What one connection's handles are; shared with its cursors, which outlive it at times.
struct Link {
    std::shared_ptr<const OciLibrary> lib;
    OCIError* err = nullptr;
    OCIError* breakErr = nullptr;  // OCIBreak comes from another thread: it gets its own
    OCIServer* srv = nullptr;
    OCISvcCtx* svc = nullptr;
    OCISession* ses = nullptr;
    bool attached = false;
    bool loggedOn = false;
    std::atomic<bool> alive{false};
    std::atomic<int> inFlight{0};

    const OciCalls& api() const { return lib->calls; }
};

// Marks a call that a cancel may break.
class InFlight {
public:
    explicit InFlight(Link& link) : m_link(link) { ++m_link.inFlight; }
    ~InFlight() { --m_link.inFlight; }
    InFlight(const InFlight&) = delete;
    InFlight& operator=(const InFlight&) = delete;

private:
    Link& m_link;
};

DatabaseError errorFrom(const OciCalls& api, void* handle, ub4 handleType, sword rc,
                        const char* call)
{
    if (rc == OCI_INVALID_HANDLE)
        return DatabaseError(0,
                             QStringLiteral("OCI: invalid handle in %1").arg(QLatin1String(call)));
    OraText buffer[3072] = {};
    sb4 code = 0;
    if (!handle || api.OCIErrorGet(handle, 1, nullptr, &code, buffer, sizeof buffer, handleType) !=
                       OCI_SUCCESS)
        return DatabaseError(
            0, QStringLiteral("OCI: %1 returned %2").arg(QLatin1String(call)).arg(rc));
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(buffer)).trimmed();
    const QString prefix = QStringLiteral("ORA-%1: ").arg(code, 5, 10, QLatin1Char('0'));
    if (code > 0 && text.startsWith(prefix))
        return DatabaseError(code, text.mid(prefix.size()));
    return DatabaseError::withMessage(code, text);
}

void check(const Link& link, sword rc, const char* call)
{
    if (rc != OCI_SUCCESS && rc != OCI_SUCCESS_WITH_INFO)
        throw errorFrom(link.api(), link.err, OCI_HTYPE_ERROR, rc, call);
}

QByteArray utf8(const QString& text)
{
    return text.toUtf8();
}

// How a column is defined and how its buffer turns into a Value.
enum class Form { Text, Number, Date, Double, Float, Bytes };

struct Column {
    QString name;
    ub2 type = 0;
    Form form = Form::Text;
    ub2 defineType = SQLT_STR;
    sb4 size = 0;  // bytes per value
    std::vector<char> values;
    std::vector<sb2> indicators;
    std::vector<ub2> lengths;
    std::vector<ub2> codes;
};

QString hexText(const char* data, int length)
{
    return QString::fromLatin1(QByteArray(data, length).toHex().toUpper());
}

double desktopDays(const QString& text)
{
    static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
    QDateTime d = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!d.isValid())
        return 0;
    d.setTimeSpec(Qt::UTC);
    return double(epoch.secsTo(d)) / 86400.0;
}

class OciCursor : public Cursor {
public:
    OciCursor(std::shared_ptr<Link> link, const QString& sql) : m_link(std::move(link))
    {
        requireConnection();
        const QByteArray text = utf8(sql);
        check(*m_link,
              m_link->api().OCIStmtPrepare2(m_link->svc, &m_stmt, m_link->err,
                                            reinterpret_cast<const OraText*>(text.constData()),
                                            ub4(text.size()), nullptr, 0, OCI_NTV_SYNTAX,
                                            OCI_DEFAULT),
              "OCIStmtPrepare2");
        check(*m_link,
              m_link->api().OCIAttrGet(m_stmt, OCI_HTYPE_STMT, &m_type, nullptr, OCI_ATTR_STMT_TYPE,
                                       m_link->err),
              "OCIAttrGet");
        m_isQuery = m_type == OCI_STMT_SELECT;
    }

    ~OciCursor() override
    {
        if (m_stmt && m_link->alive)
            m_link->api().OCIStmtRelease(m_stmt, m_link->err, nullptr, 0, OCI_DEFAULT);
    }

    void execute(const QHash<QString, BindValue>& binds) override
    {
        requireConnection();
        const OciCalls& api = m_link->api();
        bind(binds);
        if (m_isQuery) {
            ub4 prefetch = kPrefetchRows;
            check(*m_link,
                  api.OCIAttrSet(m_stmt, OCI_HTYPE_STMT, &prefetch, sizeof prefetch,
                                 OCI_ATTR_PREFETCH_ROWS, m_link->err),
                  "OCIAttrSet");
        }
        {
            InFlight call(*m_link);
            check(*m_link,
                  api.OCIStmtExecute(m_link->svc, m_stmt, m_link->err, m_isQuery ? 0 : 1, 0,
                                     nullptr, nullptr, OCI_DEFAULT),
                  "OCIStmtExecute");
        }
        if (m_isQuery) {
            describe();
        } else if (m_type == OCI_STMT_UPDATE || m_type == OCI_STMT_DELETE ||
                   m_type == OCI_STMT_INSERT || m_type == OCI_STMT_MERGE) {
            ub4 count = 0;
            check(*m_link,
                  api.OCIAttrGet(m_stmt, OCI_HTYPE_STMT, &count, nullptr, OCI_ATTR_ROW_COUNT,
                                 m_link->err),
                  "OCIAttrGet");
            m_rowsAffected = count;
        }
    }

    QStringList columnNames() const override
    {
        QStringList names;
        for (const Column& c : m_columns)
            names.append(c.name);
        return names;
    }

    bool fetch(QVector<Value>& row) override
    {
        if (!m_isQuery)
            return false;
        if (m_next >= m_inBatch) {
            requireConnection();
            if (m_pending) {
                const DatabaseError e = *m_pending;
                m_pending.reset();
                m_done = true;
                throw e;
            }
            if (m_done)
                return false;
            fetchBatch();
            if (m_inBatch == 0) {
                if (m_pending)
                    return fetch(row);
                return false;
            }
        }
        const ub4 i = m_next++;
        row.resize(m_columns.size());
        for (qsizetype c = 0; c < m_columns.size(); ++c)
            row[c] = valueAt(m_columns[c], i);
        return true;
    }

    qint64 rowsAffected() const override { return m_rowsAffected; }

private:
    // The handles die with the connection; a cursor left open past it only reports that.
    void requireConnection() const
    {
        if (!m_link->alive)
            throw DatabaseError(3114, QStringLiteral("not connected to ORACLE"));
    }

    struct BoundValue {
        QByteArray text;
        double number = 0;
        sb2 indicator = 0;
    };

    void bind(const QHash<QString, BindValue>& binds)
    {
        const OciCalls& api = m_link->api();
        m_bound.clear();
        m_bound.reserve(size_t(binds.size()));  // the buffers must not move until execute
        for (auto it = binds.begin(); it != binds.end(); ++it) {
            BoundValue& v = m_bound.emplace_back();
            const QByteArray placeholder = ':' + utf8(it.key());
            OCIBind* handle = nullptr;
            void* value = nullptr;
            sb4 size = 0;
            ub2 type = SQLT_STR;
            switch (it->kind) {
            case BindValue::Kind::Number:
                v.number = it->number;
                value = &v.number;
                size = sizeof v.number;
                type = SQLT_FLT;
                break;
            case BindValue::Kind::Text:
            case BindValue::Kind::Null:
                v.text = utf8(it->text);
                v.indicator = v.text.isEmpty() ? OCI_IND_NULL : sb2(0);
                value = v.text.data();  // the QByteArray keeps a NUL after its bytes
                size = sb4(v.text.size() + 1);
                break;
            }
            check(*m_link,
                  api.OCIBindByName(m_stmt, &handle, m_link->err,
                                    reinterpret_cast<const OraText*>(placeholder.constData()),
                                    sb4(placeholder.size()), value, size, type, &v.indicator,
                                    nullptr, nullptr, 0, nullptr, OCI_DEFAULT),
                  "OCIBindByName");
        }
    }

    void describe()
    {
        const OciCalls& api = m_link->api();
        ub4 count = 0;
        check(*m_link,
              api.OCIAttrGet(m_stmt, OCI_HTYPE_STMT, &count, nullptr, OCI_ATTR_PARAM_COUNT,
                             m_link->err),
              "OCIAttrGet");
        m_columns.resize(count);
        qsizetype rowBytes = 0;
        for (ub4 pos = 1; pos <= count; ++pos) {
            void* param = nullptr;
            check(*m_link, api.OCIParamGet(m_stmt, OCI_HTYPE_STMT, m_link->err, &param, pos),
                  "OCIParamGet");
            Column& c = m_columns[pos - 1];
            ub2 dataSize = 0;
            ub2 charSize = 0;
            OraText* name = nullptr;
            ub4 nameLength = 0;
            sword rc = api.OCIAttrGet(param, OCI_DTYPE_PARAM, &c.type, nullptr, OCI_ATTR_DATA_TYPE,
                                      m_link->err);
            if (rc == OCI_SUCCESS)
                rc = api.OCIAttrGet(param, OCI_DTYPE_PARAM, &dataSize, nullptr, OCI_ATTR_DATA_SIZE,
                                    m_link->err);
            if (rc == OCI_SUCCESS)
                rc = api.OCIAttrGet(param, OCI_DTYPE_PARAM, &charSize, nullptr, OCI_ATTR_CHAR_SIZE,
                                    m_link->err);
            if (rc == OCI_SUCCESS)
                rc = api.OCIAttrGet(param, OCI_DTYPE_PARAM, &name, &nameLength, OCI_ATTR_NAME,
                                    m_link->err);
            if (rc == OCI_SUCCESS)
                c.name =
                    QString::fromUtf8(reinterpret_cast<const char*>(name), qsizetype(nameLength));
            api.OCIDescriptorFree(param, OCI_DTYPE_PARAM);
            check(*m_link, rc, "OCIAttrGet");
            shape(c, dataSize, charSize);
            rowBytes += c.size + qsizetype(sizeof(sb2) + 2 * sizeof(ub2));
        }
        m_batch = ub4(std::clamp<qsizetype>(kBatchBytes / std::max<qsizetype>(rowBytes, 1), 1,
                                            kMaxBatchRows));
        for (ub4 pos = 1; pos <= count; ++pos) {
            Column& c = m_columns[pos - 1];
            c.values.assign(size_t(c.size) * m_batch, 0);
            c.indicators.assign(m_batch, 0);
            c.lengths.assign(m_batch, 0);
            c.codes.assign(m_batch, 0);
            OCIDefine* define = nullptr;
            check(*m_link,
                  api.OCIDefineByPos(m_stmt, &define, m_link->err, pos, c.values.data(), c.size,
                                     c.defineType, c.indicators.data(), c.lengths.data(),
                                     c.codes.data(), OCI_DEFAULT),
                  "OCIDefineByPos");
        }
    }

    // The buffer kind and size of a described column.
    void shape(Column& c, ub2 dataSize, ub2 charSize)
    {
        switch (c.type) {
        case SQLT_NUM:
            c.form = Form::Number;
            c.size = kNumberBytes;
            return;
        case SQLT_DAT:
        case SQLT_DATE:
            c.form = Form::Date;
            c.size = kDateBytes;
            return;
        case SQLT_TIMESTAMP:
        case SQLT_TIMESTAMP_TZ:
        case SQLT_TIMESTAMP_LTZ:
        case SQLT_INTERVAL_YM:
        case SQLT_INTERVAL_DS:
            c.size = kTimestampBytes;
            return;
        case SQLT_IBDOUBLE:
            c.form = Form::Double;
            c.defineType = SQLT_BDOUBLE;
            c.size = sizeof(double);
            return;
        case SQLT_IBFLOAT:
            c.form = Form::Float;
            c.defineType = SQLT_BFLOAT;
            c.size = sizeof(float);
            return;
        case SQLT_CHR:
        case SQLT_AFC:
            // Converting to UTF-8 can take up to four bytes a character, whatever the database
            // uses.
            c.size = std::max<sb4>(dataSize, sb4(charSize) * 4) + 1;
            return;
        case SQLT_BIN:
            c.size = sb4(dataSize) * 2 + 1;  // RAW reads as its hexadecimal text
            return;
        case SQLT_RID:
        case SQLT_RDD:
            c.size = std::max<sb4>(sb4(dataSize) * 2, 64) + 1;
            return;
        case SQLT_LNG:
        case SQLT_CLOB:
            c.size = kLongBytes;
            return;
        case SQLT_LBI:
        case SQLT_BLOB:
            c.form = Form::Bytes;
            c.defineType = SQLT_BIN;
            c.size = kLongBytes;
            return;
        default:
            throw DatabaseError(
                0, QStringLiteral("열 %1의 데이터 형식(코드 %2)은 텍스트로 읽을 수 없습니다")
                       .arg(c.name)
                       .arg(c.type));
        }
    }

    void fetchBatch()
    {
        const OciCalls& api = m_link->api();
        sword rc;
        {
            InFlight call(*m_link);
            rc = api.OCIStmtFetch2(m_stmt, m_link->err, m_batch, OCI_FETCH_NEXT, 0, OCI_DEFAULT);
        }
        if (rc == OCI_ERROR || rc == OCI_INVALID_HANDLE)
            m_pending = errorFrom(api, m_link->err, OCI_HTYPE_ERROR, rc, "OCIStmtFetch2");
        else if (rc != OCI_SUCCESS && rc != OCI_SUCCESS_WITH_INFO && rc != OCI_NO_DATA)
            throw errorFrom(api, m_link->err, OCI_HTYPE_ERROR, rc, "OCIStmtFetch2");
        // The rows before an error are good rows: they are handed out first.
        ub4 fetched = 0;
        if (api.OCIAttrGet(m_stmt, OCI_HTYPE_STMT, &fetched, nullptr, OCI_ATTR_ROWS_FETCHED,
                           m_link->err) != OCI_SUCCESS)
            fetched = 0;
        m_inBatch = std::min(fetched, m_batch);
        m_next = 0;
        if (rc == OCI_NO_DATA)
            m_done = true;
    }

    Value valueAt(const Column& c, ub4 i) const
    {
        Value v;
        if (c.indicators[i] == OCI_IND_NULL)
            return v;
        if (c.indicators[i] != 0 || c.codes[i] == kColumnTruncated)
            throw DatabaseError(
                1406, QStringLiteral("fetched column value was truncated (%1)").arg(c.name));
        const char* data = c.values.data() + size_t(c.size) * i;
        switch (c.form) {
        case Form::Double:
        case Form::Float: {
            if (c.form == Form::Double)
                std::memcpy(&v.number, data, sizeof(double));
            else {
                float f = 0;
                std::memcpy(&f, data, sizeof f);
                v.number = f;
            }
            v.kind = Value::Kind::Number;
            v.text = formatGeneralFloat(v.number);
            return v;
        }
        case Form::Bytes:
            v.kind = Value::Kind::Text;
            v.text = hexText(data, c.lengths[i]);
            return v;
        case Form::Text:
        case Form::Number:
        case Form::Date:
            break;
        }
        v.text = QString::fromUtf8(data, qsizetype(qstrnlen(data, uint(c.size))));
        switch (c.form) {
        case Form::Number:
            v.kind = Value::Kind::Number;
            v.number = v.text.toDouble();
            v.exactInteger =
                !v.text.contains(QLatin1Char('.')) && !v.text.contains(QLatin1Char('E'));
            break;
        case Form::Date:
            v.kind = Value::Kind::Date;
            v.number = desktopDays(v.text);
            break;
        default:
            v.kind = Value::Kind::Text;
            break;
        }
        return v;
    }

    std::shared_ptr<Link> m_link;
    OCIStmt* m_stmt = nullptr;
    ub2 m_type = 0;
    bool m_isQuery = false;
    std::vector<BoundValue> m_bound;
    QList<Column> m_columns;
    ub4 m_batch = 1;
    ub4 m_inBatch = 0;
    ub4 m_next = 0;
    bool m_done = false;
    std::optional<DatabaseError> m_pending;
    qint64 m_rowsAffected = 0;
};

// The one line that says Korean text cannot come through this client and database intact.
QString koreanTextWarning(const OciLibrary& lib, const QString& charset,
                          const QStringList& highByteDumps)
{
    const bool lightCannot = charset == QLatin1String("KO16KSC5601") ||
                             (charset == QLatin1String("KO16MSWIN949") && lib.major() < 23);
    if (lib.kind == ClientKind::BasicLight && lightCannot)
        return QStringLiteral(
                   "경고: Instant Client Basic Light는 데이터베이스 문자셋 %1의 한글을 다루지 "
                   "못합니다. Instant Client "
                   "Basic이나 Oracle 클라이언트를 설치하십시오.")
            .arg(charset);
    if (charset == QLatin1String("US7ASCII")) {
        // DUMP(x, 16) reads "Typ=1 Len=3: 41,b0,a1": any byte above 7f is not US7ASCII.
        static const QRegularExpression highByte(QStringLiteral("(: |,)[89a-f][0-9a-f](,|$)"));
        for (const QString& dump : highByteDumps)
            if (highByte.match(dump).hasMatch())
                return QStringLiteral(
                    "경고: US7ASCII 데이터베이스에 한글(CP949) 바이트가 들어 있어 한글이 '?'로 "
                    "바뀌어 읽힙니다. "
                    "데이터베이스 문자셋을 KO16MSWIN949나 AL32UTF8로 옮겨야 합니다.");
    }
    return {};
}

class OciConnection : public Connection {
public:
    OciConnection(std::shared_ptr<const OciLibrary> lib, const QString& server, const QString& user,
                  const QString& password)
        : m_link(std::make_shared<Link>())
    {
        m_link->lib = std::move(lib);
        try {
            logOn(server, user, password);
            runQuiet(kSessionSetup);
            readCharsets();
        } catch (...) {
            release();
            throw;
        }
    }

    ~OciConnection() override
    {
        try {
            release();
        } catch (...) {
        }
    }

    std::unique_ptr<Cursor> prepare(const QString& sql) override
    {
        return std::make_unique<OciCursor>(m_link, sql);
    }

    // Local transactions begin with the first change, as on the embedded engine.
    void startTransaction() override {}

    void commit() override
    {
        InFlight call(*m_link);
        check(*m_link, m_link->api().OCITransCommit(m_link->svc, m_link->err, OCI_DEFAULT),
              "OCITransCommit");
    }

    void rollback() override
    {
        InFlight call(*m_link);
        check(*m_link, m_link->api().OCITransRollback(m_link->svc, m_link->err, OCI_DEFAULT),
              "OCITransRollback");
    }

    void disconnect() override { release(); }

    void cancel() noexcept override
    {
        if (m_link->alive && m_link->inFlight > 0)
            m_link->api().OCIBreak(m_link->svc, m_link->breakErr);
    }

    bool setCallTimeout(int ms) override
    {
        if (m_link->lib->major() < 18)
            return false;
        ub4 value = ub4(std::max(ms, 0));
        check(*m_link,
              m_link->api().OCIAttrSet(m_link->svc, OCI_HTYPE_SVCCTX, &value, sizeof value,
                                       OCI_ATTR_CALL_TIMEOUT, m_link->err),
              "OCIAttrSet");
        return true;
    }

    ConnectionInfo info() const override { return m_info; }

private:
    void allocate(void** handle, ub4 type)
    {
        const OciLibrary& lib = *m_link->lib;
        const sword rc = lib.calls.OCIHandleAlloc(lib.env, handle, type, 0, nullptr);
        if (rc != OCI_SUCCESS)
            throw errorFrom(lib.calls, lib.env, OCI_HTYPE_ENV, rc, "OCIHandleAlloc");
    }

    void logOn(const QString& server, const QString& user, const QString& password)
    {
        Link& l = *m_link;
        const OciCalls& api = l.api();
        allocate(&l.err, OCI_HTYPE_ERROR);
        allocate(&l.breakErr, OCI_HTYPE_ERROR);
        allocate(&l.srv, OCI_HTYPE_SERVER);
        allocate(&l.svc, OCI_HTYPE_SVCCTX);
        allocate(&l.ses, OCI_HTYPE_SESSION);

        const QByteArray service = utf8(server.trimmed());
        sword rc =
            api.OCIServerAttach(l.srv, l.err, reinterpret_cast<const OraText*>(service.constData()),
                                sb4(service.size()), OCI_DEFAULT);
        if (rc != OCI_SUCCESS && rc != OCI_SUCCESS_WITH_INFO)
            throw withAdvice(errorFrom(api, l.err, OCI_HTYPE_ERROR, rc, "OCIServerAttach"));
        l.attached = true;
        check(l, api.OCIAttrSet(l.svc, OCI_HTYPE_SVCCTX, l.srv, 0, OCI_ATTR_SERVER, l.err),
              "OCIAttrSet");
        QByteArray name = utf8(user);
        QByteArray secret = utf8(password);
        check(l,
              api.OCIAttrSet(l.ses, OCI_HTYPE_SESSION, name.data(), ub4(name.size()),
                             OCI_ATTR_USERNAME, l.err),
              "OCIAttrSet");
        check(l,
              api.OCIAttrSet(l.ses, OCI_HTYPE_SESSION, secret.data(), ub4(secret.size()),
                             OCI_ATTR_PASSWORD, l.err),
              "OCIAttrSet");
        rc = api.OCISessionBegin(l.svc, l.err, l.ses, OCI_CRED_RDBMS, OCI_DEFAULT);
        if (rc != OCI_SUCCESS && rc != OCI_SUCCESS_WITH_INFO)
            throw withAdvice(errorFrom(api, l.err, OCI_HTYPE_ERROR, rc, "OCISessionBegin"));
        l.loggedOn = true;
        check(l, api.OCIAttrSet(l.svc, OCI_HTYPE_SVCCTX, l.ses, 0, OCI_ATTR_SESSION, l.err),
              "OCIAttrSet");
        l.alive = true;
        m_info.clientVersion = l.lib->versionText();
        m_info.clientKind = l.lib->kindText();
    }

    // The server's own text, and a line on what to do where the cause is the client's.
    DatabaseError withAdvice(const DatabaseError& e) const
    {
        if (e.code() == 12737)
            return DatabaseError::withMessage(
                e.code(),
                e.message() +
                    QStringLiteral(
                        "\nInstant Client Basic Light는 이 데이터베이스 문자셋을 다루지 못합니다: "
                        "Instant Client Basic이나 Oracle 클라이언트를 설치하십시오."));
        return e;
    }

    QList<QVector<Value>> runQuiet(const QString& sql)
    {
        OciCursor cursor(m_link, sql);
        cursor.execute({});
        QList<QVector<Value>> rows;
        QVector<Value> row;
        while (cursor.fetch(row))
            rows.append(row);
        return rows;
    }

    void readCharsets()
    {
        try {
            for (const QVector<Value>& row : runQuiet(kCharsetQuery))
                (row[0].text == QLatin1String("NLS_CHARACTERSET") ? m_info.databaseCharset
                                                                  : m_info.nationalCharset) =
                    row[1].text;
            QStringList dumps;
            if (m_info.databaseCharset == QLatin1String("US7ASCII"))
                for (const QVector<Value>& row : runQuiet(kHighByteSample))
                    dumps.append(row[0].text);
            m_info.warning = koreanTextWarning(*m_link->lib, m_info.databaseCharset, dumps);
        } catch (const DatabaseError&) {
            // A database that does not tell its character sets still serves: the check is skipped.
        }
    }

    // Logs off (committing, as logging off does on Oracle and on the embedded engine) and frees
    // the handles; the first error is thrown once everything is freed.
    void release()
    {
        Link& l = *m_link;
        if (!l.lib)
            return;
        const OciCalls& api = l.api();
        std::optional<DatabaseError> first;
        auto keep = [&](sword rc, const char* call) {
            if (rc != OCI_SUCCESS && rc != OCI_SUCCESS_WITH_INFO && !first)
                first = errorFrom(api, l.err, OCI_HTYPE_ERROR, rc, call);
        };
        l.alive = false;
        if (l.loggedOn) {
            keep(api.OCITransCommit(l.svc, l.err, OCI_DEFAULT), "OCITransCommit");
            keep(api.OCISessionEnd(l.svc, l.err, l.ses, OCI_DEFAULT), "OCISessionEnd");
            l.loggedOn = false;
        }
        if (l.attached) {
            keep(api.OCIServerDetach(l.srv, l.err, OCI_DEFAULT), "OCIServerDetach");
            l.attached = false;
        }
        for (auto [handle, type] :
             {std::pair{&l.ses, OCI_HTYPE_SESSION}, std::pair{&l.svc, OCI_HTYPE_SVCCTX},
              std::pair{&l.srv, OCI_HTYPE_SERVER}, std::pair{&l.breakErr, OCI_HTYPE_ERROR},
              std::pair{&l.err, OCI_HTYPE_ERROR}}) {
            if (*handle)
                api.OCIHandleFree(*handle, type);
            *handle = nullptr;
        }
        if (first)
            throw *first;
    }

    std::shared_ptr<Link> m_link;
    ConnectionInfo m_info;
};

}  // namespace

std::unique_ptr<Connection> OciDriver::connect(const QString& server, const QString& user,
                                               const QString& password)
{
    return std::make_unique<OciConnection>(clientLibrary(), server, user, password);
}

}  // namespace kolmara::db::oci
