// The skinned window's construction and its creation steps: the actions and fonts of its own, the skin's
// registration of every control and font set, the menus and the tool bar that stands in for the menu bar,
// and the close step. The panels are built in frmskinnedjukeboxapppanels.cpp.
#include "app/windows/frmskinnedjukeboxapp.h"

#include "app/commands/jukeboxactions.h"
#include "app/dialogs/frmjukeboxskin.h"
#include "app/qt/services/exceptionboundary.h"
#include "app/skins/pixelfont.h"
#include "app/skins/skinfolder.h"
#include "app/windows/menutoolbutton.h"
#include "app/windows/windowskinfolder.h"
#include "controls/htmllistbox.h"
#include "controls/noscrolltreeview.h"
#include "controls/orvanebutton.h"
#include "controls/orvanepanel.h"
#include "controls/orvanescrollbar.h"
#include "controls/scrollbanner3.h"
#include "platform/folders.h"
#include "platform/qtstring.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

TfrmSkinnedJukeboxApp::TfrmSkinnedJukeboxApp(QWidget* parent)
    : TfrmJukeboxApp(parent), skinFolder_(std::make_unique<TwindowSkinFolder>(skinComponents_, *this))
{
    // The window draws its own frame and title.
    setWindowFlag(Qt::FramelessWindowHint, true);
    resize(640, 463);
    BuildSkinActions();
    BuildOtherFonts();
    BuildControls();
    BuildSongTitle();
    BuildStacker();
    sbJukeboxList = WrapList(Tree(), "JukeboxList");
    sbTrackList = WrapList(TrackList(), "TrackList");
    sbQueueList = WrapList(QueueList(), "QueueList");
    BuildQueueControls();
    BuildCoverArt();
    FollowList(sbJukeboxList, Tree());
    FollowList(sbTrackList, TrackList());
    FollowList(sbQueueList, QueueList());
    Tree()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(Tree()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { sbTrackList->SetValueQuiet(0); });
    BuildFrame();
    RegisterSkin();
    BindSkinCommands();
}

TfrmSkinnedJukeboxApp::~TfrmSkinnedJukeboxApp() = default;

// ---- Creation

void TfrmSkinnedJukeboxApp::BuildSkinActions()
{
    actnViewFullScreen = new QAction(QStringLiteral("&Full Screen"), this);
    actnViewFullScreen->setObjectName(QStringLiteral("actnViewFullScreen"));
    actnViewFullScreen->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+F")));
    actnViewFullScreen->setCheckable(true);
    TjukeboxActions::SetHint(actnViewFullScreen,
                             QStringLiteral("Toggle Between Full Screen and Normal Modes"));
    addAction(actnViewFullScreen);
    connect(actnViewFullScreen, &QAction::triggered, this,
            [this](bool on) { Guarded([this, on] { SetFullScreen(on); }); });
    actnSettingsScrollSongTitle = new QAction(QStringLiteral("Scro&ll Song Title"), this);
    actnSettingsScrollSongTitle->setObjectName(QStringLiteral("actnSettingsScrollSongTitle"));
    actnSettingsScrollSongTitle->setCheckable(true);
    TjukeboxActions::SetHint(actnSettingsScrollSongTitle,
                             QStringLiteral("Enable/Disable Scrolling of the Song Title"));
    addAction(actnSettingsScrollSongTitle);
    connect(actnSettingsScrollSongTitle, &QAction::triggered, this,
            [this](bool on) { Guarded([this, on] { SetScrollSongTitle(on); }); });
    connect(actnSettingsSkins, &QAction::triggered, this,
            [this] { Guarded([this] { ShowSkinsDialog(this); }); });
    actnViewQueueControls =
        MakeViewAction("actnViewQueueControls", "&Queue Controls", "Hide/Show the Queue Controls Panel");
    connect(actnViewQueueControls, &QAction::triggered, this,
            [this](bool on) { Guarded([this, on] { SetQueueControlsVisible(on); }); });
    actnViewQueueDetails = MakeViewAction("actnViewQueueDetails", "Queue &Details",
                                          "Hide/Show Information in Album Cover panel");
    connect(actnViewQueueDetails, &QAction::triggered, this,
            [this](bool on) { Guarded([this, on] { SetShowQueueDetails(on); }); });
    actnViewCoverArt = MakeViewAction("actnViewCoverArt", "&Cover Art", "Hide/Show Album Cover Art");
    actnViewCoverArt->setChecked(true);
    connect(actnViewCoverArt, &QAction::triggered, this,
            [this](bool on) { Guarded([this, on] { SetShowCoverArt(on); }); });
    actnViewShowDetailsWhenCoverPresent =
        MakeViewAction("actnViewShowDetailsWhenCoverPresent", "&Show Details when Cover Present",
                       "Hide/Show Information in Album Covers Panel when a cover is present.");
    actnViewShowDetailsWhenCoverPresent->setChecked(true);
    connect(actnViewShowDetailsWhenCoverPresent, &QAction::triggered, this,
            [this](bool on) { Guarded([this, on] { SetShowDetailsWhenCoverPresent(on); }); });
    // Kept for the menus of older skins and settings; there is no other view to switch to.
    actnViewGraphical = MakeViewAction("actnViewGraphical", "&Graphical View", "");
    actnViewGraphical->setCheckable(false);
    actnViewToolbar->setText(QStringLiteral("&Main Menu"));
    TjukeboxActions::SetHint(actnViewToolbar, QStringLiteral("Hide/Show the Main Menu."));
}

