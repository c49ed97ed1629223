// The SQL a DBA types, against the demo instance's SCOTT schema (the classic fourteen employees):
// ROWNUM, hierarchical queries, WITH, analytic functions, ANSI joins, CAST and the other functions
// of the language, Oracle's comparison rules, MERGE and CREATE TABLE ... AS SELECT, and the errors
// Oracle gives where a query is wrong. Expected rows are what Oracle answers for that data.
#include "EngineFixture.h"

#include <functional>

using namespace kolmara;
using namespace kolmara::test;

class TestSqlLanguage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void query_data();
    void query();
    void error_data();
    void error();
    void blankPaddedComparison();
    void textMeetsNumberOrDate_data();
    void textMeetsNumberOrDate();
    void rownumLimitsDmlAndBinds();
    void merge();
    void rollbackToSavepoint();
    void tablesAndViewsFromQueries();
    void fixedViewNameQualifiesItsColumns();
    void longNumbersSortByValue();
    void sessionLanguageAndDateFormat();
    void everyCutOfAStatementIsRefused();
    void stringLiteralForms();
    void charPadsToItsLengthInBytes();

private:
    std::unique_ptr<EngineFixture> m_fixture;
    std::unique_ptr<db::Session> m_scott;
};

void TestSqlLanguage::initTestCase()
{
    m_fixture = std::make_unique<EngineFixture>(demoScriptFolder());
    m_scott = m_fixture->connect(QStringLiteral("SCOTT"), QStringLiteral("TIGER"));
}

void TestSqlLanguage::cleanupTestCase()
{
    m_scott.reset();
    m_fixture.reset();
}

