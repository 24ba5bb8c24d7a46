#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <utility>

// Runs check on the modal window once the caller's modal loop is up. Until a modal window shows, the
// check waits for the next turn of the event loop, so pending messages run before the modal loop starts
// do not see it too early. The check must close the window, or the caller's loop never ends.
inline void WhenModal(std::function<void(QWidget*)> check)
{
    auto attempt = std::make_shared<std::function<void()>>();
    *attempt = [attempt, check = std::move(check)]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            QTimer::singleShot(0, [attempt] { (*attempt)(); });
            return;
        }
        auto run = std::move(check);
        *attempt = nullptr; // breaks the cycle
        run(modal);
    };
    QTimer::singleShot(0, [attempt] { (*attempt)(); });
}
