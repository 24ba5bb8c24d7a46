#pragma once

#include "app/qt/services/busyguard.h"
#include "platform/stringlist.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QWidget;
class TaudioTag;
class TaudioTagList;
class TcustomJukeboxList;

// Which media folders a scan reads.
enum class TscanScope
{
    All,     // every listed folder ("Scan All"; the only scan a "Full ReScan" applies to)
    Checked, // the checked folders, in list order ("Scan Selected")
    Folder,  // one folder given by the caller ("Scan Sub Folder")
};

// "Media Search": keeps the library's list of media folders and scans them for music files. A scan reads
// the folders into a private search list, checking each file against the library's file-name index (known
// songs are refreshed in place, never added twice), and appends copies of the new songs to the global list,
// whose change rebuilds and saves the library. The per-folder caches are neither read nor written here.
class TfrmMusicSearch : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmMusicSearch(TcustomJukeboxList& library, QWidget* parent = nullptr);
    ~TfrmMusicSearch() override;

    TcustomJukeboxList& Library() const { return library_; }
    // The scratch list a scan fills (owns its songs; emptied again once they are in the library).
    TaudioTagList& SearchList() const { return *atlSearch_; }

    // The normal view: options from the library, every control enabled, the folder list refilled.
    void ShowOptions();

    // The buttons. Failures are shown as errors; nothing leaves.
    void AddFolder();
    void DeleteFolder();
    void ClearFolders();
    void ScanAll();
    void ScanSelected();
    void ScanSubFolder();

    // Runs one scan (folder only for TscanScope::Folder); failures go to the caller once the dialog is back
    // in its normal view. The library's songs change only at the end, in one step: a "Full ReScan" cut off
    // half-way leaves the global list, and so jukebox.dat, as it was.
    void RunScan(TscanScope scope, const std::string& folder = std::string());

    bool Scanning() const { return scanning_; }
    int NewFiles() const { return newFiles_; }
    int ModifiedFiles() const { return modifiedFiles_; }

    // The main window's busy flag, held while a scan runs (a link; nullptr for none).
    void SetBusyGuard(TbusyGuard* guard) { busyGuard_ = guard; }
    // Raised right before the scan changes the library's songs (removing missing ones, adding the new ones),
    // so that views linking to them can let go first.
    std::function<void(TfrmMusicSearch* sender)> OnLibraryChanging;
    // Runs the pending window messages at each progress step; replaceable so that tests can act mid-scan.
    std::function<void()> ProcessMessages;

protected:
    void closeEvent(QCloseEvent* event) override;

public slots:
    // Closing is refused while a scan runs.
    void reject() override;

private:
    class TscanView;

    void BuildSearchPage();
    void BuildMasksPage();
    void BindSearchList();
    void FillFolders();
    int SelectedFolder() const;
    void ReadMaskOptions();
    void WriteMaskOptions();
    void CopyScanSettings();
    void FoldersToScan(TscanScope scope, const std::string& folder, TStrings& folders) const;
    void RemoveMissing(TscanScope scope, const TStrings& folders, const TStrings& skipped);
    void LibraryChanging();
    void EnterScanView();
    void SetControlsEnabled(bool enabled);
    void ShowCounters();

    void DirProcess(const std::string& folder);
    void TagFound(bool modified);
    void ListProcessStart(const std::string& text);
    void ListProcess(std::uint32_t index, std::uint32_t count);

    TcustomJukeboxList& library_;
    std::unique_ptr<TaudioTagList> atlSearch_;
    TbusyGuard* busyGuard_ = nullptr; // link
    bool scanning_ = false;
    int newFiles_ = 0;
    int modifiedFiles_ = 0;

    QTabWidget* pcMediaSearch;
    QWidget* tsMediaSearch;
    QGroupBox* gbFolders;
    QListWidget* clbFolders;
    QPushButton* btnStartSelected;
    QPushButton* btnStartFull;
    QPushButton* btnSubScan;
    QPushButton* btnAddFolder;
    QPushButton* btnDeleteFolder;
    QPushButton* btnClearFolders;
    QGroupBox* gbOptions;
    QCheckBox* cbRemoveMissing;
    QCheckBox* cbFullScan;
    QCheckBox* cbCloseWhenDone;
    QGroupBox* gbSearching;
    QLabel* lblCurrentDir;
    QLabel* lblNewFilesFound;
    QLabel* lblModFilesFound;
    QLabel* lblAction;
    QLabel* lblProgressCount;
    QProgressBar* pgbMusic;
    QWidget* tsMasks;
    QCheckBox* cbUseAudioMask;
    QLineEdit* edAudioMask;
    QCheckBox* cbAlbumFromParent;
    QCheckBox* cbArtistFromParent;
    QPlainTextEdit* memoMaskNote;
    QPushButton* btnClose;
};

// Shows the dialog modally for library and frees it. guard: the main window's busy flag, or nullptr;
// libraryChanging: bound to OnLibraryChanging.
void ShowMediaSearch(TcustomJukeboxList& library, QWidget* parent = nullptr, TbusyGuard* guard = nullptr,
                     std::function<void(TfrmMusicSearch* sender)> libraryChanging = {});
