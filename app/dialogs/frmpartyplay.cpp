#include "app/dialogs/frmpartyplay.h"

#include "app/dialogs/frmpassword.h"
#include "app/dialogs/partyplayhost.h"
#include "app/qt/helpers/keyinput.h"
#include "controls/qtcolor.h"
#include "controls/windowplacement.h"
#include "core/util/promptservice.h"
#include "platform/inifile.h"
#include "platform/qtstring.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {

// The keys of the stored options, in the order of StoredBoxes.
constexpr std::array<const char*, 8> kStoredKeys = {
    "DisableStopControl",    "DisableTrackSearching",    "DisablePauseControl",  "DisableNextControl",
    "DisableVolumeChanging", "DisabledApplicationClose", "DisableQueueControls", "DisableStackerControl",
};

QLabel* Heading(const char* text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    return label;
}

QLineEdit* PasswordEdit(const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet("lineedit-password-character: 42");
    return edit;
}

void ShowPasswordError(const char* text)
{
    ShowMessageBox(text, "Invalid Password", TmessageButtons::Ok, TmessageIcon::Error);
}

QPointer<TfrmPartyPlay>& SharedForm()
{
    static QPointer<TfrmPartyPlay> form;
    return form;
}

// Runs first in the application's destructor, while widgets may still be freed.
void FreeSharedForm()
{
    delete SharedForm().data();
}

} // namespace

TfrmPartyPlay::TfrmPartyPlay(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmPartyPlay");
    setWindowTitle("Party Play Options");

    pcPartyPlay = new QTabWidget(this);
    pcPartyPlay->setObjectName("pcPartyPlay");
    pcPartyPlay->addTab(BuildOptionsPage(), "Options");
    pcPartyPlay->addTab(BuildPasswordPage(), "Password");

    btnClose = new QPushButton("&Close", this);
    btnClose->setObjectName("btnClose");
    btnClose->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pcPartyPlay);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    actnTogglePartyPlay = new QAction("&Enable Party Play", this);
    actnTogglePartyPlay->setObjectName("actnTogglePartyPlay");
    addAction(actnTogglePartyPlay);

    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnSetPassword, &QPushButton::clicked, this, [this] { btnSetPasswordClick(); });
    connect(actnTogglePartyPlay, &QAction::triggered, this, [this] { TogglePartyPlay(); });
    SetPassword("");
}

QCheckBox* TfrmPartyPlay::OptionBox(const char* name, const char* caption)
{
    auto* box = new QCheckBox(caption);
    box->setObjectName(name);
    box->setChecked(true);
    return box;
}

QWidget* TfrmPartyPlay::BuildOptionsPage()
{
    auto* page = new QWidget;
    page->setObjectName("tsOptions");
    auto* group = new QGroupBox("Party Play Options", page);
    group->setObjectName("gbPartyPlayOptions");

    cbDisableStopControl = OptionBox("cbDisableStopControl", "Disable Stop Control");
    cbDisablePauseControl = OptionBox("cbDisablePauseControl", "Disable Pause Control");
    cbDisableNextControl = OptionBox("cbDisableNextControl", "Disable Next Control");
    cbDisableTrackSearching = OptionBox("cbDisableTrackSearching", "Disable Track Searching");
    cbDisableVolumeChange = OptionBox("cbDisableVolumeChange", "Disable Volume Change");
    cbDisableApplicationClose = OptionBox("cbDisableApplicationClose", "Disable Application Close");
    cbDisableQueueControls = OptionBox("cbDisableQueueControls", "Disable Queue Controls");
    cbDisableStackerControl = OptionBox("cbDisableStackerControl", "Disable Stacker Control");
    cbDisablePlaylistEditor = OptionBox("cbDisablePlaylistEditor", "Disable Playlist Editor");

    speQueueLimit = new QSpinBox;
    speQueueLimit->setObjectName("speQueueLimit");
    speQueueLimit->setRange(0, kMaxQueueLimit);
    speQueueLimit->setValue(15);
    auto* lblQueueLimit = new QLabel("Queue Limit (0 for no limit)");
    lblQueueLimit->setObjectName("lblQueueLimit");
    lblQueueLimit->setBuddy(speQueueLimit);
    auto* queueLimit = new QHBoxLayout;
    queueLimit->addWidget(speQueueLimit);
    queueLimit->addWidget(lblQueueLimit, 1);

    auto* player = new QVBoxLayout;
    player->addWidget(Heading("Player Control", group));
    for (QCheckBox* box : {cbDisableStopControl, cbDisablePauseControl, cbDisableNextControl,
                           cbDisableTrackSearching, cbDisableVolumeChange})
        player->addWidget(box);
    player->addStretch(1);
    auto* application = new QVBoxLayout;
    application->addWidget(Heading("Application Function", group));
    for (QCheckBox* box : {cbDisableApplicationClose, cbDisableQueueControls, cbDisableStackerControl,
                           cbDisablePlaylistEditor})
        application->addWidget(box);
    application->addLayout(queueLimit);
    application->addStretch(1);

    auto* columns = new QHBoxLayout(group);
    columns->addLayout(player);
    columns->addSpacing(12);
    columns->addLayout(application);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(group);
    return page;
}

