#include "app/dialogs/frmpassword.h"
#include "app/keyboard/frmkeyboard.h"
#include "controls/alignlayout.h"
#include "controls/keyboardcontrol.h"
#include "controls/orvanebutton.h"
#include "platform/qtstring.h"
#include "support/fakeprompts.h"
#include "support/guievents.h"
#include "support/sharedkeyboard.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

void ClickButton(QWidget* form, const char* name)
{
    auto* button = form->findChild<TorvaneButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

void ClickKey(const QString& caption)
{
    TkeyboardControl* keyboard = GetKeyboardForm()->Keyboard();
    for (const TkeyboardKey& key : keyboard->Keys()) {
        if (key.Caption == caption) {
            QTest::mouseClick(keyboard, Qt::LeftButton, {}, key.Rect.center());
            QCoreApplication::processEvents(); // the typed key arrives, as between two touches
            return;
        }
    }
    ADD_FAILURE() << "no key " << platform::FromQString(caption);
}

void Shift()
{
    QTest::mouseClick(GetKeyboardForm()->ShiftButton(), Qt::LeftButton);
}

// Runs step inside the prompt's modal loop (closing whatever else came up).
void WhenPromptUp(std::function<void(TfrmPassword*)> step)
{
    WhenModal([step = std::move(step)](QWidget* shown) {
        if (auto* prompt = qobject_cast<TfrmPassword*>(shown)) {
            step(prompt);
            return;
        }
        ADD_FAILURE() << "the password prompt is not up";
        if (shown != nullptr)
            shown->close();
    });
}

struct PasswordPrompt : ::testing::Test
{
    TfakePrompts prompts;

    void SetUp() override { ResetSharedKeyboard(); }

    void TearDown() override
    {
        // Whatever happened, the shared keyboard is back, hidden and parentless.
        EXPECT_EQ(GetKeyboardForm()->parentWidget(), nullptr);
        EXPECT_FALSE(GetKeyboardForm()->isVisible());
    }
};

} // namespace

TEST_F(PasswordPrompt, NoPasswordIsGrantedWithoutAWindow)
{
    // One look only: a check still waiting for a modal window after this test would take the next test's.
    bool shown = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            shown = true;
            modal->close();
        }
    });
    EXPECT_TRUE(AskPassword("", 330, 108, true));
    QCoreApplication::processEvents();
    EXPECT_FALSE(shown);
    EXPECT_TRUE(prompts.boxes.empty());
}

TEST_F(PasswordPrompt, OnlyTheExactPasswordClosesIt)
{
    bool stayedOpen = false;
    WhenPromptUp([&](TfrmPassword* prompt) {
        EXPECT_EQ(prompt->windowTitle(), "Enter Password");
        EXPECT_EQ(prompt->findChild<QGroupBox*>("gbPassword")->title(), "Enter Password :");
        EXPECT_EQ(prompt->PasswordEdit()->echoMode(), QLineEdit::Password);
        EXPECT_EQ(prompt->size(), QSize(300, 69));
        EXPECT_FALSE(prompt->KeyboardDocked());
        QTest::keyClicks(prompt->PasswordEdit(), "secret");
        ClickButton(prompt, "obtnOK");
        ASSERT_EQ(prompts.boxes.size(), 1u);
        EXPECT_EQ(prompts.boxes[0].text, "The password is incorrect.");
        EXPECT_EQ(prompts.boxes[0].caption, "Invalid Password");
        EXPECT_EQ(prompts.boxes[0].icon, TmessageIcon::Error);
        stayedOpen = prompt->isVisible() && prompt->PasswordEdit()->text() == "secret";
        prompt->PasswordEdit()->setText("Secret");
        ClickButton(prompt, "obtnOK");
    });
    EXPECT_TRUE(AskPassword("Secret", 330, 108, false));
    EXPECT_TRUE(stayedOpen) << "a wrong case keeps the prompt open with the typed text";
    EXPECT_EQ(prompts.boxes.size(), 1u);
}

