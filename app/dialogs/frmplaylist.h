#pragma once

#include "core/util/componentlink.h"

#include <QDialog>

#include <cstdint>
#include <string>

class QLabel;
class QStatusBar;
class TcustomJukebox;
class TcustomlocalJukeboxList;
class ThtmlListBox;

// "Playlist": a small stay-on-top tool window listing the songs of the playing jukebox's active saved
// playlist, with their count, play time and number of artists. It is made once and refreshed by the main
// window whenever the active playlist, the saved playlists or one of them changes.
class TfrmPlaylist : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmPlaylist(QWidget* parent = nullptr);

    // Keeps the library (a link that forgets it once it is gone) and refills the window from its playing
    // jukebox's active saved playlist; empty and all zeros without one.
    void Refresh(TcustomlocalJukeboxList* library);
    // The same from a playing jukebox directly; nothing is kept.
    void Fill(const TcustomJukebox* jukebox);
    // Refreshes with the library and shows the window, not modally, in front.
    void ShowPlaylist(TcustomlocalJukeboxList* library);
    TcustomlocalJukeboxList* JukeboxList() const;

    // The texts of the three status panels.
    static std::string CountText(int count);
    static std::string PlayTimeText(std::int64_t seconds);
    static std::string ArtistCountText(int count);

    ThtmlListBox* List() const { return lbPlaylist; }
    QLabel* Panel(int index) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TcomponentLink<TcustomlocalJukeboxList> library_;
    ThtmlListBox* lbPlaylist;
    QStatusBar* sbPlaylist;
    QLabel* panels_[3];
};
