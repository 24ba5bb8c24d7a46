#pragma once

#include "app/dialogs/skinshost.h"
#include "app/skins/skincomponents.h"
#include "app/windows/frmjukeboxapp.h"
#include "core/captions/tagfonts.h"

#include <QPoint>
#include <QRect>

#include <array>
#include <cstdint>

#include <memory>
#include <string>
#include <vector>

class QAbstractScrollArea;
class QAction;
class QMouseEvent;
class QShortcut;
class QSplitter;
class TorvaneButton;
class TorvaneMultiButton;
class TorvanePanel;
class TorvaneScrollBar;
class TScrollBanner3;
class TdaskelBitmap;
class TdaskelLabel;
class TdigitalDisplay;
class TskinFolder;

// The library browser as a borderless, skinnable window that normally fills the screen: its own title panel
// with the exit, menu, help, minimise and full-screen buttons, four skinned frame panels around the body,
// the four-button transport control and its own scroll bars beside the three lists. The skin (skin.osk) is
// loaded onto every registered control and font set; the window geometry is its own settings section.
// Never shown by itself: the concrete main window inherits all of it.
class TfrmSkinnedJukeboxApp : public TfrmJukeboxApp, public TskinsHost
{
public:
    // Bounds of a first start and of a window whose saved place is off every screen.
    static constexpr int kDefaultWidth = 800;
    static constexpr int kDefaultHeight = 600;
    static constexpr int kFrameWidth = 6;
    static constexpr int kTitleHeight = 24;
    // The resize grip: this many pixels at the bottom-right of the right and bottom frame panels.
    static constexpr int kGripSize = 10;
    // The lists' own scroll bars until a skin gives them its width.
    static constexpr int kScrollBarWidth = 16;

    explicit TfrmSkinnedJukeboxApp(QWidget* parent = nullptr);
    ~TfrmSkinnedJukeboxApp() override;

    void FormCreate() override;

    // New virtual operations: the skin's parts, through the skin folder.
    virtual void LoadSkinImages(const TIniFile& ini, const std::string& folder);
    virtual void LoadSkinFonts(const TIniFile& ini);
    virtual void SaveSkinFonts(TIniFile& ini) const;
    virtual void ApplySkinColors(TColor buttonColor, TColor panelColor);

    // Overrides.
    void LoadSettings(const TIniFile& ini) override;
    void SaveSettings(TIniFile& ini) override;
    void SavePreferences() override;
    void PlaybackStarted(const TaudioTag* song) override;
    void ApplyPartyPlayState() override;
    void StackerChanged() override;
    void SetStackerEnabled(bool on) override;
    void PlayerStateChanged(TmediaPlayState state) override;

    // The banner scrolls the playing song's caption.
    bool GetScrollSongTitle() const;
    void SetScrollSongTitle(bool on);
    // The player's time: elapsed seconds, or the seconds left (negative) while show time remaining is on.
    virtual void TimeChanged(std::uint32_t msPosition, std::uint32_t msLength);

    // The queue panel: the queue-controls panel beside the queue's scroll bar, and the right queue panel
    // with the cover art and the details over it. Each setter also sets its action's check mark.
    bool GetQueueControlsVisible() const;
    void SetQueueControlsVisible(bool on);
    bool GetShowCoverArt() const;
    void SetShowCoverArt(bool on);
    bool GetShowQueueDetails() const { return showQueueDetails_; }
    void SetShowQueueDetails(bool on);
    bool GetShowDetailsWhenCoverPresent() const { return showDetailsWhenCoverPresent_; }
    void SetShowDetailsWhenCoverPresent(bool on);
    // The playing song's cover: its embedded picture, else one from the cover-art folder; none clears it.
    void LoadCoverArt(const TaudioTag& song);
    bool CoverLoaded() const;

