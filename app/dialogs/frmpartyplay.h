#pragma once

#include "core/jukebox/partyplaygate.h"

#include <QDialog>

#include <array>
#include <string>
#include <string_view>
#include <utility>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class TIniFile;
class TpartyPlayHost;

// The party-play options: which player and application functions are refused while party play is on,
// the queue limit, and the password that guards switching party play and changing these options. The
// controls are the only store of the options; Options and the getters read them.
class TfrmPartyPlay : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kMaxQueueLimit = 100;

    explicit TfrmPartyPlay(QWidget* parent = nullptr);

    // Links the main window (not owned); null unlinks it.
    void SetJukebox(TpartyPlayHost* host) { host_ = host; }
    TpartyPlayHost* Jukebox() const { return host_; }

    // Reads and writes section keys in a fixed order: the eight stored options, "QueueLimit", "Password".
    void LoadSettings(const TIniFile& ini, std::string_view section);
    void SaveSettings(TIniFile& ini, std::string_view section) const;

    // The nine options as one value, the way the main window's party-play gate takes them.
    TpartyPlayOptions Options() const;
    void SetOptions(const TpartyPlayOptions& options);

    bool GetDisableStopControl() const;
    void SetDisableStopControl(bool value);
    bool GetDisableTrackSearching() const;
    void SetDisableTrackSearching(bool value);
    bool GetDisablePauseControl() const;
    void SetDisablePauseControl(bool value);
    bool GetDisableNextControl() const;
    void SetDisableNextControl(bool value);
    bool GetDisableVolumeChange() const;
    void SetDisableVolumeChange(bool value);
    bool GetDisableApplicationClose() const;
    void SetDisableApplicationClose(bool value);
    bool GetDisableQueueControls() const;
    void SetDisableQueueControls(bool value);
    bool GetDisableStackerControl() const;
    void SetDisableStackerControl(bool value);
    // Not stored: every run starts with it set.
    bool GetDisablePlaylistEditor() const;
    void SetDisablePlaylistEditor(bool value);

    // 0 means no limit; values are clamped to 0..kMaxQueueLimit.
    int GetQueueLimit() const;
    void SetQueueLimit(int value);

    const std::string& Password() const { return password_; }
    // Stores the password and resets the Password page for it.
    void SetPassword(std::string text);

    // The password prompt for the stored password; false while no main window is linked.
    bool CheckPassword();
    // Party play may be switched: a main window is linked and the password was given.
    bool CheckAccess();
    // Shows the options modally once the password was given; otherwise nothing.
    void ShowOptions();
    // The track-searching and volume options stay in force and in the settings, but are not offered.
    void HideTrackSearchingAndVolumeOptions();
    // The queue changed. The window has no queue list of its own, so there is nothing to refill.
    void RefreshQueue() {}

    // "&Enable Party Play" / "&Disable Party Play": runs the main window's switch, then names the next step.
    QAction* TogglePartyPlayAction() const { return actnTogglePartyPlay; }
    void TogglePartyPlay();

    // The "Set Password" / "Change Password" button's step.
    void btnSetPasswordClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* BuildOptionsPage();
    QWidget* BuildPasswordPage();
    QCheckBox* OptionBox(const char* name, const char* caption);
    // The eight stored options' boxes in their settings order.
    std::array<QCheckBox*, 8> StoredBoxes() const;
    // Every option's box.
    std::array<std::pair<TpartyPlayOption, QCheckBox*>, 9> OptionBoxes() const;

    std::string password_;
    TpartyPlayHost* host_ = nullptr; // link

    QTabWidget* pcPartyPlay;
    QCheckBox* cbDisableStopControl;
    QCheckBox* cbDisableTrackSearching;
    QCheckBox* cbDisablePauseControl;
    QCheckBox* cbDisableNextControl;
    QCheckBox* cbDisableVolumeChange;
    QCheckBox* cbDisableApplicationClose;
    QCheckBox* cbDisableQueueControls;
    QCheckBox* cbDisableStackerControl;
    QCheckBox* cbDisablePlaylistEditor;
    QSpinBox* speQueueLimit;
    QLabel* lblCurrentPassword;
    QLineEdit* edCurrentPassword;
    QLineEdit* edNewPassword;
    QLineEdit* edConfirmPassword;
    QPushButton* btnSetPassword;
    QPushButton* btnClose;
    QAction* actnTogglePartyPlay;
};

// The one options window, made by CreatePartyPlayForm and freed as the application ends; null before.
TfrmPartyPlay* GetPartyPlayForm();
TfrmPartyPlay* CreatePartyPlayForm();
