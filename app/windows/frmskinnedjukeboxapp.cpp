#include "app/windows/frmskinnedjukeboxapp.h"

#include "app/commands/jukeboxactions.h"
#include "app/dialogs/frmchoosecd.h"
#include "app/dialogs/frmjukeboxskin.h"
#include "app/dialogs/frmprogress.h"
#include "app/qt/exceptionboundary.h"
#include "app/qt/settingbounds.h"
#include "app/skins/pixelfont.h"
#include "app/skins/skinfolder.h"
#include "app/windows/menutoolbutton.h"
#include "controls/coverimage.h"
#include "controls/daskelbitmap.h"
#include "controls/daskellabel.h"
#include "controls/digitaldisplay.h"
#include "controls/htmllistbox.h"
#include "controls/noscrolltreeview.h"
#include "controls/orvanebutton.h"
#include "controls/orvanemultibutton.h"
#include "controls/orvanepanel.h"
#include "controls/orvanescrollbar.h"
#include "controls/qtfont.h"
#include "controls/scrollbanner3.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/songs/audiotag.h"
#include "core/songs/coverpicture.h"
#include "core/util/promptservice.h"
#include "platform/error.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/scopeguard.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QStackedLayout>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace {

// The skin folder that lets the window's own operations do the skin's parts, so a descendant window
// can add to them.
class TwindowSkinFolder : public TskinFolder
{
public:
    TwindowSkinFolder(TskinComponents& components, TfrmSkinnedJukeboxApp& window)
        : TskinFolder(components), window_(window)
    {}

    void LoadSkinImages(const TIniFile& ini, const std::string& folder) override
    {
        window_.LoadSkinImages(ini, folder);
    }
    void LoadSkinFonts(const TIniFile& ini) override { window_.LoadSkinFonts(ini); }
    void SaveSkinFonts(TIniFile& ini) const override { window_.SaveSkinFonts(ini); }
    void ApplySkinColors(TColor buttonColor, TColor panelColor) override
    {
        window_.ApplySkinColors(buttonColor, panelColor);
    }

private:
    TfrmSkinnedJukeboxApp& window_; // link
};

constexpr const char* kGeometry = "Geometry";
constexpr const char* kPreferences = "Preferences";
constexpr int kQueueButtonSize = 22;
constexpr int kBannerHeight = 26;

QRect PrimaryScreenRect()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->geometry();
    return {0, 0, 1024, 768};
}

TorvanePanel* MakePanel(QWidget* parent, const char* name)
{
    auto* panel = new TorvanePanel(parent);
    panel->setObjectName(QString::fromUtf8(name));
    return panel;
}

} // namespace

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
    auto* action = new QAction(QString::fromUtf8(caption), this);
    action->setObjectName(QString::fromUtf8(name));
    action->setCheckable(true);
    if (*hint)
        TjukeboxActions::SetHint(action, QString::fromUtf8(hint));
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

TorvaneButton* TfrmSkinnedJukeboxApp::TitleButton(const char* name, QAction* action, int width)
{
    auto* button = new TorvaneButton(opnlTitle);
    button->setObjectName(QString::fromUtf8(name));
    button->setFixedSize(width, 18);
    if (action) {
        button->SetAction(action);
        // The skin's glyph tells what the button does; the action's text stays off it.
        button->SetCaption(QString());
    }
    return button;
}

void TfrmSkinnedJukeboxApp::BuildTitle(QWidget* body)
{
    opnlTitle = MakePanel(body, "opnlTitle");
    opnlTitle->setFixedHeight(kTitleHeight);
    opnlTitle->setCursor(Qt::PointingHandCursor);
    opnlTitle->installEventFilter(this);
    obtnMenu = TitleButton("obtnMenu", nullptr, 18);
    obtnMenu->SetHint(QStringLiteral("Main Menu"));
    obtnMenu->OnClick = [this](QObject*) { Guarded([this] { MenuButtonClick(); }); };
    obtnHelp = TitleButton("obtnHelp", alMain.actnHelpHelp, 18);
    obtnMinimize = TitleButton("obtnMinimize", alMain.actnViewMinimize, 18);
    obtnMaximize = TitleButton("obtnMaximize", actnViewFullScreen, 30);
    obtnMaximize->SetIsCheckButton(true);
    obtnExit = TitleButton("obtnExit", alMain.actnFileExit, 18);
    auto* layout = new QHBoxLayout(opnlTitle);
    layout->setContentsMargins(0, 3, 4, 3);
    layout->setSpacing(0);
    layout->addStretch(1);
    for (QWidget* button : {obtnMenu, obtnHelp, obtnMinimize, obtnMaximize, obtnExit})
        layout->addWidget(button);
}

