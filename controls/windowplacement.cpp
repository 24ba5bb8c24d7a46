#include "controls/windowplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

QPoint CentredPosition(const QSize& frame, const QRect& area, const QRect& screen)
{
    int left = area.left() + (area.width() - frame.width()) / 2;
    int top = area.top() + (area.height() - frame.height()) / 2;
    if (screen.contains(area)) {
        left = std::min(left, screen.left() + screen.width() - frame.width());
        top = std::min(top, screen.top() + screen.height() - frame.height());
    }
    return {std::max(left, screen.left()), std::max(top, screen.top())};
}

void CentreOnOwner(QWidget& window, const QWidget* owner)
{
    const QWidget* shown = owner != nullptr && owner->window()->isVisible() ? owner->window() : nullptr;
    const QScreen* screen = owner != nullptr ? owner->window()->screen() : window.screen();
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect work = screen->availableGeometry();
    window.move(CentredPosition(window.frameGeometry().size(),
                                shown != nullptr ? shown->frameGeometry() : work, work));
}
