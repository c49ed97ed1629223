// The creation scripts apart from the window: a table script line for line (key, column endings,
// comments), the layout of a table without key, how each kind of type is written, which index
// row is the primary key, separators under other desktops' number formats, and the view,
// synonym and sequence scripts against the demo instance.
#include "DemoDatabase.h"
#include "ScriptedUiServices.h"
#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"
#include "db/Session.h"
#include "db/Statement.h"
#include "screens/tables/ObjectScript.h"

#include <QTest>

using namespace kolmara;
using namespace kolmara::screens;

namespace {

TableScriptSource orderItemLike()
{
    TableScriptSource t;
    t.table = QStringLiteral("ITEM_PRICE");
    t.comment = QStringLiteral("품목 단가 ('기준')");
    t.columns = {
        {QStringLiteral("A"), QStringLiteral("첫째 키"), QStringLiteral("VARCHAR2"),
         QStringLiteral("8"), QStringLiteral("N")},
        {QStringLiteral("B"), QStringLiteral("둘째 키"), QStringLiteral("NUMBER"),
         QStringLiteral("3,0"), QStringLiteral("N")},
        {QStringLiteral("QTY"), QString(), QStringLiteral("NUMBER"), QStringLiteral("5,0"),
         QStringLiteral("Y")},
        {QStringLiteral("MEMO"), QStringLiteral("메모"), QStringLiteral("VARCHAR2"),
         QStringLiteral("100"), QStringLiteral("Y")},
        {QString(), QString(), QString(), QString(), QString()},  // a blank grid row
    };
    t.key = ScriptKey{QStringLiteral("PK_ITEM_PRICE"), QStringLiteral("TGHI"), QStringLiteral("30"),
                      QStringLiteral("0"), QStringLiteral("10485760"), QStringLiteral("10485760"),
                      {QStringLiteral("A"), QStringLiteral("B")}};
    t.storage = {QStringLiteral("TGHD"), QStringLiteral("65536"), QStringLiteral("0"),
                 QStringLiteral("1"),    QStringLiteral("0"),     QStringLiteral("10"),
                 QStringLiteral("40")};
    return t;
}

}  // namespace

class TestObjectScript : public QObject {
    Q_OBJECT

private slots:
    void tableScriptLineForLine();
    void tableWithoutKeyClosesOnItsLastColumn();
    void tableWithoutColumnsHasNoScript();
    void typeTexts_data();
    void typeTexts();
    void lastPrimaryKeyRowWinsWithItsOwnColumns();
    void separatorsOfOtherDesktops_data();
    void separatorsOfOtherDesktops();
    void viewSynonymAndSequence();
};

void TestObjectScript::tableScriptLineForLine()
{
    const QStringList expected = {
        QStringLiteral("/* TABLE 생성 */"),
        QStringLiteral("CREATE TABLE ITEM_PRICE("),
        QStringLiteral("       A     VARCHAR2(8)     NOT NULL,"),
        QStringLiteral("       B     NUMBER(3,0)     NOT NULL,"),
        QStringLiteral("       QTY     NUMBER(5,0)     DEFAULT 0,"),
        QStringLiteral("       MEMO     VARCHAR2(100),"),
        QStringLiteral("       CONSTRAINT PK_ITEM_PRICE PRIMARY KEY(A,B)"),
        QStringLiteral("        USING INDEX PCTFREE 30 TABLESPACE TGHI"),
        QStringLiteral("        STORAGE(INITIAL 10485760 NEXT 10485760 PCTINCREASE 0))"),
        QStringLiteral("        TABLESPACE TGHD"),
        QStringLiteral("        STORAGE(INITIAL 65536 NEXT 0 FREELISTS 1 PCTINCREASE 0)"),
        QStringLiteral("        PCTFREE 10"),
        QStringLiteral("        PCTUSED 40;"),
        QString(),
        QStringLiteral("COMMENT ON TABLE  ITEM_PRICE IS '품목 단가 (''기준'')';"),
        QStringLiteral("COMMENT ON COLUMN ITEM_PRICE.A IS '첫째 키';"),
        QStringLiteral("COMMENT ON COLUMN ITEM_PRICE.B IS '둘째 키';"),
        QStringLiteral("COMMENT ON COLUMN ITEM_PRICE.QTY IS '';"),
        QStringLiteral("COMMENT ON COLUMN ITEM_PRICE.MEMO IS '메모';"),
    };
    QCOMPARE(BuildTableScript(orderItemLike()), expected);
}

