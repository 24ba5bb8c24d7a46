#pragma once

#include "app/keyboard/keyboardableform.h"

#include <string>

class QGroupBox;
class QLineEdit;
class TorvaneButton;

// "Enter Password": a small prompt that closes with OK only for the exact expected password. It can carry
// the shared on-screen keyboard.
class TfrmPassword : public TkeyboardableForm
{
    Q_OBJECT

public:
    explicit TfrmPassword(QWidget* parent = nullptr);

    const std::string& ExpectedPassword() const { return expected_; }
    void SetExpectedPassword(std::string password) { expected_ = std::move(password); }

    void SetKeyboardSize(int width, int height) override;
    void ShowKeyboard(bool on) override;
    QWidget* GetKeyboardPanel() override;
    void SendKey(std::uint16_t code, bool shift) override;

    // OK: closes with OK when the typed text is the expected password, else says so and stays open.
    void obtnOKClick();
    void obtnCancelClick();

    QLineEdit* PasswordEdit() const { return edPassword; }

protected:
    void EnterKeyDown() override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormResize();

    std::string expected_;
    QWidget* pnlBody;
    QGroupBox* gbPassword;
    QLineEdit* edPassword;
    TorvaneButton* obtnOK;
    TorvaneButton* obtnCancel;
};

// Asks for the password. An empty expected password is granted at once without a window; otherwise the
// prompt is shown modally (with the on-screen keyboard of the given size when useKeyboard) and the answer
// is true exactly when it closed with OK.
bool AskPassword(const std::string& expected, int keyboardWidth, int keyboardHeight, bool useKeyboard);
