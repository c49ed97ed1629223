// The object information screen against the demo instance: the object list of the chosen
// account by type and status as the grid and status line show it, the export read back, and a
// database error on the way.
#include "app/KOLM000U.h"
#include "common/KOLMCOMM.h"
#include "db/Query.h"
#include "db/Session.h"
#include "screens/GridCsvExport.h"
#include "screens/objects/KOLM220U.h"
#include "widgets/StringGrid.h"
#include "ConnectedDemo.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace kolmara;
using kolmara::screens::TKOLM220F;

class TestObjects : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void opensListingEveryObjectOfTheAccount();
    void typeAndStatus_data();
    void typeAndStatus();
    void eachListReplacesTheLast();
    void databaseLinksUnderTheirDictionaryType();
    void exportWritesTheList();
    void databaseErrorLeavesTheListEmpty();

private:
    TKOLM220F* openScreen(const QString& account);
    ui::StringGrid* grid() { return m_screen->findChild<ui::StringGrid*>("AdvStringGrid1"); }
    bool exportEnabled() { return m_screen->findChild<QToolButton*>("sbt_Excels")->isEnabled(); }
    void pickType(const QString& entry);
    void clickStatus(const char* button) { m_screen->findChild<QRadioButton*>(button)->click(); }
    // "NAME TYPE STATUS" of every listed row, in grid order.
    QStringList listed();

    std::unique_ptr<test::ConnectedDemo> m_env;
    TKOLM220F* m_screen = nullptr;
};

void TestObjects::init()
{
    m_env = std::make_unique<test::ConnectedDemo>();
    QVERIFY(m_env->connected);
}

void TestObjects::cleanup()
{
    m_screen = nullptr;
    m_env.reset();
}

TKOLM220F* TestObjects::openScreen(const QString& account)
{
    QComboBox* accounts = m_env->main.accountList();
    accounts->setCurrentIndex(accounts->findText(account));
    m_env->main.cbe_grantChange();
    m_screen = m_env->open<TKOLM220F>("N22");
    return m_screen;
}

void TestObjects::pickType(const QString& entry)
{
    auto* types = m_screen->findChild<QComboBox*>("cb_objecttype");
    const int index = types->findText(entry);
    QVERIFY(index >= 0);
    types->setCurrentIndex(index);
    emit types->activated(index);
}

QStringList TestObjects::listed()
{
    QStringList rows;
    for (int r = 1; r < grid()->rowCount(); ++r)
        if (!grid()->cell(1, r).isEmpty())
            rows.append(grid()->cell(1, r) + QLatin1Char(' ') + grid()->cell(2, r) +
                        QLatin1Char(' ') + grid()->cell(6, r));
    return rows;
}

