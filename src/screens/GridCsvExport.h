// The screens' CSV export of a list grid: the save dialog in the export folder with a proposed
// file name and a choice of encodings, the grid written as comma-separated text (header row
// included), and the status line that says it is done.
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

// Proposes `fileName` (made file-safe by fileNameFor, so that a server name such as
// "host:1521/ORCL" still proposes a file in the export folder) in the export folder, with the file
// types "Excel (UTF-8 with BOM)", "CP949" and "UTF-8"; the type last chosen ([CSV Export] Encoding
// of KOLMARA.INI: Excel, CP949 or UTF-8) is proposed, Excel when none is kept. Returns false, with
// nothing written and the status line untouched, when the user cancels, or when CP949 cannot hold
// some characters of the grid and the user declines to have them written as '?'. Otherwise writes
// the whole grid to the chosen file, shows "▶ 엑셀자료로 전환 완료 되었습니다..." on the screen's
// status line (repainted at once) and keeps the type chosen. A file that cannot be written throws
// KolmaraError naming it (the action guard reports it); no status line is written then. A settings
// file that cannot keep the type throws SettingsError after the export is done.
bool exportGridToCsv(MdiScreen* screen, const ui::StringGrid* grid, const QString& fileName);

}  // namespace kolmara::screens
