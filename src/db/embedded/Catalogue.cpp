// Catalogue tables and dictionary views of the embedded engine.
#include "db/embedded/Catalogue.h"

#include "db/embedded/Engine.h"
#include "db/embedded/OraValues.h"

#include <QCryptographicHash>

namespace kolmara::db::embedded {

QString passwordHash(const QString& user, const QString& password)
{
    const QByteArray digest =
        QCryptographicHash::hash((user.toUpper() + QLatin1Char('/') + password.toUpper()).toUtf8(),
                                 QCryptographicHash::Sha1);
    return QString::fromLatin1(digest.left(8).toHex().toUpper());
}

namespace {

const char* const kTables[] = {
    "CREATE TABLE kol_meta (key TEXT PRIMARY KEY, value)",
    "CREATE TABLE kol_users (username TEXT PRIMARY KEY, user_id INTEGER, password TEXT,"
    " account_status TEXT, lock_date DATE, expiry_date DATE, default_tablespace TEXT,"
    " temporary_tablespace TEXT, created DATE, profile TEXT, initial_rsrc_consumer_group TEXT)",
    "CREATE TABLE kol_roles (role TEXT PRIMARY KEY, password_required TEXT)",
    "CREATE TABLE kol_role_privs (grantee TEXT, granted_role TEXT, PRIMARY KEY (grantee,"
    " granted_role))",
    "CREATE TABLE kol_sys_privs (grantee TEXT, privilege TEXT, PRIMARY KEY (grantee, privilege))",
    "CREATE TABLE kol_tab_privs (grantee TEXT, owner TEXT, name TEXT, privilege TEXT, grantor TEXT,"
    " PRIMARY KEY (grantee, owner, name, privilege))",
    "CREATE TABLE kol_objects (object_id INTEGER PRIMARY KEY, owner TEXT, object_name TEXT,"
    " subobject_name TEXT, object_type TEXT, data_object_id INTEGER, created DATE, last_ddl_time"
    " DATE, status TEXT, temporary TEXT, generated TEXT, secondary TEXT, base_owner TEXT, base_name"
    " TEXT)",
    "CREATE INDEX kol_objects_name ON kol_objects (owner, object_name)",
    "CREATE TABLE kol_tables (owner TEXT, table_name TEXT, tablespace_name TEXT, pct_free INTEGER,"
    " pct_used INTEGER, ini_trans INTEGER, max_trans INTEGER, initial_extent INTEGER, next_extent"
    " INTEGER, min_extents INTEGER, max_extents INTEGER, pct_increase INTEGER, freelists INTEGER,"
    " freelist_groups INTEGER, logging TEXT, num_rows INTEGER, blocks INTEGER, empty_blocks"
    " INTEGER, avg_space INTEGER, chain_cnt INTEGER, avg_row_len INTEGER, last_analyzed DATE,"
    " iot_type TEXT, PRIMARY KEY (owner, table_name))",
    "CREATE TABLE kol_columns (owner TEXT, table_name TEXT, column_name TEXT, column_id INTEGER,"
    " data_type TEXT, data_length INTEGER, data_precision INTEGER, data_scale INTEGER, nullable"
    " TEXT, data_default TEXT, PRIMARY KEY (owner, table_name, column_name))",
    "CREATE TABLE kol_comments (owner TEXT, table_name TEXT, column_name TEXT, comments TEXT,"
    " PRIMARY KEY (owner, table_name, column_name))",
    "CREATE TABLE kol_constraints (owner TEXT, constraint_name TEXT, constraint_type TEXT,"
    " table_name TEXT, search_condition TEXT, r_owner TEXT, r_constraint_name TEXT, delete_rule"
    " TEXT, status TEXT, generated TEXT, last_change DATE, index_owner TEXT, index_name TEXT,"
    " validated TEXT, PRIMARY KEY (owner, constraint_name))",
    "CREATE TABLE kol_cons_columns (owner TEXT, constraint_name TEXT, table_name TEXT, column_name"
    " TEXT, position INTEGER)",
    "CREATE TABLE kol_indexes (owner TEXT, index_name TEXT, index_type TEXT, table_owner TEXT,"
    " table_name TEXT, uniqueness TEXT, tablespace_name TEXT, ini_trans INTEGER, max_trans INTEGER,"
    " initial_extent INTEGER, next_extent INTEGER, min_extents INTEGER, max_extents INTEGER,"
    " pct_increase INTEGER, pct_free INTEGER, freelists INTEGER, generated TEXT, status TEXT,"
    " PRIMARY KEY (owner, index_name))",
    "CREATE TABLE kol_ind_columns (index_owner TEXT, index_name TEXT, table_owner TEXT, table_name"
    " TEXT, column_name TEXT, column_position INTEGER, column_length INTEGER, char_length INTEGER,"
    " descend TEXT)",
    "CREATE TABLE kol_synonyms (owner TEXT, synonym_name TEXT, table_owner TEXT, table_name TEXT,"
    " db_link TEXT, PRIMARY KEY (owner, synonym_name))",
    "CREATE TABLE kol_sequences (sequence_owner TEXT, sequence_name TEXT, min_value NUMBER,"
    " max_value NUMBER, increment_by INTEGER, cycle_flag TEXT, order_flag TEXT, cache_size INTEGER,"
    " last_number NUMBER, next_value NUMBER, PRIMARY KEY (sequence_owner, sequence_name))",
    "CREATE TABLE kol_triggers (owner TEXT, trigger_name TEXT, trigger_type TEXT, triggering_event"
    " TEXT, table_owner TEXT, base_object_type TEXT, table_name TEXT, column_name TEXT,"
    " referencing_names TEXT, when_clause TEXT, status TEXT, description TEXT, action_type TEXT,"
    " trigger_body TEXT, PRIMARY KEY (owner, trigger_name))",
    "CREATE TABLE kol_views (owner TEXT, view_name TEXT, text TEXT, PRIMARY KEY (owner,"
    " view_name))",
};

// name, owner column, definition with %F for the access filter (on OWNER and NAME expressions).
struct ViewDef {
    const char* name;
    const char* ownerColumn;  // dropped in the USER_ form; null when there is no USER_ form
    const char* filterOwner;
    const char* filterName;
    const char* select;
    bool dba;  // also make a DBA_ form (no filter)
};

const ViewDef kViews[] = {
    {"ALL_USERS", nullptr, nullptr, nullptr,
     "SELECT username AS \"USERNAME\", user_id AS \"USER_ID\", created AS \"CREATED\" FROM"
     " kol_users",
     false},
    {"ALL_TABLES", "OWNER", "t.owner", "t.table_name",
     "SELECT t.owner AS \"OWNER\", t.table_name AS \"TABLE_NAME\", t.tablespace_name AS"
     " \"TABLESPACE_NAME\", NULL AS \"CLUSTER_NAME\", NULL AS \"IOT_NAME\", t.pct_free AS"
     " \"PCT_FREE\", t.pct_used AS \"PCT_USED\", t.ini_trans AS \"INI_TRANS\", t.max_trans AS"
     " \"MAX_TRANS\", t.initial_extent AS \"INITIAL_EXTENT\", t.next_extent AS \"NEXT_EXTENT\","
     " t.min_extents AS \"MIN_EXTENTS\", t.max_extents AS \"MAX_EXTENTS\", t.pct_increase AS"
     " \"PCT_INCREASE\", t.freelists AS \"FREELISTS\", t.freelist_groups AS \"FREELIST_GROUPS\","
     " t.logging AS \"LOGGING\", 'N' AS \"BACKED_UP\", t.num_rows AS \"NUM_ROWS\", t.blocks AS"
     " \"BLOCKS\", t.empty_blocks AS \"EMPTY_BLOCKS\", t.avg_space AS \"AVG_SPACE\", t.chain_cnt AS"
     " \"CHAIN_CNT\", t.avg_row_len AS \"AVG_ROW_LEN\", NULL AS \"AVG_SPACE_FREELIST_BLOCKS\", NULL"
     " AS \"NUM_FREELIST_BLOCKS\", '         1' AS \"DEGREE\", '         1' AS \"INSTANCES\", '   "
     " N' AS \"CACHE\", 'ENABLED' AS \"TABLE_LOCK\", NULL AS \"SAMPLE_SIZE\", t.last_analyzed AS"
     " \"LAST_ANALYZED\", 'NO' AS \"PARTITIONED\", t.iot_type AS \"IOT_TYPE\", 'N' AS"
     " \"TEMPORARY\", 'N' AS \"SECONDARY\", 'NO' AS \"NESTED\", 'DEFAULT' AS \"BUFFER_POOL\","
     " 'DISABLED' AS \"ROW_MOVEMENT\", 'NO' AS \"GLOBAL_STATS\", 'NO' AS \"USER_STATS\", NULL AS"
     " \"DURATION\", 'DISABLED' AS \"SKIP_CORRUPT\", 'NO' AS \"MONITORING\", NULL AS"
     " \"CLUSTER_OWNER\", 'DISABLED' AS \"DEPENDENCIES\", 'DISABLED' AS \"COMPRESSION\" FROM"
     " kol_tables t WHERE %F",
     true},
    {"ALL_OBJECTS", "OWNER", "coalesce(o.base_owner, o.owner)",
     "coalesce(o.base_name, o.object_name)",
     "SELECT o.owner AS \"OWNER\", o.object_name AS \"OBJECT_NAME\", o.subobject_name AS"
     " \"SUBOBJECT_NAME\", o.object_id AS \"OBJECT_ID\", o.data_object_id AS \"DATA_OBJECT_ID\","
     " o.object_type AS \"OBJECT_TYPE\", o.created AS \"CREATED\", o.last_ddl_time AS"
     " \"LAST_DDL_TIME\", substr(o.last_ddl_time, 1, 10) || ':' || substr(o.last_ddl_time, 12) AS"
     " \"TIMESTAMP\", o.status AS \"STATUS\", o.temporary AS \"TEMPORARY\", o.generated AS"
     " \"GENERATED\", o.secondary AS \"SECONDARY\" FROM kol_objects o WHERE %F",
     true},
    {"ALL_TAB_COMMENTS", "OWNER", "o.owner", "o.object_name",
     "SELECT o.owner AS \"OWNER\", o.object_name AS \"TABLE_NAME\", o.object_type AS"
     " \"TABLE_TYPE\", c.comments AS \"COMMENTS\" FROM kol_objects o LEFT JOIN kol_comments c ON"
     " c.owner = o.owner AND c.table_name = o.object_name AND c.column_name = '' WHERE"
     " o.object_type IN ('TABLE', 'VIEW') AND %F",
     true},
    {"ALL_TAB_COLUMNS", "OWNER", "c.owner", "c.table_name",
     "SELECT c.owner AS \"OWNER\", c.table_name AS \"TABLE_NAME\", c.column_name AS"
     " \"COLUMN_NAME\", c.data_type AS \"DATA_TYPE\", NULL AS \"DATA_TYPE_MOD\", NULL AS"
     " \"DATA_TYPE_OWNER\", c.data_length AS \"DATA_LENGTH\", c.data_precision AS"
     " \"DATA_PRECISION\", c.data_scale AS \"DATA_SCALE\", c.nullable AS \"NULLABLE\", c.column_id"
     " AS \"COLUMN_ID\", length(c.data_default) AS \"DEFAULT_LENGTH\", c.data_default AS"
     " \"DATA_DEFAULT\", NULL AS \"NUM_DISTINCT\", NULL AS \"LOW_VALUE\", NULL AS \"HIGH_VALUE\","
     " NULL AS \"DENSITY\", NULL AS \"NUM_NULLS\", NULL AS \"NUM_BUCKETS\", NULL AS"
     " \"LAST_ANALYZED\", NULL AS \"SAMPLE_SIZE\", CASE WHEN c.data_type IN ('VARCHAR2', 'CHAR',"
     " 'LONG') THEN 'CHAR_CS' END AS \"CHARACTER_SET_NAME\", CASE WHEN c.data_type IN ('VARCHAR2',"
     " 'CHAR') THEN c.data_length END AS \"CHAR_COL_DECL_LENGTH\", 'NO' AS \"GLOBAL_STATS\", 'NO'"
     " AS \"USER_STATS\", NULL AS \"AVG_COL_LEN\", CASE WHEN c.data_type IN ('VARCHAR2', 'CHAR')"
     " THEN c.data_length ELSE 0 END AS \"CHAR_LENGTH\", CASE WHEN c.data_type IN ('VARCHAR2',"
     " 'CHAR') THEN 'B' END AS \"CHAR_USED\", 'NO' AS \"V80_FMT_IMAGE\", 'NO' AS \"DATA_UPGRADED\""
     " FROM kol_columns c WHERE %F",
     true},
    {"ALL_COL_COMMENTS", "OWNER", "c.owner", "c.table_name",
     "SELECT c.owner AS \"OWNER\", c.table_name AS \"TABLE_NAME\", c.column_name AS"
     " \"COLUMN_NAME\", m.comments AS \"COMMENTS\" FROM kol_columns c LEFT JOIN kol_comments m ON"
     " m.owner = c.owner AND m.table_name = c.table_name AND m.column_name = c.column_name WHERE"
     " %F",
     true},
    {"ALL_CONSTRAINTS", "OWNER", "k.owner", "k.table_name",
     "SELECT k.owner AS \"OWNER\", k.constraint_name AS \"CONSTRAINT_NAME\", k.constraint_type AS"
     " \"CONSTRAINT_TYPE\", k.table_name AS \"TABLE_NAME\", k.search_condition AS"
     " \"SEARCH_CONDITION\", k.r_owner AS \"R_OWNER\", k.r_constraint_name AS"
     " \"R_CONSTRAINT_NAME\", k.delete_rule AS \"DELETE_RULE\", k.status AS \"STATUS\", 'NOT"
     " DEFERRABLE' AS \"DEFERRABLE\", 'IMMEDIATE' AS \"DEFERRED\", k.validated AS \"VALIDATED\","
     " k.generated AS \"GENERATED\", NULL AS \"BAD\", NULL AS \"RELY\", k.last_change AS"
     " \"LAST_CHANGE\", k.index_owner AS \"INDEX_OWNER\", k.index_name AS \"INDEX_NAME\" FROM"
     " kol_constraints k WHERE %F",
     true},
    {"ALL_CONS_COLUMNS", "OWNER", "k.owner", "k.table_name",
     "SELECT k.owner AS \"OWNER\", k.constraint_name AS \"CONSTRAINT_NAME\", k.table_name AS"
     " \"TABLE_NAME\", k.column_name AS \"COLUMN_NAME\", k.position AS \"POSITION\" FROM"
     " kol_cons_columns k WHERE %F",
     true},
    {"ALL_INDEXES", "OWNER", "i.table_owner", "i.table_name",
     "SELECT i.owner AS \"OWNER\", i.index_name AS \"INDEX_NAME\", i.index_type AS \"INDEX_TYPE\","
     " i.table_owner AS \"TABLE_OWNER\", i.table_name AS \"TABLE_NAME\", 'TABLE' AS \"TABLE_TYPE\","
     " i.uniqueness AS \"UNIQUENESS\", 'DISABLED' AS \"COMPRESSION\", NULL AS \"PREFIX_LENGTH\","
     " i.tablespace_name AS \"TABLESPACE_NAME\", i.ini_trans AS \"INI_TRANS\", i.max_trans AS"
     " \"MAX_TRANS\", i.initial_extent AS \"INITIAL_EXTENT\", i.next_extent AS \"NEXT_EXTENT\","
     " i.min_extents AS \"MIN_EXTENTS\", i.max_extents AS \"MAX_EXTENTS\", i.pct_increase AS"
     " \"PCT_INCREASE\", NULL AS \"PCT_THRESHOLD\", NULL AS \"INCLUDE_COLUMN\", i.freelists AS"
     " \"FREELISTS\", 1 AS \"FREELIST_GROUPS\", i.pct_free AS \"PCT_FREE\", 'YES' AS \"LOGGING\","
     " NULL AS \"BLEVEL\", NULL AS \"LEAF_BLOCKS\", NULL AS \"DISTINCT_KEYS\", NULL AS"
     " \"AVG_LEAF_BLOCKS_PER_KEY\", NULL AS \"AVG_DATA_BLOCKS_PER_KEY\", NULL AS"
     " \"CLUSTERING_FACTOR\", i.status AS \"STATUS\", NULL AS \"NUM_ROWS\", NULL AS"
     " \"SAMPLE_SIZE\", NULL AS \"LAST_ANALYZED\", '1' AS \"DEGREE\", '1' AS \"INSTANCES\", 'NO' AS"
     " \"PARTITIONED\", 'N' AS \"TEMPORARY\", i.generated AS \"GENERATED\", 'N' AS \"SECONDARY\","
     " 'DEFAULT' AS \"BUFFER_POOL\", 'NO' AS \"USER_STATS\", NULL AS \"DURATION\", NULL AS"
     " \"PCT_DIRECT_ACCESS\", NULL AS \"ITYP_OWNER\", NULL AS \"ITYP_NAME\", NULL AS"
     " \"PARAMETERS\", 'NO' AS \"GLOBAL_STATS\", NULL AS \"DOMIDX_STATUS\", NULL AS"
     " \"DOMIDX_OPSTATUS\", NULL AS \"FUNCIDX_STATUS\", 'NO' AS \"JOIN_INDEX\" FROM kol_indexes i"
     " WHERE %F",
     true},
    {"ALL_IND_COLUMNS", "INDEX_OWNER", "c.table_owner", "c.table_name",
     "SELECT c.index_owner AS \"INDEX_OWNER\", c.index_name AS \"INDEX_NAME\", c.table_owner AS"
     " \"TABLE_OWNER\", c.table_name AS \"TABLE_NAME\", c.column_name AS \"COLUMN_NAME\","
     " c.column_position AS \"COLUMN_POSITION\", c.column_length AS \"COLUMN_LENGTH\","
     " c.char_length AS \"CHAR_LENGTH\", c.descend AS \"DESCEND\" FROM kol_ind_columns c WHERE %F",
     true},
    {"ALL_TRIGGERS", "OWNER", "t.table_owner", "t.table_name",
     "SELECT t.owner AS \"OWNER\", t.trigger_name AS \"TRIGGER_NAME\", t.trigger_type AS"
     " \"TRIGGER_TYPE\", t.triggering_event AS \"TRIGGERING_EVENT\", t.table_owner AS"
     " \"TABLE_OWNER\", t.base_object_type AS \"BASE_OBJECT_TYPE\", t.table_name AS \"TABLE_NAME\","
     " t.column_name AS \"COLUMN_NAME\", t.referencing_names AS \"REFERENCING_NAMES\","
     " t.when_clause AS \"WHEN_CLAUSE\", t.status AS \"STATUS\", t.description AS \"DESCRIPTION\","
     " t.action_type AS \"ACTION_TYPE\", t.trigger_body AS \"TRIGGER_BODY\" FROM kol_triggers t"
     " WHERE %F",
     true},
    {"ALL_SYNONYMS", "OWNER", "s.owner", "s.synonym_name",
     "SELECT s.owner AS \"OWNER\", s.synonym_name AS \"SYNONYM_NAME\", s.table_owner AS"
     " \"TABLE_OWNER\", s.table_name AS \"TABLE_NAME\", s.db_link AS \"DB_LINK\" FROM kol_synonyms"
     " s WHERE %F",
     true},
    {"ALL_SEQUENCES", "SEQUENCE_OWNER", "s.sequence_owner", "s.sequence_name",
     "SELECT s.sequence_owner AS \"SEQUENCE_OWNER\", s.sequence_name AS \"SEQUENCE_NAME\","
     " s.min_value AS \"MIN_VALUE\", s.max_value AS \"MAX_VALUE\", s.increment_by AS"
     " \"INCREMENT_BY\", s.cycle_flag AS \"CYCLE_FLAG\", s.order_flag AS \"ORDER_FLAG\","
     " s.cache_size AS \"CACHE_SIZE\", s.last_number AS \"LAST_NUMBER\" FROM kol_sequences s WHERE"
     " %F",
     true},
    {"ALL_VIEWS", "OWNER", "v.owner", "v.view_name",
     "SELECT v.owner AS \"OWNER\", v.view_name AS \"VIEW_NAME\", length(v.text) AS \"TEXT_LENGTH\","
     " v.text AS \"TEXT\", NULL AS \"TYPE_TEXT_LENGTH\", NULL AS \"TYPE_TEXT\", NULL AS"
     " \"OID_TEXT_LENGTH\", NULL AS \"OID_TEXT\", NULL AS \"VIEW_TYPE_OWNER\", NULL AS"
     " \"VIEW_TYPE\", NULL AS \"SUPERVIEW_NAME\" FROM kol_views v WHERE %F",
     true},
};

const char* const kDbaUsers =
    "SELECT username AS \"USERNAME\", user_id AS \"USER_ID\", password AS \"PASSWORD\","
    " account_status AS \"ACCOUNT_STATUS\", lock_date AS \"LOCK_DATE\", expiry_date AS"
    " \"EXPIRY_DATE\", default_tablespace AS \"DEFAULT_TABLESPACE\", temporary_tablespace AS"
    " \"TEMPORARY_TABLESPACE\", created AS \"CREATED\", profile AS \"PROFILE\","
    " initial_rsrc_consumer_group AS \"INITIAL_RSRC_CONSUMER_GROUP\", NULL AS \"EXTERNAL_NAME\""
    " FROM kol_users";

const char* const kUserUsers =
    "SELECT username AS \"USERNAME\", user_id AS \"USER_ID\", account_status AS \"ACCOUNT_STATUS\","
    " lock_date AS \"LOCK_DATE\", expiry_date AS \"EXPIRY_DATE\", default_tablespace AS"
    " \"DEFAULT_TABLESPACE\", temporary_tablespace AS \"TEMPORARY_TABLESPACE\", created AS"
    " \"CREATED\", initial_rsrc_consumer_group AS \"INITIAL_RSRC_CONSUMER_GROUP\", NULL AS"
    " \"EXTERNAL_NAME\" FROM kol_users WHERE username = ora_user()";

QString q(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

}  // namespace

void bootstrapCatalogue(EngineSession& s)
{
    for (const char* sql : kTables)
        s.run(QString::fromLatin1(sql));
    const QString now = dateText(engineNow());
    s.run(QStringLiteral("INSERT INTO kol_meta VALUES ('generation', 1), ('next_object_id', 1),"
                         " ('next_user_id', 1), ('next_constraint', 1000), ('next_serial', 1)"));
    s.run(QStringLiteral("INSERT INTO kol_users VALUES ('SYS', 0, ?, 'OPEN', NULL, NULL, 'SYSTEM',"
                         " 'TEMP', ?, 'DEFAULT', 'SYS_GROUP')"),
          {passwordHash(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL")), now});
    for (const char* role : {"CONNECT", "RESOURCE", "DBA", "SELECT_CATALOG_ROLE"})
        s.run(QStringLiteral("INSERT INTO kol_roles VALUES (?, 'NO')"),
              {QString::fromLatin1(role)});
    s.run(QStringLiteral("INSERT INTO kol_role_privs VALUES ('DBA', 'SELECT_CATALOG_ROLE'), ('SYS',"
                         " 'DBA')"));
    s.run(QStringLiteral("INSERT INTO kol_sys_privs VALUES ('CONNECT', 'CREATE SESSION'),"
                         " ('RESOURCE', 'CREATE TABLE'), ('DBA', 'SELECT ANY TABLE')"));

    auto addObject = [&](const QString& owner, const QString& name, const QString& type) {
        const qint64 id =
            s.scalar(QStringLiteral("SELECT value FROM kol_meta WHERE key = 'next_object_id'"))
                .toLongLong();
        s.run(QStringLiteral("UPDATE kol_meta SET value = value + 1 WHERE key = 'next_object_id'"));
        s.run(QStringLiteral("INSERT INTO kol_objects VALUES (?, ?, ?, NULL, ?, ?, ?, ?, 'VALID',"
                             " 'N', 'N', 'N', NULL, NULL)"),
              {id, owner, name, type, type == QLatin1String("TABLE") ? QVariant(id) : QVariant(),
               now, now});
    };
    auto publish = [&](const QString& name, const QString& grantee) {
        s.run(QStringLiteral("INSERT INTO kol_synonyms VALUES ('PUBLIC', ?, 'SYS', ?, NULL)"),
              {name, name});
        addObject(QStringLiteral("PUBLIC"), name, QStringLiteral("SYNONYM"));
        s.run(QStringLiteral("INSERT INTO kol_tab_privs VALUES (?, 'SYS', ?, 'SELECT', 'SYS')"),
              {grantee, name});
    };
    auto view = [&](const QString& name, const QString& select, const QString& grantee) {
        s.run(QStringLiteral("CREATE VIEW ") + q(QStringLiteral("SYS.") + name)
              + QStringLiteral(" AS ") + select);
        addObject(QStringLiteral("SYS"), name, QStringLiteral("VIEW"));
        publish(name, grantee);
    };

    // DUAL
    s.run(QStringLiteral("CREATE TABLE \"SYS.DUAL\" (\"DUMMY\" TEXT)"));
    s.run(QStringLiteral("INSERT INTO \"SYS.DUAL\" VALUES ('X')"));
    addObject(QStringLiteral("SYS"), QStringLiteral("DUAL"), QStringLiteral("TABLE"));
    s.run(QStringLiteral("INSERT INTO kol_tables (owner, table_name, tablespace_name, pct_free,"
                         " pct_used, ini_trans, max_trans, initial_extent, min_extents,"
                         " max_extents, freelists, freelist_groups, logging) VALUES ('SYS', 'DUAL',"
                         " 'SYSTEM', 10, 40, 1, 255, 16384, 1, 505, 1, 1, 'YES')"));
    s.run(QStringLiteral("INSERT INTO kol_columns VALUES ('SYS', 'DUAL', 'DUMMY', 1, 'VARCHAR2', 1,"
                         " NULL, NULL, 'Y', NULL)"));
    publish(QStringLiteral("DUAL"), QStringLiteral("PUBLIC"));

    const QString pub = QStringLiteral("PUBLIC");
    const QString catalog = QStringLiteral("SELECT_CATALOG_ROLE");
    view(QStringLiteral("DBA_USERS"), QString::fromLatin1(kDbaUsers), catalog);
    view(QStringLiteral("USER_USERS"), QString::fromLatin1(kUserUsers), pub);
    for (const ViewDef& v : kViews) {
        const QString select = QString::fromLatin1(v.select);
        const QString name = QString::fromLatin1(v.name);
        if (!v.filterOwner) {
            view(name, select, pub);
            continue;
        }
        const QString filter =
            QStringLiteral("ora_can_read(%1, %2)")
                .arg(QString::fromLatin1(v.filterOwner), QString::fromLatin1(v.filterName));
        view(name, QString(select).replace(QStringLiteral("%F"), filter), pub);
        const QString base = name.mid(4);
        if (v.dba)
            view(QStringLiteral("DBA_") + base,
                 QString(select).replace(QStringLiteral("%F"), QStringLiteral("1")), catalog);
        if (v.ownerColumn) {
            QStringList columns;
            for (const QVariantList& row :
                 s.rows(QStringLiteral("PRAGMA table_info(") + q(QStringLiteral("SYS.") + name)
                        + QLatin1Char(')'))) {
                const QString c = row[1].toString();
                if (c != QLatin1String(v.ownerColumn)
                    && !(base == QLatin1String("IND_COLUMNS") && c == QLatin1String("TABLE_OWNER")))
                    columns.append(q(c));
            }
            view(QStringLiteral("USER_") + base,
                 QStringLiteral("SELECT ") + columns.join(QStringLiteral(", "))
                     + QStringLiteral(" FROM ") + q(QStringLiteral("SYS.") + name)
                     + QStringLiteral(" WHERE ") + q(QString::fromLatin1(v.ownerColumn))
                     + QStringLiteral(" = ora_user()"),
                 pub);
        }
    }
}

namespace {

// name, definition, grantee: the views of grants, computed from the catalogue like the rest.
struct GrantView {
    const char* name;
    const char* select;
    const char* grantee;
};

const GrantView kGrantViews[] = {
    {"DBA_ROLES",
     "SELECT role AS \"ROLE\", password_required AS \"PASSWORD_REQUIRED\" FROM kol_roles",
     "SELECT_CATALOG_ROLE"},
    {"DBA_ROLE_PRIVS",
     "SELECT grantee AS \"GRANTEE\", granted_role AS \"GRANTED_ROLE\", 'NO' AS \"ADMIN_OPTION\","
     " 'YES' AS \"DEFAULT_ROLE\" FROM kol_role_privs",
     "SELECT_CATALOG_ROLE"},
    {"DBA_SYS_PRIVS",
     "SELECT grantee AS \"GRANTEE\", privilege AS \"PRIVILEGE\", 'NO' AS \"ADMIN_OPTION\" FROM"
     " kol_sys_privs",
     "SELECT_CATALOG_ROLE"},
    {"DBA_TAB_PRIVS",
     "SELECT grantee AS \"GRANTEE\", owner AS \"OWNER\", name AS \"TABLE_NAME\", grantor AS"
     " \"GRANTOR\", privilege AS \"PRIVILEGE\", 'NO' AS \"GRANTABLE\", 'NO' AS \"HIERARCHY\" FROM"
     " kol_tab_privs",
     "SELECT_CATALOG_ROLE"},
    {"ROLE_SYS_PRIVS",
     "SELECT grantee AS \"ROLE\", privilege AS \"PRIVILEGE\", 'NO' AS \"ADMIN_OPTION\" FROM"
     " kol_sys_privs WHERE ora_has_role(grantee)",
     "PUBLIC"},
    {"ROLE_TAB_PRIVS",
     "SELECT grantee AS \"ROLE\", owner AS \"OWNER\", name AS \"TABLE_NAME\", NULL AS"
     " \"COLUMN_NAME\", privilege AS \"PRIVILEGE\", 'NO' AS \"GRANTABLE\" FROM kol_tab_privs WHERE"
     " ora_has_role(grantee)",
     "PUBLIC"},
    {"USER_ROLE_PRIVS",
     "SELECT grantee AS \"USERNAME\", granted_role AS \"GRANTED_ROLE\", 'NO' AS \"ADMIN_OPTION\","
     " 'YES' AS \"DEFAULT_ROLE\", 'NO' AS \"OS_GRANTED\" FROM kol_role_privs WHERE grantee IN"
     " (ora_user(), 'PUBLIC')",
     "PUBLIC"},
    {"USER_SYS_PRIVS",
     "SELECT grantee AS \"USERNAME\", privilege AS \"PRIVILEGE\", 'NO' AS \"ADMIN_OPTION\" FROM"
     " kol_sys_privs WHERE grantee IN (ora_user(), 'PUBLIC')",
     "PUBLIC"},
    {"USER_TAB_PRIVS",
     "SELECT grantee AS \"GRANTEE\", owner AS \"OWNER\", name AS \"TABLE_NAME\", grantor AS"
     " \"GRANTOR\", privilege AS \"PRIVILEGE\", 'NO' AS \"GRANTABLE\", 'NO' AS \"HIERARCHY\" FROM"
     " kol_tab_privs WHERE ora_user() IN (grantee, owner, grantor)",
     "PUBLIC"},
};

}  // namespace

void completeCatalogue(EngineSession& s)
{
    const QString now = dateText(engineNow());
    for (const GrantView& v : kGrantViews) {
        const QString name = QString::fromLatin1(v.name);
        if (s.objectExists(QStringLiteral("SYS"), name))
            continue;
        s.run(QStringLiteral("CREATE VIEW ") + q(QStringLiteral("SYS.") + name)
              + QStringLiteral(" AS ") + QString::fromLatin1(v.select));
        const qint64 id =
            s.scalar(QStringLiteral("SELECT value FROM kol_meta WHERE key = 'next_object_id'"))
                .toLongLong();
        s.run(QStringLiteral("UPDATE kol_meta SET value = value + 1 WHERE key = 'next_object_id'"));
        s.run(QStringLiteral("INSERT INTO kol_objects VALUES (?, 'SYS', ?, NULL, 'VIEW', NULL, ?,"
                             " ?, 'VALID', 'N', 'N', 'N', NULL, NULL)"),
              {id, name, now, now});
        s.run(QStringLiteral("INSERT INTO kol_synonyms VALUES ('PUBLIC', ?, 'SYS', ?, NULL)"),
              {name, name});
        const qint64 synonymId = id + 1;
        s.run(QStringLiteral("UPDATE kol_meta SET value = value + 1 WHERE key = 'next_object_id'"));
        s.run(QStringLiteral("INSERT INTO kol_objects VALUES (?, 'PUBLIC', ?, NULL, 'SYNONYM',"
                             " NULL, ?, ?, 'VALID', 'N', 'N', 'N', NULL, NULL)"),
              {synonymId, name, now, now});
        s.run(QStringLiteral("INSERT INTO kol_tab_privs VALUES (?, 'SYS', ?, 'SELECT', 'SYS')"),
              {QString::fromLatin1(v.grantee), name});
    }
    // V$NLS_PARAMETERS and NLS_SESSION_PARAMETERS show the reading session's own settings; the
    // rows the scripts gave are the instance's settings for a new session.
    if (s.scalar(QStringLiteral("SELECT count(*) FROM main.sqlite_master WHERE type = 'table' AND"
                                " name = 'SYS.V_$NLS_PARAMETERS'")).toLongLong()) {
        s.run(QStringLiteral("ALTER TABLE \"SYS.V_$NLS_PARAMETERS\" RENAME TO"
                             " \"SYS.V_$NLS_PARAMETERS$\""));
        s.run(QStringLiteral("CREATE VIEW \"SYS.V_$NLS_PARAMETERS\" AS SELECT \"PARAMETER\","
                             " ora_nls(\"PARAMETER\", \"VALUE\") AS \"VALUE\" FROM"
                             " \"SYS.V_$NLS_PARAMETERS$\""));
        if (s.scalar(QStringLiteral("SELECT count(*) FROM main.sqlite_master WHERE type = 'table'"
                                    " AND name = 'SYS.NLS_SESSION_PARAMETERS'"))
                .toLongLong()) {
            s.run(QStringLiteral("DROP TABLE \"SYS.NLS_SESSION_PARAMETERS\""));
            s.run(QStringLiteral("CREATE VIEW \"SYS.NLS_SESSION_PARAMETERS\" AS SELECT"
                                 " \"PARAMETER\", \"VALUE\" FROM \"SYS.V_$NLS_PARAMETERS\" WHERE"
                                 " \"PARAMETER\" NOT IN ('NLS_CHARACTERSET',"
                                 " 'NLS_NCHAR_CHARACTERSET')"));
        }
    }
    // DICTIONARY lists what the account may read: its rows name public synonyms or SYS views.
    if (s.scalar(QStringLiteral("SELECT count(*) FROM main.sqlite_master WHERE type = 'table' AND"
                                " name = 'SYS.DICTIONARY'")).toLongLong()) {
        s.run(QStringLiteral("ALTER TABLE \"SYS.DICTIONARY\" RENAME TO \"SYS.DICTIONARY$\""));
        s.run(QStringLiteral("CREATE VIEW \"SYS.DICTIONARY\" AS SELECT * FROM \"SYS.DICTIONARY$\" d"
                             " WHERE ora_can_read('SYS', coalesce((SELECT y.table_name FROM"
                             " kol_synonyms y WHERE y.owner = 'PUBLIC' AND y.table_owner = 'SYS'"
                             " AND y.synonym_name = d.\"TABLE_NAME\"), d.\"TABLE_NAME\"))"));
    }
}

}  // namespace kolmara::db::embedded
