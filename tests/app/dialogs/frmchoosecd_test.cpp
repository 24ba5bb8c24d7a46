#include "app/dialogs/frmchoosecd.h"
#include "controls/noscrolltreeview.h"
#include "controls/treesinkmodel.h"
#include "core/groupings/audiotagalbum.h"
#include "markup/fontdesc.h"
#include "support/generatedlibrary.h"
#include "support/guievents.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include <functional>

namespace {

TlibraryShape Shape()
{
    return TlibraryShape{.Songs = 300, .Artists = 30, .Albums = 40, .Genres = 4, .CompilationEvery = 8};
}

TaudioTagAlbum* const kUntouched = reinterpret_cast<TaudioTagAlbum*>(0x10);

// Runs ChooseAlbum and works the chooser once it is up; the work must close it.
bool RunChooser(TcustomJukeboxList* library, TaudioTagAlbum*& album, std::function<void(TfrmChooseCD&)> work)
{
    WhenModal([work = std::move(work)](QWidget* shown) {
        if (auto* chooser = qobject_cast<TfrmChooseCD*>(shown))
            return work(*chooser);
        ADD_FAILURE() << "no chooser";
        shown->close();
    });
    return ChooseAlbum(library, album);
}

// Makes the first album under the compilations root current; answers it.
TaudioTagAlbum* PickCompilation(TfrmChooseCD& chooser)
{
    TtreeSinkModel& model = chooser.Model();
    const TtreeNode node = model.Child(chooser.Viewer().GetCompilationsNode(), 0);
    chooser.Tree()->setCurrentIndex(model.IndexOf(node));
    return model.Kind(node) == tnkAlbum ? static_cast<TaudioTagAlbum*>(model.Data(node)) : nullptr;
}

} // namespace

TEST(ChooseCD, WithoutALibraryNothingIsMadeOrShown)
{
    EXPECT_EQ(CreateChooseAlbumForm(nullptr, nullptr, clWhite), nullptr);
    TaudioTagAlbum* album = kUntouched;
    EXPECT_FALSE(ChooseAlbum(nullptr, album));
    EXPECT_EQ(album, kUntouched);

    TgeneratedLibrary library(Shape());
    TFontDesc font;
    font.Name = "DejaVu Serif";
    font.Color = RGBColor(200, 10, 10);
    const auto chooser = CreateChooseAlbumForm(&library, &font, RGBColor(10, 20, 30));
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->JukeboxList(), &library);
    EXPECT_EQ(chooser->Tree()->palette().color(QPalette::Base), QColor(10, 20, 30));
    EXPECT_EQ(chooser->Tree()->palette().color(QPalette::Text), QColor(200, 10, 10));
    EXPECT_EQ(chooser->Tree()->font().family(), "DejaVu Serif");
}

TEST(ChooseCD, OkHandsOutTheSelectedAlbumOrNoneAndCancelNone)
{
    TgeneratedLibrary library(Shape());
    TaudioTagAlbum* album = kUntouched;
    int roots = 0;
    EXPECT_TRUE(RunChooser(&library, album, [&](TfrmChooseCD& chooser) {
        roots = chooser.Model().ChildCount({});
        QTest::mouseClick(chooser.OkButton(), Qt::LeftButton);
    }));
    EXPECT_EQ(album, nullptr);
    // Showing filled the tree: every letter and digit root, "[Other]" and "[Compilations]".
    EXPECT_EQ(roots, 38);

    TaudioTagAlbum* expected = nullptr;
    EXPECT_TRUE(RunChooser(&library, album, [&](TfrmChooseCD& chooser) {
        expected = PickCompilation(chooser);
        QTest::mouseClick(chooser.OkButton(), Qt::LeftButton);
    }));
    ASSERT_NE(expected, nullptr);
    EXPECT_TRUE(expected->Compilation());
    EXPECT_EQ(album, expected);

    EXPECT_FALSE(RunChooser(&library, album, [&](TfrmChooseCD& chooser) {
        PickCompilation(chooser);
        QTest::keyClick(chooser.Tree(), Qt::Key_Escape);
    }));
    EXPECT_EQ(album, nullptr);
}

TEST(ChooseCD, OnlyAlbumsStaySelectedAndLettersJumpToTheirRoots)
{
    TgeneratedLibrary library(Shape());
    TfrmChooseCD chooser;
    chooser.SetJukeboxList(&library);
    chooser.show();
    TtreeSinkModel& model = chooser.Model();
    TnoScrollTreeView* tree = chooser.Tree();
    QItemSelectionModel* selection = tree->selectionModel();
    const TtreeNode artist = model.Child(chooser.Viewer().GetAlphaNode('B'), 0);
    ASSERT_EQ(model.Kind(artist), tnkArtist);
    tree->setCurrentIndex(model.IndexOf(artist));
    EXPECT_FALSE(selection->hasSelection());
    const QModelIndex album = model.IndexOf(model.Child(artist, 0));
    tree->setCurrentIndex(album);
    EXPECT_EQ(selection->selectedIndexes(), QModelIndexList{album});

    const QModelIndex qRoot = model.IndexOf(chooser.Viewer().GetAlphaNode('Q'));
    EXPECT_EQ(qRoot.data(TtreeSinkModel::NodeTextRole).toString(), "[Q]");
    QTest::keyClick(tree, Qt::Key_Q);
    EXPECT_EQ(tree->currentIndex(), qRoot);
    EXPECT_FALSE(selection->hasSelection());
    QTest::keyClick(tree, Qt::Key_M, Qt::ShiftModifier);
    EXPECT_EQ(tree->currentIndex(), model.IndexOf(chooser.Viewer().GetAlphaNode('M')));
    QTest::keyClick(tree, Qt::Key_Q, Qt::ShiftModifier);
    EXPECT_EQ(tree->currentIndex(), qRoot);
    // A digit is no letter.
    QTest::keyClick(tree, Qt::Key_7);
    EXPECT_EQ(tree->currentIndex(), qRoot);
    chooser.accept();
    EXPECT_EQ(chooser.ChosenAlbum(), nullptr);
}
