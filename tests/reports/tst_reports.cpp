// The printed table list and table layouts, printed from the table manager against the demo
// instance as a DBA prints them. The printer is a PDF file (the scripted UI services); what each
// report drew — its page items in order, with page, position and font — is compared with the
// references in fixtures/.
//
// A reference changes only on purpose: after checking the new output, rewrite the references with
//   KOLMARA_UPDATE_REFERENCES=1 ctest --test-dir build-test -R tst_reports
// and review the difference before committing it. A missing reference fails the test.
#include "ConnectedDemo.h"
#include "app/KOLM000U.h"
#include "common/KOLMCOMM.h"
#include "db/Session.h"
#include "screens/tables/KOLM210U.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProgressDialog>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace kolmara;
using kolmara::screens::TKOLM210F;

namespace {

QString referencePath(const QString& name)
{
    return qEnvironmentVariable("KOLMARA_TEST_DATA") + QLatin1Char('/') + name;
}

// The printed reports as one text: each report's title, then its page items.
QStringList printedText(const QList<QStringList>& reports)
{
    QStringList lines;
    for (const QStringList& report : reports) {
        lines << QStringLiteral("report ") + report.first();
        lines << report.mid(1);
    }
    return lines;
}

}  // namespace

class TestReports : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tableListOfTheDemoOwner();
    void layouts_data();
    void layouts();
    void twoMarkedTablesPrintTwoReportsInGridOrder();
    void layoutsNeedAMarkedTable();
    void withoutPrinterTheRunOffersAPdfFile();
    void aFileThatCannotBeWrittenStopsTheRun();
    void aDatabaseErrorEndsThePrint();

private:
    // Connects (with the 40-column table added to the demo when asked) and opens the table
    // manager for the owner. False when any of it failed.
    bool openScreen(const QString& owner, bool withWideTable = false);
    void mark(const QString& table);
    void print(const char* item);
    // Compares the text with the reference `name`, line by line; rewrites the reference instead
    // when KOLMARA_UPDATE_REFERENCES is set.
    void compareWithReference(const QStringList& actual, const QString& name);
    db::Session& session() { return m_env->main.session(); }

    std::unique_ptr<QTemporaryDir> m_prints;
    std::unique_ptr<test::ConnectedDemo> m_env;
    TKOLM210F* m_screen = nullptr;
};

void TestReports::init()
{
    m_prints = std::make_unique<QTemporaryDir>();
    m_env = std::make_unique<test::ConnectedDemo>(test::ConnectedDemo::Later{});
    m_env->ui.setPrintFolder(m_prints->path());
}

void TestReports::cleanup()
{
    m_screen = nullptr;
    m_env.reset();
    m_prints.reset();
}