QAction* TfrmSkinnedJukeboxApp::MakeViewAction(const char* name, const char* caption, const char* hint)
{
    auto* action = new QAction(platform::ToQString(caption), this);
    action->setObjectName(platform::ToQString(name));
    action->setCheckable(true);
    if (*hint)
        TjukeboxActions::SetHint(action, platform::ToQString(hint));
    addAction(action);
    return action;
}

void TfrmSkinnedJukeboxApp::BuildOtherFonts()
{
    using K = TtagFonts;
    tfOther.BeginUpdate();
    tfOther.SetNiceName("Other");
    tfOther.SetColorNiceName("Timer/Clock");
    tfOther.SetColor(clBlack);
    const struct
    {
        K::FontKind kind;
        const char* name;
        int pixels;
    } fonts[] = {{K::fkTitle, "Track Details Values & Clock", 13},
                 {K::fkIndex, "Track Details Titles", 13},
                 {K::fkArtist, "Queue Details Titles", 13},
                 {K::fkAlbum, "Queue Details Values", 11},
                 {K::fkCharacter, "Timer", 19},
                 {K::fkDuration, "Toolbar", 13}};
    for (const auto& entry : fonts) {
        TFontDesc font;
        font.Name = "Arial";
        font.Size = PixelsToPoints(entry.pixels);
        font.Color = clWhite;
        tfOther.SetFont(entry.kind, font);
        tfOther.SetFontNiceName(entry.kind, entry.name);
    }
    tfOther.EndUpdate();
}

void TfrmSkinnedJukeboxApp::RegisterSkin()
{
    skinComponents_.SetWindow(this);
    skinComponents_.AddChildren(this);
    // The window's own panels and buttons draw the skin's bitmaps, not the plain face.
    for (int i = 0; i < skinComponents_.Count(); ++i) {
        if (auto* panel = qobject_cast<TorvanePanel*>(skinComponents_.Control(i)))
            panel->SetIsSkinned(true);
        else if (auto* button = qobject_cast<TorvaneButton*>(skinComponents_.Control(i)))
            button->SetIsSkinned(true);
    }
    for (TtagFonts* fonts : {&JukeboxListFonts(), &TrackListFonts(), &QueueListFonts(), &SongTitleFonts(),
                             &tfOther, &tfScreenSaver})
        skinComponents_.AddFontSet(fonts);
}

void TfrmSkinnedJukeboxApp::FormCreate()
{
    TfrmJukeboxApp::FormCreate();
    platform::ForceDirectories(TskinFolder::GetSkinsFolder());
    PlayerEvents.OnTimeChange = [this](TcustomMediaPlayer*, std::uint32_t position, std::uint32_t length) {
        Guarded([this, position, length] { TimeChanged(position, length); });
    };
    if (QMenu* settings = menuBar()->findChild<QMenu*>(QStringLiteral("Settings1")))
        settings->addAction(actnSettingsScrollSongTitle);
    if (QMenu* view = menuBar()->findChild<QMenu*>(QStringLiteral("View1"))) {
        view->addSeparator();
        view->addActions({actnViewQueueControls, actnViewQueueDetails, actnViewCoverArt,
                          actnViewShowDetailsWhenCoverPresent});
        view->addSeparator();
        view->addAction(actnViewFullScreen);
    }
    MirrorMainMenu();
    BuildMenuToolbar();
}

void TfrmSkinnedJukeboxApp::BuildMenuToolbar()
{
    auto* bar = findChild<QToolBar*>(QStringLiteral("tbMain"));
    if (!bar)
        return;
    bar->clear();
    bar->setStyleSheet(QStringLiteral("QToolBar { background: black; border: 0; spacing: 0; }"));
    for (QAction* top : menuBar()->actions()) {
        QMenu* menu = top->menu();
        if (!menu)
            continue;
        auto* button = new TmenuToolButton(bar);
        button->setObjectName(QStringLiteral("tb") + menu->objectName());
        button->setText(menu->title());
        button->setMenu(menu);
        button->setPopupMode(QToolButton::InstantPopup);
        button->setAutoRaise(true);
        bar->addWidget(button);
    }
    // The window's own tool bar stands in for the native menu bar; the actions' shortcuts belong to the
    // window.
    menuBar()->hide();
}

void TfrmSkinnedJukeboxApp::FormClose()
{
    sbnrSongTitle->SetScrollEnabled(false);
    TfrmJukeboxApp::FormClose();
}
