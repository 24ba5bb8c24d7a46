#include "app/dialogs/frmqueuemoveto.h"

#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TfrmQueueMoveTo::TfrmQueueMoveTo(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName("frmQueueMoveTo");

    speQueueMove = new QSpinBox(this);
    speQueueMove->setObjectName("speQueueMove");
    speQueueMove->setToolTip("This is the position to move the song to");
    speQueueMove->setFixedWidth(kColumnWidth);
    btnOK = new QPushButton("&OK", this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    btnOK->setFixedWidth(kColumnWidth);
    btnCancel = new QPushButton("&Cancel", this);
    btnCancel->setObjectName("btnCancel");
    btnCancel->setAutoDefault(false);
    btnCancel->setFixedWidth(kColumnWidth);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(speQueueMove);
    layout->addWidget(btnOK);
    layout->addWidget(btnCancel);

    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    // Esc reaches reject() as well: Cancel is the cancel button.
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int AskQueuePosition(int lowest, int highest, int current, int left, int top, QWidget* parent)
{
    TfrmQueueMoveTo popup(parent);
    popup.setFixedWidth(popup.PositionEdit()->width());
    QSpinBox* edit = popup.PositionEdit();
    edit->setRange(lowest + 1, highest + 1);
    edit->setValue(current + 1);
    popup.move(left, top);
    if (popup.exec() == QDialog::Accepted)
        return edit->value() - 1;
    return current;
}
