// The catalogue object creation dialog: the menu command and its refusal with open screens, the
// tablespace lists of the current account, the spin boxes' bounds, and scripts that an SQL tool
// runs as they stand (the variables filled in) into the catalogue the program reads.
#include "app/KOLM000U.h"
#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"
#include "dialogs/KOLM130U.h"
#include "ConnectedDemo.h"

#include <QAction>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

using namespace kolmara;
using kolmara::dialogs::TKOLM130F;

class TestObjectCreation : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void menuOpensItOnlyWithoutScreens();
    void tablespaceLists_data();
    void tablespaceLists();
    void sizeBoxesStayWithinTenToHundred();
    void pagesShowTheScripts();
    void scriptsCreateTheCatalogue();

private:
    QStringList items(TKOLM130F& dialog, const QString& name);

    std::unique_ptr<test::ConnectedDemo> m_env;
};

void TestObjectCreation::init()
{
    m_env = std::make_unique<test::ConnectedDemo>();
    QVERIFY(m_env->connected);
}

void TestObjectCreation::cleanup()
{
    m_env.reset();
}

QStringList TestObjectCreation::items(TKOLM130F& dialog, const QString& name)
{
    auto* list = dialog.findChild<QComboBox*>(name);
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->itemText(i);
    if (list->count() > 0 && list->currentIndex() != 0)
        out << QStringLiteral("<not the first selected>");
    return out;
}

void TestObjectCreation::menuOpensItOnlyWithoutScreens()
{
    QString caption;
    m_env->ui.onDialog([&](QDialog* dialog) {
        caption = dialog->windowTitle();
        return int(QDialog::Rejected);
    });
    m_env->main.menuAction(QStringLiteral("N16"))->trigger();
    QCOMPARE(m_env->ui.dialogsRun(), QStringList{"TKOLM130F"});
    QCOMPARE(caption, QStringLiteral("오브젝트 생성"));

    m_env->main.menuAction(QStringLiteral("N31"))->trigger();
    m_env->main.menuAction(QStringLiteral("N16"))->trigger();
    QCOMPARE(m_env->ui.dialogsRun().size(), 1);
    QCOMPARE(m_env->ui.messageTexts(),
             QStringList{"이후의 모든 환경에 영향을 줄 수 있으므로 현재 열린화면은 닫은 후 여십시오."});
}

void TestObjectCreation::tablespaceLists_data()
{
    QTest::addColumn<QString>("account");
    QTest::addColumn<QStringList>("data");
    QTest::addColumn<QStringList>("index");
    QTest::addColumn<QString>("status");
    QTest::newRow("tables in USERS, indexes in INDX")
        << "SCOTT" << QStringList{"USERS"} << QStringList{"INDX"} << "";
    QTest::newRow("no table") << "TGHWEB" << QStringList{} << QStringList{}
                              << "▶ ALL_TABLES ERROR ...(0)";
    QTest::newRow("tables but no index") << "SYS" << QStringList{"SYSTEM"} << QStringList{}
                                         << "▶ ALL_INDEXES ERROR ...(0)";
}

void TestObjectCreation::tablespaceLists()
{
    QFETCH(QString, account);
    QFETCH(QStringList, data);
    QFETCH(QStringList, index);
    QFETCH(QString, status);
    ConnUser = account;
    TKOLM130F dialog;
    dialog.show();
    QCOMPARE(dialog.findChild<QTabWidget*>("PageControl1")->currentIndex(), 0);
    for (const char* suffix : {"1", "2"}) {
        QCOMPARE(items(dialog, QStringLiteral("cb_data_tablespace") + suffix), data);
        QCOMPARE(items(dialog, QStringLiteral("cb_index_tablespace") + suffix), index);
    }
    QCOMPARE(dialog.statusText(), status);
}

void TestObjectCreation::sizeBoxesStayWithinTenToHundred()
{
    TKOLM130F dialog;
    const QList<QSpinBox*> boxes =
        dialog.findChildren<QSpinBox*>(QRegularExpression(QStringLiteral("^fse_")));
    QCOMPARE(boxes.size(), 8);
    for (QSpinBox* box : boxes) {
        QCOMPARE(box->value(), 10);
        box->setValue(9);
        QCOMPARE(box->value(), 10);
        box->setValue(101);
        QCOMPARE(box->value(), 100);
    }
}