void TfrmSkinnedJukeboxApp::BuildControls()
{
    QWidget* pnlControls = findChild<QWidget*>(QStringLiteral("pnlControls"));
    opnlControls = MakePanel(pnlControls, "opnlControls");
    ombtnControls = new TorvaneMultiButton(opnlControls);
    ombtnControls->setObjectName(QStringLiteral("ombtnControls"));
    // The Default skin's size; the layout keeps the control at it.
    ombtnControls->setFixedSize(176, 44);
    const TColor hits[] = {clFuchsia, clBlue, clLime, clRed};
    for (int button = 1; button <= 4; ++button)
        ombtnControls->SetButtonHitColor(button, hits[button - 1]);
    ombtnControls->OnButton1Click = [this](QObject*) { Commands().Run(TjukeboxCommand::ControlPlay); };
    ombtnControls->OnButton2Click = [this](QObject*) { Commands().Run(TjukeboxCommand::ControlNext); };
    ombtnControls->OnButton3Click = [this](QObject*) { Commands().Run(TjukeboxCommand::ControlPause); };
    ombtnControls->OnButton4Click = [this](QObject*) { Commands().Run(TjukeboxCommand::ControlStop); };
    auto* inner = new QHBoxLayout(opnlControls);
    inner->setContentsMargins(4, 4, 4, 4);
    inner->addWidget(ombtnControls);
    inner->addStretch(1);
    opnlControls->setContextMenuPolicy(Qt::ActionsContextMenu);
    opnlControls->addActions(pnlControls->actions());
    opnlControls->addAction(actnSettingsScrollSongTitle);
    auto* outer = new QHBoxLayout(pnlControls);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(opnlControls);
}

