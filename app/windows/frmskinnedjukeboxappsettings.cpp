// The skinned window's settings and geometry: the options, the skin file, the window's bounds and full
// screen, the splitters' pane sizes, and the saving of the current skin with the preferences.
#include "app/windows/frmskinnedjukeboxapp.h"

#include "app/qt/helpers/settingbounds.h"
#include "app/qt/services/exceptionboundary.h"
#include "controls/orvanebutton.h"
#include "controls/windowplacement.h"
#include "platform/error.h"
#include "platform/inifile.h"
#include "platform/qtstring.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>

#include <algorithm>

namespace {

constexpr const char* kGeometry = "Geometry";
constexpr const char* kPreferences = "Preferences";

QRect PrimaryScreenRect()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->geometry();
    return {0, 0, 1024, 768};
}

} // namespace

// ---- Geometry

QRect TfrmSkinnedJukeboxApp::OnScreen(const QRect& bounds)
{
    // The title strip must be reachable on some screen, or the window could never be moved back.
    const QRect title(bounds.left(), bounds.top(), bounds.width(), kTitleHeight);
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect seen = screen->availableGeometry().intersected(title);
        if (seen.width() >= 2 * kTitleHeight && seen.height() > 0)
            return bounds;
    }
    const QRect desktop = QGuiApplication::primaryScreen()
                              ? QGuiApplication::primaryScreen()->availableGeometry()
                              : PrimaryScreenRect();
    const QSize size(std::min(bounds.width(), desktop.width()), std::min(bounds.height(), desktop.height()));
    return {CentredPosition(size, desktop, desktop), size};
}

void TfrmSkinnedJukeboxApp::SetFullScreen(bool on)
{
    if (on != fullScreen_) {
        fullScreen_ = on;
        if (on) {
            savedBounds_ = geometry();
            const QRect screenRect = screen() ? screen()->geometry() : PrimaryScreenRect();
            setGeometry(screenRect);
            obtnMaximize->SetChecked(true);
        } else {
            RestoreBounds();
        }
    }
    actnViewFullScreen->setChecked(on);
}

void TfrmSkinnedJukeboxApp::RestoreBounds()
{
    setGeometry(savedBounds_);
    obtnMaximize->SetChecked(false);
}

// ---- Settings

void TfrmSkinnedJukeboxApp::LoadSettings(const TIniFile& ini)
{
    TfrmJukeboxApp::LoadSettings(ini);
    LoadSkinFile(ini.ReadString("Skins", "SkinFile", ""));
    SetScrollSongTitle(ini.ReadBool("SongTitle", "Scroll", false));
    SetQueueControlsVisible(ini.ReadBool("QueueControls", "Visible", true));
    savedQueueControlsVisible_ = GetQueueControlsVisible();
    SetShowCoverArt(ini.ReadBool(kPreferences, "ShowCoverArt", actnViewCoverArt->isChecked()));
    SetShowQueueDetails(ini.ReadBool(kPreferences, "ShowQueueDetails", actnViewQueueDetails->isChecked()));
    SetShowDetailsWhenCoverPresent(ini.ReadBool(kPreferences, "ShowDetailsWhenCoverPresent", true));

    const QRect area = QGuiApplication::primaryScreen()
                           ? QGuiApplication::primaryScreen()->availableGeometry()
                           : PrimaryScreenRect();
    const int width = ReadExtent(ini, kGeometry, "Width", kDefaultWidth);
    const int height = ReadExtent(ini, kGeometry, "Height", kDefaultHeight);
    const QPoint centred = CentredPosition(QSize(width, height), area, area);
    const int left = ReadPosition(ini, kGeometry, "Left", centred.x());
    const int top = ReadPosition(ini, kGeometry, "Top", centred.y());
    const QRect stored = OnScreen(QRect(left, top, width, height));
    savedFullScreen_ = ini.ReadBool(kGeometry, "FullScreen", true);
    if (savedFullScreen_) {
        SetFullScreen(true);
        // Leaving full screen returns to the stored bounds, not to where the window was made.
        savedBounds_ = stored;
    } else {
        SetFullScreen(false);
        savedBounds_ = stored;
        RestoreBounds();
    }
    LoadPanelSizes(ini);
}

