#include "controls/orvanemultibutton.h"
#include "skinimages.h"

#include <gtest/gtest.h>

#include <QTest>

#include <string>
#include <vector>

namespace {

constexpr TColor kButton = RGBColor(0, 200, 0);
constexpr TColor kOuter = RGBColor(0, 0, 120);

// 400 x 33: normal (128), pressed (64), checked (255) and a hit map of four quadrants with a white strip.
QImage MultiSkin()
{
    QImage skin = Grey(400, 33, 128);
    FillGrey(skin, QRect(100, 0, 100, 33), 64);
    FillGrey(skin, QRect(200, 0, 100, 33), 255);
    Fill(skin, QRect(300, 0, 50, 16), clFuchsia);
    Fill(skin, QRect(350, 0, 50, 16), clBlue);
    Fill(skin, QRect(300, 16, 50, 17), clLime);
    Fill(skin, QRect(350, 16, 50, 17), clRed);
    Fill(skin, QRect(300, 30, 100, 3), clWhite);
    Fill(skin, QRect(398, 0, 2, 2), clBlack); // belongs to no button
    return skin;
}

struct Host
{
    TorvaneMultiButton control;
    std::vector<std::string> log;

    Host()
    {
        control.resize(100, 33);
        control.SetButtonColor(kButton);
        control.SetOuterColor(kOuter);
        control.SetSkinBitmap(MultiSkin());
        control.OnButton1Click = [this](QObject*) { log.push_back("1"); };
        control.OnButton2Click = [this](QObject*) { log.push_back("2"); };
        control.OnButton3Click = [this](QObject*) { log.push_back("3"); };
        control.OnButton4Click = [this](QObject*) { log.push_back("4"); };
        control.OnMouseDown = [this](QObject*, Qt::MouseButton, TShiftState, int, int) {
            log.push_back("down");
        };
        control.OnMouseUp = [this](QObject*, Qt::MouseButton, TShiftState, int, int) { log.push_back("up"); };
        control.show();
    }
};

const TColor kPressed = RGBColor(0, 100, 0);

} // namespace

