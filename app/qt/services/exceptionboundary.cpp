#include "app/qt/services/exceptionboundary.h"

#include "core/util/promptservice.h"

void ShowException(const std::exception& error)
{
    try {
        ShowMessageBox(error.what(), ApplicationTitle(), TmessageButtons::Ok, TmessageIcon::Error);
    } catch (...) {
        // A box that cannot be shown must not take the program down with it.
    }
}

void ShowUnknownException()
{
    try {
        ShowMessageBox("An unknown error occurred.", ApplicationTitle(), TmessageButtons::Ok,
                       TmessageIcon::Error);
    } catch (...) {
    }
}

TorvaneApplication::TorvaneApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TorvaneApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    Guarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
