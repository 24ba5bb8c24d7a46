#pragma once

#include <QDialog>

#include <optional>
#include <string>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QWidget;
class TcustomJukeboxList;
class TpreferencesHost;

// "Preferences": the screensaver, the album cover art folder, the media folders and the artist name
// mappings. Each setting goes to the main window or the library at once; the mappings are kept in the
// window until they are saved (on closing, when any changed), which rebuilds the library's groupings.
class TfrmPreferences : public QDialog
{
    Q_OBJECT

public:
    TfrmPreferences(TcustomJukeboxList& library, TpreferencesHost& host, QWidget* parent = nullptr);
    ~TfrmPreferences() override;

    // Fills every page from the library and the main window.
    void ShowSettings();
    // "folders" (in any case) opens the "Media Folders" page, anything else "General".
    void OpenPage(const std::string& page);

    // The buttons. Failures are shown as errors; nothing leaves.
    void ChooseAlbumArtFolder();
    void AddDir();
    void DeleteDir();
    void ClearFolders();
    void RunScan();
    void AddDefaultMapping();
    void AddCustomMap();
    void EditMapping();
    void DeleteMapping();
    void ClearMappings();
    // "&Save Mappings": the artists take the lines shown, write them to their alias file, and the library
    // rebuilds its groupings so that the tree shows the new names.
    void UpdateMappings();

    bool MappingsModified() const { return modified_; }

private:
    void BuildGeneralPage();
    void BuildFoldersPage();
    void BuildMappingsPage();
    void BindControls();
    void FillFolders();
    void FillArtists();
    void FillMappings();
    std::string SelectedArtist() const;
    // Asks for the mapped name of artist; nullopt when the box is cancelled.
    std::optional<std::string> AskMappedName(const std::string& artist);
    void AddMappingLine(const std::string& line);
    void MarkModified();
    void SaveMappings();

    TcustomJukeboxList& library_;
    TpreferencesHost& host_;
    bool modified_ = false;

    QTabWidget* pcPreferences;
    QWidget* tsGeneral;
    QCheckBox* cbEnableScreensaver;
    QSpinBox* speScreenTimeout;
    QLineEdit* edAlbumArtFolder;
    QPushButton* btnChooseAlbumArtFolder;
    QWidget* tsFolders;
    QPushButton* btnAddDir;
    QPushButton* btnDeleteDir;
    QPushButton* btnClearFolders;
    QPushButton* btnRunScan;
    QListWidget* lbDirs;
    QWidget* tsMappings;
    QListWidget* lbArtists;
    QPushButton* btnCustommap;
    QPushButton* btnAddDefaultMapping;
    QPushButton* btnUpdateMappings;
    QListWidget* lbMappings;
    QPushButton* btnDeleteMapping;
    QPushButton* btnEditMapping;
    QPushButton* btnClearMappings;
    QPushButton* btnOK;
};

// Shows the preferences modally over the main window on page ("folders" or anything else, see OpenPage);
// when the mappings changed, saves them afterwards. The window is freed before it returns.
void ShowPreferences(TcustomJukeboxList& library, TpreferencesHost& host, const std::string& page);
