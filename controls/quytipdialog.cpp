#include "controls/quytipdialog.h"

#include "controls/quytipdialogform.h"

#include <QApplication>
#include <QWidget>

#include <exception>
#include <memory>

TQuyTipDialog::TQuyTipDialog()
{
    CreateForm = [](QWidget* parent) { return std::make_unique<TQuyTipDialogForm>(parent); };
}

TQuyTipDialog::~TQuyTipDialog() = default;

void TQuyTipDialog::SetTips(const TStrings& value)
{
    if (&value == &tips_) {
        return;
    }
    tips_.Assign(value);
}

void TQuyTipDialog::SetTipNo(int value)
{
    tipNo_ = value < 0 || value >= tips_.Count() ? 0 : value;
}

bool TQuyTipDialog::Execute()
{
    std::unique_ptr<TQuyTipDialogForm> form;
    try {
        form = CreateForm(parent_ ? parent_ : QApplication::activeWindow());
    } catch (const std::exception&) {
        QApplication::beep();
        return true;
    }
    if (!form) {
        QApplication::beep();
        return true;
    }
    form->SetPicture(image_.Graphic());
    form->ClearTipText();
    form->SetTips(tips_);
    form->SetIndex(tipNo_);
    form->SetShowAtStart(showAtStart_);
    form->exec();
    showAtStart_ = form->ShowAtStart();
    tipNo_ = form->Index();
    return true;
}
