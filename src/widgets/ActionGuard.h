// The action guard: every user action and timer tick runs inside runGuarded, so no exception
// ever reaches Qt's event loop. An exception that gets this far ends the action: the cursor is
// restored and the application's error box (the message, an OK button, the application title as
// caption) reports it.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <type_traits>
#include <utility>

class QWidget;

namespace kolmara::ui {

// Runs the action; never throws.
void runGuarded(QWidget* parent, const std::function<void()>& action) noexcept;

// The application's error box for a message that reached the guard.
void showErrorBox(QWidget* parent, const QString& message);

// connect() for user actions: the slot runs inside runGuarded with `context` as the error box's
// parent. Use it wherever a signal is connected to a handler. The slot takes all of the signal's
// arguments or none.
template <typename Sender, typename Signal, typename Context, typename Slot>
QMetaObject::Connection connectGuarded(Sender* sender, Signal signal, Context* context, Slot slot)
{
    return QObject::connect(
        sender, signal, context, [context, slot = std::move(slot)](auto&&... args) {
            runGuarded(qobject_cast<QWidget*>(context), [&] {
                if constexpr (std::is_invocable_v<const Slot&, decltype(args)...>)
                    slot(std::forward<decltype(args)>(args)...);
                else
                    slot();
            });
        });
}

// The screen cursor: the hourglass while busy, the default otherwise. Like a single cursor
// property, setting it busy twice and then not busy once leaves the default cursor.
void setBusyCursor(bool busy);
bool isBusyCursor();

// Sets the hourglass for a scope and restores the default cursor when the scope ends, also when an
// exception passes.
class BusyCursor {
public:
    BusyCursor() { setBusyCursor(true); }
    ~BusyCursor() { setBusyCursor(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace kolmara::ui
