// Oracle semantics of the embedded engine, against a small schema of the test's own: text forms
// of numbers and dates, TO_DATE and its errors, NULL rules, binds, the (+) outer join, DDL with
// its dictionary rows and errors, privileges, transactions, session kill and two sessions.
#include "EngineFixture.h"

#include "common/SqlScanner.h"
#include "db/Statement.h"
#include "db/embedded/OraValues.h"

using namespace kolmara;
using namespace kolmara::test;

class TestEngine : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void expression_data();
    void expression();
    void error_data();
    void error();
    void nullRulesAndBinds();
    void numbersKeepTheirDigits();
    void plainDateFormatsAgreeWithTheGeneralOne();
    void outerJoinKeepsRowsWithoutMatch();
    void ddlFillsTheDictionary();
    void constraintErrors();
    void constraintsAreEnforced();
    void keysAndObjectsAreSwitchedOffAndDropped();
    void sampleSchemaInstallRuns();
    void privilegesAndSynonyms();
    void logonErrors();
    void transactionsAndTwoSessions();
    void killSession();
    void sessionFindsItsOwnRow();
    void rollbackSegmentShrink();
    void sequences();
    void storedProgramUnitsAndDatabaseLinks();
    void seedScriptStoresLiteralsAsStatementsDo();
    void queryRowsAreSteppedAsTheyAreFetched();
    void repeatedStatementsSeeEveryChange();
    void malformedSqlIsAnOracleError_data();
    void malformedSqlIsAnOracleError();
    void currentSchema_data();
    void currentSchema();
    void currentSchemaChangeIsCheckedAndSeenAtOnce();

private:
    void schema();
    void reseed(const QString& script);
    // a new folder each time: seeded instances are kept per folder
    std::unique_ptr<QTemporaryDir> m_scripts;
    std::unique_ptr<EngineFixture> m_fixture;
    std::unique_ptr<db::Session> m_sys;
};

void TestEngine::init()
{
    m_fixture = std::make_unique<EngineFixture>(QString());
    m_sys = m_fixture->connect(QStringLiteral("SYS"), QStringLiteral("change_on_install"));
}

void TestEngine::cleanup()
{
    m_sys.reset();
    m_fixture.reset();
    m_scripts.reset();
}