void TestObjects::opensListingEveryObjectOfTheAccount()
{
    QVERIFY(openScreen(QStringLiteral("TGHEDI")));
    QCOMPARE(m_screen->windowTitle(), QStringLiteral("각종 오브젝트 정보"));
    auto* types = m_screen->findChild<QComboBox*>("cb_objecttype");
    QCOMPARE(types->count(), 12);
    QCOMPARE(types->currentText(), QStringLiteral("All"));
    QVERIFY(m_screen->findChild<QRadioButton*>("rb_all")->isChecked());

    // The four catalogue synonyms and the five program units of the EDI account.
    QCOMPARE(grid()->rowCount(), 10);
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 오브젝트목록이 조회 되었습니다... (9 건)"));
    QVERIFY(exportEnabled());
    const QStringList headers = {"Object_ID", "Object_Name", "Object_Type", "Created",
                                 "Modifyd",   "TimeStamp",   "Status"};
    for (int c = 0; c < 7; ++c)
        QCOMPARE(grid()->cell(c, 0), headers[c]);
    int body = -1;
    for (int r = 1; r < grid()->rowCount(); ++r)
        if (grid()->cell(1, r) == QLatin1String("PKG_EDI_INVOICE"))
            body = r;
    QVERIFY(body > 0);
    QVERIFY(QRegularExpression(QStringLiteral("^\\d+$")).match(grid()->cell(0, body)).hasMatch());
    QCOMPARE(grid()->cell(2, body), QStringLiteral("PACKAGE BODY"));
    const QRegularExpression stamp(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"));
    QVERIFY(stamp.match(grid()->cell(3, body)).hasMatch());
    QVERIFY(stamp.match(grid()->cell(4, body)).hasMatch());
    QCOMPARE(grid()->cell(5, body),
             QString(grid()->cell(4, body)).replace(10, 1, QLatin1Char(':')));
    QCOMPARE(grid()->cell(6, body), QStringLiteral("INVALID"));

    // The command brings the open window to the front.
    m_env->main.menuAction(QStringLiteral("N22"))->trigger();
    m_env->main.findChild<QToolButton*>("tbt_N22")->click();
    QCOMPARE(m_env->main.mdiArea()->activeSubWindow()->widget(), m_screen);
    QCOMPARE(m_env->main.mdiArea()->subWindowList().size(), 1);
}

void TestObjects::typeAndStatus_data()
{
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QByteArray>("status");
    QTest::addColumn<QStringList>("objects");  // sorted "NAME TYPE STATUS"

    QTest::newRow("Table: the tables") << "SCOTT"
                                       << "Table" << QByteArray("rb_all")
                                       << QStringList{"BONUS TABLE VALID", "DEPT TABLE VALID",
                                                      "EMP TABLE VALID", "SALGRADE TABLE VALID"};
    QTest::newRow("Package: packages and their bodies")
        << "TGHEDI"
        << "Package" << QByteArray("rb_all")
        << QStringList{"PKG_EDI_INVOICE PACKAGE BODY INVALID", "PKG_EDI_ORDER PACKAGE BODY VALID",
                       "PKG_EDI_ORDER PACKAGE VALID"};
    QTest::newRow("Package, VALID") << "TGHEDI" << "Package" << QByteArray("rb_valid")
        << QStringList{"PKG_EDI_ORDER PACKAGE BODY VALID", "PKG_EDI_ORDER PACKAGE VALID"};
    QTest::newRow("Function") << "TGHEDI" << "Function" << QByteArray("rb_all")
        << QStringList{"FN_EDI_STATUS FUNCTION VALID"};
    QTest::newRow("Procedure") << "TGHEDI" << "Procedure" << QByteArray("rb_all")
        << QStringList{"SP_EDI_PURGE PROCEDURE VALID"};
    QTest::newRow("All, INVALID") << "TGHAPP" << "All" << QByteArray("rb_invalid")
        << QStringList{"V_ORDERS_2002 VIEW INVALID"};
    QTest::newRow("Sequence") << "HR"
                              << "Sequence" << QByteArray("rb_all")
                              << QStringList{"DEPARTMENTS_SEQ SEQUENCE VALID",
                                             "EMPLOYEES_SEQ SEQUENCE VALID",
                                             "LOCATIONS_SEQ SEQUENCE VALID"};
}

void TestObjects::typeAndStatus()
{
    QFETCH(QString, account);
    QFETCH(QString, type);
    QFETCH(QByteArray, status);
    QFETCH(QStringList, objects);
    QVERIFY(openScreen(account));
    pickType(type);
    clickStatus(status.constData());
    QStringList rows = listed();
    rows.sort();
    QCOMPARE(rows, objects);
    QCOMPARE(grid()->rowCount(), objects.size() + 1);
    QCOMPARE(m_screen->statusText(),
             QStringLiteral("▶ 오브젝트목록이 조회 되었습니다... (%1 건)").arg(objects.size()));
    QVERIFY(exportEnabled());
}

void TestObjects::eachListReplacesTheLast()
{
    QVERIFY(openScreen(QStringLiteral("TGHAPP")));
    clickStatus("rb_valid");
    const int valid = grid()->rowCount() - 1;
    QVERIFY(valid > 20);
    clickStatus("rb_invalid");
    QCOMPARE(listed(), QStringList{"V_ORDERS_2002 VIEW INVALID"});
    QCOMPARE(grid()->rowCount(), 2);

    // Nothing found: an empty grid, the error line and no export, after a filled list too.
    pickType(QStringLiteral("Cluster"));
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ ALL_OBJECTS ERROR ...(0)"));
    QCOMPARE(grid()->rowCount(), 2);
    QVERIFY(listed().isEmpty());
    QVERIFY(!exportEnabled());

    // The list button lists again with the choices in force.
    pickType(QStringLiteral("All"));
    clickStatus("rb_all");
    const int all = grid()->rowCount() - 1;
    QCOMPARE(all, valid + 1);
    m_screen->findChild<QToolButton*>("sbt_select")->click();
    QCOMPARE(grid()->rowCount() - 1, all);
}

void TestObjects::databaseLinksUnderTheirDictionaryType()
{
    {
        // A private link is made by its owner.
        db::Session edi;
        edi.setServer(QStringLiteral("DEMO"));
        edi.setUsername(QStringLiteral("TGHEDI"));
        edi.setPassword(QStringLiteral("TGHEDI"));
        edi.setLoginPrompt(false);
        edi.connect();
        db::Query q(&edi);
        q.addSql(
            QStringLiteral("CREATE DATABASE LINK EDIHUB.TGH.CO.KR CONNECT TO TGHEDI IDENTIFIED BY "
                           "TGHEDI USING 'EDIHUB'"));
        q.execSql();
    }
    QVERIFY(openScreen(QStringLiteral("TGHEDI")));
    pickType(QStringLiteral("Dblink"));
    QCOMPARE(listed(), QStringList{"EDIHUB.TGH.CO.KR DATABASE LINK VALID"});
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 오브젝트목록이 조회 되었습니다... (1 건)"));
}

void TestObjects::exportWritesTheList()
{
    QVERIFY(openScreen(QStringLiteral("SCOTT")));
    const int rows = grid()->rowCount();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("objects.csv"));
    m_env->ui.answerSaveFile(path);
    m_screen->findChild<QToolButton*>("sbt_Excels")->click();
    QCOMPARE(m_env->ui.saveDialogStartPaths(),
             QStringList{QDir::toNativeSeparators(
                 QDir(screens::exportFolder()).filePath("DEMO_Oracle_Objects.Csv"))});
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 엑셀자료로 전환 완료 되었습니다..."));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines =
        QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), rows);
    QCOMPARE(lines[0],
             QStringLiteral("Object_ID,Object_Name,Object_Type,Created,Modifyd,TimeStamp,Status"));
    for (int r = 1; r < rows; ++r) {
        QStringList cells;
        for (int c = 0; c < 7; ++c)
            cells.append(grid()->cell(c, r));
        QCOMPARE(lines[r], cells.join(QLatin1Char(',')));
    }

    // Cancelled: nothing written, the status line as it was. A server named with a port and a
    // path still proposes a file in the export folder.
    m_screen->findChild<QToolButton*>("sbt_select")->click();
    QVERIFY(QFile::remove(path));
    const QString server = ConnServer;
    ConnServer = QStringLiteral("kolmdb01:1521/KOLM");
    m_env->ui.answerSaveFile(QString());
    m_screen->sbt_ExcelsClick();
    ConnServer = server;
    QVERIFY(!QFile::exists(path));
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 오브젝트목록이 조회 되었습니다... (%1 건)").arg(rows - 1));
    QCOMPARE(m_env->ui.saveDialogStartPaths().last(),
             QDir::toNativeSeparators(
                 QDir(screens::exportFolder()).filePath("kolmdb01_1521_KOLM_Oracle_Objects.Csv")));
}

void TestObjects::databaseErrorLeavesTheListEmpty()
{
    QVERIFY(openScreen(QStringLiteral("SCOTT")));
    m_env->main.session().failNthStatementForTesting(
        1, 3113, QStringLiteral("end-of-file on communication channel"));
    m_screen->findChild<QToolButton*>("sbt_select")->click();
    QCOMPARE(m_env->ui.messageTexts(),
             QStringList{"ORA-03113: end-of-file on communication channel"});
    QCOMPARE(grid()->rowCount(), 2);
    QVERIFY(listed().isEmpty());
    QVERIFY(!exportEnabled());
    QVERIFY(m_screen->statusText().isEmpty());
}

QTEST_MAIN(TestObjects)
#include "tst_objects.moc"
