// Caption cells and value panels.
#include "screens/Panels.h"

#include "widgets/Colors.h"

#include <QLabel>
#include <QLineEdit>
#include <QValidator>

namespace kolmara::screens {

namespace {

class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

}  // namespace

void colourOwnBackground(QWidget* widget)
{
    // Without a role of its own a widget paints with its parent's, which is Button inside a tool
    // strip: the colour set for Window would not show there.
    widget->setBackgroundRole(QPalette::Window);
    widget->setAutoFillBackground(true);
}

QLabel* captionCell(const QString& text, QWidget* parent, int width)
{
    auto* label = new QLabel(text, parent);
    colourOwnBackground(label);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, ui::colorFromBgr(ui::kCaptionColor));
    pal.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(pal);
    label->setAlignment(Qt::AlignCenter);
    label->setFixedSize(width, 21);
    return label;
}

QLabel* valuePanel(const QString& name, QWidget* parent, bool rightAligned)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    colourOwnBackground(label);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, Qt::white);
    label->setPalette(pal);
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    label->setFixedHeight(21);
    label->setMinimumWidth(40);
    label->setAlignment((rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

void keepUpperCase(QLineEdit* edit)
{
    edit->setValidator(new UpperCaseValidator(edit));
}

}  // namespace kolmara::screens
