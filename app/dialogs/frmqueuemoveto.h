#pragma once

#include <QDialog>

class QPushButton;
class QSpinBox;

// The small borderless popup that asks for a song's new place in the queue; positions are shown 1-based.
class TfrmQueueMoveTo : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kColumnWidth = 60;

    explicit TfrmQueueMoveTo(QWidget* parent = nullptr);

    QSpinBox* PositionEdit() const { return speQueueMove; }
    QPushButton* OkButton() const { return btnOK; }
    QPushButton* CancelButton() const { return btnCancel; }

private:
    QSpinBox* speQueueMove;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

// Asks for a new 0-based position between lowest and highest, starting at current, with the popup's top
// left corner at (left, top) on the screen. Cancel gives current back.
int AskQueuePosition(int lowest, int highest, int current, int left, int top, QWidget* parent = nullptr);
