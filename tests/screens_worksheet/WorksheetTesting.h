// What the worksheet tests read off a screen: a grid's data rows and the editor's cursor.
#pragma once

#include "screens/worksheet/SqlEditor.h"
#include "widgets/StringGrid.h"

#include <QPoint>
#include <QStringList>

namespace kolmara::test {

// The data rows of a grid, each as its cells joined by "|".
inline QStringList gridRows(const ui::StringGrid* grid)
{
    QStringList out;
    for (int r = 1; r < grid->rowCount(); ++r) {
        QStringList fields;
        for (int c = 0; c < grid->colCount(); ++c)
            fields.append(grid->cell(c, r));
        out.append(fields.join(QLatin1Char('|')));
    }
    return out;
}

// The line and column (from 1) of the editor's cursor.
inline QPoint cursorPlace(const screens::SqlEditor* editor)
{
    const QTextCursor c = editor->textCursor();
    return {c.blockNumber() + 1, c.positionInBlock() + 1};
}

}  // namespace kolmara::test
