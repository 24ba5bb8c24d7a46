#include "app/dialogs/frmchoosecd.h"

#include "app/qt/helpers/guiutils.h"
#include "app/qt/services/exceptionboundary.h"
#include "controls/noscrolltreeview.h"
#include "controls/qtcolor.h"
#include "controls/qtfont.h"
#include "controls/treesinkmodel.h"
#include "core/groupings/audiotagalbum.h"
#include "core/jukebox/customjukeboxlist.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <array>

namespace {

QIcon NodeIcon(int image)
{
    QStyle* style = QApplication::style();
    switch (image) {
    case TfrmChooseCD::kOpenImage:
        return style->standardIcon(QStyle::SP_DirOpenIcon);
    case TfrmChooseCD::kAlbumImage:
        return style->standardIcon(QStyle::SP_DriveCDIcon);
    case TfrmChooseCD::kOpenAlbumImage:
        return style->standardIcon(QStyle::SP_DriveDVDIcon);
    case TfrmChooseCD::kLeafImage:
        return style->standardIcon(QStyle::SP_FileIcon);
    default:
        return style->standardIcon(QStyle::SP_DirClosedIcon);
    }
}

} // namespace

TfrmChooseCD::TfrmChooseCD(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmChooseCD");
    setWindowTitle("Choose CD");
    resize(360, 460);
    viewer_.SetDisplayMode(dmAlbums | dmCompilations);

    model_ = new TtreeSinkModel(this);
    tvChooseCD = new TnoScrollTreeView(this);
    tvChooseCD->setObjectName("tvChooseCD");
    tvChooseCD->setHeaderHidden(true);
    tvChooseCD->setModel(model_);
    tvChooseCD->setSelectionMode(QAbstractItemView::SingleSelection);
    tvChooseCD->installEventFilter(this);
    // No skinnable scroll bar here: the view shows its native one.
    tvChooseCD->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    std::array<QIcon, kOpenAlbumImage + 1> icons;
    for (int i = 0; i < static_cast<int>(icons.size()); ++i)
        icons[static_cast<std::size_t>(i)] = NodeIcon(i);
    model_->SetImageFunction(
        [icons](const TtreeSinkModel& model, TtreeNode node, TtreeSinkModel::NodeState state) {
            const int image = ImageIndex(model.Kind(node), model.Data(node) != nullptr,
                                         model.ChildCount(node) > 0, state.Expanded, state.Selected);
            return TtreeSinkModel::NodeImage{icons[static_cast<std::size_t>(image)], false};
        });
    connect(tvChooseCD->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { DropNonAlbums(); });

    QHBoxLayout* const buttons = MakeOkCancelButtons(*this, btnOK, btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tvChooseCD, 1);
    layout->addLayout(buttons);
    SetTreeColors(nullptr, clWhite);
}

TfrmChooseCD::~TfrmChooseCD()
{
    // The tree goes before the model's nodes, so nothing asks for an image on the way out.
    model_->SetImageFunction(nullptr);
}

void TfrmChooseCD::SetJukeboxList(TcustomJukeboxList* library)
{
    viewer_.SetJukeboxList(library);
}

TcustomJukeboxList* TfrmChooseCD::JukeboxList() const
{
    return viewer_.JukeboxList();
}

void TfrmChooseCD::SetTreeColors(const TFontDesc* font, TColor color)
{
    if (font)
        ApplyFontDesc(*tvChooseCD, *font);
    QPalette palette = tvChooseCD->palette();
    palette.setColor(QPalette::Base, ToQColor(color));
    tvChooseCD->setPalette(palette);
}

void TfrmChooseCD::FillTree()
{
    chosenAlbum_ = nullptr;
    viewer_.FillTree(*model_);
}

bool TfrmChooseCD::SelectAlpha(char letter)
{
    const char upper = letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
    if (upper < 'A' || upper > 'Z')
        return false;
    const TtreeNode root = viewer_.GetAlphaNode(upper);
    if (!root)
        return true;
    const QModelIndex index = model_->IndexOf(root);
    tvChooseCD->setCurrentIndex(index);
    tvChooseCD->scrollTo(index, QAbstractItemView::PositionAtTop);
    return true;
}

int TfrmChooseCD::ImageIndex(TtreeNodeKind kind, bool hasData, bool hasChildren, bool expanded, bool selected)
{
    if (kind == tnkAlbum)
        return expanded || selected ? kOpenAlbumImage : kAlbumImage;
    if (hasData || hasChildren)
        return expanded ? kOpenImage : kClosedImage;
    return kLeafImage;
}

void TfrmChooseCD::accept()
{
    chosenAlbum_ = SelectedAlbum();
    QDialog::accept();
}

void TfrmChooseCD::reject()
{
    chosenAlbum_ = nullptr;
    QDialog::reject();
}

void TfrmChooseCD::showEvent(QShowEvent* event)
{
    Guarded([this] { FillTree(); });
    QDialog::showEvent(event);
}

bool TfrmChooseCD::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tvChooseCD && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.size() == 1 && text.at(0).unicode() < 0x80 && SelectAlpha(text.at(0).toLatin1()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmChooseCD::DropNonAlbums()
{
    QItemSelectionModel* selection = tvChooseCD->selectionModel();
    for (const QModelIndex& index : selection->selectedIndexes())
        if (model_->Kind(model_->NodeOf(index)) != tnkAlbum)
            selection->select(index, QItemSelectionModel::Deselect);
}

TaudioTagAlbum* TfrmChooseCD::SelectedAlbum() const
{
    for (const QModelIndex& index : tvChooseCD->selectionModel()->selectedIndexes()) {
        const TtreeNode node = model_->NodeOf(index);
        if (model_->Kind(node) == tnkAlbum)
            return static_cast<TaudioTagAlbum*>(model_->Data(node));
    }
    return nullptr;
}

std::unique_ptr<TfrmChooseCD> CreateChooseAlbumForm(TcustomJukeboxList* library, const TFontDesc* font,
                                                    TColor color, QWidget* parent)
{
    if (!library)
        return nullptr;
    auto chooser = std::make_unique<TfrmChooseCD>(parent);
    chooser->SetJukeboxList(library);
    chooser->SetTreeColors(font, color);
    return chooser;
}

bool ChooseAlbum(TcustomJukeboxList* library, TaudioTagAlbum*& album, const TFontDesc* font, TColor color,
                 QWidget* parent)
{
    const std::unique_ptr<TfrmChooseCD> chooser = CreateChooseAlbumForm(library, font, color, parent);
    if (!chooser)
        return false;
    chooser->Tree()->setSelectionMode(QAbstractItemView::SingleSelection);
    const bool ok = chooser->exec() == QDialog::Accepted;
    album = chooser->ChosenAlbum();
    return ok;
}
