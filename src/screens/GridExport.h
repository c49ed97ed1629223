// CSV export of a screen's grid, the way every screen offers it: a save dialog that starts in the
// export folder with a proposed file name, the grid written as CSV (UTF-8 with a byte-order mark,
// so Excel on a Korean desktop reads the Korean text), and the screen's status line.
#pragma once

#include <QString>

namespace kolmara::ui {
class StringGrid;
}

namespace kolmara::screens {

class MdiScreen;

// The folder the export dialogs start in: C:\Kolmara\Down on Windows, ~/Kolmara/Down elsewhere.
QString exportFolder();

// The proposed name made safe as a file name: characters a file name cannot hold (\ / : * ? " < >
// | and control characters) become "_", so a server name such as "host:1521/ORCL" still proposes
// a file in the export folder.
QString exportFileName(const QString& proposed);

// Asks for a path with the proposed name in the export folder. When the user picks one, the grid
// writes itself there and the screen's status line reads "▶ 엑셀자료로 전환 완료 되었습니다...",
// repainted at once; returns true. A cancel writes nothing, leaves the status line and returns
// false. A file that cannot be written raises KolmaraError naming it (the file is left as it was).
bool exportGridToCsv(MdiScreen* screen, const ui::StringGrid& grid, const QString& proposedName);

}  // namespace kolmara::screens
