// The program's catalogue statements, as the data-access objects send them (same lines, same
// binds), against a fresh demo instance on a fixed day: Thursday 15 May 2003 14:00:00.
#include "EngineFixture.h"

using namespace kolmara;
using namespace kolmara::test;

namespace {

// A bind written "NAME=value" is set as text; "#NAME=value" as a number.
using Binds = QStringList;

QStringList run(db::Session& s, const QStringList& lines, const Binds& binds)
{
    db::Query q(&s);
    for (const QString& line : lines)
        q.addSql(line);
    for (const QString& b : binds) {
        const int eq = int(b.indexOf(QLatin1Char('=')));
        if (b.startsWith(QLatin1Char('#')))
            q.paramByName(b.mid(1, eq - 1)).setAsFloat(b.mid(eq + 1).toDouble());
        else
            q.paramByName(b.left(eq)).setAsString(b.mid(eq + 1));
    }
    q.open();
    QStringList out;
    for (q.first(); !q.eof(); q.next()) {
        QStringList fields;
        for (int i = 0; i < q.fieldCount(); ++i)
            fields.append(q.field(i).asText());
        out.append(fields.join(QLatin1Char('|')));
    }
    return out;
}

QStringList lines(const char* text) { return QString::fromUtf8(text).split(QLatin1Char('\n')); }

}  // namespace

class TestDemoStatements : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void statement_data();
    void statement();
    void countedStatement_data();
    void countedStatement();
    void dueBackupsOnWednesdayThe15th();
    void catalogueWritersAndLog();
    void scheduleAndRegistrationWriters();
    void readerWithoutDbaGetsTableOrViewDoesNotExist();
    void secondInstanceIsItsOwnFile();

private:
    std::unique_ptr<EngineFixture> m_fixture;
    std::unique_ptr<db::Session> m_system;
};

