// The about box.
#include "app/KOLM900U.h"

#include "app/AppIcon.h"
#include "common/KOLMCOMM.h"
#include "widgets/Colors.h"
#include "widgets/DialogFrame.h"
#include "widgets/Fonts.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace kolmara::app {

TKOLM900F::TKOLM900F(QWidget* parent) : QDialog(parent)
{
    ui::setupDialogFrame(this, QStringLiteral("TKOLM900F"), QStringLiteral("프로그램에 대하여"),
                         QSize(308, 139));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(programIcon().pixmap(32, 32));
    icon->setGeometry(16, 16, 32, 32);

    auto title = [this](const QString& name, const QString& text, int y) {
        auto* label = new QLabel(text, this);
        label->setObjectName(name);
        QFont f = ui::gulimChe(16);
        f.setBold(true);
        label->setFont(f);
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, ui::colorFromBgr(0x00FF0000));
        label->setPalette(pal);
        label->setGeometry(64, y, 230, 20);
        return label;
    };
    title(QStringLiteral("Label1"), QStringLiteral("오라클 관리 툴"), 12);
    title(QStringLiteral("Label2"), QStringLiteral("Kolmara"), 34);

    m_version = new QLabel(this);
    m_version->setObjectName(QStringLiteral("lb_version"));
    m_version->setFont(ui::gulimChe(13));
    QPalette pal = m_version->palette();
    pal.setColor(QPalette::WindowText, ui::colorFromBgr(0x00000080));
    m_version->setPalette(pal);
    m_version->setGeometry(64, 58, 230, 18);

    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Bevel1"));
    line->setGeometry(8, 88, 292, 1);
    line->setAutoFillBackground(true);
    QPalette linePal = line->palette();
    linePal.setColor(QPalette::Window, ui::colorFromBgr(0x00E8E8E8));
    line->setPalette(linePal);

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("bbt_ok"));
    ok->setDefault(true);
    ok->setGeometry(116, 100, 75, 25);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TKOLM900F::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TKOLM900F::FormShow()
{
    m_version->setText(QStringLiteral("v") + CfgVersion + QStringLiteral(" ") + CfgVerDate);
}

}  // namespace kolmara::app