// A fresh instance seeded from the script: the one way to put rows into a fixed view.
void TestEngine::reseed(const QString& script)
{
    m_scripts = std::make_unique<QTemporaryDir>();
    QFile file(m_scripts->filePath(QStringLiteral("01_test.sql")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(script.toUtf8());
    file.close();
    m_sys.reset();
    m_fixture.reset();
    m_fixture = std::make_unique<EngineFixture>(m_scripts->path());
    m_sys = m_fixture->connect(QStringLiteral("SYS"), QStringLiteral("change_on_install"));
}

// SCOTT with EMP and DEPT, enough for joins, NULLs and constraints.
void TestEngine::schema()
{
    for (const char* sql : {
             "CREATE USER SCOTT IDENTIFIED BY TIGER DEFAULT TABLESPACE USERS TEMPORARY"
             " TABLESPACE TEMP",
             "GRANT CONNECT, RESOURCE TO SCOTT",
             "CREATE TABLE SCOTT.DEPT (DEPTNO NUMBER(2) CONSTRAINT PK_DEPT PRIMARY KEY,"
             " DNAME VARCHAR2(14), LOC VARCHAR2(13))",
             "CREATE TABLE SCOTT.EMP (EMPNO NUMBER(4) NOT NULL, ENAME VARCHAR2(10), HIREDATE DATE,"
             " SAL NUMBER(7,2), COMM NUMBER(7,2), DEPTNO NUMBER(2), CONSTRAINT PK_EMP PRIMARY KEY"
             " (EMPNO) USING INDEX TABLESPACE INDX STORAGE (INITIAL 10K NEXT 10K PCTINCREASE 0),"
             " CONSTRAINT FK_DEPTNO FOREIGN KEY (DEPTNO) REFERENCES SCOTT.DEPT,"
             " CHECK (SAL > 0)) TABLESPACE USERS PCTFREE 20 STORAGE (INITIAL 64K NEXT 128K"
             " FREELISTS 2) PCTUSED 60",
             "INSERT INTO SCOTT.DEPT VALUES (10, 'ACCOUNTING', 'NEW YORK')",
             "INSERT INTO SCOTT.DEPT VALUES (20, 'RESEARCH', 'DALLAS')",
             "INSERT INTO SCOTT.DEPT VALUES (40, 'OPERATIONS', 'BOSTON')",
             "INSERT INTO SCOTT.EMP VALUES (7369, 'SMITH', TO_DATE('17-12-1980', 'DD-MM-YYYY'),"
             " 800, NULL, 20)",
             // ALLEN's department 30 has no row: he came in while the key was off, and it is back
             // on without looking at old rows.
             "ALTER TABLE SCOTT.EMP DISABLE CONSTRAINT FK_DEPTNO",
             "INSERT INTO SCOTT.EMP VALUES (7499, 'ALLEN', TO_DATE('1981-02-20', 'YYYY-MM-DD'),"
             " 1600, 300, 30)",
             "ALTER TABLE SCOTT.EMP ENABLE NOVALIDATE CONSTRAINT FK_DEPTNO",
             "INSERT INTO SCOTT.EMP VALUES (7782, 'CLARK', TO_DATE('19810609', 'YYYYMMDD'),"
             " 2450.5, 0, 10)",
             "INSERT INTO SCOTT.EMP (EMPNO, ENAME) VALUES (7934, '')",
             "COMMIT"})
        exec(*m_sys, QString::fromUtf8(sql));
}

void TestEngine::expression_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("text");

    QTest::newRow("half") << "0.5" << ".5";
    QTest::newRow("negative half") << "-0.5" << "-.5";
    QTest::newRow("no trailing zeros") << "1.50" << "1.5";
    // Arithmetic keeps 20 base-100 digits: 40 significant digits, 39 when the first pair holds one.
    QTest::newRow("one third") << "1/3" << ".3333333333333333333333333333333333333333";
    QTest::newRow("two thirds rounded") << "2/3" << ".6666666666666666666666666666666666666667";
    QTest::newRow("one nineteenth") << "1/19" << ".0526315789473684210526315789473684210526";
    QTest::newRow("ten thirds") << "10/3" << "3.33333333333333333333333333333333333333";
    QTest::newRow("no binary neighbour") << "0.1 + 0.2" << ".3";
    QTest::newRow("20 digits plus one") << "12345678901234567890 + 1" << "12345678901234567891";
    QTest::newRow("40-digit product") << "99999999999999999999 * 99999999999999999999"
                                      << "9999999999999999999800000000000000000001";
    QTest::newRow("long decimals") << "1234567890.123456789 * 1000 - 0.000000001"
                                   << "1234567890123.456788999";
    QTest::newRow("literal beyond 40 digits")
        << "1.23456789012345678901234567890123456789012345 * 1"
        << "1.23456789012345678901234567890123456789";
    QTest::newRow("square root") << "SQRT(2)" << "1.41421356237309504880168872420969807857";
    QTest::newRow("power") << "POWER(2, 100) || ' ' || POWER(2, -2) || ' ' || POWER(-3, 3)"
                           << "1267650600228229401496703205376 .25 -27";
    QTest::newRow("mod keeps the dividend's sign")
        << "MOD(-11, 4) || ' ' || MOD(11, -4) || ' ' || MOD(5.5, 2) || ' ' || MOD(7, 0)"
        << "-3 3 1.5 7";
    QTest::newRow("ceil floor abs sign")
        << "CEIL(-1.5) || ' ' || FLOOR(-1.5) || ' ' || CEIL(12345678901234567890.1) || ' ' || "
           "ABS(-12345678901234567890) || ' ' || SIGN(-0.5)"
        << "-1 -2 12345678901234567891 12345678901234567890 -1";
    QTest::newRow("big comparisons")
        << "CASE WHEN 12345678901234567890 < 12345678901234567891 AND -12345678901234567890 < 5 "
           "AND 1.00000000000000001 BETWEEN 1 AND 2 AND NOT 1.00000000000000001 > 2 THEN 'ok' END"
        << "ok";
    QTest::newRow("months between")
        << "MONTHS_BETWEEN(TO_DATE('02-02-1995','MM-DD-YYYY'), TO_DATE('01-01-1995','MM-DD-YYYY'))"
        << "1.03225806451612903225806451612903225806";
    QTest::newRow("integer division") << "10/4" << "2.5";
    QTest::newRow("tiny") << "1e-10" << ".0000000001";
    QTest::newRow("big integer") << "123456789012345678" << "123456789012345678";
    QTest::newRow("round half away") << "ROUND(2.5) || ' ' || ROUND(-2.5) || ' ' || ROUND(1.005, 2)"
                                     << "3 -3 1.01";
    QTest::newRow("round places")
        << "ROUND(15.193,1) || ' ' || ROUND(15.193,-1) || ' ' || TRUNC(15.79) || ' '"
           " || TRUNC(-15.79,1)"
        << "15.2 20 15 -15.7";
    QTest::newRow("mod") << "MOD(11,4)" << "3";
    QTest::newRow("to_char number") << "TO_CHAR(0.5)" << ".5";
    QTest::newRow("to_char mask") << "TO_CHAR(1234.5, 'FM9,999.00')" << "1,234.50";
    // FM drops the trailing zeros of 9 positions only; a value with no digit left shows "0.".
    QTest::newRow("to_char fm trailing zeros")
        << "TO_CHAR(1234.5, 'FM9,999.99') || '|' || TO_CHAR(10, 'FM99.99') || '|'"
           " || TO_CHAR(1.5, 'FM9.0099') || '|' || TO_CHAR(-3.1, 'FM999.999') || '|'"
           " || TO_CHAR(0, 'FM99.99') || '|' || TO_CHAR(10, 'FM90.00')"
        << "1,234.5|10.|1.50|-3.1|0.|10.00";
    QTest::newRow("to_char padded masks")
        << "'[' || TO_CHAR(5, '999') || '][' || TO_CHAR(-1, '$9') || '][' ||"
           " TO_CHAR(0.5, '0.99') || ']'"
        << "[   5][-$1][ 0.50]";
    QTest::newRow("to_char too narrow") << "TO_CHAR(1234, '99')" << "###";
    QTest::newRow("roman numerals")
        << "'[' || TO_CHAR(1998, 'RN') || '][' || TO_CHAR(1998, 'FMRN') || '][' || TO_CHAR(4,"
           " 'rn') || '][' || TO_CHAR(4000, 'RN') || ']'"
        << "[      MCMXCVIII][MCMXCVIII][             iv][###############]";
    QTest::newRow("hexadecimal")
        << "'[' || TO_CHAR(255, 'XX') || '][' || TO_CHAR(255, 'FMxx') || '][' || TO_CHAR(10,"
           " '0XXX') || '][' || TO_CHAR(256, 'XX') || '][' || TO_CHAR(-1, 'XX') || ']'"
        << "[ FF][ff][ 000A][###][###]";
    QTest::newRow("sign elements")
        << "'[' || TO_CHAR(-123, '999MI') || '][' || TO_CHAR(123, '999MI') || ']['"
           " || TO_CHAR(-123, '999PR') || '][' || TO_CHAR(123, '999PR') || '][' || TO_CHAR(-12,"
           " 'S99') || '][' || TO_CHAR(12, '99S') || ']'"
        << "[123-][123 ][<123>][ 123 ][-12][12+]";
    QTest::newRow("scientific")
        << "'[' || TO_CHAR(1234567, '9.9EEEE') || '][' || TO_CHAR(-0.000123, '9.99EEEE') || ']['"
           " || TO_CHAR(9.96, '9.9EEEE') || '][' || TO_CHAR(0, 'FM9.9EEEE') || ']'"
        << "[ 1.2E+06][-1.23E-04][ 1.0E+01][0.0E+00]";
    QTest::newRow("to_number") << "TO_NUMBER(' 42 ') + 1" << "43";
    QTest::newRow("to_number with group separators") << "TO_NUMBER('1,234', '9,999') + 1" << "1235";
    QTest::newRow("lpad") << "LPAD('7',2,'0') || LPAD('abcdef',3) || RPAD('x',3,'-')" << "07abcx--";
    QTest::newRow("substr negative") << "SUBSTR('ABCDEFG',-5,4)" << "CDEF";
    QTest::newRow("substr zero start") << "SUBSTR('ABC',0,2)" << "AB";
    QTest::newRow("substr beyond") << "NVL(SUBSTR('ABC',5),'null')" << "null";
    QTest::newRow("concat null") << "'a' || NULL || 'b'" << "ab";
    QTest::newRow("decode null equals null") << "DECODE(NULL, NULL, 'same', 'other')" << "same";
    QTest::newRow("decode default") << "DECODE(3, 1, 'one', 2, 'two', 'many')" << "many";
    QTest::newRow("nvl") << "NVL('', 'empty is null')" << "empty is null";
    QTest::newRow("length of empty") << "NVL(LENGTH(''), -1)" << "-1";
    QTest::newRow("upper lower trim")
        << "UPPER('ab') || LOWER('CD') || LTRIM('  x') || RTRIM('y  ') || '|'"
        << "ABcdxy|";
    QTest::newRow("sysdate") << "TO_CHAR(SYSDATE,'YYYY-MM-DD HH24:MI:SS')" << "2003-05-15 14:00:00";
    QTest::newRow("day of week, Sunday is 1") << "TO_CHAR(SYSDATE,'D') || TO_CHAR(SYSDATE + 3,'D')"
                                              << "51";
    QTest::newRow("date names") << "TO_CHAR(SYSDATE,'DY Mon fmMonth DD')" << "THU May May 15";
    QTest::newRow("date minus date")
        << "TO_DATE('2003-05-15 12:00','YYYY-MM-DD HH24:MI') - TO_DATE('2003-05-14','YYYY-MM-DD')"
        << "1.5";
    QTest::newRow("date plus fraction")
        << "TO_CHAR(TO_DATE('20030515','YYYYMMDD') + 1/24,'HH24:MI')"
        << "01:00";
    QTest::newRow("lock time") << "TO_CHAR(SYSDATE - (90/86400),'HH24:MI:SS')" << "13:58:30";
    QTest::newRow("minutes rounded")
        << "TO_CHAR(ROUND(TO_NUMBER(TO_DATE('20030416 000110','YYYYMMDD HH24MISS') - "
           "TO_DATE('20030415 235930','YYYYMMDD HH24MISS')) * 86400 / 60))"
        << "2";
    QTest::newRow("to_date without separators")
        << "TO_CHAR(TO_DATE('20040115','YYYY-MM-DD'),'YYYY/MM/DD')"
        << "2004/01/15";
    QTest::newRow("to_date missing time") << "TO_DATE('2004-01-15','YYYY-MM-DD HH24:MI:SS')"
                                          << "2004-01-15 00:00:00";
    QTest::newRow("to_date year only") << "TO_DATE('2012','YYYY')" << "2012-05-01 00:00:00";
    QTest::newRow("to_date month name") << "TO_DATE('09-aug-04','DD-MON-RR')"
                                        << "2004-08-09 00:00:00";
    QTest::newRow("trunc date") << "TRUNC(SYSDATE)" << "2003-05-15 00:00:00";
    // SYSDATE is Thursday 2003-05-15 14:00:00.
    QTest::newRow("trunc to units")
        << "TRUNC(SYSDATE, 'CC') || ' ' || TRUNC(SYSDATE, 'YYYY') || ' ' ||"
           " TRUNC(SYSDATE, 'IYYY') || ' ' || TRUNC(SYSDATE, 'Q') || ' ' || TRUNC(SYSDATE, 'MM')"
        << "2001-01-01 00:00:00 2003-01-01 00:00:00 2002-12-30 00:00:00 2003-04-01 00:00:00"
           " 2003-05-01 00:00:00";
    QTest::newRow("trunc to weeks")
        << "TRUNC(SYSDATE, 'WW') || ' ' || TRUNC(SYSDATE, 'IW') || ' ' ||"
           " TRUNC(SYSDATE, 'W') || ' ' || TRUNC(SYSDATE, 'DAY')"
        << "2003-05-14 00:00:00 2003-05-12 00:00:00 2003-05-15 00:00:00 2003-05-11 00:00:00";
    QTest::newRow("trunc to time")
        << "TRUNC(SYSDATE + 40/1440, 'HH24') || ' ' || TRUNC(SYSDATE + 100/86400, 'MI')"
        << "2003-05-15 14:00:00 2003-05-15 14:01:00";
    QTest::newRow("round year turns on 1 July")
        << "ROUND(TO_DATE('2003-07-01', 'YYYY-MM-DD'), 'YYYY') || ' '"
           " || ROUND(TO_DATE('2003-06-30 23:59:59', 'YYYY-MM-DD HH24:MI:SS'), 'YEAR')"
        << "2004-01-01 00:00:00 2003-01-01 00:00:00";
    QTest::newRow("round quarter and month on the 16th")
        << "ROUND(SYSDATE, 'Q') || ' ' || ROUND(SYSDATE + 1, 'Q') || ' ' || ROUND(SYSDATE, 'MM')"
           " || ' ' || ROUND(SYSDATE + 1, 'MON')"
        << "2003-04-01 00:00:00 2003-07-01 00:00:00 2003-05-01 00:00:00 2003-06-01 00:00:00";
    QTest::newRow("round weeks at their middle")
        << "ROUND(SYSDATE, 'WW') || ' ' || ROUND(SYSDATE, 'IW') || ' ' || ROUND(SYSDATE, 'D')"
           " || ' ' || ROUND(SYSDATE - 3, 'IW')"
        << "2003-05-14 00:00:00 2003-05-19 00:00:00 2003-05-18 00:00:00 2003-05-12 00:00:00";
    QTest::newRow("round day hour minute")
        << "ROUND(SYSDATE) || ' ' || ROUND(SYSDATE - 1/24 * 3, 'DD') || ' '"
           " || ROUND(SYSDATE + 30/1440, 'HH') || ' ' || ROUND(SYSDATE + 29/1440, 'HH24') || ' '"
           " || ROUND(SYSDATE + 30/86400, 'MI') || ' ' || ROUND(SYSDATE, 'CC')"
        << "2003-05-16 00:00:00 2003-05-15 00:00:00 2003-05-15 15:00:00 2003-05-15 14:00:00"
           " 2003-05-15 14:01:00 2001-01-01 00:00:00";
    QTest::newRow("next day")
        << "NEXT_DAY(TO_DATE('2001-02-02', 'YYYY-MM-DD'), 'TUESDAY') || ' ' ||"
           " NEXT_DAY(SYSDATE, 'thu')"
        << "2001-02-06 00:00:00 2003-05-22 14:00:00";
    QTest::newRow("korean date names")
        << "TO_CHAR(SYSDATE - 1, 'DY DAY MON FMMONTH AM', 'NLS_DATE_LANGUAGE=KOREAN') || ' / '"
           " || TO_CHAR(SYSDATE - 1, 'DY Month', 'NLS_DATE_LANGUAGE = AMERICAN')"
        << "수 수요일 5월 5월 오후 / WED May      ";
    // LPAD and RPAD count display columns: a Hangul syllable takes two.
    QTest::newRow("pad to display width")
        << "'[' || LPAD('한글', 6, '*') || '][' || RPAD('가', 5, '나') || '][' || LPAD('한글', 3) || ']['"
           " || RPAD('abc', 5, '한') || '][' || LPAD('x', 4, '가') || ']'"
        << "[**한글][가나 ][한 ][abc한][가 x]";
    QTest::newRow("sum over no rows is null") << "(SELECT NVL(SUM(1), 0) FROM DUAL WHERE 1 = 0)"
                                              << "0";
    QTest::newRow("case") << "CASE WHEN 1 = 2 THEN 'a' ELSE 'b' END" << "b";
}

void TestEngine::expression()
{
    QFETCH(QString, expression);
    QFETCH(QString, text);
    QCOMPARE(rows(*m_sys, QStringLiteral("SELECT ") + expression + QStringLiteral(" FROM DUAL")),
             QStringList{text});
}

void TestEngine::error_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("message");

    QTest::newRow("bad month") << "SELECT TO_DATE('2004-13-01','YYYY-MM-DD') FROM DUAL"
                               << "ORA-01843: not a valid month";
    QTest::newRow("day not in month") << "SELECT TO_DATE('2004-02-30','YYYY-MM-DD') FROM DUAL"
                                      << "ORA-01839: date not valid for month specified";
    QTest::newRow("day 32") << "SELECT TO_DATE('2004-01-32','YYYY-MM-DD') FROM DUAL"
                            << "ORA-01847: day of month must be between 1 and last day of month";
    QTest::newRow("input too long")
        << "SELECT TO_DATE('2004-01-01 10:00','YYYY-MM-DD') FROM DUAL"
        << "ORA-01830: date format picture ends before converting entire input string";
    QTest::newRow("input too short") << "SELECT TO_DATE('2004','YYYY-MM-DD') FROM DUAL"
                                     << "ORA-01840: input value not long enough for date format";
    QTest::newRow("letters")
        << "SELECT TO_DATE('ab04-01-01','YYYY-MM-DD') FROM DUAL"
        << "ORA-01858: a non-numeric character was found where a numeric was expected";
    QTest::newRow("hour 25") << "SELECT TO_DATE('25:00','HH24:MI') FROM DUAL"
                             << "ORA-01850: hour must be between 0 and 23";
    QTest::newRow("bad picture") << "SELECT TO_DATE('2004','QQQQ') FROM DUAL"
                                 << "ORA-01821: date format not recognized";
    QTest::newRow("stamp that does not match")
        << "SELECT TO_DATE('2003041X','YYYYMMDD HH24MISS') FROM DUAL"
        << "ORA-01858: a non-numeric character was found where a numeric was expected";
    QTest::newRow("invalid number") << "SELECT TO_NUMBER('abc') FROM DUAL"
                                    << "ORA-01722: invalid number";
    QTest::newRow("group separator without a format") << "SELECT TO_NUMBER('1,234') FROM DUAL"
                                                      << "ORA-01722: invalid number";
    QTest::newRow("divide by zero") << "SELECT 1/0 FROM DUAL"
                                    << "ORA-01476: divisor is equal to zero";
    QTest::newRow("number column and text") << "SELECT ENAME FROM SCOTT.EMP WHERE SAL > 'abc'"
                                            << "ORA-01722: invalid number";
    QTest::newRow("text column and number") << "SELECT EMPNO FROM SCOTT.EMP E WHERE E.ENAME = 7369"
                                            << "ORA-01722: invalid number";
    QTest::newRow("number in a text list") << "SELECT 1 FROM SCOTT.EMP WHERE DEPTNO IN ('10', '2O')"
                                           << "ORA-01722: invalid number";
    QTest::newRow("text between numbers") << "SELECT 1 FROM SCOTT.EMP WHERE SAL BETWEEN '0' AND 'x'"
                                          << "ORA-01722: invalid number";
    QTest::newRow("function result and text") << "SELECT 1 FROM DUAL WHERE LENGTH(DUMMY) = 'one'"
                                              << "ORA-01722: invalid number";
    QTest::newRow("correlated column and text")
        << "SELECT 1 FROM SCOTT.DEPT D WHERE EXISTS (SELECT 1 FROM DUAL WHERE D.DEPTNO = DUMMY)"
        << "ORA-01722: invalid number";
    QTest::newRow("update where") << "UPDATE SCOTT.EMP SET SAL = SAL WHERE EMPNO = 'x'"
                                  << "ORA-01722: invalid number";
    QTest::newRow("date plus date") << "SELECT SYSDATE + SYSDATE FROM DUAL"
                                    << "ORA-00975: date + date not allowed";
    QTest::newRow("unknown column") << "SELECT NOPE FROM DUAL"
                                    << "ORA-00904: \"NOPE\": invalid identifier";
    QTest::newRow("unknown function") << "SELECT FOO(1) FROM DUAL"
                                      << "ORA-00904: \"FOO\": invalid identifier";
    QTest::newRow("unknown table") << "SELECT * FROM NOPE"
                                   << "ORA-00942: table or view does not exist";
    QTest::newRow("no from") << "SELECT 1" << "ORA-00923: FROM keyword not found where expected";
    QTest::newRow("trailing junk") << "SELECT 1 FROM DUAL DUAL2 DUAL3"
                                   << "ORA-00933: SQL command not properly ended";
    QTest::newRow("missing expression") << "SELECT 1 + FROM DUAL"
                                        << "ORA-00936: missing expression";
    QTest::newRow("not sql") << "HELLO WORLD" << "ORA-00900: invalid SQL statement";
    QTest::newRow("unterminated quote") << "SELECT 'abc FROM DUAL"
                                        << "ORA-01756: quoted string not properly terminated";
    QTest::newRow("ambiguous column") << "SELECT DUMMY FROM DUAL A, DUAL B"
                                      << "ORA-00918: column ambiguously defined";
    QTest::newRow("kill unknown session") << "ALTER SYSTEM KILL SESSION '999,1'"
                                          << "ORA-00030: User session ID does not exist.";
    QTest::newRow("unknown date unit") << "SELECT TRUNC(SYSDATE, 'XX') FROM DUAL"
                                       << "ORA-01821: date format not recognized";
    QTest::newRow("unknown weekday") << "SELECT NEXT_DAY(SYSDATE, 'FRYDAY') FROM DUAL"
                                     << "ORA-01846: not a valid day of the week";
    QTest::newRow("unknown date language")
        << "SELECT TO_CHAR(SYSDATE, 'DY', 'NLS_DATE_LANGUAGE=KLINGON') FROM DUAL"
        << "ORA-12702: invalid NLS parameter string used in SQL function";
    QTest::newRow("unknown context parameter") << "SELECT SYS_CONTEXT('USERENV', 'NOPE') FROM DUAL"
                                               << "ORA-02003: invalid USERENV parameter";
    QTest::newRow("bad number model") << "SELECT TO_CHAR(1, '9X9') FROM DUAL"
                                      << "ORA-01481: invalid number format model";
    QTest::newRow("shrink unknown segment") << "ALTER ROLLBACK SEGMENT RBS9 SHRINK"
                                            << "ORA-01534: rollback segment 'RBS9' doesn't exist";
}