void TfrmSkinnedJukeboxApp::BuildSongTitle()
{
    QWidget* host = SongTitlePanel();
    for (QWidget* old : host->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        old->hide();
    opnlSongTitle = MakePanel(host, "opnlSongTitle");
    opnlSongTitle->setContextMenuPolicy(Qt::ActionsContextMenu);
    opnlSongTitle->addAction(actnSettingsScrollSongTitle);
    sbnrSongTitle = new TScrollBanner3(opnlSongTitle);
    sbnrSongTitle->setObjectName(QStringLiteral("sbnrSongTitle"));
    sbnrSongTitle->SetColor(clBlack);
    sbnrSongTitle->SetScrollDelay(15);
    sbnrSongTitle->SetScrollInc(1);
    sbnrSongTitle->SetScrollEnabled(false);
    sbnrSongTitle->setCursor(Qt::PointingHandCursor);
    sbnrSongTitle->setFixedHeight(kBannerHeight);
    ddTimer = new TdigitalDisplay(opnlSongTitle);
    ddTimer->setObjectName(QStringLiteral("ddTimer"));
    TFontDesc timerFont;
    timerFont.Name = "Arial";
    timerFont.Size = PixelsToPoints(19);
    timerFont.Color = clWhite;
    ddTimer->setFont(ToQFont(timerFont));
    ddTimer->SetFontColor(clWhite);
    ddTimer->SetBackColor(clBlack);
    ddTimer->setCursor(Qt::PointingHandCursor);
    ddTimer->setFixedSize(72, kBannerHeight);
    for (QWidget* clickable : {static_cast<QWidget*>(sbnrSongTitle), static_cast<QWidget*>(ddTimer)})
        clickable->installEventFilter(this);
    auto* inner = new QHBoxLayout(opnlSongTitle);
    inner->setContentsMargins(4, 4, 4, 4);
    inner->setSpacing(4);
    inner->addWidget(sbnrSongTitle, 1);
    inner->addWidget(ddTimer);
    host->layout()->addWidget(opnlSongTitle);
    SongTitleFonts().OnChange = [this](TtagFonts*) { Guarded([this] { ApplyBannerFonts(); }); };
    ApplyBannerFonts();
}

void TfrmSkinnedJukeboxApp::BuildStacker()
{
    QWidget* host = StackerPanel();
    opnlStacker = MakePanel(host, "opnlStacker");
    lblStackerTitle = new TdaskelLabel(QStringLiteral("Empty"), opnlStacker);
    lblStackerTitle->setObjectName(QStringLiteral("lblStackerTitle"));
    TFontDesc titleFont;
    titleFont.Name = "Arial";
    titleFont.Size = PixelsToPoints(13);
    titleFont.Style = titleFont.Style.With(TFontStyle::fsBold);
    lblStackerTitle->setFont(ToQFont(titleFont));
    lblStackerTitle->SetFontColor(clWhite);
    // Room for the longest title a list is likely to have; the list of the stacker's lists takes the rest.
    lblStackerTitle->setMinimumWidth(
        lblStackerTitle->fontMetrics().horizontalAdvance(QString(24, QLatin1Char('M'))) / 2);
    obtnStackerConfigure = new TorvaneButton(opnlStacker);
    obtnStackerConfigure->setObjectName(QStringLiteral("obtnStackerConfigure"));
    obtnStackerConfigure->setFixedSize(22, 22);
    obtnStackerConfigure->SetAction(alMain.actnStackerConfigure);
    obtnStackerConfigure->SetCaption(QString());
    obtnStackerPower = new TorvaneButton(opnlStacker);
    obtnStackerPower->setObjectName(QStringLiteral("obtnStackerPower"));
    obtnStackerPower->setFixedSize(32, 22);
    obtnStackerPower->SetIsCheckButton(true);
    obtnStackerPower->SetAction(alMain.actnStackerEnabled);
    obtnStackerPower->SetCaption(QString());
    auto* row = new QHBoxLayout(opnlStacker);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(4);
    row->addWidget(lblStackerTitle);
    row->addWidget(StackerList(), 1);
    row->addWidget(obtnStackerConfigure);
    row->addWidget(obtnStackerPower);
    host->layout()->addWidget(opnlStacker);
}

void TfrmSkinnedJukeboxApp::ApplyBannerFonts()
{
    const TtagFonts& fonts = SongTitleFonts();
    sbnrSongTitle->SetColor(fonts.Color());
    sbnrSongTitle->setFont(ToQFont(fonts.TitleFont()));
    sbnrSongTitle->SetFontColor(fonts.TitleFont().Color);
    // As high as the set's tallest font needs, never lower than the design's.
    int height = kBannerHeight;
    for (int kind = 0; kind < TtagFonts::kFontCount; ++kind)
        height = std::max(
            height, QFontMetrics(ToQFont(fonts.Font(static_cast<TtagFonts::FontKind>(kind)))).height() + 4);
    sbnrSongTitle->setFixedHeight(height);
    ddTimer->setFixedHeight(height);
    // The caption carries the fonts' mark-up: made again, it shows the new fonts now.
    const TaudioTag* song = nullptr;
    if (const auto* library = dynamic_cast<const TcustomlocalJukeboxList*>(SearchLibrary());
        library && bannerShowsSong_)
        if (const TlocalJukebox* jukebox = library->Jukebox())
            song = jukebox->PlayingTag();
    if (song)
        sbnrSongTitle->SetCaption(fonts.SongCaption(*song, tdfArtistTitleAlbumTrack));
    else
        sbnrSongTitle->SetCaption(fonts.FontMarkup(TtagFonts::fkTitle) + ApplicationTitle());
}

TorvaneScrollBar* TfrmSkinnedJukeboxApp::WrapList(QWidget* list, const char* name)
{
    auto* splitter = qobject_cast<QSplitter*>(list->parentWidget());
    const QList<int> sizes = splitter ? splitter->sizes() : QList<int>();
    const int index = splitter ? splitter->indexOf(list) : -1;
    const std::string base(name);
    auto* clip = new QWidget;
    clip->setObjectName(QString::fromStdString("pnl" + base + "Clip"));
    auto* top = MakePanel(clip, ("opnl" + base + "Top").c_str());
    auto* bottom = MakePanel(clip, ("opnl" + base + "Bottom").c_str());
    const char* leftName = base == "JukeboxList" ? "pnlJukeboxListLeft"
                           : base == "TrackList" ? "opnlTrackListLeft"
                                                 : "opnlQueueLeft";
    auto* left = MakePanel(clip, leftName);
    top->setFixedHeight(8);
    bottom->setFixedHeight(8);
    left->setFixedWidth(4);
    auto* bar = new TorvaneScrollBar(clip);
    bar->setObjectName(QString::fromStdString("sb" + base));
    bar->SetMin(0);
    bar->SetMax(1);
    bar->SetSmallStep(1);
    bar->SetLargeStep(10);
    bar->setFixedWidth(kScrollBarWidth);
    // The window's own bar stands in for the native one.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(list)) {
        area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area->setFrameShape(QFrame::NoFrame);
    }
    auto* layout = new QGridLayout(clip);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top, 0, 0, 1, 3);
    layout->addWidget(left, 1, 0);
    layout->addWidget(list, 1, 1);
    layout->addWidget(bar, 1, 2);
    layout->addWidget(bottom, 2, 0, 1, 3);
    if (splitter) {
        splitter->insertWidget(index, clip);
        splitter->setSizes(sizes);
    }
    return bar;
}

