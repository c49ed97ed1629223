// The table manager against the demo instance, driven as a DBA would: the list and its filters,
// finding a table with Enter, the check boxes and the select-all box, the layout, index,
// constraint and trigger pages, the script page (every table of the demo instance is recreated
// from its script on the engine and compared), the backup tab with its schedule codes and its
// save, the CSV exports and the output menu, and the error lines of failed loads.
#include "app/KOLM000U.h"
#include "common/KOLMCOMM.h"
#include "common/SqlScanner.h"
#include "data/SharedSlots.h"
#include "db/Query.h"
#include "db/Session.h"
#include "db/Statement.h"
#include "screens/tables/KOLM210U.h"
#include "widgets/StringGrid.h"
#include "ConnectedDemo.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace kolmara;
using kolmara::screens::TKOLM210F;

namespace {

using Row = QStringList;

QList<Row> select(db::Session& s, const QString& sql)
{
    db::Query q(&s);
    q.sql() = sql.split(QLatin1Char('\n'));
    q.open();
    QList<Row> out;
    for (q.first(); !q.eof(); q.next()) {
        Row r;
        for (int i = 0; i < q.fieldCount(); ++i)
            r.append(q.field(i).asText());
        out.append(r);
    }
    return out;
}

void exec(db::Session& s, const QString& sql)
{
    db::Statement st(&s);
    st.sql() = sql.split(QLatin1Char('\n'));
    st.execute();
    s.commit();
}

}  // namespace

class TestTableManager : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensWithTheListAndTheFirstLayout();
    void typeListFilters_data();
    void typeListFilters();
    void layoutShowsNumbersKeysAndDefaults();
    void enterFindsTheTable();
    void checkBoxesAndSelectAll();
    void headerClickSorts();
    void indexPageNamesOnlyThePrimaryKey_data();
    void indexPageNamesOnlyThePrimaryKey();
    void constraintAndTriggerPages();
    void scriptPage();
    void everyDemoTableScriptRecreatesItsTable();
    void backupTabShowsStoredScheduleAndUpdatesIt();
    void tableWithoutScheduleIsInsertedThenUpdated();
    void severalCheckedTablesKeepWhatIsTheirs();
    void checkedViewsAreRefused();
    void cycleListsAndCodesOutsideThem();
    void saveWithNothingCheckedSavesNothing();
    void unreadableCatalogueFailsOnSave();
    void csvExportsAndTheOutputMenu();
    void failedLoadsShowTheirLines();
    void panesFollowTheWindow();

private:
    TKOLM210F* openScreen(const QString& owner = QStringLiteral("TGHAPP"));
    ui::StringGrid* grid(const char* name) const;
    template <typename T>
    T* child(const char* name) const
    {
        T* found = m_screen->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    int rowOf(const QString& table) const;
    void chooseTable(const QString& table);
    void showPage(int page);
    void check(const QString& table);
    db::Session& session() { return m_env->main.session(); }

    std::unique_ptr<test::ConnectedDemo> m_env;
    TKOLM210F* m_screen = nullptr;
};

void TestTableManager::init()
{
    m_env = std::make_unique<test::ConnectedDemo>();
    QVERIFY(m_env->connected);
    m_env->main.resize(1200, 860);
}

void TestTableManager::cleanup()
{
    m_screen = nullptr;
    m_env.reset();
}

TKOLM210F* TestTableManager::openScreen(const QString& owner)
{
    ConnUser = owner;
    const bool open = m_screen != nullptr;
    m_env->main.menuAction(QStringLiteral("N21"))->trigger();
    auto* sub = m_env->main.mdiArea()->activeSubWindow();
    m_screen = sub ? qobject_cast<TKOLM210F*>(sub->widget()) : nullptr;
    // An open window comes to the front as it is; the list button reads the new account.
    if (open && m_screen)
        m_screen->bbt_selectClick();
    return m_screen;
}

ui::StringGrid* TestTableManager::grid(const char* name) const
{
    return child<ui::StringGrid>(name);
}

int TestTableManager::rowOf(const QString& table) const
{
    ui::StringGrid* list = grid("AdvStringGrid1");
    for (int r = 1; r < list->rowCount(); ++r)
        if (list->cell(1, r) == table)
            return r;
    return -1;
}

void TestTableManager::chooseTable(const QString& table)
{
    const int row = rowOf(table);
    QVERIFY2(row > 0, qPrintable(table));
    m_screen->SelectTable(row);
}

void TestTableManager::showPage(int page)
{
    child<QTabWidget>("PageControl1")->setCurrentIndex(page);
}

void TestTableManager::check(const QString& table)
{
    ui::StringGrid* list = grid("AdvStringGrid1");
    const int row = rowOf(table);
    list->setCheckBoxState(3, row, true);
    m_screen->checkBoxToggled(row, true);
}

