#pragma once

#include <QDialog>
#include <QString>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TtaggerLoader;
class TtaggerPlugin;

// "Tag Reader Plugins": lists the host's plug-ins, switches them on and off, shows what each one reads and
// opens its own settings dialog.
class TfrmPlugins : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmPlugins(TtaggerLoader& loader, QWidget* parent = nullptr);

    // The four information lines of a plug-in, as the memo shows them.
    static QString InfoText(const TtaggerPlugin& plugin);

    void FillList();
    void FillExtensions();
    void ShowInfo(const TtaggerPlugin* plugin);
    TtaggerPlugin* SelectedPlugin() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void PluginItemChanged();
    void Configure();
    void SelectPlugin(const TtaggerPlugin* plugin);
    static TtaggerPlugin* PluginOf(const QTreeWidgetItem* item);

    TtaggerLoader& loader_;
    bool filling_ = false;
    QTreeWidget* lvPlugins;
    QLabel* lblExtensions;
    QPlainTextEdit* memoExtensions;
    QGroupBox* gbInformation;
    QPlainTextEdit* memoInfo;
    QPushButton* btnConfigure;
    QPushButton* btnClose;
};

// Shows the dialog modally for loader and frees it.
void ShowPluginsDialog(TtaggerLoader& loader);
// Makes TtaggerLoader::ShowPluginsDialog open this dialog.
void InstallPluginsDialog();