void TestEngine::error()
{
    QFETCH(QString, sql);
    QFETCH(QString, message);
    schema();
    QCOMPARE(errorOf(*m_sys, sql), message);
}

void TestEngine::nullRulesAndBinds()
{
    schema();
    db::Session& s = *m_sys;
    // '' is NULL, as a literal and as a bind; = and LIKE with NULL match nothing.
    QCOMPARE(rows(s, QStringLiteral("SELECT EMPNO FROM SCOTT.EMP WHERE ENAME IS NULL")),
             QStringList{"7934"});
    QCOMPARE(rows(s, QStringLiteral("SELECT EMPNO FROM SCOTT.EMP WHERE ENAME = :N"), {{"N", ""}}),
             QStringList{});
    QCOMPARE(
        rows(s, QStringLiteral("SELECT EMPNO FROM SCOTT.EMP WHERE ENAME LIKE :N"), {{"N", ""}}),
        QStringList{});
    QCOMPARE(
        rows(s, QStringLiteral("SELECT COUNT(*) FROM SCOTT.EMP WHERE ENAME LIKE :N"), {{"N", "%"}}),
        QStringList{"3"});
    // LIKE is case-sensitive; NOT IN with NULL in the list is never true.
    QCOMPARE(rows(s, QStringLiteral("SELECT COUNT(*) FROM SCOTT.EMP WHERE ENAME LIKE 'smith'")),
             QStringList{"0"});
    QCOMPARE(
        rows(s, QStringLiteral("SELECT COUNT(*) FROM SCOTT.EMP WHERE DEPTNO NOT IN (10, NULL)")),
        QStringList{"0"});
    // A bind used twice is one parameter; text binds compare with numbers; # and $ in names.
    QCOMPARE(rows(s, QStringLiteral("SELECT ENAME FROM SCOTT.EMP WHERE EMPNO = :NO#"
                                    " OR SAL > :NO# - 6000 ORDER BY ENAME"),
                  {{"NO#", "7369"}}),
             (QStringList{"ALLEN", "CLARK", "SMITH"}));
    // A number compared with text converts the text, only in rows that are compared (SMITH's
    // EMPNO is no match, 7934's ENAME is NULL); text with text stays text.
    QCOMPARE(rows(s, QStringLiteral("SELECT ENAME FROM SCOTT.EMP WHERE SAL > ' 1000 '"
                                    " AND DEPTNO IN ('10', '30') ORDER BY 1")),
             (QStringList{"ALLEN", "CLARK"}));
    QCOMPARE(rows(s, QStringLiteral("SELECT COUNT(*) FROM SCOTT.EMP WHERE EMPNO = 7369"
                                    " AND SAL BETWEEN 800 AND '1e3'")),
             QStringList{"1"});
    QCOMPARE(
        rows(s, QStringLiteral("SELECT COUNT(*) FROM SCOTT.EMP WHERE EMPNO = 7934 AND ENAME = 1")),
        QStringList{"0"});
    QCOMPARE(
        rows(s, QStringLiteral("SELECT COUNT(*) FROM SCOTT.EMP WHERE EMPNO < 0 AND SAL = 'abc'")),
        QStringList{"0"});
    QCOMPARE(rows(s, QStringLiteral("SELECT COUNT(*) FROM DUAL WHERE '10' < '9'")),
             QStringList{"1"});
    // Aggregates skip NULLs; NULLs sort last ascending and first descending.
    QCOMPARE(
        rows(s, QStringLiteral(
                    "SELECT COUNT(COMM), SUM(COMM), MIN(SAL), MAX(SAL), AVG(SAL) FROM SCOTT.EMP")),
        QStringList{"2|300|800|2450.5|1616.833333333333333333333333333333333333"});
    QCOMPARE(rows(s, QStringLiteral("SELECT EMPNO FROM SCOTT.EMP ORDER BY SAL")),
             (QStringList{"7369", "7499", "7782", "7934"}));
    QCOMPARE(rows(s, QStringLiteral("SELECT EMPNO FROM SCOTT.EMP ORDER BY SAL DESC")),
             (QStringList{"7934", "7782", "7499", "7369"}));
    QCOMPARE(rows(s, QStringLiteral("SELECT DEPTNO, COUNT(*) FROM SCOTT.EMP"
                                    " WHERE DEPTNO IS NOT NULL GROUP BY DEPTNO "
                                    "HAVING COUNT(*) > 0 ORDER BY 1")),
             (QStringList{"10|1", "20|1", "30|1"}));
    // ROWNUM as a row limit, before ORDER BY as on Oracle.
    QCOMPARE(rows(s, QStringLiteral(
                         "SELECT COUNT(*) FROM (SELECT EMPNO FROM SCOTT.EMP WHERE ROWNUM <= 2)")),
             QStringList{"2"});
    QCOMPARE(rows(s, QStringLiteral("SELECT * FROM (SELECT EMPNO FROM SCOTT.EMP"
                                    " ORDER BY EMPNO DESC) WHERE ROWNUM < 2")),
             QStringList{"7934"});
    QCOMPARE(rows(s, QStringLiteral("SELECT DISTINCT DEPTNO FROM SCOTT.EMP WHERE DEPTNO BETWEEN 10"
                                    " AND 20 ORDER BY DEPTNO")),
             (QStringList{"10", "20"}));
    QCOMPARE(
        rows(s, QStringLiteral(
                    "SELECT DNAME FROM SCOTT.DEPT D WHERE EXISTS (SELECT 1 FROM SCOTT.EMP E WHERE "
                    "E.DEPTNO = D.DEPTNO) AND D.DEPTNO IN (SELECT DEPTNO"
                    " FROM SCOTT.EMP) ORDER BY 1")),
        (QStringList{"ACCOUNTING", "RESEARCH"}));
    // A dump query: TO_CHAR of numbers and dates with the user's condition line.
    QCOMPARE(
        rows(s, QStringLiteral("SELECT \n       TO_CHAR(EMPNO) EMPNO\n      ,ENAME ENAME\n"
                               "      ,TO_CHAR(HIREDATE, 'YYYYMMDD HH24MISS') HIREDATE\n"
                               "      ,TO_CHAR(SAL) SAL\n"
                               "FROM   EMP\n"
                               "WHERE HIREDATE >= TO_DATE('19810101','YYYYMMDD')"
                               " ORDER BY EMPNO")
                    .replace(QStringLiteral("FROM   EMP"), QStringLiteral("FROM   SCOTT.EMP"))),
        (QStringList{"7499|ALLEN|19810220 000000|1600", "7782|CLARK|19810609 000000|2450.5"}));
    // Reading a NULL number: empty as text, 0 as double; a date reads in the default form.
    db::Query q(&s);
    q.addSql(QStringLiteral("SELECT COMM, HIREDATE, SAL FROM SCOTT.EMP WHERE EMPNO = 7369"));
    q.open();
    QCOMPARE(q.fieldByName(QStringLiteral("COMM")).asText(), QString());
    QCOMPARE(q.fieldByName(QStringLiteral("COMM")).asDouble(), 0.0);
    QCOMPARE(q.fieldByName(QStringLiteral("HIREDATE")).asText(),
             QStringLiteral("1980-12-17 00:00:00"));
    QCOMPARE(q.fieldByName(QStringLiteral("SAL")).asDouble(), 800.0);
}

void TestEngine::numbersKeepTheirDigits()
{
    exec(*m_sys, QStringLiteral("CREATE TABLE BIG (N NUMBER, P NUMBER(5,2))"));
    exec(*m_sys,
         QStringLiteral("INSERT INTO BIG (N) VALUES (12345678901234567890123456789.123456789)"));
    exec(*m_sys, QStringLiteral("INSERT INTO BIG (N) VALUES (123456789012345678)"));
    exec(*m_sys, QStringLiteral("INSERT INTO BIG (N, P) VALUES (0.1, 123.456)"));
    QCOMPARE(rows(*m_sys, QStringLiteral("SELECT TO_CHAR(N), N, P FROM BIG")),
             (QStringList{
                 "12345678901234567890123456789.123456789|12345678901234567890123456789.123456789|",
                 "123456789012345678|123456789012345678|", ".1|.1|123.46"}));
    // Sums, averages and comparisons keep every digit.
    exec(*m_sys,
         QStringLiteral("INSERT INTO BIG (N) VALUES (-12345678901234567890123456789.123456789)"));
    exec(*m_sys, QStringLiteral("INSERT INTO BIG (N) VALUES (12345678901234567890)"));
    QCOMPARE(rows(*m_sys, QStringLiteral("SELECT SUM(N), COUNT(*) FROM BIG WHERE N > 1")),
             QStringList{"12345678913703703580370370357.123456789|3"});
    QCOMPARE(rows(*m_sys, QStringLiteral(
                              "SELECT SUM(N) FROM BIG WHERE N < 0 OR N >= 12345678901234567890")),
             QStringList{"12345678901234567890"});
    QCOMPARE(rows(*m_sys, QStringLiteral(
                              "SELECT AVG(N) FROM BIG WHERE N BETWEEN 0 AND 123456789012345679")),
             QStringList{"61728394506172839.05"});
    QCOMPARE(errorOf(*m_sys, QStringLiteral("SELECT 1e125 * 10 FROM DUAL")),
             QStringLiteral("ORA-01426: numeric overflow"));
    QCOMPARE(errorOf(*m_sys, QStringLiteral("SELECT SQRT(-1) FROM DUAL")),
             QStringLiteral("ORA-01428: argument '-1' is out of range"));
    QCOMPARE(errorOf(*m_sys, QStringLiteral("INSERT INTO BIG (P) VALUES (1234)")),
             QStringLiteral("ORA-01438: value larger than specified precision allowed"
                            " for this column"));
    QCOMPARE(errorOf(*m_sys, QStringLiteral("INSERT INTO BIG (N) VALUES ('x')")),
             QStringLiteral("ORA-01722: invalid number"));
}

// The copy-the-digits path that dumps take for their date columns gives what the general
// TO_CHAR gives, and leaves every other format and any text that is not a stored date to it.
void TestEngine::plainDateFormatsAgreeWithTheGeneralOne()
{
    using db::embedded::PlainDateFormat;
    const QStringList plain = {"YYYYMMDD HH24MISS", "YYYY-MM-DD HH24:MI:SS", "rrrr/mm/dd",
                               "\"작성\" YYYY.MM.DD", "SS:MI:HH24"};
    const QStringList dates = {"2003-05-15 14:00:00", "0001-01-01 00:00:00", "9999-12-31 23:59:59",
                               "2004-02-29 12:30:05"};
    for (const QString& format : plain) {
        const auto compiled = PlainDateFormat::compile(format);
        QVERIFY2(compiled, qPrintable(format));
        for (const QString& date : dates) {
            QByteArray out;
            const QByteArray text = date.toUtf8();
            QVERIFY(compiled->apply(text.constData(), int(text.size()), out));
            QCOMPARE(QString::fromUtf8(out),
                     db::embedded::oraDateToChar(*db::embedded::parseDateText(date), format));
        }
    }
    for (const QString& other : {"YYYY-MON-DD", "FMYYYY", "HH:MI AM", "D", "YYYY\"", "YYYYQ"})
        QVERIFY2(!PlainDateFormat::compile(other), qPrintable(other));
    const auto compiled = PlainDateFormat::compile(QStringLiteral("YYYYMMDD"));
    QByteArray out;
    for (const char* notADate : {"2003-02-29 00:00:00", "2003-05-15 24:00:00", "2003-05-15",
                                 "20030515 000000", "2003-05-1x 00:00:00"})
        QVERIFY2(!compiled->apply(notADate, int(strlen(notADate)), out), notADate);
}

void TestEngine::outerJoinKeepsRowsWithoutMatch()
{
    schema();
    QCOMPARE(rows(*m_sys, QStringLiteral("SELECT E.EMPNO, D.DNAME FROM SCOTT.EMP E, SCOTT.DEPT D "
                                         "WHERE D.DEPTNO(+) = E.DEPTNO AND E.EMPNO < 7900"
                                         " ORDER BY E.EMPNO")),
             (QStringList{"7369|RESEARCH", "7499|", "7782|ACCOUNTING"}));
    // Without (+) the join is inner.
    QCOMPARE(rows(*m_sys, QStringLiteral("SELECT E.EMPNO FROM SCOTT.EMP E, SCOTT.DEPT D"
                                         " WHERE D.DEPTNO = E.DEPTNO ORDER BY 1")),
             (QStringList{"7369", "7782"}));
    QCOMPARE(rows(*m_sys, QStringLiteral("SELECT D.DNAME, E.ENAME FROM SCOTT.DEPT D, SCOTT.EMP E"
                                         " WHERE E.DEPTNO(+) = D.DEPTNO "
                                         "AND E.SAL(+) > 1000 ORDER BY D.DNAME")),
             (QStringList{"ACCOUNTING|CLARK", "OPERATIONS|", "RESEARCH|"}));
}

