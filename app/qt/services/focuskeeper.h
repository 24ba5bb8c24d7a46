#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// Gives the keyboard back to the main window when one of the program's own windows (a dialog, the tip
// window) closes while it held the focus. A window manager does this by itself; without one (a kiosk
// session, Xvfb) the keys would go nowhere until the user clicks. A window that closes while another
// program has the focus leaves that program's focus alone.
class TfocusKeeper : public QObject
{
    Q_OBJECT
public:
    // Watches the whole application while it lives.
    explicit TfocusKeeper(QWidget* mainWindow, QObject* parent = nullptr);
    ~TfocusKeeper() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void GiveBackFocus();

    QPointer<QWidget> mainWindow_;
};
