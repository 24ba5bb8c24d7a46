#include "controlstest.h"

#include "controls/htmlitemdelegate.h"
#include "controls/htmlrender.h"
#include "controls/noscrolltreeview.h"
#include "controls/treesinkmodel.h"
#include "support/guievents.h"

#include <QPainter>
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

namespace {

constexpr QColor kBranchBase(255, 255, 255);
constexpr QColor kBranchLine(10, 36, 106);
constexpr QColor kBranchText(0, 128, 0);

// [R] > A > a1, and B after A: the branch areas of a shown tree with the library's dotted lines.
struct BranchTree
{
    TtreeSinkModel model;
    TnoScrollTreeView tree;
    TtreeNode root, a, a1, b;

    BranchTree()
    {
        root = model.AddChild({}, "R", nullptr, tnkNone);
        a = model.AddChild(root, "A", nullptr, tnkNone);
        a1 = model.AddChild(a, "a1", nullptr, tnkNone);
        b = model.AddChild(root, "B", nullptr, tnkNone);
        QPalette p = tree.palette();
        p.setColor(QPalette::Base, kBranchBase);
        p.setColor(QPalette::Text, kBranchText);
        p.setColor(QPalette::Active, QPalette::Highlight, kBranchLine);
        p.setColor(QPalette::Inactive, QPalette::Highlight, kBranchLine);
        tree.setPalette(p);
        tree.setFont(TestFont(10));
        tree.setModel(&model);
        tree.setIndentation(19);
        tree.setRootIsDecorated(false);
        tree.SetDottedBranches(true);
        tree.resize(200, 120);
        tree.show();
        tree.expandAll();
        QApplication::processEvents();
    }

    QRect Row(TtreeNode node) const { return tree.visualRect(model.IndexOf(node)); }
    QImage Shot() { return tree.viewport()->grab().toImage(); }
};

bool Is(const QImage& image, int x, int y, const QColor& colour)
{
    return SameRgb(image.pixel(x, y), colour);
}

} // namespace

TEST_F(NoScrollTreeView, DottedBranchesFollowTheNodesAndTheirState)
{
    BranchTree t;
    QImage shot = t.Shot();
    // A: first-level node with children, expanded, with a sibling after it. Its column is x 0..18.
    const QRect a = t.Row(t.a);
    ASSERT_EQ(a.left(), 19);
    const int cx = 9;
    const int cy = a.top() + a.height() / 2;
    EXPECT_TRUE(Is(shot, cx - 4, cy, kBranchLine));
    EXPECT_TRUE(Is(shot, cx + 4, cy, kBranchLine));
    EXPECT_TRUE(Is(shot, cx, cy - 4, kBranchLine));
    EXPECT_TRUE(Is(shot, cx, cy + 4, kBranchLine));
    EXPECT_TRUE(Is(shot, cx, cy, kBranchText)); // minus
    EXPECT_TRUE(Is(shot, cx + 2, cy, kBranchText));
    EXPECT_TRUE(Is(shot, cx, cy - 2, kBranchBase));     // no plus while expanded
    EXPECT_TRUE(Is(shot, cx - 3, cy - 3, kBranchBase)); // the box is empty inside
    // Every second pixel from an even coordinate: to the item's edge, and on down to the sibling.
    EXPECT_TRUE(Is(shot, 14, cy, kBranchLine));
    EXPECT_TRUE(Is(shot, 15, cy, kBranchBase));
    EXPECT_TRUE(Is(shot, 18, cy, kBranchLine));
    EXPECT_TRUE(Is(shot, cx, a.top(), kBranchLine));
    EXPECT_TRUE(Is(shot, cx, a.top() + 1, kBranchBase));
    EXPECT_FALSE(ColorBox(shot.copy(cx, cy + 5, 1, a.bottom() - cy - 4), kBranchLine).isEmpty());

    // a1: second level, a leaf and the last child; A's column carries the line on to B.
    const QRect a1 = t.Row(t.a1);
    const int cy1 = a1.top() + a1.height() / 2;
    EXPECT_TRUE(ColorBox(shot.copy(cx, a1.top(), 1, a1.height()), kBranchLine).height() >= a1.height() - 1);
    EXPECT_TRUE(Is(shot, 28, a1.top(), kBranchLine));
    EXPECT_TRUE(Is(shot, 28, cy1 + (cy1 - a1.top()) % 2, kBranchLine));
    EXPECT_TRUE(ColorBox(shot.copy(28, cy1 + 1, 1, a1.bottom() - cy1), kBranchLine).isEmpty());
    EXPECT_TRUE(ColorBox(shot.copy(0, a1.top(), 38, a1.height()), kBranchText).isEmpty()); // no box

    // B: a leaf, the last child: no line below its middle; the top-level node has none at all.
    const QRect b = t.Row(t.b);
    const int cyb = b.top() + b.height() / 2;
    EXPECT_TRUE(Is(shot, 10, cyb, kBranchLine));
    EXPECT_TRUE(ColorBox(shot.copy(cx, cyb + 1, 1, b.bottom() - cyb), kBranchLine).isEmpty());
    const QRect r = t.Row(t.root);
    EXPECT_EQ(r.left(), 0);
    EXPECT_TRUE(ColorBox(shot.copy(0, r.top(), 4, r.height()), kBranchLine).isEmpty());

    // Collapsed: the plus appears and the children's rows go.
    t.tree.collapse(t.model.IndexOf(t.a));
    QApplication::processEvents();
    shot = t.Shot();
    EXPECT_TRUE(Is(shot, cx, cy - 2, kBranchText));
    EXPECT_TRUE(Is(shot, cx, cy + 2, kBranchText));
    EXPECT_EQ(t.Row(t.b).top(), a.bottom() + 1);

    // Off again: the style draws its own branches.
    t.tree.SetDottedBranches(false);
    QApplication::processEvents();
    EXPECT_FALSE(Is(t.Shot(), 14, cy, kBranchLine));
}