void TestSqlLanguage::query_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("expected");
    const QStringList orgChart = {"KING|1|/KING",
                                  "  JONES|2|/KING/JONES",
                                  "    SCOTT|3|/KING/JONES/SCOTT",
                                  "      ADAMS|4|/KING/JONES/SCOTT/ADAMS",
                                  "    FORD|3|/KING/JONES/FORD",
                                  "      SMITH|4|/KING/JONES/FORD/SMITH",
                                  "  BLAKE|2|/KING/BLAKE",
                                  "    ALLEN|3|/KING/BLAKE/ALLEN",
                                  "    WARD|3|/KING/BLAKE/WARD",
                                  "    MARTIN|3|/KING/BLAKE/MARTIN",
                                  "    TURNER|3|/KING/BLAKE/TURNER",
                                  "    JAMES|3|/KING/BLAKE/JAMES",
                                  "  CLARK|2|/KING/CLARK",
                                  "    MILLER|3|/KING/CLARK/MILLER"};

    QTest::newRow("parentheses 80 deep")
        << u"SELECT "_qs + QString(80, u'(') + u"SAL"_qs + QString(80, u')') +
               u" FROM EMP WHERE ENAME = 'KING'"_qs
        << QStringList{"5000"};

    // ROWNUM numbers the rows as they pass WHERE, before ORDER BY, GROUP BY and DISTINCT.
    QTest::newRow("rownum column") << "SELECT ROWNUM, ENAME FROM EMP WHERE ROWNUM <= 3"
                                   << QStringList{"1|SMITH", "2|ALLEN", "3|WARD"};
    QTest::newRow("rownum before order by")
        << "SELECT ENAME FROM EMP WHERE ROWNUM <= 3 ORDER BY SAL"
        << QStringList{"SMITH", "WARD", "ALLEN"};
    QTest::newRow("rownum of sorted rows")
        << "SELECT ROWNUM, ENAME FROM EMP WHERE DEPTNO = 10 ORDER BY ENAME"
        << QStringList{"1|CLARK", "2|KING", "3|MILLER"};
    QTest::newRow("rownum in an inline view, sorted outside")
        << "SELECT * FROM (SELECT ENAME, SAL FROM EMP WHERE ROWNUM < 4) ORDER BY SAL DESC"
        << QStringList{"ALLEN|1600", "WARD|1250", "SMITH|800"};
    QTest::newRow("top-n")
        << "SELECT ENAME FROM (SELECT ENAME FROM EMP ORDER BY SAL DESC, ENAME) WHERE ROWNUM <= 3"
        << QStringList{"KING", "FORD", "SCOTT"};
    QTest::newRow("paging")
        << "SELECT RN, ENAME FROM (SELECT ROWNUM RN, A.* FROM (SELECT ENAME, SAL FROM EMP"
           " ORDER BY SAL DESC, ENAME) A WHERE ROWNUM <= 6) WHERE RN > 3"
        << QStringList{"4|JONES", "5|BLAKE", "6|CLARK"};
    QTest::newRow("rownum = 1") << "SELECT ENAME FROM EMP WHERE ROWNUM = 1" << QStringList{"SMITH"};
    QTest::newRow("rownum = 2 finds nothing")
        << "SELECT ENAME FROM EMP WHERE ROWNUM = 2" << QStringList{};
    QTest::newRow("rownum > 1 finds nothing")
        << "SELECT ENAME FROM EMP WHERE ROWNUM > 1" << QStringList{};
    QTest::newRow("rownum > 0 is every row")
        << "SELECT COUNT(*) FROM EMP WHERE ROWNUM > 0" << QStringList{"14"};
    QTest::newRow("value on the left, between")
        << "SELECT COUNT(*) FROM (SELECT 1 FROM EMP WHERE 5 >= ROWNUM), (SELECT 1 FROM EMP"
           " WHERE ROWNUM BETWEEN 1 AND 2)"
        << QStringList{"10"};
    QTest::newRow("rownum before grouping")
        << "SELECT DEPTNO, COUNT(*) FROM EMP WHERE ROWNUM <= 5 GROUP BY DEPTNO ORDER BY 1"
        << QStringList{"20|2", "30|3"};
    QTest::newRow("rownum before distinct")
        << "SELECT DISTINCT JOB FROM EMP WHERE ROWNUM <= 3 ORDER BY JOB"
        << QStringList{"CLERK", "SALESMAN"};
    QTest::newRow("rownum over a join, before order by")
        << "SELECT E.ENAME FROM EMP E, DEPT D WHERE E.DEPTNO = D.DEPTNO AND E.DEPTNO = 30"
           " AND ROWNUM <= 2 ORDER BY E.ENAME DESC"
        << QStringList{"WARD", "ALLEN"};
    QTest::newRow("rownum in each branch of a union")
        << "SELECT ENAME FROM EMP WHERE ROWNUM < 3 UNION ALL SELECT DNAME FROM DEPT"
           " WHERE ROWNUM < 2 ORDER BY 1"
        << QStringList{"ACCOUNTING", "ALLEN", "SMITH"};

    // Hierarchical queries walk the tree depth first.
    QTest::newRow("org chart")
        << "SELECT LPAD(' ', 2 * (LEVEL - 1)) || ENAME, LEVEL, SYS_CONNECT_BY_PATH(ENAME, '/')"
           " FROM EMP START WITH MGR IS NULL CONNECT BY PRIOR EMPNO = MGR"
        << orgChart;
    QTest::newRow("order siblings by")
        << "SELECT ENAME FROM EMP START WITH ENAME = 'KING' CONNECT BY MGR = PRIOR EMPNO ORDER"
           " SIBLINGS BY ENAME"
        << QStringList{"KING",  "BLAKE",  "ALLEN", "JAMES", "MARTIN", "TURNER", "WARD",
                       "CLARK", "MILLER", "JONES", "FORD",  "SMITH",  "SCOTT",  "ADAMS"};
    QTest::newRow("prior in the select list, where after connect by")
        << "SELECT ENAME, PRIOR ENAME FROM EMP WHERE LEVEL = 3 START WITH MGR IS NULL"
           " CONNECT BY PRIOR EMPNO = MGR AND PRIOR ENAME <> 'BLAKE'"
        << QStringList{"SCOTT|JONES", "FORD|JONES", "MILLER|CLARK"};
    QTest::newRow("level in connect by, without start with")
        << "SELECT LEVEL, COUNT(*) FROM EMP CONNECT BY PRIOR EMPNO = MGR AND LEVEL <= 2"
           " GROUP BY LEVEL ORDER BY 1"
        << QStringList{"1|14", "2|13"};
    QTest::newRow("row generator")
        << "SELECT LEVEL FROM DUAL CONNECT BY LEVEL <= 4" << QStringList{"1", "2", "3", "4"};
    QTest::newRow("deep row generator")
        << "SELECT COUNT(*), MIN(LEVEL), MAX(LEVEL), SUM(LEVEL) FROM DUAL"
           " CONNECT BY LEVEL <= 50000 AND LEVEL <= 1000000"
        << QStringList{"50000|1|50000|1250025000"};
    // Over generated rows: a chain 3000 deep comes out in chain order, and a binary tree
    // (N's parent is N / 2) in pre-order, deepest branch first.
    QTest::newRow("deep chain with prior")
        << "SELECT COUNT(*) FROM (SELECT ROWNUM R, LEVEL L, N FROM (SELECT LEVEL N FROM DUAL"
           " CONNECT BY LEVEL <= 3000) START WITH N = 1 CONNECT BY PRIOR N + 1 = N) WHERE R = L"
           " AND L = N"
        << QStringList{"3000"};
    QTest::newRow("generated binary tree in pre-order")
        << "SELECT N, LEVEL FROM (SELECT LEVEL N FROM DUAL CONNECT BY LEVEL <= 1000)"
           " WHERE ROWNUM <= 12 START WITH N = 1 CONNECT BY PRIOR N = TRUNC(N / 2) ORDER"
           " SIBLINGS BY N"
        << QStringList{"1|1",  "2|2",   "4|3",   "8|4",    "16|5",   "32|6",
                       "64|7", "128|8", "256|9", "512|10", "513|10", "257|9"};
    QTest::newRow("over a join: the join first, the other conditions after the tree")
        << "SELECT LPAD(' ', 2 * (LEVEL - 1)) || E.ENAME, D.DNAME, PRIOR E.ENAME FROM EMP E,"
           " DEPT D WHERE E.DEPTNO = D.DEPTNO AND D.LOC <> 'CHICAGO' START WITH E.MGR IS NULL"
           " CONNECT BY PRIOR E.EMPNO = E.MGR ORDER SIBLINGS BY E.ENAME"
        << QStringList{"KING|ACCOUNTING|",
                       "  CLARK|ACCOUNTING|KING",
                       "    MILLER|ACCOUNTING|CLARK",
                       "  JONES|RESEARCH|KING",
                       "    FORD|RESEARCH|JONES",
                       "      SMITH|RESEARCH|FORD",
                       "    SCOTT|RESEARCH|JONES",
                       "      ADAMS|RESEARCH|SCOTT"};
    QTest::newRow("over an ANSI join, star")
        << "SELECT * FROM EMP E JOIN DEPT D ON D.DEPTNO = E.DEPTNO WHERE E.ENAME <> 'SCOTT' "
           "START WITH E.ENAME = 'SCOTT' CONNECT BY PRIOR E.EMPNO = E.MGR"
        << QStringList{"7876|ADAMS|CLERK|7788|1987-05-23 00:00:00|1100||20|20|RESEARCH|DALLAS"};
    QTest::newRow("over an inline view")
        << "SELECT ENAME FROM (SELECT * FROM EMP WHERE DEPTNO = 10) V START WITH V.MGR IS NULL"
           " CONNECT BY PRIOR V.EMPNO = V.MGR"
        << QStringList{"KING", "CLARK", "MILLER"};

    // WITH.
    QTest::newRow("with") << "WITH T AS (SELECT DEPTNO, SUM(SAL) TOTAL FROM EMP GROUP BY DEPTNO), "
                             "B AS (SELECT MAX(TOTAL) M FROM T) SELECT D.DNAME, T.TOTAL"
                             " FROM DEPT D, T, B WHERE D.DEPTNO = T.DEPTNO "
                             "AND T.TOTAL = B.M"
                          << QStringList{"RESEARCH|10875"};
    QTest::newRow("with column names, in a subquery")
        << "SELECT COUNT(*) FROM DEPT WHERE DEPTNO IN (WITH X (N) AS (SELECT DEPTNO FROM EMP)"
           " SELECT N FROM X)"
        << QStringList{"3"};

    // Analytic functions.
    QTest::newRow("ranking")
        << "SELECT ENAME, RANK() OVER (ORDER BY SAL DESC), DENSE_RANK() OVER (ORDER BY SAL DESC), "
           "ROW_NUMBER() OVER (PARTITION BY DEPTNO ORDER BY SAL DESC, ENAME)"
           " FROM EMP WHERE DEPTNO = 20 ORDER BY SAL DESC, ENAME"
        << QStringList{"FORD|1|1|1", "SCOTT|1|1|2", "JONES|3|2|3", "ADAMS|4|3|4", "SMITH|5|4|5"};
    QTest::newRow("aggregates over partitions")
        << "SELECT DEPTNO, ENAME, SUM(SAL) OVER (PARTITION BY DEPTNO), COUNT(*) OVER () "
           "FROM EMP WHERE JOB = 'MANAGER' ORDER BY DEPTNO"
        << QStringList{"10|CLARK|2450|3", "20|JONES|2975|3", "30|BLAKE|2850|3"};
    QTest::newRow("running total, lag and lead")
        << "SELECT ENAME, SUM(SAL) OVER (ORDER BY SAL ROWS BETWEEN UNBOUNDED PRECEDING"
           " AND CURRENT ROW), LAG(ENAME) OVER (ORDER BY SAL), LEAD(ENAME, 1,"
           " '-') OVER (ORDER BY SAL) FROM EMP WHERE DEPTNO = 10 ORDER BY SAL"
        << QStringList{"MILLER|1300||CLARK", "CLARK|3750|MILLER|KING", "KING|8750|CLARK|-"};
    QTest::newRow("analytic over groups")
        << "SELECT DEPTNO, SUM(SAL), RANK() OVER (ORDER BY SUM(SAL) DESC) FROM EMP GROUP BY "
           "DEPTNO ORDER BY 3"
        << QStringList{"20|10875|1", "30|9400|2", "10|8750|3"};
    QTest::newRow("ratio to report")
        << "SELECT ENAME, RATIO_TO_REPORT(SAL) OVER (PARTITION BY JOB),"
           " RATIO_TO_REPORT(SAL) OVER () FROM EMP WHERE ENAME IN ('KING', 'SCOTT', 'FORD',"
           " 'TURNER') ORDER BY ENAME"
        << QStringList{"FORD|.5|.24", "KING|1|.4", "SCOTT|.5|.24", "TURNER|1|.12"};

    // ANSI joins.
    QTest::newRow("right join")
        << "SELECT D.DNAME, E.ENAME FROM EMP E RIGHT OUTER JOIN DEPT D ON E.DEPTNO = D.DEPTNO "
           "WHERE E.EMPNO IS NULL"
        << QStringList{"OPERATIONS|"};
    QTest::newRow("full join using")
        << "SELECT DEPTNO, COUNT(EMPNO) FROM DEPT FULL OUTER JOIN EMP USING (DEPTNO) "
           "GROUP BY DEPTNO ORDER BY 1"
        << QStringList{"10|3", "20|5", "30|6", "40|0"};
    QTest::newRow("natural join")
        << "SELECT DNAME, ENAME FROM EMP NATURAL JOIN DEPT WHERE JOB = 'PRESIDENT'"
        << QStringList{"ACCOUNTING|KING"};
    QTest::newRow("join on a range, cross join, left join")
        << "SELECT E.ENAME, S.GRADE, D.LOC, X.N FROM EMP E JOIN SALGRADE S"
           " ON E.SAL BETWEEN S.LOSAL AND S.HISAL LEFT JOIN DEPT D ON D.DEPTNO = E.DEPTNO"
           " AND D.LOC = 'DALLAS' CROSS JOIN (SELECT COUNT(*) N FROM DEPT) X "
           "WHERE E.JOB = 'ANALYST' OR E.ENAME = 'KING' ORDER BY 1"
        << QStringList{"FORD|4|DALLAS|4", "KING|5||4", "SCOTT|4|DALLAS|4"};
    QTest::newRow("star of a join with (+) keeps the FROM order")
        << "SELECT * FROM SALGRADE S, DEPT D WHERE D.DEPTNO = 40 AND S.GRADE(+) = D.DEPTNO"
        << QStringList{"|||40|OPERATIONS|BOSTON"};

    // Functions.
    QTest::newRow("cast")
        << "SELECT CAST('12.45' AS NUMBER(4,1)), CAST(1234 AS VARCHAR2(4)) || '|',"
           " CAST('ab' AS CHAR(4)) || '|', TO_CHAR(CAST('2003-05-15' AS DATE), 'DD.MM.YYYY')"
           " FROM DUAL"
        << QStringList{"12.5|1234||ab  ||15.05.2003"};
    QTest::newRow("coalesce, nullif")
        << "SELECT COALESCE(NULL, COMM, SAL), NULLIF(JOB, 'SALESMAN'), NULLIF(DEPTNO, 20) FROM EMP "
           "WHERE ENAME IN ('SMITH', 'WARD') ORDER BY ENAME"
        << QStringList{"800|CLERK|", "500||30"};
    QTest::newRow("trim")
        << "SELECT TRIM(LEADING '0' FROM '0012300') || '|' || TRIM(TRAILING '0' FROM '0012300')"
           " || '|' || TRIM(BOTH '0' FROM '0012300') || '|' || TRIM('0' FROM '0012300')"
           " || '|' || TRIM('  x  ') || '|' || TRIM(LEADING FROM '  y') FROM DUAL"
        << QStringList{"12300|00123|123|123|x|y"};
    QTest::newRow("extract")
        << "SELECT EXTRACT(YEAR FROM HIREDATE), EXTRACT(MONTH FROM HIREDATE), EXTRACT(DAY"
           " FROM HIREDATE) FROM EMP WHERE ENAME = 'KING'"
        << QStringList{"1981|11|17"};
    QTest::newRow("greatest and least take the first argument's type")
        << "SELECT GREATEST(10, '9'), GREATEST('10', 9), LEAST(1, '2', 3), LEAST('b', 'ab', 'c')"
           " FROM DUAL"
        << QStringList{"10|9|1|ab"};
    QTest::newRow("decode and nvl convert to the first value's type")
        << "SELECT DECODE(DEPTNO, '10', 1, 2), NVL(COMM, '0') + 1 FROM EMP WHERE ENAME = 'KING'"
        << QStringList{"1|1"};

    // Comparisons and subqueries.
    QTest::newRow("date compared with text")
        << "SELECT ENAME FROM EMP WHERE HIREDATE = '1981-12-03' ORDER BY 1"
        << QStringList{"FORD", "JAMES"};
    QTest::newRow("multi-column in subquery")
        << "SELECT ENAME FROM EMP WHERE (DEPTNO, JOB) IN (SELECT DEPTNO, JOB FROM EMP"
           " WHERE ENAME = 'FORD') ORDER BY 1"
        << QStringList{"FORD", "SCOTT"};
    QTest::newRow("multi-column in list")
        << "SELECT ENAME FROM EMP WHERE (DEPTNO, JOB) IN ((10, 'CLERK'), (20, 'MANAGER'))"
           " ORDER BY 1"
        << QStringList{"JONES", "MILLER"};
    QTest::newRow("row compared with a subquery")
        << "SELECT ENAME FROM EMP WHERE (DEPTNO, MGR) = (SELECT DEPTNO, MGR FROM EMP"
           " WHERE ENAME = 'ALLEN') ORDER BY 1"
        << QStringList{"ALLEN", "JAMES", "MARTIN", "TURNER", "WARD"};
    QTest::newRow("any and all")
        << "SELECT ENAME FROM EMP WHERE SAL > ALL (SELECT SAL FROM EMP WHERE DEPTNO = 30) AND "
           "SAL < ANY (3000, 2000) ORDER BY 1"
        << QStringList{"JONES"};
    QTest::newRow("scalar subquery of one row")
        << "SELECT ENAME, (SELECT DNAME FROM DEPT D WHERE D.DEPTNO = E.DEPTNO) FROM EMP E "
           "WHERE SAL = (SELECT MAX(SAL) FROM EMP)"
        << QStringList{"KING|ACCOUNTING"};
    QTest::newRow("scalar subquery of no row is null")
        << "SELECT NVL((SELECT ENAME FROM EMP WHERE EMPNO = 1), 'none') FROM DUAL"
        << QStringList{"none"};
    QTest::newRow("grouped by an expression")
        << "SELECT TO_CHAR(HIREDATE, 'YYYY'), COUNT(*) FROM EMP E GROUP BY "
           "TO_CHAR(E.HIREDATE, 'YYYY') HAVING COUNT(*) > 1 ORDER BY COUNT(*) DESC"
        << QStringList{"1981|10", "1987|2"};

    // Chains of one operator are read left to right however long they are: a thousand terms of
    // each kind, built as "first op term op term ...".
    auto chain = [](const QString& first, const QString& op,
                    const std::function<QString(int)>& term) {
        QString sql = first;
        for (int i = 1; i < 1000; ++i)
            sql += op + term(i);
        return sql;
    };
    QTest::newRow("1000 terms of ||")
        << QStringLiteral("SELECT ") +
               chain(u"DUMMY"_qs, u" || "_qs,
                     [](int i) { return i % 2 ? u"'-'"_qs : u"DUMMY"_qs; }) +
               QStringLiteral(" FROM DUAL")
        << QStringList{QStringLiteral("X-").repeated(500)};
    QTest::newRow("1000 terms of AND")
        << QStringLiteral("SELECT COUNT(*) FROM DEPT WHERE ") +
               chain(u"DEPTNO <> 20"_qs, u" AND "_qs,
                     [](int i) { return QStringLiteral("DEPTNO <> %1").arg(i * 100); })
        << QStringList{"3"};
    QTest::newRow("1000 terms of OR")
        << QStringLiteral(
               "SELECT COUNT(*) FROM DEPT WHERE DEPTNO = 40 AND DNAME = 'OPERATIONS' OR ") +
               chain(u"DEPTNO = 0"_qs, u" OR "_qs,
                     [](int i) { return QStringLiteral("DEPTNO = %1").arg(i); })
        << QStringList{"4"};
    QTest::newRow("1000 terms of OR in a condition")
        << QStringLiteral("SELECT CASE WHEN ") +
               chain(u"1 = 0"_qs, u" OR "_qs,
                     [](int i) { return QStringLiteral("%1 = 999").arg(i); }) +
               QStringLiteral(" THEN 'yes' END FROM DUAL")
        << QStringList{"yes"};
    QTest::newRow("1000 terms of + and -")
        << QStringLiteral("SELECT ") +
               chain(u"1"_qs, u""_qs,
                     [](int i) {
                         return QString::fromLatin1(i % 2 ? " - %1" : " + %1").arg(i + 1);
                     }) +
               QStringLiteral(" FROM DUAL")
        << QStringList{"-500"};
    QTest::newRow("1000 terms of * and /")
        << QStringLiteral("SELECT ") +
               chain(u"7"_qs, u""_qs, [](int i) { return i % 2 ? u" * 3"_qs : u" / 3"_qs; }) +
               QStringLiteral(" FROM DUAL")
        << QStringList{"21"};
    QTest::newRow("a date plus 999 days one at a time")
        << QStringLiteral("SELECT TO_CHAR(") +
               chain(u"TO_DATE('2020-01-01', 'YYYY-MM-DD')"_qs, u" + "_qs,
                     [](int) { return u"1"_qs; }) +
               QStringLiteral(", 'YYYY-MM-DD') FROM DUAL")
        << QStringList{"2022-09-26"};
    QTest::newRow("short chains, mixed types, NULL")
        << "SELECT TO_CHAR(TO_DATE('2020-01-01', 'YYYY-MM-DD') + 1 - 2 + 0.5, 'YYYY-MM-DD HH24'), "
           "TO_DATE('2020-01-03', 'YYYY-MM-DD') - TO_DATE('2020-01-01', 'YYYY-MM-DD') - 1,"
           " 10 - 2 - 3, 2 * 3 / 4 * 2, 1 + NULL - 3, 1 || 2 + 3 || 'b', 7 / 2 * 2 - 1 * 3, NULL"
           " || NULL || NULL, NULL || 'a' || NULL FROM DUAL"
        << QStringList{"2019-12-31 12|1|5|3||15b|4||a"};
    QTest::newRow("join using, other columns qualified")
        << "SELECT DEPTNO, D.DNAME, E.ENAME FROM EMP E JOIN DEPT D USING (DEPTNO)"
           " WHERE E.EMPNO = 7839"
        << QStringList{"10|ACCOUNTING|KING"};
}