TEST_F(PasswordPrompt, EnterActsOnItsPressNotItsRelease)
{
    bool openAfterRelease = false;
    WhenPromptUp([&](TfrmPassword* prompt) {
        QLineEdit* edit = prompt->PasswordEdit();
        // The release of the Enter that opened the prompt, then a held key's repeat: neither counts.
        QTest::keyRelease(edit, Qt::Key_Return);
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", true);
        QApplication::sendEvent(edit, &repeat);
        openAfterRelease = prompt->isVisible() && prompts.boxes.empty();
        QTest::keyClicks(edit, "pw");
        QTest::keyPress(edit, Qt::Key_Enter, Qt::KeypadModifier);
    });
    EXPECT_TRUE(AskPassword("pw", 0, 0, false));
    EXPECT_TRUE(openAfterRelease);
}

TEST_F(PasswordPrompt, CancelAndEscapeRefuse)
{
    WhenPromptUp([](TfrmPassword* prompt) { ClickButton(prompt, "obtnCancel"); });
    EXPECT_FALSE(AskPassword("pw", 0, 0, false));
    WhenPromptUp([](TfrmPassword* prompt) {
        QTest::keyClicks(prompt->PasswordEdit(), "pw");
        QTest::keyClick(prompt->PasswordEdit(), Qt::Key_Escape);
    });
    EXPECT_FALSE(AskPassword("pw", 0, 0, false));
    EXPECT_TRUE(prompts.boxes.empty());
}

TEST_F(PasswordPrompt, CarriesTheKeyboardAtTheGivenSize)
{
    TfrmKeyboard* keyboard = GetKeyboardForm();
    WhenPromptUp([&](TfrmPassword* prompt) {
        EXPECT_TRUE(prompt->KeyboardDocked());
        EXPECT_EQ(TalignLayout::AlignOf(keyboard), TAlign::alBottom);
        EXPECT_TRUE(keyboard->isVisible());
        // 330 wide; the keyboard 108 high under a body of one old key height (25) + 17.
        EXPECT_EQ(prompt->size(), QSize(330, 108 + 25 + 17));
        EXPECT_EQ(keyboard->size(), QSize(330, 108));
        EXPECT_EQ(keyboard->Keyboard()->KeyWidth(), 27);
        EXPECT_EQ(keyboard->Keyboard()->KeyHeight(), 27);
        EXPECT_EQ(prompt->GetKeyboardPanel()->height(), 25 + 17);
        EXPECT_EQ(prompt->PasswordEdit()->font().pointSize(), 12);
        EXPECT_EQ(keyboard->Keyboard()->font().pointSize(), 8);

        // Bigger goes through the prompt: now 29 x 29 keys under a body of 27 + 17.
        keyboard->obtnBiggerClick();
        EXPECT_EQ(prompt->size(), QSize(350, 116 + 27 + 17));
        EXPECT_EQ(keyboard->Keyboard()->KeyHeight(), 29);
        prompt->reject();
    });
    EXPECT_FALSE(AskPassword("pw", 330, 108, true));
}

TEST_F(PasswordPrompt, APasswordTypedOnTheScreenKeyboard)
{
    WhenPromptUp([](TfrmPassword* prompt) {
        ClickKey("x");
        ClickKey("Clr");
        Shift();
        ClickKey("S");
        Shift();
        for (const char* key : {"e", "c", "r", "e", "t", "t", "<-", "Space", "4", "2"})
            ClickKey(key);
        EXPECT_EQ(prompt->PasswordEdit()->text(), "Secret 42");
        EXPECT_TRUE(prompt->PasswordEdit()->hasFocus());
        ClickButton(prompt, "obtnOK");
    });
    EXPECT_TRUE(AskPassword("Secret 42", 330, 108, true));
    EXPECT_TRUE(prompts.boxes.empty());
}