void TfrmSkinnedJukeboxApp::SaveSettings(TIniFile& ini)
{
    TfrmJukeboxApp::SaveSettings(ini);
    // Party play's full screen is not the user's choice.
    ini.WriteBool(kGeometry, "FullScreen", partyFullScreen_ ? savedFullScreen_ : fullScreen_);
    ini.WriteBool("SongTitle", "Scroll", GetScrollSongTitle());
    ini.WriteBool("QueueControls", "Visible",
                  partyFullScreen_ ? savedQueueControlsVisible_ : GetQueueControlsVisible());
    ini.WriteBool(kPreferences, "ShowCoverArt", GetShowCoverArt());
    ini.WriteBool(kPreferences, "ShowQueueDetails", showQueueDetails_);
    ini.WriteBool(kPreferences, "ShowDetailsWhenCoverPresent", showDetailsWhenCoverPresent_);
    if (!fullScreen_)
        savedBounds_ = geometry();
    ini.WriteInteger(kGeometry, "Left", savedBounds_.left());
    ini.WriteInteger(kGeometry, "Top", savedBounds_.top());
    ini.WriteInteger(kGeometry, "Width", savedBounds_.width());
    ini.WriteInteger(kGeometry, "Height", savedBounds_.height());
    SavePanelSizes(ini);
    ini.WriteString("Skins", "SkinFile", GetSkinFile());
    if (!SavingWhileOpen())
        SetFullScreen(false);
}

// The splitters' panes: the track list's width, the queue's height and the right queue panel's width.
// A splitter keeps its total; the pane set takes its size from its neighbour.
namespace {

void SetPane(QSplitter* splitter, int index, int size)
{
    constexpr int kLeastNeighbour = 50;
    if (!splitter || splitter->count() < 2 || size <= 0)
        return;
    QList<int> sizes = splitter->sizes();
    const int other = index == 0 ? 1 : index - 1;
    const int both = sizes[index] + sizes[other];
    if (both <= 2 * kLeastNeighbour)
        return;
    sizes[index] = std::min(size, both - kLeastNeighbour);
    sizes[other] = both - sizes[index];
    splitter->setSizes(sizes);
}

int Pane(const QSplitter* splitter, int index, int fallback)
{
    if (!splitter || splitter->count() <= index)
        return fallback;
    const int size = splitter->sizes().value(index);
    return size > 0 ? size : fallback;
}

} // namespace

QSplitter* TfrmSkinnedJukeboxApp::Splitter(const char* name) const
{
    return findChild<QSplitter*>(platform::ToQString(name));
}

void TfrmSkinnedJukeboxApp::LoadPanelSizes(const TIniFile& ini)
{
    trackListWidth_ = ReadExtent(ini, kGeometry, "TrackListWidth", PrimaryScreenRect().width() / 2, 0);
    queueListHeight_ = ReadExtent(ini, kGeometry, "QueueListHeight", Pane(Splitter("tsQueue"), 1, 0), 0);
    queueDetailsWidth_ =
        ReadExtent(ini, kGeometry, "QueueDetailsWidth", Pane(Splitter("tsQueueList"), 1, 0), 0);
    // A hidden window's splitters have no sizes of their own yet: the panes are set once it shows.
    panesPending_ = true;
    if (isVisible())
        ApplyPanelSizes();
}

void TfrmSkinnedJukeboxApp::ApplyPanelSizes()
{
    panesPending_ = false;
    SetPane(Splitter("tsLists"), 1, trackListWidth_);
    SetPane(Splitter("tsQueue"), 1, queueListHeight_);
    SetPane(Splitter("tsQueueList"), 1, queueDetailsWidth_);
}

void TfrmSkinnedJukeboxApp::showEvent(QShowEvent* event)
{
    TfrmJukeboxApp::showEvent(event);
    if (panesPending_)
        Guarded([this] { ApplyPanelSizes(); });
}

void TfrmSkinnedJukeboxApp::SavePanelSizes(TIniFile& ini)
{
    // Until the panes are set on screen, the sizes read are the ones kept.
    if (isVisible() && !panesPending_) {
        trackListWidth_ = Pane(Splitter("tsLists"), 1, trackListWidth_);
        queueListHeight_ = Pane(Splitter("tsQueue"), 1, queueListHeight_);
        if (!pnlQueueRight->isHidden())
            queueDetailsWidth_ = Pane(Splitter("tsQueueList"), 1, queueDetailsWidth_);
    }
    ini.WriteInteger(kGeometry, "TrackListWidth", trackListWidth_);
    ini.WriteInteger(kGeometry, "QueueListHeight", queueListHeight_);
    ini.WriteInteger(kGeometry, "QueueDetailsWidth", queueDetailsWidth_);
}

void TfrmSkinnedJukeboxApp::SavePreferences()
{
    TfrmJukeboxApp::SavePreferences();
    try {
        SaveCurrentSkin();
    } catch (const EFileError& error) {
        // The settings are written; the skin keeps its last saved look, and the user hears why.
        if (OnSaveFailure)
            OnSaveFailure(error.what());
        else
            ShowException(error);
    }
}
