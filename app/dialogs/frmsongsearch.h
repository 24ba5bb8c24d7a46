#pragma once

#include "app/keyboard/keyboardableform.h"
#include "platform/stringlist.h"

class QLineEdit;
class QListWidget;
class QTimer;
class TaudioTag;
class TorvaneButton;
class TsongSearchHost;

// "Song Search": the songs whose title, or whose artist's name, holds the typed text, listed as the user
// types. It can carry the shared on-screen keyboard. Title mode lists "Title - Artist" lines, so that the
// sorted lines follow what was searched for, as artist mode's "Artist - Title" lines do.
class TfrmSongSearch : public TkeyboardableForm
{
    Q_OBJECT

public:
    enum TsearchMode
    {
        smTitle = 0,
        smArtist = 1
    };

    explicit TfrmSongSearch(QWidget* parent = nullptr);
    ~TfrmSongSearch() override;

    // The main window searched and centred on (a link; null: nothing is found).
    void SetJukebox(TsongSearchHost* host) { host_ = host; }
    TsongSearchHost* Jukebox() const { return host_; }

    int SearchMode() const { return searchMode_; }
    // The song of the selected line (the library's own, a link); null without a selection.
    TaudioTag* SelectedSong() const;
    // The lines found, sorted, each equal line once, each with its song (a search still due runs first).
    const TStringList<TaudioTag>& Results();

    void SetKeyboardSize(int width, int height) override;
    void ShowKeyboard(bool on) override;
    QWidget* GetKeyboardPanel() override;
    void SendKey(std::uint16_t code, bool shift) override;

    // Runs the search for the edit's text now. A change of the text only makes a search due, run when the
    // window's events are through, so that keys typed faster than a search search once, for the last text.
    void edSongSearchChange();
    bool SearchDue() const;
    // Runs a search that is due now; nothing when none is.
    void FlushSearch();
    // Toggles between title and artist mode; the text is emptied.
    void obtnSearchModeClick();
    void obtnOKClick();
    void obtnCancelClick();

    QLineEdit* SearchEdit() const { return edSongSearch; }
    // The list of lines found (a search still due runs first).
    QListWidget* TrackList();

public slots:
    // A search still due runs before the window closes, as the keys before the closing one asked.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormResize();
    int ItemHeight() const;

    TsongSearchHost* host_ = nullptr; // link
    int searchMode_ = smTitle;
    TStringList<TaudioTag> results_;
    QTimer* searchDue_;

    QWidget* pnlBody;
    QWidget* pnlTop;
    QWidget* pnlEdit;
    TorvaneButton* obtnSearchMode;
    QLineEdit* edSongSearch;
    TorvaneButton* obtnOK;
    TorvaneButton* obtnCancel;
    QListWidget* lbTracks;
};

// The main window's Search command: shows the search modally (with the on-screen keyboard of the given
// size when useKeyboard), centred on the host's window. The song chosen (the library's own, a link) when
// it closes with OK on a line; null otherwise, and without a host, when nothing is shown. The caller queues
// it through the library (TcustomlocalJukeboxList::QueueTag, which queues a copy).
const TaudioTag* SearchSong(TsongSearchHost* host, int keyboardWidth, int keyboardHeight, bool useKeyboard);
