#include "app/keyboard/frmkeyboard.h"
#include "app/keyboard/keyboardableform.h"
#include "app/qt/helpers/keyinput.h"
#include "controls/alignlayout.h"
#include "controls/keyboardcontrol.h"
#include "controls/orvanebutton.h"
#include "platform/qtstring.h"
#include "support/sharedkeyboard.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <memory>
#include <utility>
#include <vector>

namespace {

// A host that records what the keyboard asks of it and lays itself out as asked.
class TrecordingHost : public TkeyboardableForm
{
public:
    std::vector<std::pair<int, int>> sizes;
    std::vector<std::pair<std::uint16_t, bool>> keys;

    void SetKeyboardSize(int width, int height) override
    {
        sizes.emplace_back(width, height);
        resize(width, height);
        GetKeyboardForm()->resize(width, height);
        Relayout();
    }
    void ShowKeyboard(bool on) override
    {
        if (!on) {
            UndockKeyboard();
            return;
        }
        resize(GetKeyboardForm()->size());
        DockKeyboard();
        Relayout();
    }
    QWidget* GetKeyboardPanel() override { return this; }
    void SendKey(std::uint16_t code, bool shift) override { keys.emplace_back(code, shift); }
};

void ClickKey(TkeyboardControl* keyboard, const QString& caption)
{
    for (const TkeyboardKey& key : keyboard->Keys()) {
        if (key.Caption == caption) {
            QTest::mouseClick(keyboard, Qt::LeftButton, {}, key.Rect.center());
            return;
        }
    }
    ADD_FAILURE() << "no key " << platform::FromQString(caption);
}

void ExpectDetached(const TfrmKeyboard* keyboard)
{
    EXPECT_EQ(keyboard->parentWidget(), nullptr);
    EXPECT_EQ(TalignLayout::AlignOf(keyboard), TAlign::alNone);
    EXPECT_FALSE(keyboard->isVisible());
    EXPECT_TRUE(keyboard->isWindow());
    EXPECT_EQ(keyboard->GetHostForm(), nullptr);
}

// Each case starts with the shared keyboard back at its start-up size, unshifted.
struct KeyboardWindow : ::testing::Test
{
    TfrmKeyboard* keyboard = GetKeyboardForm();

    void SetUp() override
    {
        ExpectDetached(keyboard);
        ResetSharedKeyboard();
    }
};

} // namespace

TEST_F(KeyboardWindow, BiggerAndSmallerAskTheHostWithinTheirLimits)
{
    // Without a host the size buttons and the keys do nothing.
    keyboard->show();
    ClickKey(keyboard->Keyboard(), "a");
    keyboard->obtnBiggerClick();
    EXPECT_EQ(keyboard->size(), QSize(310, 100));
    keyboard->hide();

    TrecordingHost host;
    host.SetUseKeyboard(true);
    host.show();
    ASSERT_EQ(keyboard->GetHostForm(), &host);
    EXPECT_EQ(keyboard->Keyboard()->KeyWidth(), 25);
    EXPECT_EQ(keyboard->Keyboard()->KeyHeight(), 25);
    keyboard->obtnBiggerClick();
    ASSERT_EQ(host.sizes.size(), 1u);
    EXPECT_EQ(host.sizes[0], std::make_pair(330, 108)) << "25 x 25 keys grow to 27 x 27 beside the 60 panel";

    // The keyboard control's width is the host's width less the 60-pixel panel.
    const auto withControlWidth = [&](int width) {
        host.sizes.clear();
        host.SetKeyboardSize(width + 60, 100);
        host.sizes.clear();
        EXPECT_EQ(keyboard->Keyboard()->width(), width);
    };
    withControlWidth(579);
    keyboard->obtnBiggerClick();
    EXPECT_EQ(host.sizes.size(), 1u) << "579 still grows";
    withControlWidth(580);
    keyboard->obtnBiggerClick();
    EXPECT_TRUE(host.sizes.empty()) << "580 is the largest";
    keyboard->obtnSmallerClick();
    EXPECT_EQ(host.sizes.size(), 1u);

    withControlWidth(221);
    keyboard->obtnSmallerClick();
    ASSERT_EQ(host.sizes.size(), 1u) << "221 still shrinks";
    EXPECT_EQ(host.sizes[0], std::make_pair(20 * 10 + 60, 23 * 4));
    withControlWidth(220);
    keyboard->obtnSmallerClick();
    EXPECT_TRUE(host.sizes.empty()) << "220 is the smallest";
}

