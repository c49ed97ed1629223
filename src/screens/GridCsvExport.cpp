// The screens' CSV export.
#include "screens/GridCsvExport.h"

#include "common/Folders.h"
#include "common/ProfileFile.h"
#include "screens/MdiScreen.h"
#include "widgets/StringGrid.h"
#include "widgets/UiServices.h"

#include <QDir>

namespace kolmara::screens {

namespace {

const QString kSettingsSection = QStringLiteral("CSV Export");
const QString kSettingsKey = QStringLiteral("Encoding");

struct CsvFileType {
    ui::CsvEncoding encoding;
    QString setting;  // the value kept in the settings file
    QString name;     // the name the save dialog shows
};

// In the dialog's order; the first is the default.
const CsvFileType kFileTypes[] = {
    {ui::CsvEncoding::Utf8WithBom, QStringLiteral("Excel"),
     QStringLiteral("Excel (UTF-8 with BOM)")},
    {ui::CsvEncoding::Cp949, QStringLiteral("CP949"), QStringLiteral("CP949")},
    {ui::CsvEncoding::Utf8, QStringLiteral("UTF-8"), QStringLiteral("UTF-8")},
};

QString dialogFileType(const CsvFileType& type)
{
    // The proposed names end in ".Csv", and the dialog matches patterns case-sensitively where the
    // file system does.
#ifdef Q_OS_WIN
    return type.name + QStringLiteral(" (*.csv)");
#else
    return type.name + QStringLiteral(" (*.csv *.Csv *.CSV)");
#endif
}

const CsvFileType& rememberedFileType()
{
    const QString value =
        ProfileFile(settingsFilePath()).readString(kSettingsSection, kSettingsKey).trimmed();
    for (const CsvFileType& type : kFileTypes) {
        if (value.compare(type.setting, Qt::CaseInsensitive) == 0)
            return type;
    }
    return kFileTypes[0];
}

// Asks before '?' takes the place of characters code page 949 cannot hold.
bool acceptLossInCp949(MdiScreen* screen, const ui::StringGrid* grid)
{
    const ui::CharactersOutsideCp949 lost = grid->charactersOutsideCp949();
    if (lost.count == 0)
        return true;
    const QString row =
        lost.row == 0 ? QStringLiteral("제목 행") : QStringLiteral("%1행").arg(lost.row);
    const QString header = grid->cell(lost.col, 0);
    const QString column = header.trimmed().isEmpty() ? QStringLiteral("%1번째").arg(lost.col + 1)
                                                      : QStringLiteral("\"%1\"").arg(header);
    const QString text = QStringLiteral(
                             "CP949로 나타낼 수 없는 문자가 %1개 있습니다.\r"
                             "첫 번째: %2, %3 열의 '%4'\r\r"
                             "이 문자들을 '?'로 바꾸어 저장하시겠습니까?\r"
                             "[아니오]를 누르면 저장하지 않습니다. 원래 문자를 지키려면 "
                             "UTF-8 형식으로 저장하십시오.")
                             .arg(lost.count)
                             .arg(row, column, lost.first);
    return ui::showMessage(screen, text, QMessageBox::Question,
                           QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace

QString exportFolder()
{
#ifdef Q_OS_WIN
    const QString folder = QStringLiteral("C:/Kolmara/Down");
#else
    const QString folder = QDir::homePath() + QStringLiteral("/Kolmara/Down");
#endif
    return QDir(folder).exists() ? folder : QDir::homePath();
}

bool exportGridToCsv(MdiScreen* screen, const ui::StringGrid* grid, const QString& fileName)
{
    const QString start =
        QDir::toNativeSeparators(exportFolder() + QLatin1Char('/') + fileNameFor(fileName));
    QStringList offered;
    for (const CsvFileType& type : kFileTypes)
        offered << dialogFileType(type);
    const CsvFileType& remembered = rememberedFileType();
    QString chosen = dialogFileType(remembered);
    const QString path =
        ui::services().saveFileNameWithType(screen, QString(), start, offered, &chosen);
    if (path.isEmpty())
        return false;
    const CsvFileType* type = &remembered;
    for (const CsvFileType& t : kFileTypes) {
        if (dialogFileType(t) == chosen)
            type = &t;
    }
    if (type->encoding == ui::CsvEncoding::Cp949 && !acceptLossInCp949(screen, grid))
        return false;
    grid->saveToCsv(path, type->encoding);
    screen->showStatusNow(QStringLiteral("▶ 엑셀자료로 전환 완료 되었습니다..."));
    if (type != &remembered)
        ProfileFile(settingsFilePath()).writeString(kSettingsSection, kSettingsKey, type->setting);
    return true;
}

}  // namespace kolmara::screens
