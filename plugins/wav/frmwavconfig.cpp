#include "frmwavconfig.h"

#include "platform/qtstring.h"
#include "wavsettings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TfrmWAVconfig::TfrmWAVconfig(TwavSettings& settings, QWidget* parent) : QDialog(parent), settings_(settings)
{
    setObjectName("frmWAVconfig");
    setWindowTitle("WAV Reader");

    auto* tagGroup = new QGroupBox("WAV Tag Reader", this);
    tagGroup->setObjectName("gbTagReader");
    auto* maskLabel = new QLabel("Mask :", tagGroup);
    edMask_ = new QLineEdit(tagGroup);
    edMask_->setObjectName("edMask");
    maskLabel->setBuddy(edMask_);
    auto* note = new QPlainTextEdit(tagGroup);
    note->setObjectName("memoPlaceholders");
    note->setReadOnly(true);
    note->setFocusPolicy(Qt::NoFocus);
    note->setPlainText("%a : Artist\n%b : Album\n%t : Title\n%n : Track #\n%g : Genre");
    note->setFixedHeight(note->fontMetrics().lineSpacing() * 6);
    auto* maskRow = new QHBoxLayout;
    maskRow->addWidget(maskLabel);
    maskRow->addWidget(edMask_, 1);
    auto* tagLayout = new QVBoxLayout(tagGroup);
    tagLayout->addLayout(maskRow);
    tagLayout->addWidget(note);

    auto* folderGroup = new QGroupBox("Folders", this);
    folderGroup->setObjectName("gbFolders");
    rbParentAlbum_ = new QRadioButton("Parent Folder is Album Title", folderGroup);
    rbParentAlbum_->setObjectName("rbParentAlbum");
    rbParentArtist_ = new QRadioButton("Parent Folder is Artist Name", folderGroup);
    rbParentArtist_->setObjectName("rbParentArtist");
    cbParentParent_ = new QCheckBox("Parent Folder's Parent is Artist Name", folderGroup);
    cbParentParent_->setObjectName("cbParentParent");
    auto* folderLayout = new QVBoxLayout(folderGroup);
    folderLayout->addWidget(rbParentAlbum_);
    auto* parentParentRow = new QHBoxLayout;
    parentParentRow->addSpacing(20);
    parentParentRow->addWidget(cbParentParent_);
    folderLayout->addLayout(parentParentRow);
    folderLayout->addWidget(rbParentArtist_);

    btnOK_ = new QPushButton("&OK", this);
    btnOK_->setObjectName("btnOK");
    btnOK_->setDefault(true);
    btnCancel_ = new QPushButton("&Cancel", this);
    btnCancel_->setObjectName("btnCancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK_);
    buttons->addWidget(btnCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tagGroup);
    layout->addWidget(folderGroup);
    layout->addLayout(buttons);

    connect(rbParentAlbum_, &QRadioButton::clicked, this, &TfrmWAVconfig::UpdateParentParent);
    connect(rbParentArtist_, &QRadioButton::clicked, this, &TfrmWAVconfig::UpdateParentParent);
    connect(btnOK_, &QPushButton::clicked, this, [this] {
        ControlsToSettings();
        accept();
    });
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmWAVconfig::showEvent(QShowEvent* event)
{
    SettingsToControls();
    QDialog::showEvent(event);
}

void TfrmWAVconfig::SettingsToControls()
{
    edMask_->setText(platform::ToQString(settings_.Mask));
    // The settings may have neither folder rule on; the radio buttons must be able to show that, and when
    // a settings file has both on, the artist rule shows, as the later of the two set.
    rbParentAlbum_->setAutoExclusive(false);
    rbParentArtist_->setAutoExclusive(false);
    rbParentAlbum_->setChecked(settings_.ParentAlbum && !settings_.ParentArtist);
    rbParentArtist_->setChecked(settings_.ParentArtist);
    rbParentAlbum_->setAutoExclusive(true);
    rbParentArtist_->setAutoExclusive(true);
    cbParentParent_->setChecked(settings_.ParentParentArtist);
    // Not left to the first click: the check box only means something while the album rule is on.
    UpdateParentParent();
}

void TfrmWAVconfig::ControlsToSettings()
{
    settings_.ParentAlbum = rbParentAlbum_->isChecked();
    settings_.ParentParentArtist = cbParentParent_->isChecked();
    settings_.ParentArtist = rbParentArtist_->isChecked();
    settings_.Mask = platform::FromQString(edMask_->text());
}

void TfrmWAVconfig::UpdateParentParent()
{
    cbParentParent_->setEnabled(rbParentAlbum_->isChecked());
}
