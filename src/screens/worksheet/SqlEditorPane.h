// The editor half of both worksheets: the SQL editor ("Memo1") with the error of the last run
// under it ("pn_error", hidden while there is none), and the cursor's line and column
// ("pn_position") at the right end of the screen's tool strip.
#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QToolBar;

namespace kolmara::data {
class SqlRunner;
}

namespace kolmara::screens {

class SqlEditor;

class SqlEditorPane : public QWidget {
    Q_OBJECT

public:
    SqlEditorPane(QToolBar* tools, QWidget* parent);

    SqlEditor* editor() const { return m_editor; }
    // Shows the text under the editor; an empty text hides it.
    void showError(const QString& text);
    // The worksheet's own session on the main login, working in the chosen account. Null when it
    // cannot be had: the reason shows under the editor and goes to setStatus as a status line.
    std::unique_ptr<data::SqlRunner> openOwnSession(
        const std::function<void(const QString&)>& setStatus);

private:
    void updatePosition();

    SqlEditor* m_editor;
    QLabel* m_error;
    QLabel* m_position;
};

}  // namespace kolmara::screens