void TestTableManager::opensWithTheListAndTheFirstLayout()
{
    QVERIFY(openScreen());
    QCOMPARE(m_screen->windowTitle(), QStringLiteral("테이블관리"));
    ui::StringGrid* list = grid("AdvStringGrid1");
    const QList<Row> objects =
        select(session(), QStringLiteral("SELECT TABLE_NAME, TABLE_TYPE FROM ALL_TAB_COMMENTS "
                                         "WHERE OWNER = 'TGHAPP' ORDER BY TABLE_NAME"));
    const int n = int(objects.size());
    QCOMPARE(list->rowCount(), n + 1);
    for (int r = 1; r <= n; ++r) {
        QCOMPARE(list->cell(0, r), QString::number(r));
        QCOMPARE(list->cell(1, r), objects[r - 1][0]);
        QCOMPARE(list->cell(4, r), objects[r - 1][1]);
        QCOMPARE(list->cell(5, r), QStringLiteral("N"));
        QVERIFY(list->hasCheckBox(3, r) && !list->checkBoxState(3, r));
    }
    QCOMPARE(child<QLabel>("lb_DataCnt")->text(), QStringLiteral("검색건수 : %1 건").arg(n));
    // The first object is chosen and its layout shown.
    QCOMPARE(child<QLineEdit>("ed_select")->text(), QStringLiteral("BRANCH"));
    QCOMPARE(child<QLabel>("pn_tablename")->text(), QStringLiteral("지점"));
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ BRANCH(지점) 테이블 레이아웃이 조회 되었습니다..."));
    QCOMPARE(grid("AdvStringGrid2")->cell(1, 1), QStringLiteral("BRANCH_CD"));
    QVERIFY(child<QToolButton>("bbt_Excels")->isEnabled());
    QVERIFY(child<QToolButton>("bbt_Prints")->isEnabled());
    QVERIFY(!child<QToolButton>("bbt_update")->isEnabled());

    // Header texts keep their trailing blanks.
    QCOMPARE(grid("AdvStringGrid2")->cell(8, 0), QStringLiteral("비    고"));
    QCOMPARE(grid("AdvStringGrid3")->cell(2, 0), QStringLiteral("KEY TYPE     "));
    QCOMPARE(grid("AdvStringGrid3")->cell(9, 0), QStringLiteral("MIN_EXTENTS    "));
    QCOMPARE(grid("AdvStringGrid7")->cell(7, 0), QStringLiteral("STATUS           "));

    // One table manager at a time.
    QCOMPARE(openScreen(), m_screen);
    QCOMPARE(m_env->main.mdiArea()->subWindowList().size(), 1);
}

void TestTableManager::typeListFilters_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("rows");
    QTest::newRow("views") << "VIEW" << 3;
    QTest::newRow("tables") << "TABLE" << 9;
    QTest::newRow("synonyms: none in the table list") << "SYNONYM" << 0;
}

void TestTableManager::typeListFilters()
{
    QFETCH(QString, type);
    QFETCH(int, rows);
    openScreen();
    child<QComboBox>("cb_tabletype")->setCurrentText(type);
    ui::StringGrid* list = grid("AdvStringGrid1");
    if (rows == 0) {
        QCOMPARE(list->rowCount(), 2);
        QCOMPARE(list->cell(1, 1), QString());
        QCOMPARE(m_screen->statusText(), QStringLiteral("▶ ALL_TAB_COMMENTS ERROR ...(0)"));
        QVERIFY(!child<QToolButton>("bbt_Excels")->isEnabled());
        return;
    }
    QCOMPARE(list->rowCount(), rows + 1);
    for (int r = 1; r <= rows; ++r)
        QCOMPARE(list->cell(4, r), type);
}

void TestTableManager::layoutShowsNumbersKeysAndDefaults()
{
    openScreen();
    chooseTable(QStringLiteral("PRICE_HIST"));
    ui::StringGrid* layout = grid("AdvStringGrid2");
    QCOMPARE(layout->rowCount(), 7);
    auto line = [&](int r) {
        Row cells;
        for (int c = 0; c < 9; ++c)
            cells << layout->cell(c, r);
        return cells;
    };
    QCOMPARE(line(1),
             (Row{"1", "PROD_CD", "상품코드", "VARCHAR2", "10", "N", "P1", "", "PK_PRICE_HIST"}));
    QCOMPARE(line(2),
             (Row{"2", "APPLY_DATE", "적용일자", "DATE", "7", "N", "P2", "", "PK_PRICE_HIST"}));
    QCOMPARE(line(3), (Row{"3", "PRICE_GRADE", "단가등급 (A001:일반, B001:대리점)", "VARCHAR2", "8",
                           "N", "", "", ""}));
    QCOMPARE(line(4), (Row{"4", "UNIT_PRICE", "단가", "NUMBER", "10,2", "Y", "", "0", ""}));
    QCOMPARE(line(5), (Row{"5", "MIN_QTY", "최소 주문수량", "NUMBER", "5,0", "Y", "", "0", ""}));
    QCOMPARE(line(6), (Row{"6", "REMARK", "비고 ('-'는 미정)", "VARCHAR2", "100", "Y", "", "", ""}));
    QCOMPARE(m_screen->statusText(),
             QStringLiteral("▶ PRICE_HIST(상품 단가이력) 테이블 레이아웃이 조회 되었습니다..."));

    // A NUMBER without precision leaves both sides of the comma empty.
    openScreen(QStringLiteral("SCOTT"));
    chooseTable(QStringLiteral("SALGRADE"));
    QCOMPARE(grid("AdvStringGrid2")->cell(4, 1), QStringLiteral(","));
}

void TestTableManager::enterFindsTheTable()
{
    openScreen();
    auto* search = child<QLineEdit>("ed_select");
    search->clear();
    QTest::keyClicks(search, QStringLiteral("price_h"));
    QCOMPARE(search->text(), QStringLiteral("PRICE_H"));  // typed in upper case
    QTest::keyClick(search, Qt::Key_Return);
    ui::StringGrid* list = grid("AdvStringGrid1");
    QCOMPARE(list->currentRow(), rowOf(QStringLiteral("PRICE_HIST")));
    QCOMPARE(search->text(), QStringLiteral("PRICE_HIST"));
    QCOMPARE(child<QLabel>("pn_tablename")->text(), QStringLiteral("상품 단가이력"));
    QCOMPARE(grid("AdvStringGrid2")->cell(1, 1), QStringLiteral("PROD_CD"));

    // Nothing found: the list and the pages stay, the text stays to be corrected.
    search->setText(QStringLiteral("NO_SUCH"));
    m_screen->ed_selectEnter();
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ NO_SUCH 테이블을 찾을 수 없습니다..."));
    QCOMPARE(list->currentRow(), rowOf(QStringLiteral("PRICE_HIST")));
    QCOMPARE(search->text(), QStringLiteral("NO_SUCH"));
    QCOMPARE(grid("AdvStringGrid2")->cell(1, 1), QStringLiteral("PROD_CD"));
    // Pages opened after it still read the highlighted table, not the typed name.
    showPage(TKOLM210F::BackupPage);
    QCOMPARE(child<QLabel>("pn_tableid")->text(), QStringLiteral("PRICE_HIST"));
    showPage(TKOLM210F::LayoutPage);
    QCOMPARE(grid("AdvStringGrid2")->cell(1, 1), QStringLiteral("PROD_CD"));
    QVERIFY(!m_screen->statusText().contains(QStringLiteral("NO_SUCH")));
}