void TestDemoStatements::initTestCase()
{
    m_fixture = std::make_unique<EngineFixture>(demoScriptFolder());
    m_system = m_fixture->connect(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
}

void TestDemoStatements::cleanupTestCase()
{
    m_system.reset();
    m_fixture.reset();
}

void TestDemoStatements::statement_data()
{
    QTest::addColumn<QStringList>("sql");
    QTest::addColumn<Binds>("binds");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("GetServerDate") << lines("SELECT /*+ RULE */\n"
                                            "TO_CHAR(SYSDATE,'YYYY-MM-DD') DATE1,\n"
                                            "TO_CHAR(SYSDATE,'HH24:MI:SS') DATE2,\n"
                                            "TO_CHAR(SYSDATE,'D') DATE3\nFROM DUAL")
                                   << Binds{} << QStringList{"2003-05-15|14:00:00|5"};
    QTest::newRow("GetUniqueIndexColumn")
        << lines(
               "SELECT /*+ RULE */\nB.COLUMN_NAME COLUMN_NAME,\nB.COLUMN_POSITION POSITION,\n"
               "B.INDEX_NAME INDEX_NAME\nFROM ALL_INDEXES A,\nALL_IND_COLUMNS B\n"
               "WHERE A.TABLE_OWNER = :OWNER\nAND A.TABLE_NAME = :TABLE_NAME\n"
               "AND A.UNIQUENESS = :UNIQUENESS\nAND B.TABLE_OWNER = A.TABLE_OWNER\n"
               "AND B.INDEX_NAME = A.INDEX_NAME\nAND B.COLUMN_NAME = :COLUMN_NAME")
        << Binds{"OWNER=SCOTT", "TABLE_NAME=EMP", "UNIQUENESS=UNIQUE", "COLUMN_NAME=EMPNO"}
        << QStringList{"EMPNO|1|PK_EMP"};
    QTest::newRow("GetUniqueIndexColumn not in a unique index")
        << lines(
               "SELECT /*+ RULE */\nB.COLUMN_NAME COLUMN_NAME,\nB.COLUMN_POSITION POSITION,\n"
               "B.INDEX_NAME INDEX_NAME\nFROM ALL_INDEXES A,\nALL_IND_COLUMNS B\n"
               "WHERE A.TABLE_OWNER = :OWNER\nAND A.TABLE_NAME = :TABLE_NAME\n"
               "AND A.UNIQUENESS = :UNIQUENESS\nAND B.TABLE_OWNER = A.TABLE_OWNER\n"
               "AND B.INDEX_NAME = A.INDEX_NAME\nAND B.COLUMN_NAME = :COLUMN_NAME")
        << Binds{"OWNER=SCOTT", "TABLE_NAME=EMP", "UNIQUENESS=UNIQUE", "COLUMN_NAME=ENAME"}
        << QStringList{};
    QTest::newRow("GetConstraintType")
        << lines(
               "SELECT /*+ RULE */\nCONSTRAINT_TYPE\n"
               "FROM ALL_CONSTRAINTS\nWHERE OWNER = :OWNER\n"
               "AND CONSTRAINT_NAME = :CONSTRAINT_NAME\n"
               "AND TABLE_NAME = :TABLE_NAME")
        << Binds{"OWNER=SCOTT", "CONSTRAINT_NAME=FK_DEPTNO", "TABLE_NAME=EMP"} << QStringList{"R"};
    QTest::newRow("GetColumnInfo")
        << lines(
               "SELECT /*+ RULE */\nA.COLUMN_ID COLUMN_ID,\nA.COLUMN_NAME COLUMN_NAME,\n"
               "B.COMMENTS COMMENTS,\nA.DATA_TYPE DATA_TYPE,\nA.DATA_LENGTH DATA_LENGTH,\n"
               "A.NULLABLE NULLABLE\nFROM\nALL_TAB_COLUMNS A,\nALL_COL_COMMENTS B\n"
               "WHERE A.OWNER = :OWNER\nAND A.TABLE_NAME = :TABLE_NAME\n"
               "AND A.COLUMN_NAME = :COLUMN_NAME\nAND B.OWNER = A.OWNER\n"
               "AND B.TABLE_NAME = A.TABLE_NAME\nAND B.COLUMN_NAME = A.COLUMN_NAME")
        << Binds{"OWNER=SCOTT", "TABLE_NAME=EMP", "COLUMN_NAME=ENAME"}
        << QStringList{"2|ENAME|사원명|VARCHAR2|10|Y"};
    QTest::newRow("GetSegmentFileId")
        << lines(
               "SELECT /*+ RULE */\nFILE_ID\nFROM DBA_EXTENTS\n"
               "WHERE OWNER = :OWNER\n"
               "AND SEGMENT_NAME = :SEGMENT_NAME")
        << Binds{"OWNER=SCOTT", "SEGMENT_NAME=EMP"} << QStringList{"3"};
    QTest::newRow("GetObjectStatus")
        << lines(
               "SELECT /*+ RULE */\nTO_CHAR(CREATED,'YYYY-MM-DD HH24:MI:SS') CREATED,\n"
               "TO_CHAR(LAST_DDL_TIME,'YYYY-MM-DD HH24:MI:SS') LAST_DDL_TIME,\nSTATUS\n"
               "FROM ALL_OBJECTS\nWHERE OWNER = :OWNER\nAND OBJECT_NAME = :OBJECT_NAME\n"
               "AND OBJECT_TYPE = :OBJECT_TYPE")
        << Binds{"OWNER=SCOTT", "OBJECT_NAME=EMP", "OBJECT_TYPE=TABLE"}
        << QStringList{"2003-05-15 14:00:00|2003-05-15 14:00:00|VALID"};
    QTest::newRow("GetSynonym") << lines(
                                       "SELECT /*+ RULE */\nTABLE_OWNER,\nTABLE_NAME ,\nDB_LINK\n"
                                       "FROM ALL_SYNONYMS\nWHERE OWNER = :OWNER\n"
                                       "AND SYNONYM_NAME = :SYNONYM_NAME")
                                << Binds{"OWNER=PUBLIC", "SYNONYM_NAME=V$SESSION"}
                                << QStringList{"SYS|V_$SESSION|"};
    QTest::newRow("GetTablespaceUsage")
        << lines("SELECT\nSUM(AA.F_BYTES) F_BYTES,\nSUM(AA.U_BYTES) U_BYTES\nFROM\n"
                 "(SELECT /*+ RULE */\nSUM(BYTES) F_BYTES,\n0 U_BYTES\nFROM USER_FREE_SPACE\n"
                 "WHERE TABLESPACE_NAME = :NAME\nUNION ALL\nSELECT /*+ RULE */\n0 F_BYTES,\n"
                 "SUM(BYTES) U_BYTES\nFROM V$DATAFILE\nWHERE TS# = :TS) AA")
        << Binds{"NAME=USERS", "#TS=3"} << QStringList{"27181056|209715200"};
    QTest::newRow("GetFileFreeSpace") << lines("SELECT /*+ RULE */\nSUM(BYTES) F_BYTES,\n"
                                               "SUM(BLOCKS) F_BLOCKS\nFROM USER_FREE_SPACE\n"
                                               "WHERE FILE_ID = :FILE_ID")
                                      << Binds{"FILE_ID=3"} << QStringList{"27181056|3318"};
    QTest::newRow("GetFileFreeSpace full file")
        << lines("SELECT /*+ RULE */\nSUM(BYTES) F_BYTES,\nSUM(BLOCKS) F_BLOCKS\n"
                 "FROM USER_FREE_SPACE\nWHERE FILE_ID = :FILE_ID")
        << Binds{"FILE_ID=999"} << QStringList{"|"};
    QTest::newRow("GetDatafileName")
        << lines(
               "SELECT /*+ RULE */\nNAME\nFROM V$DATAFILE\n"
               "WHERE FILE# = :FILE#")
        << Binds{"#FILE#=1"} << QStringList{"C:\\ORACLE\\ORADATA\\KOLM\\SYSTEM01.DBF"};
    QTest::newRow("GetSga") << lines("SELECT /*+ RULE */\nNAME,\nVALUE\nFROM V$SGA") << Binds{}
                            << QStringList{"Fixed Size|453492", "Variable Size|109051904",
                                           "Database Buffers|25165824", "Redo Buffers|667648"};
    QTest::newRow("GetTableTablespaces") << lines("SELECT /*+ RULE */\nDISTINCT TABLESPACE_NAME\n"
                                                  "FROM ALL_TABLES\nWHERE OWNER = :OWNER")
                                         << Binds{"OWNER=SCOTT"} << QStringList{"USERS"};
    QTest::newRow("GetTableList") << lines(
                                         "SELECT /*+ RULE */\nTABLE_NAME,\nCOMMENTS ,\n"
                                         "TABLE_TYPE\nFROM ALL_TAB_COMMENTS\n"
                                         "WHERE OWNER = :OWNER\nAND TABLE_TYPE LIKE :TABLE_TYPE\n"
                                         "ORDER BY TABLE_NAME")
                                  << Binds{"OWNER=SCOTT", "TABLE_TYPE=TABLE"}
                                  << QStringList{"BONUS|상여금|TABLE", "DEPT|부서|TABLE",
                                                 "EMP|사원|TABLE", "SALGRADE|급여등급|TABLE"};
    QTest::newRow("GetTableList empty owner binds NULL")
        << lines("SELECT /*+ RULE */\nTABLE_NAME,\nCOMMENTS ,\nTABLE_TYPE\nFROM ALL_TAB_COMMENTS\n"
                 "WHERE OWNER = :OWNER\nAND TABLE_TYPE LIKE :TABLE_TYPE\nORDER BY TABLE_NAME")
        << Binds{"OWNER=", "TABLE_TYPE=%"} << QStringList{};
    QTest::newRow("GetIndexColumns")
        << lines("SELECT\nAA.INDEX_NAME INDEX_NAME,\nBB.COLUMN_POSITION COLUMN_POSITION,\n"
                 "AA.UNIQUENESS UNIQUENESS,\nBB.COLUMN_NAME COLUMN_NAME,\n"
                 "BB.COLUMN_LENGTH COLUMN_LENGTH\nFROM\n(SELECT /*+ RULE */\nINDEX_NAME ,\n"
                 "UNIQUENESS ,\nTABLESPACE_NAME,\nINI_TRANS ,\nMAX_TRANS ,\nINITIAL_EXTENT ,\n"
                 "NEXT_EXTENT ,\nMIN_EXTENTS ,\nMAX_EXTENTS ,\nPCT_FREE ,\nPCT_INCREASE\n"
                 "FROM ALL_INDEXES\nWHERE OWNER = :OWNER\nAND TABLE_NAME = :TABLE_NAME)\n"
                 "AA, ALL_IND_COLUMNS BB\nWHERE BB.TABLE_OWNER = :OWNER\n"
                 "AND BB.TABLE_NAME = :TABLE_NAME\nAND BB.INDEX_NAME = AA.INDEX_NAME\n"
                 "ORDER BY AA.INDEX_NAME, BB.COLUMN_POSITION")
        << Binds{"OWNER=SCOTT", "TABLE_NAME=EMP"} << QStringList{"PK_EMP|1|UNIQUE|EMPNO|22"};
    QTest::newRow("GetTableStorage")
        << lines(
               "SELECT /*+ RULE */\nTABLESPACE_NAME,\nCLUSTER_NAME ,\nTABLE_LOCK ,\nPCT_FREE ,\n"
               "PCT_USED ,\nINI_TRANS ,\nMAX_TRANS ,\nINITIAL_EXTENT ,\nNEXT_EXTENT ,\n"
               "MIN_EXTENTS ,\nMAX_EXTENTS ,\nPCT_INCREASE ,\nFREELISTS ,\nCHAIN_CNT ,\n"
               "TO_CHAR(LAST_ANALYZED,'YYYY-MM-DD HH24:MI:SS') LAST_ANALYZED\nFROM ALL_TABLES\n"
               "WHERE OWNER = :OWNER\nAND TABLE_NAME = :TABLE_NAME")
        << Binds{"OWNER=SCOTT", "TABLE_NAME=EMP"}
        << QStringList{"USERS||ENABLED|10|40|1|255|65536||1|2147483645||1||"};
    QTest::newRow("GetTableColumns")
        << lines(
               "SELECT /*+ RULE */\nA.COLUMN_ID COLUMN_ID,\nA.COLUMN_NAME COLUMN_NAME,\n"
               "B.COMMENTS COMMENTS,\nA.DATA_TYPE DATA_TYPE,\nA.DATA_LENGTH DATA_LENGTH,\n"
               "A.NULLABLE NULLABLE,\nA.DATA_PRECISION DATA_PRECISION,\nA.DATA_SCALE DATA_SCALE\n"
               "FROM\nALL_TAB_COLUMNS A,\nALL_COL_COMMENTS B\nWHERE A.OWNER = :OWNER\n"
               "AND A.TABLE_NAME = :TABLE_NAME\nAND B.OWNER = A.OWNER\n"
               "AND B.TABLE_NAME = A.TABLE_NAME\nAND B.COLUMN_NAME = A.COLUMN_NAME\n"
               "ORDER BY A.COLUMN_ID")
        << Binds{"OWNER=SCOTT", "TABLE_NAME=DEPT"}
        << QStringList{"1|DEPTNO|부서번호|NUMBER|22|N|2|0", "2|DNAME|부서명|VARCHAR2|14|Y||",
                       "3|LOC|위치|VARCHAR2|13|Y||"};
    QTest::newRow("GetIndexColumnList")
        << lines(
               "SELECT /*+ RULE */\nCOLUMN_NAME ,\nCOLUMN_POSITION ,\nCOLUMN_LENGTH\n"
               "FROM ALL_IND_COLUMNS\nWHERE TABLE_OWNER = :TABLE_OWNER\n"
               "AND TABLE_NAME = :TABLE_NAME\nAND INDEX_NAME = :INDEX_NAME")
        << Binds{"TABLE_OWNER=SCOTT", "TABLE_NAME=DEPT", "INDEX_NAME=PK_DEPT"}
        << QStringList{"DEPTNO|1|22"};
    QTest::newRow("GetDatafiles")
        << lines(
               "SELECT /*+ RULE */\nFILE# FILE_ID,\nNAME NAME ,\nNVL(BYTES,0) U_BYTES,\n"
               "NVL(BLOCKS,0) U_BLOCKS,\nSTATUS STATUS\nFROM V$DATAFILE\n"
               "WHERE TS# = :TABLESPACE\nORDER BY FILE#")
        << Binds{"#TABLESPACE=0"}
        << QStringList{"1|C:\\ORACLE\\ORADATA\\KOLM\\SYSTEM01.DBF|524288000|64000|SYSTEM"};
    QTest::newRow("GetDatafiles none") << lines("SELECT /*+ RULE */\nFILE# FILE_ID,\nNAME NAME ,\n"
                                                "NVL(BYTES,0) U_BYTES,\nNVL(BLOCKS,0) U_BLOCKS,\n"
                                                "STATUS STATUS\nFROM V$DATAFILE\n"
                                                "WHERE TS# = :TABLESPACE\nORDER BY FILE#")
                                       << Binds{"#TABLESPACE=99"} << QStringList{};
    QTest::newRow("GetElapsedMinutes")
        << lines("SELECT /*+ RULE */\n"
                 "TO_CHAR(TO_NUMBER(TO_DATE(:TODATETIME,'YYYYMMDD HH24MISS') -\n"
                 "TO_DATE(:FRDATETIME,'YYYYMMDD HH24MISS')) * 86400 / 60) TIMCNT\nFROM DUAL")
        << Binds{"FRDATETIME=20030415 235930", "TODATETIME=20030416 000930"} << QStringList{"10"};
    QTest::newRow("GetElapsedMinutes equal stamps")
        << lines("SELECT /*+ RULE */\n"
                 "TO_CHAR(TO_NUMBER(TO_DATE(:TODATETIME,'YYYYMMDD HH24MISS') -\n"
                 "TO_DATE(:FRDATETIME,'YYYYMMDD HH24MISS')) * 86400 / 60) TIMCNT\nFROM DUAL")
        << Binds{"FRDATETIME=20030415 235930", "TODATETIME=20030415 235930"} << QStringList{"0"};
    QTest::newRow("GetElapsedMinutes backwards with fraction")
        << lines("SELECT /*+ RULE */\n"
                 "TO_CHAR(TO_NUMBER(TO_DATE(:TODATETIME,'YYYYMMDD HH24MISS') -\n"
                 "TO_DATE(:FRDATETIME,'YYYYMMDD HH24MISS')) * 86400 / 60) TIMCNT\nFROM DUAL")
        << Binds{"FRDATETIME=20030415 000130", "TODATETIME=20030415 000000"} << QStringList{"-1.5"};

    QTest::newRow("GetTriggerBody")
        << lines(
               "SELECT /*+ RULE */\nDESCRIPTION ,\nTRIGGER_BODY\n"
               "FROM ALL_TRIGGERS\nWHERE OWNER = :OWNER\n"
               "AND TRIGGER_NAME = :TRIGGER_NAME")
        << Binds{"OWNER=TGHAPP", "TRIGGER_NAME=TRG_ORDERS_BIU"}
        << QStringList{
               "TGHAPP.TRG_ORDERS_BIU\nBEFORE INSERT OR UPDATE ON TGHAPP.ORDERS\nFOR EACH"
               " ROW\n|BEGIN\n  :NEW.UPD_DATE := SYSDATE;\n  :NEW.UPD_USER := USER;\nEND;\n"};
    QTest::newRow("GetSequence") << lines(
                                        "SELECT /*+ RULE */\nINCREMENT_BY,\nMIN_VALUE\n"
                                        "FROM ALL_SEQUENCES\n"
                                        "WHERE SEQUENCE_OWNER = :SEQUENCE_OWNER\n"
                                        "AND SEQUENCE_NAME = :SEQUENCE_NAME")
                                 << Binds{"SEQUENCE_OWNER=TGHAPP", "SEQUENCE_NAME=SEQ_SLIP_NO"}
                                 << QStringList{"10|1"};
    QTest::newRow("GetVersion") << lines("SELECT\nBANNER\nFROM V$VERSION") << Binds{}
                                << QStringList{
                                       "Oracle9i Enterprise Edition Release 9.2.0.1.0 - Production",
                                       "PL/SQL Release 9.2.0.1.0 - Production",
                                       "CORE\t9.2.0.1.0\tProduction",
                                       "TNS for 32-bit Windows: Version 9.2.0.1.0 - Production",
                                       "NLSRTL Version 9.2.0.1.0 - Production"};
    QTest::newRow("GetDictColumns")
        << lines(
               "SELECT /*+ RULE */\nTABLE_NAME,\nCOLUMN_NAME,\n"
               "COMMENTS\nFROM DICT_COLUMNS\n"
               "WHERE TABLE_NAME = :TABLE_NAME")
        << Binds{"TABLE_NAME=V$SGA"} << QStringList{"V$SGA|NAME|", "V$SGA|VALUE|"};
    QTest::newRow("GetIndexTablespaces") << lines("SELECT /*+ RULE */\nDISTINCT TABLESPACE_NAME\n"
                                                  "FROM ALL_INDEXES\nWHERE OWNER = :OWNER")
                                         << Binds{"OWNER=TGHAPP"} << QStringList{"TGHI"};
    QTest::newRow("GetNlsParameters")
        << lines(
               "SELECT /*+ RULE */\nPARAMETER,\nVALUE\n"
               "FROM V$NLS_PARAMETERS")
        << Binds{}
        << QStringList{"NLS_LANGUAGE|KOREAN",
                       "NLS_TERRITORY|KOREA",
                       "NLS_CURRENCY|₩",
                       "NLS_ISO_CURRENCY|KOREA",
                       "NLS_NUMERIC_CHARACTERS|.,",
                       "NLS_CALENDAR|GREGORIAN",
                       "NLS_DATE_FORMAT|YYYY-MM-DD HH24:MI:SS",
                       "NLS_DATE_LANGUAGE|KOREAN",
                       "NLS_CHARACTERSET|KO16MSWIN949",
                       "NLS_SORT|BINARY",
                       "NLS_TIME_FORMAT|HH.MI.SSXFF AM",
                       "NLS_TIMESTAMP_FORMAT|YYYY-MM-DD HH24:MI:SSXFF",
                       "NLS_TIME_TZ_FORMAT|HH.MI.SSXFF AM TZR",
                       "NLS_TIMESTAMP_TZ_FORMAT|YYYY-MM-DD HH24:MI:SSXFF TZR",
                       "NLS_DUAL_CURRENCY|₩",
                       "NLS_NCHAR_CHARACTERSET|AL16UTF16",
                       "NLS_COMP|BINARY",
                       "NLS_LENGTH_SEMANTICS|BYTE",
                       "NLS_NCHAR_CONV_EXCP|FALSE"};
    QTest::newRow("GetTablesInTablespace")
        << lines(
               "SELECT /*+ RULE */\nC.OBJECT_ID OB,\nA.TABLE_NAME TABLE_NAME,\n"
               "B.COMMENTS COMMENTS,\nA.INITIAL_EXTENT INIT_EXTENT,\nA.NEXT_EXTENT NEXT_EXTENT,\n"
               "A.MIN_EXTENTS MIN_EXTENTS,\nA.MAX_EXTENTS MAX_EXTENTS,\n"
               "C.LAST_DDL_TIME MODIFYED\nFROM ALL_TABLES A,\nALL_TAB_COMMENTS B,\n"
               "ALL_OBJECTS C\nWHERE A.OWNER = :OWNER\nAND A.TABLESPACE_NAME = :TABLESPACE_NAME\n"
               "AND B.OWNER = A.OWNER\nAND B.TABLE_NAME = A.TABLE_NAME\nAND C.OWNER = A.OWNER\n"
               "AND C.OBJECT_NAME = A.TABLE_NAME\nAND C.OBJECT_TYPE = :OBJECT_TYPE")
        << Binds{"OWNER=SCOTT", "TABLESPACE_NAME=USERS", "OBJECT_TYPE=TABLE"}
        << QStringList{"124|BONUS|상여금|65536||1|2147483645|2003-05-15 14:00:00",
                       "120|DEPT|부서|65536||1|2147483645|2003-05-15 14:00:00",
                       "122|EMP|사원|65536||1|2147483645|2003-05-15 14:00:00",
                       "125|SALGRADE|급여등급|65536||1|2147483645|2003-05-15 14:00:00"};
    QTest::newRow("GetRollbackSegments")
        << lines(
               "SELECT /*+ RULE */\nTABLESPACE_NAME ,\nSEGMENT_ID ,\nSEGMENT_NAME ,\nOWNER ,\n"
               "STATUS ,\nFILE_ID ,\nBLOCK_ID ,\nINITIAL_EXTENT ,\nNEXT_EXTENT ,\nMIN_EXTENTS ,\n"
               "MAX_EXTENTS ,\nPCT_INCREASE\nFROM DBA_ROLLBACK_SEGS\nORDER BY TABLESPACE_NAME,\n"
               "SEGMENT_ID")
        << Binds{}
        << QStringList{"RBS|1|RBS0|PUBLIC|ONLINE|2|2|524288|524288|8|32765|0",
                       "RBS|2|RBS1|PUBLIC|ONLINE|2|514|524288|524288|8|32765|0",
                       "RBS|3|RBS2|PUBLIC|ONLINE|2|1026|524288|524288|8|32765|0",
                       "RBS|4|RBS3|PUBLIC|ONLINE|2|1794|524288|524288|8|32765|0",
                       "RBS|5|RBS4|PUBLIC|ONLINE|2|3074|524288|524288|8|32765|0",
                       "RBS|6|RBS5|PUBLIC|ONLINE|2|3586|524288|524288|8|32765|0",
                       "RBS|7|RBS6|PUBLIC|ONLINE|2|4162|524288|524288|8|32765|0",
                       "RBS|8|RBS_BIG|PUBLIC|OFFLINE|2|4674|10485760|10485760|2|505|0",
                       "SYSTEM|0|SYSTEM|SYS|ONLINE|1|9|393216|393216|2|32765|0"};
    QTest::newRow("GetTableIndexes")
        << lines(
               "SELECT /*+ RULE */\nINDEX_NAME ,\nUNIQUENESS ,\nTABLESPACE_NAME,\nINI_TRANS ,\n"
               "MAX_TRANS ,\nINITIAL_EXTENT ,\nNEXT_EXTENT ,\nMIN_EXTENTS ,\nMAX_EXTENTS ,\n"
               "PCT_FREE ,\nPCT_INCREASE\nFROM ALL_INDEXES\nWHERE OWNER = :OWNER\n"
               "AND TABLE_NAME = :TABLE_NAME")
        << Binds{"OWNER=TGHADM", "TABLE_NAME=BACKUP_TABLE"}
        << QStringList{"BACKUP_TABLE_PK|UNIQUE|TGHI|2|255|10485760|10485760|1|2147483645|30|0"};
    QTest::newRow("GetTableConstraints")
        << lines(
               "SELECT /*+ RULE */\nCONSTRAINT_NAME ,\nCONSTRAINT_TYPE ,\nSTATUS ,\nR_OWNER ,\n"
               "R_CONSTRAINT_NAME,\nDELETE_RULE ,\n"
               "TO_CHAR(LAST_CHANGE,'YYYY-MM-DD HH24:MI:SS') LAST_CHANGE\nFROM ALL_CONSTRAINTS\n"
               "WHERE OWNER = :OWNER\nAND TABLE_NAME = :TABLE_NAME")
        << Binds{"OWNER=SCOTT", "TABLE_NAME=EMP"}
        << QStringList{"FK_DEPTNO|R|ENABLED|SCOTT|PK_DEPT|NO ACTION|2003-05-15 14:00:00",
                       "PK_EMP|P|ENABLED||||2003-05-15 14:00:00",
                       "SYS_C001000|C|ENABLED||||2003-05-15 14:00:00"};
    QTest::newRow("GetTriggers")
        << lines(
               "SELECT /*+ RULE */\nTRIGGER_NAME ,\nTRIGGER_TYPE ,\nTRIGGERING_EVENT ,\n"
               "BASE_OBJECT_TYPE ,\nTABLE_NAME ,\nREFERENCING_NAMES,\nSTATUS ,\nACTION_TYPE\n"
               "FROM ALL_TRIGGERS\nWHERE OWNER = :OWNER")
        << Binds{"OWNER=TGHAPP"}
        << QStringList{
               "TRG_CUSTOMER_BIU|BEFORE EACH ROW|INSERT OR UPDATE|TABLE|CUSTOMER|"
               "REFERENCING NEW AS NEW OLD AS OLD|ENABLED|PL/SQL",
               "TRG_ORDERS_BIU|BEFORE EACH ROW|INSERT OR UPDATE|TABLE|ORDERS|"
               "REFERENCING NEW AS NEW OLD AS OLD|ENABLED|PL/SQL",
               "TRG_ORDER_ITEM_BIU|BEFORE EACH ROW|INSERT OR UPDATE|TABLE|ORDER_ITEM|"
               "REFERENCING NEW AS NEW OLD AS OLD|ENABLED|PL/SQL"};
    QTest::newRow("GetObjects invalid")
        << lines(
               "SELECT /*+ RULE */\nOBJECT_NAME ,\nSUBOBJECT_NAME,\nOBJECT_ID ,\n"
               "DATA_OBJECT_ID,\nOBJECT_TYPE ,\n"
               "TO_CHAR(CREATED,'YYYY-MM-DD HH24:MI:SS') CREATED,\n"
               "TO_CHAR(LAST_DDL_TIME,'YYYY-MM-DD HH24:MI:SS') LAST_DDL_TIME,\nTIMESTAMP ,\n"
               "STATUS ,\nTEMPORARY ,\nGENERATED ,\nSECONDARY\nFROM ALL_OBJECTS\n"
               "WHERE OWNER = :OWNER\nAND OBJECT_TYPE LIKE :OBJECT_TYPE\nAND STATUS LIKE :STATUS")
        << Binds{"OWNER=TGHAPP", "OBJECT_TYPE=%", "STATUS=INVALID"}
        << QStringList{
               "V_ORDERS_2002||181||VIEW|2003-05-15 14:00:00|2003-05-15 14:00:00|"
               "2003-05-15:14:00:00|INVALID|N|N|N"};
    QTest::newRow("GetSessionSql")
        << lines(
               "SELECT /*+ RULE */\nSQL_TEXT\nFROM V$SESSION,\nV$SQLTEXT\nWHERE SID = :SID\n"
               "AND SERIAL# = :SERIAL\nAND USERNAME = :USERNAME\nAND ADDRESS = SQL_ADDRESS\n"
               "ORDER BY PIECE")
        << Binds{"#SID=12", "#SERIAL=231", "USERNAME=TGHAPP"}
        << QStringList{"UPDATE TGHAPP.ORDERS SET ORDER_STATUS = :B2, REMARK = :B3 WHERE ",
                       "ORDER_NO = :B1"};
    QTest::newRow("GetLocks")
        << lines(
               "SELECT /*+ RULE */\nA.SID SID,\nB.SERIAL# SERIAL,\nA.TYPE TYPE,\n"
               "B.USERNAME ORAUSER,\nB.OSUSER OSUSER,\nB.PROCESS OSPROC,\nB.MACHINE SERVER,\n"
               "B.TERMINAL TERMINAL,\nB.PROGRAM PROGRAM,\nB.MODULE MODULE,\n"
               "C.OBJECT_NAME OBNAME,\n"
               "TO_CHAR(SYSDATE - (A.CTIME/86400),'HH24:MI:SS') LOCK_TIME\nFROM V$LOCK A,\n"
               "V$SESSION B,\nALL_OBJECTS C,\nV$PROCESS D\nWHERE A.SID = B.SID\n"
               "AND B.USERNAME IS NOT NULL\nAND D.ADDR = B.PADDR\nAND C.OBJECT_ID(+) = A.ID1\n"
               "ORDER BY SID, LOGON_TIME")
        << Binds{}
        << QStringList{
               "12|231|TM|TGHAPP|kimjh|2344:1520|TGH\\SALES-PC07|SALES-PC07|TGHSALES.EXE|"
               "TGHSALES.EXE|ORDERS|13:36:55",
               "12|231|TX|TGHAPP|kimjh|2344:1520|TGH\\SALES-PC07|SALES-PC07|TGHSALES.EXE|"
               "TGHSALES.EXE||13:36:55",
               "17|5|TM|TGHWEB|webadm|1234|TGH\\WAS01|WAS01|java.exe|JDBC Thin Client|ORDERS|"
               "13:39:49",
               "17|5|TX|TGHWEB|webadm|1234|TGH\\WAS01|WAS01|java.exe|JDBC Thin Client||13:39:49",
               "18|302|TM|SCOTT|choiyh|2748:2752|TGH\\DEV-PC03|DEV-PC03|sqlplusw.exe|SQL*Plus|EMP|"
               "13:49:05",
               "18|302|TX|SCOTT|choiyh|2748:2752|TGH\\DEV-PC03|DEV-PC03|sqlplusw.exe|SQL*Plus||"
               "13:49:05",
               "20|1479|TM|TGHBAT|batch|20417|tghbat01|pts/2|sqlplus@tghbat01 (TNS V1-V3)|SQL*Plus|"
               "ORDERS|13:14:50",
               "20|1479|TM|TGHBAT|batch|20417|tghbat01|pts/2|sqlplus@tghbat01 (TNS V1-V3)|SQL*Plus|"
               "SALES_HIST|13:14:48",
               "20|1479|TX|TGHBAT|batch|20417|tghbat01|pts/2|sqlplus@tghbat01 (TNS V1-V3)|SQL*Plus|"
               "|13:14:48",
               "20|1479|UL|TGHBAT|batch|20417|tghbat01|pts/2|sqlplus@tghbat01 (TNS V1-V3)|SQL*Plus|"
               "|13:14:48",
               "29|14|TM|TGHWEB|webadm|1234|TGH\\WAS01|WAS01|java.exe|JDBC Thin Client|BRANCH|"
               "13:59:59",
               "29|14|TM|TGHWEB|webadm|1234|TGH\\WAS01|WAS01|java.exe|JDBC Thin Client|CUSTOMER|"
               "13:59:59",
               "29|14|TM|TGHWEB|webadm|1234|TGH\\WAS01|WAS01|java.exe|JDBC Thin Client|ORDERS|"
               "13:59:59",
               "29|14|TX|TGHWEB|webadm|1234|TGH\\WAS01|WAS01|java.exe|JDBC Thin Client||13:59:59",
               "35|8|TM|TGHWEB|webadm|1234|TGH\\WAS01|WAS01|java.exe|JDBC Thin Client|ORDER_ITEM|"
               "13:23:15",
               "35|8|TX|TGHWEB|webadm|1234|TGH\\WAS01|WAS01|java.exe|JDBC Thin Client||13:23:15"};
    QTest::newRow("GetTablespaces")
        << lines(
               "SELECT /*+ RULE */\nB.TS# TS,\nB.NAME TABLESPACE_NAME,\n"
               "NVL(A.INITIAL_EXTENT,0) INITIAL_EXTENT ,\nNVL(A.NEXT_EXTENT ,0) NEXT_EXTENT ,\n"
               "NVL(A.MIN_EXTENTS ,0) MIN_EXTENTS ,\nNVL(A.MAX_EXTENTS ,0) MAX_EXTENTS ,\n"
               "NVL(A.PCT_INCREASE ,0) PCT_INCREASE ,\nA.STATUS STATUS ,\nA.CONTENTS CONTENTS\n"
               "FROM USER_TABLESPACES A,\nV$TABLESPACE B\nWHERE B.NAME = A.TABLESPACE_NAME\n"
               "ORDER BY B.TS#")
        << Binds{}
        << QStringList{"0|SYSTEM|65536|65536|1|2147483645|50|ONLINE|PERMANENT",
                       "1|RBS|524288|524288|2|32765|0|ONLINE|PERMANENT",
                       "2|TEMP|1048576|1048576|1|0|0|ONLINE|TEMPORARY",
                       "3|USERS|65536|0|1|2147483645|0|ONLINE|PERMANENT",
                       "4|INDX|65536|0|1|2147483645|0|ONLINE|PERMANENT",
                       "5|TOOLS|65536|0|1|2147483645|0|ONLINE|PERMANENT",
                       "6|TGHD|10485760|10485760|1|2147483645|0|ONLINE|PERMANENT",
                       "7|TGHI|10485760|10485760|1|2147483645|0|ONLINE|PERMANENT"};
    QTest::newRow("GetBackupTable")
        << lines(
               "SELECT  /*+ RULE */\n      BACKUP_SERVER   ,\n      BACKUP_ACCOUNT  ,\n"
               "      BACKUP_TABLEID  ,\n      BACKUP_TABLENAME,\n      BACKUP_CYCLE    ,\n"
               "      BACKUP_TYPE     ,\n      BACKUP_TIME     ,\n      BACKUP_CONDISION,\n"
               "      BACKUP_DATETIME\nFROM  BACKUP_TABLE\n"
               "WHERE BACKUP_SERVER  = :BACKUP_SERVER\nAND   BACKUP_ACCOUNT = :BACKUP_ACCOUNT\n"
               "AND   BACKUP_TABLEID = :BACKUP_TABLEID")
        << Binds{"BACKUP_SERVER=DEMO", "BACKUP_ACCOUNT=HR", "BACKUP_TABLEID=EMPLOYEES"}
        << QStringList{
               "DEMO|HR|EMPLOYEES||D|01|05|WHERE DEPARTMENT_ID IN (10, 20, 90)|20030514 050230"};
    QTest::newRow("GetBackupUser")
        << lines(
               "SELECT /*+ RULE */\n      BACKUSER_SERVER  ,\n      BACKUSER_ACCOUNT ,\n"
               "      BACKUSER_PASSWD  ,\n      BACKUSER_USERNAME,\n      BACKUSER_TIME    ,\n"
               "      BACKUSER_TYPE    ,\n      BACKUSER_MDFDAT\nFROM  BACKUSER_TABLE\n"
               "WHERE BACKUSER_SERVER   = :BACKUSER_SERVER\n"
               "AND   BACKUSER_ACCOUNT  = :BACKUSER_ACCOUNT")
        << Binds{"BACKUSER_SERVER=DEMO", "BACKUSER_ACCOUNT=SCOTT"}
        << QStringList{"DEMO|SCOTT|TIGER|샘플 (SCOTT)|0230|Y|20030102 093015"};
}

void TestDemoStatements::statement()
{
    QFETCH(QStringList, sql);
    QFETCH(Binds, binds);
    QFETCH(QStringList, expected);
    const QStringList actual = run(*m_system, sql, binds);
    if (actual != expected)
        qWarning().noquote() << "actual rows:\n" << actual.join(QLatin1Char('\n'));
    QCOMPARE(actual, expected);
}

void TestDemoStatements::countedStatement_data()
{
    QTest::addColumn<QStringList>("sql");
    QTest::addColumn<Binds>("binds");
    QTest::addColumn<int>("minimumCount");
    QTest::addColumn<QString>("someRow");

    QTest::newRow("GetUsers") << lines("SELECT /*+ RULE */\nUSERNAME,\n"
                                       "TO_DATE(CREATED, 'YYYY-MM-DD HH24:MI:SS') CREATED\n"
                                       "FROM ALL_USERS")
                              << Binds{} << 10 << QStringLiteral("SCOTT|2003-05-15 14:00:00");
    QTest::newRow("GetDictionary") << lines("SELECT /*+ RULE */\nTABLE_NAME,\nCOMMENTS\n"
                                            "FROM DICTIONARY") << Binds{} << 20
                                   << QStringLiteral("ALL_OBJECTS|Objects accessible to the user");
    QTest::newRow("GetSgaStat") << lines("SELECT /*+ RULE */\nPOOL,\nNAME,\nBYTES\nFROM V$SGASTAT")
                                << Binds{} << 10 << QStringLiteral("|fixed_sga|453492");
    QTest::newRow("GetParameters")
        << lines("SELECT /*+ RULE */\nNAME,\nTYPE,\nVALUE,\nISDEFAULT,\nISSES_MODIFIABLE,\n"
                 "ISSYS_MODIFIABLE,\nISMODIFIED,\nISADJUSTED,\nNUM\nFROM V$PARAMETER")
        << Binds{} << 100 << QStringLiteral("processes|3|150|FALSE|FALSE|FALSE|FALSE|FALSE|17");
    QTest::newRow("GetResourceLimits")
        << lines("SELECT /*+ RULE */\nRESOURCE_NAME ,\nCURRENT_UTILIZATION,\nMAX_UTILIZATION ,\n"
                 "INITIAL_ALLOCATION ,\nLIMIT_VALUE\nFROM V$RESOURCE_LIMIT")
        << Binds{} << 10 << QStringLiteral("processes|34|44|       150|       150");
    QTest::newRow("GetDbaUsers")
        << lines(
               "SELECT /*+ RULE */\nUSERNAME ,\nUSER_ID ,\nPASSWORD ,\nACCOUNT_STATUS ,\n"
               "DEFAULT_TABLESPACE ,\nTEMPORARY_TABLESPACE,\n"
               "TO_CHAR(CREATED,'YYYY-MM-DD HH24:MI:SS') CREATED,\nPROFILE ,\n"
               "INITIAL_RSRC_CONSUMER_GROUP\nFROM DBA_USERS")
        << Binds{} << 10
        << QStringLiteral(
               "OUTLN|6|29A4C02FF097716B|LOCKED|SYSTEM|TEMP|2003-05-15 14:00:00|DEFAULT|"
               "DEFAULT_CONSUMER_GROUP");
    QTest::newRow("GetSessions")
        << lines(
               "SELECT /*+ RULE */\nSID ,\nSERIAL# ,\nUSERNAME ,\nCOMMAND ,\nLOCKWAIT ,\n"
               "STATUS ,\nSERVER ,\nOSUSER ,\nPROCESS ,\nMACHINE ,\nTERMINAL ,\nPROGRAM ,\n"
               "TO_CHAR(LOGON_TIME,'YYYY-MM-DD HH24:MI:SS') LOGON_TIME,\nTYPE ,\nMODULE\n"
               "FROM V$SESSION\nWHERE STATUS LIKE :STATUS")
        << Binds{"STATUS=%"} << 20
        << QStringLiteral(
               "1|1||0||ACTIVE|DEDICATED|SYSTEM|1944|KOLMDB01|KOLMDB01|ORACLE.EXE|"
               "2003-05-11 06:12:31|BACKGROUND|");
    QTest::newRow("GetObjects all")
        << lines(
               "SELECT /*+ RULE */\nOBJECT_NAME ,\nSUBOBJECT_NAME,\nOBJECT_ID ,\n"
               "DATA_OBJECT_ID,\nOBJECT_TYPE ,\n"
               "TO_CHAR(CREATED,'YYYY-MM-DD HH24:MI:SS') CREATED,\n"
               "TO_CHAR(LAST_DDL_TIME,'YYYY-MM-DD HH24:MI:SS') LAST_DDL_TIME,\nTIMESTAMP ,\n"
               "STATUS ,\nTEMPORARY ,\nGENERATED ,\nSECONDARY\nFROM ALL_OBJECTS\n"
               "WHERE OWNER = :OWNER\nAND OBJECT_TYPE LIKE :OBJECT_TYPE\nAND STATUS LIKE :STATUS")
        << Binds{"OWNER=SCOTT", "OBJECT_TYPE=%", "STATUS=%"} << 6
        << QStringLiteral(
               "EMP||122|122|TABLE|2003-05-15 14:00:00|2003-05-15 14:00:00|2003-05-15:14:00:00|"
               "VALID|N|N|N");
}

void TestDemoStatements::countedStatement()
{
    QFETCH(QStringList, sql);
    QFETCH(Binds, binds);
    QFETCH(int, minimumCount);
    QFETCH(QString, someRow);
    const QStringList actual = run(*m_system, sql, binds);
    if (!actual.contains(someRow))
        qWarning().noquote() << "actual rows:\n" << actual.join(QLatin1Char('\n'));
    QVERIFY2(actual.size() >= minimumCount, qPrintable(QString::number(actual.size())));
    QVERIFY(actual.contains(someRow));
}



void TestDemoStatements::dueBackupsOnWednesdayThe15th()
{
    m_fixture->setNow(QDateTime(QDate(2003, 1, 15), QTime(10, 0, 0)));  // a Wednesday
    const char* nine = "      BACKUP_SERVER   ,\n      BACKUP_ACCOUNT  ,\n      BACKUP_TABLEID  ,\n"
                       "      BACKUP_TABLENAME,\n"
                       "      BACKUP_CYCLE    ,\n      BACKUP_TYPE     ,\n      BACKUP_TIME     ,\n"
                       "      BACKUP_CONDISION,\n"
                       "      BACKUP_DATETIME\n";
    const QString sql = QStringLiteral(
        "SELECT\n      AA.BACKUP_SERVER          SERVER   ,\n"
        "      AA.BACKUP_ACCOUNT         ACCOUNT  ,\n"
        "      AA.BACKUP_TABLEID         TABLEID  ,\n      AA.BACKUP_TABLENAME       TABLENAME,\n"
        "      AA.BACKUP_CYCLE           CYCLE    ,\n      AA.BACKUP_TYPE            BTYPE    ,\n"
        "      AA.BACKUP_TIME            TIME     ,\n      AA.BACKUP_CONDISION       CONDISION,\n"
        "      AA.BACKUP_DATETIME        DATETIME\nFROM\n(SELECT  /*+ RULE */\n"
        "%1FROM  BACKUP_TABLE\n"
        "WHERE BACKUP_SERVER  = :BACKUP_SERVER\nAND   BACKUP_CYCLE   = :BACKUP_CYCLE1\nUNION ALL\n"
        "SELECT  /*+ RULE */\n%1FROM  BACKUP_TABLE\nWHERE BACKUP_SERVER  = :BACKUP_SERVER\n"
        "AND   BACKUP_CYCLE   = :BACKUP_CYCLE2\nAND   BACKUP_TYPE    =\n"
        "(SELECT LPAD(TO_CHAR(SYSDATE,'D'),2,'0') FROM DUAL)\nUNION ALL\nSELECT  /*+ RULE */\n"
        "%1FROM  BACKUP_TABLE\n"
        "WHERE BACKUP_SERVER  = :BACKUP_SERVER\nAND   BACKUP_CYCLE   = :BACKUP_CYCLE3\n"
        "AND   BACKUP_TYPE    =\n"
        "(SELECT SUBSTR(TO_CHAR(SYSDATE,'YYYYMMDD'),7,2) FROM DUAL)) AA\n"
        "ORDER BY AA.BACKUP_SERVER, AA.BACKUP_ACCOUNT")
                            .arg(QString::fromUtf8(nine));
    const QStringList rowsDue =
        run(*m_system, sql.split(QLatin1Char('\n')),
            {"BACKUP_SERVER=DEMO", "BACKUP_CYCLE1=D", "BACKUP_CYCLE2=W", "BACKUP_CYCLE3=M"});
    m_fixture->setNow(QDateTime(QDate(2003, 5, 15), QTime(14, 0, 0)));
    QStringList accounts, keys;
    for (const QString& r : rowsDue) {
        const QStringList f = r.split(QLatin1Char('|'));
        QCOMPARE(f.size(), 9);
        accounts.append(f[1]);
        keys.append(f[1] + QLatin1Char('.') + f[2] + QLatin1Char(' ') + f[4] + f[5]);
    }
    QStringList sortedAccounts = accounts;
    sortedAccounts.sort();
    QCOMPARE(accounts, sortedAccounts);
    keys.sort();
    QCOMPARE(keys, (QStringList{"HR.EMPLOYEES D01", "SCOTT.DEPT W04", "SCOTT.EMP D01",
                                "TGHADM.BACKLOG_TABLE D01", "TGHAPP.CUSTOMER D01",
                                "TGHAPP.ORDER_ITEM M15", "TGHAPP.PRODUCT W04", "TGHDW.CUSTOMER D01",
                                "TGHDW.DEPT_NOTE W04", "TGHOLD.OLD_ORDERS D01"}));
}

void TestDemoStatements::catalogueWritersAndLog()
{
    db::Session& s = *m_system;
    const QString insert = QStringLiteral(
        "INSERT INTO BACKLOG_TABLE\n"
        "(BACKLOG_SERVER,BACKLOG_ACCOUNT,BACKLOG_TABLEID,BACKLOG_SDATETIME,BACKLOG_EDATETIME,\n"
        "BACKLOG_TABLENAME,BACKLOG_CYCLE,BACKLOG_TYPE,BACKLOG_TIME,BACKLOG_IPNAME,"
        "BACKLOG_CONDISION,BACKLOG_PATH,BACKLOG_COUNT)\n"
        "VALUES (:BACKLOG_SERVER,:BACKLOG_ACCOUNT,:BACKLOG_TABLEID,:BACKLOG_SDATETIME,"
        ":BACKLOG_EDATETIME,:BACKLOG_TABLENAME,\n"
        ":BACKLOG_CYCLE,:BACKLOG_TYPE,:BACKLOG_TIME,:BACKLOG_IPNAME,:BACKLOG_CONDISION,"
        ":BACKLOG_PATH,:BACKLOG_COUNT)");
    auto log = [&](const QString& start, const QString& end, double count) {
        db::Query q(&s);
        q.sql() = insert.split(QLatin1Char('\n'));
        const QStringList names = {"BACKLOG_SERVER",    "BACKLOG_ACCOUNT",   "BACKLOG_TABLEID",
                                   "BACKLOG_SDATETIME", "BACKLOG_EDATETIME", "BACKLOG_TABLENAME",
                                   "BACKLOG_CYCLE",     "BACKLOG_TYPE",      "BACKLOG_TIME",
                                   "BACKLOG_IPNAME",    "BACKLOG_CONDISION", "BACKLOG_PATH"};
        const QStringList values = {"TEST", "SCOTT", "EMP", start,      end, "사원",
                                    "W",    "04",    "13",  "10.0.0.7", "",  "/tmp/EMP.TXT"};
        for (int i = 0; i < names.size(); ++i)
            q.paramByName(names[i]).setAsString(values[i]);
        q.paramByName(QStringLiteral("BACKLOG_COUNT")).setAsFloat(count);
        s.startTransaction();
        try {
            q.execSql();
            s.commit();
        } catch (...) {
            s.rollback();
            throw;
        }
    };
    log(QStringLiteral("20030415 235930"), QStringLiteral("20030416 000110"), 1200);
    log(QStringLiteral("20030401 000000"), QStringLiteral("20030401 000500"), 14);
    log(QStringLiteral("20030501 000000"), QStringLiteral("20030501 000100"), 0);
    try {
        log(QStringLiteral("20030415 235930"), QStringLiteral("20030416 000110"), 1);
        QFAIL("a second log row with the same key was accepted");
    } catch (const db::DatabaseError& e) {
        QCOMPARE(e.message(),
                 QStringLiteral("ORA-00001: unique constraint (TGHADM.BACKLOG_TABLE_PK) violated"));
    }
    const QStringList read =
        run(s,
            lines("SELECT /*+ RULE */\n"
                  "BACKLOG_TABLEID, BACKLOG_SDATETIME, BACKLOG_CONDISION, BACKLOG_COUNT,\n"
                  "TO_CHAR(ROUND(TO_NUMBER(TO_DATE(BACKLOG_EDATETIME,'YYYYMMDD HH24MISS') -\n"
                  "              TO_DATE(BACKLOG_SDATETIME,'YYYYMMDD HH24MISS')) * 86400 / 60))"
                  " USETIME\nFROM  BACKLOG_TABLE\n"
                  "WHERE BACKLOG_SERVER     = :BACKLOG_SERVER\n"
                  "AND   BACKLOG_ACCOUNT    = :BACKLOG_ACCOUNT\n"
                  "AND   BACKLOG_SDATETIME >= :BACKLOG_FRDATE\n"
                  "AND   BACKLOG_SDATETIME <= :BACKLOG_TODATE\n"
                  "ORDER BY BACKLOG_SDATETIME DESC"),
            {"BACKLOG_SERVER=TEST", "BACKLOG_ACCOUNT=SCOTT", "BACKLOG_FRDATE=20030401 000000",
             "BACKLOG_TODATE=20030430 235959"});
    QCOMPARE(read, (QStringList{"EMP|20030415 235930||1200|2", "EMP|20030401 000000||14|5"}));

    // An update that matches no row is a success; an insert into a missing column is not.
    exec(s, QStringLiteral("UPDATE BACKUP_TABLE SET BACKUP_DATETIME = '20030515 140000'"
                           " WHERE BACKUP_SERVER = 'TEST'"));
    s.commit();
    QCOMPARE(errorOf(s, QStringLiteral("INSERT INTO BACKUP_TABLE (BACKUP_NOPE) VALUES ('X')")),
             QStringLiteral("ORA-00904: \"BACKUP_NOPE\": invalid identifier"));
    QCOMPARE(
        errorOf(s, QStringLiteral("INSERT INTO BACKUSER_TABLE (BACKUSER_SERVER,"
                                  " BACKUSER_ACCOUNT, BACKUSER_TYPE) VALUES ('T', 'A', 'YES')")),
        QStringLiteral("ORA-12899: value too large for column"
                       " \"TGHADM\".\"BACKUSER_TABLE\".\"BACKUSER_TYPE\" (actual: 3,"
                       " maximum: 1)"));
    QCOMPARE(errorOf(s, QStringLiteral("INSERT INTO BACKUSER_TABLE (BACKUSER_SERVER,"
                                       " BACKUSER_ACCOUNT) VALUES ('T', '')")),
             QStringLiteral("ORA-01400: cannot insert NULL into"
                            " (\"TGHADM\".\"BACKUSER_TABLE\".\"BACKUSER_ACCOUNT\")"));
    s.rollback();
}

void TestDemoStatements::scheduleAndRegistrationWriters()
{
    db::Session& s = *m_system;
    auto write = [&](const char* text, const Binds& binds) {
        db::Query q(&s);
        q.sql() = lines(text);
        for (const QString& b : binds) {
            const int eq = int(b.indexOf(QLatin1Char('=')));
            q.paramByName(b.left(eq)).setAsString(b.mid(eq + 1));
        }
        s.startTransaction();
        q.execSql();
        s.commit();
    };
    const Binds schedule = {"BACKUP_SERVER=UNIT",    "BACKUP_ACCOUNT=SCOTT", "BACKUP_TABLEID=EMP",
                            "BACKUP_TABLENAME=사원", "BACKUP_CYCLE=W",       "BACKUP_TYPE=04",
                            "BACKUP_TIME=13",        "BACKUP_CONDISION=",    "BACKUP_DATETIME="};
    write("INSERT INTO BACKUP_TABLE\n       (BACKUP_SERVER   ,\n        BACKUP_ACCOUNT  ,\n"
          "        BACKUP_TABLEID  ,\n"
          "        BACKUP_TABLENAME,\n        BACKUP_CYCLE    ,\n        BACKUP_TYPE     ,\n"
          "        BACKUP_TIME     ,\n"
          "        BACKUP_CONDISION,\n        BACKUP_DATETIME )\nVALUES (:BACKUP_SERVER   ,\n"
          "        :BACKUP_ACCOUNT  ,\n"
          "        :BACKUP_TABLEID  ,\n        :BACKUP_TABLENAME,\n        :BACKUP_CYCLE    ,\n"
          "        :BACKUP_TYPE     ,\n"
          "        :BACKUP_TIME     ,\n        :BACKUP_CONDISION,\n        :BACKUP_DATETIME )",
          schedule);
    write(
        "UPDATE  BACKUP_TABLE\n    SET BACKUP_TABLENAME  = :BACKUP_TABLENAME,\n"
        "        BACKUP_CYCLE      = :BACKUP_CYCLE    ,\n"
        "        BACKUP_TYPE       = :BACKUP_TYPE     ,\n"
        "        BACKUP_TIME       = :BACKUP_TIME     ,\n"
        "        BACKUP_CONDISION  = :BACKUP_CONDISION,\n"
        "        BACKUP_DATETIME   = :BACKUP_DATETIME\n"
        "WHERE   BACKUP_SERVER     = :BACKUP_SERVER\n"
        "AND     BACKUP_ACCOUNT    = :BACKUP_ACCOUNT\n"
        "AND     BACKUP_TABLEID    = :BACKUP_TABLEID",
        {"BACKUP_SERVER=UNIT", "BACKUP_ACCOUNT=SCOTT", "BACKUP_TABLEID=EMP",
         "BACKUP_TABLENAME=사원", "BACKUP_CYCLE=M", "BACKUP_TYPE=15",
         "BACKUP_TIME=", "BACKUP_CONDISION=WHERE DEPTNO = 10", "BACKUP_DATETIME="});
    write(
        "UPDATE  BACKUP_TABLE\n    SET BACKUP_DATETIME   = :BACKUP_DATETIME\n"
        "WHERE   BACKUP_SERVER     = :BACKUP_SERVER\n"
        "AND     BACKUP_ACCOUNT    = :BACKUP_ACCOUNT\nAND     BACKUP_TABLEID    = :BACKUP_TABLEID",
        {"BACKUP_DATETIME=20030515 140000", "BACKUP_SERVER=UNIT", "BACKUP_ACCOUNT=SCOTT",
         "BACKUP_TABLEID=EMP"});
    QCOMPARE(run(s, lines("SELECT  /*+ RULE */\n      BACKUP_SERVER   ,\n      BACKUP_ACCOUNT  ,\n"
                          "      BACKUP_TABLEID  ,\n"
                          "      BACKUP_TABLENAME,\n      BACKUP_CYCLE    ,\n"
                          "      BACKUP_TYPE     ,\n      BACKUP_TIME     ,\n"
                          "      BACKUP_CONDISION,\n      BACKUP_DATETIME\nFROM  BACKUP_TABLE\n"
                          "WHERE BACKUP_SERVER  = :BACKUP_SERVER\n"
                          "AND   BACKUP_ACCOUNT = :BACKUP_ACCOUNT"),
                 {"BACKUP_SERVER=UNIT", "BACKUP_ACCOUNT=SCOTT"}),
             QStringList{"UNIT|SCOTT|EMP|사원|M|15||WHERE DEPTNO = 10|20030515 140000"});
    try {
        write("INSERT INTO BACKUP_TABLE (BACKUP_SERVER, BACKUP_ACCOUNT, BACKUP_TABLEID)"
              " VALUES (:BACKUP_SERVER, :BACKUP_ACCOUNT, :BACKUP_TABLEID)",
              {"BACKUP_SERVER=UNIT", "BACKUP_ACCOUNT=SCOTT", "BACKUP_TABLEID=EMP"});
        QFAIL("a duplicate schedule was accepted");
    } catch (const db::DatabaseError& e) {
        s.rollback();
        QCOMPARE(e.message(),
                 QStringLiteral("ORA-00001: unique constraint (TGHADM.BACKUP_TABLE_PK) violated"));
    }

    const Binds user = {
        "BACKUSER_SERVER=UNIT",           "BACKUSER_ACCOUNT=SCOTT", "BACKUSER_PASSWD=TIGER",
        "BACKUSER_USERNAME=샘플",         "BACKUSER_TIME=0230",     "BACKUSER_TYPE=Y",
        "BACKUSER_MDFDAT=20030515 140000"};
    write("INSERT INTO BACKUSER_TABLE\n"
          "(BACKUSER_SERVER, BACKUSER_ACCOUNT, BACKUSER_PASSWD, BACKUSER_USERNAME, BACKUSER_TIME,\n"
          "BACKUSER_TYPE, BACKUSER_MDFDAT)\n"
          "VALUES (:BACKUSER_SERVER, :BACKUSER_ACCOUNT, :BACKUSER_PASSWD, :BACKUSER_USERNAME,\n"
          ":BACKUSER_TIME, :BACKUSER_TYPE, :BACKUSER_MDFDAT)",
          user);
    write(
        "UPDATE BACKUSER_TABLE\n   SET BACKUSER_PASSWD   = :BACKUSER_PASSWD  ,\n"
        "       BACKUSER_USERNAME = :BACKUSER_USERNAME,\n"
        "       BACKUSER_TIME     = :BACKUSER_TIME    ,\n"
        "       BACKUSER_TYPE     = :BACKUSER_TYPE    ,\n"
        "       BACKUSER_MDFDAT   = :BACKUSER_MDFDAT\n"
        "WHERE BACKUSER_SERVER   = :BACKUSER_SERVER\n"
        "AND   BACKUSER_ACCOUNT  = :BACKUSER_ACCOUNT",
        {"BACKUSER_SERVER=UNIT", "BACKUSER_ACCOUNT=SCOTT", "BACKUSER_PASSWD=LION",
         "BACKUSER_USERNAME=", "BACKUSER_TIME=0300", "BACKUSER_TYPE=N",
         "BACKUSER_MDFDAT=20030515 141500"});
    QCOMPARE(rows(s, QStringLiteral("SELECT * FROM BACKUSER_TABLE WHERE BACKUSER_SERVER = 'UNIT'")),
             QStringList{"UNIT|SCOTT|LION||0300|N|20030515 141500"});
}

void TestDemoStatements::readerWithoutDbaGetsTableOrViewDoesNotExist()
{
    auto scott = m_fixture->connect(QStringLiteral("SCOTT"), QStringLiteral("TIGER"));
    const QString missing = QStringLiteral("ORA-00942: table or view does not exist");
    QCOMPARE(errorOf(*scott, QStringLiteral("SELECT USERNAME FROM DBA_USERS")), missing);
    QCOMPARE(errorOf(*scott, QStringLiteral("SELECT SID FROM V$SESSION")), missing);
    QCOMPARE(errorOf(*scott, QStringLiteral("SELECT * FROM TGHAPP.ORDERS")), missing);
    // What PUBLIC may read stays readable, and ALL_ views show only what SCOTT may read.
    QVERIFY(!rows(*scott, QStringLiteral("SELECT CODE_GRP FROM COMM_CODE")).isEmpty());
    QCOMPARE(rows(*scott, QStringLiteral("SELECT COUNT(*) FROM ALL_TABLES WHERE OWNER = 'TGHAPP'"
                                         " AND TABLE_NAME = 'ORDERS'")),
             QStringList{"0"});
    QCOMPARE(rows(*scott, QStringLiteral("SELECT COUNT(*) FROM ALL_TABLES WHERE OWNER = 'TGHAPP'"
                                         " AND TABLE_NAME = 'COMM_CODE'")),
             QStringList{"1"});
    QCOMPARE(
        rows(*scott, QStringLiteral("SELECT TABLE_NAME FROM USER_TABLES WHERE TABLE_NAME = 'EMP'")),
        QStringList{"EMP"});
}

void TestDemoStatements::secondInstanceIsItsOwnFile()
{
    // Another demo instance created at the same moment is equal to the first and separate from it.
    const QString count = QStringLiteral("SELECT COUNT(*) FROM SCOTT.DEPT");
    {
        EngineFixture other(demoScriptFolder());
        auto system = other.connect(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
        QCOMPARE(rows(*system, count), rows(*m_system, count));
        exec(*system, QStringLiteral("INSERT INTO SCOTT.DEPT VALUES (99, 'X', 'Y')"));
        system->commit();
        QCOMPARE(rows(*system, count), QStringList{"5"});
    }
    m_fixture->activate();
    QCOMPARE(rows(*m_system, count), QStringList{"4"});
}

QTEST_GUILESS_MAIN(TestDemoStatements)
#include "tst_demo_statements.moc"
