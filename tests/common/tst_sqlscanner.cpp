// The SQL scanner on its own: which binds a statement has (quotes of every kind, comments), how a
// script splits at ";" and "/", and where a line continuing a string or comment picks up.
#include "common/SqlScanner.h"

#include <QTest>

using namespace kolmara::sql;

class TestSqlScanner : public QObject {
    Q_OBJECT

private slots:
    void binds_data();
    void binds();
    void statements_data();
    void statements();
    void linesCarryTheirState();
    void seedScriptLinesInsideAStringAreText();
    void positions();
};

void TestSqlScanner::binds_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("binds");
    QTest::newRow("plain, numbered, # and $, once each")
        << "SELECT :a, :B_1, :file#, :x$, :1, :A FROM T"
        << QStringList{"A", "B_1", "FILE#", "X$", "1"};
    QTest::newRow("no bind: :=, a lone colon, a date format")
        << "BEGIN X := 1; END; SELECT TO_CHAR(D, 'HH24:MI') FROM T WHERE A = : B" << QStringList{};
    QTest::newRow("string with a doubled quote") << "SELECT 'it''s :x' , :y FROM DUAL"
        << QStringList{"Y"};
    QTest::newRow("national string") << "SELECT N'한 :x', n':z' || :y FROM DUAL" << QStringList{"Y"};
    QTest::newRow("quoted name") << "SELECT \":X\" FROM T WHERE \"A\"\"B\" = :v"
        << QStringList{"V"};
    QTest::newRow("q-quote [] with a lone quote inside") << "SELECT q'[it's :x]' X FROM DUAL"
        << QStringList{};
    QTest::newRow("q-quotes {} () <> and a character of its own")
        << "SELECT Q'{a' :a}', q'(b' :b)', q'<c' :c>', q'!d' :d!', :e FROM DUAL"
        << QStringList{"E"};
    QTest::newRow("Nq-quote") << "SELECT Nq'[x' :x]', nQ'#y' :y#' FROM DUAL" << QStringList{};
    QTest::newRow("a word ending in q is no q-quote") << "SELECT seq':x' FROM DUAL"
        << QStringList{};
    QTest::newRow("comments") << "SELECT 1 /* :a\n :b */ FROM T -- :c\nWHERE D = :d"
        << QStringList{"D"};
    QTest::newRow("over lines: string, q-quote, quoted name")
        << "SELECT 'a\n:x', q'[b\n:y]', \"c\n:z\", :w FROM DUAL" << QStringList{"W"};
    QTest::newRow("unterminated string hides the rest") << "SELECT :a, 'open :b"
        << QStringList{"A"};
    QTest::newRow("unterminated q-quote hides the rest") << "SELECT :a, q'[open :b]"
        << QStringList{"A"};
    QTest::newRow("unterminated comment hides the rest") << "SELECT :a /* :b" << QStringList{"A"};
}

void TestSqlScanner::binds()
{
    QFETCH(QString, sql);
    QFETCH(QStringList, binds);
    QCOMPARE(bindNames(sql), binds);
}

void TestSqlScanner::statements_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("statements");
    QTest::newRow("semicolons, two on a line, trailing text")
        << "CREATE TABLE T (A NUMBER);\nINSERT INTO T VALUES (1); COMMIT;\nSELECT * FROM T"
        << QStringList{"CREATE TABLE T (A NUMBER)", "INSERT INTO T VALUES (1)", "COMMIT",
                       "SELECT * FROM T"};
    QTest::newRow("semicolons quoted or in comments do not end one")
        << "SELECT ';', q'[;]', \";\" FROM DUAL -- ;\n/* ;\n; */ ;"
        << QStringList{"SELECT ';', q'[;]', \";\" FROM DUAL -- ;\n/* ;\n; */"};
    QTest::newRow("a lone slash line ends one; empty ones are dropped")
        << "BEGIN NULL; END\n  /  \n;;\nSELECT 1 FROM DUAL\n/"
        << QStringList{"BEGIN NULL", "END", "SELECT 1 FROM DUAL"};
    QTest::newRow("a slash inside a string over lines is text")
        << "INSERT INTO T VALUES ('a\n/\nb');" << QStringList{"INSERT INTO T VALUES ('a\n/\nb')"};
    QTest::newRow("CR LF lines") << "SELECT 1 FROM DUAL;\r\nSELECT 2 FROM DUAL;\r\n"
                                 << QStringList{"SELECT 1 FROM DUAL", "SELECT 2 FROM DUAL"};
}

void TestSqlScanner::statements()
{
    QFETCH(QString, text);
    QFETCH(QStringList, statements);
    QCOMPARE(splitStatements(text), statements);
}