void TestEngine::ddlFillsTheDictionary()
{
    schema();
    db::Session& s = *m_sys;
    exec(s, QStringLiteral("COMMENT ON TABLE SCOTT.EMP IS '사원'"));
    exec(s, QStringLiteral("COMMENT ON COLUMN SCOTT.EMP.ENAME IS '사원명'"));
    exec(s, QStringLiteral("CREATE INDEX SCOTT.EMP_ENAME ON SCOTT.EMP (ENAME) TABLESPACE INDX"));
    exec(s, QStringLiteral("CREATE OR REPLACE FORCE VIEW SCOTT.EMP_V AS SELECT EMPNO, ENAME"
                           " FROM SCOTT.EMP WHERE DEPTNO = 10"));
    exec(s, QStringLiteral("CREATE FORCE VIEW SCOTT.BROKEN AS SELECT * FROM SCOTT.MISSING"));
    exec(s, QStringLiteral("CREATE PUBLIC SYNONYM EMP FOR SCOTT.EMP"));
    QCOMPARE(rows(s, QStringLiteral("SELECT TABLE_NAME, TABLE_TYPE, COMMENTS FROM ALL_TAB_COMMENTS"
                                    " WHERE OWNER = 'SCOTT' ORDER BY 1")),
             (QStringList{"BROKEN|VIEW|", "DEPT|TABLE|", "EMP|TABLE|사원", "EMP_V|VIEW|"}));
    QCOMPARE(
        rows(s, QStringLiteral("SELECT TABLESPACE_NAME, PCT_FREE, PCT_USED, INITIAL_EXTENT,"
                               " NEXT_EXTENT, FREELISTS FROM ALL_TABLES WHERE OWNER = 'SCOTT'"
                               " AND TABLE_NAME = 'EMP'")),
        QStringList{"USERS|20|60|65536|131072|2"});
    QCOMPARE(
        rows(s, QStringLiteral("SELECT COLUMN_NAME, DATA_TYPE, DATA_LENGTH, DATA_PRECISION,"
                               " DATA_SCALE, NULLABLE FROM ALL_TAB_COLUMNS WHERE OWNER = 'SCOTT'"
                               " AND TABLE_NAME = 'EMP' ORDER BY COLUMN_ID")),
        (QStringList{"EMPNO|NUMBER|22|4|0|N", "ENAME|VARCHAR2|10|||Y", "HIREDATE|DATE|7|||Y",
                     "SAL|NUMBER|22|7|2|Y", "COMM|NUMBER|22|7|2|Y", "DEPTNO|NUMBER|22|2|0|Y"}));
    QCOMPARE(rows(s, QStringLiteral("SELECT COLUMN_NAME, DATA_TYPE FROM ALL_TAB_COLUMNS"
                                    " WHERE TABLE_NAME = 'EMP_V' ORDER BY COLUMN_ID")),
             (QStringList{"EMPNO|NUMBER", "ENAME|VARCHAR2"}));
    QCOMPARE(
        rows(s, QStringLiteral("SELECT CONSTRAINT_NAME, CONSTRAINT_TYPE, R_CONSTRAINT_NAME,"
                               " DELETE_RULE, INDEX_NAME, GENERATED FROM ALL_CONSTRAINTS"
                               " WHERE TABLE_NAME = 'EMP' AND CONSTRAINT_TYPE <> 'C' ORDER BY 1")),
        (QStringList{"FK_DEPTNO|R|PK_DEPT|NO ACTION||USER NAME", "PK_EMP|P|||PK_EMP|USER NAME"}));
    QCOMPARE(rows(s, QStringLiteral("SELECT SEARCH_CONDITION, GENERATED FROM ALL_CONSTRAINTS"
                                    " WHERE TABLE_NAME = 'EMP' "
                                    "AND CONSTRAINT_TYPE = 'C' ORDER BY 1")),
             (QStringList{"\"EMPNO\" IS NOT NULL|GENERATED NAME", "SAL > 0|GENERATED NAME"}));
    QCOMPARE(rows(s, QStringLiteral("SELECT INDEX_NAME, UNIQUENESS, TABLESPACE_NAME,"
                                    " INITIAL_EXTENT FROM ALL_INDEXES "
                                    "WHERE TABLE_NAME = 'EMP' ORDER BY 1")),
             (QStringList{"EMP_ENAME|NONUNIQUE|INDX|65536", "PK_EMP|UNIQUE|INDX|10240"}));
    QCOMPARE(rows(s, QStringLiteral("SELECT INDEX_NAME, COLUMN_NAME, COLUMN_POSITION,"
                                    " COLUMN_LENGTH FROM ALL_IND_COLUMNS "
                                    "WHERE TABLE_NAME = 'EMP' ORDER BY 1")),
             (QStringList{"EMP_ENAME|ENAME|1|10", "PK_EMP|EMPNO|1|22"}));
    QCOMPARE(rows(s, QStringLiteral("SELECT OBJECT_NAME, OBJECT_TYPE, STATUS FROM ALL_OBJECTS"
                                    " WHERE OWNER = 'SCOTT' ORDER BY OBJECT_TYPE, OBJECT_NAME")),
             (QStringList{"EMP_ENAME|INDEX|VALID", "PK_DEPT|INDEX|VALID", "PK_EMP|INDEX|VALID",
                          "DEPT|TABLE|VALID", "EMP|TABLE|VALID", "BROKEN|VIEW|INVALID",
                          "EMP_V|VIEW|VALID"}));
    QCOMPARE(rows(s, QStringLiteral("SELECT ENAME FROM SCOTT.EMP_V")), QStringList{"CLARK"});
    QCOMPARE(errorOf(s, QStringLiteral("SELECT * FROM SCOTT.BROKEN")),
             QStringLiteral("ORA-04063: view \"SCOTT\".\"BROKEN\" has errors"));
    // Dropping takes the dictionary rows along.
    exec(s, QStringLiteral("DROP INDEX SCOTT.EMP_ENAME"));
    exec(s, QStringLiteral("DROP VIEW SCOTT.EMP_V"));
    QCOMPARE(
        rows(s,
             QStringLiteral(
                 "SELECT COUNT(*) FROM ALL_OBJECTS WHERE OBJECT_NAME IN ('EMP_ENAME', 'EMP_V')")),
        QStringList{"0"});
    QCOMPARE(errorOf(s, QStringLiteral("CREATE TABLE SCOTT.EMP (X NUMBER)")),
             QStringLiteral("ORA-00955: name is already used by an existing object"));
}

void TestEngine::constraintErrors()
{
    schema();
    db::Session& s = *m_sys;
    QCOMPARE(errorOf(s, QStringLiteral("INSERT INTO SCOTT.EMP (EMPNO) VALUES (7369)")),
             QStringLiteral("ORA-00001: unique constraint (SCOTT.PK_EMP) violated"));
    QCOMPARE(errorOf(s, QStringLiteral("INSERT INTO SCOTT.EMP (ENAME) VALUES ('X')")),
             QStringLiteral("ORA-01400: cannot insert NULL into (\"SCOTT\".\"EMP\".\"EMPNO\")"));
    QCOMPARE(errorOf(s, QStringLiteral("UPDATE SCOTT.EMP SET EMPNO = '' WHERE EMPNO = 7369")),
             QStringLiteral("ORA-01407: cannot update (\"SCOTT\".\"EMP\".\"EMPNO\") to NULL"));
    QCOMPARE(errorOf(s, QStringLiteral(
                            "INSERT INTO SCOTT.EMP (EMPNO, ENAME) VALUES (1, 'ABCDEFGHIJKL')")),
             QStringLiteral("ORA-12899: value too large for column \"SCOTT\".\"EMP\".\"ENAME\""
                            " (actual: 12, maximum: 10)"));
    QCOMPARE(errorOf(s, QStringLiteral(
                            "INSERT INTO SCOTT.EMP (EMPNO, ENAME) VALUES (1, '가나다라마바')")),
             QStringLiteral("ORA-12899: value too large for column \"SCOTT\".\"EMP\".\"ENAME\""
                            " (actual: 12, maximum: 10)"));
    QCOMPARE(
        errorOf(s,
                QStringLiteral(
                    "INSERT INTO SCOTT.EMP (EMPNO, HIREDATE) VALUES (2, '2003-13-01 00:00:00')")),
        QStringLiteral("ORA-01843: not a valid month"));
    QCOMPARE(errorOf(s, QStringLiteral("INSERT INTO SCOTT.EMP (EMPNO, ENAME) VALUES (1)")),
             QStringLiteral("ORA-00947: not enough values"));
    // A failed statement leaves the rest of the transaction alone.
    exec(s, QStringLiteral("UPDATE SCOTT.EMP SET SAL = SAL + 1 WHERE EMPNO = 7369"));
    QVERIFY(!errorOf(s, QStringLiteral("UPDATE SCOTT.EMP SET EMPNO = 7499 WHERE EMPNO = 7369"))
                 .isEmpty());
    s.commit();
    QCOMPARE(rows(s, QStringLiteral("SELECT SAL FROM SCOTT.EMP WHERE EMPNO = 7369")),
             QStringList{"801"});
}