QWidget* TfrmPartyPlay::BuildPasswordPage()
{
    auto* page = new QWidget;
    page->setObjectName("tsPassword");
    auto* group = new QGroupBox("Password", page);
    group->setObjectName("gbPassword");

    lblCurrentPassword = new QLabel("Current Password :", group);
    lblCurrentPassword->setObjectName("lblCurrentPassword");
    edCurrentPassword = PasswordEdit("edCurrentPassword", group);
    auto* lblNewPassword = new QLabel("New Password :", group);
    lblNewPassword->setObjectName("lblNewPassword");
    edNewPassword = PasswordEdit("edNewPassword", group);
    auto* lblConfirmPassword = new QLabel("Confirm Password :", group);
    lblConfirmPassword->setObjectName("lblConfirmPassword");
    edConfirmPassword = PasswordEdit("edConfirmPassword", group);
    lblCurrentPassword->setBuddy(edCurrentPassword);
    lblNewPassword->setBuddy(edNewPassword);
    lblConfirmPassword->setBuddy(edConfirmPassword);
    btnSetPassword = new QPushButton("Set Password", group);
    btnSetPassword->setObjectName("btnSetPassword");
    btnSetPassword->setAutoDefault(false);

    auto* grid = new QGridLayout(group);
    grid->addWidget(lblCurrentPassword, 0, 0);
    grid->addWidget(edCurrentPassword, 0, 1);
    grid->addWidget(lblNewPassword, 1, 0);
    grid->addWidget(edNewPassword, 1, 1);
    grid->addWidget(lblConfirmPassword, 2, 0);
    grid->addWidget(edConfirmPassword, 2, 1);
    grid->addWidget(btnSetPassword, 3, 1, Qt::AlignRight);
    grid->setRowStretch(4, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(group);
    return page;
}

std::array<QCheckBox*, 8> TfrmPartyPlay::StoredBoxes() const
{
    return {cbDisableStopControl,   cbDisableTrackSearching, cbDisablePauseControl,
            cbDisableNextControl,   cbDisableVolumeChange,   cbDisableApplicationClose,
            cbDisableQueueControls, cbDisableStackerControl};
}

std::array<std::pair<TpartyPlayOption, QCheckBox*>, 9> TfrmPartyPlay::OptionBoxes() const
{
    using O = TpartyPlayOption;
    return {{{O::VolumeChange, cbDisableVolumeChange},
             {O::TrackSearching, cbDisableTrackSearching},
             {O::QueueControls, cbDisableQueueControls},
             {O::NextControl, cbDisableNextControl},
             {O::PauseControl, cbDisablePauseControl},
             {O::StopControl, cbDisableStopControl},
             {O::StackerControl, cbDisableStackerControl},
             {O::PlaylistEditor, cbDisablePlaylistEditor},
             {O::ApplicationClose, cbDisableApplicationClose}}};
}

TpartyPlayOptions TfrmPartyPlay::Options() const
{
    TpartyPlayOptions options;
    for (const auto& [option, box] : OptionBoxes())
        options.SetChecked(option, box->isChecked());
    return options;
}

void TfrmPartyPlay::SetOptions(const TpartyPlayOptions& options)
{
    for (const auto& [option, box] : OptionBoxes())
        box->setChecked(options.Checked(option));
}

void TfrmPartyPlay::LoadSettings(const TIniFile& ini, std::string_view section)
{
    const std::array<QCheckBox*, 8> boxes = StoredBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setChecked(ini.ReadBool(section, kStoredKeys[i], boxes[i]->isChecked()));
    SetQueueLimit(ini.ReadInteger(section, "QueueLimit", speQueueLimit->value()));
    SetPassword(ini.ReadString(section, "Password", ""));
}

void TfrmPartyPlay::SaveSettings(TIniFile& ini, std::string_view section) const
{
    const std::array<QCheckBox*, 8> boxes = StoredBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        ini.WriteBool(section, kStoredKeys[i], boxes[i]->isChecked());
    ini.WriteInteger(section, "QueueLimit", speQueueLimit->value());
    ini.WriteString(section, "Password", password_);
}

bool TfrmPartyPlay::GetDisableStopControl() const
{
    return cbDisableStopControl->isChecked();
}
void TfrmPartyPlay::SetDisableStopControl(bool value)
{
    cbDisableStopControl->setChecked(value);
}
bool TfrmPartyPlay::GetDisableTrackSearching() const
{
    return cbDisableTrackSearching->isChecked();
}
void TfrmPartyPlay::SetDisableTrackSearching(bool value)
{
    cbDisableTrackSearching->setChecked(value);
}
bool TfrmPartyPlay::GetDisablePauseControl() const
{
    return cbDisablePauseControl->isChecked();
}
void TfrmPartyPlay::SetDisablePauseControl(bool value)
{
    cbDisablePauseControl->setChecked(value);
}
bool TfrmPartyPlay::GetDisableNextControl() const
{
    return cbDisableNextControl->isChecked();
}
void TfrmPartyPlay::SetDisableNextControl(bool value)
{
    cbDisableNextControl->setChecked(value);
}
bool TfrmPartyPlay::GetDisableVolumeChange() const
{
    return cbDisableVolumeChange->isChecked();
}
void TfrmPartyPlay::SetDisableVolumeChange(bool value)
{
    cbDisableVolumeChange->setChecked(value);
}
bool TfrmPartyPlay::GetDisableApplicationClose() const
{
    return cbDisableApplicationClose->isChecked();
}
void TfrmPartyPlay::SetDisableApplicationClose(bool value)
{
    cbDisableApplicationClose->setChecked(value);
}
bool TfrmPartyPlay::GetDisableQueueControls() const
{
    return cbDisableQueueControls->isChecked();
}
void TfrmPartyPlay::SetDisableQueueControls(bool value)
{
    cbDisableQueueControls->setChecked(value);
}
bool TfrmPartyPlay::GetDisableStackerControl() const
{
    return cbDisableStackerControl->isChecked();
}
void TfrmPartyPlay::SetDisableStackerControl(bool value)
{
    cbDisableStackerControl->setChecked(value);
}
bool TfrmPartyPlay::GetDisablePlaylistEditor() const
{
    return cbDisablePlaylistEditor->isChecked();
}
void TfrmPartyPlay::SetDisablePlaylistEditor(bool value)
{
    cbDisablePlaylistEditor->setChecked(value);
}

int TfrmPartyPlay::GetQueueLimit() const
{
    return speQueueLimit->value();
}

void TfrmPartyPlay::SetQueueLimit(int value)
{
    speQueueLimit->setValue(std::clamp(value, 0, kMaxQueueLimit));
}

void TfrmPartyPlay::SetPassword(std::string text)
{
    password_ = std::move(text);
    const bool set = !password_.empty();
    btnSetPassword->setText(set ? "Change Password" : "Set Password");
    edCurrentPassword->clear();
    edCurrentPassword->setEnabled(set);
    lblCurrentPassword->setEnabled(set);
    QPalette palette = edCurrentPassword->palette();
    palette.setColor(QPalette::Base, ToQColor(set ? clWindow : clBtnFace));
    edCurrentPassword->setPalette(palette);
    edNewPassword->clear();
    edConfirmPassword->clear();
}

void TfrmPartyPlay::btnSetPasswordClick()
{
    if (platform::FromQString(edCurrentPassword->text()) != password_) {
        ShowPasswordError("The password is not correct");
        return;
    }
    if (edNewPassword->text() != edConfirmPassword->text()) {
        ShowPasswordError("The new passwords do not match");
        return;
    }
    // A touch screen has only the on-screen keyboard to leave party play with.
    if (!KeyboardCanType(edNewPassword->text())) {
        ShowPasswordError(
            "The password may hold only the letters A to Z, digits and spaces, which the on-screen "
            "keyboard can type");
        return;
    }
    SetPassword(platform::FromQString(edNewPassword->text()));
}

bool TfrmPartyPlay::CheckPassword()
{
    if (host_ == nullptr)
        return false;
    return AskPassword(password_, host_->KeyboardWidth(), host_->KeyboardHeight(),
                       host_->UseOnScreenKeyboard());
}

bool TfrmPartyPlay::CheckAccess()
{
    return host_ != nullptr && CheckPassword();
}

void TfrmPartyPlay::ShowOptions()
{
    if (CheckPassword())
        exec();
}

void TfrmPartyPlay::HideTrackSearchingAndVolumeOptions()
{
    cbDisableTrackSearching->hide();
    cbDisableVolumeChange->hide();
}

void TfrmPartyPlay::TogglePartyPlay()
{
    if (host_ == nullptr)
        return;
    host_->TogglePartyPlay();
    actnTogglePartyPlay->setText(host_->PartyPlayEnabled() ? "&Disable Party Play" : "&Enable Party Play");
}

void TfrmPartyPlay::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous() || host_ == nullptr)
        return;
    CentreOnOwner(*this, host_->HostWindow());
}

TfrmPartyPlay* GetPartyPlayForm()
{
    return SharedForm().data();
}

TfrmPartyPlay* CreatePartyPlayForm()
{
    QPointer<TfrmPartyPlay>& form = SharedForm();
    if (!form) {
        form = new TfrmPartyPlay;
        qAddPostRoutine(FreeSharedForm);
    }
    return form.data();
}
