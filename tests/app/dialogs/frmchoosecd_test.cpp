#include "app/dialogs/frmchoosecd.h"
#include "controls/noscrolltreeview.h"
#include "controls/qtcolor.h"
#include "controls/treesinkmodel.h"
#include "core/groupings/audiotagalbum.h"
#include "markup/fontdesc.h"
#include "support/generatedlibrary.h"
#include "support/whenmodal.h"

#include <gtest/gtest.h>

#include <QIcon>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace {

TlibraryShape Shape()
{
    return TlibraryShape{.Songs = 300, .Artists = 30, .Albums = 40, .Genres = 4, .CompilationEvery = 8};
}

// The first album node under a root, found depth-first.
TtreeNode FirstAlbum(const TtreeSinkModel& model, TtreeNode under)
{
    for (int i = 0; i < model.ChildCount(under); ++i) {
        const TtreeNode child = model.Child(under, i);
        if (model.Kind(child) == tnkAlbum)
            return child;
        if (const TtreeNode found = FirstAlbum(model, child))
            return found;
    }
    return {};
}

// Runs ChooseAlbum and works the chooser once it is up; the work must close it.
bool RunChooser(TcustomJukeboxList* library, TaudioTagAlbum*& album, std::function<void(TfrmChooseCD&)> work)
{
    WhenModal([work = std::move(work)](QWidget* shown) {
        auto* chooser = qobject_cast<TfrmChooseCD*>(shown);
        if (!chooser) {
            ADD_FAILURE() << "no chooser";
            shown->close();
            return;
        }
        work(*chooser);
    });
    return ChooseAlbum(library, album);
}

TaudioTagAlbum* const kUntouched = reinterpret_cast<TaudioTagAlbum*>(0x10);

} // namespace

TEST(ChooseCD, WithoutALibraryNothingIsShownAndTheAlbumIsLeftAlone)
{
    EXPECT_EQ(CreateChooseAlbumForm(nullptr, nullptr, clWhite), nullptr);
    TaudioTagAlbum* album = kUntouched;
    EXPECT_FALSE(ChooseAlbum(nullptr, album));
    EXPECT_EQ(album, kUntouched);
}