void TestSqlLanguage::query()
{
    QFETCH(QString, sql);
    QFETCH(QStringList, expected);
    QCOMPARE(rows(*m_scott, sql), expected);
}

void TestSqlLanguage::error_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("message");

    const QString notGrouped = QStringLiteral("ORA-00979: not a GROUP BY expression");
    const QString singleRow =
        QStringLiteral("ORA-01427: single-row subquery returns more than one row");
    const QString pseudo = QStringLiteral("ORA-00976: LEVEL, PRIOR, or ROWNUM not allowed here");
    QTest::newRow("column not grouped")
        << "SELECT DEPTNO, JOB, COUNT(*) FROM EMP GROUP BY DEPTNO" << notGrouped;
    QTest::newRow("part of a group expression")
        << "SELECT SAL FROM EMP GROUP BY SAL + 1" << notGrouped;
    QTest::newRow("having a column not grouped")
        << "SELECT DEPTNO FROM EMP GROUP BY DEPTNO HAVING SAL > 1" << notGrouped;
    QTest::newRow("order by a column not grouped")
        << "SELECT DEPTNO FROM EMP GROUP BY DEPTNO ORDER BY ENAME" << notGrouped;
    QTest::newRow("star in a grouped query") << "SELECT * FROM DEPT GROUP BY DEPTNO" << notGrouped;
    QTest::newRow("window of a grouped query")
        << "SELECT DEPTNO, SUM(SAL) OVER () FROM EMP GROUP BY DEPTNO" << notGrouped;
    QTest::newRow("correlated column not grouped")
        << "SELECT DEPTNO, (SELECT DNAME FROM DEPT D WHERE D.LOC = E.JOB) FROM EMP E"
           " GROUP BY DEPTNO"
        << notGrouped;
    QTest::newRow("not a single group") << "SELECT ENAME, COUNT(*) FROM EMP"
                                        << "ORA-00937: not a single-group group function";
    QTest::newRow("aggregate in where") << "SELECT ENAME FROM EMP WHERE SAL > AVG(SAL)"
                                        << "ORA-00934: group function is not allowed here";
    QTest::newRow("scalar subquery of several rows")
        << "SELECT ENAME, (SELECT DNAME FROM DEPT) FROM EMP" << singleRow;
    QTest::newRow("compared with several rows")
        << "SELECT ENAME FROM EMP WHERE DEPTNO = (SELECT DEPTNO FROM DEPT)" << singleRow;
    QTest::newRow("row compared with several rows")
        << "SELECT 1 FROM DUAL WHERE (1, 2) = (SELECT DEPTNO, 2 FROM DEPT)" << singleRow;
    QTest::newRow("scalar subquery of two columns")
        << "SELECT (SELECT DEPTNO, DNAME FROM DEPT) FROM DUAL"
        << "ORA-00913: too many values";
    QTest::newRow("in with too few columns")
        << "SELECT 1 FROM EMP WHERE (DEPTNO, JOB) IN (SELECT DEPTNO FROM DEPT)"
        << "ORA-00947: not enough values";
    QTest::newRow("rownum in or") << "SELECT ENAME FROM EMP WHERE ROWNUM <= 2 OR SAL > 4000"
                                  << pseudo;
    QTest::newRow("rownum in an expression")
        << "SELECT ENAME FROM EMP WHERE MOD(ROWNUM, 2) = 0" << pseudo;
    QTest::newRow("prior without connect by") << "SELECT PRIOR ENAME FROM EMP" << pseudo;
    QTest::newRow("level without connect by")
        << "SELECT LEVEL FROM DUAL"
        << "ORA-01788: CONNECT BY clause required in this query block";
    QTest::newRow("connect by loop")
        << "SELECT ENAME FROM EMP START WITH ENAME = 'KING' CONNECT BY PRIOR EMPNO = MGR OR "
           "(PRIOR ENAME = 'SMITH' AND ENAME = 'KING')"
        << "ORA-01436: CONNECT BY loop in user data";
    QTest::newRow("siblings without hierarchy")
        << "SELECT ENAME FROM EMP ORDER SIBLINGS BY ENAME"
        << "ORA-30929: ORDER SIBLINGS BY clause not allowed here";
    QTest::newRow("path outside a hierarchy")
        << "SELECT SYS_CONNECT_BY_PATH(ENAME, '/') FROM EMP"
        << "ORA-30002: SYS_CONNECT_BY_PATH function is not allowed here";
    QTest::newRow("analytic function in where")
        << "SELECT ENAME FROM EMP WHERE RANK() OVER (ORDER BY SAL) = 1"
        << "ORA-30483: window  functions are not allowed here";
    QTest::newRow("analytic function without over")
        << "SELECT RANK() FROM EMP"
        << "ORA-30484: missing window specification for this function";
    QTest::newRow("ranking without order")
        << "SELECT ROW_NUMBER() OVER (PARTITION BY DEPTNO) FROM EMP"
        << "ORA-30485: missing ORDER BY expression in the window specification";
    QTest::newRow("date and number")
        << "SELECT 1 FROM EMP WHERE HIREDATE > 5"
        << "ORA-00932: inconsistent datatypes: expected DATE got NUMBER";
    QTest::newRow("case of two types")
        << "SELECT CASE WHEN SAL > 1 THEN SAL ELSE ENAME END FROM EMP"
        << "ORA-00932: inconsistent datatypes: expected NUMBER got CHAR";
    QTest::newRow("coalesce of two types")
        << "SELECT COALESCE(HIREDATE, 1) FROM EMP"
        << "ORA-00932: inconsistent datatypes: expected DATE got NUMBER";
    QTest::newRow("union of two types")
        << "SELECT EMPNO FROM EMP UNION SELECT DNAME FROM DEPT"
        << "ORA-01790: expression must have same datatype as corresponding expression";
    QTest::newRow("union of two widths")
        << "SELECT EMPNO, ENAME FROM EMP UNION SELECT DEPTNO FROM DEPT"
        << "ORA-01789: query block has incorrect number of result columns";
    QTest::newRow("distinct sorted by something else")
        << "SELECT DISTINCT DEPTNO FROM EMP ORDER BY SAL"
        << "ORA-01791: not a SELECTed expression";
    QTest::newRow("(+) with an ANSI join")
        << "SELECT 1 FROM EMP E JOIN DEPT D ON E.DEPTNO = D.DEPTNO, SALGRADE S "
           "WHERE E.SAL = S.LOSAL(+)"
        << "ORA-25156: old style outer join (+) cannot be used with ANSI joins";
    QTest::newRow("join without condition") << "SELECT 1 FROM EMP JOIN DEPT"
                                            << "ORA-00905: missing keyword";
    QTest::newRow("cast too long") << "SELECT CAST('abcde' AS VARCHAR2(4)) FROM DUAL"
                                   << "ORA-25137: Data value out of range";
    QTest::newRow("cast too large")
        << "SELECT CAST(123.4 AS NUMBER(2)) FROM DUAL"
        << "ORA-01438: value larger than specified precision allowed for this column";
    QTest::newRow("cast of a text that is no number") << "SELECT CAST('x' AS NUMBER) FROM DUAL"
                                                      << "ORA-01722: invalid number";
    QTest::newRow("trim of two characters") << "SELECT TRIM('ab' FROM 'abc') FROM DUAL"
                                            << "ORA-30001: trim set should have only one character";
    QTest::newRow("time of a date") << "SELECT EXTRACT(HOUR FROM SYSDATE) FROM DUAL"
                                    << "ORA-30076: invalid extract field for extract source";
    QTest::newRow("decode result that is no number") << "SELECT DECODE(DEPTNO, 10, 1, 'x') FROM EMP"
                                                     << "ORA-01722: invalid number";
    QTest::newRow("rowid") << "SELECT ROWID FROM EMP" << "ORA-00904: \"ROWID\": invalid identifier";
    QTest::newRow("date plus date inside a chain") << "SELECT 1 + SYSDATE + SYSDATE - 2 FROM DUAL"
                                                   << "ORA-00975: date + date not allowed";
    QTest::newRow("number minus date inside a chain")
        << "SELECT 1 - 1 - SYSDATE + 2 FROM DUAL"
        << "ORA-00932: inconsistent datatypes: expected NUMBER got DATE";
    QTest::newRow("text that is no number inside a chain") << "SELECT 2 * 3 / 'x' * 4 FROM DUAL"
                                                           << "ORA-01722: invalid number";
    // Nesting deep enough to run the reading out of stack, or SQLite's parser, is refused in words
    // of the engine's own.
    const QString tooDeep = QStringLiteral(
        "The statement nests parentheses and subqueries too deeply for the "
        "embedded database.");
    QTest::newRow("thousands of parentheses")
        << u"SELECT "_qs + QString(5000, u'(') + u"1 FROM DUAL"_qs << tooDeep;
    QTest::newRow("parentheses 95 deep")
        << u"SELECT 1 FROM EMP WHERE "_qs + QString(95, u'(') + u"SAL > 1"_qs + QString(95, u')')
        << tooDeep;
    QString views = QStringLiteral("DUAL");
    for (int i = 0; i < 101; ++i)
        views = QStringLiteral("(SELECT * FROM %1)").arg(views);
    QTest::newRow("inline views 101 deep") << QStringLiteral("SELECT * FROM ") + views << tooDeep;

    // A value standing where a condition belongs, and statements that say a thing twice.
    const QString relational = QStringLiteral("ORA-00920: invalid relational operator");
    QTest::newRow("where a bare column") << "SELECT ENAME FROM EMP WHERE ENAME" << relational;
    QTest::newRow("where a column and a condition")
        << "SELECT ENAME FROM EMP WHERE COMM AND SAL > 1" << relational;
    QTest::newRow("having a literal")
        << "SELECT DEPTNO FROM EMP GROUP BY DEPTNO HAVING 1" << relational;
    QTest::newRow("delete where a literal") << "DELETE FROM EMP WHERE 1" << relational;
    const QString duplicate = QStringLiteral("ORA-00957: duplicate column name");
    QTest::newRow("create table naming a column twice")
        << "CREATE TABLE DUP1 (A NUMBER, a VARCHAR2(3))" << duplicate;
    QTest::newRow("create table as select naming a column twice")
        << "CREATE TABLE DUP2 AS SELECT 1 A, 2 A FROM DUAL" << duplicate;
    QTest::newRow("alter table adding a column twice")
        << "ALTER TABLE EMP ADD (X1 NUMBER, X1 NUMBER)" << duplicate;
    QTest::newRow("alter table adding a column it has")
        << "ALTER TABLE EMP ADD (ENAME VARCHAR2(3))"
        << "ORA-01430: column being added already exists in table";
    const QString notEnded = QStringLiteral("ORA-00933: SQL command not properly ended");
    QTest::newRow("comment of two literals") << "COMMENT ON TABLE EMP IS 'a' 'b'" << notEnded;
    QTest::newRow("comment of an expression") << "COMMENT ON TABLE EMP IS 'a' || 'b'" << notEnded;
    const QString qualified =
        QStringLiteral("ORA-25154: column part of USING clause cannot have qualifier");
    QTest::newRow("using column qualified in the select list")
        << "SELECT E.DEPTNO FROM EMP E JOIN DEPT D USING (DEPTNO)" << qualified;
    QTest::newRow("using column qualified in where")
        << "SELECT DNAME FROM EMP E JOIN DEPT D USING (DEPTNO) WHERE D.DEPTNO = 10" << qualified;
}

