#include "app/windows/frmmain.h"

#include "app/qt/helpers/guiutils.h"
#include "app/qt/services/dialogservice.h"
#include "app/qt/services/exceptionboundary.h"
#include "app/windows/menutoolbutton.h"
#include "controls/daskellabel.h"
#include "controls/digitalclock2.h"
#include "controls/digitaldisplay.h"
#include "controls/htmllistbox.h"
#include "controls/orvanebutton.h"
#include "controls/orvanemultibutton.h"
#include "controls/orvanepanel.h"
#include "controls/orvanescrollbar.h"
#include "controls/qtfont.h"
#include "core/captions/nowplayingtexts.h"
#include "core/jukebox/customlocaljukeboxlist.h"
#include "core/jukebox/localjukebox.h"
#include "core/songs/audiotaglist.h"
#include "core/util/orvanexutils.h"
#include "platform/inifile.h"
#include "platform/qtstring.h"

#include <QAction>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kTimerWidth = 110;
constexpr int kTimerHeight = 54;
constexpr int kTimerRightMargin = 10;
constexpr const char* kNone = "[none]";

} // namespace

TfrmMain::TfrmMain(QWidget* parent) : TfrmSkinnedJukeboxApp(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Orvane Mp3 Jukebox"));
    BuildPositionAndVolume();
    BuildClock();
    BuildDetails();
    alMain.actnViewMinimize->setVisible(true);
    // Through the command table like the other queue edits: the busy flag and the queue-controls lock hold.
    Commands().Add(actnQueueMoveTo, TpartyPlayOption::QueueControls, false, [this] { QueueMoveTo(true); });
    OtherFonts().OnChange = [this](TtagFonts*) { Guarded([this] { DetailsFontsChanged(); }); };
}

// ---- Creation

void TfrmMain::BuildPositionAndVolume()
{
    sbTrackPosition = new TorvaneScrollBar(ControlsPanel());
    sbTrackPosition->setObjectName(QStringLiteral("sbTrackPosition"));
    sbTrackPosition->SetStyle(TosbStyle::osbHorizontal);
    sbTrackPosition->SetMin(0);
    sbTrackPosition->SetMax(100);
    sbTrackPosition->SetSmallStep(5000);
    sbTrackPosition->SetLargeStep(10000);
    // A seek on every pixel of a drag would stutter the song: the position goes when the thumb is let go.
    sbTrackPosition->SetNoChangeWhileMoving(true);
    sbTrackPosition->setFixedHeight(16);
    sbTrackPosition->PositionChanged = [this](QObject*, int value) {
        Guarded([this, value] { SetPosition(static_cast<std::uint32_t>(std::max(0, value)), false); });
    };
    sbVolume = new TorvaneScrollBar(ControlsPanel());
    sbVolume->setObjectName(QStringLiteral("sbVolume"));
    sbVolume->SetStyle(TosbStyle::osbVertical);
    sbVolume->SetMin(0);
    sbVolume->SetMax(kVolumeMax);
    sbVolume->SetSmallStep(1);
    sbVolume->SetLargeStep(10);
    sbVolume->setToolTip(QStringLiteral("Adjust the volume."));
    sbVolume->setFixedSize(16, kTimerHeight);
    // The top of the bar is loudest.
    sbVolume->PositionChanged = [this](QObject*, int value) {
        Guarded([this, value] { SetVolume(static_cast<std::uint8_t>(kVolumeMax - value), false); });
    };
    for (QWidget* bar : {static_cast<QWidget*>(sbTrackPosition), static_cast<QWidget*>(sbVolume)})
        SkinComponents().Add(bar);
}

void TfrmMain::BuildClock()
{
    clock = new TdigitalClock2(ControlsPanel());
    clock->setObjectName(QStringLiteral("clock"));
    clock->SetClockStyle(TclockStyle::cs12hr);
    clock->setToolTip(QStringLiteral("Click to toggle between 12/24hr clocks."));
    clock->setFixedSize(96, 30);
    clock->OnClick = [this](QObject*) {
        Guarded([this] {
            clock->SetClockStyle(clock->ClockStyle() == TclockStyle::cs12hr ? TclockStyle::cs24hr
                                                                            : TclockStyle::cs12hr);
        });
    };
}