TEST(OrvaneMultiButton, PressedButtonShowsThePressedFrameInItsRegion)
{
    Host h;
    EXPECT_EQ(h.control.SkinWidth(), 100);
    EXPECT_EQ(h.control.SkinHeight(), 33);
    QImage s = Shot(h.control);
    EXPECT_EQ(At(s, 10, 5), kButton);
    EXPECT_EQ(At(s, 10, 31), kOuter); // white in the hit map: the outer colour
    EXPECT_EQ(At(s, 99, 0), kOuter);

    QTest::mousePress(&h.control, Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_EQ(h.control.PressedButton(), 1);
    s = Shot(h.control);
    EXPECT_EQ(At(s, 10, 5), kPressed);
    EXPECT_EQ(At(s, 49, 15), kPressed);
    EXPECT_EQ(At(s, 60, 5), kButton);             // button 2 stays normal
    EXPECT_EQ(At(s, 10, 20), kButton);            // button 3 too
    EXPECT_EQ(At(s, 80, 31), RGBColor(0, 0, 60)); // white parts of the hit map follow the pressed button
    EXPECT_EQ(At(s, 99, 0), kOuter);              // no button's region
    QTest::mouseRelease(&h.control, Qt::LeftButton, {}, QPoint(12, 6));
    EXPECT_EQ(h.log, (std::vector<std::string>{"down", "up", "1"}));
    EXPECT_EQ(h.control.PressedButton(), 0);
    EXPECT_EQ(At(Shot(h.control), 10, 5), kButton);
}

TEST(OrvaneMultiButton, ReleasingElsewhereClicksNothing)
{
    Host h;
    QTest::mousePress(&h.control, Qt::LeftButton, {}, QPoint(60, 5));
    QTest::mouseRelease(&h.control, Qt::LeftButton, {}, QPoint(10, 20));
    EXPECT_EQ(h.log, (std::vector<std::string>{"down", "up"}));
    EXPECT_EQ(h.control.PressedButton(), 0);

    // Outside the control, or beyond the hit map of a control larger than a frame.
    h.log.clear();
    QTest::mousePress(&h.control, Qt::LeftButton, {}, QPoint(60, 5));
    QTest::mouseRelease(&h.control, Qt::LeftButton, {}, QPoint(160, 5));
    QTest::mousePress(&h.control, Qt::LeftButton, {}, QPoint(60, 5));
    QTest::mouseRelease(&h.control, Qt::LeftButton, {}, QPoint(60, -40));
    h.control.resize(150, 60);
    QTest::mousePress(&h.control, Qt::LeftButton, {}, QPoint(120, 50));
    EXPECT_EQ(h.control.PressedButton(), 0);
    QTest::mouseRelease(&h.control, Qt::LeftButton, {}, QPoint(120, 50));
    QTest::mousePress(&h.control, Qt::LeftButton, {}, QPoint(99, 0)); // black in the hit map
    EXPECT_EQ(h.control.PressedButton(), 0);
    QTest::mouseRelease(&h.control, Qt::LeftButton, {}, QPoint(99, 0));
    EXPECT_EQ(std::count(h.log.begin(), h.log.end(), "2"), 0);
    EXPECT_EQ(h.log.size(), 8u);

    QTest::mouseClick(&h.control, Qt::LeftButton, {}, QPoint(60, 20));
    EXPECT_EQ(h.log.back(), "4");
}

TEST(OrvaneMultiButton, CheckedButtonShowsTheCheckedFrame)
{
    Host h;
    h.control.SetButtonChecked(2);
    QImage s = Shot(h.control);
    EXPECT_EQ(At(s, 60, 5), clWhite);
    EXPECT_EQ(At(s, 10, 5), kButton);
    EXPECT_EQ(At(s, 60, 20), kButton);
    QTest::mousePress(&h.control, Qt::LeftButton, {}, QPoint(60, 5));
    EXPECT_EQ(At(Shot(h.control), 60, 5), kPressed); // pressed wins over checked
    QTest::mouseRelease(&h.control, Qt::LeftButton, {}, QPoint(60, 5));
    // Another button pressed while 2 is checked shows both.
    QTest::mousePress(&h.control, Qt::LeftButton, {}, QPoint(10, 5));
    s = Shot(h.control);
    EXPECT_EQ(At(s, 10, 5), kPressed);
    EXPECT_EQ(At(s, 60, 5), clWhite);
    QTest::mouseRelease(&h.control, Qt::LeftButton, {}, QPoint(10, 5));

    h.control.SetCheckedButton(2, true);
    EXPECT_EQ(h.control.ButtonChecked(), 0);
    h.control.SetCheckedButton(2, true);
    EXPECT_EQ(h.control.ButtonChecked(), 2);
    h.control.SetCheckedButton(2, false);
    EXPECT_EQ(h.control.ButtonChecked(), 2);
    h.control.SetButtonChecked(7);
    EXPECT_EQ(At(Shot(h.control), 60, 5), kButton);
}

TEST(OrvaneMultiButton, MasksKeepOneButtonAndTheWhiteParts)
{
    Host h;
    const QImage& mask = h.control.Button3Bitmap();
    ASSERT_EQ(mask.size(), QSize(400, 33));
    EXPECT_EQ(At(mask, 10, 20), kButton);             // button 3, frame 0
    EXPECT_EQ(At(mask, 110, 20), kPressed);           // frame 1
    EXPECT_EQ(At(mask, 10, 5), clBlack);              // button 1's region
    EXPECT_EQ(At(mask, 160, 31), RGBColor(0, 0, 60)); // white in the hit map stays
    EXPECT_TRUE(h.control.ButtonBitmap(5).isNull());

    // The hit colours decide hit testing; recolouring keeps the fixed list.
    h.control.SetButton1Color(clYellow);
    QTest::mouseClick(&h.control, Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_EQ(std::count(h.log.begin(), h.log.end(), "1"), 0);
}

TEST(OrvaneMultiButton, UnskinnedControlIsFourQuadrants)
{
    TorvaneMultiButton m;
    m.resize(100, 40);
    std::vector<int> clicks;
    m.OnButton1Click = [&clicks](QObject*) { clicks.push_back(1); };
    m.OnButton4Click = [&clicks](QObject*) { clicks.push_back(4); };
    m.show();
    QTest::mousePress(&m, Qt::LeftButton, {}, QPoint(50, 20));
    EXPECT_EQ(m.PressedButton(), 4);
    QTest::mouseRelease(&m, Qt::LeftButton, {}, QPoint(50, 20));
    QTest::mousePress(&m, Qt::LeftButton, {}, QPoint(49, 19));
    EXPECT_EQ(m.PressedButton(), 1);
    QTest::mouseRelease(&m, Qt::LeftButton, {}, QPoint(49, 19));
    QTest::mousePress(&m, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&m, Qt::LeftButton, {}, QPoint(-10, 10)); // outside: no click
    EXPECT_EQ(clicks, (std::vector<int>{4, 1}));

    const QImage s = Shot(m);
    EXPECT_EQ(At(s, 10, 20), clBlack);
    EXPECT_EQ(At(s, 50, 5), clBlack);
    EXPECT_NE(At(s, 10, 10), clBlack);
    EXPECT_EQ(m.SkinWidth(), 0);

    // A skin of 3 pixels is too narrow.
    m.SetSkinBitmap(Grey(3, 10, 128));
    EXPECT_EQ(At(Shot(m), 50, 5), clBlack);
}