    // The skin.
    void LoadSkinFile(const std::string& fileName);
    std::string GetSkinFile() const;
    // Writes the colours and fonts in use into the current skin's user copy.
    void SaveCurrentSkin();
    // The skins dialog's view of the window.
    TskinFolder& SkinFolder() override { return *skinFolder_; }
    std::vector<TtagFonts*> SkinFontSets() const override { return skinComponents_.FontSets(); }
    QWidget* HostWindow() const override { return const_cast<TfrmSkinnedJukeboxApp*>(this); }
    // The transport's Play and Next: the control is off while the command runs, refused or not.
    void ControlsPlay();
    void ControlsNext();
    TskinComponents& SkinComponents() { return skinComponents_; }
    TtagFonts& OtherFonts() { return tfOther; }

    // Full screen covers the screen the window is on; leaving it returns to the saved bounds.
    bool GetFullScreen() const { return fullScreen_; }
    void SetFullScreen(bool on);
    void RestoreBounds();
    const QRect& SavedBounds() const { return savedBounds_; }

    // Bounds brought onto a screen: bounds that meet no screen are centred on the primary one.
    static QRect OnScreen(const QRect& bounds);

    TorvanePanel* TitlePanel() const { return opnlTitle; }
    TorvanePanel* ControlsPanel() const { return opnlControls; }
    TorvaneMultiButton* ControlsButton() const { return ombtnControls; }
    TorvaneScrollBar* JukeboxListBar() const { return sbJukeboxList; }
    TorvaneScrollBar* TrackListBar() const { return sbTrackList; }
    TorvaneScrollBar* QueueListBar() const { return sbQueueList; }
    TorvanePanel* BodyRight() const { return opnlBodyRight; }
    TorvanePanel* BodyBottom() const { return opnlBodyBottom; }
    // True when the point of a frame panel lies in the resize grip.
    static bool InGrip(const QWidget* panel, const QPoint& at);
    TScrollBanner3* SongTitleBanner() const { return sbnrSongTitle; }
    TdigitalDisplay* TimeDisplay() const { return ddTimer; }
    TdaskelLabel* StackerTitle() const { return lblStackerTitle; }
    TorvaneButton* StackerPower() const { return obtnStackerPower; }
    TorvanePanel* QueueControlsPanel() const { return opnlQueueControls; }
    TorvaneButton* QueueMoveToButton() const { return obtnQueueMoveTo; }
    TorvanePanel* CoverArtPanel() const { return opnlCoverArt; }
    TdaskelBitmap* CoverArt() const { return bmCoverArt; }
    // The details over the cover art; the concrete window puts its labels on it.
    QWidget* CoverDetails() const { return pnlCoverDetails; }

    QAction* actnViewFullScreen;
    QAction* actnSettingsScrollSongTitle;
    QAction* actnViewQueueControls;
    QAction* actnViewQueueDetails;
    QAction* actnViewCoverArt;
    QAction* actnViewShowDetailsWhenCoverPresent;
    QAction* actnViewGraphical;

protected:
    void FormClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildSkinActions();
    void BuildFrame();
    void BuildTitle(QWidget* body);
    void BuildControls();
    void BuildSongTitle();
    // The stacker's title and its configure and power buttons around the stacker's lists.
    void BuildStacker();
    // The tool bar becomes the main menu: a caption button per menu, in the window's own colours.
    void BuildMenuToolbar();
    // The song title set's colour and title font on the banner.
    void ApplyBannerFonts();
    // A click (press and release without a drag) on one of the window's own panels.
    void PanelClicked(QObject* watched);
    // Moving the window by its title and sizing it by its grip: the system's move or resize where the
    // platform has one, else the window follows the mouse itself (Xvfb without a window manager).
    void TitleMouseMove(const QMouseEvent& mouse);
    bool GripMouse(QWidget* panel, QEvent* event);
    void FollowDrag(const QPoint& globalPosition);
    // Puts a list between its top and bottom panels, with its left panel and its own scroll bar.
    TorvaneScrollBar* WrapList(QWidget* list, const char* name);
    void BuildOtherFonts();
    QAction* MakeViewAction(const char* name, const char* caption, const char* hint);
    // The queue-controls panel right of the queue's scroll bar, and the cover panel in the right queue panel.
    void BuildQueueControls();
    void BuildCoverArt();
    TorvaneButton* QueueButton(const char* name, QAction* action);
    // The right queue panel and the details follow cover art, queue details and the loaded picture.
    void UpdateCoverPanel();
    QSplitter* Splitter(const char* name) const;
    void LoadPanelSizes(const TIniFile& ini);
    void SavePanelSizes(TIniFile& ini);
    void ApplyPanelSizes();
    // The window's own bar follows the list's native one (range, page, position) and scrolls the list.
    void FollowList(TorvaneScrollBar* bar, QAbstractScrollArea* list);
    static void SyncBar(TorvaneScrollBar& bar, const QAbstractScrollArea& list);
    // The menu button: the main menu, or the party-play switch while party play is on.
    void MenuButtonClick();
    void RegisterSkin();
    // Play, Next and Queue Album of the skinned window, and the progress window of the skin's loops.
    void BindSkinCommands();
    void QueueAlbumWithSkin();
    TorvaneButton* TitleButton(const char* name, QAction* action, int width);