void TestTableManager::checkBoxesAndSelectAll()
{
    openScreen();
    QApplication::processEvents();
    ui::StringGrid* list = grid("AdvStringGrid1");
    const int rows = list->rowCount() - 1;
    const int orders = rowOf(QStringLiteral("ORDERS"));
    // A click on the box ticks it, marks only its own row and chooses the table.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->cellRect(3, orders).center());
    QVERIFY(list->checkBoxState(3, orders));
    QCOMPARE(m_screen->markedRows(), QList<int>{orders});
    QCOMPARE(child<QLineEdit>("ed_select")->text(), QStringLiteral("ORDERS"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->cellRect(3, orders).center());
    QVERIFY(m_screen->markedRows().isEmpty());

    auto* all = child<QCheckBox>("cb_check");
    all->click();
    QCOMPARE(all->text(), QStringLiteral("전체출력취소"));
    QCOMPARE(m_screen->markedRows().size(), rows);
    m_screen->checkBoxToggled(2, false);
    list->setCheckBoxState(3, 2, false);
    QList<int> expected;
    for (int r = 1; r <= rows; ++r)
        if (r != 2)
            expected << r;
    QCOMPARE(m_screen->markedRows(), expected);
    all->click();
    QCOMPARE(all->text(), QStringLiteral("전체출력선택"));
    QVERIFY(m_screen->markedRows().isEmpty());
    for (int r = 1; r <= rows; ++r)
        QVERIFY(!list->checkBoxState(3, r));
}

void TestTableManager::headerClickSorts()
{
    openScreen();
    ui::StringGrid* list = grid("AdvStringGrid1");
    check(QStringLiteral("BRANCH"));
    QHeaderView* header = list->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, 5));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, 5));
    QVERIFY(header->isSortIndicatorShown());
    QCOMPARE(header->sortIndicatorSection(), 1);
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    const int last = list->rowCount() - 1;
    QCOMPARE(list->cell(1, last), QStringLiteral("BRANCH"));
    // The mark travels with its row.
    QCOMPARE(m_screen->markedRows(), QList<int>{last});
    QVERIFY(list->checkBoxState(3, last));
}

void TestTableManager::indexPageNamesOnlyThePrimaryKey_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("keyTypes");
    QTest::newRow("key after two indexes")
        << "ORDERS"
        << QStringList{"IX_ORDERS_CUST=Index Key", "IX_ORDERS_DATE=Index Key",
                       "PK_ORDERS=Primary Key"};
    // The unique constraint's index bears its name too, and is not a primary key.
    QTest::newRow("unique constraint")
        << "CUSTOMER" << QStringList{"PK_CUSTOMER=Primary Key", "UK_CUSTOMER_BIZNO=Index Key"};
}

void TestTableManager::indexPageNamesOnlyThePrimaryKey()
{
    QFETCH(QString, table);
    QFETCH(QStringList, keyTypes);
    openScreen();
    chooseTable(table);
    showPage(TKOLM210F::IndexPage);
    ui::StringGrid* indexes = grid("AdvStringGrid3");
    QStringList actual;
    for (int r = 1; r < indexes->rowCount(); ++r)
        actual << indexes->cell(1, r) + QLatin1Char('=') + indexes->cell(2, r);
    QCOMPARE(actual, keyTypes);
    QVERIFY(!child<QToolButton>("bbt_Excels")->isEnabled());

    // The first index's columns are loaded with it, with comment and type; numbers as amounts.
    const QString first = indexes->cell(1, 1);
    QCOMPARE(m_screen->statusText(),
             QStringLiteral("▶ %1(%2) 테이블 인덱스 컬럼이 조회 되었습니다...").arg(table, first));
    ui::StringGrid* columns = grid("AdvStringGrid4");
    const QList<Row> expected = select(
        session(),
        QStringLiteral(
            "SELECT C.COLUMN_NAME, C.COLUMN_POSITION, T.DATA_TYPE FROM ALL_IND_COLUMNS C, "
            "ALL_TAB_COLUMNS T "
            "WHERE C.INDEX_NAME = '%1' AND T.OWNER = 'TGHAPP' AND T.TABLE_NAME = C.TABLE_NAME "
            "AND T.COLUMN_NAME = C.COLUMN_NAME ORDER BY C.COLUMN_POSITION")
            .arg(first));
    QCOMPARE(columns->rowCount(), int(expected.size()) + 1);
    for (int r = 1; r < columns->rowCount(); ++r) {
        QCOMPARE(columns->cell(1, r), expected[r - 1][0]);
        QCOMPARE(columns->cell(3, r), expected[r - 1][1]);
        QCOMPARE(columns->cell(4, r), expected[r - 1][2]);
        QVERIFY(!columns->cell(2, r).isEmpty());
    }
    QCOMPARE(indexes->cell(7, 1), FormatAmount(QStringLiteral("65536"), QStringLiteral("0")));
}

