#include "app/dialogs/frmpartyplay.h"
#include "app/dialogs/frmpassword.h"
#include "app/dialogs/partyplayhost.h"
#include "app/keyboard/frmkeyboard.h"
#include "controls/keyboardcontrol.h"
#include "controls/orvanebutton.h"
#include "platform/inifile.h"
#include "platform/qtstring.h"
#include "support/fakeprompts.h"
#include "support/guievents.h"
#include "support/sharedkeyboard.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <string>
#include <utility>
#include <vector>

namespace {

class TfakeHost : public TpartyPlayHost
{
public:
    bool useKeyboard = false;
    bool enabled = false;
    int toggles = 0;

    bool UseOnScreenKeyboard() const override { return useKeyboard; }
    int KeyboardWidth() const override { return 330; }
    int KeyboardHeight() const override { return 108; }
    QWidget* HostWindow() const override { return nullptr; }
    void TogglePartyPlay() override
    {
        ++toggles;
        enabled = !enabled;
    }
    bool PartyPlayEnabled() const override { return enabled; }
};

template <typename T>
T* Child(const QWidget& parent, const char* name)
{
    T* child = parent.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// Answers the password prompt: types text and presses OK, or cancels when text is null. Records whether the
// prompt came up and with the on-screen keyboard docked.
struct TpromptAnswer
{
    bool prompted = false;
    bool docked = false;
};

void AnswerPrompt(const char* text, TpromptAnswer* seen = nullptr)
{
    WhenModal([text, seen](QWidget* shown) {
        auto* prompt = qobject_cast<TfrmPassword*>(shown);
        if (seen)
            *seen = {prompt != nullptr, prompt && prompt->KeyboardDocked() && prompt->width() == 330};
        if (prompt == nullptr) {
            if (shown)
                shown->close();
            return;
        }
        if (text == nullptr) {
            prompt->reject();
            return;
        }
        prompt->PasswordEdit()->setText(platform::ToQString(text));
        prompt->obtnOKClick();
    });
}

struct PartyPlay : ::testing::Test
{
    TfakePrompts prompts;
    TempDir dir;
    TfrmPartyPlay form;
    TfakeHost host;

    void SetUp() override { ResetSharedKeyboard(); }

    // Fills the Password page and presses its button.
    void SetPasswordThroughPage(const std::string& current, const std::string& next,
                                const std::string& confirm)
    {
        Child<QLineEdit>(form, "edCurrentPassword")->setText(platform::ToQString(current));
        Child<QLineEdit>(form, "edNewPassword")->setText(platform::ToQString(next));
        Child<QLineEdit>(form, "edConfirmPassword")->setText(platform::ToQString(confirm));
        QTest::mouseClick(Child<QPushButton>(form, "btnSetPassword"), Qt::LeftButton);
    }

    // Saves the form's settings to a file and reads them into a fresh window.
    std::string RoundTrip(TfrmPartyPlay& into)
    {
        const std::string file = dir.File("settings.ini");
        {
            TIniFile ini(file);
            form.SaveSettings(ini, "PartyPlay");
            ini.UpdateFile();
        }
        into.LoadSettings(TIniFile(file), "PartyPlay");
        return TempDir::Read(file);
    }
};

} // namespace

TEST_F(PartyPlay, AFreshSettingsFileGivesTheDefaults)
{
    EXPECT_EQ(form.windowTitle(), "Party Play Options");
    auto* pages = Child<QTabWidget>(form, "pcPartyPlay");
    ASSERT_EQ(pages->count(), 2) << "the jukebox control page is not built";
    EXPECT_EQ(pages->tabText(0), "Options");
    EXPECT_EQ(pages->tabText(1), "Password");

    form.LoadSettings(TIniFile(dir.File("missing.ini")), "PartyPlay");
    EXPECT_TRUE(
        form.GetDisableStopControl() && form.GetDisableTrackSearching() && form.GetDisablePauseControl() &&
        form.GetDisableNextControl() && form.GetDisableVolumeChange() && form.GetDisableApplicationClose() &&
        form.GetDisableQueueControls() && form.GetDisableStackerControl() && form.GetDisablePlaylistEditor());
    EXPECT_EQ(form.GetQueueLimit(), 15);
    EXPECT_EQ(form.Password(), "");
    EXPECT_EQ(Child<QPushButton>(form, "btnSetPassword")->text(), "Set Password");
    EXPECT_FALSE(Child<QLineEdit>(form, "edCurrentPassword")->isEnabled());
}

TEST_F(PartyPlay, SettingsKeepTheirKeysAndOrderAndClampTheLimit)
{
    form.SetDisablePauseControl(false);
    form.SetDisableApplicationClose(false);
    form.SetDisablePlaylistEditor(false);
    form.SetQueueLimit(7);
    form.SetPassword("pw");
    TfrmPartyPlay loaded;
    const std::string text = RoundTrip(loaded);
    EXPECT_EQ(text, "[PartyPlay]\r\n"
                    "DisableStopControl=1\r\n"
                    "DisableTrackSearching=1\r\n"
                    "DisablePauseControl=0\r\n"
                    "DisableNextControl=1\r\n"
                    "DisableVolumeChanging=1\r\n"
                    "DisabledApplicationClose=0\r\n"
                    "DisableQueueControls=1\r\n"
                    "DisableStackerControl=1\r\n"
                    "QueueLimit=7\r\n"
                    "Password=pw\r\n");
    EXPECT_FALSE(loaded.GetDisablePauseControl());
    EXPECT_FALSE(loaded.GetDisableApplicationClose());
    EXPECT_TRUE(loaded.GetDisableNextControl());
    EXPECT_TRUE(loaded.GetDisablePlaylistEditor()) << "not stored: every run starts with it on";
    EXPECT_EQ(loaded.GetQueueLimit(), 7);
    EXPECT_EQ(loaded.Password(), "pw");
    EXPECT_EQ(Child<QPushButton>(loaded, "btnSetPassword")->text(), "Change Password");

    TIniFile ini(dir.File("limits.ini"));
    ini.WriteInteger("PartyPlay", "QueueLimit", 250);
    form.LoadSettings(ini, "PartyPlay");
    EXPECT_EQ(form.GetQueueLimit(), 100);
    ini.WriteInteger("PartyPlay", "QueueLimit", -3);
    form.LoadSettings(ini, "PartyPlay");
    EXPECT_EQ(form.GetQueueLimit(), 0);
    form.SetQueueLimit(101);
    EXPECT_EQ(form.GetQueueLimit(), 100);
}

TEST_F(PartyPlay, AnyPasswordRoundTripsThroughTheSettingsFile)
{
    for (const std::string password :
         {" leading", "trailing ", " both ", "in between", "a=b", "=", "\"quoted\"", "say \"hi\"", "\"",
          "back\\slash ", "\\\"", "p\xC3\xA4sswort \xE2\x9C\x93", ";not a comment", "[not a section]", " "}) {
        form.SetPassword(password); // a settings file written by hand may hold any text
        TfrmPartyPlay loaded;
        RoundTrip(loaded);
        EXPECT_EQ(loaded.Password(), password);
    }
    EXPECT_TRUE(prompts.boxes.empty());
}

TEST_F(PartyPlay, SettingThePasswordChecksTheCurrentOneAndTheConfirmation)
{
    auto* current = Child<QLineEdit>(form, "edCurrentPassword");
    auto* button = Child<QPushButton>(form, "btnSetPassword");

    SetPasswordThroughPage("", "abc", "abd");
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "The new passwords do not match");
    EXPECT_EQ(prompts.boxes[0].caption, "Invalid Password");
    EXPECT_EQ(prompts.boxes[0].icon, TmessageIcon::Error);
    EXPECT_EQ(form.Password(), "");

