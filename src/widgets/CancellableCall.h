// A blocking database call (a long query, a table dump) run on a worker thread while the window
// keeps painting and its timers keep ticking, with a way to cancel it. After a short moment a
// small application-modal window says what runs and offers "취소", so the user cannot start other
// work on the same session meanwhile; a call that ends sooner shows nothing.
//
//   ui::runCancellable(this, QStringLiteral("테이블을 읽는 중입니다..."),
//                      [&](const ui::StopFlag& stop) { ... read rows, ask stop.isSet() between rows
//                      ... },
//                      [&] { session.cancel(); });
#pragma once

#include <QString>

#include <atomic>
#include <functional>

class QWidget;

namespace kolmara::ui {

// Set once the user asked to stop. A call the driver can break ends with ORA-01013 by itself; a
// loop between calls (writing the rows it read) asks the flag.
class StopFlag {
public:
    bool isSet() const noexcept { return m_set.load(); }
    void set() noexcept { m_set.store(true); }

private:
    std::atomic<bool> m_set{false};
};

// How long a call runs before its window shows.
constexpr int kCancellableShowAfterMs = 400;

// Runs work on a worker thread and returns once it has ended; an exception it threw is thrown
// again here, on the calling thread. The cancel button sets the flag and calls `cancel` on a
// thread of its own, so a break that cannot reach the server never freezes the window; `cancel`
// must be thread-safe (Session::cancel is). The work must not touch widgets.
void runCancellable(QWidget* parent, const QString& text,
                    const std::function<void(const StopFlag&)>& work,
                    const std::function<void()>& cancel);

}  // namespace kolmara::ui
