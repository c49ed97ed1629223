// The user management screen against the demo instance: the user lists, the registration form of
// a registered and of a new account with their saves read back from BACKUSER_TABLE, the time lists,
// the table status and the backup log with its group-end line, and the failures on the way.
#include "app/KOLM000U.h"
#include "common/KOLMCOMM.h"
#include "db/Query.h"
#include "screens/users/KOLM320U.h"
#include "widgets/StringGrid.h"
#include "ConnectedDemo.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace kolmara;
using kolmara::screens::TKOLM320F;

namespace {

// A number written with "," between thousands, in the separator of the desktop's locale.
QString grouped(QString text)
{
    return text.replace(QLatin1Char(','), QLocale::system().groupSeparator());
}

}  // namespace

class TestUsers : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void userListsAsOpened();
    void registeredUserShowsAndUpdates();
    void newUserIsInsertedInCapitals();
    void storedTimeOnTheLists_data();
    void storedTimeOnTheLists();
    void saveNeedsAFreshClickAfterAPageChange();
    void passwordIsMaskedUntilShown();
    void refusedAndFailedSaves();
    void backupLogNewestFirstWithItsGroupEnd();
    void userWithoutLogRows();
    void failedReads();

private:
    TKOLM320F* openScreen() { return m_env->open<TKOLM320F>("N33"); }
    ui::StringGrid* grid(const char* name) { return m_screen->findChild<ui::StringGrid*>(name); }
    template <typename T>
    T* field(const char* name) { return m_screen->findChild<T*>(name); }
    QString panel(const char* name) { return field<QLabel>(name)->text(); }
    bool saveEnabled() { return field<QToolButton>("bbt_update")->isEnabled(); }
    void showPage(int index) { field<QTabWidget>("PageControl1")->setCurrentIndex(index); }
    int rowOf(const char* gridName, const QString& user);
    void clickRegistration(const QString& user);
    // The registration row as stored: password|name|time|flag|stamp, or "" when there is none.
    QString stored(const QString& account);
    void execute(const QString& sql, const QVariantMap& binds = {});

    std::unique_ptr<test::ConnectedDemo> m_env;
    TKOLM320F* m_screen = nullptr;
};

void TestUsers::init()
{
    m_env = std::make_unique<test::ConnectedDemo>();
    m_env->ui.setNow(QDateTime(QDate(2003, 5, 15), QTime(9, 41, 7)));
    QVERIFY(m_env->connected);
    m_screen = openScreen();
    QVERIFY(m_screen);
}

void TestUsers::cleanup()
{
    m_screen = nullptr;
    m_env.reset();
}

int TestUsers::rowOf(const char* gridName, const QString& user)
{
    ui::StringGrid* g = grid(gridName);
    for (int r = 1; r < g->rowCount(); ++r)
        if (g->cell(1, r) == user)
            return r;
    return -1;
}

void TestUsers::clickRegistration(const QString& user)
{
    showPage(1);
    const int row = rowOf("AdvStringGrid2", user);
    QVERIFY(row > 0);
    m_screen->AdvStringGrid2ClickCell(row);
}

QString TestUsers::stored(const QString& account)
{
    db::Query q(&m_env->main.session());
    q.addSql(QStringLiteral(
        "SELECT BACKUSER_PASSWD, BACKUSER_USERNAME, BACKUSER_TIME, BACKUSER_TYPE, BACKUSER_MDFDAT "
        "FROM BACKUSER_TABLE WHERE BACKUSER_SERVER = 'DEMO' AND BACKUSER_ACCOUNT = :A"));
    q.paramByName(QStringLiteral("A")).setAsString(account);
    q.open();
    if (q.recordCount() == 0)
        return QString();
    QStringList values;
    for (const char* column : {"BACKUSER_PASSWD", "BACKUSER_USERNAME", "BACKUSER_TIME",
                               "BACKUSER_TYPE", "BACKUSER_MDFDAT"})
        values.append(q.fieldByName(QLatin1String(column)).asText());
    return values.join(QLatin1Char('|'));
}

