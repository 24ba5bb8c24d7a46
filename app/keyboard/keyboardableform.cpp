#include "app/keyboard/keyboardableform.h"

#include "app/keyboard/frmkeyboard.h"
#include "app/qt/helpers/guiutils.h"
#include "controls/alignlayout.h"

#include <QKeyEvent>

TkeyboardableForm::TkeyboardableForm(QWidget* parent) : QDialog(parent) {}

TkeyboardableForm::~TkeyboardableForm()
{
    UndockKeyboard();
}

void TkeyboardableForm::SetUseKeyboard(bool flag)
{
    useKeyboard_ = flag;
    ShowKeyboard(flag);
}

bool TkeyboardableForm::KeyboardDocked() const
{
    const TfrmKeyboard* keyboard = FindKeyboardForm();
    return keyboard != nullptr && keyboard->parentWidget() == this;
}

void TkeyboardableForm::DockKeyboard()
{
    TfrmKeyboard* keyboard = GetKeyboardForm();
    if (keyboard->parentWidget() != this) {
        keyboard->Detach();
        keyboard->setParent(this);
    }
    TalignLayout::SetAlign(keyboard, TAlign::alBottom);
    keyboard->show();
}

void TkeyboardableForm::UndockKeyboard()
{
    if (KeyboardDocked())
        FindKeyboardForm()->Detach();
}

void TkeyboardableForm::Relayout()
{
    RealignTree(this);
}

void TkeyboardableForm::EnterKeyDown()
{
    accept();
}

void TkeyboardableForm::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter) {
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat())
        EnterKeyDown();
}