void TestSqlLanguage::error()
{
    QFETCH(QString, sql);
    QFETCH(QString, message);
    QCOMPARE(errorOf(*m_scott, sql), message);
}

// Text literals and CHAR columns compare blank-padded; VARCHAR2 columns do not.
void TestSqlLanguage::blankPaddedComparison()
{
    db::Session& s = *m_scott;
    exec(s, QStringLiteral("CREATE TABLE CODES (C CHAR(4), V VARCHAR2(4))"));
    exec(s, QStringLiteral("INSERT INTO CODES VALUES ('AB', 'AB')"));
    QCOMPARE(rows(s, QStringLiteral(
                         "SELECT CASE WHEN 'a ' = 'a' THEN 'same' ELSE 'different' END FROM DUAL")),
             QStringList{"same"});
    QCOMPARE(
        rows(s,
             QStringLiteral(
                 "SELECT COUNT(*) FROM CODES WHERE C = 'AB' AND C = 'AB ' AND C IN ('X', 'AB  ')")),
        QStringList{"1"});
    QCOMPARE(rows(s, QStringLiteral("SELECT COUNT(*) FROM CODES WHERE V = 'AB '")),
             QStringList{"0"});
    QCOMPARE(rows(s, QStringLiteral("SELECT COUNT(*) FROM CODES WHERE C = V")), QStringList{"0"});
    QCOMPARE(rows(s, QStringLiteral("SELECT COUNT(*) FROM CODES WHERE C = :X"), {{"X", "AB"}}),
             QStringList{"0"});
    exec(s, QStringLiteral("DROP TABLE CODES"));
}

