// TKOLM300F, "세션/락트랜젝션 정보": the sessions and locks of the connected database, refreshed on
// demand or every N seconds, the SQL text of a chosen session, and the session kill.
#pragma once

#include "screens/MdiScreen.h"

namespace kolmara::screens {

class TKOLM300F : public MdiScreen {
    Q_OBJECT

public:
    explicit TKOLM300F(QWidget* parent = nullptr);

    // Handlers and timer ticks, callable from tests as the event would.
    void FormShow();
    void sbt_selectClick();
    void sbt_CancelClick();
    void sbt_clesesClick();
    void rb_sessionNoneClick();
    void rb_sessionTimesClick();
    void rb_statusClick();
    void rb_lockNoneClick();
    void rb_lockTimesClick();
    void se_timeClick();   // a click on the sessions page's seconds box
    void se_time1Click();  // a click on the locks page's seconds box
    void PageControl1Change();
    void Timer1Timer();
    void Timer2Timer();
    void Timer3Timer();

    void LoadSessionList();
    void LoadLockList();
    // A click on row `row` of the session grid (locks = false) or the lock grid (locks = true).
    void ShowSessionSql(bool locks, int row);

    QString TabChanging() const { return m_tabChanging; }

protected:
    void firstShown() override { FormShow(); }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setupUi();
    void ClearSessionGrid();
    void ClearLockGrid();
    void clearLowerBoxes();
    bool sessionsPageShown() const;
    // Seconds from a seconds box; never below 1, so neither timer nor gauge sees 0 or less.
    static int periodMs(const QSpinBox* box);
    void startTimes(QTimer* timer, ui::PieGauge* gauge, const QSpinBox* box);

    QToolButton* sbt_select = nullptr;
    QToolButton* sbt_Cancel = nullptr;
    QToolButton* sbt_cleses = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QRadioButton* rb_none1 = nullptr;
    QRadioButton* rb_times1 = nullptr;
    QSpinBox* se_time = nullptr;
    ui::PieGauge* Gauge1 = nullptr;
    QRadioButton* rb_all = nullptr;
    QRadioButton* rb_active = nullptr;
    QRadioButton* rb_inactive = nullptr;
    ui::StringGrid* AdvStringGrid1 = nullptr;
    QRadioButton* rb_none2 = nullptr;
    QRadioButton* rb_times2 = nullptr;
    QSpinBox* se_time1 = nullptr;
    ui::PieGauge* Gauge2 = nullptr;
    ui::StringGrid* AdvStringGrid2 = nullptr;
    QSplitter* Splitter1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QTabWidget* PageControl2 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;  // the SQL text box
    QPlainTextEdit* Memo2 = nullptr;  // the kill box
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    QTimer* Timer3 = nullptr;

    QString m_sid;
    QString m_serial;
    QString m_user;
    QString m_sqlText;
    QString m_statusPattern;
    QString m_tabChanging = QStringLiteral("0");
    int m_shownPage = 0;
};

}  // namespace kolmara::screens