TEST(ChooseCD, OkWithoutASelectedAlbumAnswersTrueWithNoAlbum)
{
    TgeneratedLibrary library(Shape());
    TaudioTagAlbum* album = kUntouched;
    QString caption;
    int roots = 0;
    const bool ok = RunChooser(&library, album, [&](TfrmChooseCD& chooser) {
        caption = chooser.windowTitle();
        roots = chooser.Model().ChildCount({});
        QTest::mouseClick(chooser.OkButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(album, nullptr);
    EXPECT_EQ(caption, "Choose CD");
    // Showing filled the tree: every letter and digit root, "[Other]" and "[Compilations]".
    EXPECT_EQ(roots, 38);
}

TEST(ChooseCD, OkHandsOutTheSelectedAlbumAndCancelNone)
{
    TgeneratedLibrary library(Shape());
    TaudioTagAlbum* expected = nullptr;
    TaudioTagAlbum* album = nullptr;
    auto selectFirstCompilation = [&](TfrmChooseCD& chooser) {
        TtreeSinkModel& model = chooser.Model();
        const TtreeNode node = FirstAlbum(model, chooser.Viewer().GetCompilationsNode());
        expected = static_cast<TaudioTagAlbum*>(model.Data(node));
        chooser.Tree()->setCurrentIndex(model.IndexOf(node));
    };
    EXPECT_TRUE(RunChooser(&library, album, [&](TfrmChooseCD& chooser) {
        selectFirstCompilation(chooser);
        QTest::mouseClick(chooser.OkButton(), Qt::LeftButton);
    }));
    ASSERT_NE(expected, nullptr);
    EXPECT_TRUE(expected->Compilation());
    EXPECT_EQ(album, expected);

    EXPECT_FALSE(RunChooser(&library, album, [&](TfrmChooseCD& chooser) {
        selectFirstCompilation(chooser);
        QTest::keyClick(chooser.Tree(), Qt::Key_Escape);
    }));
    EXPECT_EQ(album, nullptr);
}

TEST(ChooseCD, OnlyAlbumNodesStaySelected)
{
    TgeneratedLibrary library(Shape());
    TfrmChooseCD chooser;
    chooser.SetJukeboxList(&library);
    chooser.FillTree();
    TtreeSinkModel& model = chooser.Model();
    QItemSelectionModel* selection = chooser.Tree()->selectionModel();
    const TtreeNode root = chooser.Viewer().GetAlphaNode('B');
    const TtreeNode artist = model.Child(root, 0);
    ASSERT_EQ(model.Kind(artist), tnkArtist);

    chooser.Tree()->setCurrentIndex(model.IndexOf(root));
    EXPECT_FALSE(selection->hasSelection());
    chooser.Tree()->setCurrentIndex(model.IndexOf(artist));
    EXPECT_FALSE(selection->hasSelection());
    EXPECT_EQ(chooser.Tree()->currentIndex(), model.IndexOf(artist));
    const QModelIndex album = model.IndexOf(model.Child(artist, 0));
    chooser.Tree()->setCurrentIndex(album);
    EXPECT_EQ(selection->selectedIndexes(), QModelIndexList{album});
}

TEST(ChooseCD, TypingALetterMakesItsRootCurrentInEitherCase)
{
    TgeneratedLibrary library(Shape());
    TaudioTagAlbum* album = kUntouched;
    QString rootText;
    bool afterLower = false, movedOn = false, afterUpper = false, afterDigit = false, selected = true;
    const bool ok = RunChooser(&library, album, [&](TfrmChooseCD& chooser) {
        TnoScrollTreeView* tree = chooser.Tree();
        const QModelIndex qRoot = chooser.Model().IndexOf(chooser.Viewer().GetAlphaNode('Q'));
        rootText = qRoot.data(TtreeSinkModel::NodeTextRole).toString();
        QTest::keyClick(tree, Qt::Key_Q);
        afterLower = tree->currentIndex() == qRoot;
        QTest::keyClick(tree, Qt::Key_M, Qt::ShiftModifier);
        movedOn = tree->currentIndex() == chooser.Model().IndexOf(chooser.Viewer().GetAlphaNode('M'));
        QTest::keyClick(tree, Qt::Key_Q, Qt::ShiftModifier);
        afterUpper = tree->currentIndex() == qRoot;
        selected = tree->selectionModel()->hasSelection();
        // A digit is no letter: the tree keeps its place.
        QTest::keyClick(tree, Qt::Key_7);
        afterDigit = tree->currentIndex() == qRoot;
        QTest::mouseClick(chooser.OkButton(), Qt::LeftButton);
    });
    EXPECT_EQ(rootText, "[Q]");
    EXPECT_TRUE(afterLower);
    EXPECT_TRUE(movedOn);
    EXPECT_TRUE(afterUpper);
    EXPECT_TRUE(afterDigit);
    EXPECT_FALSE(selected);
    // A root is no album: OK still hands out none.
    EXPECT_TRUE(ok);
    EXPECT_EQ(album, nullptr);
}

TEST(ChooseCD, NodeImagesFollowExpansionAndSelection)
{
    TgeneratedLibrary library(Shape());
    TfrmChooseCD chooser;
    chooser.SetJukeboxList(&library);
    chooser.FillTree();
    chooser.show();
    const TtreeSinkModel& model = chooser.Model();
    auto image = [&](const QModelIndex& index) {
        return qvariant_cast<QIcon>(index.data(Qt::DecorationRole)).cacheKey();
    };
    const QModelIndex root = model.IndexOf(chooser.Viewer().GetCompilationsNode());
    const QModelIndex album = model.IndexOf(FirstAlbum(model, chooser.Viewer().GetCompilationsNode()));
    const auto closedRoot = image(root);
    const auto plainAlbum = image(album);
    chooser.Tree()->expand(root);
    EXPECT_NE(image(root), closedRoot);
    chooser.Tree()->setCurrentIndex(album);
    EXPECT_NE(image(album), plainAlbum);
    chooser.Tree()->collapse(root);
    EXPECT_EQ(image(root), closedRoot);

    EXPECT_EQ(TfrmChooseCD::ImageIndex(tnkNone, false, false, true, true), TfrmChooseCD::kLeafImage);
    EXPECT_EQ(TfrmChooseCD::ImageIndex(tnkArtist, true, false, false, true), TfrmChooseCD::kClosedImage);
}

TEST(ChooseCD, TheTreeTakesTheGivenColourAndFont)
{
    TgeneratedLibrary library(Shape());
    TFontDesc font;
    font.Name = "DejaVu Serif";
    font.Size = 14;
    font.Color = RGBColor(200, 10, 10);
    const auto chooser = CreateChooseAlbumForm(&library, &font, RGBColor(10, 20, 30));
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->JukeboxList(), &library);
    const QWidget* tree = chooser->Tree();
    EXPECT_EQ(tree->palette().color(QPalette::Base), QColor(10, 20, 30));
    EXPECT_EQ(tree->palette().color(QPalette::Text), QColor(200, 10, 10));
    EXPECT_EQ(tree->font().family(), "DejaVu Serif");
    EXPECT_EQ(tree->font().pointSize(), 14);

    const auto plain = CreateChooseAlbumForm(&library, nullptr, clWhite);
    EXPECT_EQ(plain->Tree()->palette().color(QPalette::Base), QColor(Qt::white));
}
