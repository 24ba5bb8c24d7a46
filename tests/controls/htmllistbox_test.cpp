#include "controlstest.h"

#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "controls/imagelist.h"
#include "controls/qtfont.h"
#include "support/guievents.h"

#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <memory>

using HtmlListBox = ControlsTest;
using HtmlListItems = ControlsTest;

namespace {

constexpr QColor kText(0, 0, 200);
constexpr QColor kBase(250, 250, 240);
constexpr QColor kHighlight(10, 36, 106);
constexpr QColor kHighlightText(255, 255, 0);

void SetUpColours(ThtmlListBox& box)
{
    box.SetLFont({"DejaVu Sans", 10, FromQColor(kText), {}});
    QFont font = box.font();
    font.setStyleStrategy(QFont::NoAntialias);
    box.setFont(font);
    box.SetColor(FromQColor(kBase));
    QPalette p = box.palette();
    p.setColor(QPalette::Active, QPalette::Highlight, kHighlight);
    p.setColor(QPalette::Active, QPalette::HighlightedText, kHighlightText);
    box.setPalette(p);
}

QImage DrawLine(ThtmlListBox& box, int index, bool selected)
{
    QImage image = BlankImage(200, box.ItemHeight(), Qt::white);
    QPainter painter(&image);
    box.DrawItem(painter, index, QRect(0, 0, 200, box.ItemHeight()), selected);
    return image;
}

} // namespace

TEST_F(HtmlListItems, ReportsChangesRowByRowOutsideUpdates)
{
    ThtmlListItems items;
    QSignalSpy inserted(&items, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&items, &QAbstractItemModel::rowsRemoved);
    QSignalSpy moved(&items, &QAbstractItemModel::rowsMoved);
    QSignalSpy changed(&items, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&items, &QAbstractItemModel::modelReset);
    int song = 0;
    EXPECT_EQ(items.Add("b"), 0);
    EXPECT_EQ(items.AddObject("c", &song), 1);
    items.Insert(0, "a");
    EXPECT_EQ(inserted.count(), 3);
    EXPECT_EQ(items.Objects(2), &song);
    EXPECT_EQ(items.IndexOfObject(&song), 2);
    EXPECT_EQ(items.IndexOf("B"), 1);
    items.Move(0, 2);
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(items[0], "b");
    EXPECT_EQ(items[2], "a");
    items.Move(2, 0);
    EXPECT_EQ(items[0], "a");
    items.Exchange(0, 2);
    items.SetString(1, "B");
    EXPECT_EQ(changed.count(), 3);
    EXPECT_EQ(items[0], "c");
    EXPECT_EQ(items.Objects(0), &song);
    items.Delete(1);
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(items.data(items.index(0), Qt::DisplayRole).toString(), "c");
    EXPECT_EQ(items.data(items.index(0), ThtmlListItems::ObjectRole).value<quintptr>(),
              reinterpret_cast<quintptr>(&song));
    EXPECT_THROW(items.Strings(5), EOrvaneError);
    EXPECT_THROW(items.Delete(-1), EOrvaneError);
    EXPECT_THROW(items.Insert(9, "x"), EOrvaneError);
}

TEST_F(HtmlListItems, UpdatesEndInOneResetAndSortedListsKeepTheirOrder)
{
    ThtmlListItems items;
    QSignalSpy inserted(&items, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&items, &QAbstractItemModel::modelReset);
    items.BeginUpdate();
    items.BeginUpdate();
    for (int i = 0; i < 1000; ++i)
        items.Add("line " + std::to_string(i));
    items.Delete(0);
    items.EndUpdate();
    EXPECT_EQ(reset.count(), 0);
    items.EndUpdate();
    items.EndUpdate(); // never below zero
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(inserted.count(), 0);
    EXPECT_EQ(items.rowCount(), 999);
    items.BeginUpdate();
    items.EndUpdate();
    EXPECT_EQ(reset.count(), 1); // an update without changes reports nothing

    TStringList<int> strings;
    int a = 1;
    int b = 2;
    strings.AddObject("zebra", &a);
    strings.AddObject("Apple", &b);
    strings.Add("mango");
    items.Assign(strings);
    EXPECT_EQ(reset.count(), 2);
    ASSERT_EQ(items.Count(), 3);
    EXPECT_EQ(items.Objects(0), &a);

    items.SetSorted(true);
    EXPECT_EQ(items[0], "Apple");
    EXPECT_EQ(items[2], "zebra");
    EXPECT_EQ(items.Objects(0), &b);
    EXPECT_EQ(items.Add("banana"), 1);
    EXPECT_EQ(items.Add("ZEBRA"), 4);
    EXPECT_THROW(items.Insert(0, "x"), EOrvaneError);
    items.Assign(strings);
    EXPECT_EQ(items[1], "mango");
}

