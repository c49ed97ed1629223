// The screens' CSV export.
#include "screens/GridExport.h"

#include "screens/MdiScreen.h"
#include "widgets/StringGrid.h"
#include "widgets/UiServices.h"

#include <QDir>

namespace kolmara::screens {

QString exportFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Kolmara\\Down");
#else
    return QDir::homePath() + QStringLiteral("/Kolmara/Down");
#endif
}

QString exportFileName(const QString& proposed)
{
    static const QString kForbidden = QStringLiteral("\\/:*?\"<>|");
    QString name = proposed;
    for (QChar& c : name) {
        if (c.unicode() < 0x20 || kForbidden.contains(c))
            c = QLatin1Char('_');
    }
    return name;
}

bool exportGridToCsv(MdiScreen* screen, const ui::StringGrid& grid, const QString& proposedName)
{
    const QString start =
        QDir(exportFolder()).filePath(exportFileName(proposedName));
    const QString path = ui::services().saveFileName(
        screen, QStringLiteral("다른 이름으로 저장"), QDir::toNativeSeparators(start), QString());
    if (path.isEmpty())
        return false;
    grid.saveToCsv(path);
    screen->showStatusNow(QStringLiteral("▶ 엑셀자료로 전환 완료 되었습니다..."));
    return true;
}

}  // namespace kolmara::screens
