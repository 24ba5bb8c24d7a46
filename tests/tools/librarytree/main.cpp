// Library tree demo: a generated library in library trees with tagged captions: the browser's tree (every
// display mode; two views of one model, its top and its bottom) and the album chooser's (albums and
// compilations, letter roots only where needed).
// A test tool; `--screenshot file.png` saves the window and quits.

#include "controls/noscrolltreeview.h"
#include "controls/qtcolor.h"
#include "controls/treesinkmodel.h"
#include "core/captions/librarytreecaption.h"
#include "core/captions/tagfonts.h"
#include "core/tree/customjukeboxlistviewer.h"
#include "support/generatedlibrary.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <QVBoxLayout>

#include <array>

namespace {

TFontDesc Font(int size, TColor color, TFontStyles style = {})
{
    TFontDesc font;
    font.Name = "DejaVu Sans";
    font.Size = size;
    font.Color = color;
    font.Style = style;
    return font;
}

void SetFonts(TtagFonts& fonts)
{
    fonts.BeginUpdate();
    fonts.SetArtistFont(Font(10, RGBColor(20, 40, 120), {TFontStyle::fsBold}));
    fonts.SetAlbumFont(Font(10, RGBColor(0, 100, 40), {TFontStyle::fsItalic}));
    fonts.SetTitleFont(Font(10, RGBColor(0, 0, 0)));
    fonts.SetCharacterFont(Font(9, RGBColor(120, 120, 120)));
    fonts.SetDurationFont(Font(8, RGBColor(110, 110, 110)));
    fonts.SetIndexFont(Font(10, RGBColor(140, 30, 30), {TFontStyle::fsBold}));
    fonts.EndUpdate();
}

// One tree of the window with its model and builder.
struct Tree
{
    TcustomJukeboxListViewer viewer;
    TtreeSinkModel model;
    TnoScrollTreeView* view = nullptr;

    Tree(TcustomJukeboxList& library, const TtagFonts& fonts, bool showEmptyAlphas,
         TtreeViewDisplayModes modes)
    {
        viewer.SetJukeboxList(&library);
        viewer.SetShowEmptyAlphas(showEmptyAlphas);
        viewer.SetDisplayMode(modes);
        model.SetCaptionFunction([&fonts](const TtreeSinkModel& m, TtreeNode node) {
            return LibraryTreeCaption(fonts, {m.Text(node), m.Data(node), m.Kind(node),
                                              !m.Parent(node).IsNull(), m.ChildCount(node)});
        });
        QStyle* style = QApplication::style();
        const std::array<QIcon, 5> icons = {
            style->standardIcon(QStyle::SP_DirClosedIcon),          // tnkNone
            style->standardIcon(QStyle::SP_FileDialogDetailedView), // tnkList
            style->standardIcon(QStyle::SP_DriveCDIcon),            // tnkAlbum
            style->standardIcon(QStyle::SP_DirIcon),                // tnkArtist
            style->standardIcon(QStyle::SP_DirLinkIcon),            // tnkGenre
        };
        model.SetImageFunction([icons](const TtreeSinkModel& m, TtreeNode node, TtreeSinkModel::NodeState) {
            return TtreeSinkModel::NodeImage{icons[m.Kind(node)]};
        });
        view = NewView();
        viewer.FillTree(model);
    }

    // Another view of the same model; the window owns it once it is laid out.
    TnoScrollTreeView* NewView()
    {
        auto* made = new TnoScrollTreeView;
        made->setIndentation(19);
        made->setModel(&model);
        return made;
    }

    void Expand(TnoScrollTreeView* in, TtreeNode node, int depth = 1)
    {
        if (!node)
            return;
        in->expand(model.IndexOf(node));
        if (depth > 1 && model.ChildCount(node) > 0)
            Expand(in, model.Child(node, 0), depth - 1);
    }
    void Expand(TtreeNode node, int depth = 1) { Expand(view, node, depth); }
};

QWidget* Column(const QString& caption, QWidget* tree)
{
    auto* column = new QWidget;
    auto* v = new QVBoxLayout(column);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(new QLabel(caption));
    v->addWidget(tree, 1);
    return column;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    InstallPaletteColorResolver();
    QString screenshot;
    const QStringList args = app.arguments();
    const int at = int(args.indexOf("--screenshot"));
    if (at >= 0 && at + 1 < args.size())
        screenshot = args.at(at + 1);

    TlibraryShape shape;
    shape.Songs = 900;
    shape.Artists = 48;
    shape.Albums = 110;
    shape.Genres = 8;
    TgeneratedLibrary library(shape);
    library.AddPlaylist("Party Mix", 24);
    library.AddPlaylist("Late Night", 9);
    TtagFonts fonts;
    SetFonts(fonts);

    Tree browser(library, fonts, true, 0x7F);
    Tree chooser(library, fonts, false, dmAlbums | dmCompilations);
    browser.Expand(browser.viewer.GetAlphaNode('A'), 2);
    browser.Expand(browser.viewer.GetAlphaNode('T'));
    browser.view->setCurrentIndex(
        browser.model.IndexOf(browser.model.Child(browser.viewer.GetAlphaNode('A'), 0)));
    TnoScrollTreeView* bottom = browser.NewView();
    browser.Expand(bottom, browser.viewer.GetOtherNode());
    browser.Expand(bottom, browser.viewer.GetCompilationsNode());
    browser.Expand(bottom, browser.viewer.GetPlaylistsNode());
    browser.Expand(bottom, browser.viewer.GetGenresNode(), 3);
    chooser.Expand(chooser.viewer.GetCompilationsNode());
    chooser.Expand(chooser.viewer.GetAlphaNode('B'), 2);
    chooser.Expand(chooser.viewer.GetAlphaNode('C'));

    QWidget window;
    window.setWindowTitle("Library tree");
    auto* row = new QHBoxLayout(&window);
    row->addWidget(Column("Browser: every display mode", browser.view), 1);
    row->addWidget(Column("The same tree further down", bottom), 1);
    row->addWidget(Column("Album chooser: albums and compilations", chooser.view), 1);
    window.resize(1400, 900);
    window.show();
    bottom->scrollTo(browser.model.IndexOf(browser.viewer.GetOtherNode()), QAbstractItemView::PositionAtTop);

    if (!screenshot.isEmpty()) {
        QTimer::singleShot(300, [&] {
            const bool saved = window.grab().save(screenshot);
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