void TestUsers::execute(const QString& sql, const QVariantMap& binds)
{
    db::Query q(&m_env->main.session());
    q.addSql(sql);
    for (auto it = binds.begin(); it != binds.end(); ++it)
        q.paramByName(it.key()).setAsString(it.value().toString());
    q.execSql();
    db::Query commit(&m_env->main.session());
    commit.addSql(QStringLiteral("COMMIT"));
    commit.execSql();
}

void TestUsers::userListsAsOpened()
{
    QCOMPARE(m_screen->windowTitle(), QStringLiteral("사용자 유저 관리"));
    QCOMPARE(field<QTabWidget>("PageControl1")->currentIndex(), 0);
    QVERIFY(!saveEnabled());
    ui::StringGrid* users = grid("AdvStringGrid1");
    const int n = users->rowCount() - 1;
    QCOMPARE(n, 14);
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 사용자권한 정보가 조회 되었습니다... (14 건)"));
    QCOMPARE(users->cell(9, 0), QStringLiteral("INITIAL_RSRC_CONSUMER_GROUP"));

    const int scott = rowOf("AdvStringGrid1", QStringLiteral("SCOTT"));
    QVERIFY(scott > 0);
    QCOMPARE(users->cell(0, scott), QString::number(scott));
    QVERIFY(QRegularExpression(QStringLiteral("^\\d+$")).match(users->cell(2, scott)).hasMatch());
    QCOMPARE(users->cell(4, scott), QStringLiteral("OPEN"));
    QCOMPARE(users->cell(5, scott), QStringLiteral("USERS"));
    QCOMPARE(users->cell(6, scott), QStringLiteral("TEMP"));
    QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"))
                .match(users->cell(7, scott)).hasMatch());
    QCOMPARE(users->cell(4, rowOf("AdvStringGrid1", QStringLiteral("OUTLN"))),
             QStringLiteral("LOCKED"));

    // Both short lists carry the same users: number, name and id.
    for (const char* list : {"AdvStringGrid2", "AdvStringGrid4"}) {
        QCOMPARE(grid(list)->rowCount(), n + 1);
        for (int r = 1; r <= n; ++r)
            for (int c = 0; c < 3; ++c)
                QCOMPARE(grid(list)->cell(c, r), users->cell(c, r));
    }
    QCOMPARE(openScreen(), m_screen);
    // So does its command-bar button.
    m_env->main.findChild<QToolButton*>("tbt_N33")->click();
    QCOMPARE(m_env->main.mdiArea()->activeSubWindow()->widget(), m_screen);
    QCOMPARE(m_env->main.mdiArea()->subWindowList().size(), 1);
}

void TestUsers::registeredUserShowsAndUpdates()
{
    clickRegistration(QStringLiteral("SCOTT"));
    QCOMPARE(panel("pn_account"), QStringLiteral("SCOTT"));
    QCOMPARE(panel("pn_imode"), QStringLiteral("2"));
    QCOMPARE(field<QLineEdit>("ed_passwd")->text(), QStringLiteral("TIGER"));
    QCOMPARE(field<QLineEdit>("ed_username")->text(), QStringLiteral("샘플 (SCOTT)"));
    QCOMPARE(field<QComboBox>("cb_time1")->currentText(), QStringLiteral("02"));
    QCOMPARE(field<QComboBox>("cb_time2")->currentText(), QStringLiteral("30"));
    QVERIFY(field<QRadioButton>("rb_type1")->isChecked());
    QCOMPARE(panel("pn_mdfdat"), QStringLiteral("20030102 093015"));
    QVERIFY(saveEnabled());

    // The account's scheduled tables.
    ui::StringGrid* tables = grid("AdvStringGrid3");
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 백업테이블현황 정보가 조회 되었습니다... (4 건)"));
    QCOMPARE(tables->rowCount(), 5);
    QStringList rows;
    for (int r = 1; r <= 4; ++r)
        rows.append(QStringList{tables->cell(0, r), tables->cell(1, r), tables->cell(2, r),
                                tables->cell(3, r), tables->cell(4, r)}
                        .join(QLatin1Char('|')));
    QCOMPARE(rows, (QStringList{"1|BONUS|상여금|N|", "2|DEPT|부서|W|", "3|EMP|사원|D|",
                                "4|SALGRADE|급여등급|Y|"}));

    field<QLineEdit>("ed_username")->setText(QStringLiteral("샘플 계정"));
    field<QComboBox>("cb_time1")->setCurrentIndex(field<QComboBox>("cb_time1")->findText("03"));
    field<QComboBox>("cb_time2")->setCurrentIndex(field<QComboBox>("cb_time2")->findText("45"));
    field<QRadioButton>("rb_type2")->click();
    field<QToolButton>("bbt_update")->click();
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 사용자가 등록 되었습니다..."));
    QVERIFY(!saveEnabled());
    QCOMPARE(stored(QStringLiteral("SCOTT")), QStringLiteral("TIGER|샘플 계정|0345|N|20030515 094107"));
    // The form is not read back: the stamp shown stays until the user is clicked again.
    QCOMPARE(panel("pn_mdfdat"), QStringLiteral("20030102 093015"));
    clickRegistration(QStringLiteral("SCOTT"));
    QCOMPARE(panel("pn_mdfdat"), QStringLiteral("20030515 094107"));
}

