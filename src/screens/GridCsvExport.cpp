// The screens' CSV export.
#include "screens/GridCsvExport.h"

#include "screens/MdiScreen.h"
#include "widgets/StringGrid.h"
#include "widgets/UiServices.h"

#include <QDir>

namespace kolmara::screens {

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
    const QString start = QDir::toNativeSeparators(exportFolder() + QLatin1Char('/') + fileName);
    const QString path = ui::services().saveFileName(screen, QString(), start, QString());
    if (path.isEmpty())
        return false;
    grid->saveToCsv(path);
    screen->setStatusText(QStringLiteral("▶ 엑셀자료로 전환 완료 되었습니다..."));
    return true;
}

}  // namespace kolmara::screens
