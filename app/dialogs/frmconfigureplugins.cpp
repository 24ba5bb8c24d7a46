#include "app/dialogs/frmconfigureplugins.h"

#include "app/qt/services/dialogservice.h"
#include "app/qt/services/exceptionboundary.h"
#include "core/plugins/taggerloader.h"
#include "core/util/promptservice.h"
#include "platform/filesystem.h"
#include "platform/qtstring.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

QPushButton* MakeButton(const char* name, const char* text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TfrmConfigurePlugins::TfrmConfigurePlugins(TpluginsFolderAccess folder, TtaggerLoader& loader,
                                           QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      folder_(std::move(folder)), loader_(loader)
{
    setObjectName("frmConfigurePlugins");
    setWindowTitle("Tag Read Plugins Configuration");
    setSizeGripEnabled(false);

    gbFolder = new QGroupBox(this);
    gbFolder->setObjectName("gbFolder");
    lblPluginsFolder = new QLabel("Tag Reader Plugins Folder :", gbFolder);
    lblPluginsFolder->setObjectName("lblPluginsFolder");
    edPluginsFolder = new QLineEdit(gbFolder);
    edPluginsFolder->setObjectName("edPluginsFolder");
    edPluginsFolder->setMinimumWidth(280);
    lblPluginsFolder->setBuddy(edPluginsFolder);
    btnBrowse = MakeButton("btnBrowse", "...", gbFolder);
    btnBrowse->setFixedWidth(25);
    btnConfigurePlugins = MakeButton("btnConfigurePlugins", "Configure Tag Reader &Plugins", gbFolder);
    auto* group = new QGridLayout(gbFolder);
    group->addWidget(lblPluginsFolder, 0, 0, 1, 2);
    group->addWidget(edPluginsFolder, 1, 0);
    group->addWidget(btnBrowse, 1, 1);
    group->addWidget(btnConfigurePlugins, 2, 0, 1, 2, Qt::AlignLeft);

    btnOK = new QPushButton("&OK", this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    btnCancel = MakeButton("btnCancel", "&Cancel", this);
    btnApply = MakeButton("btnApply", "&Apply", this);
    btnApply->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {btnOK, btnCancel, btnApply})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gbFolder);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(edPluginsFolder, &QLineEdit::textChanged, this, [this] { FolderChanged(); });
    connect(btnBrowse, &QPushButton::clicked, this, [this] { Guarded([this] { BrowseFolder(); }); });
    connect(btnConfigurePlugins, &QPushButton::clicked, this,
            [this] { Guarded([this] { ConfigurePlugins(); }); });
    connect(btnApply, &QPushButton::clicked, this, [this] { Guarded([this] { ApplyFolder(); }); });
    connect(btnOK, &QPushButton::clicked, this, [this] { Guarded([this] { Ok(); }); });
    // Escape reaches reject() too.
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmConfigurePlugins::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        shown_ = false;
        edPluginsFolder->setText(folder_ ? platform::ToQString(folder_.Get()) : QString());
        shown_ = true;
    }
    QDialog::showEvent(event);
}

void TfrmConfigurePlugins::FolderChanged()
{
    if (shown_)
        btnApply->setEnabled(true);
}

void TfrmConfigurePlugins::BrowseFolder()
{
    if (const std::optional<std::string> chosen =
            TdialogService::Current().BrowseFolder(this, "Plugins Folder", std::string()))
        edPluginsFolder->setText(platform::ToQString(*chosen));
}

void TfrmConfigurePlugins::ConfigurePlugins()
{
    loader_.ShowPluginsDialog();
}

bool TfrmConfigurePlugins::ApplyFolder()
{
    const std::string folder = platform::FromQString(edPluginsFolder->text());
    if (!platform::DirectoryExists(folder)) {
        ShowMessageBox("The folder \"" + folder + "\" does not exist.", ApplicationTitle(),
                       TmessageButtons::Ok, TmessageIcon::Warning);
        return false;
    }
    if (folder_)
        folder_.Set(folder);
    btnApply->setEnabled(false);
    return true;
}

void TfrmConfigurePlugins::Ok()
{
    if (ApplyFolder())
        accept();
}

void ConfigurePluginsFolder(QWidget* owner, const TpluginsFolderAccess& folder)
{
    if (!folder)
        return;
    TfrmConfigurePlugins dialog(folder, TaggerLoader(), owner);
    dialog.exec();
}