    SetPasswordThroughPage("", "abc", "abc");
    EXPECT_EQ(form.Password(), "abc") << "with no password set the empty current field passes";
    EXPECT_EQ(button->text(), "Change Password");
    EXPECT_TRUE(current->isEnabled());
    EXPECT_TRUE(current->text().isEmpty());
    EXPECT_TRUE(Child<QLineEdit>(form, "edNewPassword")->text().isEmpty());

    SetPasswordThroughPage("", "new", "new");
    SetPasswordThroughPage("ABC", "new", "new");
    ASSERT_EQ(prompts.boxes.size(), 3u);
    EXPECT_EQ(prompts.boxes[1].text, "The password is not correct");
    EXPECT_EQ(prompts.boxes[2].text, "The password is not correct") << "exact, case-sensitive";
    EXPECT_EQ(prompts.boxes[2].icon, TmessageIcon::Error);
    EXPECT_EQ(form.Password(), "abc");

    SetPasswordThroughPage("abc", "", "");
    EXPECT_EQ(form.Password(), "") << "both new fields empty remove the password";
    EXPECT_EQ(button->text(), "Set Password");
    EXPECT_FALSE(current->isEnabled());
    EXPECT_EQ(prompts.boxes.size(), 3u);

    // Only what the on-screen keyboard types: letters A to Z, digits and spaces.
    for (const std::string password : {"pass!", "a=b", "\"q\"", "\xC3\xA9t\xC3\xA9", "tab\t", "x-y"}) {
        SetPasswordThroughPage("", password, password);
        EXPECT_EQ(form.Password(), "") << password;
        EXPECT_EQ(prompts.boxes.back().text,
                  "The password may hold only the letters A to Z, digits and spaces, "
                  "which the on-screen keyboard can type");
        EXPECT_EQ(prompts.boxes.back().caption, "Invalid Password");
    }
    const std::size_t asked = prompts.boxes.size();
    SetPasswordThroughPage("", " Pass 1 Z9", " Pass 1 Z9");
    EXPECT_EQ(form.Password(), " Pass 1 Z9");
    EXPECT_EQ(prompts.boxes.size(), asked);
}

