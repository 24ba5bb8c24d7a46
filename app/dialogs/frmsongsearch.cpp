#include "app/dialogs/frmsongsearch.h"

#include "app/dialogs/songsearchhost.h"
#include "app/keyboard/frmkeyboard.h"
#include "app/qt/helpers/keyinput.h"
#include "app/qt/services/exceptionboundary.h"
#include "controls/alignlayout.h"
#include "controls/keyboardcontrol.h"
#include "controls/orvanebutton.h"
#include "controls/windowplacement.h"
#include "core/groupings/audiotagartistlist.h"
#include "core/jukebox/customjukeboxlist.h"
#include "core/songs/audiotaglist.h"
#include "platform/qtstring.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QShowEvent>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int kPlainWidth = 300;
constexpr int kPlainHeight = 150;
constexpr int kPlainTopHeight = 25;
// The lines shown above a docked keyboard.
constexpr int kShownLines = 8;

TorvaneButton* DrawnButton(QWidget* parent, const char* name, const char* caption, int width)
{
    auto* button = new TorvaneButton(parent);
    button->setObjectName(name);
    button->SetCaption(caption);
    button->resize(width, button->height());
    return button;
}

void SetPointSize(QWidget* widget, int size)
{
    QFont font = widget->font();
    font.setPointSize(std::max(1, size));
    widget->setFont(font);
}

} // namespace

TfrmSongSearch::TfrmSongSearch(QWidget* parent) : TkeyboardableForm(parent)
{
    setObjectName("frmSongSearch");
    setWindowTitle("Song Search");
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);

    results_.SetSorted(true);
    results_.SetDuplicates(TDuplicates::dupIgnore);
    results_.SetCaseSensitive(false);

    pnlBody = new QWidget(this);
    pnlBody->setObjectName("pnlBody");
    TalignLayout::SetAlign(pnlBody, TAlign::alClient);

    pnlTop = new QWidget(pnlBody);
    pnlTop->setObjectName("pnlTop");
    pnlTop->resize(kPlainWidth, kPlainTopHeight);
    TalignLayout::SetAlign(pnlTop, TAlign::alTop);
    lbTracks = new QListWidget(pnlBody);
    lbTracks->setObjectName("lbTracks");
    lbTracks->setSelectionMode(QAbstractItemView::SingleSelection);
    lbTracks->setUniformItemSizes(true);
    TalignLayout::SetAlign(lbTracks, TAlign::alClient);

    obtnSearchMode = DrawnButton(pnlTop, "obtnSearchMode", "by Title", 64);
    TalignLayout::SetAlign(obtnSearchMode, TAlign::alLeft);
    obtnCancel = DrawnButton(pnlTop, "obtnCancel", "&Cancel", 64);
    obtnOK = DrawnButton(pnlTop, "obtnOK", "&OK", 56);
    TalignLayout::SetAlign(obtnCancel, TAlign::alRight);
    TalignLayout::SetAlign(obtnOK, TAlign::alRight);
    pnlEdit = new QWidget(pnlTop);
    pnlEdit->setObjectName("pnlEdit");
    TalignLayout::SetAlign(pnlEdit, TAlign::alClient);
    edSongSearch = new QLineEdit(pnlEdit);
    edSongSearch->setObjectName("edSongSearch");
    TalignLayout::SetAlign(edSongSearch, TAlign::alClient);

    obtnSearchMode->OnClick = [this](QObject*) { obtnSearchModeClick(); };
    obtnOK->OnClick = [this](QObject*) { obtnOKClick(); };
    obtnCancel->OnClick = [this](QObject*) { obtnCancelClick(); };
    searchDue_ = new QTimer(this);
    searchDue_->setSingleShot(true);
    searchDue_->setInterval(0);
    connect(searchDue_, &QTimer::timeout, this, [this] { Guarded([this] { edSongSearchChange(); }); });
    connect(edSongSearch, &QLineEdit::textChanged, searchDue_, qOverload<>(&QTimer::start));
    connect(lbTracks, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
    resize(kPlainWidth, kPlainHeight);
}

TfrmSongSearch::~TfrmSongSearch() = default;

TaudioTag* TfrmSongSearch::SelectedSong() const
{
    const int row = lbTracks->currentRow();
    if (row < 0 || row >= results_.Count() || !lbTracks->item(row)->isSelected())
        return nullptr;
    return results_.Objects(row);
}

const TStringList<TaudioTag>& TfrmSongSearch::Results()
{
    FlushSearch();
    return results_;
}

QListWidget* TfrmSongSearch::TrackList()
{
    FlushSearch();
    return lbTracks;
}

