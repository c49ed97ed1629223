// The screens' CSV export of a list grid: the save dialog in the export folder with a proposed
// file name, the grid written as comma-separated text (header row included), and the status line
// that says it is done.
#pragma once

#include <QString>

namespace kolmara::ui {
class StringGrid;
}

namespace kolmara::screens {

class MdiScreen;

// The folder the save dialog starts in: C:\Kolmara\Down on Windows, ~/Kolmara/Down elsewhere;
// the home folder when that folder does not exist.
QString exportFolder();

// Proposes `fileName` in the export folder. Returns false, with nothing written and the status
// line untouched, when the user cancels. Otherwise writes the whole grid to the chosen file and
// shows "▶ 엑셀자료로 전환 완료 되었습니다..." on the screen's status line. A file that cannot be
// written throws KolmaraError naming it (the action guard reports it); no status line is written
// then.
bool exportGridToCsv(MdiScreen* screen, const ui::StringGrid* grid, const QString& fileName);

}  // namespace kolmara::screens