// A bind or a text literal compared with a NUMBER or a DATE is converted to that type, as Oracle
// converts it: the text becomes a number (ORA-01722 when it is none) or a date in the session's
// format, whatever side of the comparison it stands on. A value bound as a number stays a number,
// a NULL or empty bind compares as NULL, and text compared with text (LIKE too) stays text.
// binds maps a name to its value: a string is bound as text, a double as a number, an invalid
// QVariant as NULL. expected is the rows joined by ';', or the error.
void TestSqlLanguage::textMeetsNumberOrDate_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariantMap>("binds");
    QTest::addColumn<QString>("expected");
    const QString count = QStringLiteral("SELECT COUNT(*) FROM EMP WHERE ");
    const QString invalidNumber = QStringLiteral("ORA-01722: invalid number");
    auto text = [](const char* name, const char* value) {
        return QVariantMap{{QString::fromLatin1(name), QString::fromLatin1(value)}};
    };

    // Compared as text, '10000' would sort before every EMPNO and '030' match no DEPTNO.
    QTest::newRow(">") << count + "EMPNO > :N" << text("N", "0") << "14";
    QTest::newRow("<") << count + "EMPNO < :N" << text("N", "10000") << "14";
    QTest::newRow(">= and <=") << count + "EMPNO >= :N AND EMPNO <= :M"
                               << QVariantMap{{"N", "7900"}, {"M", "7902"}} << "2";
    QTest::newRow("= in another form")
        << "SELECT ENAME FROM EMP WHERE EMPNO = :N" << text("N", " 7.839E3 ") << "KING";
    QTest::newRow("<> and !=") << count + "EMPNO <> :N AND EMPNO != :N" << text("N", "7839")
                               << "13";
    QTest::newRow("between") << count + "SAL BETWEEN :LO AND :HI"
                             << QVariantMap{{"LO", "1000"}, {"HI", "2000"}} << "6";
    QTest::newRow("not between") << count + "SAL NOT BETWEEN :LO AND :HI"
                                 << QVariantMap{{"LO", "1000"}, {"HI", "2000"}} << "8";
    QTest::newRow("in") << count + "DEPTNO IN (:A, :B)" << QVariantMap{{"A", "10"}, {"B", "030"}}
                        << "9";
    QTest::newRow("not in") << count + "DEPTNO NOT IN (:A)" << text("A", "020") << "9";
    QTest::newRow("any") << count + "SAL > ANY (:A, :B)"
                         << QVariantMap{{"A", "3000"}, {"B", "4000"}} << "1";
    QTest::newRow("all") << count + "SAL < ALL (:A, :B)"
                         << QVariantMap{{"A", "1000"}, {"B", "2000"}} << "2";
    QTest::newRow("bind on the left") << count + ":N < EMPNO" << text("N", "7900") << "2";
    QTest::newRow("bind between numbers")
        << "SELECT COUNT(*) FROM DUAL WHERE :N BETWEEN 7000 AND 8000" << text("N", "07500") << "1";
    QTest::newRow("bind in numbers")
        << "SELECT COUNT(*) FROM DUAL WHERE :N IN (10, 20)" << text("N", "20.0") << "1";
    QTest::newRow("bind in a subquery's numbers")
        << "SELECT COUNT(*) FROM DUAL WHERE :N IN (SELECT DEPTNO FROM DEPT)" << text("N", "040")
        << "1";
    QTest::newRow("subquery of a bind")
        << count + "EMPNO > (SELECT :N FROM DUAL)" << text("N", "7900") << "2";
    QTest::newRow("any of a subquery of a bind")
        << count + "SAL > ANY (SELECT :N FROM DUAL)" << text("N", "4000") << "1";
    QTest::newRow("literal") << count + "EMPNO > '7800'" << QVariantMap() << "6";
    QTest::newRow("literal below") << count + "EMPNO < '10000'" << QVariantMap() << "14";
    QTest::newRow("searched case")
        << "SELECT ENAME, CASE WHEN SAL >= :N THEN 'high' ELSE 'low' END FROM EMP "
           "WHERE DEPTNO = :D ORDER BY EMPNO"
        << QVariantMap{{"N", "2500"}, {"D", "10"}} << "CLARK|low;KING|high;MILLER|low";
    QTest::newRow("simple case") << "SELECT COUNT(CASE DEPTNO WHEN :N THEN 1 END) FROM EMP"
                                 << text("N", "020") << "5";
    QTest::newRow("simple case of a bind")
        << "SELECT COUNT(CASE :N WHEN DEPTNO THEN 1 END) FROM EMP" << text("N", "020") << "5";
    // DECODE compares with its first search's type; a bind's is that of the value bound.
    const QString decode = QStringLiteral("SELECT COUNT(DECODE(DEPTNO, :N, 1)) FROM EMP");
    QTest::newRow("decode by text") << decode << text("N", "020") << "0";
    QTest::newRow("decode by text that matches") << decode << text("N", "20") << "5";
    QTest::newRow("decode by number") << decode << QVariantMap{{"N", 20.0}} << "5";
    QTest::newRow("decode of text by number")
        << "SELECT DECODE(ENAME, :N, 1, 'KING', 2) FROM EMP WHERE EMPNO = 7839"
        << QVariantMap{{"N", 7839.0}} << invalidNumber;
    QTest::newRow("decode of a bind")
        << "SELECT DECODE(:N, 10, 'ten', 'other') FROM DUAL" << text("N", "010") << "ten";
    QTest::newRow("arithmetic of a bind") << count + "SAL + :N = '3000' AND SAL - :N > :M"
                                          << QVariantMap{{"N", "0"}, {"M", "900"}} << "2";
    QTest::newRow("nvl") << count + "NVL(COMM, :N) > 100" << text("N", "200") << "13";
    QTest::newRow("update") << "UPDATE EMP SET SAL = SAL WHERE EMPNO BETWEEN :A AND :B"
                            << QVariantMap{{"A", "7900"}, {"B", "7999"}} << "3 rows";

    // Text against text is compared as text; LIKE reads the number as text.
    QTest::newRow("text column") << count + "ENAME = :N OR ENAME > :M"
                                 << QVariantMap{{"N", "KING"}, {"M", "W"}} << "2";
    QTest::newRow("text expression") << count + "TO_CHAR(EMPNO) = :N" << text("N", "07839") << "0";
    QTest::newRow("like") << count + "EMPNO LIKE :N" << text("N", "78%") << "3";

    // NULL and '' compare as NULL: nothing is equal, unequal or in a list with them.
    QTest::newRow("null bind") << count + "EMPNO > :N OR EMPNO <> :N"
                               << QVariantMap{{"N", QVariant()}} << "0";
    QTest::newRow("empty bind") << count + "EMPNO <> :N" << text("N", "") << "0";
    QTest::newRow("null in a list")
        << count + "DEPTNO IN (:A, :B)" << QVariantMap{{"A", "10"}, {"B", QVariant()}} << "3";
    QTest::newRow("null in a not in list")
        << count + "DEPTNO NOT IN (:A, :B)" << QVariantMap{{"A", "10"}, {"B", QVariant()}} << "0";

    // Values bound as numbers.
    QTest::newRow("number bind") << count + "EMPNO > :N" << QVariantMap{{"N", 7900.0}} << "2";
    QTest::newRow("fraction bound as a number")
        << "SELECT COUNT(*) FROM EMP WHERE SAL / 400 = :N AND :N = 3.125"
        << QVariantMap{{"N", 3.125}} << "2";
    QTest::newRow("fraction bound as text")
        << "SELECT COUNT(*) FROM EMP WHERE SAL / 400 = :N AND :N = 3.125" << text("N", "3.1250")
        << "2";
    QTest::newRow("number bind and a date")
        << count + "HIREDATE > :N" << QVariantMap{{"N", 1.0}}
        << "ORA-00932: inconsistent datatypes: expected DATE got NUMBER";

    // Dates read in the session's format (the program's own here).
    QTest::newRow("date =") << count + "HIREDATE = :D" << text("D", "1981-12-03 00:00:00") << "2";
    QTest::newRow("date between") << count + "HIREDATE BETWEEN :A AND :B"
                                  << QVariantMap{{"A", "1981-01-01 00:00:00"},
                                                 {"B", "1981-12-31 23:59:59"}}
                                  << "10";
    QTest::newRow("date literal") << count + "HIREDATE > '1987-01-01 00:00:00'" << QVariantMap()
                                  << "2";
    QTest::newRow("no date") << count + "HIREDATE < :D" << text("D", "1981-13-01 00:00:00")
                             << "ORA-01843: not a valid month";

    QTest::newRow("no number") << count + "EMPNO > :N" << text("N", "abc") << invalidNumber;
    QTest::newRow("no number in a list")
        << count + "DEPTNO IN (:A, :B)" << QVariantMap{{"A", "10"}, {"B", "x"}} << invalidNumber;
    QTest::newRow("no number between")
        << count + "SAL BETWEEN :LO AND 2000" << text("LO", "1,000") << invalidNumber;
    QTest::newRow("no number on the left")
        << count + ":N = EMPNO" << text("N", "7839x") << invalidNumber;
    QTest::newRow("no number in a subquery's numbers")
        << "SELECT COUNT(*) FROM DUAL WHERE :N IN (SELECT DEPTNO FROM DEPT)" << text("N", "x")
        << invalidNumber;
    QTest::newRow("literal that is no number")
        << count + "EMPNO > 'x'" << QVariantMap() << invalidNumber;
}

void TestSqlLanguage::textMeetsNumberOrDate()
{
    QFETCH(QString, sql);
    QFETCH(QVariantMap, binds);
    QFETCH(QString, expected);
    QString answer;
    try {
        db::Query q(m_scott.get());
        q.addSql(sql);
        for (auto it = binds.cbegin(); it != binds.cend(); ++it) {
            db::Param& p = q.paramByName(it.key());
            if (!it.value().isValid())
                p.clear();
            else if (it.value().typeId() == QMetaType::Double)
                p.setAsFloat(it.value().toDouble());
            else
                p.setAsString(it.value().toString());
        }
        if (sql.startsWith(QLatin1String("UPDATE"))) {
            q.execSql();
            answer = QStringLiteral("%1 rows").arg(q.rowsAffected());
        } else {
            QStringList lines;
            for (q.open(); !q.eof(); q.next()) {
                QStringList fields;
                for (int i = 0; i < q.fieldCount(); ++i)
                    fields.append(q.field(i).asText());
                lines.append(fields.join(QLatin1Char('|')));
            }
            answer = lines.join(QLatin1Char(';'));
        }
    } catch (const db::DatabaseError& e) {
        answer = e.message();
    }
    QCOMPARE(answer, expected);
}

