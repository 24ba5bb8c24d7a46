#include "app/dialogs/frmpassword.h"

#include "app/keyboard/frmkeyboard.h"
#include "app/qt/helpers/keyinput.h"
#include "controls/alignlayout.h"
#include "controls/keyboardcontrol.h"
#include "controls/orvanebutton.h"
#include "controls/windowplacement.h"
#include "core/util/promptservice.h"
#include "platform/qtstring.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kPlainWidth = 300;
constexpr int kPlainHeight = 69;
// The body's height above a docked keyboard, beyond one key's height.
constexpr int kBodyExtra = 17;

TorvaneButton* DrawnButton(QWidget* parent, const char* name, const char* caption)
{
    auto* button = new TorvaneButton(parent);
    button->setObjectName(name);
    button->SetCaption(caption);
    return button;
}

void SetPointSize(QWidget* widget, int size)
{
    QFont font = widget->font();
    font.setPointSize(std::max(1, size));
    widget->setFont(font);
}

} // namespace

TfrmPassword::TfrmPassword(QWidget* parent) : TkeyboardableForm(parent)
{
    setObjectName("frmPassword");
    setWindowTitle("Enter Password");
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);

    pnlBody = new QWidget(this);
    pnlBody->setObjectName("pnlBody");
    TalignLayout::SetAlign(pnlBody, TAlign::alClient);

    obtnCancel = DrawnButton(pnlBody, "obtnCancel", "&Cancel");
    obtnOK = DrawnButton(pnlBody, "obtnOK", "&OK");
    TalignLayout::SetAlign(obtnCancel, TAlign::alRight);
    TalignLayout::SetAlign(obtnOK, TAlign::alRight);

    gbPassword = new QGroupBox("Enter Password :", pnlBody);
    gbPassword->setObjectName("gbPassword");
    edPassword = new QLineEdit(gbPassword);
    edPassword->setObjectName("edPassword");
    edPassword->setEchoMode(QLineEdit::Password);
    edPassword->setStyleSheet("lineedit-password-character: 42");
    auto* box = new QVBoxLayout(gbPassword);
    box->setContentsMargins(4, 0, 4, 2);
    box->addWidget(edPassword);
    TalignLayout::SetAlign(gbPassword, TAlign::alClient);

    obtnOK->OnClick = [this](QObject*) { obtnOKClick(); };
    obtnCancel->OnClick = [this](QObject*) { obtnCancelClick(); };
    resize(kPlainWidth, kPlainHeight);
}

void TfrmPassword::SetKeyboardSize(int width, int height)
{
    TfrmKeyboard* keyboard = GetKeyboardForm();
    const int kh = keyboard->Keyboard()->KeyHeight();
    if (this->width() != width)
        resize(width, this->height());
    SetPointSize(edPassword, kh / 2);
    SetPointSize(keyboard->Keyboard(), kh / 3);
    resize(this->width(), height + kh + kBodyExtra);
    pnlBody->resize(pnlBody->width(), kh + kBodyExtra);
    keyboard->resize(keyboard->width(), height);
    Relayout();
}

void TfrmPassword::ShowKeyboard(bool on)
{
    if (on) {
        if (KeyboardDocked())
            return; // its height is in the form's already
        const TfrmKeyboard* keyboard = GetKeyboardForm();
        resize(keyboard->width(), keyboard->height() + height());
        DockKeyboard();
        Relayout();
        return;
    }
    UndockKeyboard();
    edPassword->setFont(font());
    obtnOK->setFont(edPassword->font());
    obtnCancel->setFont(edPassword->font());
    resize(kPlainWidth, kPlainHeight);
}

QWidget* TfrmPassword::GetKeyboardPanel()
{
    return pnlBody;
}

void TfrmPassword::SendKey(std::uint16_t code, bool shift)
{
    edPassword->setFocus();
    if (code == 0) {
        edPassword->clear();
        return;
    }
    PostVirtualKey(code, shift, edPassword);
}

void TfrmPassword::obtnOKClick()
{
    if (platform::FromQString(edPassword->text()) == expected_) {
        accept();
        return;
    }
    ShowMessageBox("The password is incorrect.", "Invalid Password", TmessageButtons::Ok,
                   TmessageIcon::Error);
}

void TfrmPassword::obtnCancelClick()
{
    reject();
}

void TfrmPassword::EnterKeyDown()
{
    obtnOKClick();
}

void TfrmPassword::showEvent(QShowEvent* event)
{
    TkeyboardableForm::showEvent(event);
    if (event->spontaneous())
        return;
    edPassword->clear();
    edPassword->setFocus();
    FormResize();
}

void TfrmPassword::resizeEvent(QResizeEvent* event)
{
    TkeyboardableForm::resizeEvent(event);
    FormResize();
}

void TfrmPassword::FormResize()
{
    CentreOnOwner(*this);
}

bool AskPassword(const std::string& expected, int keyboardWidth, int keyboardHeight, bool useKeyboard)
{
    if (expected.empty())
        return true;
    TfrmPassword form;
    form.SetUseKeyboard(useKeyboard);
    if (useKeyboard)
        form.SetKeyboardSize(keyboardWidth, keyboardHeight);
    form.SetExpectedPassword(expected);
    return form.exec() == QDialog::Accepted;
}
