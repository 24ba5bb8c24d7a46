#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TtaggerLoader;

// Where the tag-reader folder lives: the main window keeps it (and hands a new one on to the plug-in host).
struct TpluginsFolderAccess
{
    std::function<std::string()> Get;
    std::function<void(const std::string& folder)> Set;

    explicit operator bool() const { return Get && Set; }
};

// "Tag Read Plugins Configuration": the folder the tag-reader plug-ins are loaded from, and the way to the
// plug-ins' own settings. A folder that does not exist is refused: applying it would unload every reader.
class TfrmConfigurePlugins : public QDialog
{
    Q_OBJECT

public:
    TfrmConfigurePlugins(TpluginsFolderAccess folder, TtaggerLoader& loader, QWidget* parent = nullptr);

    // Hands the edit's folder to its owner and disables "&Apply"; false (and a box saying why) when the
    // folder does not exist, which leaves everything as it was.
    bool ApplyFolder();
    bool Shown() const { return shown_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BrowseFolder();
    void FolderChanged();
    void ConfigurePlugins();
    void Ok();

    TpluginsFolderAccess folder_;
    TtaggerLoader& loader_;
    bool shown_ = false;
    QGroupBox* gbFolder;
    QLabel* lblPluginsFolder;
    QLineEdit* edPluginsFolder;
    QPushButton* btnBrowse;
    QPushButton* btnConfigurePlugins;
    QPushButton* btnOK;
    QPushButton* btnCancel;
    QPushButton* btnApply;
};

// Shows the window modally over owner for the folder and the program's plug-in host, then frees it; does
// nothing without a folder to work on.
void ConfigurePluginsFolder(QWidget* owner, const TpluginsFolderAccess& folder);