// CHECK and FOREIGN KEY constraints hold on every INSERT, UPDATE and DELETE, with their delete
// rules; ENABLE checks the rows already there unless told NOVALIDATE.
void TestEngine::constraintsAreEnforced()
{
    db::Session& s = *m_sys;
    for (const char* sql :
         {"CREATE TABLE P (ID NUMBER CONSTRAINT P_PK PRIMARY KEY, NAME VARCHAR2(10))",
          "CREATE TABLE C (ID NUMBER PRIMARY KEY, P_ID NUMBER CONSTRAINT C_P_FK REFERENCES P"
          " ON DELETE CASCADE, QTY NUMBER CONSTRAINT C_QTY_CK CHECK (QTY BETWEEN 1 AND 10))",
          "CREATE TABLE N (ID NUMBER, P_ID NUMBER, CONSTRAINT N_P_FK FOREIGN KEY (P_ID)"
          " REFERENCES P (ID) ON DELETE SET NULL)",
          "CREATE TABLE R (ID NUMBER, P_ID NUMBER CONSTRAINT R_P_FK REFERENCES P)",
          "CREATE TABLE T (A NUMBER, B NUMBER, CONSTRAINT T_AB_CK CHECK (A < B OR B IS NULL))",
          "CREATE TABLE E (ID NUMBER PRIMARY KEY, MGR NUMBER CONSTRAINT E_MGR_FK REFERENCES E"
          " ON DELETE CASCADE)",
          "INSERT INTO P VALUES (1, 'one')", "INSERT INTO P VALUES (2, 'two')",
          "INSERT INTO P VALUES (3, 'three')", "INSERT INTO C VALUES (1, 2, 5)",
          "INSERT INTO C VALUES (2, 2, 6)", "INSERT INTO C VALUES (3, NULL, NULL)",
          "INSERT INTO N VALUES (1, 2)", "INSERT INTO R VALUES (1, 1)",
          "INSERT INTO E VALUES (1, NULL)", "INSERT INTO E VALUES (2, 1)",
          "INSERT INTO E VALUES (3, 2)", "COMMIT"})
        exec(s, QString::fromUtf8(sql));

    const QString check = QStringLiteral("ORA-02290: check constraint (SYS.%1) violated");
    const QString noParent =
        QStringLiteral("ORA-02291: integrity constraint (SYS.%1) violated - parent key not found");
    const QString child =
        QStringLiteral("ORA-02292: integrity constraint (SYS.%1) violated - child record found");
    const QList<QPair<const char*, QString>> refused = {
        {"INSERT INTO C VALUES (9, 99, 5)", noParent.arg("C_P_FK")},
        {"UPDATE C SET P_ID = 7 WHERE ID = 1", noParent.arg("C_P_FK")},
        {"INSERT INTO C VALUES (9, 1, 11)", check.arg("C_QTY_CK")},
        {"UPDATE C SET QTY = 0 WHERE ID = 1", check.arg("C_QTY_CK")},
        {"INSERT INTO T VALUES (2, 1)", check.arg("T_AB_CK")},
        {"DELETE FROM P WHERE ID = 1", child.arg("R_P_FK")},
        {"UPDATE P SET ID = 5 WHERE ID = 1", child.arg("R_P_FK")},
        // the third row fails them all
        {"INSERT INTO C SELECT ID + 10, ID, ID * 4 FROM P", check.arg("C_QTY_CK")},
        {"DROP TABLE P",
         QStringLiteral("ORA-02449: unique/primary keys in table referenced by foreign keys")},
        {"TRUNCATE TABLE P",
         QStringLiteral(
             "ORA-02266: unique/primary keys in table referenced by enabled foreign keys")},
        {"ALTER TABLE R ENABLE CONSTRAINT NOPE",
         QStringLiteral("ORA-02430: cannot enable constraint (NOPE) - no such constraint")},
    };
    for (const auto& [sql, message] : refused)
        QCOMPARE(errorOf(s, QString::fromUtf8(sql)), message);
    // What passes: NULL keys and NULL checks, a parent key left as it was.
    QCOMPARE(errorOf(s, QStringLiteral("INSERT INTO T VALUES (2, NULL)")), QString());
    QCOMPARE(errorOf(s, QStringLiteral("UPDATE P SET NAME = 'uno' WHERE ID = 1")), QString());
    QCOMPARE(rows(s, QStringLiteral("SELECT COUNT(*) FROM C")), QStringList{"3"});

    // ON DELETE CASCADE and SET NULL, through a chain of rows of one table too.
    exec(s, QStringLiteral("DELETE FROM P WHERE ID = 2"));
    QCOMPARE(rows(s, QStringLiteral("SELECT ID FROM C ORDER BY ID")), QStringList{"3"});
    QCOMPARE(rows(s, QStringLiteral("SELECT ID || ':' || NVL(TO_CHAR(P_ID), 'null') FROM N")),
             QStringList{"1:null"});
    exec(s, QStringLiteral("DELETE FROM E WHERE ID = 1"));
    QCOMPARE(rows(s, QStringLiteral("SELECT COUNT(*) FROM E")), QStringList{"0"});

    // DISABLE lets rows in; ENABLE checks them (NOVALIDATE does not), and the dictionary tells.
    exec(s, QStringLiteral("ALTER TABLE C DISABLE CONSTRAINT C_QTY_CK"));
    exec(s, QStringLiteral("ALTER TABLE R DISABLE CONSTRAINT R_P_FK"));
    const QString states = QStringLiteral("SELECT CONSTRAINT_NAME, STATUS, VALIDATED"
                                          " FROM USER_CONSTRAINTS WHERE TABLE_NAME IN"
                                          " ('C', 'R') AND CONSTRAINT_NAME IN ('C_QTY_CK',"
                                          " 'R_P_FK', 'C_P_FK') ORDER BY 1");
    QCOMPARE(rows(s, states),
             (QStringList{"C_P_FK|ENABLED|VALIDATED", "C_QTY_CK|DISABLED|NOT VALIDATED",
                          "R_P_FK|DISABLED|NOT VALIDATED"}));
    exec(s, QStringLiteral("INSERT INTO C VALUES (4, 1, 50)"));
    exec(s, QStringLiteral("INSERT INTO R VALUES (2, 42)"));
    QCOMPARE(
        errorOf(s, QStringLiteral("ALTER TABLE C ENABLE CONSTRAINT C_QTY_CK")),
        QStringLiteral("ORA-02293: cannot validate (SYS.C_QTY_CK) - check constraint violated"));
    QCOMPARE(errorOf(s, QStringLiteral("ALTER TABLE R ENABLE VALIDATE CONSTRAINT R_P_FK")),
             QStringLiteral("ORA-02298: cannot validate (SYS.R_P_FK) - parent keys not found"));
    exec(s, QStringLiteral("ALTER TABLE C ENABLE NOVALIDATE CONSTRAINT C_QTY_CK"));
    QCOMPARE(errorOf(s, QStringLiteral("INSERT INTO C VALUES (5, 1, 50)")), check.arg("C_QTY_CK"));
    QCOMPARE(rows(s, states),
             (QStringList{"C_P_FK|ENABLED|VALIDATED", "C_QTY_CK|ENABLED|NOT VALIDATED",
                          "R_P_FK|DISABLED|NOT VALIDATED"}));
    QCOMPARE(
        errorOf(s, QStringLiteral("ALTER TABLE C ADD CONSTRAINT C_ID_CK CHECK (ID < 4)")),
        QStringLiteral("ORA-02293: cannot validate (SYS.C_ID_CK) - check constraint violated"));

    // CASCADE CONSTRAINTS drops the foreign keys that point at a dropped table.
    exec(s, QStringLiteral("DROP TABLE P CASCADE CONSTRAINTS"));
    QCOMPARE(rows(s, QStringLiteral("SELECT COUNT(*) FROM USER_CONSTRAINTS"
                                    " WHERE CONSTRAINT_TYPE = 'R' AND TABLE_NAME <> 'E'")),
             QStringList{"0"});
    QCOMPARE(errorOf(s, QStringLiteral("INSERT INTO C VALUES (6, 77, 1)")), QString());
}

// A key is switched off or dropped with the foreign keys that rely on it only when CASCADE says
// so; every other kind of object is dropped by its own kind, each with its error when missing.
void TestEngine::keysAndObjectsAreSwitchedOffAndDropped()
{
    db::Session& s = *m_sys;
    for (const char* sql : {
             "CREATE TABLE P (ID NUMBER CONSTRAINT P_PK PRIMARY KEY)",
             "CREATE TABLE C (ID NUMBER, P_ID NUMBER CONSTRAINT C_P_FK REFERENCES P)",
             "ALTER TABLE C ADD (QTY NUMBER DEFAULT 1 NOT NULL, NOTE VARCHAR2(5))",
             "ALTER TABLE C ADD CONSTRAINT C_PK PRIMARY KEY (ID)",
             "INSERT INTO P VALUES (1)", "INSERT INTO C (ID, P_ID, QTY) VALUES (1, 1, 1)",
             "CREATE SEQUENCE S", "CREATE SYNONYM SY FOR P", "CREATE PUBLIC SYNONYM PS FOR P",
             "CREATE TRIGGER TR BEFORE INSERT ON C FOR EACH ROW BEGIN NULL; END;", "COMMIT"})
        exec(s, QString::fromUtf8(sql));
    QCOMPARE(rows(s, QStringLiteral("SELECT COLUMN_NAME || ':' || NULLABLE FROM USER_TAB_COLUMNS"
                                    " WHERE TABLE_NAME = 'C' ORDER BY COLUMN_ID")),
             (QStringList{"ID:N", "P_ID:Y", "QTY:N", "NOTE:Y"}));

    const QList<QPair<const char*, const char*>> refused = {
        {"ALTER TABLE P DISABLE PRIMARY KEY",
         "ORA-02297: cannot disable constraint (SYS.P_PK) - dependencies exist"},
        {"ALTER TABLE P DROP PRIMARY KEY",
         "ORA-02273: this unique/primary key is referenced by some foreign keys"},
        {"ALTER TABLE P DROP CONSTRAINT NOPE",
         "ORA-02443: Cannot drop constraint  - nonexistent constraint"},
        {"ALTER TABLE P DISABLE CONSTRAINT NOPE",
         "ORA-02431: cannot disable constraint (NOPE) - no such constraint"},
        {"DROP INDEX P_PK",
         "ORA-02429: cannot drop index used for enforcement of unique/primary key"},
        {"DROP INDEX NOPE", "ORA-01418: specified index does not exist"},
        {"DROP VIEW P", "ORA-00942: table or view does not exist"},
        {"DROP PUBLIC SYNONYM NOPE", "ORA-01432: public synonym to be dropped does not exist"},
        {"DROP SYNONYM PS", "ORA-01434: private synonym to be dropped does not exist"},
        {"DROP SEQUENCE SY", "ORA-02289: sequence does not exist"},
        {"DROP TRIGGER NOPE", "ORA-04080: trigger 'NOPE' does not exist"},
        {"DROP CLUSTER S", "ORA-00950: invalid DROP option"},
    };
    for (const auto& [sql, message] : refused)
        QCOMPARE(errorOf(s, QString::fromUtf8(sql)), QString::fromUtf8(message));

    const QString states = QStringLiteral(
        "SELECT CONSTRAINT_NAME || ':' || STATUS FROM USER_CONSTRAINTS WHERE"
        " TABLE_NAME IN ('P', 'C') AND CONSTRAINT_TYPE IN ('P', 'R') ORDER BY 1");
    exec(s, QStringLiteral("ALTER TABLE P DISABLE PRIMARY KEY CASCADE"));
    QCOMPARE(rows(s, states), (QStringList{"C_PK:ENABLED", "C_P_FK:DISABLED", "P_PK:DISABLED"}));
    exec(s, QStringLiteral("INSERT INTO C (ID, P_ID) VALUES (2, 99)"));
    exec(s, QStringLiteral("ALTER TABLE P ENABLE PRIMARY KEY"));
    exec(s, QStringLiteral("ALTER TABLE P DROP PRIMARY KEY CASCADE"));
    QCOMPARE(rows(s, states), QStringList{"C_PK:ENABLED"});
    QCOMPARE(rows(s, QStringLiteral("SELECT COUNT(*) FROM USER_INDEXES WHERE INDEX_NAME = 'P_PK'")),
             QStringList{"0"});

    exec(s, QStringLiteral("ALTER TRIGGER TR DISABLE"));
    QCOMPARE(rows(s, QStringLiteral("SELECT STATUS FROM USER_TRIGGERS WHERE TRIGGER_NAME = 'TR'")),
             QStringList{"DISABLED"});
    for (const char* sql :
         {"DROP TRIGGER TR", "DROP SEQUENCE S", "DROP SYNONYM SY", "DROP PUBLIC SYNONYM PS"})
        exec(s, QString::fromUtf8(sql));
    QCOMPARE(
        rows(s,
             QStringLiteral(
                 "SELECT COUNT(*) FROM ALL_OBJECTS WHERE OBJECT_NAME IN ('TR', 'S', 'SY', 'PS')")),
        QStringList{"0"});
}