    TskinComponents skinComponents_;
    std::unique_ptr<TskinFolder> skinFolder_;
    TtagFonts tfOther;
    bool fullScreen_ = false;
    QRect savedBounds_;
    // The full-screen state to return to when party play ends.
    bool savedFullScreen_ = false;
    bool partyFullScreen_ = false;
    QShortcut* partyExit_ = nullptr; // Exit's shortcut while party play hides the action
    bool showQueueDetails_ = false;
    // The banner shows the playing song (else the program's title).
    bool bannerShowsSong_ = false;
    bool showDetailsWhenCoverPresent_ = true;
    // The queue controls' visibility to return to when party play ends.
    bool savedQueueControlsVisible_ = true;
    static constexpr std::size_t kTitleActions = 4;
    std::array<bool, kTitleActions> savedTitleVisible_{true, true, true, true};
    // The pane sizes as last read or seen on screen.
    int trackListWidth_ = 0;
    int queueListHeight_ = 0;
    int queueDetailsWidth_ = 0;
    bool panesPending_ = false;
    QObject* pressedOn_ = nullptr; // link: the panel the left button went down on
    QPoint pressedAt_;
    enum class Tdrag
    {
        None,
        Move,
        Resize,
    };
    Tdrag drag_ = Tdrag::None;
    QRect dragBounds_;

    TorvanePanel* opnlTitle = nullptr;
    TorvanePanel* opnlBodyRight = nullptr;
    TorvanePanel* opnlBodyBottom = nullptr;
    TorvaneButton* obtnExit = nullptr;
    TorvaneButton* obtnMenu = nullptr;
    TorvaneButton* obtnHelp = nullptr;
    TorvaneButton* obtnMinimize = nullptr;
    TorvaneButton* obtnMaximize = nullptr;
    TorvanePanel* opnlSongTitle = nullptr;
    TScrollBanner3* sbnrSongTitle = nullptr;
    TdigitalDisplay* ddTimer = nullptr;
    TorvanePanel* opnlStacker = nullptr;
    TdaskelLabel* lblStackerTitle = nullptr;
    TorvaneButton* obtnStackerConfigure = nullptr;
    TorvaneButton* obtnStackerPower = nullptr;
    TorvanePanel* opnlControls = nullptr;
    TorvaneMultiButton* ombtnControls = nullptr;
    TorvaneScrollBar* sbJukeboxList = nullptr;
    TorvaneScrollBar* sbTrackList = nullptr;
    TorvaneScrollBar* sbQueueList = nullptr;
    TorvanePanel* opnlQueueControls = nullptr;
    TorvaneButton* obtnQueueMoveUp = nullptr;
    TorvaneButton* obtnQueueMoveDown = nullptr;
    TorvaneButton* obtnQueueMoveTo = nullptr;
    TorvaneButton* obtnQueueDelete = nullptr;
    TorvaneButton* obtnQueueRandomize = nullptr;
    TorvaneButton* obtnQueueClear = nullptr;
    QWidget* pnlQueueRight = nullptr;
    TorvanePanel* opnlCoverArt = nullptr;
    TdaskelBitmap* bmCoverArt = nullptr;
    QWidget* pnlCoverDetails = nullptr;
};