void TestTableManager::constraintAndTriggerPages()
{
    openScreen();
    chooseTable(QStringLiteral("ORDERS"));
    showPage(TKOLM210F::ConstraintPage);
    ui::StringGrid* constraints = grid("AdvStringGrid5");
    int primary = 0, check = 0;
    for (int r = 1; r < constraints->rowCount(); ++r) {
        QCOMPARE(constraints->cell(4, r), QStringLiteral("(Memo)"));
        if (constraints->cell(1, r) == QLatin1String("PK_ORDERS"))
            primary = r;
        if (constraints->cell(1, r) == QLatin1String("CK_ORDERS_STATUS"))
            check = r;
    }
    QVERIFY(primary > 0 && check > 0);
    QCOMPARE(constraints->cell(2, primary), QStringLiteral("P"));
    m_screen->LoadConstraintColumns(primary);
    QCOMPARE(grid("AdvStringGrid6")->cell(1, 1), QStringLiteral("ORDER_NO"));
    QCOMPARE(m_screen->statusText(),
             QStringLiteral("▶ ORDERS(PK_ORDERS) 테이블 제약조건 컬럼이 조회 되었습니다..."));
    // A check constraint has no index of its name, hence no columns.
    m_screen->LoadConstraintColumns(check);
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ ALL_IND_COLUMNS SELECT ERROR ...(0)"));
    QCOMPARE(grid("AdvStringGrid6")->rowCount(), 2);

    // Both column lists (of an index, of a constraint) keep the widths they were designed with.
    for (const char* name : {"AdvStringGrid4", "AdvStringGrid6"}) {
        ui::StringGrid* list = grid(name);
        QList<int> widths;
        for (int c = 0; c < list->colCount(); ++c)
            widths << list->colWidth(c);
        QCOMPARE(widths, (QList<int>{40, 130, 285, 54, 84, 38}));
    }

    // The trigger page lists every trigger of the account, whichever table is chosen.
    showPage(TKOLM210F::TriggerPage);
    ui::StringGrid* triggers = grid("AdvStringGrid7");
    QSet<QString> tables;
    for (int r = 1; r < triggers->rowCount(); ++r)
        tables << triggers->cell(5, r);
    QCOMPARE(tables, (QSet<QString>{"ORDERS", "ORDER_ITEM", "CUSTOMER"}));
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ ORDERS(주문) 테이블 트리거 현황이 조회 되었습니다..."));
    const int orderItem = [&] {
        for (int r = 1; r < triggers->rowCount(); ++r)
            if (triggers->cell(1, r) == QLatin1String("TRG_ORDER_ITEM_BIU"))
                return r;
        return -1;
    }();
    m_screen->ShowTriggerBody(orderItem);
    QVERIFY(child<QPlainTextEdit>("mm_TRIGGER_BODY")
                ->toPlainText()
                .contains(QStringLiteral(":NEW.AMT := :NEW.QTY * :NEW.UNIT_PRICE;")));
    QVERIFY(child<QPlainTextEdit>("mm_DESCRIPTION")
                ->toPlainText()
                .contains(QStringLiteral("TRG_ORDER_ITEM_BIU")));
}

void TestTableManager::scriptPage()
{
    openScreen();
    chooseTable(QStringLiteral("PRICE_HIST"));
    showPage(TKOLM210F::ScriptPage);
    const QString expected = QStringLiteral(
        "/* TABLE 생성 */\n"
        "CREATE TABLE PRICE_HIST(\n"
        "       PROD_CD     VARCHAR2(10)     NOT NULL,\n"
        "       APPLY_DATE     DATE     NOT NULL,\n"
        "       PRICE_GRADE     VARCHAR2(8)     NOT NULL,\n"
        "       UNIT_PRICE     NUMBER(10,2)     DEFAULT 0,\n"
        "       MIN_QTY     NUMBER(5,0)     DEFAULT 0,\n"
        "       REMARK     VARCHAR2(100),\n"
        "       CONSTRAINT PK_PRICE_HIST PRIMARY KEY(PROD_CD,APPLY_DATE)\n"
        "        USING INDEX PCTFREE 30 TABLESPACE TGHI\n"
        "        STORAGE(INITIAL 10485760 NEXT 10485760 PCTINCREASE 0))\n"
        "        TABLESPACE TGHD\n"
        "        STORAGE(INITIAL 10485760 NEXT 10485760 FREELISTS 4 PCTINCREASE 0)\n"
        "        PCTFREE 20\n"
        "        PCTUSED 60;\n"
        "\n"
        "COMMENT ON TABLE  PRICE_HIST IS '상품 단가이력';\n"
        "COMMENT ON COLUMN PRICE_HIST.PROD_CD IS '상품코드';\n"
        "COMMENT ON COLUMN PRICE_HIST.APPLY_DATE IS '적용일자';\n"
        "COMMENT ON COLUMN PRICE_HIST.PRICE_GRADE IS '단가등급 (A001:일반, B001:대리점)';\n"
        "COMMENT ON COLUMN PRICE_HIST.UNIT_PRICE IS '단가';\n"
        "COMMENT ON COLUMN PRICE_HIST.MIN_QTY IS '최소 주문수량';\n"
        "COMMENT ON COLUMN PRICE_HIST.REMARK IS '비고 (''-''는 미정)';");
    QCOMPARE(child<QPlainTextEdit>("MM_Script")->toPlainText(), expected);
    // The key's own column load is the last status line; the page writes, so nothing is enabled.
    QCOMPARE(m_screen->statusText(),
             QStringLiteral("▶ PRICE_HIST(PK_PRICE_HIST) 테이블 인덱스 컬럼이 조회 되었습니다..."));
    for (const char* button : {"bbt_Excels", "bbt_Prints", "bbt_update"})
        QVERIFY2(!child<QToolButton>(button)->isEnabled(), button);

    // A click on another row while the page is shown rebuilds it.
    chooseTable(QStringLiteral("ORDER_ITEM"));
    QVERIFY(child<QPlainTextEdit>("MM_Script")->toPlainText().contains(
        QStringLiteral("       CONSTRAINT PK_ORDER_ITEM PRIMARY KEY(ORDER_NO,ITEM_SEQ)\n")));
    chooseTable(QStringLiteral("V_ORDER_SUMMARY"));
    QCOMPARE(child<QPlainTextEdit>("MM_Script")->toPlainText(),
             QStringLiteral("/* VIEW 생성 */\nCREATE VIEW V_ORDER_SUMMARY"));
}