TEST_F(PartyPlay, AccessNeedsALinkedMainWindowAndThePassword)
{
    EXPECT_FALSE(form.CheckAccess()) << "no main window linked";
    form.SetJukebox(&host);
    EXPECT_TRUE(form.CheckAccess()) << "no password: nothing asked";

    form.SetPassword("Secret");
    TpromptAnswer seen;
    AnswerPrompt("Secret", &seen);
    EXPECT_TRUE(form.CheckAccess());
    EXPECT_TRUE(seen.prompted);
    EXPECT_FALSE(seen.docked);
    host.useKeyboard = true;
    AnswerPrompt(nullptr, &seen);
    EXPECT_FALSE(form.CheckAccess());
    EXPECT_TRUE(seen.docked) << "the main window's keyboard switch and size reach the prompt";

    form.SetJukebox(nullptr);
    EXPECT_FALSE(form.CheckPassword());
}

TEST_F(PartyPlay, TheOptionsShowOnlyAfterThePassword)
{
    form.ShowOptions(); // no main window: returns at once, showing nothing
    form.SetJukebox(&host);
    form.SetPassword("pw");
    AnswerPrompt(nullptr);
    form.ShowOptions(); // the prompt cancelled: the same

    form.HideTrackSearchingAndVolumeOptions();
    bool shown = false;
    AnswerPrompt("pw");
    QTimer::singleShot(0, [&] {
        WhenModal([&](QWidget* modal) {
            shown = modal == &form;
            EXPECT_FALSE(Child<QCheckBox>(form, "cbDisableTrackSearching")->isVisible());
            EXPECT_TRUE(Child<QCheckBox>(form, "cbDisableStopControl")->isVisible());
            QTest::mouseClick(Child<QPushButton>(form, "btnClose"), Qt::LeftButton);
        });
    });
    form.ShowOptions();
    EXPECT_TRUE(shown);
    EXPECT_EQ(form.result(), QDialog::Accepted) << "Close closes with OK";
    EXPECT_TRUE(form.GetDisableTrackSearching()) << "hidden options stay in force";
}

TEST_F(PartyPlay, TheToggleNamesTheNextStep)
{
    QAction* toggle = form.TogglePartyPlayAction();
    EXPECT_EQ(toggle->text(), "&Enable Party Play");
    toggle->trigger();
    EXPECT_EQ(host.toggles, 0) << "no main window linked";
    form.SetJukebox(&host);
    toggle->trigger();
    EXPECT_EQ(toggle->text(), "&Disable Party Play");
    toggle->trigger();
    EXPECT_EQ(toggle->text(), "&Enable Party Play");
    EXPECT_EQ(host.toggles, 2);
}

// The options go out as one value: each option is its own box, the one its getter reads.
TEST_F(PartyPlay, TheOptionsAreOneValueEachOptionItsOwnBox)
{
    using O = TpartyPlayOption;
    const std::vector<std::pair<O, bool (TfrmPartyPlay::*)() const>> getters = {
        {O::VolumeChange, &TfrmPartyPlay::GetDisableVolumeChange},
        {O::TrackSearching, &TfrmPartyPlay::GetDisableTrackSearching},
        {O::QueueControls, &TfrmPartyPlay::GetDisableQueueControls},
        {O::NextControl, &TfrmPartyPlay::GetDisableNextControl},
        {O::PauseControl, &TfrmPartyPlay::GetDisablePauseControl},
        {O::StopControl, &TfrmPartyPlay::GetDisableStopControl},
        {O::StackerControl, &TfrmPartyPlay::GetDisableStackerControl},
        {O::PlaylistEditor, &TfrmPartyPlay::GetDisablePlaylistEditor},
        {O::ApplicationClose, &TfrmPartyPlay::GetDisableApplicationClose}};
    for (const auto& [option, getter] : getters) {
        TpartyPlayOptions one;
        one.SetChecked(option, true);
        form.SetOptions(one);
        EXPECT_EQ(form.Options(), one);
        for (const auto& [other, otherGetter] : getters)
            EXPECT_EQ((form.*otherGetter)(), other == option) << static_cast<int>(option);
    }
}