bool TestReports::openScreen(const QString& owner, bool withWideTable)
{
    if (withWideTable &&
        !m_env->demo.addSeedScripts({referencePath(QStringLiteral("90_cust_monthly.sql"))}))
        return false;
    if (!m_env->connectAs(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER")))
        return false;
    ConnUser = owner;
    m_env->main.menuAction(QStringLiteral("N21"))->trigger();
    auto* sub = m_env->main.mdiArea()->activeSubWindow();
    m_screen = sub ? qobject_cast<TKOLM210F*>(sub->widget()) : nullptr;
    return m_screen != nullptr;
}

void TestReports::mark(const QString& table)
{
    auto* list = m_screen->findChild<ui::StringGrid*>(QStringLiteral("AdvStringGrid1"));
    for (int r = 1; r < list->rowCount(); ++r) {
        if (list->cell(1, r) == table) {
            list->setCheckBoxState(3, r, true);
            m_screen->checkBoxToggled(r, true);
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no table ") + table));
}

// The print button, then an item of its menu, as the user clicks them.
void TestReports::print(const char* item)
{
    m_screen->bbt_PrintsClick();
    m_screen->findChild<QMenu*>(QStringLiteral("PopupMenu1"))->hide();
    auto* action = m_screen->findChild<QAction*>(QString::fromLatin1(item));
    QVERIFY(action->isEnabled());
    action->trigger();
}

void TestReports::compareWithReference(const QStringList& actual, const QString& name)
{
    const QString path = referencePath(name);
    if (qEnvironmentVariableIsSet("KOLMARA_UPDATE_REFERENCES")) {
        QFile out(path);
        QVERIFY2(out.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
        out.write((actual.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
        qWarning("rewrote the reference %s", qPrintable(path));
        return;
    }
    QFile in(path);
    QVERIFY2(in.open(QIODevice::ReadOnly),
             qPrintable(QStringLiteral("no reference ") + path +
                        QStringLiteral(" (KOLMARA_UPDATE_REFERENCES=1 writes it)")));
    QStringList expected = QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'));
    if (!expected.isEmpty() && expected.last().isEmpty())
        expected.removeLast();
    for (int i = 0; i < std::min(actual.size(), expected.size()); ++i)
        QVERIFY2(actual[i] == expected[i],
                 qPrintable(QStringLiteral("%1 line %2\n   actual: %3\n expected: %4")
                                .arg(name)
                                .arg(i + 1)
                                .arg(actual[i], expected[i])));
    QCOMPARE(actual.size(), expected.size());
}

void TestReports::tableListOfTheDemoOwner()
{
    QVERIFY(openScreen(QStringLiteral("TGHAPP")));
    // Every row prints, marked or not; the views have no storage row and print no tablespace.
    mark(QStringLiteral("ORDERS"));
    print("N1");
    QCOMPARE(m_env->ui.printedReports().size(), 1);
    compareWithReference(printedText(m_env->ui.printedReports()),
                         QStringLiteral("table-list-TGHAPP.txt"));
    QCOMPARE(m_env->ui.printedFiles().size(), 1);
    QCOMPARE(test::ScriptedUiServices::pdfPageCount(m_env->ui.printedFiles().first()), 1);
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 테이블목록표가 발행 되었습니다..."));
    QVERIFY(m_env->ui.messages().isEmpty());
    QVERIFY(!m_screen->findChild<QProgressDialog*>());
}

void TestReports::layouts_data()
{
    QTest::addColumn<QString>("owner");
    QTest::addColumn<QString>("table");
    QTest::addColumn<bool>("wide");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("reference");
    // A unique two-column key and a non-unique index: UNIQUE is padded to NONUNIQUE's width.
    QTest::newRow("two indexes") << "TGHAPP"
                                 << "ORDER_ITEM" << false << 1 << "layout-ORDER_ITEM.txt";
    // Header, headings and index box again on the second page.
    QTest::newRow("40 columns over two pages")
        << "TGHAPP"
        << "CUST_MONTHLY" << true << 2 << "layout-CUST_MONTHLY.txt";
    QTest::newRow("no index: an empty box") << "SCOTT"
                                            << "BONUS" << false << 1 << "layout-BONUS.txt";
}

void TestReports::layouts()
{
    QFETCH(QString, owner);
    QFETCH(QString, table);
    QFETCH(bool, wide);
    QFETCH(int, pages);
    QFETCH(QString, reference);
    QVERIFY(openScreen(owner, wide));
    // Printed from another page, the layout is still the one read for the table.
    m_screen->findChild<QTabWidget*>(QStringLiteral("PageControl1"))
        ->setCurrentIndex(TKOLM210F::IndexPage);
    mark(table);
    print("N2");
    QCOMPARE(m_env->ui.printedReports().size(), 1);
    compareWithReference(printedText(m_env->ui.printedReports()), reference);
    QCOMPARE(test::ScriptedUiServices::pdfPageCount(m_env->ui.printedFiles().first()), pages);
    QCOMPARE(m_screen->statusText(),
             QStringLiteral("▶ 테이블 레이아웃이 발행 되었습니다... (1 건)"));
    QVERIFY(!m_screen->findChild<QWidget*>(QStringLiteral("bbt_update"))->isEnabled());
}

void TestReports::twoMarkedTablesPrintTwoReportsInGridOrder()
{
    QVERIFY(openScreen(QStringLiteral("TGHAPP")));
    mark(QStringLiteral("PRICE_HIST"));
    mark(QStringLiteral("BRANCH"));
    print("N2");
    const QList<QStringList>& reports = m_env->ui.printedReports();
    QCOMPARE(reports.size(), 2);
    compareWithReference(printedText(reports), QStringLiteral("layouts-BRANCH-PRICE_HIST.txt"));
    // One run, one job: both reports in the one file, each on pages of its own.
    QCOMPARE(m_env->ui.printedFiles().size(), 1);
    QCOMPARE(test::ScriptedUiServices::pdfPageCount(m_env->ui.printedFiles().first()), 2);
    QCOMPARE(m_screen->statusText(),
             QStringLiteral("▶ 테이블 레이아웃이 발행 되었습니다... (2 건)"));
}

void TestReports::layoutsNeedAMarkedTable()
{
    QVERIFY(openScreen(QStringLiteral("TGHAPP")));
    print("N2");
    QVERIFY(m_env->ui.printedReports().isEmpty());
    QVERIFY(m_env->ui.printedFiles().isEmpty());
    QCOMPARE(m_screen->statusText(),
             QStringLiteral("▶ 레이아웃을 발행할 테이블을 선택하십시오..."));
}

void TestReports::withoutPrinterTheRunOffersAPdfFile()
{
    QVERIFY(openScreen(QStringLiteral("TGHAPP")));
    m_env->ui.setNoPrinter(true);
    const QString question =
        QStringLiteral("설치된 프린터가 없습니다.\rPDF 파일로 저장하시겠습니까?");

    // Declined, then no file name: nothing is printed.
    m_env->ui.answerMessage(QMessageBox::No);
    print("N1");
    m_env->ui.answerMessage(QMessageBox::Yes);
    m_env->ui.answerSaveFile(QString());
    print("N1");
    QCOMPARE(m_env->ui.messageTexts(), QStringList({question, question}));
    QCOMPARE(m_env->ui.messages().first().icon, QMessageBox::Question);
    QVERIFY(m_env->ui.printedReports().isEmpty());
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 발행이 취소 되었습니다..."));

    // Accepted: the same pages in the chosen file, proposed in the export folder.
    const QString file = m_prints->filePath(QStringLiteral("list.pdf"));
    m_env->ui.answerMessage(QMessageBox::Yes);
    m_env->ui.answerSaveFile(file);
    print("N1");
    QVERIFY(
        m_env->ui.saveDialogStartPaths().last().endsWith(QStringLiteral("TGHAPP_TableList.pdf")));
    QCOMPARE(m_env->ui.printedReports().size(), 1);
    QCOMPARE(test::ScriptedUiServices::pdfPageCount(file), 1);
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ ") + QDir::toNativeSeparators(file) +
                                         QStringLiteral(" 파일로 저장 되었습니다..."));

    // Two layouts: one question, one file with both.
    m_env->ui.clearRecords();
    mark(QStringLiteral("BRANCH"));
    mark(QStringLiteral("COMM_CODE"));
    const QString layouts = m_prints->filePath(QStringLiteral("layouts.pdf"));
    m_env->ui.answerMessage(QMessageBox::Yes);
    m_env->ui.answerSaveFile(layouts);
    print("N2");
    QCOMPARE(m_env->ui.messages().size(), 1);
    QVERIFY(
        m_env->ui.saveDialogStartPaths().last().endsWith(QStringLiteral("TGHAPP_TableLayout.pdf")));
    QCOMPARE(m_env->ui.printedReports().size(), 2);
    QCOMPARE(test::ScriptedUiServices::pdfPageCount(layouts), 2);
}

void TestReports::aFileThatCannotBeWrittenStopsTheRun()
{
    QVERIFY(openScreen(QStringLiteral("TGHAPP")));
    m_env->ui.setNoPrinter(true);
    const QString file = m_prints->filePath(QStringLiteral("no such folder/list.pdf"));
    m_env->ui.answerMessage(QMessageBox::Yes);
    m_env->ui.answerSaveFile(file);
    print("N1");
    QCOMPARE(m_env->ui.messageTexts().last(), QStringLiteral("인쇄를 시작할 수 없습니다.\r") + file);
    QCOMPARE(m_env->ui.messages().last().icon, QMessageBox::Warning);
    QVERIFY(m_env->ui.printedReports().isEmpty());
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 발행 ERROR ..."));
    QVERIFY(!m_screen->findChild<QProgressDialog*>());
}

void TestReports::aDatabaseErrorEndsThePrint()
{
    QVERIFY(openScreen(QStringLiteral("TGHAPP")));
    // The third row's tablespace lookup fails: the error box reports it, the half-printed file
    // is gone and the progress window closed.
    session().failNthStatementForTesting(3, 942, QStringLiteral("table or view does not exist"));
    print("N1");
    QCOMPARE(m_env->ui.messageTexts(),
             QStringList{QStringLiteral("ORA-00942: table or view does not exist")});
    QVERIFY(m_env->ui.printedReports().isEmpty());
    QCOMPARE(m_env->ui.printedFiles().size(), 1);
    QVERIFY(!QFile::exists(m_env->ui.printedFiles().first()));
    QVERIFY(!m_screen->findChild<QProgressDialog*>());

    // The next run prints as if nothing had happened.
    print("N1");
    QCOMPARE(m_env->ui.printedReports().size(), 1);
    QCOMPARE(test::ScriptedUiServices::pdfPageCount(m_env->ui.printedFiles().last()), 1);
}

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
