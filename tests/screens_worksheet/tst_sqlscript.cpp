// The worksheet's reading of SQL text without a database: how a script splits into statements and
// of which kind, which statement the cursor is in, where a PL/SQL unit's error lines start, and
// the highlighter's colours over lines that continue a comment or a string.
#include "screens/worksheet/SqlHighlighter.h"
#include "screens/worksheet/SqlScript.h"

#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

using namespace kolmara::screens;

namespace {

QChar letterOf(StatementKind kind)
{
    switch (kind) {
    case StatementKind::Query:
        return QLatin1Char('Q');
    case StatementKind::Dml:
        return QLatin1Char('D');
    case StatementKind::PlsqlBlock:
        return QLatin1Char('B');
    case StatementKind::PlsqlUnit:
        return QLatin1Char('U');
    case StatementKind::Commit:
        return QLatin1Char('C');
    case StatementKind::Rollback:
        return QLatin1Char('R');
    case StatementKind::SqlPlus:
        return QLatin1Char('P');
    case StatementKind::Other:
        break;
    }
    return QLatin1Char('O');
}

}  // namespace

class TestSqlScript : public QObject {
    Q_OBJECT

private slots:
    void splitsAsSqlPlusDoes_data();
    void splitsAsSqlPlusDoes();
    void statementUnderTheCursor();
    void execKeepsTheEditorPositions();
    void plsqlUnits_data();
    void plsqlUnits();
    void errorLinesInTheEditor();
    void invalidIdentifierIsFoundInTheText();
    void highlighterCarriesCommentsAndStrings();
};

void TestSqlScript::splitsAsSqlPlusDoes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QString>("kinds");

    QTest::newRow("semicolons") << QStringLiteral("SELECT 1 FROM DUAL;\nselect 2 from dual;")
                                << QStringList{"SELECT 1 FROM DUAL", "select 2 from dual"}
                                << QStringLiteral("QQ");
    QTest::newRow("two on one line, parenthesised and WITH")
        << QStringLiteral("(SELECT 1 FROM DUAL);WITH X AS (SELECT 1 A FROM DUAL) SELECT A FROM X")
        << QStringList{"(SELECT 1 FROM DUAL)", "WITH X AS (SELECT 1 A FROM DUAL) SELECT A FROM X"}
        << QStringLiteral("QQ");
    QTest::newRow("semicolons in quotes and comments")
        << QStringLiteral("SELECT ';', q'[a;b']', \"X;\" FROM DUAL -- c;d\n;")
        << QStringList{"SELECT ';', q'[a;b']', \"X;\" FROM DUAL"} << QStringLiteral("Q");
    QTest::newRow("a slash inside a block comment")
        << QStringLiteral("/* first;\n/\n*/ SELECT 1 FROM DUAL;")
        << QStringList{"SELECT 1 FROM DUAL"} << QStringLiteral("Q");
    QTest::newRow("a string over two lines")
        << QStringLiteral("INSERT INTO T VALUES ('a;\n/\nb');")
        << QStringList{"INSERT INTO T VALUES ('a;\n/\nb')"} << QStringLiteral("D");
    QTest::newRow("blank line ends a SQL statement")
        << QStringLiteral("SELECT *\n  FROM EMP\n   \nSELECT * FROM DEPT")
        << QStringList{"SELECT *\n  FROM EMP", "SELECT * FROM DEPT"} << QStringLiteral("QQ");
    QTest::newRow("slash ends a pending SQL statement")
        << QStringLiteral("UPDATE T SET A = 1\n/\n/\n") << QStringList{"UPDATE T SET A = 1"}
        << QStringLiteral("D");
    QTest::newRow("PL/SQL block keeps semicolons and blank lines")
        << QStringLiteral("BEGIN\n  NULL;\n\n  NULL;\nEND;\n/\nSELECT 1 FROM DUAL;")
        << QStringList{"BEGIN\n  NULL;\n\n  NULL;\nEND;", "SELECT 1 FROM DUAL"}
        << QStringLiteral("BQ");
    QTest::newRow("package and body")
        << QStringLiteral(
               "CREATE OR REPLACE PACKAGE P AS\n  PROCEDURE X;\nEND;\n/\n"
               "create or replace editionable package body P as\n"
               "  procedure X is begin null; end;\nend;\n/")
        << QStringList{"CREATE OR REPLACE PACKAGE P AS\n  PROCEDURE X;\nEND;",
                       "create or replace editionable package body P as\n"
                       "  procedure X is begin null; end;\nend;"}
        << QStringLiteral("UU");
    QTest::newRow("a table, then a trigger with binds")
        << QStringLiteral(
               "CREATE TABLE T (A NUMBER);\nCREATE OR REPLACE TRIGGER TR\n"
               "BEFORE INSERT ON T FOR EACH ROW\nBEGIN\n  :NEW.A := 1;\nEND;\n/")
        << QStringList{"CREATE TABLE T (A NUMBER)",
                       "CREATE OR REPLACE TRIGGER TR\nBEFORE INSERT ON T FOR EACH ROW\nBEGIN\n"
                       "  :NEW.A := 1;\nEND;"}
        << QStringLiteral("OU");
    QTest::newRow("transactions and an unterminated last statement")
        << QStringLiteral("COMMIT;\nROLLBACK WORK;\nROLLBACK TO SAVEPOINT A;\nDELETE FROM T")
        << QStringList{"COMMIT", "ROLLBACK WORK", "ROLLBACK TO SAVEPOINT A", "DELETE FROM T"}
        << QStringLiteral("CROD");
    QTest::newRow("SQL*Plus lines, SET TRANSACTION and EXEC")
        << QStringLiteral(
               "SET SERVEROUTPUT ON\nPROMPT hi;\n@setup.sql\n"
               "SET TRANSACTION READ ONLY;\nEXEC DBMS_OUTPUT.PUT_LINE('x');")
        << QStringList{"SET SERVEROUTPUT ON", "PROMPT hi;", "@setup.sql",
                       "SET TRANSACTION READ ONLY", "BEGIN DBMS_OUTPUT.PUT_LINE('x'); END;"}
        << QStringLiteral("PPPOB");
    QTest::newRow("only comments and blanks")
        << QStringLiteral("-- nothing\n\n/* here */\n") << QStringList() << QString();
}

