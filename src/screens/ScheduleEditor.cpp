// The backup schedule editor.
#include "screens/ScheduleEditor.h"

#include "data/HBACKUPT1.h"
#include "screens/BackupCodes.h"
#include "screens/Panels.h"
#include "widgets/ActionGuard.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalBlocker>

namespace kolmara::screens {

namespace {

// The catalogue column holds 200 characters.
constexpr int kConditionLimit = 200;

// Selects the item whose code is `code` (by its integer value, as the lists number them); a code
// outside the list gets an item of its own carrying the code, so it shows and a save keeps it.
void selectCode(QComboBox* box, const QString& code)
{
    if (code.isEmpty())
        return;
    const QSignalBlocker blocker(box);
    bool ok = false;
    const int value = code.toInt(&ok);
    if (ok && value >= 1 && value <= box->count() && box->itemData(value - 1).isNull()) {
        box->setCurrentIndex(value - 1);
        return;
    }
    box->addItem(code + QStringLiteral(" : 목록에 없는 코드"), code);
    box->setCurrentIndex(box->count() - 1);
}

QString codeOf(const QComboBox* box)
{
    const QVariant stored = box->currentData();
    return stored.isValid() ? stored.toString() : box->currentText().left(2);
}

}  // namespace

ScheduleEditor::ScheduleEditor(QWidget* parent) : QObject(parent)
{
    cb_cycle = new QComboBox(parent);
    cb_cycle->setObjectName(QStringLiteral("cb_cycle"));
    cb_cycle->addItems(cycleItems());
    pn_title = valuePanel(QStringLiteral("pn_title"), parent);
    cb_type = new QComboBox(parent);
    cb_type->setObjectName(QStringLiteral("cb_type"));
    cb_type->addItems(typeItems(QLatin1Char('N')));
    cb_backup_time = new QComboBox(parent);
    cb_backup_time->setObjectName(QStringLiteral("cb_backup_time"));
    cb_backup_time->addItems(hourItems());
    mm_condision = new QPlainTextEdit(parent);
    mm_condision->setObjectName(QStringLiteral("mm_condision"));

    ui::connectGuarded(cb_cycle, &QComboBox::currentIndexChanged, this, [this] { cycleChanged(); });
    connect(mm_condision, &QPlainTextEdit::textChanged, this, [this] {
        // Typing or pasting stops at what the catalogue can hold.
        const QString text = mm_condision->toPlainText();
        if (text.size() <= kConditionLimit)
            return;
        const QSignalBlocker blocker(mm_condision);
        mm_condision->setPlainText(text.left(kConditionLimit));
        mm_condision->moveCursor(QTextCursor::End);
    });
}

void ScheduleEditor::cycleChanged()
{
    const QString text = cb_cycle->currentText();
    const QChar code = text.isEmpty() ? QChar() : text.front();
    const QSignalBlocker blocker(cb_type);
    cb_type->clear();
    cb_type->addItems(typeItems(code));
    pn_title->setText(cycleTitle(code));
    if (cb_type->count() > 0)
        cb_type->setCurrentIndex(0);
}

void ScheduleEditor::selectCycle(int item)
{
    {
        const QSignalBlocker blocker(cb_cycle);
        cb_cycle->setCurrentIndex(item);
    }
    cycleChanged();
}

void ScheduleEditor::resetHourList()
{
    // Rebuilt rather than reset: a stored hour outside the list may have added an item.
    const QSignalBlocker blocker(cb_backup_time);
    cb_backup_time->clear();
    cb_backup_time->addItems(hourItems());
    cb_backup_time->setCurrentIndex(0);
}

void ScheduleEditor::showNew(QChar cycle)
{
    int item = 0;
    for (int i = 0; i < cycleItems().size(); ++i)
        if (cycleItems()[i].front() == cycle)
            item = i;
    selectCycle(item);
    resetHourList();
    mm_condision->clear();
}

ScheduleEditor::Codes ScheduleEditor::storedCodes(const data::HBACKUPT1& row)
{
    return {row.slotText(4), row.slotText(5), row.slotText(6), row.slotText(7)};
}

void ScheduleEditor::showStored(const Codes& stored)
{
    int item = 0;
    for (int i = 0; i < cycleItems().size(); ++i)
        if (!stored.cycle.isEmpty() && cycleItems()[i].startsWith(stored.cycle + QLatin1Char(' ')))
            item = i;
    selectCycle(item);
    resetHourList();
    selectCode(cb_type, stored.type);
    selectCode(cb_backup_time, stored.time);
    mm_condision->setPlainText(stored.condition);
}

ScheduleEditor::Codes ScheduleEditor::codes() const
{
    return {cb_cycle->currentText().left(1), codeOf(cb_type), codeOf(cb_backup_time),
            mm_condision->toPlainText()};
}

}  // namespace kolmara::screens