void TestObjectScript::tableWithoutKeyClosesOnItsLastColumn()
{
    TableScriptSource t = orderItemLike();
    t.key.reset();
    const QStringList lines = BuildTableScript(t);
    QCOMPARE(lines.mid(4, 3),
             (QStringList{QStringLiteral("       QTY     NUMBER(5,0)     DEFAULT 0,"),
                          QStringLiteral("       MEMO     VARCHAR2(100))"),
                          QStringLiteral("        TABLESPACE TGHD")}));
    QVERIFY(!lines.join(QLatin1Char('\n')).contains(QStringLiteral("CONSTRAINT")));

    // A NOT NULL last column keeps its NOT NULL and loses only the comma.
    t.columns = {t.columns[0]};
    QCOMPARE(BuildTableScript(t).at(2), QStringLiteral("       A     VARCHAR2(8)     NOT NULL)"));
}

void TestObjectScript::tableWithoutColumnsHasNoScript()
{
    TableScriptSource t = orderItemLike();
    t.columns = {{}};
    QVERIFY(BuildTableScript(t).isEmpty());
}

void TestObjectScript::typeTexts_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("text");
    QTest::newRow("varchar2") << "VARCHAR2" << "30" << "VARCHAR2(30)";
    QTest::newRow("char") << "CHAR" << "1" << "CHAR(1)";
    QTest::newRow("number p,s") << "NUMBER" << "10,2" << "NUMBER(10,2)";
    QTest::newRow("number p,0") << "NUMBER" << "5,0" << "NUMBER(5,0)";
    QTest::newRow("number without precision") << "NUMBER" << "," << "NUMBER";
    QTest::newRow("number, scale only") << "NUMBER" << ",0" << "NUMBER(*,0)";
    QTest::newRow("number, precision only") << "NUMBER" << "5," << "NUMBER(5)";
    QTest::newRow("date") << "DATE" << "7" << "DATE";
    QTest::newRow("clob") << "CLOB" << "4000" << "CLOB";
    QTest::newRow("long raw") << "LONG RAW" << "0" << "LONG RAW";
    QTest::newRow("timestamp") << "TIMESTAMP(6)" << "11" << "TIMESTAMP(6)";
    QTest::newRow("raw") << "RAW" << "16" << "RAW(16)";
    // Types whose length is a storage size, not a declared one.
    QTest::newRow("xmltype") << "XMLTYPE" << "2000" << "XMLTYPE";
    QTest::newRow("object type") << "SDO_GEOMETRY" << "1" << "SDO_GEOMETRY";
}

void TestObjectScript::typeTexts()
{
    QFETCH(QString, type);
    QFETCH(QString, length);
    QFETCH(QString, text);
    QCOMPARE(columnTypeText(type, length), text);
}