// Oracle's own install scripts run as they are written: unique indexes the keys then take over,
// keys and foreign keys added in one ALTER, an index-organized table, a key switched off while
// rows go in.
void TestEngine::sampleSchemaInstallRuns()
{
    QFile file(
        QDir(qEnvironmentVariable("KOLMARA_TEST_DATA")).filePath(QStringLiteral("hr_install.sql")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList parts =
        QString::fromUtf8(file.readAll()).split(QStringLiteral("-- CONNECT hr/hr"));
    QCOMPARE(parts.size(), 2);
    EngineFixture demo(demoScriptFolder());
    auto system = demo.connect(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
    for (const QString& statement : sql::splitSeedScript(parts[0]))
        QVERIFY2(errorOf(*system, statement).isEmpty(),
                 qPrintable(errorOf(*system, statement) + QLatin1Char(' ') + statement));
    auto hr = demo.connect(QStringLiteral("HR"), QStringLiteral("HR"));
    for (const QString& statement : sql::splitSeedScript(parts[1])) {
        const QString error = errorOf(*hr, statement);
        QVERIFY2(error.isEmpty(), qPrintable(error + QLatin1Char(' ') + statement.left(200)));
    }
    db::Session& s = *hr;
    QCOMPARE(rows(s, QStringLiteral("SELECT (SELECT COUNT(*) FROM regions) || ' '"
                                    " || (SELECT COUNT(*) FROM countries) || ' ' ||"
                                    " (SELECT COUNT(*) FROM locations) || ' ' || (SELECT COUNT(*)"
                                    " FROM departments) || ' ' || (SELECT COUNT(*) FROM jobs)"
                                    " || ' ' || (SELECT COUNT(*) FROM employees) || ' ' ||"
                                    " (SELECT COUNT(*) FROM job_history) FROM DUAL")),
             QStringList{"4 25 23 27 19 107 10"});
    QCOMPARE(rows(s, QStringLiteral("SELECT SUM(salary), COUNT(commission_pct) FROM employees")),
             QStringList{"691400|35"});
    QCOMPARE(rows(s, QStringLiteral("SELECT COUNT(*) FROM emp_details_view")), QStringList{"106"});
    QCOMPARE(
        rows(s, QStringLiteral(
                    "SELECT table_name, iot_type FROM user_tables WHERE iot_type IS NOT NULL")),
        QStringList{"COUNTRIES|IOT"});
    QCOMPARE(
        rows(s, QStringLiteral(
                    "SELECT index_type FROM user_indexes WHERE index_name = 'COUNTRY_C_ID_PK'")),
        QStringList{"IOT - TOP"});
    QCOMPARE(rows(s, QStringLiteral("SELECT COUNT(*) FROM user_indexes")), QStringList{"19"});
    QCOMPARE(rows(s, QStringLiteral("SELECT constraint_type, COUNT(*) FROM user_constraints"
                                    " WHERE constraint_type IN ('P', 'R', 'U')"
                                    " GROUP BY constraint_type ORDER BY 1")),
             (QStringList{"P|7", "R|10", "U|1"}));
    QCOMPARE(rows(s, QStringLiteral("SELECT index_name, status FROM user_constraints"
                                    " WHERE constraint_name IN ('EMP_EMP_ID_PK', 'DEPT_MGR_FK')"
                                    " ORDER BY 1")),
             (QStringList{"EMP_EMP_ID_PK|ENABLED", "|ENABLED"}));
    QCOMPARE(errorOf(s, QStringLiteral("UPDATE employees SET salary = 0 WHERE employee_id = 100")),
             QStringLiteral("ORA-02290: check constraint (HR.EMP_SALARY_MIN) violated"));
    QCOMPARE(
        errorOf(s, QStringLiteral("UPDATE employees SET manager_id = 99 WHERE employee_id = 101")),
        QStringLiteral("ORA-02291: integrity constraint (HR.EMP_MANAGER_FK) violated - parent"
                       " key not found"));
    QCOMPARE(errorOf(s, QStringLiteral("DELETE FROM jobs WHERE job_id = 'AD_PRES'")),
             QStringLiteral("ORA-02292: integrity constraint (HR.EMP_JOB_FK) violated - child"
                            " record found"));
}

void TestEngine::privilegesAndSynonyms()
{
    schema();
    db::Session& s = *m_sys;
    exec(s, QStringLiteral("CREATE USER CLERK IDENTIFIED BY CLERK"));
    exec(s, QStringLiteral("GRANT CONNECT TO CLERK"));
    exec(s, QStringLiteral("CREATE ROLE EMP_READ"));
    exec(s, QStringLiteral("GRANT SELECT ON SCOTT.DEPT TO PUBLIC"));
    exec(s, QStringLiteral("CREATE SYNONYM CLERK.STAFF FOR SCOTT.EMP"));
    exec(s, QStringLiteral("CREATE PUBLIC SYNONYM DEPT FOR SCOTT.DEPT"));
    auto clerk = m_fixture->connect(QStringLiteral("clerk"), QStringLiteral("clerk"));
    const QString missing = QStringLiteral("ORA-00942: table or view does not exist");
    QCOMPARE(errorOf(*clerk, QStringLiteral("SELECT * FROM STAFF")), missing);
    QCOMPARE(errorOf(*clerk, QStringLiteral("SELECT * FROM DBA_USERS")), missing);
    QCOMPARE(rows(*clerk, QStringLiteral("SELECT COUNT(*) FROM DEPT")), QStringList{"3"});
    QCOMPARE(errorOf(*clerk, QStringLiteral("DELETE FROM DEPT")),
             QStringLiteral("ORA-01031: insufficient privileges"));
    QCOMPARE(
        rows(*clerk, QStringLiteral("SELECT TABLE_NAME FROM ALL_TABLES WHERE OWNER = 'SCOTT'")),
        QStringList{"DEPT"});
    // A grant through a role, seen on the next statement.
    exec(s, QStringLiteral("GRANT SELECT ON SCOTT.EMP TO EMP_READ"));
    exec(s, QStringLiteral("GRANT EMP_READ TO CLERK"));
    QCOMPARE(rows(*clerk, QStringLiteral("SELECT COUNT(*) FROM STAFF")), QStringList{"4"});
    exec(s, QStringLiteral("GRANT SELECT_CATALOG_ROLE TO CLERK"));
    QCOMPARE(
        rows(*clerk, QStringLiteral("SELECT USERNAME FROM DBA_USERS WHERE USERNAME = 'CLERK'")),
        QStringList{"CLERK"});
    // The own object comes before the public synonym of the same name.
    exec(*clerk, QStringLiteral("CREATE TABLE DEPT (X NUMBER)"));
    QCOMPARE(rows(*clerk, QStringLiteral("SELECT COUNT(*) FROM DEPT")), QStringList{"0"});
}

void TestEngine::logonErrors()
{
    schema();
    exec(*m_sys, QStringLiteral("ALTER USER SCOTT ACCOUNT LOCK"));
    auto logonError = [&](const QString& user, const QString& password) {
        try {
            m_fixture->connect(user, password);
        } catch (const db::DatabaseError& e) {
            return e.message();
        }
        return QString();
    };
    QCOMPARE(logonError(QStringLiteral("SYS"), QStringLiteral("wrong")),
             QStringLiteral("ORA-01017: invalid username/password; logon denied"));
    QCOMPARE(logonError(QStringLiteral("NOBODY"), QStringLiteral("x")),
             QStringLiteral("ORA-01017: invalid username/password; logon denied"));
    QCOMPARE(logonError(QStringLiteral("SCOTT"), QStringLiteral("TIGER")),
             QStringLiteral("ORA-28000: the account is locked"));
    QCOMPARE(rows(*m_sys,
                  QStringLiteral("SELECT ACCOUNT_STATUS FROM DBA_USERS WHERE USERNAME = 'SCOTT'")),
             QStringList{"LOCKED"});
    exec(*m_sys, QStringLiteral("ALTER USER SCOTT ACCOUNT UNLOCK"));
    QCOMPARE(logonError(QStringLiteral("scott"), QStringLiteral("tiger")), QString());
}

void TestEngine::transactionsAndTwoSessions()
{
    schema();
    auto scott = m_fixture->connect(QStringLiteral("SCOTT"), QStringLiteral("TIGER"));
    scott->startTransaction();
    exec(*scott, QStringLiteral("UPDATE EMP SET SAL = 1 WHERE EMPNO = 7369"));
    QCOMPARE(rows(*scott, QStringLiteral("SELECT SAL FROM EMP WHERE EMPNO = 7369")),
             QStringList{"1"});
    // The other session reads the committed value until the commit.
    QCOMPARE(rows(*m_sys, QStringLiteral("SELECT SAL FROM SCOTT.EMP WHERE EMPNO = 7369")),
             QStringList{"800"});
    scott->rollback();
    QCOMPARE(rows(*scott, QStringLiteral("SELECT SAL FROM EMP WHERE EMPNO = 7369")),
             QStringList{"800"});
    exec(*scott, QStringLiteral("UPDATE EMP SET SAL = 2 WHERE EMPNO = 7369"));
    scott->commit();
    QCOMPARE(rows(*m_sys, QStringLiteral("SELECT SAL FROM SCOTT.EMP WHERE EMPNO = 7369")),
             QStringList{"2"});
    // DDL commits what came before it; a disconnect commits too.
    exec(*scott, QStringLiteral("UPDATE EMP SET SAL = 3 WHERE EMPNO = 7369"));
    scott->disconnect();
    QCOMPARE(rows(*m_sys, QStringLiteral("SELECT SAL FROM SCOTT.EMP WHERE EMPNO = 7369")),
             QStringList{"3"});
}

void TestEngine::killSession()
{
    reseed(
        QStringLiteral("CREATE FIXED VIEW SYS.V_$SESSION (SADDR VARCHAR2(8), SID NUMBER,"
                       " SERIAL# NUMBER, USERNAME VARCHAR2(30), STATUS VARCHAR2(8),"
                       " PROGRAM VARCHAR2(48), LOGON_TIME DATE);\n"
                       "CREATE PUBLIC SYNONYM V$SESSION FOR SYS.V_$SESSION;\n"
                       "INSERT INTO V$SESSION (SID, SERIAL#, STATUS) VALUES (1, 1, 'ACTIVE');\n"));
    schema();
    auto admin = m_fixture->connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"));
    auto scott = m_fixture->connect(QStringLiteral("SCOTT"), QStringLiteral("TIGER"));
    const QStringList sessions = rows(
        *admin, QStringLiteral(
                    "SELECT SID, SERIAL#, USERNAME, STATUS, PROGRAM FROM V$SESSION ORDER BY SID"));
    QCOMPARE(sessions.size(), 4);
    QVERIFY(sessions[1].endsWith(QStringLiteral("|SYS|INACTIVE|kolmara")));  // m_sys
    // the session that asks is active
    QVERIFY(sessions[2].endsWith(QStringLiteral("|SYS|ACTIVE|kolmara")));
    QVERIFY(sessions[3].endsWith(QStringLiteral("|SCOTT|INACTIVE|kolmara")));
    const QStringList own = sessions[2].split(QLatin1Char('|'));
    const QStringList victim = sessions[3].split(QLatin1Char('|'));
    // Only the engine writes a fixed view; who may not read it does not learn that it exists.
    const QString readOnly = QStringLiteral("ORA-02030: can only select from fixed tables/views");
    QCOMPARE(errorOf(*admin, QStringLiteral("INSERT INTO V$SESSION (SID) VALUES (99)")), readOnly);
    QCOMPARE(errorOf(*admin, QStringLiteral("UPDATE SYS.V_$SESSION SET STATUS = 'KILLED'")),
             readOnly);
    QCOMPARE(errorOf(*scott, QStringLiteral("DELETE FROM V$SESSION")),
             QStringLiteral("ORA-00942: table or view does not exist"));
    exec(*m_sys, QStringLiteral("GRANT SELECT ON SYS.V_$SESSION TO SCOTT"));
    QCOMPARE(errorOf(*scott, QStringLiteral("DELETE FROM V$SESSION WHERE SID = 1")), readOnly);
    QCOMPARE(
        errorOf(*admin, QStringLiteral("ALTER SYSTEM KILL SESSION '%1,%2'").arg(own[0], own[1])),
        QStringLiteral("ORA-00027: cannot kill current session"));
    QCOMPARE(errorOf(*scott, QStringLiteral("ALTER SYSTEM KILL SESSION '1,1'")),
             QStringLiteral("ORA-01031: insufficient privileges"));
    // the same text as after the kill
    QCOMPARE(rows(*scott, QStringLiteral("SELECT 1 FROM DUAL")), QStringList{"1"});
    db::Statement kill(admin.get());
    kill.addSql(QStringLiteral("ALTER SYSTEM KILL SESSION '%1,%2'").arg(victim[0], victim[1]));
    kill.addSql(QString());
    kill.execute();
    QCOMPARE(rows(*admin, QStringLiteral("SELECT COUNT(*) FROM V$SESSION")), QStringList{"3"});
    QCOMPARE(errorOf(*scott, QStringLiteral("SELECT 1 FROM DUAL")),
             QStringLiteral("ORA-00028: your session has been killed"));
    QCOMPARE(errorOf(*admin,
                     QStringLiteral("ALTER SYSTEM KILL SESSION '%1,%2'").arg(victim[0], victim[1])),
             QStringLiteral("ORA-00030: User session ID does not exist."));
    // A disconnect removes the row.
    admin->disconnect();
    QCOMPARE(rows(*m_sys, QStringLiteral("SELECT COUNT(*) FROM V$SESSION")), QStringList{"2"});
}

// USERENV('SESSIONID') is V$SESSION.AUDSID, so a tool finds its own row; SYS_CONTEXT tells the
// rest.
void TestEngine::sessionFindsItsOwnRow()
{
    reseed(QStringLiteral("CREATE FIXED VIEW SYS.V_$SESSION (SID NUMBER, SERIAL# NUMBER,"
                          " AUDSID NUMBER, USERNAME VARCHAR2(30), STATUS VARCHAR2(8),"
                          " MACHINE VARCHAR2(64), TERMINAL VARCHAR2(16));\n"
                          "CREATE PUBLIC SYNONYM V$SESSION FOR SYS.V_$SESSION;\n"
                          "INSERT INTO V$SESSION (SID, SERIAL#, AUDSID, STATUS) VALUES (1, 1, 0,"
                          " 'ACTIVE');\n"
                          "CREATE FIXED VIEW SYS.V_$PARAMETER (NAME VARCHAR2(64),"
                          " VALUE VARCHAR2(512));\n"
                          "INSERT INTO SYS.V_$PARAMETER VALUES ('db_name', 'KOLM');\n"));
    schema();
    auto scott = m_fixture->connect(QStringLiteral("SCOTT"), QStringLiteral("TIGER"));
    const QString own =
        QStringLiteral("SELECT SID, USERNAME FROM V$SESSION WHERE AUDSID = USERENV('SESSIONID')");
    const QStringList sys = rows(*m_sys, own);
    QCOMPARE(sys.size(), 1);
    QVERIFY(sys[0].endsWith(QStringLiteral("|SYS")));
    exec(*m_sys, QStringLiteral("GRANT SELECT ON SYS.V_$SESSION TO SCOTT"));
    const QStringList mine = rows(*scott, own);
    QCOMPARE(mine.size(), 1);
    QVERIFY(mine[0].endsWith(QStringLiteral("|SCOTT")));
    QVERIFY(mine[0] != sys[0]);
    QCOMPARE(rows(*scott,
                  QStringLiteral("SELECT SYS_CONTEXT('USERENV', 'SID') || '|' || USER FROM DUAL")),
             mine);
    QCOMPARE(rows(*scott, QStringLiteral("SELECT COUNT(*) FROM V$SESSION"
                                         " WHERE AUDSID = SYS_CONTEXT('USERENV', 'SESSIONID')"
                                         " AND MACHINE = SYS_CONTEXT('userenv', 'HOST')"
                                         " AND TERMINAL = USERENV('TERMINAL')")),
             QStringList{"1"});
    QCOMPARE(rows(*scott, QStringLiteral("SELECT SYS_CONTEXT('USERENV', 'SESSION_USER'),"
                                         " SYS_CONTEXT('USERENV', 'CURRENT_SCHEMA'),"
                                         " SYS_CONTEXT('USERENV', 'DB_NAME'),"
                                         " SYS_CONTEXT('USERENV', 'DB_NAME', 2),"
                                         " SYS_CONTEXT('NO_SUCH_CONTEXT', 'X') FROM DUAL")),
             QStringList{"SCOTT|SCOTT|KOLM|KO|"});
}

void TestEngine::rollbackSegmentShrink()
{
    reseed(QStringLiteral("CREATE FIXED VIEW SYS.DBA_ROLLBACK_SEGS (SEGMENT_NAME VARCHAR2(30),"
                          " STATUS VARCHAR2(16));\n"
                          "INSERT INTO SYS.DBA_ROLLBACK_SEGS VALUES ('RBS0', 'ONLINE');\n"
                          "INSERT INTO SYS.DBA_ROLLBACK_SEGS VALUES ('RBS2', 'OFFLINE');\n"));
    QCOMPARE(errorOf(*m_sys, QStringLiteral("ALTER ROLLBACK SEGMENT RBS0 SHRINK")), QString());
    QCOMPARE(errorOf(*m_sys, QStringLiteral("ALTER ROLLBACK SEGMENT RBS1 SHRINK")),
             QStringLiteral("ORA-01534: rollback segment 'RBS1' doesn't exist"));
    // An offline segment cannot be shrunk, with or without a target size, until it is brought
    // online again; taking RBS0 offline makes it refuse as well.
    const QString notOnline = QStringLiteral("ORA-01598: rollback segment 'RBS2' is not online");
    QCOMPARE(errorOf(*m_sys, QStringLiteral("ALTER ROLLBACK SEGMENT RBS2 SHRINK")), notOnline);
    QCOMPARE(errorOf(*m_sys, QStringLiteral("ALTER ROLLBACK SEGMENT RBS2 SHRINK TO 1M")),
             notOnline);
    QCOMPARE(errorOf(*m_sys, QStringLiteral("ALTER ROLLBACK SEGMENT RBS2 ONLINE")), QString());
    QCOMPARE(errorOf(*m_sys, QStringLiteral("ALTER ROLLBACK SEGMENT RBS2 SHRINK")), QString());
    QCOMPARE(errorOf(*m_sys, QStringLiteral("ALTER ROLLBACK SEGMENT RBS0 OFFLINE")), QString());
    QCOMPARE(errorOf(*m_sys, QStringLiteral("ALTER ROLLBACK SEGMENT RBS0 SHRINK")),
             QStringLiteral("ORA-01598: rollback segment 'RBS0' is not online"));
}

void TestEngine::sequences()
{
    exec(*m_sys, QStringLiteral("CREATE SEQUENCE S1 START WITH 10 INCREMENT BY 5"));
    QCOMPARE(errorOf(*m_sys, QStringLiteral("SELECT S1.CURRVAL FROM DUAL")),
             QStringLiteral("ORA-08002: sequence S1.CURRVAL is not yet defined in this session"));
    QCOMPARE(rows(*m_sys, QStringLiteral("SELECT S1.NEXTVAL, S1.NEXTVAL FROM DUAL")),
             QStringList{"10|10"});
    QCOMPARE(rows(*m_sys, QStringLiteral("SELECT S1.NEXTVAL, S1.CURRVAL FROM DUAL")),
             QStringList{"15|15"});
    QCOMPARE(rows(*m_sys, QStringLiteral("SELECT MIN_VALUE, MAX_VALUE, INCREMENT_BY, CACHE_SIZE,"
                                         " LAST_NUMBER FROM USER_SEQUENCES")),
             QStringList{"1|999999999999999999999999999|5|20|110"});
}

// Seed scripts insert their rows by a faster road (literals as parameters of one prepared
// statement per table); what they store and the errors they raise must not differ from a session's.
// Stored program units and database links are listed in the dictionary; a script runs a unit's
// text, semicolons and all, up to the line holding only "/".
void TestEngine::storedProgramUnitsAndDatabaseLinks()
{
    schema();
    db::Session& s = *m_sys;
    const QStringList statements = sql::splitSeedScript(QStringLiteral(
        "CREATE OR REPLACE PACKAGE SCOTT.PKG_PAY AS\n  PROCEDURE RAISE_SAL (P_EMPNO IN NUMBER);\n"
        "END PKG_PAY;\n/\n"
        "CREATE PACKAGE BODY SCOTT.PKG_PAY AS\n  PROCEDURE RAISE_SAL (P_EMPNO IN NUMBER) IS\n"
        "  BEGIN\n    NULL;\n  END;\nEND PKG_PAY;\n/\n"
        "CREATE PACKAGE BODY SCOTT.PKG_OLD AS\nEND PKG_OLD;\n/\n"
        "CREATE FUNCTION SCOTT.FN_GRADE (P_SAL IN NUMBER) RETURN NUMBER IS\nBEGIN\n  RETURN 1;\n"
        "END;\n/\n"
        "CREATE PROCEDURE SCOTT.SP_CLOSE IS\nBEGIN\n  NULL;\nEND;\n/\n"
        "CREATE PUBLIC DATABASE LINK KOLMPRD.WORLD USING 'KOLMPRD';\n"));
    QCOMPARE(statements.size(), 6);
    QVERIFY(statements[0].endsWith(QStringLiteral("END PKG_PAY;")));
    for (const QString& sql : statements)
        exec(s, sql);
    auto scott = m_fixture->connect(QStringLiteral("SCOTT"), QStringLiteral("TIGER"));
    exec(*scott, QStringLiteral("CREATE DATABASE LINK HQ.TGH.CO.KR CONNECT TO SCOTT IDENTIFIED BY"
                                " TIGER USING 'HQ'"));
    // A link has a namespace of its own: a table of the same name is still free.
    exec(*scott, QStringLiteral("CREATE DATABASE LINK DEPT USING 'HQ'"));

    QCOMPARE(
        rows(s, QStringLiteral("SELECT OWNER, OBJECT_NAME, OBJECT_TYPE, STATUS"
                               " FROM ALL_OBJECTS WHERE OBJECT_TYPE NOT IN ('TABLE', 'INDEX',"
                               " 'VIEW', 'SYNONYM')"
                               " AND OWNER IN ('SCOTT', 'PUBLIC') ORDER BY 3, 2")),
        (QStringList{"SCOTT|DEPT|DATABASE LINK|VALID", "SCOTT|HQ.TGH.CO.KR|DATABASE LINK|VALID",
                     "PUBLIC|KOLMPRD.WORLD|DATABASE LINK|VALID", "SCOTT|FN_GRADE|FUNCTION|VALID",
                     "SCOTT|PKG_PAY|PACKAGE|VALID", "SCOTT|PKG_OLD|PACKAGE BODY|INVALID",
                     "SCOTT|PKG_PAY|PACKAGE BODY|VALID", "SCOTT|SP_CLOSE|PROCEDURE|VALID"}));

    QCOMPARE(errorOf(s, QStringLiteral("CREATE PROCEDURE SCOTT.SP_CLOSE IS BEGIN NULL; END;")),
             QStringLiteral("ORA-00955: name is already used by an existing object"));
    QCOMPARE(errorOf(s, QStringLiteral(
                            "CREATE FUNCTION SCOTT.EMP RETURN NUMBER IS BEGIN RETURN 1; END;")),
             QStringLiteral("ORA-00955: name is already used by an existing object"));
    QCOMPARE(errorOf(*scott, QStringLiteral("CREATE DATABASE LINK HQ.TGH.CO.KR USING 'HQ'")),
             QStringLiteral("ORA-02011: duplicate database link name"));
    QCOMPARE(errorOf(*scott, QStringLiteral("CREATE PUBLIC DATABASE LINK HQ2 USING 'HQ'")),
             QStringLiteral("ORA-01031: insufficient privileges"));
    // Replacing keeps the unit and its creation time.
    exec(s, QStringLiteral("CREATE OR REPLACE PROCEDURE SCOTT.SP_CLOSE IS BEGIN NULL; END;"));
    QCOMPARE(
        rows(s, QStringLiteral("SELECT COUNT(*) FROM ALL_OBJECTS WHERE OBJECT_NAME = 'SP_CLOSE'")),
        QStringList{"1"});
}

void TestEngine::seedScriptStoresLiteralsAsStatementsDo()
{
    const QStringList inserts = {
        QStringLiteral("INSERT INTO SYS.%1 VALUES (12345678901234567890123456789.123456789,"
                       " 123.456, 'a', '2003-05-14 10:00:00')"),
        QStringLiteral("INSERT INTO SYS.%1 VALUES (-7, -.5, '', NULL)"),
        QStringLiteral("INSERT INTO SYS.%1 (S, N) VALUES ('한글 it''s', 123456789012345678)"),
        QStringLiteral("INSERT INTO SYS.%1 VALUES (0.1, 1e2, NULL, '2003-05-14 23:59:59')"),
        QStringLiteral("INSERT INTO SYS.%1 VALUES (-12345678901234567890123456789, 1, 'b',"
                       " TO_DATE('20030514', 'YYYYMMDD'))")};
    const QString table =
        QStringLiteral("CREATE TABLE SYS.%1 (N NUMBER, P NUMBER(5,2), S VARCHAR2(20), D DATE)");
    QTemporaryDir scripts;
    QFile script(scripts.filePath(QStringLiteral("01_values.sql")));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write((table.arg(QStringLiteral("SEEDED")) + QStringLiteral(";\n")).toUtf8());
    for (const QString& insert : inserts)
        script.write((insert.arg(QStringLiteral("SEEDED")) + QStringLiteral(";\n")).toUtf8());
    script.close();
    EngineFixture seeded(scripts.path());
    auto sys = seeded.connect(QStringLiteral("SYS"), QStringLiteral("change_on_install"));
    exec(*sys, table.arg(QStringLiteral("TYPED")));
    for (const QString& insert : inserts)
        exec(*sys, insert.arg(QStringLiteral("TYPED")));
    const QString select =
        QStringLiteral("SELECT N, TO_CHAR(N), P, S, D, N + 1, P * 2 FROM SYS.%1 ORDER BY N");
    const QStringList typed = rows(*sys, select.arg(QStringLiteral("TYPED")));
    QCOMPARE(typed.size(), inserts.size());
    QCOMPARE(rows(*sys, select.arg(QStringLiteral("SEEDED"))), typed);
    sys.reset();

    QFile bad(scripts.filePath(QStringLiteral("02_bad.sql")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("INSERT INTO SYS.SEEDED (P) VALUES (1234);\n");
    bad.close();
    EngineFixture failing(scripts.path(), QDateTime(QDate(2003, 5, 16), QTime(9, 0, 0)));
    try {
        failing.connect(QStringLiteral("SYS"), QStringLiteral("change_on_install"));
        QFAIL("a failing seed script must fail the logon");
    } catch (const db::DatabaseError& e) {
        QCOMPARE(e.message(),
                 QStringLiteral(
                     "ORA-01438: value larger than specified precision allowed for this column"
                     " [INSERT INTO SYS.SEEDED (P) VALUES (1234)]"));
    }
}

// A query's rows come from its statement one fetch at a time: an error in a later row arrives with
// that row, other statements may run between fetches, and the query keeps its own SYSDATE.
void TestEngine::queryRowsAreSteppedAsTheyAreFetched()
{
    db::Session& s = *m_sys;
    exec(s, QStringLiteral("CREATE TABLE T (N NUMBER, S VARCHAR2(10))"));
    exec(s, QStringLiteral("CREATE TABLE LOG (N NUMBER)"));
    for (const char* row : {"1, '10'", "2, '20'", "3, 'x'"})
        exec(s, QStringLiteral("INSERT INTO T VALUES (%1)").arg(QString::fromLatin1(row)));
    s.commit();
    const QString select =
        QStringLiteral("SELECT N, TO_NUMBER(S) V, TO_CHAR(SYSDATE, 'HH24:MI:SS') NOW FROM T");

    // Read all at open, the third row's error fails the open.
    QCOMPARE(errorOf(s, select), QStringLiteral("ORA-01722: invalid number"));

    db::Query q(&s);
    q.setForwardOnly(true);
    q.addSql(select);
    q.open();
    QCOMPARE(q.recordCount(), 1);
    QCOMPARE(q.field(1).asText(), QStringLiteral("10"));
    m_fixture->setNow(QDateTime(QDate(2003, 5, 15), QTime(15, 30, 0)));
    exec(s, QStringLiteral("INSERT INTO LOG VALUES (1)"));
    s.commit();
    QCOMPARE(rows(s, QStringLiteral("SELECT TO_CHAR(SYSDATE, 'HH24:MI:SS') FROM DUAL")),
             QStringList{"15:30:00"});
    q.next();
    QCOMPARE(q.field(0).asText(), QStringLiteral("2"));
    QCOMPARE(q.field(2).asText(), QStringLiteral("14:00:00"));
    try {
        q.next();
        QFAIL("the third row has no number");
    } catch (const db::DatabaseError& e) {
        QCOMPARE(e.message(), QStringLiteral("ORA-01722: invalid number"));
    }
    QCOMPARE(rows(s, QStringLiteral("SELECT COUNT(*) FROM LOG")), QStringList{"1"});

    // A query still open when its session logs off cannot read on.
    auto other = m_fixture->connect(QStringLiteral("SYS"), QStringLiteral("change_on_install"));
    db::Query open(other.get());
    open.setForwardOnly(true);
    open.addSql(QStringLiteral("SELECT N FROM T"));
    open.open();
    other->disconnect();
    QVERIFY_THROWS_EXCEPTION(db::DatabaseError, open.next());
}

// A statement run again reuses what its first run prepared, and still sees every change made
// since: rows its own session or another wrote, a table another session created or changed, a
// synonym another session pointed elsewhere; and two reads of one text can be open at once.
void TestEngine::repeatedStatementsSeeEveryChange()
{
    schema();
    auto scott = m_fixture->connect(QStringLiteral("SCOTT"), QStringLiteral("TIGER"));
    const QString count = QStringLiteral("SELECT COUNT(*) FROM EMP WHERE ENAME LIKE :N");
    const QString tables = QStringLiteral("SELECT COUNT(*) FROM USER_TABLES");
    const QString dept = QStringLiteral("SELECT * FROM DEPT WHERE DEPTNO = 10");
    QCOMPARE(rows(*scott, count, {{QStringLiteral("N"), QStringLiteral("%")}}), QStringList{"3"});
    QCOMPARE(rows(*scott, count, {{QStringLiteral("N"), QStringLiteral("S%")}}), QStringList{"1"});
    QCOMPARE(rows(*scott, tables), QStringList{"2"});
    QCOMPARE(rows(*scott, dept), QStringList{"10|ACCOUNTING|NEW YORK"});

    exec(*scott, QStringLiteral("INSERT INTO EMP (EMPNO, ENAME) VALUES (9001, 'OWN')"));
    QCOMPARE(rows(*scott, count, {{QStringLiteral("N"), QStringLiteral("%")}}), QStringList{"4"});
    scott->rollback();
    QCOMPARE(rows(*scott, count, {{QStringLiteral("N"), QStringLiteral("%")}}), QStringList{"3"});
    exec(*m_sys, QStringLiteral("INSERT INTO SCOTT.EMP (EMPNO, ENAME) VALUES (9002, 'OTHER')"));
    m_sys->commit();
    QCOMPARE(rows(*scott, count, {{QStringLiteral("N"), QStringLiteral("%")}}), QStringList{"4"});

    exec(*m_sys, QStringLiteral("CREATE TABLE SCOTT.BONUS (ENAME VARCHAR2(10), SAL NUMBER)"));
    QCOMPARE(rows(*scott, tables), QStringList{"3"});
    const QString staff = QStringLiteral("SELECT COUNT(*) FROM STAFF");
    exec(*m_sys, QStringLiteral("CREATE SYNONYM SCOTT.STAFF FOR SCOTT.EMP"));
    QCOMPARE(rows(*scott, staff), QStringList{"5"});
    exec(*m_sys, QStringLiteral("DROP SYNONYM SCOTT.STAFF"));
    exec(*m_sys, QStringLiteral("CREATE SYNONYM SCOTT.STAFF FOR SCOTT.DEPT"));
    QCOMPARE(rows(*scott, staff), QStringList{"3"});
    exec(*m_sys, QStringLiteral("ALTER TABLE SCOTT.DEPT ADD (REGION VARCHAR2(10))"));
    exec(*m_sys, QStringLiteral("UPDATE SCOTT.DEPT SET REGION = 'EAST' WHERE DEPTNO = 10"));
    m_sys->commit();
    QCOMPARE(rows(*scott, dept), QStringList{"10|ACCOUNTING|NEW YORK|EAST"});

    const QString list = QStringLiteral("SELECT DEPTNO FROM DEPT ORDER BY DEPTNO");
    db::Query first(scott.get()), second(scott.get());
    for (db::Query* q : {&first, &second}) {
        q->setForwardOnly(true);
        q->addSql(list);
        q->open();
    }
    QStringList both;
    for (; !first.eof(); first.next(), second.next())
        both << first.field(0).asText() + QLatin1Char('/') + second.field(0).asText();
    QCOMPARE(both, (QStringList{"10/10", "20/20", "40/40"}));
    QVERIFY(second.eof());
    first.close();
    second.close();
    QCOMPARE(rows(*scott, list), (QStringList{"10", "20", "40"}));
}

void TestEngine::malformedSqlIsAnOracleError_data()
{
    QTest::addColumn<QString>("sql");
    const char* const statements[] = {
        "SELECT",
        "SELECT FROM DUAL",
        "SELECT * FROM",
        "SELECT 1 FROM DUAL WHERE",
        "SELECT 1 FROM DUAL UNION",
        "SELECT (((1 FROM DUAL",
        "SELECT CASE FROM DUAL",
        "SELECT DECODE(1) FROM DUAL",
        "SELECT 1 FROM DUAL ORDER BY",
        "SELECT * FROM DUAL WHERE 1 IN ()",
        "SELECT @ FROM DUAL",
        "SELECT 1 FROM DUAL@FAR",
        "SELECT ? FROM DUAL",
        "SELECT 1 FROM DUAL WHERE DUMMY = ANY (SELECT 1, 2 FROM DUAL)",
        "INSERT INTO",
        "INSERT INTO DUAL VALUES",
        "UPDATE DUAL SET",
        "DELETE FROM",
        "CREATE TABLE X (",
        "CREATE TABLE X (A NUMBER(",
        "CREATE TABLE X (A BLOBBY)",
        "CREATE VIEW V AS",
        "CREATE",
        "DROP",
        "DROP TABLE",
        "ALTER TABLE",
        "GRANT",
        "GRANT SELECT ON NOPE TO PUBLIC",
        "COMMENT ON TABLE DUAL IS",
        "ALTER SYSTEM KILL SESSION 'x'",
        ";",
        "/",
        "SELECT 1 FROM (SELECT 1 FROM DUAL",
        "SELECT 1 FROM DUAL A, (SELECT) B",
        "SELECT 'a' || FROM DUAL"};
    for (const char* sql : statements)
        QTest::newRow(sql) << QString::fromUtf8(sql);
}

void TestEngine::malformedSqlIsAnOracleError()
{
    QFETCH(QString, sql);
    db::Statement st(m_sys.get());
    st.addSql(sql);
    try {
        st.execute();
        QFAIL("the statement was accepted");
    } catch (const db::DatabaseError& e) {
        QVERIFY2(e.message().startsWith(QStringLiteral("ORA-")), qPrintable(e.message()));
        QVERIFY2(!e.message().contains(QStringLiteral("sqlite"), Qt::CaseInsensitive),
                 qPrintable(e.message()));
    }
}

void TestEngine::currentSchema_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QStringList>("statements");  // all but the last run first
    QTest::addColumn<QString>("expected");        // the last one's rows, or its error

    const QString sys = QStringLiteral("SYS");
    const QString clerk = QStringLiteral("CLERK");
    QTest::newRow("table") << sys << QStringList{"SELECT COUNT(*) FROM EMP"} << "4";
    QTest::newRow("user stays, schema moves")
        << sys
        << QStringList{"SELECT USER || ' ' || SYS_CONTEXT('USERENV', 'CURRENT_SCHEMA') || ' '"
                       " || SYS_CONTEXT('USERENV', 'SESSION_USER') FROM DUAL"}
        << "SYS SCOTT SYS";
    QTest::newRow("sequence") << sys << QStringList{"SELECT EMP_SEQ.NEXTVAL FROM DUAL"} << "1";
    QTest::newRow("private synonym of the schema")
        << sys << QStringList{"SELECT COUNT(*) FROM WORKERS"} << "4";
    QTest::newRow("update") << sys
                            << QStringList{"UPDATE EMP SET SAL = 900 WHERE EMPNO = 7369",
                                           "SELECT SAL FROM SCOTT.EMP WHERE EMPNO = 7369"}
                            << "900";
    QTest::newRow("create lands in the schema")
        << sys
        << QStringList{"CREATE TABLE T1 (X NUMBER)",
                       "SELECT OWNER FROM DBA_TABLES WHERE TABLE_NAME = 'T1'"}
        << "SCOTT";
    QTest::newRow("view body resolves in the schema")
        << sys
        << QStringList{"CREATE VIEW V1 AS SELECT ENAME FROM EMP WHERE EMPNO = 7369",
                       "SELECT ENAME FROM SCOTT.V1"}
        << "SMITH";
    QTest::newRow("qualified names unchanged")
        << sys << QStringList{"SELECT COUNT(*) FROM SYS.DBA_USERS WHERE USERNAME = 'CLERK'"} << "1";
    // Privileges stay the logged-in user's.
    QTest::newRow("no grant, no table") << clerk << QStringList{"SELECT COUNT(*) FROM EMP"}
                                        << "ORA-00942: table or view does not exist";
    QTest::newRow("granted select") << clerk << QStringList{"SELECT COUNT(*) FROM DEPT"} << "3";
    QTest::newRow("select grant does not allow delete")
        << clerk << QStringList{"DELETE FROM DEPT"} << "ORA-01031: insufficient privileges";
    QTest::newRow("no create in another schema")
        << clerk << QStringList{"CREATE TABLE T2 (X NUMBER)"}
        << "ORA-01031: insufficient privileges";
    QTest::newRow("dictionary stays the user's")
        << clerk << QStringList{"SELECT COUNT(*) FROM USER_TABLES"} << "0";
}

// ALTER SESSION SET CURRENT_SCHEMA = SCOTT, then the case's statements.
void TestEngine::currentSchema()
{
    QFETCH(QString, user);
    QFETCH(QStringList, statements);
    QFETCH(QString, expected);
    schema();
    for (const char* sql : {"CREATE USER CLERK IDENTIFIED BY CLERK", "GRANT CONNECT TO CLERK",
                            "GRANT SELECT ON SCOTT.DEPT TO CLERK", "CREATE SEQUENCE SCOTT.EMP_SEQ",
                            "CREATE SYNONYM SCOTT.WORKERS FOR SCOTT.EMP"})
        exec(*m_sys, QString::fromUtf8(sql));
    auto other = user == QLatin1String("SYS") ? nullptr : m_fixture->connect(user, user);
    db::Session& s = other ? *other : *m_sys;
    exec(s, QStringLiteral("ALTER SESSION SET CURRENT_SCHEMA = scott"));
    for (int i = 0; i + 1 < statements.size(); ++i)
        exec(s, statements[i]);
    QString result;
    try {
        result = rows(s, statements.last()).join(QLatin1Char('|'));
    } catch (const db::DatabaseError& e) {
        result = e.message();
    }
    QCOMPARE(result, expected);
}

void TestEngine::currentSchemaChangeIsCheckedAndSeenAtOnce()
{
    schema();
    const QString count = QStringLiteral("SELECT COUNT(*) FROM DEPT");
    const QString current =
        QStringLiteral("SELECT SYS_CONTEXT('USERENV', 'CURRENT_SCHEMA') FROM DUAL");
    QCOMPARE(errorOf(*m_sys, count), QStringLiteral("ORA-00942: table or view does not exist"));
    // An unknown schema (a quoted name keeps its case) changes nothing, other settings of the same
    // statement included.
    for (const char* sql : {"ALTER SESSION SET CURRENT_SCHEMA = NOBODY",
                            "ALTER SESSION SET CURRENT_SCHEMA = \"scott\"",
                            "ALTER SESSION SET NLS_DATE_FORMAT = 'YYYY' CURRENT_SCHEMA = NOBODY"})
        QCOMPARE(errorOf(*m_sys, QString::fromUtf8(sql)),
                 QStringLiteral("ORA-01435: user does not exist"));
    QCOMPARE(rows(*m_sys, current), QStringList{"SYS"});
    QCOMPARE(rows(*m_sys,
                  QStringLiteral("SELECT TO_CHAR(TO_DATE('2001-02-03', 'YYYY-MM-DD')) FROM DUAL")),
             QStringList{"2001-02-03 00:00:00"});
    // The same text, translated before, now resolves in the new schema, and back again.
    exec(*m_sys, QStringLiteral("ALTER SESSION SET CURRENT_SCHEMA = SCOTT"));
    QCOMPARE(rows(*m_sys, count), QStringList{"3"});
    exec(*m_sys, QStringLiteral("ALTER SESSION SET CURRENT_SCHEMA = SYS"));
    QCOMPARE(errorOf(*m_sys, count), QStringLiteral("ORA-00942: table or view does not exist"));
    // Another session is not moved.
    exec(*m_sys, QStringLiteral("ALTER SESSION SET CURRENT_SCHEMA = SCOTT"));
    auto scott = m_fixture->connect(QStringLiteral("SCOTT"), QStringLiteral("TIGER"));
    QCOMPARE(rows(*scott, current), QStringList{"SCOTT"});
    auto sys2 = m_fixture->connect(QStringLiteral("SYS"), QStringLiteral("change_on_install"));
    QCOMPARE(rows(*sys2, current), QStringList{"SYS"});
}

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