TdaskelLabel* TfrmMain::DetailLabel(const char* name, const QString& text, int tag)
{
    auto* label = new TdaskelLabel(text, CoverDetails());
    if (*name)
        label->setObjectName(platform::ToQString(name));
    label->setProperty("Tag", tag);
    label->SetFontColor(clWhite);
    return label;
}

void TfrmMain::BuildDetails()
{
    auto* row = new QHBoxLayout(CoverDetails());
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(16);

    // The playing song: a caption and a value a line.
    auto* track = new QGridLayout;
    track->setHorizontalSpacing(4);
    track->setVerticalSpacing(0);
    const TdetailLine nowPlaying[] = {{"Track :", "lblTrack", &lblTrack},
                                      {"Artist :", "lblArtist", &lblArtist},
                                      {"Album :", "lblAlbum", &lblAlbum},
                                      {"Length:", "lblDuration", &lblDuration},
                                      {"Mode :", "lblMode", &lblMode}};
    int line = 0;
    for (const auto& entry : nowPlaying) {
        track->addWidget(DetailLabel("", platform::ToQString(entry.caption), kTagTrackCaptions), line, 0);
        *entry.label = DetailLabel(entry.name, QString(), kTagTrackValues);
        track->addWidget(*entry.label, line++, 1);
    }
    auto* technical = new QHBoxLayout;
    technical->setSpacing(8);
    lblBitrate = DetailLabel("lblBitrate", QString(), kTagTrackValues);
    lblSampleRate = DetailLabel("lblSampleRate", QString(), kTagTrackValues);
    lblFileType = DetailLabel("lblFileType", QString(), kTagTrackValues);
    for (QWidget* label : {lblBitrate, lblSampleRate, lblFileType})
        technical->addWidget(label);
    technical->addStretch(1);
    track->addLayout(technical, line++, 1);
    track->setColumnStretch(1, 1);
    track->setRowStretch(line, 1);
    row->addLayout(track, 3);

    AddCountPanel(*row, "Queue Details",
                  {{"Track Count :", "lblQueueCount", &lblQueueCount},
                   {"Duration :", "lblQueueDuration", &lblQueueDuration}});
    AddCountPanel(*row, "Playlist Details",
                  {{"Track Count :", "lblPlaylistCount", &lblPlaylistCount},
                   {"Duration :", "lblPlaylistDuration", &lblPlaylistDuration},
                   {"Active List :", "lblActiveList", &lblActiveList}});
    AddCountPanel(*row, "Global List Details",
                  {{"Track Count :", "lblGlobalCount", &lblGlobalCount},
                   {"Duration :", "lblGlobalDuration", &lblGlobalDuration},
                   {"Artists :", "lblArtistCount", &lblArtistCount},
                   {"Albums :", "lblAlbumCount", &lblAlbumCount}});
    lblQueueDuration->SetCaption(platform::ToQString(SecondsToMS(0)));
    lblPlaylistDuration->SetCaption(platform::ToQString(SecondsToHMS(0)));
    lblGlobalDuration->SetCaption(platform::ToQString(SecondsToHMS(0)));
    lblActiveList->SetCaption(platform::ToQString(kNone));
}

void TfrmMain::AddCountPanel(QHBoxLayout& row, const char* heading, std::initializer_list<TdetailLine> lines)
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(0);
    grid->addWidget(DetailLabel("", platform::ToQString(heading), kTagPanelHeadings), 0, 0, 1, 2);
    int at = 1;
    for (const TdetailLine& line : lines) {
        grid->addWidget(DetailLabel("", platform::ToQString(line.caption), kTagCountRows), at, 0);
        *line.label = DetailLabel(line.name, QStringLiteral("0"), kTagCountRows);
        grid->addWidget(*line.label, at++, 1);
    }
    grid->setRowStretch(at, 1);
    grid->setColumnStretch(1, 1);
    row.addLayout(grid, 1);
}

