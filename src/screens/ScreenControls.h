// The control classes screens keep as members, declared once for every screen's header.
#pragma once

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QRadioButton;
class QSpinBox;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;
class QTreeWidget;

namespace kolmara::ui {
class BarGauge;
class PieGauge;
class StringGrid;
}  // namespace kolmara::ui