TEST_F(KeyboardWindow, KeysReachTheHostAndShiftSwitchesTheLetters)
{
    TrecordingHost host;
    host.SetUseKeyboard(true);
    host.show();
    TkeyboardControl* keys = keyboard->Keyboard();

    ClickKey(keys, "q");
    QTest::mouseClick(keyboard->ShiftButton(), Qt::LeftButton);
    EXPECT_TRUE(keyboard->Shifted());
    EXPECT_TRUE(keys->Capitals());
    ClickKey(keys, "Q");
    ClickKey(keys, "7");
    QTest::mouseClick(keyboard->ShiftButton(), Qt::LeftButton);
    EXPECT_FALSE(keyboard->Shifted());
    ClickKey(keys, "Clr");
    ClickKey(keys, "<-");
    ClickKey(keys, "Space");

    const std::vector<std::pair<std::uint16_t, bool>> expected = {{'Q', false}, {'Q', true}, {'7', true},
                                                                  {0, false},   {8, false},  {32, false}};
    EXPECT_EQ(host.keys, expected) << "codes stay the capitals' codes";
}

TEST_F(KeyboardWindow, AHostGivesTheKeyboardBackWhenItGoes)
{
    auto first = std::make_unique<TrecordingHost>();
    first->SetUseKeyboard(true);
    first->show();
    EXPECT_EQ(keyboard->parentWidget(), first.get());
    EXPECT_EQ(TalignLayout::AlignOf(keyboard), TAlign::alBottom);
    EXPECT_TRUE(keyboard->isVisible());
    EXPECT_TRUE(first->KeyboardDocked());

    // A second host takes it over; the first one going leaves it there.
    auto second = std::make_unique<TrecordingHost>();
    second->SetUseKeyboard(true);
    second->show();
    EXPECT_EQ(keyboard->GetHostForm(), second.get());
    EXPECT_FALSE(first->KeyboardDocked());
    first.reset();
    EXPECT_EQ(keyboard->GetHostForm(), second.get());
    EXPECT_TRUE(keyboard->isVisible());

    // Switching the keyboard off gives it back at once, and it can dock again.
    second->SetUseKeyboard(false);
    ExpectDetached(keyboard);
    second->SetUseKeyboard(true);
    EXPECT_EQ(keyboard->GetHostForm(), second.get());
    keyboard->SetShifted(true);
    second.reset();
    ExpectDetached(keyboard);
    EXPECT_FALSE(keyboard->Shifted()) << "the next host starts with small letters";
}

TEST(SyntheticKeys, CodesBecomeTheKeysARealKeyboardGives)
{
    EXPECT_EQ(SyntheticKeyFor(8, false)->Key, Qt::Key_Backspace);
    EXPECT_EQ(SyntheticKeyFor(13, false)->Key, Qt::Key_Return);
    EXPECT_EQ(SyntheticKeyFor('9', true)->Text, "9");
    EXPECT_EQ(SyntheticKeyFor('Z', true)->Key, Qt::Key_Z);
    EXPECT_EQ(SyntheticKeyFor('Z', true)->Modifiers, Qt::ShiftModifier);
    for (const int other : {0, 7, 0x2F, 0x3A, 0x40, 0x5B, int('a')})
        EXPECT_FALSE(SyntheticKeyFor(std::uint16_t(other), false).has_value()) << other;
}