void TestUsers::newUserIsInsertedInCapitals()
{
    clickRegistration(QStringLiteral("SCOTT"));
    clickRegistration(QStringLiteral("TGHWEB"));
    // Nothing of the previous user stays on the form.
    QCOMPARE(panel("pn_account"), QStringLiteral("TGHWEB"));
    QCOMPARE(panel("pn_imode"), QStringLiteral("1"));
    QVERIFY(field<QLineEdit>("ed_passwd")->text().isEmpty());
    QVERIFY(field<QLineEdit>("ed_username")->text().isEmpty());
    QCOMPARE(field<QComboBox>("cb_time1")->currentText(), QStringLiteral("01"));
    QCOMPARE(field<QComboBox>("cb_time2")->currentText(), QStringLiteral("00"));
    QVERIFY(field<QRadioButton>("rb_type2")->isChecked());
    QVERIFY(panel("pn_mdfdat").isEmpty());
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 백업테이블현황 정보가 없습니다... (0)"));
    QCOMPARE(grid("AdvStringGrid3")->rowCount(), 2);
    QVERIFY(saveEnabled());

    QTest::keyClicks(field<QLineEdit>("ed_passwd"), QStringLiteral("web2003x"));
    QCOMPARE(field<QLineEdit>("ed_passwd")->text(), QStringLiteral("WEB2003X"));
    field<QLineEdit>("ed_username")->setText(QStringLiteral("웹 서비스"));
    field<QComboBox>("cb_time1")->setCurrentIndex(3);
    field<QComboBox>("cb_time2")->setCurrentIndex(3);
    field<QRadioButton>("rb_type1")->click();
    m_screen->bbt_updateClick();
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 사용자가 등록 되었습니다..."));
    QCOMPARE(stored(QStringLiteral("TGHWEB")),
             QStringLiteral("WEB2003X|웹 서비스|0415|Y|20030515 094107"));
}

void TestUsers::storedTimeOnTheLists_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("hour");
    QTest::addColumn<QString>("minute");
    QTest::newRow("on a five") << "0230" << "02" << "30";
    QTest::newRow("rounded down to its five") << "0237" << "02" << "35";
    QTest::newRow("just past") << "1332" << "13" << "30";
    QTest::newRow("last of the day") << "2359" << "23" << "55";
    QTest::newRow("first item") << "0100" << "01" << "00";
    // Stored by some other hand: what the lists cannot show gives their first items.
    QTest::newRow("midnight") << "0010" << "01" << "10";
    QTest::newRow("hour 24") << "2400" << "01" << "00";
    QTest::newRow("no minutes") << "12" << "12" << "00";
    QTest::newRow("empty") << "" << "01" << "00";
    QTest::newRow("not digits") << "ab5x" << "01" << "00";
}

void TestUsers::storedTimeOnTheLists()
{
    QFETCH(QString, time);
    QFETCH(QString, hour);
    QFETCH(QString, minute);
    execute(QStringLiteral(
                "UPDATE BACKUSER_TABLE SET BACKUSER_TIME = :T WHERE BACKUSER_SERVER = 'DEMO' "
                "AND BACKUSER_ACCOUNT = 'HR'"),
            {{QStringLiteral("T"), time}});
    clickRegistration(QStringLiteral("HR"));
    QCOMPARE(panel("pn_imode"), QStringLiteral("2"));
    QCOMPARE(field<QComboBox>("cb_time1")->currentText(), hour);
    QCOMPARE(field<QComboBox>("cb_time2")->currentText(), minute);
    // A save writes what the lists show.
    m_screen->bbt_updateClick();
    QCOMPARE(stored(QStringLiteral("HR")).section(QLatin1Char('|'), 2, 2), hour + minute);
}

