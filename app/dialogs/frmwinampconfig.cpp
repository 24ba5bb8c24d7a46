#include "app/dialogs/frmwinampconfig.h"

#include "core/player/winampmediaplayer.h"
#include "core/util/promptservice.h"
#include "platform/qtstring.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include <memory>

TfrmWinampConfig::TfrmWinampConfig(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmWinampConfig");
    setWindowTitle("Winamp Player");
    setSizeGripEnabled(false);

    pcWinampConfig = new QTabWidget(this);
    pcWinampConfig->setObjectName("pcWinampConfig");
    tsGeneralSettings = new QWidget;
    tsGeneralSettings->setObjectName("tsGeneralSettings");
    pcWinampConfig->addTab(tsGeneralSettings, "General Settings");

    lblWinampLocation = new QLabel("* This needs to specify the location of Winamp.EXE", tsGeneralSettings);
    lblWinampLocation->setObjectName("lblWinampLocation");
    lblWinampFolder = new QLabel("Winamp Folder :", tsGeneralSettings);
    lblWinampFolder->setObjectName("lblWinampFolder");
    edWinampFolder = new QLineEdit(tsGeneralSettings);
    edWinampFolder->setObjectName("edWinampFolder");
    edWinampFolder->setMinimumWidth(260);
    lblWinampFolder->setBuddy(edWinampFolder);
    btnSelectFolder = new QPushButton("...", tsGeneralSettings);
    btnSelectFolder->setObjectName("btnSelectFolder");
    btnSelectFolder->setFixedWidth(25);
    btnSelectFolder->setAutoDefault(false);
    cbControlVolume = new QCheckBox("Control Volume", tsGeneralSettings);
    cbControlVolume->setObjectName("cbControlVolume");
    lblControlVolume =
        new QLabel("* If Control Volume is checked then you will have to use this application to "
                   "change the volume, you won't be able to do it from Winamp.",
                   tsGeneralSettings);
    lblControlVolume->setObjectName("lblControlVolume");
    lblControlVolume->setWordWrap(true);

    auto* page = new QGridLayout(tsGeneralSettings);
    page->addWidget(lblWinampLocation, 0, 0, 1, 3);
    page->addWidget(lblWinampFolder, 1, 0);
    page->addWidget(edWinampFolder, 1, 1);
    page->addWidget(btnSelectFolder, 1, 2);
    page->addWidget(cbControlVolume, 2, 0, 1, 3);
    page->addWidget(lblControlVolume, 3, 0, 1, 3);
    page->setRowStretch(4, 1);

    btnClose = new QPushButton("&Close", this);
    btnClose->setObjectName("btnClose");
    btnClose->setDefault(true);
    btnApply = new QPushButton("&Apply", this);
    btnApply->setObjectName("btnApply");
    btnApply->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnClose);
    buttons->addWidget(btnApply);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pcWinampConfig);
    layout->addLayout(buttons);

    connect(btnSelectFolder, &QPushButton::clicked, this, [this] { SelectFolder(); });
    connect(btnApply, &QPushButton::clicked, this, [this] { Apply(); });
    // Escape reaches reject() as well: Close is the cancel button too.
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmWinampConfig::ShowForPlayer(TwinampMediaPlayer* player)
{
    player_ = player;
    const bool allowed = player != nullptr && player->AllowControlVolume();
    cbControlVolume->setVisible(allowed);
    lblControlVolume->setVisible(allowed);
    exec();
    // The binding is for this showing only: the dialog may outlive the player.
    player_ = nullptr;
}

void TfrmWinampConfig::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (player_ != nullptr) {
        edWinampFolder->setText(platform::ToQString(player_->WinampPath()));
        cbControlVolume->setChecked(player_->ControlVolume());
    } else {
        ShowMessageBox("No valid player assigned.", ApplicationTitle(), TmessageButtons::Ok,
                       TmessageIcon::Information);
    }
}

QString TfrmWinampConfig::BrowseForFolder()
{
    return QFileDialog::getExistingDirectory(this, "Locate the Winamp Folder", QString());
}

void TfrmWinampConfig::SelectFolder()
{
    const QString folder = BrowseForFolder();
    if (!folder.isEmpty())
        edWinampFolder->setText(folder);
}

void TfrmWinampConfig::Apply()
{
    if (player_ == nullptr)
        return;
    player_->SetWinampPath(platform::FromQString(edWinampFolder->text()));
    player_->SetControlVolume(cbControlVolume->isChecked());
}

void InstallWinampConfigDialog(QWidget* owner)
{
    const bool owned = owner != nullptr;
    const QPointer<QWidget> ownerLink(owner);
    const auto form = std::make_shared<QPointer<TfrmWinampConfig>>();
    TwinampMediaPlayer::SetConfigDialogHook([owned, ownerLink, form](TwinampMediaPlayer& player) {
        if (owned && ownerLink) {
            if (!*form)
                *form = new TfrmWinampConfig(ownerLink.data()); // freed with its owner
            (*form)->ShowForPlayer(&player);
            return;
        }
        TfrmWinampConfig dialog;
        dialog.ShowForPlayer(&player);
    });
}