TEST_F(HtmlListBox, FontSetsTheLineHeight)
{
    ThtmlListBox box;
    EXPECT_TRUE(box.ShowHighlight());
    for (const auto& [points, height] : {std::pair{8, 13}, {10, 16}, {12, 19}}) {
        box.SetLFont({"DejaVu Sans", points, clRed, {TFontStyle::fsBold}});
        EXPECT_EQ(box.ItemHeight(), height);
    }
    EXPECT_EQ(box.LFont().Name, "DejaVu Sans");
    EXPECT_EQ(box.LFont().Size, 12);
    EXPECT_EQ(box.LFont().Color, clRed);
    EXPECT_TRUE(box.LFont().Bold());
    box.SetLFont({"DejaVu Sans", 0, clRed, {}});
    EXPECT_EQ(box.ItemHeight(), 19);

    box.resize(300, 200);
    box.show();
    box.Items().Add("one");
    box.Items().Add("two");
    EXPECT_EQ(box.Count(), 2);
    QApplication::processEvents();
    const QRect second = box.ItemRect(1);
    EXPECT_EQ(second.height(), 19);
    EXPECT_EQ(second.top(), 19);
    EXPECT_EQ(second.width(), box.viewport()->width());
    EXPECT_EQ(box.ItemAtPos(QPoint(5, 25), true), 1);
    EXPECT_EQ(box.ItemAtPos(QPoint(5, 150), true), -1);
    EXPECT_EQ(box.ItemAtPos(QPoint(5, 150), false), 2);

    // Side by side, each line is as wide as its text (the mark-up does not count), and the next one follows.
    box.setFlow(QListView::LeftToRight);
    box.setUniformItemSizes(false);
    box.Items().Add("<b>a much longer line</b>");
    QApplication::processEvents();
    EXPECT_GT(box.ItemRect(0).width(), box.fontMetrics().horizontalAdvance(QStringLiteral("one")));
    EXPECT_LT(box.ItemRect(2).width(),
              box.fontMetrics().horizontalAdvance(QStringLiteral("<b>a much longer line</b>")));
    EXPECT_EQ(box.ItemRect(1).left(), box.ItemRect(0).right() + 1);
}

TEST_F(HtmlListBox, SelectedLinesUseTheHighlightColours)
{
    ThtmlListBox box;
    SetUpColours(box);
    box.Items().Add("Plain <x>");
    box.Items().Add("<font color=#FF0000>Red");

    QImage image = DrawLine(box, 0, false);
    EXPECT_TRUE(SameRgb(image.pixel(199, 2), kBase));
    const QRect text = ColorBox(image, kText);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(text.left(), 2);
    EXPECT_FALSE(ColorBox(DrawLine(box, 1, false), Qt::red).isEmpty());

    // Selected: highlight background; highlight text for the text before the first tag and, forced,
    // for every run after one.
    image = DrawLine(box, 1, true);
    EXPECT_TRUE(SameRgb(image.pixel(199, 2), kHighlight));
    EXPECT_TRUE(ColorBox(image, Qt::red).isEmpty());
    EXPECT_FALSE(ColorBox(image, kHighlightText).isEmpty());
    image = DrawLine(box, 0, true);
    EXPECT_TRUE(ColorBox(image, kText).isEmpty());
    EXPECT_FALSE(ColorBox(image, kHighlightText).isEmpty());

    box.SetShowHighlight(false);
    image = DrawLine(box, 1, true);
    EXPECT_TRUE(SameRgb(image.pixel(199, 2), kBase));
    EXPECT_FALSE(ColorBox(image, Qt::red).isEmpty());
}

