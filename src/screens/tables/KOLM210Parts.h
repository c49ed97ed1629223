// Pieces the table manager's files share: its grids' column counts, the backup flag values and
// the caption and memo controls of its pages.
#pragma once

#include <QString>

class QLabel;
class QPlainTextEdit;
class QWidget;

namespace kolmara::screens::table_manager {

constexpr int kListColumns = 6;
constexpr int kLayoutColumns = 9;
constexpr int kIndexColumns = 13;
constexpr int kColumnListColumns = 6;
constexpr int kConstraintColumns = 9;
constexpr int kTriggerColumns = 9;
constexpr int kCheckColumn = 3;
constexpr int kFlagColumn = 5;

inline const QString kYes = QStringLiteral("Y");
inline const QString kNo = QStringLiteral("N");

// A right-aligned caption beside a control.
QLabel* caption(const QString& text, QWidget* parent);
// A text box with a fixed background colour (BGR) and a vertical scroll bar always shown.
QPlainTextEdit* memo(const char* name, quint32 bgr, QWidget* parent);

}  // namespace kolmara::screens::table_manager