void TfrmSkinnedJukeboxApp::SyncBar(TorvaneScrollBar& bar, const QAbstractScrollArea& list)
{
    const QScrollBar& native = *list.verticalScrollBar();
    if (bar.Max() < native.minimum())
        bar.SetMax(native.minimum());
    if (bar.Min() != native.minimum())
        bar.SetMin(native.minimum());
    if (bar.Max() != native.maximum())
        bar.SetMax(native.maximum());
    if (bar.Value() != native.value())
        bar.SetValueQuiet(native.value());
    const int large = std::max(1, native.pageStep() - 1);
    if (bar.LargeStep() != large)
        bar.SetLargeStep(large);
}

void TfrmSkinnedJukeboxApp::FollowList(TorvaneScrollBar* bar, QAbstractScrollArea* list)
{
    bar->SetScrollComponent(list);
    const auto follow = [bar, list] { Guarded([bar, list] { SyncBar(*bar, *list); }); };
    connect(list->verticalScrollBar(), &QScrollBar::valueChanged, bar, follow);
    connect(list->verticalScrollBar(), &QScrollBar::rangeChanged, bar, follow);
}

TorvaneButton* TfrmSkinnedJukeboxApp::QueueButton(const char* name, QAction* action)
{
    auto* button = new TorvaneButton(opnlQueueControls);
    button->setObjectName(QString::fromUtf8(name));
    button->setFixedSize(kQueueButtonSize, kQueueButtonSize);
    button->SetAction(action);
    button->SetCaption(QString());
    return button;
}

void TfrmSkinnedJukeboxApp::BuildQueueControls()
{
    auto* clip = sbQueueList->parentWidget();
    opnlQueueControls = MakePanel(clip, "opnlQueueControls");
    opnlQueueControls->setFixedWidth(2 * kQueueButtonSize + 10);
    // The browser's own queue commands run through their actions; the table's through the table, so the
    // busy flag and party play hold here as on every other route.
    obtnQueueMoveUp = QueueButton("obtnQueueMoveUp", actnQueueMoveUp);
    obtnQueueMoveDown = QueueButton("obtnQueueMoveDown", actnQueueMoveDown);
    obtnQueueMoveTo = QueueButton("obtnQueueMoveTo", actnQueueMoveTo);
    obtnQueueDelete = QueueButton("obtnQueueDelete", actnQueueDelete);
    obtnQueueRandomize = QueueButton("obtnQueueRandomize", alMain.actnQueueRandomize);
    obtnQueueRandomize->OnClick = [this](QObject*) { Commands().Run(TjukeboxCommand::QueueRandomize); };
    obtnQueueClear = QueueButton("obtnQueueClear", alMain.actnQueueClear);
    obtnQueueClear->OnClick = [this](QObject*) { Commands().Run(TjukeboxCommand::QueueClear); };
    // A short queue clips the column rather than holding the window taller.
    opnlQueueControls->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    // Two columns, so the buttons fit beside a queue of a few lines.
    auto* grid = new QGridLayout(opnlQueueControls);
    grid->setSizeConstraint(QLayout::SetNoConstraint);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(2);
    int at = 0;
    for (QWidget* button : {obtnQueueMoveUp, obtnQueueMoveDown, obtnQueueMoveTo, obtnQueueDelete,
                            obtnQueueRandomize, obtnQueueClear}) {
        grid->addWidget(button, at / 2, at % 2);
        ++at;
    }
    grid->setRowStretch(3, 1);
    // Right of the queue's own scroll bar, over the full height of the list's frame.
    if (auto* frame = qobject_cast<QGridLayout*>(clip->layout()))
        frame->addWidget(opnlQueueControls, 0, 3, 3, 1);
}

