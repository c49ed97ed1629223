// The worksheets' editor pane.
#include "screens/worksheet/SqlEditorPane.h"

#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"
#include "data/SqlRunner.h"
#include "db/DatabaseError.h"
#include "db/Session.h"
#include "screens/worksheet/SqlEditor.h"
#include "widgets/Colors.h"

#include <QLabel>
#include <QToolBar>
#include <QVBoxLayout>

namespace kolmara::screens {

SqlEditorPane::SqlEditorPane(QToolBar* tools, QWidget* parent)
    : QWidget(parent),
      m_editor(new SqlEditor(this)),
      m_error(new QLabel(this)),
      m_position(new QLabel(tools))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_editor->setObjectName(QStringLiteral("Memo1"));
    layout->addWidget(m_editor, 1);
    m_error->setObjectName(QStringLiteral("pn_error"));
    m_error->setWordWrap(true);
    m_error->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_error->setStyleSheet(
        QStringLiteral("QLabel { color: %1; background: %2; padding: 3px; }")
            .arg(ui::colorFromBgr(0x000000C0).name(), ui::colorFromBgr(0x00E6F0FF).name()));
    m_error->hide();
    layout->addWidget(m_error);

    auto* spacer = new QWidget(tools);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    tools->addWidget(spacer);
    m_position->setObjectName(QStringLiteral("pn_position"));
    m_position->setMinimumWidth(120);
    tools->addWidget(m_position);
    connect(m_editor, &QPlainTextEdit::cursorPositionChanged, this, [this] { updatePosition(); });
    updatePosition();
}

void SqlEditorPane::showError(const QString& text)
{
    m_error->setText(text);
    m_error->setVisible(!text.isEmpty());
}

void SqlEditorPane::updatePosition()
{
    const QTextCursor c = m_editor->textCursor();
    m_position->setText(
        QStringLiteral("%1 줄, %2 열").arg(c.blockNumber() + 1).arg(c.positionInBlock() + 1));
}

std::unique_ptr<data::SqlRunner> SqlEditorPane::openOwnSession(
    const std::function<void(const QString&)>& setStatus)
{
    const db::Session& main = data::mainSession();
    if (!main.isConnected()) {
        setStatus(QStringLiteral("▶ 데이터베이스에 접속되어 있지 않습니다..."));
        return nullptr;
    }
    try {
        return data::SqlRunner::onOwnSession(main, ConnUser);
    } catch (const db::DatabaseError& e) {
        showError(e.message());
        setStatus(
            e.code() > 0
                ? QStringLiteral("▶ 접속 오류 ...(ORA-%1)").arg(e.code(), 5, 10, QLatin1Char('0'))
                : QStringLiteral("▶ 접속 오류 ...(오류)"));
        return nullptr;
    }
}

}  // namespace kolmara::screens