TEST_F(HtmlListBox, ImagesComeFromTheHandlersAndShiftTheText)
{
    ThtmlListBox box;
    SetUpColours(box);
    box.Items().Add("WWW");
    box.Items().Add("WWW");
    const int withoutImages = ColorBox(DrawLine(box, 0, false), kText).left();

    auto images = std::make_unique<TImageList>(8, 8);
    QPixmap strip(16, 8);
    strip.fill(QColor(0, 255, 0));
    QPainter(&strip).fillRect(8, 0, 8, 8, QColor(255, 0, 255));
    EXPECT_EQ(images->Add(strip), 0);
    EXPECT_EQ(images->Count(), 2);
    box.SetImages(images.get());

    // No handler: no image, but the text still starts after the image's place.
    QImage image = DrawLine(box, 0, false);
    EXPECT_TRUE(ColorBox(image, QColor(0, 255, 0)).isEmpty());
    EXPECT_EQ(ColorBox(image, kText).left(), withoutImages + 8);

    std::vector<int> asked;
    box.OnGetImageIndex = [&](QObject* sender, int index, int& imageIndex) {
        EXPECT_EQ(sender, &box);
        asked.push_back(index);
        imageIndex = index == 0 ? 0 : -1;
    };
    box.OnGetSelectedImageIndex = [&](QObject*, int, int& imageIndex) { imageIndex = 1; };
    image = DrawLine(box, 0, false);
    const QRect green = ColorBox(image, QColor(0, 255, 0));
    EXPECT_EQ(green, QRect(0, (box.ItemHeight() - 8) / 2, 8, 8));
    EXPECT_TRUE(ColorBox(DrawLine(box, 1, false), QColor(0, 255, 0)).isEmpty());
    EXPECT_EQ(asked, (std::vector<int>{0, 1}));
    // The selected image is asked for even without highlighting.
    box.SetShowHighlight(false);
    EXPECT_FALSE(ColorBox(DrawLine(box, 1, true), QColor(255, 0, 255)).isEmpty());

    images.reset();
    EXPECT_EQ(box.Images(), nullptr);
    EXPECT_EQ(ColorBox(DrawLine(box, 0, false), kText).left(), withoutImages);
}

TEST_F(HtmlListBox, SelectionAndFocusFollowTheFramework)
{
    ThtmlListBox box;
    for (int i = 0; i < 5; ++i)
        box.Items().Add("line " + std::to_string(i));
    EXPECT_EQ(box.ItemIndex(), -1);
    box.SetItemIndex(2);
    EXPECT_EQ(box.ItemIndex(), 2);
    EXPECT_TRUE(box.Selected(2));
    box.SetSelected(3, true);
    EXPECT_FALSE(box.Selected(2));
    EXPECT_EQ(box.SelCount(), 1);

    box.SetMultiSelect(true);
    EXPECT_TRUE(box.MultiSelect());
    box.SetSelected(0, true);
    box.SetSelected(4, true);
    EXPECT_EQ(box.SelCount(), 3);
    box.SetItemIndex(1); // moves the focus only
    EXPECT_EQ(box.ItemIndex(), 1);
    EXPECT_FALSE(box.Selected(1));
    EXPECT_EQ(box.SelCount(), 3);
    // Inserting above keeps the selected lines selected.
    box.Items().Insert(0, "new");
    EXPECT_TRUE(box.Selected(1));
    EXPECT_TRUE(box.Selected(5));
    EXPECT_FALSE(box.Selected(0));
    box.SetSelected(5, false);
    EXPECT_EQ(box.SelCount(), 2);
}

TEST_F(HtmlListBox, WheelTurnsAreReported)
{
    ThtmlListBox box;
    box.SetLFont({"DejaVu Sans", 10, clBlack, {}});
    box.resize(200, 100);
    for (int i = 0; i < 100; ++i)
        box.Items().Add("line " + std::to_string(i));
    box.show();
    QApplication::processEvents();
    int scrolled = 0;
    box.OnScrolled = [&](QObject* sender) {
        EXPECT_EQ(sender, &box);
        ++scrolled;
    };
    Wheel(box.viewport(), -120);
    EXPECT_EQ(scrolled, 1);
    EXPECT_GT(box.TopIndex(), 0);
    Wheel(box.viewport(), 120);
    EXPECT_EQ(scrolled, 2);
    EXPECT_EQ(box.TopIndex(), 0);
    box.SetTopIndex(50);
    EXPECT_EQ(box.TopIndex(), 50);
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_PageDown);
    EXPECT_EQ(scrolled, 2);
}