void TfrmSkinnedJukeboxApp::BuildCoverArt()
{
    pnlQueueRight = findChild<QWidget*>(QStringLiteral("pnlQueueRight"));
    opnlCoverArt = MakePanel(pnlQueueRight, "opnlCoverArt");
    opnlCoverArt->SetBorderWidth(3);
    bmCoverArt = new TdaskelBitmap(opnlCoverArt);
    bmCoverArt->setObjectName(QStringLiteral("bmCoverArt"));
    bmCoverArt->SetStyle(TdaskelBitmapStyle::dbsMaintainAspect);
    bmCoverArt->SetAlignment(TdaskelBitmapAlignment::dbaRightBottom);
    bmCoverArt->SetColor(clBlack);
    // The details lie over the picture; the picture keeps to the bottom right.
    pnlCoverDetails = new QWidget(opnlCoverArt);
    pnlCoverDetails->setObjectName(QStringLiteral("pnlCoverDetails"));
    auto* stack = new QStackedLayout(opnlCoverArt);
    stack->setStackingMode(QStackedLayout::StackAll);
    stack->setContentsMargins(3, 3, 3, 3);
    stack->addWidget(pnlCoverDetails);
    stack->addWidget(bmCoverArt);
    stack->setCurrentWidget(pnlCoverDetails);
    auto* fill = new QVBoxLayout(pnlQueueRight);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(opnlCoverArt);
    showQueueDetails_ = true;
    actnViewQueueDetails->setChecked(true);
    UpdateCoverPanel();
}