void TestUsers::saveNeedsAFreshClickAfterAPageChange()
{
    clickRegistration(QStringLiteral("SCOTT"));
    QVERIFY(saveEnabled());
    showPage(2);
    QVERIFY(!saveEnabled());
    showPage(1);
    QVERIFY(!saveEnabled());
    // Back on the page, the table status of the user last clicked is read again.
    QCOMPARE(grid("AdvStringGrid3")->rowCount(), 5);
    clickRegistration(QStringLiteral("SCOTT"));
    QVERIFY(saveEnabled());
    field<QToolButton>("sbt_select")->click();
    QVERIFY(!saveEnabled());
}

void TestUsers::passwordIsMaskedUntilShown()
{
    clickRegistration(QStringLiteral("TGHAPP"));
    auto* password = field<QLineEdit>("ed_passwd");
    QCOMPARE(password->text(), QStringLiteral("TGHAPP"));
    QCOMPARE(password->maxLength(), 30);
    QCOMPARE(password->echoMode(), QLineEdit::Password);
    field<QCheckBox>("cb_showpasswd")->click();
    QCOMPARE(password->echoMode(), QLineEdit::Normal);
    field<QCheckBox>("cb_showpasswd")->click();
    QCOMPARE(password->echoMode(), QLineEdit::Password);

    // A table dumped with a condition shows it.
    ui::StringGrid* tables = grid("AdvStringGrid3");
    QCOMPARE(tables->rowCount(), 8);
    for (int r = 1; r < tables->rowCount(); ++r)
        if (tables->cell(1, r) == QLatin1String("ORDER_ITEM"))
            QCOMPARE(tables->cell(4, r), QStringLiteral("WHERE ORDER_NO LIKE '200304%'"));
}

void TestUsers::refusedAndFailedSaves()
{
    // Without a password the job could not log in: refused, nothing stored.
    clickRegistration(QStringLiteral("TGHBAT"));
    const QString status = m_screen->statusText();
    m_screen->bbt_updateClick();
    QCOMPARE(m_env->ui.messageTexts(), QStringList{"패스워드를 입력하십시오."});
    QCOMPARE(m_env->ui.messages().last().icon, QMessageBox::Warning);
    QVERIFY(stored(QStringLiteral("TGHBAT")).isEmpty());
    QCOMPARE(m_screen->statusText(), status);
    QVERIFY(saveEnabled());

    // Registered meanwhile from another PC: the insert fails on the key and stores nothing.
    execute(QStringLiteral(
        "INSERT INTO BACKUSER_TABLE VALUES ('DEMO', 'TGHBAT', 'OTHER', '다른 PC', '0500', 'N', "
        "'20030515 090000')"));
    field<QLineEdit>("ed_passwd")->setText(QStringLiteral("TGHBAT"));
    m_screen->bbt_updateClick();
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 사용자가 등록에 에러 입니다... (-1)"));
    QCOMPARE(stored(QStringLiteral("TGHBAT")),
             QStringLiteral("OTHER|다른 PC|0500|N|20030515 090000"));
    QVERIFY(saveEnabled());
    QCOMPARE(m_env->ui.messages().size(), 1);
}

