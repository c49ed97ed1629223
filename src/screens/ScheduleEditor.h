// The backup schedule of one table as the table manager's backup tab and the backup screen show
// it: the cycle list, the title of the cycle, the type list of that cycle, the hour list and the
// condition (a WHERE clause on the table's columns). The editor makes the controls under the
// system's names and keeps their behaviour; each screen lays them out among its own panels.
//
// A stored type or hour code outside its list is shown as an item of its own,
// "09 : 목록에 없는 코드", and read back unchanged, so a save never rewrites a code it cannot show.
#pragma once

#include <QObject>
#include <QString>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QWidget;

namespace kolmara::data {
class HBACKUPT1;
}

namespace kolmara::screens {

class ScheduleEditor : public QObject {
    Q_OBJECT

public:
    // The codes of a schedule: the cycle letter, the type and hour codes, the condition text.
    struct Codes {
        QString cycle;
        QString type;
        QString time;
        QString condition;
    };

    // Makes cb_cycle, pn_title, cb_type, cb_backup_time and mm_condision under `parent`.
    explicit ScheduleEditor(QWidget* parent);

    // No schedule: `cycle` chosen with the first type of its list, the first hour, no condition.
    void showNew(QChar cycle);
    // A stored schedule; a cycle letter outside the list shows the first cycle.
    void showStored(const Codes& stored);
    // The schedule of the row a GetBackupTable read found (its cycle, type, hour and condition).
    static Codes storedCodes(const data::HBACKUPT1& row);
    Codes codes() const;

    // The cycle list changed: the type list becomes the new cycle's, at its first item.
    void cycleChanged();

    QComboBox* cb_cycle = nullptr;
    QLabel* pn_title = nullptr;
    QComboBox* cb_type = nullptr;
    QComboBox* cb_backup_time = nullptr;
    QPlainTextEdit* mm_condision = nullptr;

private:
    void selectCycle(int item);
    void resetHourList();
};

}  // namespace kolmara::screens