void TestObjectCreation::pagesShowTheScripts()
{
    TKOLM130F dialog;
    auto* pages = dialog.findChild<QTabWidget*>("PageControl1");
    QStringList titles;
    for (int i = 0; i < pages->count(); ++i)
        titles << pages->tabText(i);
    QCOMPARE(titles, (QStringList{"백업관련 테이블", "백업로그 테이블", "백업사용자 테이블", "플랜관련 테이블",
                                  "GRANT/SYNONYM 생성"}));
    const QString memos[] = {TKOLM130F::backupTableScript(), TKOLM130F::backlogTableScript(),
                             TKOLM130F::backuserTableScript(), TKOLM130F::planTableScript(),
                             TKOLM130F::grantScript(), TKOLM130F::synonymScript()};
    for (int i = 0; i < 6; ++i) {
        auto* memo = dialog.findChild<QPlainTextEdit*>(QStringLiteral("Memo%1").arg(i + 1));
        QVERIFY(memo->isReadOnly());
        QCOMPARE(memo->toPlainText(), memos[i]);
        QVERIFY2(memos[i].startsWith(QLatin1Char('\n')), "every script starts with an empty line");
    }
    QVERIFY(TKOLM130F::planTableScript().endsWith(QStringLiteral("DISTRIBUTION    VARCHAR2(30))")));

    const QStringList grants = TKOLM130F::grantScript().split(QLatin1Char('\n'));
    QCOMPARE(grants.size(), 3 + 4 * 7 + 3);
    QCOMPARE(grants.mid(0, 5), (QStringList{"", "-- TGHADM/<암호> 로깅 생성", "", "-- 백업 테이블 ",
                                            "GRANT ALL ON BACKUP_TABLE TO TGHAPP;"}));
    QCOMPARE(grants.mid(9, 3),
             (QStringList{"GRANT ALL ON BACKUP_TABLE TO SYSTEM;", "", "-- 백업로그 테이블"}));
    QCOMPARE(grants.last(), QStringLiteral("GRANT ALL ON PLAN_TABLE     TO SYSTEM;"));

    const QStringList synonyms = TKOLM130F::synonymScript().split(QLatin1Char('\n'));
    QCOMPARE(synonyms.size(), 6 * 6);
    QCOMPARE(synonyms.mid(0, 6),
             (QStringList{"", "-- tghapp/<암호> 로깅 생성",
                          "create synonym BACKUP_TABLE   for tghadm.BACKUP_TABLE ;",
                          "create synonym BACKLOG_TABLE  for tghadm.BACKLOG_TABLE;",
                          "create synonym BACKUSER_TABLE for tghadm.BACKUSER_TABLE;",
                          "create synonym PLAN_TABLE     for tghadm.PLAN_TABLE;"}));
    QCOMPARE(synonyms[31], QStringLiteral("-- system/<암호> 로깅 생성"));
}

void TestObjectCreation::scriptsCreateTheCatalogue()
{
    // A fresh owner runs the four table scripts with the variables filled in, as an SQL tool
    // would; the program's own catalogue query then reads the new tables.
    db::Session& system = m_env->main.session();
    for (const char* sql : {"CREATE USER KOLMCAT IDENTIFIED BY KOLMCAT DEFAULT"
                            " TABLESPACE TGHD TEMPORARY TABLESPACE TEMP",
                            "GRANT CONNECT, RESOURCE TO KOLMCAT"}) {
        db::Query q(&system);
        q.addSql(QString::fromUtf8(sql));
        q.execSql();
    }
    db::Session owner;
    owner.setServer(QStringLiteral("DEMO"));
    owner.setUsername(QStringLiteral("KOLMCAT"));
    owner.setPassword(QStringLiteral("KOLMCAT"));
    owner.connect();
    const QHash<QString, QString> filled = {
        {"&INDEX_TABLESPACE", "TGHI"}, {"&DATA_TABLESPACE", "TGHD"}, {"&INIT_INDEX_SIZE", "10M"},
        {"&NEXT_INDEX_SIZE", "10M"},   {"&INIT_DATA_SIZE", "10M"},   {"&NEXT_DATA_SIZE", "10M"}};
    for (QString script : {TKOLM130F::backupTableScript(), TKOLM130F::backlogTableScript(),
                           TKOLM130F::backuserTableScript(), TKOLM130F::planTableScript()}) {
        for (auto it = filled.begin(); it != filled.end(); ++it)
            script.replace(it.key(), it.value());
        for (const QString& statement : script.split(QLatin1Char(';'))) {
            if (statement.trimmed().isEmpty())
                continue;
            db::Query q(&owner);
            q.addSql(statement.trimmed());
            try {
                q.execSql();
            } catch (const db::DatabaseError& e) {
                QFAIL(qPrintable(e.message() + QStringLiteral("\n") + statement));
            }
        }
    }
    data::setMainSession(&owner);
    Backupt1 = std::make_unique<data::HBACKUPT1>();
    QCOMPARE(Backupt1->GetBackupTables(QStringLiteral("DEMO"), QStringLiteral("SCOTT")), 0);
    QCOMPARE(Backupt1->InsertBackupTable("DEMO", "SCOTT", "EMP", "사원", "D", "01", "02", "", ""), 0);
    QCOMPARE(Backupt1->GetBackupTable(QStringLiteral("DEMO"), QStringLiteral("SCOTT"),
                                      QStringLiteral("EMP")),
             1);
    Backupt1.reset();
    data::setMainSession(&system);
    db::Query comments(&owner);
    comments.addSql(
        QStringLiteral("SELECT TABLE_NAME, COMMENTS FROM USER_TAB_COMMENTS ORDER BY TABLE_NAME"));
    comments.open();
    QStringList tables;
    for (; !comments.eof(); comments.next())
        tables << comments.field(0).asText() + QLatin1Char(' ') + comments.field(1).asText();
    QCOMPARE(tables, (QStringList{"BACKLOG_TABLE 백업정보", "BACKUP_TABLE 백업대상", "BACKUSER_TABLE 백업유저",
                                  "PLAN_TABLE "}));
}

QTEST_MAIN(TestObjectCreation)
#include "tst_objectcreation.moc"
