#include "controlstest.h"

#include "controls/htmlitemdelegate.h"
#include "controls/htmlrender.h"
#include "controls/noscrolltreeview.h"
#include "support/guievents.h"

#include <QScrollBar>
#include <QStandardItemModel>
#include <QTest>
#include <QWheelEvent>

using NoScrollTreeView = ControlsTest;

namespace {

// Artists with albums below them.
std::unique_ptr<QStandardItemModel> Library(int artists, int albums)
{
    auto model = std::make_unique<QStandardItemModel>();
    for (int a = 0; a < artists; ++a) {
        auto* artist = new QStandardItem(QString("<b>Artist %1</b> (%2 Albums)").arg(a).arg(albums));
        for (int b = 0; b < albums; ++b)
            artist->appendRow(new QStandardItem(QString("Album %1").arg(b)));
        model->appendRow(artist);
    }
    return model;
}

} // namespace

TEST_F(NoScrollTreeView, ScrollsByWheelWithoutScrollBarsAndReportsEachTurn)
{
    TnoScrollTreeView tree;
    const auto model = Library(200, 2);
    tree.setModel(model.get());
    tree.resize(200, 150);
    tree.show();
    QApplication::processEvents();
    EXPECT_FALSE(tree.verticalScrollBar()->isVisible());
    EXPECT_FALSE(tree.horizontalScrollBar()->isVisible());
    EXPECT_GT(tree.verticalScrollBar()->maximum(), 0);

    int scrolled = 0;
    tree.OnScrolled = [&](QObject* sender) {
        EXPECT_EQ(sender, &tree);
        ++scrolled;
    };
    Wheel(tree.viewport(), -120);
    EXPECT_EQ(scrolled, 1);
    const int afterOne = tree.verticalScrollBar()->value();
    EXPECT_GT(afterOne, 0);
    Wheel(tree.viewport(), -120);
    EXPECT_EQ(scrolled, 2);
    EXPECT_GT(tree.verticalScrollBar()->value(), afterOne);

    // Keyboard navigation and scrolling from code stay silent.
    tree.setFocus();
    tree.setCurrentIndex(model->index(0, 0));
    QTest::keyClick(&tree, Qt::Key_PageDown);
    QTest::keyClick(&tree, Qt::Key_End);
    tree.scrollTo(model->index(100, 0));
    tree.verticalScrollBar()->setValue(5);
    EXPECT_EQ(scrolled, 2);
}

TEST_F(NoScrollTreeView, LargeTreesCreateNoWidgetPerNode)
{
    TnoScrollTreeView tree;
    EXPECT_TRUE(tree.uniformRowHeights());
    EXPECT_NE(dynamic_cast<ThtmlItemDelegate*>(tree.itemDelegate()), nullptr);
    tree.resize(300, 400);
    tree.show();
    QApplication::processEvents();
    const auto before = tree.findChildren<QWidget*>().size();

    const auto model = Library(2000, 4);
    tree.setModel(model.get());
    tree.expandAll();
    tree.grab();
    QApplication::processEvents();
    EXPECT_EQ(tree.findChildren<QWidget*>().size(), before);
    // Editing would show the raw mark-up: the tree is read-only.
    tree.edit(model->index(0, 0));
    EXPECT_EQ(tree.findChildren<QWidget*>().size(), before);
}

TEST_F(NoScrollTreeView, CaptionsAreDrawnAsTaggedText)
{
    TnoScrollTreeView tree;
    QPalette p = tree.palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, Qt::blue);
    p.setColor(QPalette::Active, QPalette::Highlight, QColor(10, 36, 106));
    p.setColor(QPalette::Active, QPalette::HighlightedText, QColor(255, 255, 0));
    tree.setPalette(p);
    tree.setFont(TestFont(12));
    QStandardItemModel model;
    model.appendRow(new QStandardItem("Plain<font color=#FF0000>Red"));
    model.appendRow(new QStandardItem("<b>Other"));
    tree.setModel(&model);
    tree.resize(300, 100);
    tree.show();
    QApplication::processEvents();

    const QRect first = tree.visualRect(model.index(0, 0));
    QImage image = tree.viewport()->grab().toImage();
    QImage row = image.copy(first);
    EXPECT_FALSE(ColorBox(row, Qt::red).isEmpty());
    EXPECT_FALSE(ColorBox(row, Qt::blue).isEmpty());
    QStyleOptionViewItem option;
    option.font = tree.font();
    EXPECT_EQ(first.height(), tree.itemDelegate()->sizeHint(option, model.index(0, 0)).height());

    tree.setCurrentIndex(model.index(0, 0));
    image = tree.viewport()->grab().toImage();
    row = image.copy(first);
    EXPECT_TRUE(ColorBox(row, Qt::red).isEmpty());
    EXPECT_TRUE(ColorBox(row, Qt::blue).isEmpty());
    EXPECT_FALSE(ColorBox(row, QColor(255, 255, 0)).isEmpty());
    EXPECT_TRUE(SameRgb(row.pixel(row.width() - 2, row.height() / 2), QColor(10, 36, 106)));

    const QSize hint = tree.itemDelegate()->sizeHint(option, model.index(1, 0));
    EXPECT_GE(hint.width(), MeasureTaggedText("<b>Other", tree.font()).width());
}
