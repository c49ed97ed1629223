// The worker thread, the local event loop that keeps the window alive, and the cancel window.
#include "widgets/CancellableCall.h"

#include "widgets/ActionGuard.h"
#include "widgets/UiServices.h"

#include <QDialog>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <atomic>
#include <exception>
#include <thread>

namespace kolmara::ui {

void runCancellable(QWidget* parent, const QString& text,
                    const std::function<void(const StopFlag&)>& work,
                    const std::function<void()>& cancel)
{
    const BusyCursor busy;
    StopFlag stop;
    std::exception_ptr failure;
    QEventLoop loop;
    bool finished = false;

    QDialog window(parent);
    window.setObjectName(QStringLiteral("CancellableCall"));
    window.setWindowTitle(kApplicationTitle);
    window.setWindowModality(Qt::ApplicationModal);
    window.setWindowFlag(Qt::WindowCloseButtonHint, false);
    auto* label = new QLabel(text, &window);
    label->setObjectName(QStringLiteral("pn_message"));
    auto* button = new QPushButton(QStringLiteral("취소"), &window);
    button->setObjectName(QStringLiteral("sbt_cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(label);
    layout->addLayout(buttons);

    // The loop ends when the worker and the canceller have both finished.
    std::atomic<int> running{1};
    auto finishOne = [&] {
        if (--running == 0)
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    };
    std::thread canceller;
    auto requestStop = [&] {
        if (stop.isSet())
            return;
        stop.set();
        label->setText(QStringLiteral("취소하는 중입니다..."));
        button->setEnabled(false);
        ++running;
        canceller = std::thread([&] {
            cancel();
            finishOne();
        });
    };
    QObject::connect(button, &QPushButton::clicked, &window, requestStop);
    // Escape asks to cancel too; the window stays until the work has ended.
    QObject::connect(&window, &QDialog::rejected, &window, [&] {
        requestStop();
        if (!finished)
            window.show();
    });
    QTimer::singleShot(kCancellableShowAfterMs, &window, [&] {
        if (!finished)
            window.show();
    });

    std::thread worker([&] {
        try {
            work(stop);
        } catch (...) {
            failure = std::current_exception();
        }
        finishOne();
    });
    loop.exec();
    worker.join();
    if (canceller.joinable())
        canceller.join();
    finished = true;
    window.hide();
    if (failure)
        std::rethrow_exception(failure);
}

}  // namespace kolmara::ui