void TfrmSkinnedJukeboxApp::BuildFrame()
{
    QWidget* client = takeCentralWidget();
    auto* root = new QWidget(this);
    root->setObjectName(QStringLiteral("pnlRoot"));
    auto* top = MakePanel(root, "opnlBodyTop");
    top->SetPanelColor(clGray);
    auto* left = MakePanel(root, "opnlBodyLeft");
    auto* right = MakePanel(root, "opnlBodyRight");
    auto* bottom = MakePanel(root, "opnlBodyBottom");
    opnlBodyRight = right;
    opnlBodyBottom = bottom;
    for (QWidget* grip : {static_cast<QWidget*>(right), static_cast<QWidget*>(bottom)}) {
        grip->setMouseTracking(true);
        grip->installEventFilter(this);
    }
    top->setFixedHeight(kFrameWidth);
    bottom->setFixedHeight(kFrameWidth);
    left->setFixedWidth(kFrameWidth);
    right->setFixedWidth(kFrameWidth);
    client->setObjectName(QStringLiteral("pnlBody"));
    BuildTitle(client);
    if (auto* column = qobject_cast<QVBoxLayout*>(client->layout()))
        column->insertWidget(0, opnlTitle);
    auto* grid = new QGridLayout(root);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(top, 0, 0, 1, 3);
    grid->addWidget(left, 1, 0);
    grid->addWidget(client, 1, 1);
    grid->addWidget(right, 1, 2);
    grid->addWidget(bottom, 2, 0, 1, 3);
    setCentralWidget(root);
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

// ---- Song title and time

bool TfrmSkinnedJukeboxApp::GetScrollSongTitle() const
{
    // The user's choice: the close step stops the banner before the settings are saved.
    return actnSettingsScrollSongTitle->isChecked();
}

void TfrmSkinnedJukeboxApp::SetScrollSongTitle(bool on)
{
    sbnrSongTitle->SetScrollEnabled(on);
    actnSettingsScrollSongTitle->setChecked(on);
}

void TfrmSkinnedJukeboxApp::TimeChanged(std::uint32_t msPosition, std::uint32_t msLength)
{
    if (Closing())
        return;
    if (GetShowTimeRemaining()) {
        const std::uint32_t left = msLength > msPosition ? msLength - msPosition : 0;
        ddTimer->SetSeconds(-static_cast<int>(left / 1000));
    } else {
        ddTimer->SetSeconds(static_cast<int>(msPosition / 1000));
    }
}

void TfrmSkinnedJukeboxApp::PlaybackStarted(const TaudioTag* song)
{
    TfrmJukeboxApp::PlaybackStarted(song);
    if (Closing())
        return;
    if (song) {
        sbnrSongTitle->SetCaption(SongTitleFonts().SongCaption(*song, tdfArtistTitleAlbumTrack));
        bannerShowsSong_ = true;
        LoadCoverArt(*song);
    } else {
        PlayerStateChanged(mpsStopped);
    }
}

// ---- Queue panel

bool TfrmSkinnedJukeboxApp::GetQueueControlsVisible() const
{
    return !opnlQueueControls->isHidden();
}

void TfrmSkinnedJukeboxApp::SetQueueControlsVisible(bool on)
{
    opnlQueueControls->setVisible(on);
    actnViewQueueControls->setChecked(on);
}

bool TfrmSkinnedJukeboxApp::GetShowCoverArt() const
{
    return actnViewCoverArt->isChecked();
}

void TfrmSkinnedJukeboxApp::SetShowCoverArt(bool on)
{
    actnViewCoverArt->setChecked(on);
    UpdateCoverPanel();
}

void TfrmSkinnedJukeboxApp::SetShowQueueDetails(bool on)
{
    showQueueDetails_ = on;
    actnViewQueueDetails->setChecked(on);
    UpdateCoverPanel();
}

void TfrmSkinnedJukeboxApp::SetShowDetailsWhenCoverPresent(bool on)
{
    showDetailsWhenCoverPresent_ = on;
    actnViewShowDetailsWhenCoverPresent->setChecked(on);
    UpdateCoverPanel();
}

bool TfrmSkinnedJukeboxApp::CoverLoaded() const
{
    return !bmCoverArt->Picture().Empty();
}

void TfrmSkinnedJukeboxApp::LoadCoverArt(const TaudioTag& song)
{
    // A fresh picture each time: a song without a cover must not go on showing the last song's.
    TcoverPicture cover;
    GetCoverPicture(song, GetCoverArtFolder(), cover, true);
    bmCoverArt->SetPicture(ToQImage(cover));
    UpdateCoverPanel();
}

void TfrmSkinnedJukeboxApp::UpdateCoverPanel()
{
    const bool coverArt = GetShowCoverArt();
    pnlQueueRight->setVisible(showQueueDetails_ || coverArt);
    bmCoverArt->setVisible(coverArt);
    pnlCoverDetails->setVisible(!coverArt ||
                                (showQueueDetails_ && (showDetailsWhenCoverPresent_ || !CoverLoaded())));
}

void TfrmSkinnedJukeboxApp::PlayerStateChanged(TmediaPlayState state)
{
    TfrmJukeboxApp::PlayerStateChanged(state);
    if (Closing())
        return;
    switch (state) {
    case mpsPlaying:
        ombtnControls->SetButtonChecked(1);
        break;
    case mpsPaused:
        ombtnControls->SetButtonChecked(3);
        break;
    default:
        ombtnControls->SetButtonChecked(4);
        sbnrSongTitle->SetCaption(SongTitleFonts().FontMarkup(TtagFonts::fkTitle) + ApplicationTitle());
        bannerShowsSong_ = false;
        ddTimer->SetSeconds(0);
        break;
    }
}

// ---- Stacker

void TfrmSkinnedJukeboxApp::StackerChanged()
{
    TfrmJukeboxApp::StackerChanged();
    if (!Closing())
        lblStackerTitle->SetCaption(QString::fromStdString(GetStackerTitle()));
}

void TfrmSkinnedJukeboxApp::SetStackerEnabled(bool on)
{
    TfrmJukeboxApp::SetStackerEnabled(on);
    obtnStackerPower->SetChecked(GetStackerEnabled());
}

// ---- Transport

void TfrmSkinnedJukeboxApp::ControlsPlay()
{
    ombtnControls->setEnabled(false);
    const platform::TScopeExit enable([this] { ombtnControls->setEnabled(true); });
    QCoreApplication::processEvents();
    Play(false);
}

void TfrmSkinnedJukeboxApp::ControlsNext()
{
    ombtnControls->setEnabled(false);
    const platform::TScopeExit enable([this] { ombtnControls->setEnabled(true); });
    QCoreApplication::processEvents();
    PlayNext(true);
}

// ---- Party play

void TfrmSkinnedJukeboxApp::ApplyPartyPlayState()
{
    TfrmJukeboxApp::ApplyPartyPlayState();
    const bool party = IsPartyPlay();
    // The title buttons follow their actions; the layout packs the visible ones from the right edge. Party
    // play hides them, and its end gives each its own visibility back (Minimize is not in every window).
    const std::array<QAction*, kTitleActions> titleActions{alMain.actnFileExit, actnViewFullScreen,
                                                           alMain.actnViewMinimize, alMain.actnHelpHelp};
    if (party) {
        if (!partyFullScreen_) {
            savedFullScreen_ = fullScreen_;
            savedQueueControlsVisible_ = GetQueueControlsVisible();
            for (std::size_t i = 0; i < titleActions.size(); ++i)
                savedTitleVisible_[i] = titleActions[i]->isVisible();
        }
        partyFullScreen_ = true;
        SetQueueControlsVisible(savedQueueControlsVisible_ &&
                                !PartyPlayOption(TpartyPlayOption::QueueControls));
        SetFullScreen(true);
        for (QAction* action : titleActions)
            action->setVisible(false);
    } else if (partyFullScreen_) {
        partyFullScreen_ = false;
        SetQueueControlsVisible(savedQueueControlsVisible_);
        SetFullScreen(savedFullScreen_);
        for (std::size_t i = 0; i < titleActions.size(); ++i)
            titleActions[i]->setVisible(savedTitleVisible_[i]);
    }
    // A hidden action's shortcut is off with it: while party play lets the program close, Exit's shortcut
    // still runs the command.
    if (!partyExit_) {
        partyExit_ = new QShortcut(alMain.actnFileExit->shortcut(), this);
        connect(partyExit_, &QShortcut::activated, this,
                [this] { Commands().Run(TjukeboxCommand::FileExit); });
    }
    partyExit_->setEnabled(party && !alMain.actnFileExit->isVisible() &&
                           !PartyPlayOption(TpartyPlayOption::ApplicationClose));
    opnlTitle->layout()->activate();
    obtnMenu->SetHint(party ? alMain.actnPartyPlayEnabled->toolTip() : QStringLiteral("Main Menu"));
}

void TfrmSkinnedJukeboxApp::MenuButtonClick()
{
    if (IsPartyPlay())
        alMain.actnPartyPlayEnabled->trigger();
    else
        PopupMenu()->popup(obtnMenu->mapToGlobal(QPoint(0, obtnMenu->height())));
}

// ---- Mouse on the window's own panels

bool TfrmSkinnedJukeboxApp::InGrip(const QWidget* panel, const QPoint& at)
{
    return at.x() >= panel->width() - kGripSize && at.y() >= panel->height() - kGripSize;
}

void TfrmSkinnedJukeboxApp::FollowDrag(const QPoint& globalPosition)
{
    const QPoint delta = globalPosition - pressedAt_;
    if (drag_ == Tdrag::Move)
        move(dragBounds_.topLeft() + delta);
    else if (drag_ == Tdrag::Resize)
        resize(std::max(minimumWidth(), dragBounds_.width() + delta.x()),
               std::max(minimumHeight(), dragBounds_.height() + delta.y()));
}

void TfrmSkinnedJukeboxApp::TitleMouseMove(const QMouseEvent& mouse)
{
    const QPoint at = mouse.globalPosition().toPoint();
    if (drag_ == Tdrag::Move) {
        FollowDrag(at);
        return;
    }
    if (!(mouse.buttons() & Qt::LeftButton) || pressedOn_ != opnlTitle || fullScreen_ ||
        (at - pressedAt_).manhattanLength() < QApplication::startDragDistance())
        return;
    pressedOn_ = nullptr; // a drag, not a click
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    drag_ = Tdrag::Move;
    dragBounds_ = geometry();
    FollowDrag(at);
}

bool TfrmSkinnedJukeboxApp::GripMouse(QWidget* panel, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseMove && type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    switch (type) {
    case QEvent::MouseMove:
        if (drag_ == Tdrag::Resize) {
            FollowDrag(mouse->globalPosition().toPoint());
            return true;
        }
        if (!fullScreen_ && InGrip(panel, mouse->position().toPoint()))
            panel->setCursor(Qt::SizeFDiagCursor);
        else
            panel->unsetCursor();
        return false;
    case QEvent::MouseButtonPress:
        if (mouse->button() != Qt::LeftButton || fullScreen_ || !InGrip(panel, mouse->position().toPoint()))
            return false;
        if (windowHandle() && windowHandle()->startSystemResize(Qt::RightEdge | Qt::BottomEdge))
            return true;
        drag_ = Tdrag::Resize;
        pressedAt_ = mouse->globalPosition().toPoint();
        dragBounds_ = geometry();
        return true;
    case QEvent::MouseButtonRelease:
        if (drag_ != Tdrag::Resize)
            return false;
        drag_ = Tdrag::None;
        return true;
    default:
        return false;
    }
}

bool TfrmSkinnedJukeboxApp::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == opnlBodyRight || watched == opnlBodyBottom) {
        bool handled = false;
        Guarded([&] { handled = GripMouse(static_cast<QWidget*>(watched), event); });
        if (handled)
            return true;
    }
    if (watched == opnlTitle && event->type() == QEvent::MouseMove) {
        Guarded([&] { TitleMouseMove(*static_cast<QMouseEvent*>(event)); });
    }
    const bool pressOrRelease =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease;
    if (pressOrRelease && (watched == opnlTitle || watched == sbnrSongTitle || watched == ddTimer)) {
        // Only mouse events are read as such: the filter sees every event of these panels.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
            pressedOn_ = watched;
            pressedAt_ = mouse->globalPosition().toPoint();
        } else if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
            const bool click = pressedOn_ == watched && drag_ == Tdrag::None;
            drag_ = Tdrag::None;
            pressedOn_ = nullptr;
            if (click && !Closing())
                Guarded([this, watched] { PanelClicked(watched); });
        }
    }
    return TfrmJukeboxApp::eventFilter(watched, event);
}

