// TKOLM220F, "각종 오브젝트 정보": the objects the current schema owner (ConnUser) owns, by object
// type and status, with their identifiers and times, and their export to CSV.
#pragma once

#include "screens/MdiScreen.h"

namespace kolmara::screens {

class TKOLM220F : public MdiScreen {
    Q_OBJECT

public:
    explicit TKOLM220F(QWidget* parent = nullptr);

    // Handlers, callable from tests as the event would.
    void FormShow();
    void sbt_selectClick();  // List
    void sbt_ExcelsClick();
    void sbt_clesesClick();

protected:
    void firstShown() override { FormShow(); }

private:
    void setupUi();
    void ClearObjectGrid();
    // The LIKE pattern of an entry of the object-type list ("All" is every type).
    static QString typePattern(const QString& entry);
    QString statusPattern() const;

    QToolButton* sbt_select = nullptr;
    QToolButton* sbt_Excels = nullptr;
    QToolButton* sbt_cleses = nullptr;
    QComboBox* cb_objecttype = nullptr;
    QRadioButton* rb_all = nullptr;
    QRadioButton* rb_valid = nullptr;
    QRadioButton* rb_invalid = nullptr;
    QTabWidget* PageControl1 = nullptr;
    ui::StringGrid* AdvStringGrid1 = nullptr;
};

}  // namespace kolmara::screens