void TestTableManager::everyDemoTableScriptRecreatesItsTable()
{
    exec(session(),
         QStringLiteral("CREATE USER SCRIPTCHK IDENTIFIED BY SCRIPTCHK DEFAULT TABLESPACE USERS"));
    exec(session(), QStringLiteral("GRANT CONNECT, RESOURCE TO SCRIPTCHK"));
    db::Session copy;
    copy.setConnectString(QStringLiteral("SCRIPTCHK/SCRIPTCHK@DEMO"));
    copy.setLoginPrompt(false);
    copy.connect();

    const QString columns = QStringLiteral(
        "SELECT COLUMN_NAME, DATA_TYPE, DATA_LENGTH, DATA_PRECISION, DATA_SCALE, NULLABLE "
        "FROM ALL_TAB_COLUMNS WHERE OWNER = '%1' AND TABLE_NAME = '%2' ORDER BY COLUMN_ID");
    const QString comments = QStringLiteral(
        "SELECT COLUMN_NAME, COMMENTS FROM ALL_COL_COMMENTS WHERE OWNER = '%1' AND TABLE_NAME = "
        "'%2' "
        "UNION ALL SELECT '-', COMMENTS FROM ALL_TAB_COMMENTS WHERE OWNER = '%1' AND TABLE_NAME = "
        "'%2' ORDER BY 1");
    const QString key = QStringLiteral(
        "SELECT C.COLUMN_NAME, I.TABLESPACE_NAME, I.PCT_FREE, I.INITIAL_EXTENT FROM "
        "ALL_CONSTRAINTS K, "
        "ALL_CONS_COLUMNS C, ALL_INDEXES I WHERE K.OWNER = '%1' AND K.TABLE_NAME = '%2' AND "
        "K.CONSTRAINT_TYPE = 'P' "
        "AND C.OWNER = K.OWNER AND C.CONSTRAINT_NAME = K.CONSTRAINT_NAME AND I.OWNER = K.OWNER "
        "AND I.INDEX_NAME = K.CONSTRAINT_NAME ORDER BY C.POSITION");
    const QString storage = QStringLiteral(
        "SELECT TABLESPACE_NAME, PCT_FREE, PCT_USED, INITIAL_EXTENT, FREELISTS FROM ALL_TABLES "
        "WHERE OWNER = '%1' AND TABLE_NAME = '%2'");

    int recreated = 0;
    QStringList withoutKey;
    const QList<Row> owners =
        select(session(), QStringLiteral("SELECT DISTINCT OWNER FROM ALL_TABLES WHERE OWNER NOT IN "
                                         "('SYS', 'SCRIPTCHK') ORDER BY OWNER"));
    for (const Row& o : owners) {
        const QString owner = o[0];
        openScreen(owner);
        child<QComboBox>("cb_tabletype")->setCurrentText(QStringLiteral("TABLE"));
        showPage(TKOLM210F::ScriptPage);
        ui::StringGrid* list = grid("AdvStringGrid1");
        for (int r = 1; r < list->rowCount(); ++r) {
            const QString table = list->cell(1, r);
            m_screen->SelectTable(r);
            const QString script = child<QPlainTextEdit>("MM_Script")->toPlainText();
            const QString what = owner + QLatin1Char('.') + table;
            if (!script.contains(QStringLiteral("PRIMARY KEY")))
                withoutKey << what;
            for (const QString& statement : sql::splitStatements(script)) {
                try {
                    exec(copy, statement);
                } catch (const std::exception& e) {
                    QFAIL(qPrintable(what + QStringLiteral(": ") + QString::fromUtf8(e.what()) +
                                     QStringLiteral("\n") + statement));
                }
            }
            for (const QString& query : {columns, comments, key, storage})
                QCOMPARE(select(session(), query.arg(QStringLiteral("SCRIPTCHK"), table)),
                         select(session(), query.arg(owner, table)));
            exec(copy, QStringLiteral("DROP TABLE ") + table);
            ++recreated;
        }
    }
    QCOMPARE(recreated, int(select(session(), QStringLiteral(
        "SELECT 1 FROM ALL_TABLES WHERE OWNER NOT IN ('SYS', 'SCRIPTCHK')")).size()));
    // Tables without a key take the other layout, and run all the same.
    QVERIFY(withoutKey.contains(QStringLiteral("SCOTT.BONUS")));
}