// The model's image function hears whether the view shows the node expanded and selected; a tinted
// image is drawn on the tree's colour with full red in every pixel that is not black.
TEST_F(NoScrollTreeView, NodeImagesFollowTheirStateAndTintOnRequest)
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.fillRect(0, 0, 8, 16, QColor(0, 0, 255));
        painter.fillRect(8, 0, 4, 16, Qt::black);
    }
    const QIcon icon(picture);
    const QImage tinted = ThtmlItemDelegate::TintedImage(icon, {16, 16}, QColor(0, 200, 100));
    EXPECT_TRUE(Is(tinted, 2, 2, QColor(255, 0, 255)));
    EXPECT_TRUE(Is(tinted, 9, 2, Qt::black));
    EXPECT_TRUE(Is(tinted, 14, 2, QColor(255, 200, 100))); // the tree's colour behind the picture

    BranchTree t;
    QPixmap closed(16, 16), open(16, 16);
    closed.fill(QColor(0, 255, 0));
    open.fill(QColor(255, 0, 0));
    std::vector<std::string> asked;
    t.model.SetImageFunction([&](const TtreeSinkModel& m, TtreeNode node, TtreeSinkModel::NodeState state) {
        asked.push_back(std::string(m.Text(node)) + (state.Expanded ? " open" : "") +
                        (state.Selected ? " selected" : ""));
        if (node == t.b)
            return TtreeSinkModel::NodeImage{icon, state.Selected};
        return TtreeSinkModel::NodeImage{QIcon(state.Expanded ? open : closed), false};
    });
    t.tree.Delegate().SetImageMargin(4);
    t.tree.Delegate().SetHighlightCaptionOnly(true);
    t.tree.setCurrentIndex(t.model.IndexOf(t.b));
    QApplication::processEvents();
    asked.clear();
    const QImage shot = t.Shot();
    EXPECT_NE(std::find(asked.begin(), asked.end(), "A open"), asked.end());
    EXPECT_NE(std::find(asked.begin(), asked.end(), "a1"), asked.end());
    EXPECT_NE(std::find(asked.begin(), asked.end(), "B selected"), asked.end());

    const QRect a = t.Row(t.a);
    const int imageTop = a.top() + (a.height() - 16) / 2;
    EXPECT_EQ(ColorBox(shot.copy(a), QColor(255, 0, 0)), QRect(4, imageTop - a.top(), 16, 16));
    const QRect a1 = t.Row(t.a1);
    EXPECT_FALSE(ColorBox(shot.copy(a1), QColor(0, 255, 0)).isEmpty());
    // B is selected: its image tinted on the tree's colour, its caption alone highlighted.
    const QRect b = t.Row(t.b);
    const QImage row = shot.copy(b);
    EXPECT_EQ(ColorBox(row, QColor(255, 0, 255)).width(), 8);
    EXPECT_EQ(ColorBox(row, QColor(255, 0, 255)).left(), 4);
    EXPECT_TRUE(ColorBox(row, QColor(0, 0, 255)).isEmpty());
    const QRect highlight = ColorBox(row, kBranchLine);
    EXPECT_GE(highlight.left(), 4 + 16);
    EXPECT_TRUE(Is(row, row.width() - 2, row.height() / 2, kBranchBase));

    // Views without the state (the decoration role) ask for a collapsed, unselected node.
    asked.clear();
    (void)t.model.data(t.model.IndexOf(t.a), Qt::DecorationRole);
    EXPECT_EQ(asked, (std::vector<std::string>{"A"}));
}