bool TfrmSongSearch::SearchDue() const
{
    return searchDue_->isActive();
}

void TfrmSongSearch::FlushSearch()
{
    if (SearchDue())
        edSongSearchChange();
}

void TfrmSongSearch::done(int result)
{
    FlushSearch();
    TkeyboardableForm::done(result);
}

void TfrmSongSearch::SetKeyboardSize(int width, int height)
{
    TfrmKeyboard* keyboard = GetKeyboardForm();
    const int kh = keyboard->Keyboard()->KeyHeight();
    if (this->width() != width)
        resize(width, this->height());
    SetPointSize(lbTracks, kh / 2);
    SetPointSize(edSongSearch, kh / 2);
    SetPointSize(keyboard->Keyboard(), kh / 3);
    resize(this->width(), kh + kShownLines * ItemHeight() + 2 * lbTracks->frameWidth() + height);
    pnlTop->resize(pnlTop->width(), kh);
    keyboard->resize(keyboard->width(), height);
    Relayout();
}

void TfrmSongSearch::ShowKeyboard(bool on)
{
    if (on) {
        if (KeyboardDocked())
            return; // its height is in the form's already
        const TfrmKeyboard* keyboard = GetKeyboardForm();
        resize(keyboard->width(), keyboard->height() + height());
        DockKeyboard();
        Relayout();
        return;
    }
    UndockKeyboard();
    edSongSearch->setFont(font());
    lbTracks->setFont(font());
    obtnOK->setFont(lbTracks->font());
    obtnCancel->setFont(lbTracks->font());
    pnlTop->resize(pnlTop->width(), kPlainTopHeight);
    resize(kPlainWidth, kPlainHeight);
    Relayout();
}

QWidget* TfrmSongSearch::GetKeyboardPanel()
{
    return pnlBody;
}

void TfrmSongSearch::SendKey(std::uint16_t code, bool shift)
{
    edSongSearch->setFocus();
    if (code == 0) {
        edSongSearch->clear();
        return;
    }
    PostVirtualKey(code, shift, edSongSearch);
}

void TfrmSongSearch::edSongSearchChange()
{
    searchDue_->stop();
    results_.BeginUpdate();
    results_.Clear();
    const std::string text = platform::FromQString(edSongSearch->text());
    const TcustomJukeboxList* library = host_ != nullptr ? host_->SearchLibrary() : nullptr;
    if (!text.empty() && library != nullptr) {
        if (searchMode_ == smTitle)
            library->GlobalList().SearchTitle(text, results_);
        else
            library->Artists().Search(text, results_);
    }
    results_.EndUpdate();

    lbTracks->clear();
    QStringList lines;
    lines.reserve(results_.Count());
    for (int i = 0; i < results_.Count(); ++i)
        lines.append(platform::ToQString(results_.Strings(i)));
    lbTracks->addItems(lines);
}

void TfrmSongSearch::obtnSearchModeClick()
{
    searchMode_ = searchMode_ + 1 > smArtist ? smTitle : searchMode_ + 1;
    obtnSearchMode->SetCaption(searchMode_ == smArtist ? "by Artist" : "by Title");
    edSongSearch->clear();
    edSongSearchChange();
}

void TfrmSongSearch::obtnOKClick()
{
    accept();
}

void TfrmSongSearch::obtnCancelClick()
{
    reject();
}

void TfrmSongSearch::showEvent(QShowEvent* event)
{
    TkeyboardableForm::showEvent(event);
    if (event->spontaneous())
        return;
    edSongSearch->clear();
    edSongSearch->setFocus();
    FormResize();
}

void TfrmSongSearch::resizeEvent(QResizeEvent* event)
{
    TkeyboardableForm::resizeEvent(event);
    FormResize();
}

void TfrmSongSearch::FormResize()
{
    // Centred on the main window where it is, not at the screen's corner.
    CentreOnOwner(*this, host_ != nullptr ? host_->HostWindow() : nullptr);
}

int TfrmSongSearch::ItemHeight() const
{
    return QFontMetrics(lbTracks->font()).height() + 2;
}

const TaudioTag* SearchSong(TsongSearchHost* host, int keyboardWidth, int keyboardHeight, bool useKeyboard)
{
    if (host == nullptr)
        return nullptr;
    TfrmSongSearch form;
    form.SetJukebox(host);
    form.SetUseKeyboard(useKeyboard);
    if (useKeyboard)
        form.SetKeyboardSize(keyboardWidth, keyboardHeight);
    if (form.exec() != QDialog::Accepted)
        return nullptr;
    return form.SelectedSong();
}