void TestTableManager::backupTabShowsStoredScheduleAndUpdatesIt()
{
    exec(session(), QStringLiteral("INSERT INTO TGHADM.BACKUP_TABLE VALUES ('DEMO', 'TGHAPP', "
                                   "'PRICE_HIST', '단가이력', 'W', '04', '13', "
                                   "'WHERE PROD_CD LIKE ''P1%''' || CHR(10) || 'AND PRICE_GRADE = "
                                   "''A001''', '20030415 101112')"));
    openScreen();
    chooseTable(QStringLiteral("PRICE_HIST"));
    showPage(TKOLM210F::BackupPage);
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ PRICE_HIST(상품 단가이력) 테이블 백업정보가 조회 되었습니다..."));
    QCOMPARE(child<QComboBox>("cb_cycle")->currentText(), QStringLiteral("W : 주간백업"));
    QCOMPARE(child<QLabel>("pn_title")->text(), QStringLiteral("매주"));
    QCOMPARE(child<QComboBox>("cb_type")->currentText(), QStringLiteral("04 : 수요일"));
    QCOMPARE(child<QComboBox>("cb_backup_time")->currentText(), QStringLiteral("13 : 13시"));
    QCOMPARE(child<QLabel>("pn_backup_date")->text(), QStringLiteral("2003-04-15 10:11:12"));
    QCOMPARE(child<QLabel>("pn_mode")->text(), QStringLiteral("U"));
    auto* condition = child<QPlainTextEdit>("mm_condision");
    QCOMPARE(condition->toPlainText(),
             QStringLiteral("WHERE PROD_CD LIKE 'P1%'\nAND PRICE_GRADE = 'A001'"));
    // The storage side of the tab.
    QCOMPARE(child<QLabel>("pn_tableid")->text(), QStringLiteral("PRICE_HIST"));
    QCOMPARE(child<QLabel>("pn_tablespace")->text(), QStringLiteral("TGHD"));
    QCOMPARE(child<QLabel>("pn_tablespace_id")->text(), QStringLiteral("8"));
    QCOMPARE(child<QPlainTextEdit>("mm_data_file")->toPlainText(),
             QStringLiteral("1 : C:\\ORACLE\\ORADATA\\KOLM\\TGHD03.DBF"));
    QCOMPARE(child<QLabel>("pn_pct_free")->text(), QStringLiteral("20"));
    QCOMPARE(child<QLabel>("pn_pct_used")->text(), QStringLiteral("60"));
    QCOMPARE(child<QLabel>("pn_freelists")->text(), QStringLiteral("4"));
    QCOMPARE(child<QLabel>("pn_init_extent")->text(), QStringLiteral("10485760"));
    QCOMPARE(child<QLabel>("pn_status")->text(), QStringLiteral("VALID"));
    QVERIFY(child<QToolButton>("bbt_update")->isEnabled());
    QVERIFY(!child<QToolButton>("bbt_Excels")->isEnabled());

    // The user moves it to 2 o'clock and saves it with its row checked.
    child<QComboBox>("cb_backup_time")->setCurrentIndex(1);
    check(QStringLiteral("PRICE_HIST"));
    m_screen->bbt_updateClick();
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 정상적으로 수정이 완료 되었습니다..."));
    QCOMPARE(select(session(),
                    QStringLiteral("SELECT BACKUP_CYCLE, BACKUP_TYPE, BACKUP_TIME, "
                                   "BACKUP_CONDISION, BACKUP_DATETIME, BACKUP_TABLENAME "
                                   "FROM TGHADM.BACKUP_TABLE WHERE BACKUP_TABLEID = 'PRICE_HIST'")),
             (QList<Row>{{"W", "04", "02", "WHERE PROD_CD LIKE 'P1%'\nAND PRICE_GRADE = 'A001'",
                          "20030415 101112", "상품 단가이력"}}));
    QCOMPARE(child<QComboBox>("cb_backup_time")->currentText(), QStringLiteral("02 :  2시"));
    QVERIFY(m_screen->markedRows().isEmpty());
}

void TestTableManager::tableWithoutScheduleIsInsertedThenUpdated()
{
    openScreen();
    chooseTable(QStringLiteral("PRICE_HIST"));
    showPage(TKOLM210F::BackupPage);
    QCOMPARE(child<QComboBox>("cb_cycle")->currentText(), QStringLiteral("D : 일별백업"));
    QCOMPARE(child<QLabel>("pn_title")->text(), QStringLiteral("매일"));
    QCOMPARE(child<QComboBox>("cb_type")->currentText(), QStringLiteral("01 : 매일"));
    QCOMPARE(child<QComboBox>("cb_type")->count(), 1);
    QCOMPARE(child<QComboBox>("cb_backup_time")->currentText(), QStringLiteral("01 :  1시"));
    QCOMPARE(child<QLabel>("pn_backup_date")->text(), QString());
    QCOMPARE(child<QPlainTextEdit>("mm_condision")->toPlainText(), QString());
    QCOMPARE(child<QLabel>("pn_mode")->text(), QStringLiteral("I"));

    check(QStringLiteral("PRICE_HIST"));
    m_screen->bbt_updateClick();
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 정상적으로 수정이 완료 되었습니다..."));
    QCOMPARE(child<QLabel>("pn_mode")->text(), QStringLiteral("U"));
    QCOMPARE(select(session(),
                    QStringLiteral("SELECT BACKUP_SERVER, BACKUP_ACCOUNT, BACKUP_TABLENAME, "
                                   "BACKUP_CYCLE, BACKUP_TYPE, BACKUP_TIME, "
                                   "BACKUP_CONDISION, BACKUP_DATETIME FROM TGHADM.BACKUP_TABLE "
                                   "WHERE BACKUP_TABLEID = 'PRICE_HIST'")),
             (QList<Row>{{"DEMO", "TGHAPP", "상품 단가이력", "D", "01", "01", "", ""}}));
}

void TestTableManager::severalCheckedTablesKeepWhatIsTheirs()
{
    openScreen();
    chooseTable(QStringLiteral("PRICE_HIST"));
    showPage(TKOLM210F::BackupPage);
    child<QComboBox>("cb_cycle")->setCurrentText(QStringLiteral("M : 월간백업"));
    child<QComboBox>("cb_type")->setCurrentIndex(4);         // the 5th
    child<QComboBox>("cb_backup_time")->setCurrentIndex(2);  // 3 o'clock
    child<QPlainTextEdit>("mm_condision")
        ->setPlainText(QStringLiteral("WHERE APPLY_DATE >= SYSDATE - 365"));
    for (const char* table : {"ORDERS", "PRICE_HIST", "ORDER_ITEM"})
        check(QString::fromLatin1(table));
    m_screen->bbt_updateClick();

    // Each keeps its own stamp and, except the table on the tab, its own condition.
    QCOMPARE(
        select(session(), QStringLiteral("SELECT BACKUP_TABLEID, BACKUP_CYCLE, BACKUP_TYPE, "
                                         "BACKUP_TIME, BACKUP_CONDISION, BACKUP_DATETIME "
                                         "FROM TGHADM.BACKUP_TABLE WHERE BACKUP_SERVER = 'DEMO' "
                                         "AND BACKUP_ACCOUNT = 'TGHAPP' "
                                         "AND BACKUP_TABLEID IN ('ORDERS', 'PRICE_HIST', "
                                         "'ORDER_ITEM') ORDER BY BACKUP_TABLEID")),
        (QList<Row>{
            {"ORDERS", "M", "05", "03", "", "20030512 011502"},
            {"ORDER_ITEM", "M", "05", "03", "WHERE ORDER_NO LIKE '200304%'", "20030415 235930"},
            {"PRICE_HIST", "M", "05", "03", "WHERE APPLY_DATE >= SYSDATE - 365", ""}}));
    // The tab ends on the last table saved.
    QCOMPARE(child<QLabel>("pn_tableid")->text(), QStringLiteral("PRICE_HIST"));
    QCOMPARE(child<QLabel>("pn_backup_date")->text(), QString());
    QVERIFY(m_screen->markedRows().isEmpty());
}

