#include "app/dialogs/frmplugins.h"

#include "app/qt/helpers/guiutils.h"
#include "core/plugins/taggerloader.h"
#include "core/plugins/taggerplugin.h"
#include "platform/qtstring.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStringList>
#include <QTreeWidget>
#include <QVBoxLayout>

TfrmPlugins::TfrmPlugins(TtaggerLoader& loader, QWidget* parent) : QDialog(parent), loader_(loader)
{
    setObjectName("frmPlugins");
    setWindowTitle("Tag Reader Plugins");
    setFixedSize(496, 306);
    setSizeGripEnabled(false);

    lvPlugins = new QTreeWidget(this);
    lvPlugins->setObjectName("lvPlugins");
    lvPlugins->setGeometry(8, 8, 300, 144);
    lvPlugins->setColumnCount(1);
    lvPlugins->setHeaderLabels({"Plugin"});
    lvPlugins->setRootIsDecorated(false);
    lvPlugins->setSelectionMode(QAbstractItemView::SingleSelection);
    lvPlugins->header()->setSectionsClickable(false);

    lblExtensions = new QLabel("Enabled Extensions", this);
    lblExtensions->setObjectName("lblExtensions");
    lblExtensions->setGeometry(316, 8, 172, 16);

    memoExtensions = new QPlainTextEdit(this);
    memoExtensions->setObjectName("memoExtensions");
    memoExtensions->setGeometry(316, 26, 172, 126);
    memoExtensions->setReadOnly(true);
    memoExtensions->setLineWrapMode(QPlainTextEdit::NoWrap);

    gbInformation = new QGroupBox("Information", this);
    gbInformation->setObjectName("gbInformation");
    gbInformation->setGeometry(8, 158, 480, 106);
    memoInfo = new QPlainTextEdit(gbInformation);
    memoInfo->setObjectName("memoInfo");
    memoInfo->setReadOnly(true);
    memoInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memoInfo->setFont(FixedPitchFont());
    auto* infoLayout = new QVBoxLayout(gbInformation);
    infoLayout->setContentsMargins(8, 4, 8, 8);
    infoLayout->addWidget(memoInfo);

    btnConfigure = new QPushButton("Con&figure", this);
    btnConfigure->setObjectName("btnConfigure");
    btnConfigure->setGeometry(332, 272, 75, 25);
    btnConfigure->setAutoDefault(false);

    btnClose = new QPushButton("&Close", this);
    btnClose->setObjectName("btnClose");
    btnClose->setGeometry(413, 272, 75, 25);
    btnClose->setDefault(true);

    connect(lvPlugins, &QTreeWidget::itemChanged, this, [this] { PluginItemChanged(); });
    connect(lvPlugins, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (!filling_)
            ShowInfo(PluginOf(current));
    });
    connect(btnConfigure, &QPushButton::clicked, this, [this] { Configure(); });
    // Escape reaches reject(), so Close is the cancel button as well.
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

QString TfrmPlugins::InfoText(const TtaggerPlugin& plugin)
{
    const TtaggerRecord* record = plugin.Record();
    const int version = record ? record->Version : 0;
    return QStringList{
        "Description          : " + platform::ToQString(plugin.Name()),
        "Supported File Types : " + platform::ToQString(plugin.FileTypes()),
        "Supported Extensions : " + platform::ToQString(plugin.GetExtensionList()),
        QString::asprintf("Version              : %d.%d", (version >> 8) & 0xFF, version & 0xFF),
    }
        .join('\n');
}

TtaggerPlugin* TfrmPlugins::PluginOf(const QTreeWidgetItem* item)
{
    return item ? reinterpret_cast<TtaggerPlugin*>(item->data(0, Qt::UserRole).value<quintptr>()) : nullptr;
}

void TfrmPlugins::FillList()
{
    filling_ = true;
    lvPlugins->clear();
    for (int i = 0; i < loader_.GetCount(); ++i) {
        TtaggerPlugin* plugin = loader_.GetPlugin(i);
        auto* item = new QTreeWidgetItem(lvPlugins, QStringList{platform::ToQString(plugin->Name())});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(plugin)));
        item->setCheckState(0, plugin->Enabled() ? Qt::Checked : Qt::Unchecked);
    }
    filling_ = false;
}

void TfrmPlugins::FillExtensions()
{
    TStrings extensions;
    loader_.GetExtensions(extensions);
    QStringList lines;
    for (const auto& item : extensions)
        lines << platform::ToQString(item.text);
    memoExtensions->setPlainText(lines.join('\n'));
}

void TfrmPlugins::ShowInfo(const TtaggerPlugin* plugin)
{
    memoInfo->setPlainText(plugin ? InfoText(*plugin) : QString());
}

TtaggerPlugin* TfrmPlugins::SelectedPlugin() const
{
    return PluginOf(lvPlugins->currentItem());
}

void TfrmPlugins::SelectPlugin(const TtaggerPlugin* plugin)
{
    for (int i = 0; i < lvPlugins->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = lvPlugins->topLevelItem(i);
        if (PluginOf(item) == plugin) {
            lvPlugins->setCurrentItem(item);
            return;
        }
    }
}

void TfrmPlugins::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        FillList();
        FillExtensions();
    }
    QDialog::showEvent(event);
}

void TfrmPlugins::PluginItemChanged()
{
    if (filling_)
        return;
    const TtaggerPlugin* selected = SelectedPlugin();
    bool changed = false;
    for (int i = 0; i < lvPlugins->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = lvPlugins->topLevelItem(i);
        TtaggerPlugin* plugin = PluginOf(item);
        const bool checked = item->checkState(0) == Qt::Checked;
        if (plugin && plugin->Enabled() != checked) {
            plugin->SetEnabled(checked);
            changed = true;
        }
    }
    if (!changed)
        return;
    loader_.RebuildExtensions();
    // The items stay as they are: this runs inside the view's own handling of the click, and the list's
    // names and order have not changed, only the check states they already show.
    FillExtensions();
    ShowInfo(selected);
    SelectPlugin(selected);
}

void TfrmPlugins::Configure()
{
    const TtaggerPlugin* plugin = SelectedPlugin();
    if (!plugin || !plugin->Record() || !plugin->Record()->Configure)
        return;
    plugin->Record()->Configure(static_cast<TtaggerHandle>(winId()));
}

void ShowPluginsDialog(TtaggerLoader& loader)
{
    TfrmPlugins dialog(loader);
    dialog.exec();
}

void InstallPluginsDialog()
{
    TtaggerLoader::SetPluginsDialogHook([](TtaggerLoader& loader) { ShowPluginsDialog(loader); });
}