// ROWNUM limits an UPDATE or DELETE as it limits a query; a bind can give the limit.
void TestSqlLanguage::rownumLimitsDmlAndBinds()
{
    db::Session& s = *m_scott;
    exec(s, QStringLiteral("CREATE TABLE EMP_COPY AS SELECT * FROM EMP"));
    QCOMPARE(
        rows(s, QStringLiteral("SELECT ENAME FROM EMP_COPY WHERE ROWNUM <= :N AND DEPTNO = 20"),
             {{"N", "2"}}),
        (QStringList{"SMITH", "JONES"}));
    QCOMPARE(
        rows(s, QStringLiteral("SELECT COUNT(*) FROM EMP_COPY WHERE ROWNUM = :N"), {{"N", "2"}}),
        QStringList{"0"});
    db::Query q(&s);
    q.addSql(QStringLiteral("DELETE FROM EMP_COPY WHERE DEPTNO = 30 AND ROWNUM <= 4"));
    q.execSql();
    QCOMPARE(q.rowsAffected(), 4);
    QCOMPARE(rows(s, QStringLiteral("SELECT ENAME FROM EMP_COPY WHERE DEPTNO = 30")),
             (QStringList{"TURNER", "JAMES"}));
    q.clearSql();
    q.addSql(QStringLiteral("UPDATE EMP_COPY SET SAL = 0 WHERE ROWNUM < 2"));
    q.execSql();
    QCOMPARE(q.rowsAffected(), 1);
    QCOMPARE(rows(s, QStringLiteral("SELECT ENAME FROM EMP_COPY WHERE SAL = 0")),
             QStringList{"SMITH"});
    // Numbering rows: ROWNUM counts the rows the UPDATE changes.
    exec(s, QStringLiteral(
                "UPDATE EMP_COPY SET EMPNO = ROWNUM * 10 WHERE DEPTNO = 10 AND ROWNUM <= 2"));
    QCOMPARE(rows(s, QStringLiteral("SELECT EMPNO, ENAME FROM EMP_COPY WHERE DEPTNO = 10")),
             (QStringList{"10|CLARK", "20|KING", "7934|MILLER"}));
    exec(s, QStringLiteral("DROP TABLE EMP_COPY"));
}

// ROLLBACK TO SAVEPOINT undoes only what came after the savepoint.
void TestSqlLanguage::rollbackToSavepoint()
{
    db::Session& s = *m_scott;
    exec(s, QStringLiteral("CREATE TABLE STEPS (N NUMBER)"));
    exec(s, QStringLiteral("INSERT INTO STEPS VALUES (1)"));
    exec(s, QStringLiteral("SAVEPOINT A"));
    exec(s, QStringLiteral("INSERT INTO STEPS VALUES (2)"));
    exec(s, QStringLiteral("SAVEPOINT B"));
    exec(s, QStringLiteral("INSERT INTO STEPS VALUES (3)"));
    exec(s, QStringLiteral("ROLLBACK TO SAVEPOINT B"));
    QCOMPARE(rows(s, QStringLiteral("SELECT N FROM STEPS ORDER BY N")), (QStringList{"1", "2"}));
    exec(s, QStringLiteral("ROLLBACK TO A"));
    QCOMPARE(errorOf(s, QStringLiteral("ROLLBACK TO SAVEPOINT C")),
             QStringLiteral("ORA-01086: savepoint 'C' never established"));
    s.commit();
    QCOMPARE(rows(s, QStringLiteral("SELECT N FROM STEPS")), QStringList{"1"});
    QCOMPARE(errorOf(s, QStringLiteral("ROLLBACK TO SAVEPOINT A")),
             QStringLiteral("ORA-01086: savepoint 'A' never established"));
    exec(s, QStringLiteral("DROP TABLE STEPS"));
}

void TestSqlLanguage::merge()
{
    db::Session& s = *m_scott;
    exec(s, QStringLiteral("CREATE TABLE PAY (EMPNO NUMBER(4) PRIMARY KEY, SAL NUMBER(7,2),"
                           " NOTE VARCHAR2(10))"));
    exec(s, QStringLiteral("INSERT INTO PAY VALUES (7839, 1, 'old')"));
    exec(s, QStringLiteral("INSERT INTO PAY VALUES (7782, 2, 'old')"));
    const QString merge = QStringLiteral(
        "MERGE INTO PAY P USING (SELECT EMPNO, SAL FROM EMP WHERE DEPTNO = :D) E"
        " ON (P.EMPNO = E.EMPNO) WHEN MATCHED THEN UPDATE SET P.SAL = E.SAL, P.NOTE = 'updated' "
        "WHEN NOT MATCHED THEN INSERT (P.EMPNO, P.SAL, P.NOTE) VALUES (E.EMPNO, E.SAL * 2, 'new')");
    db::Query q(&s);
    q.addSql(merge);
    q.paramByName(QStringLiteral("D")).setAsFloat(10);
    q.execSql();
    QCOMPARE(q.rowsAffected(), 3);
    QCOMPARE(rows(s, QStringLiteral("SELECT EMPNO, SAL, NOTE FROM PAY ORDER BY EMPNO")),
             (QStringList{"7782|2450|updated", "7839|5000|updated", "7934|2600|new"}));
    // Only one clause; the target's own columns in the UPDATE.
    exec(s, QStringLiteral("MERGE INTO PAY P USING DEPT D ON (P.EMPNO = D.DEPTNO + 7924)"
                           " WHEN MATCHED THEN UPDATE SET P.SAL = P.SAL + 1"));
    QCOMPARE(rows(s, QStringLiteral("SELECT SAL FROM PAY WHERE EMPNO = 7934")),
             QStringList{"2601"});
    // A row matched twice, a column of the ON clause updated, a value too large: nothing changes.
    QCOMPARE(
        errorOf(s,
                QStringLiteral(
                    "MERGE INTO PAY P USING EMP E ON (P.NOTE = 'new') WHEN MATCHED THEN UPDATE SET "
                    "P.SAL = E.SAL")),
        QStringLiteral("ORA-30926: unable to get a stable set of rows in the source tables"));
    QCOMPARE(errorOf(s, QStringLiteral("MERGE INTO PAY P USING EMP E ON (P.EMPNO = E.EMPNO)"
                                       " WHEN MATCHED THEN UPDATE SET "
                                       "P.EMPNO = E.EMPNO")),
             QStringLiteral("ORA-38104: Columns referenced in the ON Clause cannot be updated:"
                            " \"P\".\"EMPNO\""));
    // The UPDATE had run when the INSERT failed: the statement is undone as a whole.
    QCOMPARE(
        errorOf(s,
                QStringLiteral(
                    "MERGE INTO PAY P USING (SELECT * FROM EMP WHERE ENAME IN ('KING', 'ALLEN')) E "
                    "ON (P.EMPNO = E.EMPNO) WHEN MATCHED THEN UPDATE SET P.NOTE = 'x' "
                    "WHEN NOT MATCHED THEN INSERT VALUES (E.EMPNO, E.SAL,"
                    " E.ENAME || '-too-long')")),
        QStringLiteral("ORA-12899: value too large for column \"SCOTT\".\"PAY\".\"NOTE\""
                       " (actual: 14, maximum: 10)"));
    s.commit();
    QCOMPARE(rows(s, QStringLiteral("SELECT COUNT(*) FROM PAY WHERE NOTE = 'x'")),
             QStringList{"0"});
    exec(s, QStringLiteral("DROP TABLE PAY"));
}

void TestSqlLanguage::tablesAndViewsFromQueries()
{
    db::Session& s = *m_scott;
    exec(s, QStringLiteral("CREATE TABLE RICH TABLESPACE USERS AS SELECT EMPNO, ENAME,"
                           " SAL * 12 YEARLY, HIREDATE, 'Y' FLAG FROM EMP WHERE SAL >= 3000"));
    QCOMPARE(rows(s, QStringLiteral("SELECT COLUMN_NAME, DATA_TYPE, DATA_LENGTH, DATA_PRECISION,"
                                    " DATA_SCALE, NULLABLE FROM USER_TAB_COLUMNS"
                                    " WHERE TABLE_NAME = 'RICH' ORDER BY COLUMN_ID")),
             (QStringList{"EMPNO|NUMBER|22|4|0|N", "ENAME|VARCHAR2|10|||Y", "YEARLY|NUMBER|22|||Y",
                          "HIREDATE|DATE|7|||Y", "FLAG|CHAR|1|||Y"}));
    QCOMPARE(rows(s, QStringLiteral("SELECT ENAME, YEARLY FROM RICH ORDER BY EMPNO")),
             (QStringList{"SCOTT|36000", "KING|60000", "FORD|36000"}));
    exec(s, QStringLiteral("CREATE TABLE DEPT_SIZE (DEPTNO, HEADS) AS SELECT DEPTNO, COUNT(*)"
                           " FROM EMP GROUP BY DEPTNO"));
    QCOMPARE(rows(s, QStringLiteral("SELECT * FROM DEPT_SIZE ORDER BY DEPTNO")),
             (QStringList{"10|3", "20|5", "30|6"}));
    QCOMPARE(errorOf(s, QStringLiteral("CREATE TABLE X AS SELECT SAL * 2 FROM EMP")),
             QStringLiteral("ORA-00998: must name this expression with a column alias"));
    QCOMPARE(errorOf(s, QStringLiteral("CREATE TABLE X (A) AS SELECT SAL, COMM FROM EMP")),
             QStringLiteral("ORA-01730: invalid number of column names specified"));
    exec(s, QStringLiteral("DROP TABLE RICH"));
    exec(s, QStringLiteral("DROP TABLE DEPT_SIZE"));
    // A view's computed columns have the type of their expression.
    exec(s, QStringLiteral("CREATE VIEW ORG AS SELECT LEVEL LVL, ENAME, SAL * 2 DOUBLE_SAL,"
                           " HIREDATE + 1 NEXT_DAY, 'x' FLAG FROM EMP START WITH MGR IS NULL"
                           " CONNECT BY PRIOR EMPNO = MGR"));
    QCOMPARE(rows(s, QStringLiteral("SELECT COLUMN_NAME, DATA_TYPE, DATA_LENGTH"
                                    " FROM USER_TAB_COLUMNS WHERE TABLE_NAME = 'ORG' "
                                    "ORDER BY COLUMN_ID")),
             (QStringList{"LVL|NUMBER|22", "ENAME|VARCHAR2|10", "DOUBLE_SAL|NUMBER|22",
                          "NEXT_DAY|DATE|7", "FLAG|CHAR|1"}));
    QCOMPARE(rows(s, QStringLiteral("SELECT ENAME FROM ORG WHERE LVL = 4")),
             (QStringList{"ADAMS", "SMITH"}));
    exec(s, QStringLiteral("DROP VIEW ORG"));
}