void TestTableManager::checkedViewsAreRefused()
{
    openScreen();
    chooseTable(QStringLiteral("ORDERS"));
    showPage(TKOLM210F::BackupPage);
    for (const char* object : {"V_ORDER_SUMMARY", "PRICE_HIST", "V_CUSTOMER_CORP"})
        check(QString::fromLatin1(object));
    m_screen->bbt_updateClick();

    // The table is saved, the views are not and are named.
    QCOMPARE(select(session(),
                    QStringLiteral(
                        "SELECT BACKUP_TABLEID FROM TGHADM.BACKUP_TABLE WHERE BACKUP_SERVER = "
                        "'DEMO' AND BACKUP_ACCOUNT = 'TGHAPP' AND BACKUP_TABLEID IN "
                        "('V_ORDER_SUMMARY', 'V_CUSTOMER_CORP', 'PRICE_HIST')")),
             (QList<Row>{{"PRICE_HIST"}}));
    QCOMPARE(m_screen->statusText(),
             QStringLiteral("▶ 뷰는 백업할 수 없습니다...(V_CUSTOMER_CORP, V_ORDER_SUMMARY)"));
    QVERIFY(m_screen->markedRows().isEmpty());
}

void TestTableManager::cycleListsAndCodesOutsideThem()
{
    openScreen();
    chooseTable(QStringLiteral("ORDERS"));
    showPage(TKOLM210F::BackupPage);
    auto* cycle = child<QComboBox>("cb_cycle");
    auto* type = child<QComboBox>("cb_type");
    struct Case {
        const char* cycle;
        int items;
        const char* first;
        const char* title;
    };
    for (const Case& c : {Case{"M : 월간백업", 31, "01 :  1일", "매월"},
                          Case{"Y : 년간백업", 12, "01 :  1월 1일", "매년"},
                          Case{"N : 백업안함", 1, "01 : 백업안함", "안함"},
                          Case{"W : 주간백업", 7, "01 : 일요일", "매주"}}) {
        cycle->setCurrentText(QString::fromUtf8(c.cycle));
        QCOMPARE(type->count(), c.items);
        QCOMPARE(type->currentText(), QString::fromUtf8(c.first));
        QCOMPARE(child<QLabel>("pn_title")->text(), QString::fromUtf8(c.title));
    }
    QCOMPARE(type->itemText(6), QStringLiteral("07 : 토요일"));

    // Codes outside their lists are shown as they are stored, and a save keeps them.
    exec(session(),
         QStringLiteral(
             "UPDATE TGHADM.BACKUP_TABLE SET BACKUP_CYCLE = 'D', BACKUP_TYPE = '09', "
             "BACKUP_TIME = '30' WHERE BACKUP_SERVER = 'DEMO' AND BACKUP_ACCOUNT = 'TGHAPP' "
             "AND BACKUP_TABLEID = 'ORDERS'"));
    m_screen->LoadBackupInfo();
    QCOMPARE(cycle->currentText(), QStringLiteral("D : 일별백업"));
    QCOMPARE(type->currentText(), QStringLiteral("09 : 목록에 없는 코드"));
    QCOMPARE(child<QComboBox>("cb_backup_time")->currentText(), QStringLiteral("30 : 목록에 없는 코드"));
    check(QStringLiteral("ORDERS"));
    m_screen->bbt_updateClick();
    QCOMPARE(select(session(),
                    QStringLiteral(
                        "SELECT BACKUP_CYCLE, BACKUP_TYPE, BACKUP_TIME FROM TGHADM.BACKUP_TABLE "
                        "WHERE BACKUP_SERVER = 'DEMO' AND BACKUP_ACCOUNT = 'TGHAPP' "
                        "AND BACKUP_TABLEID = 'ORDERS'")),
             (QList<Row>{{"D", "09", "30"}}));
    // The next table's hour list is the plain one again.
    chooseTable(QStringLiteral("PRICE_HIST"));
    QCOMPARE(child<QComboBox>("cb_backup_time")->count(), 24);
}

void TestTableManager::saveWithNothingCheckedSavesNothing()
{
    openScreen();
    chooseTable(QStringLiteral("PRICE_HIST"));
    showPage(TKOLM210F::BackupPage);
    const QString all = QStringLiteral("SELECT * FROM TGHADM.BACKUP_TABLE ORDER BY 1, 2, 3");
    const QList<Row> before = select(session(), all);
    m_screen->bbt_updateClick();
    QCOMPARE(select(session(), all), before);
    QVERIFY(m_screen->markedRows().isEmpty());
    // With the select-all box ticked, the save ends by marking every row again.
    child<QCheckBox>("cb_check")->setChecked(true);
    m_screen->bbt_updateClick();
    QCOMPARE(m_screen->markedRows().size(), grid("AdvStringGrid1")->rowCount() - 1);
}

void TestTableManager::unreadableCatalogueFailsOnSave()
{
    // SCOTT cannot read the catalogue: the tab offers a new schedule, the save fails.
    QVERIFY(m_env->main.ConnectDatabase(QStringLiteral("DEMO"), QStringLiteral("SCOTT"),
                                        QStringLiteral("TIGER")));
    openScreen(QStringLiteral("SCOTT"));
    chooseTable(QStringLiteral("EMP"));
    showPage(TKOLM210F::BackupPage);
    QCOMPARE(child<QLabel>("pn_mode")->text(), QStringLiteral("I"));
    check(QStringLiteral("DEPT"));
    check(QStringLiteral("EMP"));
    m_screen->bbt_updateClick();
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 자료 등록 에러입니다..."));
    // The failed table and the ones after it stay marked for another try.
    QCOMPARE(m_screen->markedRows(),
             (QList<int>{rowOf(QStringLiteral("DEPT")), rowOf(QStringLiteral("EMP"))}));
}