void TestSqlScript::splitsAsSqlPlusDoes()
{
    QFETCH(QString, text);
    QFETCH(QStringList, statements);
    QFETCH(QString, kinds);
    QStringList texts;
    QString letters;
    for (const ScriptStatement& s : splitScript(text)) {
        texts.append(s.text);
        letters.append(letterOf(s.kind));
        if (s.prefix == 0)
            QCOMPARE(text.mid(s.start, s.end - s.start), s.text);
    }
    QCOMPARE(texts, statements);
    QCOMPARE(letters, kinds);
}

void TestSqlScript::statementUnderTheCursor()
{
    const QString text = QStringLiteral("SELECT 1 FROM DUAL;  \n\nSELECT 2\n  FROM DUAL;\n");
    const QList<ScriptStatement> s = splitScript(text);
    QCOMPARE(s.size(), 2);
    const struct {
        int cursor;
        int statement;
    } cases[] = {
        {0, 0},
        {19, 0},  // just after the semicolon
        {21, 0},  // the blanks after it on its line
        {22, 1},  // the empty line between
        {int(text.indexOf("FROM DUAL;\n")), 1},
        {int(text.size()), 1},  // past the end: the last one
    };
    for (const auto& c : cases)
        QVERIFY2(statementAt(s, c.cursor) == c.statement, qPrintable(QString::number(c.cursor)));
    QCOMPARE(statementAt({}, 0), -1);
    QCOMPARE(s[1].line, 2);
}

void TestSqlScript::execKeepsTheEditorPositions()
{
    const QString text = QStringLiteral("\nexec  P(1, 'a');");
    const QList<ScriptStatement> s = splitScript(text);
    QCOMPARE(s.size(), 1);
    QCOMPARE(s[0].text, QStringLiteral("BEGIN P(1, 'a'); END;"));
    // The server's position 6 is the P the editor has at 7; a position inside "BEGIN " means the
    // start of what the user wrote.
    QCOMPARE(s[0].editorOffset(6), 7);
    QCOMPARE(s[0].editorOffset(9), 10);
    QCOMPARE(s[0].editorOffset(2), 7);
}

void TestSqlScript::plsqlUnits_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("unit");  // "TYPE|OWNER|NAME", empty when not a unit
    QTest::addColumn<QString>("linesFrom");

    QTest::newRow("qualified procedure")
        << QStringLiteral("CREATE OR REPLACE PROCEDURE scott.raise_sal AS BEGIN NULL; END;")
        << QStringLiteral("PROCEDURE|SCOTT|RAISE_SAL") << QStringLiteral("PROCEDURE");
    QTest::newRow("quoted package body")
        << QStringLiteral("create package body \"MyPkg\" is end;")
        << QStringLiteral("PACKAGE BODY||MyPkg") << QStringLiteral("package");
    QTest::newRow("editionable type body")
        << QStringLiteral("CREATE OR REPLACE EDITIONABLE TYPE BODY T AS END;")
        << QStringLiteral("TYPE BODY||T") << QStringLiteral("TYPE");
    QTest::newRow("trigger: lines count from its block")
        << QStringLiteral(
               "CREATE OR REPLACE TRIGGER TR\nBEFORE INSERT ON T FOR EACH ROW\n"
               "WHEN (NEW.A > 0)\nDECLARE\n  X NUMBER;\nBEGIN NULL; END;")
        << QStringLiteral("TRIGGER||TR") << QStringLiteral("DECLARE");
    QTest::newRow("a table is no unit")
        << QStringLiteral("CREATE TABLE T (A NUMBER)") << QString() << QString();
}