void TfrmSkinnedJukeboxApp::PanelClicked(QObject* watched)
{
    if (watched == opnlTitle)
        alMain.actnHelpAbout->trigger();
    else if (watched == sbnrSongTitle)
        SetScrollSongTitle(!GetScrollSongTitle());
    else if (watched == ddTimer)
        SetShowTimeRemaining(!GetShowTimeRemaining());
}

// ---- Skin

void TfrmSkinnedJukeboxApp::LoadSkinImages(const TIniFile& ini, const std::string& folder)
{
    skinFolder_->TskinFolder::LoadSkinImages(ini, folder);
    // The queue controls' column is two of its buttons wide, whatever size the skin gives them.
    int widest = 0;
    for (const TorvaneButton* button : opnlQueueControls->findChildren<TorvaneButton*>())
        widest = std::max(widest, button->minimumWidth());
    if (widest > 0)
        opnlQueueControls->setFixedWidth(2 * widest + 10);
}

void TfrmSkinnedJukeboxApp::BindSkinCommands()
{
    using C = TjukeboxCommand;
    // Play and Next from the menu or the keyboard hold the transport off as its buttons do.
    Commands().Bind(C::ControlPlay, [this] { ControlsPlay(); });
    Commands().Bind(C::ControlNext, [this] { ControlsNext(); });
    Commands().Bind(C::QueueAlbum, [this] { QueueAlbumWithSkin(); });
    // The progress window follows the skin's loops while a skin loads, applies or is written.
    skinFolder_->OnSkinProcessStart = [this](const std::string& caption) {
        if (TfrmProgress* progress = ProgressWindow())
            progress->ListProcessStart(caption);
    };
    skinFolder_->OnSkinProcess = [this](int index, int count) {
        if (TfrmProgress* progress = ProgressWindow())
            progress->ListProcess(static_cast<std::uint32_t>(index + 1), static_cast<std::uint32_t>(count));
    };
    skinFolder_->OnSkinProcessFinished = [this] {
        if (TfrmProgress* progress = ProgressWindow())
            progress->ListProcessFinished();
    };
}

