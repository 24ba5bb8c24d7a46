#include "app/dialogs/frmjukeboxskin.h"

#include "app/dialogs/skinshost.h"
#include "app/dialogs/tfrec.h"
#include "app/qt/services/dialogservice.h"
#include "app/qt/services/exceptionboundary.h"
#include "app/skins/skinfolder.h"
#include "controls/colorpanel.h"
#include "controls/qtfont.h"
#include "core/util/promptservice.h"
#include "platform/qtstring.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cctype>

namespace {

constexpr int kClientWidth = 441;
constexpr int kClientHeight = 373;

// The order the font list shows a set's fonts in.
constexpr std::array<TtagFonts::FontKind, TtagFonts::kFontCount> kListOrder = {
    TtagFonts::fkArtist, TtagFonts::fkAlbum,    TtagFonts::fkTitle,
    TtagFonts::fkIndex,  TtagFonts::fkDuration, TtagFonts::fkCharacter,
};

bool LessIgnoringCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

QLabel* Label(const char* name, const char* caption, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

TfrmJukeboxSkin::TfrmJukeboxSkin(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmJukeboxSkin");
    setWindowTitle("Skins");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);

    pcSkins = new QTabWidget(this);
    pcSkins->setObjectName("pcSkins");
    pcSkins->addTab(BuildColorsPage(), "Colors && Fonts");
    pcSkins->addTab(BuildSkinsPage(), "Skins");

    btnOK = Button("btnOK", "&OK", this);
    btnCancel = Button("btnCancel", "&Cancel", this);
    btnApply = Button("btnApply", "&Apply", this);
    btnApply->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    buttons->addWidget(btnApply);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(pcSkins, 1);
    layout->addLayout(buttons);

    // Esc rejects through QDialog itself: Cancel is the dialog's reject.
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnApply, &QPushButton::clicked, this, [this] { Guarded([this] { ApplyChanges(); }); });
    connect(btnFont, &QPushButton::clicked, this, [this] { Guarded([this] { btnFontClick(); }); });
    connect(btnFontColor, &QPushButton::clicked, this, [this] { Guarded([this] { btnFontColorClick(); }); });
    connect(btnTagBackground, &QPushButton::clicked, this,
            [this] { Guarded([this] { btnTagBackgroundClick(); }); });
    connect(btnMakeAllSame, &QPushButton::clicked, this,
            [this] { Guarded([this] { btnMakeAllSameClick(); }); });
    connect(btnMatchFonts, &QPushButton::clicked, this,
            [this] { Guarded([this] { btnMatchFontsClick(); }); });
    connect(btnLoadSkin, &QPushButton::clicked, this, [this] { Guarded([this] { btnLoadSkinClick(); }); });
    connect(btnExportSkin, &QPushButton::clicked, this,
            [this] { Guarded([this] { btnExportSkinClick(); }); });
    connect(tcTagFonts, &QTabBar::currentChanged, this, [this] { Guarded([this] { ShowTagFontsSet(); }); });
    connect(lbTagFonts, &QListWidget::currentRowChanged, this, [this] { Guarded([this] { ShowSample(); }); });
    connect(lbSkins, &QListWidget::currentRowChanged, this, [this] { Guarded([this] { lbSkinsClick(); }); });
    BuildTagFontsTabs();
}

TfrmJukeboxSkin::~TfrmJukeboxSkin() = default;