void TfrmMain::FormCreate()
{
    TfrmSkinnedJukeboxApp::FormCreate();
    // The time display leaves the song title for the controls panel, beside the clock and the volume.
    TdigitalDisplay* timer = TimeDisplay();
    if (QLayout* old = timer->parentWidget()->layout())
        old->removeWidget(timer);
    timer->setFixedSize(kTimerWidth, kTimerHeight);
    if (auto* controls = qobject_cast<QHBoxLayout*>(ControlsPanel()->layout())) {
        // The panel's stretch goes to the position bar.
        if (QLayoutItem* stretch = controls->itemAt(controls->count() - 1); stretch && stretch->spacerItem())
            delete controls->takeAt(controls->count() - 1);
        controls->addSpacing(8);
        controls->addWidget(sbTrackPosition, 1);
        controls->addSpacing(8);
        controls->addWidget(sbVolume);
        controls->addWidget(clock);
        controls->addWidget(timer);
        controls->addSpacing(kTimerRightMargin - controls->contentsMargins().right());
    }
    DetailsFontsChanged();
}

// ---- Player

void TfrmMain::TimeChanged(std::uint32_t msPosition, std::uint32_t msLength)
{
    TfrmSkinnedJukeboxApp::TimeChanged(msPosition, msLength);
    if (Closing())
        return;
    const int length = TrackLengthMs(msLength);
    // The bar's range is never empty: a song of no known length holds the thumb at the start.
    const int max = std::max(1, length);
    if (sbTrackPosition->Max() != max)
        sbTrackPosition->SetMax(max);
    const int position = std::min(TrackLengthMs(msPosition), length);
    if (sbTrackPosition->Value() != position)
        sbTrackPosition->SetValueQuiet(position);
    SetText(lblDuration, SecondsToMS(length / 1000));
}

void TfrmMain::PlaybackStarted(const TaudioTag* song)
{
    TfrmSkinnedJukeboxApp::PlaybackStarted(song);
    if (!Closing())
        ShowNowPlaying(NowPlayingTexts(song));
}

void TfrmMain::ShowNowPlaying(const TnowPlayingTexts& texts)
{
    SetText(lblTrack, texts.Track);
    SetText(lblArtist, texts.Artist);
    SetText(lblAlbum, texts.Album);
    SetText(lblDuration, texts.Duration);
    SetText(lblMode, texts.Mode);
    SetText(lblBitrate, texts.BitRate);
    SetText(lblSampleRate, texts.SampleRate);
    SetText(lblFileType, texts.FileType);
}

void TfrmMain::PlayerStateChanged(TmediaPlayState state)
{
    TfrmSkinnedJukeboxApp::PlayerStateChanged(state);
    if (!Closing() && state == mpsStopped)
        sbTrackPosition->SetValueQuiet(0);
}

void TfrmMain::VolumeChanged(std::uint8_t volume)
{
    TfrmSkinnedJukeboxApp::VolumeChanged(volume);
    if (Closing())
        return;
    const int value = kVolumeMax - volume;
    if (sbVolume->Value() != value)
        sbVolume->SetValueQuiet(value);
}

void TfrmMain::ApplyPartyPlayState()
{
    TfrmSkinnedJukeboxApp::ApplyPartyPlayState();
    if (Closing())
        return;
    const bool on = !IsPartyPlay();
    sbVolume->setEnabled(on);
    sbTrackPosition->setEnabled(on);
}

// ---- Lists

void TfrmMain::QueueChanged()
{
    TfrmSkinnedJukeboxApp::QueueChanged();
    if (Closing())
        return;
    const TlistDetailsTexts queue = QueueDetailsTexts(&GetJukebox().Queue());
    SetText(lblQueueCount, queue.Count);
    SetText(lblQueueDuration, queue.Duration);
}

void TfrmMain::PlaylistChanged()
{
    TfrmSkinnedJukeboxApp::PlaylistChanged();
    if (!Closing())
        UpdatePlaylistDetails();
}

void TfrmMain::PlaylistsChanged()
{
    TfrmSkinnedJukeboxApp::PlaylistsChanged();
    if (!Closing())
        UpdatePlaylistDetails();
}

void TfrmMain::UpdatePlaylistDetails()
{
    const TlistDetailsTexts playlist = ListDetailsTexts(GetLocalJukeboxList().GetCurrentPlaylist());
    SetText(lblPlaylistCount, playlist.Count);
    SetText(lblPlaylistDuration, playlist.Duration);
}

void TfrmMain::ActivePreloadedListChanged(TaudioTagList* list)
{
    TfrmSkinnedJukeboxApp::ActivePreloadedListChanged(list);
    if (Closing())
        return;
    const TlistDetailsTexts details = ListDetailsTexts(list);
    SetText(lblPlaylistCount, details.Count);
    SetText(lblPlaylistDuration, details.Duration);
    SetText(lblActiveList, list ? list->Title() : std::string(kNone));
}