void TestObjectScript::lastPrimaryKeyRowWinsWithItsOwnColumns()
{
    const QList<ScriptIndex> indexes = {
        {QStringLiteral("IX_A"), QStringLiteral("Index Key"), QStringLiteral("TGHI"),
         QStringLiteral("65,536"), QStringLiteral("0"), QStringLiteral("10"), QStringLiteral("0")},
        {QStringLiteral("PK_A"), QStringLiteral("Primary Key"), QStringLiteral("INDX"),
         QStringLiteral("10,485,760"), QStringLiteral("5,242,880"), QStringLiteral("30"),
         QStringLiteral("50")},
        {QStringLiteral("IX_B"), QStringLiteral("Index Key"), QStringLiteral("TGHI"),
         QStringLiteral("65,536"), QStringLiteral("0"), QStringLiteral("10"), QStringLiteral("0")},
    };
    QList<int> loaded;
    const auto key = primaryKeyOf(indexes, [&](int row) {
        loaded << row;
        return QStringList{QStringLiteral("X"), QStringLiteral("Y")};
    });
    QVERIFY(key);
    QCOMPARE(loaded, QList<int>{1});
    QCOMPARE(key->name, QStringLiteral("PK_A"));
    QCOMPARE(key->tablespace, QStringLiteral("INDX"));
    QCOMPARE(key->initialExtent, QStringLiteral("10485760"));
    QCOMPARE(key->nextExtent, QStringLiteral("5242880"));
    QCOMPARE(key->pctFree, QStringLiteral("30"));
    QCOMPARE(key->pctIncrease, QStringLiteral("50"));
    QCOMPARE(key->columns, (QStringList{QStringLiteral("X"), QStringLiteral("Y")}));

    QVERIFY(!primaryKeyOf({indexes[0], indexes[2]}, [&](int) {
        loaded << -1;
        return QStringList();
    }));
    QCOMPARE(loaded, QList<int>{1});
}

void TestObjectScript::separatorsOfOtherDesktops_data()
{
    QTest::addColumn<QString>("shown");
    QTest::newRow("Korean, English") << QStringLiteral("10,485,760");
    QTest::newRow("German") << QStringLiteral("10.485.760");
    QTest::newRow("French") << QStringLiteral("10\u202F485\u202F760");
    QTest::newRow("Swiss") << QStringLiteral("10\u2019485\u2019760");
    QTest::newRow("plain") << QStringLiteral("10485760");
}

void TestObjectScript::separatorsOfOtherDesktops()
{
    QFETCH(QString, shown);
    QCOMPARE(plainNumber(shown), QStringLiteral("10485760"));
}

void TestObjectScript::viewSynonymAndSequence()
{
    test::DemoDatabase demo;
    test::ScriptedUiServices ui;
    db::Session session;
    session.setConnectString(QStringLiteral("SYSTEM/MANAGER@DEMO"));
    session.setLoginPrompt(false);
    session.connect();
    data::setMainSession(&session);

    QCOMPARE(BuildViewScript(QStringLiteral("V_ORDER_SUMMARY")),
             (QStringList{QStringLiteral("/* VIEW 생성 */"),
                          QStringLiteral("CREATE VIEW V_ORDER_SUMMARY")}));

    QCOMPARE(BuildSynonymScript(QStringLiteral("TGHWEB"), QStringLiteral("ORDERS")),
             (QStringList{QStringLiteral("/* SYNONYM 생성  */"),
                          QStringLiteral("CREATE SYNONYM ORDERS FOR TGHAPP.ORDERS;")}));
    db::Statement link(&session);
    link.addSql(QStringLiteral("CREATE SYNONYM TGHWEB.REMOTE_ORDERS FOR TGHAPP.ORDERS@KOLMPRD"));
    link.execute();
    QCOMPARE(BuildSynonymScript(QStringLiteral("TGHWEB"), QStringLiteral("REMOTE_ORDERS")).value(1),
             QStringLiteral("CREATE SYNONYM REMOTE_ORDERS FOR TGHAPP.ORDERS@KOLMPRD;"));
    QVERIFY(BuildSynonymScript(QStringLiteral("TGHWEB"), QStringLiteral("NO_SUCH")).isEmpty());

    // The sequence starts at its minimum value, whatever it has handed out.
    QCOMPARE(
        BuildSequenceScript(QStringLiteral("TGHAPP"), QStringLiteral("SEQ_SLIP_NO")),
        (QStringList{QStringLiteral("/* SEQUENCE 생성  */"),
                     QStringLiteral("CREATE SEQUENCE SEQ_SLIP_NO INCREMENT BY 10 START WITH 1;")}));
    QVERIFY(BuildSequenceScript(QStringLiteral("TGHAPP"), QStringLiteral("NO_SUCH")).isEmpty());
    QVERIFY(ui.messages().isEmpty());
    data::setMainSession(nullptr);
}

QTEST_MAIN(TestObjectScript)
#include "tst_objectscript.moc"