void TestSqlScript::plsqlUnits()
{
    QFETCH(QString, statement);
    QFETCH(QString, unit);
    QFETCH(QString, linesFrom);
    const PlsqlUnit u = parsePlsqlUnit(statement);
    QCOMPARE(u.valid, !unit.isEmpty());
    if (!u.valid)
        return;
    QCOMPARE(u.type + QLatin1Char('|') + u.owner + QLatin1Char('|') + u.name, unit);
    QCOMPARE(u.linesFrom, int(statement.indexOf(linesFrom)));
}

void TestSqlScript::errorLinesInTheEditor()
{
    const QString text = QStringLiteral("AB\nCDEF\nG");
    QCOMPARE(offsetOfLine(text, 0, 1, 1), 0);
    QCOMPARE(offsetOfLine(text, 1, 1, 2), 2);  // line 1 counts from its base
    QCOMPARE(offsetOfLine(text, 0, 2, 3), 5);
    QCOMPARE(offsetOfLine(text, 0, 2, 99), 7);  // held to the line's end
    QCOMPARE(offsetOfLine(text, 0, 9, 1), int(text.size()));
    int line = 0, column = 0;
    lineAndColumn(text, 5, &line, &column);
    QCOMPARE(QPoint(line, column), QPoint(2, 3));
    lineAndColumn(text, 0, &line, &column);
    QCOMPARE(QPoint(line, column), QPoint(1, 1));
}

void TestSqlScript::invalidIdentifierIsFoundInTheText()
{
    const QString sql = QStringLiteral("SELECT 'enamx', e.enamx FROM EMP E -- enamx");
    QCOMPARE(invalidIdentifierPosition(
                 sql, QStringLiteral("ORA-00904: \"E\".\"ENAMX\": invalid identifier")),
             int(sql.indexOf("enamx FROM")));
    QCOMPARE(
        invalidIdentifierPosition(sql, QStringLiteral("ORA-00904: \"NOPE\": invalid identifier")),
        -1);
    QCOMPARE(
        invalidIdentifierPosition(sql, QStringLiteral("ORA-00942: table or view does not exist")),
        -1);
}

void TestSqlScript::highlighterCarriesCommentsAndStrings()
{
    QTextDocument doc;
    SqlHighlighter h(&doc);
    doc.setPlainText(
        QStringLiteral("SELECT 'a -- b', q'{x\ny}' /* c\nd */ FROM T WHERE X = :B1 -- e"));
    h.rehighlight();  // a new highlighter colours from the event loop; the test does not wait
    // The colour the highlighter gave the character at (block, column); none where it gave none.
    auto formatAt = [&](int block, int column) {
        for (const QTextLayout::FormatRange& r : doc.findBlockByNumber(block).layout()->formats())
            if (column >= r.start && column < r.start + r.length)
                return r.format.foreground().color();
        return QColor();
    };
    const QString line1 = doc.findBlockByNumber(1).text();
    const QString line2 = doc.findBlockByNumber(2).text();
    QCOMPARE(formatAt(0, 0), h.keywordFormat().foreground().color());  // SELECT
    QCOMPARE(formatAt(0, 10), h.stringFormat().foreground().color());  // the "--" in the string
    QCOMPARE(formatAt(0, 17), h.stringFormat().foreground().color());  // q'{x
    QCOMPARE(formatAt(1, 0), h.stringFormat().foreground().color());   // y}' continues it
    QCOMPARE(formatAt(1, int(line1.indexOf("/*")) + 3), h.commentFormat().foreground().color());
    QCOMPARE(formatAt(2, 0), h.commentFormat().foreground().color());  // d */ continues it
    QCOMPARE(formatAt(2, int(line2.indexOf("FROM"))), h.keywordFormat().foreground().color());
    QCOMPARE(formatAt(2, int(line2.indexOf("T WHERE"))), QColor());
    QCOMPARE(formatAt(2, int(line2.indexOf(":B1")) + 1), h.bindFormat().foreground().color());
    QCOMPARE(formatAt(2, int(line2.indexOf("-- e")) + 3), h.commentFormat().foreground().color());
}

QTEST_MAIN(TestSqlScript)
#include "tst_sqlscript.moc"