// A fixed view's public name qualifies its columns, as its owner's name does.
void TestSqlLanguage::fixedViewNameQualifiesItsColumns()
{
    auto system = m_fixture->connect(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
    const QStringList plain =
        rows(*system, QStringLiteral("SELECT POOL, NAME FROM V$SGASTAT ORDER BY 2, 1"));
    QVERIFY(!plain.isEmpty());
    QCOMPARE(rows(*system, QStringLiteral("SELECT V$SGASTAT.POOL, v$sgastat.name FROM V$SGASTAT"
                                          " ORDER BY V$SGASTAT.NAME, 1")), plain);
    QCOMPARE(
        rows(*system,
             QStringLiteral("SELECT SYS.V_$SGASTAT.POOL, NAME FROM SYS.V_$SGASTAT ORDER BY 2, 1")),
        plain);
}

QTEST_GUILESS_MAIN(TestSqlLanguage)
// Numbers beyond 15 digits are kept as text, which SQLite would sort after every other number:
// ORDER BY, MIN, MAX, GREATEST and the analytic aggregates still go by value, whether the column
// has an index or not.
void TestSqlLanguage::longNumbersSortByValue()
{
    db::Session& s = *m_scott;
    exec(s, QStringLiteral("CREATE TABLE AMOUNTS (N NUMBER, K NUMBER(9))"));
    const QStringList ascending = {"-12345678901234567890.5", "-3",
                                   ".1234567890123456789",    "9",
                                   "12345678901234567890",    "12345678901234567891",
                                   "99999999999999999999",    "100000000000000000000"};
    for (qsizetype i = ascending.size() - 1; i >= 0; --i)
        exec(s, QStringLiteral("INSERT INTO AMOUNTS VALUES (%1, %2)").arg(ascending[i]).arg(i));
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());
    const auto check = [&] {
        QCOMPARE(rows(s, QStringLiteral("SELECT N FROM AMOUNTS ORDER BY N")), ascending);
        QCOMPARE(rows(s, QStringLiteral("SELECT N X FROM AMOUNTS ORDER BY X DESC")), descending);
        QCOMPARE(rows(s, QStringLiteral("SELECT N, K FROM AMOUNTS ORDER BY 1")).first(),
                 QStringLiteral("-12345678901234567890.5|0"));
        QCOMPARE(rows(s, QStringLiteral("SELECT N FROM AMOUNTS WHERE K < 3 UNION ALL SELECT N"
                                        " FROM AMOUNTS WHERE K >= 3 ORDER BY 1")),
                 ascending);
        QCOMPARE(
            rows(s, QStringLiteral(
                        "SELECT * FROM (SELECT N FROM AMOUNTS ORDER BY N DESC) WHERE ROWNUM <= 2")),
            descending.mid(0, 2));
        QCOMPARE(rows(s, QStringLiteral("SELECT MIN(N), MAX(N), MAX(K) FROM AMOUNTS")),
                 QStringList{"-12345678901234567890.5|100000000000000000000|7"});
        QCOMPARE(
            rows(s, QStringLiteral(
                        "SELECT K, R FROM (SELECT K, RANK() OVER (ORDER BY N DESC) R FROM AMOUNTS) "
                        "WHERE K IN (4, 7) ORDER BY K DESC")),
            (QStringList{"7|1", "4|4"}));
    };
    check();
    exec(s, QStringLiteral("CREATE INDEX AMOUNTS_N ON AMOUNTS (N)"));
    check();

    // Windows: MIN and MAX over a moving frame, exact sums and ratios.
    QCOMPARE(
        rows(s, QStringLiteral(
                    "SELECT K, MAX(N) OVER (ORDER BY K ROWS BETWEEN 1 PRECEDING AND CURRENT ROW), "
                    "MIN(N) OVER (ORDER BY K ROWS BETWEEN CURRENT ROW"
                    " AND 1 FOLLOWING) FROM AMOUNTS WHERE K BETWEEN 3 AND 5 ORDER BY K")),
        (QStringList{"3|9|9", "4|12345678901234567890|12345678901234567890",
                     "5|12345678901234567891|12345678901234567891"}));
    QCOMPARE(rows(s, QStringLiteral("SELECT S, A FROM (SELECT K, SUM(N) OVER (PARTITION BY CASE"
                                    " WHEN K >= 5 THEN 1 END) S, AVG(N) OVER (PARTITION BY CASE"
                                    " WHEN K >= 5 THEN 1 END) A FROM AMOUNTS) WHERE K = 7")),
             QStringList{"212345678901234567890|70781892967078189296.66666666666666666667"});
    QCOMPARE(
        rows(s, QStringLiteral(
                    "SELECT K, PERCENT_RANK() OVER (ORDER BY N), CUME_DIST() OVER (ORDER BY N), "
                    "PERCENT_RANK() OVER (PARTITION BY K ORDER BY N) FROM AMOUNTS"
                    " WHERE K IN (1, 3, 6) ORDER BY K")),
        (QStringList{"1|0|.3333333333333333333333333333333333333333|0",
                     "3|.5|.6666666666666666666666666666666666666667|0", "6|1|1|0"}));
    QCOMPARE(
        rows(s, QStringLiteral("SELECT RATIO_TO_REPORT(K) OVER () FROM AMOUNTS WHERE K IN (1, 2)")),
        (QStringList{".6666666666666666666666666666666666666667",
                     ".3333333333333333333333333333333333333333"}));
    QCOMPARE(rows(s, QStringLiteral("SELECT SUM(K) OVER (ORDER BY K RANGE BETWEEN 1 PRECEDING"
                                    " AND CURRENT ROW) FROM AMOUNTS WHERE K <= 2 ORDER BY K")),
             (QStringList{"0", "1", "3"}));
    QCOMPARE(
        rows(s, QStringLiteral("SELECT GREATEST(12345678901234567891, 12345678901234567890, 9), "
                               "LEAST(12345678901234567891, 12345678901234567890),"
                               " CAST(99999999999999999999 AS NUMBER(20)) "
                               "FROM DUAL")),
        QStringList{"12345678901234567891|12345678901234567890|99999999999999999999"});
    QCOMPARE(
        errorOf(s, QStringLiteral("SELECT CAST(100000000000000000000 AS NUMBER(20)) FROM DUAL")),
        QStringLiteral("ORA-01438: value larger than specified precision allowed"
                       " for this column"));

    // Without long numbers left, the indexed column sorts as before.
    exec(s, QStringLiteral("DELETE FROM AMOUNTS WHERE ABS(N) > 1000 OR K = 2"));
    QCOMPARE(rows(s, QStringLiteral("SELECT N FROM AMOUNTS ORDER BY N")), (QStringList{"-3", "9"}));
    QCOMPARE(rows(s, QStringLiteral("SELECT MIN(N), MAX(N) FROM AMOUNTS")), QStringList{"-3|9"});
    exec(s, QStringLiteral("DROP TABLE AMOUNTS"));
}