void TfrmSkinnedJukeboxApp::QueueAlbumWithSkin()
{
    // The chooser in the skin's tree look: the jukebox tree set's artist font and its colour.
    const TtagFonts& fonts = JukeboxListFonts();
    const TFontDesc font = fonts.ArtistFont();
    TaudioTagAlbum* album = nullptr;
    if (ChooseAlbum(&GetJukeboxList(), album, &font, fonts.Color(), this) && album)
        GetLocalJukeboxList().QueueList(*album, true);
}

void TfrmSkinnedJukeboxApp::LoadSkinFonts(const TIniFile& ini)
{
    skinFolder_->TskinFolder::LoadSkinFonts(ini);
}

void TfrmSkinnedJukeboxApp::SaveSkinFonts(TIniFile& ini) const
{
    skinFolder_->TskinFolder::SaveSkinFonts(ini);
}

void TfrmSkinnedJukeboxApp::ApplySkinColors(TColor buttonColor, TColor panelColor)
{
    skinFolder_->TskinFolder::ApplySkinColors(buttonColor, panelColor);
}

void TfrmSkinnedJukeboxApp::LoadSkinFile(const std::string& fileName)
{
    skinFolder_->LoadSkinFile(fileName);
}

std::string TfrmSkinnedJukeboxApp::GetSkinFile() const
{
    return skinFolder_->GetSkinFile();
}

void TfrmSkinnedJukeboxApp::SaveCurrentSkin()
{
    skinFolder_->SaveCurrentSkin();
}

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
    const int width = std::min(bounds.width(), desktop.width());
    const int height = std::min(bounds.height(), desktop.height());
    return {desktop.left() + (desktop.width() - width) / 2, desktop.top() + (desktop.height() - height) / 2,
            width, height};
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

    const QRect screenRect = PrimaryScreenRect();
    const int width = ReadExtent(ini, kGeometry, "Width", kDefaultWidth);
    const int height = ReadExtent(ini, kGeometry, "Height", kDefaultHeight);
    const int left = ReadPosition(ini, kGeometry, "Left", (screenRect.width() - width) / 2);
    const int top = ReadPosition(ini, kGeometry, "Top", (screenRect.height() - height) / 2);
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
    return findChild<QSplitter*>(QString::fromUtf8(name));
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
