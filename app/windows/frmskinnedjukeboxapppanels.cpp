// Building the skinned window's own panels: the frame and the title panel with its buttons, the transport
// control, the song title banner and the timer, the stacker's row, the lists' frames with their own scroll
// bars, the queue controls and the cover art.
#include "app/windows/frmskinnedjukeboxapp.h"

#include "app/commands/jukeboxcommands.h"
#include "app/qt/services/exceptionboundary.h"
#include "app/skins/pixelfont.h"
#include "controls/daskelbitmap.h"
#include "controls/daskellabel.h"
#include "controls/digitaldisplay.h"
#include "controls/htmllistbox.h"
#include "controls/orvanebutton.h"
#include "controls/orvanemultibutton.h"
#include "controls/orvanepanel.h"
#include "controls/orvanescrollbar.h"
#include "controls/qtfont.h"
#include "controls/scrollbanner3.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/songs/audiotag.h"
#include "core/util/promptservice.h"
#include "platform/qtstring.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedLayout>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kQueueButtonSize = 22;
constexpr int kBannerHeight = 26;

TorvanePanel* MakePanel(QWidget* parent, const char* name)
{
    auto* panel = new TorvanePanel(parent);
    panel->setObjectName(platform::ToQString(name));
    return panel;
}

} // namespace

TorvaneButton* TfrmSkinnedJukeboxApp::TitleButton(const char* name, QAction* action, int width)
{
    auto* button = new TorvaneButton(opnlTitle);
    button->setObjectName(platform::ToQString(name));
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
    clip->setObjectName(platform::ToQString("pnl" + base + "Clip"));
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
    bar->setObjectName(platform::ToQString("sb" + base));
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
    button->setObjectName(platform::ToQString(name));
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