// The session's NLS settings are one: V$NLS_PARAMETERS, NLS_SESSION_PARAMETERS, USERENV,
// SYS_CONTEXT and TO_CHAR's and TO_DATE's defaults agree, and ALTER SESSION changes them all for
// that session alone. The demo instance's sessions start as a Korean client's would, dates in the
// program's own format.
void TestSqlLanguage::sessionLanguageAndDateFormat()
{
    auto session = m_fixture->connect(QStringLiteral("SCOTT"), QStringLiteral("TIGER"));
    db::Session& s = *session;
    const QString settings = QStringLiteral(
        "SELECT (SELECT VALUE FROM V$NLS_PARAMETERS WHERE PARAMETER ="
        " 'NLS_DATE_LANGUAGE') || ' ' || (SELECT VALUE FROM NLS_SESSION_PARAMETERS"
        " WHERE PARAMETER = 'NLS_DATE_FORMAT') || ' ' || USERENV('LANGUAGE') || ' ' || "
        "USERENV('LANG') || ' ' || SYS_CONTEXT('USERENV', 'NLS_DATE_LANGUAGE') || ' '"
        " || SYS_CONTEXT('USERENV', 'NLS_CURRENCY') FROM DUAL");
    const QString names = QStringLiteral(
        "SELECT TO_CHAR(SYSDATE, 'DY DAY MON AM') || ' ' || TO_CHAR(SYSDATE) FROM DUAL");
    QCOMPARE(rows(s, settings),
             QStringList{"KOREAN YYYY-MM-DD HH24:MI:SS KOREAN_KOREA.KO16MSWIN949 KO KOREAN ₩"});
    QCOMPARE(rows(s, names), QStringList{"목 목요일 5월 오후 2003-05-15 14:00:00"});
    const QString hiredOn = QStringLiteral("SELECT ENAME FROM EMP WHERE HIREDATE = :D");
    QCOMPARE(rows(s, hiredOn, {{"D", "1981-11-17 00:00:00"}}), QStringList{"KING"});

    exec(s, QStringLiteral(
                "ALTER SESSION SET NLS_DATE_LANGUAGE = AMERICAN NLS_DATE_FORMAT = 'DD-MON-RR'"));
    QCOMPARE(rows(s, settings),
             QStringList{"AMERICAN DD-MON-RR KOREAN_KOREA.KO16MSWIN949 KO AMERICAN ₩"});
    QCOMPARE(rows(s, names), QStringList{"THU THURSDAY  MAY PM 15-MAY-03"});
    // The format reads and writes dates where no format is given; fetched DATE columns keep the
    // program's form.
    QCOMPARE(rows(s, QStringLiteral(
                         "SELECT ENAME, HIREDATE, 'on ' || HIREDATE, TO_DATE('17-NOV-81') FROM EMP "
                         "WHERE HIREDATE = '17-NOV-81'")),
             QStringList{"KING|1981-11-17 00:00:00|on 17-NOV-81|1981-11-17 00:00:00"});
    QCOMPARE(rows(s, hiredOn, {{"D", "17-NOV-81"}}), QStringList{"KING"});
    // Another session keeps its own settings.
    auto other = m_fixture->connect(QStringLiteral("SCOTT"), QStringLiteral("TIGER"));
    QCOMPARE(rows(*other, names), QStringList{"목 목요일 5월 오후 2003-05-15 14:00:00"});

    // The language brings its date language; the territory its currency and date format.
    exec(s, QStringLiteral("ALTER SESSION SET NLS_LANGUAGE = 'AMERICAN' NLS_TERRITORY = AMERICA"));
    QCOMPARE(rows(s, settings),
             QStringList{"AMERICAN DD-MON-RR AMERICAN_AMERICA.KO16MSWIN949 US AMERICAN $"});
    exec(s, QStringLiteral("ALTER SESSION SET NLS_LANGUAGE = KOREAN NLS_TERRITORY = KOREA"));
    QCOMPARE(rows(s, settings),
             QStringList{"KOREAN RR/MM/DD KOREAN_KOREA.KO16MSWIN949 KO KOREAN ₩"});
    QCOMPARE(rows(s, QStringLiteral("SELECT TO_CHAR(HIREDATE) FROM EMP WHERE ENAME = 'KING'")),
             QStringList{"81/11/17"});

    // What the engine cannot follow is refused, and a refused statement changes nothing.
    struct Case {
        const char* sql;
        const char* error;
    };
    const Case refused[] = {
        {"ALTER SESSION SET NLS_DATE_LANGUAGE = KLINGON",
         "ORA-12705: invalid or unknown NLS parameter value specified"},
        {"ALTER SESSION SET NLS_DATE_FORMAT = 'YYYY-NN'", "ORA-01821: date format not recognized"},
        {"ALTER SESSION SET NLS_DATE_LANGUAGE = AMERICAN NLS_SORT = GERMAN",
         "ORA-12705: invalid or unknown NLS parameter value specified"},
        {"ALTER SESSION SET NLS_NUMERIC_CHARACTERS = ',.'",
         "ORA-12705: invalid or unknown NLS parameter value specified"},
        {"ALTER SESSION SET NLS_NO_SUCH_THING = 1", "ORA-02248: invalid option for ALTER SESSION"},
        {"ALTER SESSION SET NLS_DATE_FORMAT", "ORA-00922: missing or invalid option"},
    };
    for (const Case& c : refused)
        QCOMPARE(errorOf(s, QString::fromLatin1(c.sql)), QString::fromLatin1(c.error));
    QCOMPARE(rows(s, settings),
             QStringList{"KOREAN RR/MM/DD KOREAN_KOREA.KO16MSWIN949 KO KOREAN ₩"});
    QCOMPARE(errorOf(s, QStringLiteral("ALTER SESSION SET SQL_TRACE = TRUE")), QString());
}

// A statement typed half way is refused with an ORA- error, whatever word it stops at; reading
// past the end of its words once ended the program (a ROWNUM conjunct followed by "SAL =").
void TestSqlLanguage::everyCutOfAStatementIsRefused()
{
    QCOMPARE(errorOf(*m_scott, QStringLiteral("SELECT * FROM EMP WHERE ROWNUM < 3 AND SAL =")),
             QStringLiteral("ORA-00936: missing expression"));
    auto session = m_fixture->connect(QStringLiteral("SCOTT"), QStringLiteral("TIGER"));
    const QStringList statements = {
        QStringLiteral("SELECT ENAME FROM EMP WHERE ROWNUM < 3 AND SAL = 5000 AND 2 >= ROWNUM"
                       " ORDER BY ENAME"),
        QStringLiteral("SELECT * FROM EMP WHERE ROWNUM BETWEEN 1 AND 3"
                       " AND DEPTNO IN (SELECT DEPTNO FROM DEPT WHERE LOC = 'DALLAS')"),
        QStringLiteral("SELECT LEVEL, LPAD(' ', LEVEL) || ENAME FROM EMP START WITH MGR IS NULL"
                       " CONNECT BY PRIOR EMPNO = MGR ORDER SIBLINGS BY ENAME"),
        QStringLiteral("SELECT DEPTNO, COUNT(*), SUM(SAL) OVER (PARTITION BY DEPTNO ORDER BY SAL)"
                       " FROM EMP E LEFT OUTER JOIN DEPT D USING (DEPTNO) GROUP BY DEPTNO, SAL"
                       " HAVING COUNT(*) > 1"),
        QStringLiteral("WITH T AS (SELECT EMPNO X FROM EMP) SELECT CASE WHEN X > 1 THEN 'A'"
                       " ELSE 'B' END FROM T UNION ALL SELECT DNAME FROM DEPT MINUS SELECT 'C'"
                       " FROM DUAL"),
        QStringLiteral("UPDATE EMP SET SAL = SAL * 1.1, COMM = NVL(COMM, 0) WHERE ROWNUM <= 2"
                       " AND EMPNO = 7839"),
        QStringLiteral("INSERT INTO DEPT (DEPTNO, DNAME, LOC) SELECT DEPTNO + 50, DNAME, LOC"
                       " FROM DEPT WHERE ROWNUM < 2"),
        QStringLiteral("DELETE FROM EMP WHERE 3 > ROWNUM AND SAL = (SELECT MAX(SAL) FROM EMP)"),
        QStringLiteral("CREATE TABLE T_CUT (A NUMBER(5, 2) DEFAULT 0 NOT NULL, B VARCHAR2(10)"
                       " CONSTRAINT T_CUT_U UNIQUE, CHECK (A > 0))"),
    };
    for (const QString& statement : statements) {
        const QStringList words = statement.split(QLatin1Char(' '));
        for (qsizetype n = 1; n < words.size(); ++n) {
            const QString cut = words.mid(0, n).join(QLatin1Char(' '));
            const QString error = errorOf(*session, cut);
            QVERIFY2(error.isEmpty() || error.startsWith(QLatin1String("ORA-")),
                     qPrintable(cut + u" → "_qs + error));
            errorOf(*session, QStringLiteral("ROLLBACK"));
            errorOf(*session, QStringLiteral("DROP TABLE T_CUT"));
        }
    }
}

// Text that holds quotes in q'x...x' (and national strings, N'...' and Nq'...'): a colon inside is
// text, not a bind, and a quote without its partner is refused as Oracle refuses it.
void TestSqlLanguage::stringLiteralForms()
{
    const QList<QPair<QString, QString>> values = {
        {u"q'[it's :x]'"_qs, u"it's :x"_qs},
        {u"Q'{a}b}'"_qs, u"a}b"_qs},
        {u"q'(x)'"_qs, u"x"_qs},
        {u"q'<)>'"_qs, u")"_qs},
        {u"q'!don't!'"_qs, u"don't"_qs},
        {u"Nq'[한글's]'"_qs, u"한글's"_qs},
        {u"N'가나다'"_qs, u"가나다"_qs},
        {u"n'it''s'"_qs, u"it's"_qs},
        {u"q'[]'"_qs, u""_qs},
    };
    for (const auto& [literal, value] : values) {
        const QString sql = u"SELECT "_qs + literal + u" || '|' FROM DUAL"_qs;
        QCOMPARE(rows(*m_scott, sql), QStringList{value + u'|'});
    }
    const QString unterminated = QStringLiteral("ORA-01756: quoted string not properly terminated");
    for (const QString& literal : {u"q'[abc'"_qs, u"q'[abc]"_qs, u"q'#abc"_qs, u"Nq'<x"_qs})
        QCOMPARE(errorOf(*m_scott, u"SELECT "_qs + literal + u" FROM DUAL"_qs), unterminated);
    // An identifier that only starts with Q or N is still a name.
    const QString names = QStringLiteral("SELECT Q FROM (SELECT 1 Q, 2 N FROM DUAL) WHERE N = 2");
    QCOMPARE(rows(*m_scott, names), QStringList{"1"});
}

// A CHAR column pads to its length in bytes (two a Korean character here), so Korean text that
// fits is stored, padded, and text that does not fit is refused with its byte count.
void TestSqlLanguage::charPadsToItsLengthInBytes()
{
    db::Session& s = *m_scott;
    exec(s, QStringLiteral("CREATE TABLE HANGUL (C CHAR(6))"));
    exec(s, QStringLiteral("INSERT INTO HANGUL VALUES ('가나')"));
    exec(s, QStringLiteral("INSERT INTO HANGUL VALUES ('가나다')"));
    exec(s, QStringLiteral("UPDATE HANGUL SET C = 'ab' WHERE C = '가나'"));
    QCOMPARE(rows(s, QStringLiteral("SELECT '[' || C || ']', LENGTHB(C) FROM HANGUL ORDER BY C")),
             (QStringList{"[ab    ]|6", "[가나다]|6"}));
    QCOMPARE(errorOf(s, QStringLiteral("INSERT INTO HANGUL VALUES ('가나다라')")),
             QStringLiteral("ORA-12899: value too large for column \"SCOTT\".\"HANGUL\".\"C\""
                            " (actual: 8, maximum: 6)"));
    exec(s, QStringLiteral("DROP TABLE HANGUL"));
}

#include "tst_sql_language.moc"