void TestTableManager::csvExportsAndTheOutputMenu()
{
    QTemporaryDir dir;
    openScreen();
    chooseTable(QStringLiteral("PRICE_HIST"));
    auto* n1 = m_screen->findChild<QAction*>(QStringLiteral("N1"));
    auto* n2 = m_screen->findChild<QAction*>(QStringLiteral("N2"));

    m_screen->bbt_ExcelsClick();
    QCOMPARE(OutputMode, 1);
    QVERIFY(n1->isEnabled() && n2->isEnabled());
    child<QMenu>("PopupMenu1")->hide();
    const QString listFile = dir.filePath(QStringLiteral("list.csv"));
    m_env->ui.answerSaveFile(listFile);
    n1->trigger();
    QVERIFY(
        m_env->ui.saveDialogStartPaths().last().endsWith(QStringLiteral("TGHAPP_TableLIst.Csv")));
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 엑셀자료로 전환 완료 되었습니다..."));
    QFile list(listFile);
    QVERIFY(list.open(QIODevice::ReadOnly));
    const QStringList lines =
        QString::fromUtf8(list.readAll()).remove(QChar(0xFEFF)).split(QStringLiteral("\r\n"));
    QCOMPARE(lines[0], QStringLiteral("No.,테이블,테이블명칭,선택,구분,"));
    QCOMPARE(lines[1], QStringLiteral("1,BRANCH,지점,,TABLE,N"));

    const QString layoutFile = dir.filePath(QStringLiteral("layout.csv"));
    m_env->ui.answerSaveFile(layoutFile);
    n2->trigger();
    QVERIFY(m_env->ui.saveDialogStartPaths().last().endsWith(
        QStringLiteral("TGHAPP_PRICE_HIST_TableLayout.Csv")));
    QFile layout(layoutFile);
    QVERIFY(layout.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(layout.readAll())
                .contains(QStringLiteral("4,UNIT_PRICE,단가,NUMBER,\"10,2\",Y,,0,")));

    // A cancelled dialog writes nothing and leaves the status line.
    m_screen->setStatusText(QStringLiteral("▶ before"));
    m_env->ui.answerSaveFile(QString());
    n1->trigger();
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ before"));

    // The print button opens the same menu in print mode; the printed reports have tests of
    // their own.
    m_screen->bbt_PrintsClick();
    QCOMPARE(OutputMode, 2);
    QVERIFY(n1->isEnabled() && n2->isEnabled());
    child<QMenu>("PopupMenu1")->hide();
}

void TestTableManager::failedLoadsShowTheirLines()
{
    openScreen();
    // A database error in the list read is caught without a message.
    session().failNthStatementForTesting(1, 942, QStringLiteral("table or view does not exist"));
    m_screen->bbt_selectClick();
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ ALL_TAB_COMMENTS ERROR ...(-1)"));
    QVERIFY(m_env->ui.messages().isEmpty());
    QCOMPARE(grid("AdvStringGrid1")->rowCount(), 2);

    // A view has no storage: no schedule can be saved for it.
    m_screen->bbt_selectClick();
    showPage(TKOLM210F::BackupPage);
    chooseTable(QStringLiteral("V_ORDER_SUMMARY"));
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ ALL_TABLES SELECT ERROR ..."));
    QVERIFY(!child<QToolButton>("bbt_update")->isEnabled());

    // A listed name that is no table (dropped since the list was read): every page reports its
    // empty read.
    grid("AdvStringGrid1")
        ->setCell(1, rowOf(QStringLiteral("V_ORDER_SUMMARY")), QStringLiteral("NO_SUCH"));
    chooseTable(QStringLiteral("NO_SUCH"));
    struct Case {
        int page;
        const char* line;
    };
    for (const Case& c :
         {Case{TKOLM210F::LayoutPage, "▶ ALL_TAB_COLUMNS & ALL_COL_COMMENTS ERROR ...(0)"},
          Case{TKOLM210F::IndexPage, "▶ ALL_INDEXES SELECT ERROR ...(0)"},
          Case{TKOLM210F::ConstraintPage, "▶ ALL_CONSTRAINTS SELECT ERROR ...(0)"},
          Case{TKOLM210F::BackupPage, "▶ ALL_TABLES SELECT ERROR ..."}}) {
        showPage(c.page);
        m_screen->LoadDetailPage();
        QCOMPARE(m_screen->statusText(), QString::fromUtf8(c.line));
        for (const char* button : {"bbt_Excels", "bbt_Prints", "bbt_update"})
            QVERIFY2(!child<QToolButton>(button)->isEnabled(), button);
    }
    // An account without triggers.
    openScreen(QStringLiteral("SCOTT"));
    showPage(TKOLM210F::TriggerPage);
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ ALL_TRIGGERS SELECT ERROR ...(0)"));
}

void TestTableManager::panesFollowTheWindow()
{
    openScreen();
    auto* sub = qobject_cast<QMdiSubWindow*>(m_screen->parentWidget());
    QApplication::processEvents();
    auto* left = child<QSplitter>("Splitter1")->widget(0);
    auto* right = child<QTabWidget>("PageControl1");
    const double before = double(left->width()) / right->width();
    sub->resize(sub->width() * 2 - 20, sub->height());
    QApplication::processEvents();
    QCOMPARE(TableFormWidth, m_screen->width());
    const double after = double(left->width()) / right->width();
    QVERIFY2(qAbs(after - before) < 0.02,
             qPrintable(QStringLiteral("%1 %2").arg(before).arg(after)));
    QVERIFY(right->width() > 1100);
}

QTEST_MAIN(TestTableManager)
#include "tst_tablemanager.moc"