void TestSqlScanner::linesCarryTheirState()
{
    using Kind = SqlToken::Kind;
    int state = ScanState::Code;
    QList<SqlToken> t = scanLine(QStringLiteral("SELECT q'<a"), state);
    QCOMPARE(state, ScanState::QuoteBase + '>');
    QCOMPARE(t.last().kind, Kind::String);
    t = scanLine(QStringLiteral("b'> x>' /* c"), state);
    QCOMPARE(state, ScanState::BlockComment);
    QCOMPARE(t.size(), 2);
    QCOMPARE(t[0].kind, Kind::String);
    QCOMPARE(t[0].length, 7);
    QCOMPARE(t[1].kind, Kind::Comment);
    t = scanLine(QStringLiteral("*/ :b 1.5e3 \"Q"), state);
    QCOMPARE(state, ScanState::QuotedName);
    QCOMPARE(t.size(), 4);
    QCOMPARE(t[1].kind, Kind::Bind);
    QCOMPARE(t[2].kind, Kind::Number);
    QCOMPARE(t[2].length, 5);
    t = scanLine(QStringLiteral("\" 'x"), state);
    QCOMPARE(state, ScanState::String);
    t = scanLine(QStringLiteral("''y' ;"), state);
    QCOMPARE(state, ScanState::Code);
    QCOMPARE(t.size(), 2);
    QCOMPARE(t[0].length, 4);
    QCOMPARE(t[1].kind, Kind::Symbol);

    // Offsets of a whole text count its line breaks.
    const QString text = QStringLiteral("A\n  :b");
    t = scanText(text);
    QCOMPARE(t.size(), 2);
    QCOMPARE(t[1].start, 4);
    QCOMPARE(text.mid(t[1].start, t[1].length), QStringLiteral(":b"));
}

void TestSqlScanner::seedScriptLinesInsideAStringAreText()
{
    // The shapes of the seed scripts: CR LF, comment lines before and inside a statement, a ";"
    // on a line of its own, "/" after a statement and alone, PL/SQL units keeping their ";"s and
    // their comments, a last statement without an end.
    QCOMPARE(splitSeedScript(QStringLiteral(
                 "-- lead\r\n\r\nCREATE TABLE T (A NUMBER)\r\n;\r\nINSERT INTO T\r\n-- mid\r\n"
                 "VALUES (1);\r\nSELECT 1 FROM DUAL\n/\n/\n"
                 "CREATE OR REPLACE TRIGGER X BEFORE INSERT ON T\nBEGIN\n  -- kept\n"
                 "  NULL;\nEND;\n/\n"
                 "CREATE PROCEDURE P IS BEGIN NULL; END;\n/\nSELECT 2 FROM DUAL")),
             (QStringList{"CREATE TABLE T (A NUMBER)", "INSERT INTO T\nVALUES (1)",
                          "SELECT 1 FROM DUAL",
                          "CREATE OR REPLACE TRIGGER X BEFORE INSERT ON T\nBEGIN\n  -- kept\n"
                          "  NULL;\nEND;",
                          "CREATE PROCEDURE P IS BEGIN NULL; END;", "SELECT 2 FROM DUAL"}));
    QCOMPARE(splitSeedScript(QString()), QStringList());

    // A line ending in ";" or holding only "/" inside a string or comment does not end the
    // statement; "--" lines in it stay too.
    QCOMPARE(splitSeedScript(QStringLiteral("INSERT INTO T VALUES ('a;\n/\n-- b\nc');\n"
                                            "/* x;\n*/ SELECT 1 FROM DUAL;\n")),
             (QStringList{"INSERT INTO T VALUES ('a;\n/\n-- b\nc')",
                          "/* x;\n*/ SELECT 1 FROM DUAL"}));
}

void TestSqlScanner::positions()
{
    const QString text = QStringLiteral("SELECT\n  X\nFROM");
    int line = 0;
    int column = 0;
    lineAndColumn(text, 9, &line, &column);
    QCOMPARE(line, 2);
    QCOMPARE(column, 3);
    lineAndColumn(text, 999, &line, &column);
    QCOMPARE(line, 3);
    QCOMPARE(column, 5);
    QCOMPARE(offsetOfLine(text, 0, 2, 3), 9);
    QCOMPARE(offsetOfLine(text, 0, 2, 99), 10);  // clamped to the line's end
    QCOMPARE(offsetOfLine(text, 0, 9, 1), int(text.size()));
}

QTEST_GUILESS_MAIN(TestSqlScanner)
#include "tst_sqlscanner.moc"