void TfrmMain::JukeboxListEventsGlobalListChange(TcustomJukeboxList* sender)
{
    TfrmSkinnedJukeboxApp::JukeboxListEventsGlobalListChange(sender);
    if (!Closing())
        UpdateGlobalDetails();
}

void TfrmMain::UpdateGlobalDetails()
{
    const TcustomJukeboxList& library = GetJukeboxList();
    const TlistDetailsTexts global = ListDetailsTexts(&library.GlobalList());
    SetText(lblGlobalCount, global.Count);
    SetText(lblGlobalDuration, global.Duration);
    SetText(lblArtistCount, std::to_string(library.Artists().Count()));
    SetText(lblAlbumCount, std::to_string(library.Albums().Count()));
}

// ---- Move To

void TfrmMain::QueueMoveTo(bool force)
{
    if (!Forced(force, actnQueueMoveTo))
        return;
    ThtmlListBox& list = *QueueList();
    const int count = list.Count();
    const int current = list.ItemIndex();
    if (count < 2 || current < 0 || current >= count || !list.Selected(current))
        return;
    int left = 0;
    int top = 0;
    GetAbsolutePos(QueueMoveToButton(), left, top);
    const int target = TdialogService::Current().AskQueuePosition(this, 0, count - 1, current, left, top);
    if (target == current || target < 0 || target >= count)
        return;
    MoveQueueItem(current, target, true);
    list.clearSelection();
    list.SetItemIndex(target);
    list.SetSelected(target, true);
}

// ---- Fonts

void TfrmMain::DetailsFontsChanged()
{
    if (Closing())
        return;
    const TtagFonts& fonts = OtherFonts();
    const auto apply = [](QWidget* widget, const TFontDesc& font) { widget->setFont(ToQFont(font)); };
    apply(clock, fonts.TitleFont());
    clock->SetFontColor(fonts.TitleFont().Color);
    apply(TimeDisplay(), fonts.CharacterFont());
    TimeDisplay()->SetFontColor(fonts.CharacterFont().Color);
    if (auto* bar = findChild<QToolBar*>(QStringLiteral("tbMain"))) {
        apply(bar, fonts.DurationFont());
        for (TmenuToolButton* button : bar->findChildren<TmenuToolButton*>())
            button->SetFontColor(fonts.DurationFont().Color);
        // The menu's tool bar is as high as its captions and a margin.
        ToolbarPanel()->setFixedHeight(QFontMetrics(bar->font()).height() + 8);
    }
    for (TdaskelLabel* label : findChildren<TdaskelLabel*>()) {
        const TFontDesc* font = nullptr;
        switch (label->property("Tag").toInt()) {
        case kTagCountRows:
            font = &fonts.AlbumFont();
            break;
        case kTagPanelHeadings:
            font = &fonts.ArtistFont();
            break;
        case kTagTrackCaptions:
            font = &fonts.IndexFont();
            break;
        case kTagTrackValues:
            font = &fonts.TitleFont();
            break;
        default:
            continue;
        }
        apply(label, *font);
        label->SetFontColor(font->Color);
    }
}

// ---- Settings

void TfrmMain::LoadSettings(const TIniFile& ini)
{
    TfrmSkinnedJukeboxApp::LoadSettings(ini);
    // Two styles only: anything but 1 is the 12-hour clock.
    const auto current = static_cast<int>(clock->ClockStyle());
    clock->SetClockStyle(ini.ReadInteger("General", "ClockStyle", current) == 1 ? TclockStyle::cs24hr
                                                                                : TclockStyle::cs12hr);
}

void TfrmMain::SaveSettings(TIniFile& ini)
{
    TfrmSkinnedJukeboxApp::SaveSettings(ini);
    ini.WriteInteger("General", "ClockStyle", static_cast<int>(clock->ClockStyle()));
}

// ---- Helpers

TdaskelLabel* TfrmMain::Label(const char* name) const
{
    return findChild<TdaskelLabel*>(platform::ToQString(name));
}

void TfrmMain::SetText(TdaskelLabel* label, const std::string& text)
{
    const QString caption = platform::ToQString(text);
    if (label->text() != caption)
        label->SetCaption(caption);
}
