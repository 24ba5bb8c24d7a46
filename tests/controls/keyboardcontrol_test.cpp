#include "controls/alignlayout.h"
#include "controls/keyboardcontrol.h"

#include <gtest/gtest.h>

#include <QTest>

#include <vector>

namespace {

struct Recorder
{
    explicit Recorder(TkeyboardControl& keyboard)
    {
        keyboard.OnKeyPress = [this](QObject*, std::uint16_t& key, TShiftState shift) {
            codes.push_back(key);
            shifts.push_back(shift);
        };
    }
    std::vector<int> codes;
    std::vector<TShiftState> shifts;
};

QPoint CentreOf(const TkeyboardControl& keyboard, int index)
{
    return keyboard.Keys()[std::size_t(index)].Rect.center();
}

int IndexOf(const TkeyboardControl& keyboard, const char* caption)
{
    for (std::size_t i = 0; i < keyboard.Keys().size(); ++i) {
        if (keyboard.Keys()[i].Caption == QLatin1String(caption)) {
            return int(i);
        }
    }
    return -1;
}

} // namespace

TEST(KeyboardLayout, CellsOfTheFourRows)
{
    TkeyboardControl keyboard;
    keyboard.resize(400, 160);
    keyboard.LayoutKeys();
    ASSERT_EQ(keyboard.Keys().size(), 39u);
    EXPECT_EQ(keyboard.KeyWidth(), 40);
    EXPECT_EQ(keyboard.KeyHeight(), 40);
    EXPECT_EQ(keyboard.Keys()[0].Caption, QStringLiteral("1"));
    EXPECT_EQ(keyboard.Keys()[9].Code, 48);
    EXPECT_EQ(keyboard.Keys()[10].Rect, QRect(0, 40, 40, 40));
    EXPECT_EQ(keyboard.Keys()[29].Caption, QStringLiteral("<-"));
    EXPECT_EQ(keyboard.Keys()[29].Rect, QRect(360, 80, 40, 40));
    EXPECT_EQ(keyboard.Keys()[37].Caption, QStringLiteral("Space"));
    EXPECT_EQ(keyboard.Keys()[37].Rect, QRect(280, 120, 80, 40));
    EXPECT_EQ(keyboard.Keys()[38].Rect, QRect(360, 120, 40, 40));
    EXPECT_EQ(keyboard.KeyAt({279, 130}), IndexOf(keyboard, "M"));
    EXPECT_EQ(keyboard.KeyAt({280, 130}), 37);
    EXPECT_EQ(keyboard.KeyAt({359, 159}), 37);
    EXPECT_EQ(keyboard.KeyAt({360, 120}), 38);
    EXPECT_EQ(keyboard.KeyAt({400, 10}), -1);
    EXPECT_EQ(keyboard.KeyAt({-1, 10}), -1);
    // Colour, font and bevel reach every key.
    keyboard.SetColor(clNavy);
    keyboard.SetBevelWidth(3);
    EXPECT_EQ(keyboard.Keys()[20].Color, clNavy);
    EXPECT_EQ(keyboard.Keys()[38].BevelWidth, 3);
}

TEST(KeyboardLayout, SnapsToWholeCellsUnlessClientAligned)
{
    TkeyboardControl keyboard;
    keyboard.show();
    keyboard.resize(405, 160);
    EXPECT_EQ(keyboard.width(), 400);

    QWidget parent;
    parent.resize(405, 160);
    auto* aligned = new TkeyboardControl(&parent);
    TalignLayout::SetAlign(aligned, TAlign::alClient);
    parent.show();
    EXPECT_EQ(aligned->width(), 405);
    EXPECT_EQ(aligned->KeyAt({402, 10}), -1); // the strip right of the cells
    aligned->PressAt({402, 10});
    EXPECT_EQ(aligned->PressedKey(), -1);
}

TEST(KeyboardPress, ReleaseOverTheSameKeyFiresItsCode)
{
    TkeyboardControl keyboard;
    Recorder rec(keyboard);
    const TShiftState shift{Qt::ShiftModifier, Qt::LeftButton};
    for (const char* caption : {"Clr", "<-", "Space", "Q"}) {
        const QPoint p = CentreOf(keyboard, IndexOf(keyboard, caption));
        keyboard.PressAt(p);
        EXPECT_TRUE(keyboard.Keys()[std::size_t(keyboard.PressedKey())].Down);
        keyboard.ReleaseAt(p, shift);
        EXPECT_EQ(keyboard.PressedKey(), -1);
    }
    EXPECT_EQ(rec.codes, (std::vector<int>{0, 8, 32, 81}));
    EXPECT_EQ(rec.shifts[0].Keys, Qt::ShiftModifier);
}

TEST(KeyboardPress, ReleaseElsewhereFiresNothing)
{
    TkeyboardControl keyboard;
    Recorder rec(keyboard);
    const int a = IndexOf(keyboard, "A");
    keyboard.PressAt(CentreOf(keyboard, a));
    keyboard.ReleaseAt(CentreOf(keyboard, IndexOf(keyboard, "S")), {});
    EXPECT_TRUE(rec.codes.empty());
    EXPECT_FALSE(keyboard.Keys()[std::size_t(a)].Down);
    // A press outside every key, then a release over one.
    keyboard.PressAt({1000, 1000});
    keyboard.ReleaseAt(CentreOf(keyboard, a), {});
    EXPECT_TRUE(rec.codes.empty());
}

TEST(KeyboardPress, LeavingDrawsUpButKeepsThePress)
{
    TkeyboardControl keyboard;
    Recorder rec(keyboard);
    const int k = IndexOf(keyboard, "K");
    keyboard.PressAt(CentreOf(keyboard, k));
    keyboard.MouseLeft();
    EXPECT_FALSE(keyboard.Keys()[std::size_t(k)].Down);
    EXPECT_EQ(keyboard.PressedKey(), k);
    keyboard.ReleaseAt(CentreOf(keyboard, k), {});
    EXPECT_EQ(rec.codes, std::vector<int>{75});
    keyboard.ReleaseAt(CentreOf(keyboard, k), {});
    EXPECT_EQ(rec.codes.size(), 1u);
}

TEST(KeyboardPress, MouseEventsDriveTheSameSteps)
{
    TkeyboardControl keyboard;
    keyboard.show();
    Recorder rec(keyboard);
    const QPoint five = CentreOf(keyboard, 4);
    QTest::mousePress(&keyboard, Qt::RightButton, Qt::NoModifier, five);
    EXPECT_EQ(keyboard.PressedKey(), 4);
    QTest::mouseRelease(&keyboard, Qt::RightButton, Qt::NoModifier, five);
    EXPECT_EQ(rec.codes, std::vector<int>{53});

    QTest::mousePress(&keyboard, Qt::LeftButton, Qt::NoModifier, five);
    QMouseEvent out(QEvent::MouseMove, QPointF(-20, -20), keyboard.mapToGlobal(QPointF(-20, -20)),
                    Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&keyboard, &out);
    EXPECT_FALSE(keyboard.Keys()[4].Down);
    QTest::mouseRelease(&keyboard, Qt::LeftButton, Qt::NoModifier, five);
    EXPECT_EQ(rec.codes, (std::vector<int>{53, 53}));
}
