// The screens' CSV export: the save dialog's file types, the encoding written, the type kept in
// KOLMARA.INI and proposed next time, and the question before CP949 turns characters into '?'.
#include "ScriptedUiServices.h"
#include "common/Folders.h"
#include "common/ProfileFile.h"
#include "screens/GridCsvExport.h"
#include "screens/MdiScreen.h"
#include "widgets/StringGrid.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kolmara;

namespace {

#ifdef Q_OS_WIN
const QString kPatterns = QStringLiteral(" (*.csv)");
#else
const QString kPatterns = QStringLiteral(" (*.csv *.Csv *.CSV)");
#endif
const QString kExcel = QStringLiteral("Excel (UTF-8 with BOM)") + kPatterns;
const QString kCp949 = QStringLiteral("CP949") + kPatterns;
const QString kUtf8 = QStringLiteral("UTF-8") + kPatterns;
const QString kDone = QStringLiteral("▶ 엑셀자료로 전환 완료 되었습니다...");
const QByteArray kSettings = "[System Version]\r\nVersion=1.0\r\nCount=0\r\n";

class Screen : public screens::MdiScreen {
    Q_OBJECT
public:
    Screen() : MdiScreen(QStringLiteral("export"), QSize(300, 200))
    {
        grid = new ui::StringGrid(this);
        setStatusText(QStringLiteral("▶ 조회 되었습니다..."));
    }
    ui::StringGrid* grid;
};

void fill(ui::StringGrid* grid, const QList<QStringList>& rows)
{
    grid->setColCount(rows.first().size());
    grid->setRowCount(rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c)
            grid->setCell(c, r, rows[r][c]);
    }
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QString keptType()
{
    return ProfileFile(settingsFilePath())
        .readString(QStringLiteral("CSV Export"), QStringLiteral("Encoding"));
}

}  // namespace

class TestGridCsvExport : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void eachTypeWritesItsEncodingAndIsProposedNextTime_data();
    void eachTypeWritesItsEncodingAndIsProposedNextTime();
    void unknownKeptTypeProposesExcel();
    void cp949AsksBeforeWritingQuestionMarks();
    void cancelWritesNothing();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestGridCsvExport::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    setProgramFolderForTesting(m_dir->path());
    QFile f(settingsFilePath());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(kSettings);
}

void TestGridCsvExport::cleanup()
{
    setProgramFolderForTesting(QString());
    m_dir.reset();
}

void TestGridCsvExport::eachTypeWritesItsEncodingAndIsProposedNextTime_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("kept");  // in KOLMARA.INI afterwards; empty: nothing written

    // "테이블" and "€" in each encoding.
    QTest::newRow("Excel") << kExcel
                           << QByteArray(
                                  "\xEF\xBB\xBF"
                                  "No.,\xED\x85\x8C\xEC\x9D\xB4\xEB\xB8\x94\r\n1,\xE2\x82\xAC\r\n")
                           << "";
    QTest::newRow("CP949") << kCp949 << QByteArray("No.,\xC5\xD7\xC0\xCC\xBA\xED\r\n1,\xA2\xE6\r\n")
                           << "CP949";
    QTest::newRow("UTF-8") << kUtf8
                           << QByteArray(
                                  "No.,\xED\x85\x8C\xEC\x9D\xB4\xEB\xB8\x94\r\n1,\xE2\x82\xAC\r\n")
                           << "UTF-8";
}

void TestGridCsvExport::eachTypeWritesItsEncodingAndIsProposedNextTime()
{
    QFETCH(QString, type);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, kept);
    test::ScriptedUiServices ui;
    Screen screen;
    fill(screen.grid, {{"No.", "테이블"}, {"1", "€"}});
    const QString path = m_dir->filePath(QStringLiteral("out.Csv"));

    ui.answerSaveFile(path, type);
    QVERIFY(screens::exportGridToCsv(&screen, screen.grid, QStringLiteral("SCOTT_Tables.Csv")));
    QCOMPARE(ui.saveDialogFileTypes().last(), (QStringList{kExcel, kCp949, kUtf8}));
    QCOMPARE(ui.saveDialogProposedTypes().last(), kExcel);
    QVERIFY(ui.saveDialogStartPaths().last().endsWith(QStringLiteral("SCOTT_Tables.Csv")));
    QCOMPARE(readFile(path), bytes);
    QCOMPARE(screen.statusText(), kDone);
    QCOMPARE(keptType(), kept);
    if (kept.isEmpty())
        QCOMPARE(readFile(settingsFilePath()), kSettings);
    else
        QVERIFY(readFile(settingsFilePath()).startsWith(kSettings));

    // The next export proposes the type chosen, and writes in it when the user keeps it.
    QFile::remove(path);
    ui.answerSaveFile(path);
    QVERIFY(screens::exportGridToCsv(&screen, screen.grid, QStringLiteral("SCOTT_Tables.Csv")));
    QCOMPARE(ui.saveDialogProposedTypes().last(), type);
    QCOMPARE(readFile(path), bytes);
}

