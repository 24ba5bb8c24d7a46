// The skinned window's mouse on its own panels: moving the window by its title panel, sizing it by the
// grip of its frame, and the clicks on the title panel, the song title banner and the timer.
#include "app/windows/frmskinnedjukeboxapp.h"

#include "app/qt/services/exceptionboundary.h"
#include "controls/digitaldisplay.h"
#include "controls/orvanepanel.h"
#include "controls/scrollbanner3.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QWindow>

#include <algorithm>

// ---- Mouse on the window's own panels

bool TfrmSkinnedJukeboxApp::InGrip(const QWidget* panel, const QPoint& at)
{
    return at.x() >= panel->width() - kGripSize && at.y() >= panel->height() - kGripSize;
}

void TfrmSkinnedJukeboxApp::FollowDrag(const QPoint& globalPosition)
{
    const QPoint delta = globalPosition - pressedAt_;
    if (drag_ == Tdrag::Move)
        move(dragBounds_.topLeft() + delta);
    else if (drag_ == Tdrag::Resize)
        resize(std::max(minimumWidth(), dragBounds_.width() + delta.x()),
               std::max(minimumHeight(), dragBounds_.height() + delta.y()));
}

void TfrmSkinnedJukeboxApp::TitleMouseMove(const QMouseEvent& mouse)
{
    const QPoint at = mouse.globalPosition().toPoint();
    if (drag_ == Tdrag::Move) {
        FollowDrag(at);
        return;
    }
    if (!(mouse.buttons() & Qt::LeftButton) || pressedOn_ != opnlTitle || fullScreen_ ||
        (at - pressedAt_).manhattanLength() < QApplication::startDragDistance())
        return;
    pressedOn_ = nullptr; // a drag, not a click
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    drag_ = Tdrag::Move;
    dragBounds_ = geometry();
    FollowDrag(at);
}

bool TfrmSkinnedJukeboxApp::GripMouse(QWidget* panel, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseMove && type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    switch (type) {
    case QEvent::MouseMove:
        if (drag_ == Tdrag::Resize) {
            FollowDrag(mouse->globalPosition().toPoint());
            return true;
        }
        if (!fullScreen_ && InGrip(panel, mouse->position().toPoint()))
            panel->setCursor(Qt::SizeFDiagCursor);
        else
            panel->unsetCursor();
        return false;
    case QEvent::MouseButtonPress:
        if (mouse->button() != Qt::LeftButton || fullScreen_ || !InGrip(panel, mouse->position().toPoint()))
            return false;
        if (windowHandle() && windowHandle()->startSystemResize(Qt::RightEdge | Qt::BottomEdge))
            return true;
        drag_ = Tdrag::Resize;
        pressedAt_ = mouse->globalPosition().toPoint();
        dragBounds_ = geometry();
        return true;
    case QEvent::MouseButtonRelease:
        if (drag_ != Tdrag::Resize)
            return false;
        drag_ = Tdrag::None;
        return true;
    default:
        return false;
    }
}

bool TfrmSkinnedJukeboxApp::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == opnlBodyRight || watched == opnlBodyBottom) {
        bool handled = false;
        Guarded([&] { handled = GripMouse(static_cast<QWidget*>(watched), event); });
        if (handled)
            return true;
    }
    if (watched == opnlTitle && event->type() == QEvent::MouseMove) {
        Guarded([&] { TitleMouseMove(*static_cast<QMouseEvent*>(event)); });
    }
    const bool pressOrRelease =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease;
    if (pressOrRelease && (watched == opnlTitle || watched == sbnrSongTitle || watched == ddTimer)) {
        // Only mouse events are read as such: the filter sees every event of these panels.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
            pressedOn_ = watched;
            pressedAt_ = mouse->globalPosition().toPoint();
        } else if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
            const bool click = pressedOn_ == watched && drag_ == Tdrag::None;
            drag_ = Tdrag::None;
            pressedOn_ = nullptr;
            if (click && !Closing())
                Guarded([this, watched] { PanelClicked(watched); });
        }
    }
    return TfrmJukeboxApp::eventFilter(watched, event);
}

void TfrmSkinnedJukeboxApp::PanelClicked(QObject* watched)
{
    if (watched == opnlTitle)
        alMain.actnHelpAbout->trigger();
    else if (watched == sbnrSongTitle)
        SetScrollSongTitle(!GetScrollSongTitle());
    else if (watched == ddTimer)
        SetShowTimeRemaining(!GetShowTimeRemaining());
}