QPushButton* TfrmJukeboxSkin::Button(const char* name, const char* caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

TcolorPanel* TfrmJukeboxSkin::ColorPanel(const char* name, const char* caption, QWidget* parent)
{
    auto* panel = new TcolorPanel(parent);
    panel->setObjectName(name);
    panel->SetCaption(caption);
    panel->SetBevelOuter(TPanelBevel::bvLowered);
    panel->setMinimumSize(90, 22);
    panel->setCursor(Qt::PointingHandCursor);
    panel->installEventFilter(this);
    return panel;
}

QWidget* TfrmJukeboxSkin::BuildColorsPage()
{
    auto* page = new QWidget;
    page->setObjectName("tsColorsFonts");

    auto* gbObjectColors = new QGroupBox("Object Colors", page);
    gbObjectColors->setObjectName("gbObjectColors");
    pnlButtonColor = ColorPanel("pnlButtonColor", "Button Color", gbObjectColors);
    pnlPanelColor = ColorPanel("pnlPanelColor", "Panel Color", gbObjectColors);
    auto* colors = new QHBoxLayout(gbObjectColors);
    colors->setContentsMargins(6, 4, 6, 6);
    colors->addWidget(Label("lblButtonColor", "Button Color :", gbObjectColors));
    colors->addWidget(pnlButtonColor, 1);
    colors->addSpacing(12);
    colors->addWidget(Label("lblPanelColor", "Panel Color :", gbObjectColors));
    colors->addWidget(pnlPanelColor, 1);

    auto* gbFonts = new QGroupBox("Fonts", page);
    gbFonts->setObjectName("gbFonts");
    tcTagFonts = new QTabBar(gbFonts);
    tcTagFonts->setObjectName("tcTagFonts");
    tcTagFonts->setExpanding(false);
    tcTagFonts->setUsesScrollButtons(true);
    tcTagFonts->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    pnlTagFonts = new TcolorPanel(gbFonts);
    pnlTagFonts->setObjectName("pnlTagFonts");
    pnlTagFonts->SetBevelOuter(TPanelBevel::bvLowered);
    pnlTagFonts->setMinimumHeight(40);
    lblTagFontSample = Label("lblTagFontSample", "Sample", pnlTagFonts);
    lblTagFontSample->setAlignment(Qt::AlignCenter);
    auto* sample = new QVBoxLayout(pnlTagFonts);
    sample->addWidget(lblTagFontSample);
    lbTagFonts = new QListWidget(gbFonts);
    lbTagFonts->setObjectName("lbTagFonts");
    lbTagFonts->setSelectionMode(QAbstractItemView::ExtendedSelection);
    btnFont = Button("btnFont", "&Font", gbFonts);
    btnTagBackground = Button("btnTagBackground", "Color", gbFonts);
    btnFontColor = Button("btnFontColor", "Font &Color", gbFonts);
    btnMakeAllSame = Button("btnMakeAllSame", "Make All Set of Fonts the same as these", gbFonts);
    btnMatchFonts = Button("btnMatchFonts", "Match All Font Names && Sizes for Current Set", gbFonts);

    auto* side = new QVBoxLayout;
    side->addWidget(Label("lblTagBackground", "Background Color :", gbFonts));
    side->addWidget(pnlTagFonts);
    auto* fontButtons = new QHBoxLayout;
    fontButtons->addWidget(btnFont);
    fontButtons->addWidget(btnFontColor);
    side->addLayout(fontButtons);
    side->addWidget(btnTagBackground);
    side->addStretch(1);
    auto* body = new QHBoxLayout;
    body->addWidget(lbTagFonts, 1);
    body->addLayout(side, 1);
    auto* fonts = new QVBoxLayout(gbFonts);
    fonts->setContentsMargins(6, 4, 6, 6);
    fonts->setSpacing(4);
    fonts->addWidget(tcTagFonts);
    fonts->addLayout(body, 1);
    fonts->addWidget(btnMakeAllSame);
    fonts->addWidget(btnMatchFonts);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(gbObjectColors);
    layout->addWidget(gbFonts, 1);
    return page;
}

QWidget* TfrmJukeboxSkin::BuildSkinsPage()
{
    auto* page = new QWidget;
    page->setObjectName("tsSkins");
    auto* lblExportInfo = Label("lblExportInfo",
                                "This will export the current skin to a file that you specify.  It will also "
                                "create bitmaps for every skinnable part of the interface.",
                                page);
    lblExportInfo->setWordWrap(true);
    edExportName = new QLineEdit(page);
    edExportName->setObjectName("edExportName");
    btnExportSkin = Button("btnExportSkin", "Export Skin", page);
    auto* export_ = new QHBoxLayout;
    export_->addWidget(Label("lblExportTo", "Export To :", page));
    export_->addWidget(edExportName, 1);
    export_->addWidget(btnExportSkin);

    auto* gbAvailableSkins = new QGroupBox("Available Skins", page);
    gbAvailableSkins->setObjectName("gbAvailableSkins");
    lbSkins = new QListWidget(gbAvailableSkins);
    lbSkins->setObjectName("lbSkins");
    btnLoadSkin = Button("btnLoadSkin", "Load Skin", gbAvailableSkins);
    memoSkins = new QPlainTextEdit(gbAvailableSkins);
    memoSkins->setObjectName("memoSkins");
    memoSkins->setReadOnly(true);
    auto* lblNote =
        Label("lblNote",
              "* Note that you should always keep a backup copy of your skin file as any changes "
              "that you make to font styles, sizes & colors after loading this file, will be saved "
              "back into this file.",
              gbAvailableSkins);
    lblNote->setWordWrap(true);
    auto* list = new QVBoxLayout;
    list->addWidget(lbSkins, 1);
    list->addWidget(btnLoadSkin);
    auto* skins = new QGridLayout(gbAvailableSkins);
    skins->addLayout(list, 0, 0);
    skins->addWidget(memoSkins, 0, 1);
    skins->addWidget(lblNote, 1, 0, 1, 2);
    skins->setColumnStretch(0, 1);
    skins->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(lblExportInfo);
    layout->addLayout(export_);
    layout->addWidget(gbAvailableSkins, 1);
    return page;
}

void TfrmJukeboxSkin::SetJukeboxApp(TskinsHost* host)
{
    host_ = host;
    if (host_) {
        MakeRecords();
        pnlButtonColor->SetColor(host_->SkinFolder().ButtonColor());
        pnlPanelColor->SetColor(host_->SkinFolder().PanelColor());
        RefreshSkinList();
    }
    BuildTagFontsTabs();
}

void TfrmJukeboxSkin::MakeRecords()
{
    records_.clear();
    for (TtagFonts* fonts : host_->SkinFontSets())
        if (fonts)
            records_.push_back(std::make_unique<TtfRec>(*fonts));
    std::stable_sort(records_.begin(), records_.end(), [](const auto& a, const auto& b) {
        return LessIgnoringCase(a->Live().NiceName(), b->Live().NiceName());
    });
}

void TfrmJukeboxSkin::ApplyChanges()
{
    if (fontsModified_)
        for (const auto& record : records_)
            record->Apply();
    if (colorsModified_ && host_)
        host_->SkinFolder().ApplySkinColors(pnlButtonColor->Color(), pnlPanelColor->Color());
    fontsModified_ = false;
    colorsModified_ = false;
}

void TfrmJukeboxSkin::BuildTagFontsTabs()
{
    const QSignalBlocker blocker(tcTagFonts);
    while (tcTagFonts->count() > 0)
        tcTagFonts->removeTab(tcTagFonts->count() - 1);
    for (const auto& record : records_)
        tcTagFonts->addTab(platform::ToQString(record->Working().NiceName()));
    tcTagFonts->setCurrentIndex(records_.empty() ? -1 : 0);
    // A hidden tab bar does not tell its layout that its height changed with its first tab.
    tcTagFonts->updateGeometry();
    ShowTagFontsSet();
}

TtagFonts* TfrmJukeboxSkin::CurrentSet() const
{
    const int index = tcTagFonts->currentIndex();
    if (index < 0 || index >= RecordCount())
        return nullptr;
    return &records_[static_cast<std::size_t>(index)]->Working();
}

void TfrmJukeboxSkin::ShowTagFontsSet()
{
    const TtagFonts* set = CurrentSet();
    {
        const QSignalBlocker blocker(lbTagFonts);
        lbTagFonts->setUpdatesEnabled(false);
        lbTagFonts->clear();
        pnlTagFonts->SetColor(clBtnFace);
        if (set)
            for (const TtagFonts::FontKind kind : kListOrder)
                if (!set->FontNiceName(kind).empty()) {
                    auto* item = new QListWidgetItem(platform::ToQString(set->FontNiceName(kind)));
                    item->setData(Qt::UserRole, static_cast<int>(kind));
                    lbTagFonts->addItem(item);
                }
        lbTagFonts->setUpdatesEnabled(true);
    }
    const bool hasColorName = set && !set->ColorNiceName().empty();
    btnTagBackground->setText(hasColorName ? platform::ToQString(set->ColorNiceName())
                                           : QStringLiteral("Background Color"));
    btnTagBackground->setEnabled(hasColorName);
    if (set)
        pnlTagFonts->SetColor(set->Color());
    if (lbTagFonts->count() > 0)
        lbTagFonts->setCurrentRow(0);
    ShowSample();
}

bool TfrmJukeboxSkin::CurrentKind(TtagFonts::FontKind& kind) const
{
    const QListWidgetItem* item = lbTagFonts->currentItem();
    if (!item || !CurrentSet())
        return false;
    kind = static_cast<TtagFonts::FontKind>(item->data(Qt::UserRole).toInt());
    return true;
}

std::vector<TtagFonts::FontKind> TfrmJukeboxSkin::SelectedKinds() const
{
    std::vector<TtagFonts::FontKind> kinds;
    for (int row = 0; row < lbTagFonts->count(); ++row)
        if (lbTagFonts->item(row)->isSelected())
            kinds.push_back(
                static_cast<TtagFonts::FontKind>(lbTagFonts->item(row)->data(Qt::UserRole).toInt()));
    return kinds;
}

void TfrmJukeboxSkin::ShowSample()
{
    TtagFonts::FontKind kind{};
    if (CurrentKind(kind))
        ApplyFontDesc(*lblTagFontSample, CurrentSet()->Font(kind));
    if (const TtagFonts* set = CurrentSet())
        pnlTagFonts->SetColor(set->Color());
}

void TfrmJukeboxSkin::FontsChanged()
{
    fontsModified_ = true;
    btnApply->setEnabled(true);
    ShowSample();
}

void TfrmJukeboxSkin::ColorsChanged()
{
    colorsModified_ = true;
    btnApply->setEnabled(true);
}

void TfrmJukeboxSkin::btnFontClick()
{
    TtagFonts::FontKind kind{};
    if (!CurrentKind(kind))
        return;
    TtagFonts& set = *CurrentSet();
    const std::optional<TFontDesc> chosen = TdialogService::Current().ChooseFont(this, set.Font(kind));
    if (!chosen)
        return;
    set.BeginUpdate();
    for (const TtagFonts::FontKind selected : SelectedKinds())
        set.SetFont(selected, *chosen);
    set.EndUpdate();
    FontsChanged();
}

void TfrmJukeboxSkin::btnFontColorClick()
{
    TtagFonts::FontKind kind{};
    if (!CurrentKind(kind))
        return;
    TtagFonts& set = *CurrentSet();
    const std::optional<TColor> chosen = TdialogService::Current().ChooseColor(this, set.Font(kind).Color);
    if (!chosen)
        return;
    set.BeginUpdate();
    for (const TtagFonts::FontKind selected : SelectedKinds()) {
        TFontDesc font = set.Font(selected);
        font.Color = *chosen;
        set.SetFont(selected, font);
    }
    set.EndUpdate();
    FontsChanged();
}

void TfrmJukeboxSkin::btnTagBackgroundClick()
{
    TtagFonts* set = CurrentSet();
    if (!set)
        return;
    const std::optional<TColor> chosen = TdialogService::Current().ChooseColor(this, set->Color());
    if (!chosen)
        return;
    set->SetColor(*chosen);
    FontsChanged();
}

void TfrmJukeboxSkin::btnMakeAllSameClick()
{
    const TtagFonts* set = CurrentSet();
    if (!set)
        return;
    for (const auto& record : records_)
        if (&record->Working() != set)
            record->Working().AssignFonts(*set, false);
    FontsChanged();
}

void TfrmJukeboxSkin::btnMatchFontsClick()
{
    TtagFonts::FontKind kind{};
    if (!CurrentKind(kind))
        return;
    TtagFonts& set = *CurrentSet();
    const TFontDesc model = set.Font(kind);
    set.BeginUpdate();
    for (int row = 0; row < lbTagFonts->count(); ++row) {
        const auto other =
            static_cast<TtagFonts::FontKind>(lbTagFonts->item(row)->data(Qt::UserRole).toInt());
        TFontDesc font = set.Font(other);
        font.Name = model.Name;
        font.Size = model.Size;
        font.Style = model.Style;
        set.SetFont(other, font);
    }
    set.EndUpdate();
    FontsChanged();
}

void TfrmJukeboxSkin::ColorPanelClick(TcolorPanel* panel)
{
    const std::optional<TColor> chosen = TdialogService::Current().ChooseColor(this, panel->Color());
    if (!chosen)
        return;
    panel->SetColor(*chosen);
    ColorsChanged();
}

bool TfrmJukeboxSkin::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        (watched == pnlButtonColor || watched == pnlPanelColor)) {
        auto* panel = static_cast<TcolorPanel*>(watched);
        Guarded([this, panel] { ColorPanelClick(panel); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmJukeboxSkin::RefreshSkinList()
{
    if (!host_)
        return;
    const QSignalBlocker blocker(lbSkins);
    lbSkins->clear();
    memoSkins->clear();
    skins_.ScanInstalled();
    for (int i = 0; i < skins_.Count(); ++i)
        lbSkins->addItem(platform::ToQString(skins_.Item(i)->Title));
}

void TfrmJukeboxSkin::lbSkinsClick()
{
    memoSkins->clear();
    const TskinRec* skin = skins_.Item(lbSkins->currentRow());
    if (!skin)
        return;
    if (!skin->Creator.empty())
        memoSkins->appendPlainText(platform::ToQString("Creator : " + skin->Creator));
    memoSkins->appendPlainText(platform::ToQString("Description : " + skin->Description));
}

void TfrmJukeboxSkin::btnLoadSkinClick()
{
    const TskinRec* skin = skins_.Item(lbSkins->currentRow());
    if (!host_ || !skin)
        return;
    host_->SkinFolder().LoadSkinFile(skin->FileName);
    // The loaded skin is the look under edit now: what was pending belonged to the previous one and must not
    // be written over the new one by OK or Apply.
    RevertToWindow();
}

void TfrmJukeboxSkin::RevertToWindow()
{
    for (const auto& record : records_)
        record->Revert();
    pnlButtonColor->SetColor(host_->SkinFolder().ButtonColor());
    pnlPanelColor->SetColor(host_->SkinFolder().PanelColor());
    fontsModified_ = false;
    colorsModified_ = false;
    const int row = lbTagFonts->currentRow();
    ShowTagFontsSet();
    if (row >= 0 && row < lbTagFonts->count())
        lbTagFonts->setCurrentRow(row);
}

void TfrmJukeboxSkin::btnExportSkinClick()
{
    const std::string name = platform::FromQString(edExportName->text());
    if (!host_ || name.empty())
        return;
    // A name that would leave the skins folder is refused before anything is written.
    if (!TskinFolder::IsPlainName(name)) {
        ShowMessageBox("\"" + name +
                           "\" cannot be a skin's name: give a plain folder name, without \"\\\" or \"/\".",
                       "Export Skin", TmessageButtons::Ok, TmessageIcon::Error);
        return;
    }
    if (host_->SkinFolder().ExportSkin(name) == TskinExportResult::Exported)
        RefreshSkinList();
}

void ShowSkinsDialog(TskinsHost* host)
{
    if (!host)
        return;
    TfrmJukeboxSkin dialog(host->HostWindow());
    dialog.SetJukeboxApp(host);
    if (dialog.exec() == QDialog::Accepted)
        dialog.ApplyChanges();
}