void TestUsers::backupLogNewestFirstWithItsGroupEnd()
{
    showPage(2);
    ui::StringGrid* users = grid("AdvStringGrid4");
    ui::StringGrid* log = grid("AdvStringGrid5");
    m_screen->AdvStringGrid4ClickCell(rowOf("AdvStringGrid4", QStringLiteral("SCOTT")));
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 백업테이블현황 정보가 조회 되었습니다... (7 건)"));
    QCOMPARE(log->rowCount(), 8);
    const QStringList first = {
        "1",     "20030514 020511",
        "EMP",   "사원",
        "14 건", "20030514 020512",
        "0 분",  "192.168.10.5 (D:\\KOLMARA\\BACKUP\\SCOTT\\20030514\\EMP.TXT)",
        ""};
    for (int c = 0; c < 9; ++c)
        QCOMPARE(log->cell(c, 1), first[c]);
    QCOMPARE(log->cell(1, 7), QStringLiteral("20030328 020501"));
    for (int r = 1; r <= 7; ++r)
        QCOMPARE(log->endsGroup(r), r == 7);
    QCOMPARE(log->cell(8, 7), QStringLiteral("--"));

    // Counts with separators and run times in minutes; the header row of the list does nothing.
    m_screen->AdvStringGrid4ClickCell(rowOf("AdvStringGrid4", QStringLiteral("TGHAPP")));
    int orderItem = -1;
    for (int r = 1; r < log->rowCount(); ++r)
        if (log->cell(2, r) == QLatin1String("ORDER_ITEM"))
            orderItem = r;
    QVERIFY(orderItem > 0);
    QCOMPARE(log->cell(4, orderItem), grouped("1,200") + QStringLiteral(" 건"));
    QCOMPARE(log->cell(6, orderItem), QStringLiteral("2 분"));
    const QString status = m_screen->statusText();
    m_screen->AdvStringGrid4ClickCell(0);
    QCOMPARE(m_screen->statusText(), status);
    QCOMPARE(users->rowCount(), 15);

    // Refresh reads the log of the user last chosen.
    m_screen->sbt_selectClick();
    QCOMPARE(m_screen->statusText(), status);
}

void TestUsers::userWithoutLogRows()
{
    showPage(2);
    // No user chosen yet: nothing to read.
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 백업로그 현황이 없습니다... (0)"));
    m_screen->AdvStringGrid4ClickCell(rowOf("AdvStringGrid4", QStringLiteral("SCOTT")));
    m_screen->AdvStringGrid4ClickCell(rowOf("AdvStringGrid4", QStringLiteral("TGHWEB")));
    ui::StringGrid* log = grid("AdvStringGrid5");
    QCOMPARE(log->rowCount(), 2);
    QVERIFY(log->cell(1, 1).isEmpty());
    QCOMPARE(log->cell(8, 1), QStringLiteral("--"));
    QVERIFY(log->endsGroup(1));
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 백업로그 현황이 없습니다... (0)"));
}

void TestUsers::failedReads()
{
    // The schedule table not readable: the no-rows line with -1, no message.
    showPage(1);
    m_env->main.session().failNthStatementForTesting(
        2, 942, QStringLiteral("table or view does not exist"));
    m_screen->AdvStringGrid2ClickCell(rowOf("AdvStringGrid2", QStringLiteral("SCOTT")));
    QCOMPARE(panel("pn_imode"), QStringLiteral("2"));
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 백업테이블현황 정보가 없습니다... (-1)"));
    QVERIFY(m_env->ui.messages().isEmpty());

    // The registration table not readable: the server's message, and the click goes no further.
    m_env->main.session().failNthStatementForTesting(
        1, 942, QStringLiteral("table or view does not exist"));
    const int hr = rowOf("AdvStringGrid2", QStringLiteral("HR"));
    emit grid("AdvStringGrid2")->cellClicked(1, hr);
    QCOMPARE(m_env->ui.messageTexts(), QStringList{"ORA-00942: table or view does not exist"});
    QCOMPARE(panel("pn_account"), QStringLiteral("HR"));
    QCOMPARE(panel("pn_imode"), QStringLiteral("1"));
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 백업테이블현황 정보가 없습니다... (-1)"));

    // DBA_USERS not readable: the message, every list cleared.
    showPage(0);
    m_env->main.session().failNthStatementForTesting(
        1, 942, QStringLiteral("table or view does not exist"));
    field<QToolButton>("sbt_select")->click();
    QCOMPARE(m_env->ui.messages().size(), 2);
    for (const char* list : {"AdvStringGrid1", "AdvStringGrid2", "AdvStringGrid4"}) {
        QCOMPARE(grid(list)->rowCount(), 2);
        QVERIFY(grid(list)->cell(1, 1).isEmpty());
    }
    QVERIFY(m_screen->statusText().isEmpty());
}

QTEST_MAIN(TestUsers)
#include "tst_users.moc"