void TestGridCsvExport::unknownKeptTypeProposesExcel()
{
    ProfileFile(settingsFilePath())
        .writeString(QStringLiteral("CSV Export"), QStringLiteral("Encoding"),
                     QStringLiteral("EBCDIC"));
    test::ScriptedUiServices ui;
    Screen screen;
    fill(screen.grid, {{"A"}, {"1"}});
    const QString path = m_dir->filePath(QStringLiteral("out.Csv"));
    ui.answerSaveFile(path);
    QVERIFY(screens::exportGridToCsv(&screen, screen.grid, QStringLiteral("x.Csv")));
    QCOMPARE(ui.saveDialogProposedTypes().last(), kExcel);
    QCOMPARE(readFile(path), QByteArray("\xEF\xBB\xBF"
                                        "A\r\n1\r\n"));
}

void TestGridCsvExport::cp949AsksBeforeWritingQuestionMarks()
{
    test::ScriptedUiServices ui;
    Screen screen;
    const QString before = screen.statusText();
    fill(screen.grid, {{"No.", "ENAME", ""}, {"1", "KING", ""}, {"2", "สมชาย", "ก"}});
    const QString path = m_dir->filePath(QStringLiteral("out.Csv"));
    const QString question = QStringLiteral(
        "CP949로 나타낼 수 없는 문자가 6개 있습니다.\r"
        "첫 번째: 2행, \"ENAME\" 열의 'ส'\r\r"
        "이 문자들을 '?'로 바꾸어 저장하시겠습니까?\r"
        "[아니오]를 누르면 저장하지 않습니다. 원래 문자를 지키려면 UTF-8 형식으로 저장하십시오.");

    // No: nothing written, nothing kept, the status line as it was.
    ui.answerSaveFile(path, kCp949);
    ui.answerMessage(QMessageBox::No);
    QVERIFY(!screens::exportGridToCsv(&screen, screen.grid, QStringLiteral("x.Csv")));
    QCOMPARE(ui.messages().last().text, question);
    QCOMPARE(ui.messages().last().icon, QMessageBox::Question);
    QVERIFY(!QFile::exists(path));
    QCOMPARE(screen.statusText(), before);
    QCOMPARE(keptType(), QString());

    // Yes: written with '?' in their place.
    ui.answerSaveFile(path, kCp949);
    ui.answerMessage(QMessageBox::Yes);
    QVERIFY(screens::exportGridToCsv(&screen, screen.grid, QStringLiteral("x.Csv")));
    QCOMPARE(readFile(path), QByteArray("No.,ENAME,\r\n1,KING,\r\n2,?????,?\r\n"));
    QCOMPARE(screen.statusText(), kDone);
    QCOMPARE(keptType(), QStringLiteral("CP949"));

    // A column without a header is named by its number.
    fill(screen.grid, {{"No.", "ENAME", ""}, {"1", "KING", "ก"}});
    ui.answerSaveFile(path);
    ui.answerMessage(QMessageBox::No);
    QVERIFY(!screens::exportGridToCsv(&screen, screen.grid, QStringLiteral("x.Csv")));
    QVERIFY(ui.messages().last().text.contains(QStringLiteral("첫 번째: 1행, 3번째 열의 'ก'")));
}

void TestGridCsvExport::cancelWritesNothing()
{
    test::ScriptedUiServices ui;
    Screen screen;
    const QString before = screen.statusText();
    fill(screen.grid, {{"A"}, {"1"}});
    ui.answerSaveFile(QString(), kUtf8);
    QVERIFY(!screens::exportGridToCsv(&screen, screen.grid, QStringLiteral("x.Csv")));
    QCOMPARE(screen.statusText(), before);
    QCOMPARE(readFile(settingsFilePath()), kSettings);
}

QTEST_MAIN(TestGridCsvExport)
#include "tst_gridcsvexport.moc"
