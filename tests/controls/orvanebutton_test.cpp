#include "controls/orvanebutton.h"
#include "skinimages.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPalette>
#include <QTest>

#include <string>
#include <vector>

namespace {

constexpr TColor kMain = RGBColor(200, 0, 0);
constexpr TColor kOuter = RGBColor(0, 0, 160);

// Frames of 30 x 30 at the given grey levels, then a mask that is white in (5, 5) - (24, 24).
QImage ButtonSkin(std::initializer_list<int> levels)
{
    const int frames = int(levels.size()) + 1;
    QImage skin = Grey(30 * frames, 30, 0);
    int i = 0;
    for (const int level : levels) {
        FillGrey(skin, QRect(30 * i++, 0, 30, 30), level);
    }
    Fill(skin, QRect(30 * i, 0, 30, 30), clBlack);
    Fill(skin, QRect(30 * i + 5, 5, 20, 20), clWhite);
    return skin;
}

struct Recorder
{
    std::vector<std::string> log;

    void Attach(TorvaneButton& b)
    {
        b.OnClick = [this](QObject*) { log.push_back("click"); };
        b.OnMouseDown = [this](QObject*, Qt::MouseButton, TShiftState, int x, int y) {
            log.push_back("down " + std::to_string(x) + "," + std::to_string(y));
        };
        b.OnMouseUp = [this](QObject*, Qt::MouseButton, TShiftState, int x, int y) {
            log.push_back("up " + std::to_string(x) + "," + std::to_string(y));
        };
    }
};

// A skinned 30 x 30 button in a window that holds the focus elsewhere.
struct SkinnedHost
{
    QWidget window;
    TorvaneButton* button = nullptr;
};

std::unique_ptr<SkinnedHost> SkinnedButton(bool check)
{
    auto host = std::make_unique<SkinnedHost>();
    host->window.resize(100, 100);
    host->window.setFocusPolicy(Qt::StrongFocus);
    host->button = new TorvaneButton(&host->window);
    TorvaneButton* b = host->button;
    b->SetIsCheckButton(check);
    b->SetColor(kMain);
    b->SetOuterColor(kOuter);
    b->SetSkinBitmap(check ? ButtonSkin({128, 64, 255, 0}) : ButtonSkin({128, 64}));
    b->SetIsSkinned(true);
    b->resize(30, 30);
    return host;
}

// Bounds of the pixels that are clearly the given colour.
QRect Bounds(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& match)
{
    QRect r;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (match(image.pixel(x, y))) {
                r |= QRect(x, y, 1, 1);
            }
        }
    }
    return r;
}

bool Reddish(QRgb p)
{
    return qRed(p) - std::max(qGreen(p), qBlue(p)) > 60;
}

bool Bluish(QRgb p)
{
    return qBlue(p) - std::max(qGreen(p), qRed(p)) > 60;
}

QFont BigFont()
{
    QFont f;
    f.setPixelSize(16);
    f.setBold(true);
    return f;
}

void ShowActive(QWidget& w)
{
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

} // namespace

TEST(OrvaneButton, DefaultsAndReadOnlySkinSizes)
{
    TorvaneButton b;
    EXPECT_EQ(b.size(), QSize(75, 25));
    EXPECT_FALSE(b.IsCheckButton());
    EXPECT_FALSE(b.Checked());
    EXPECT_EQ(b.GlyphPos(), TglyphPos::gpLeft);
    EXPECT_EQ(b.Color(), clBtnFace);
    EXPECT_EQ(b.OuterColor(), clBlack);
    EXPECT_EQ(b.BevelWidth(), 3);
    EXPECT_TRUE(b.ShowFocusRect());
    EXPECT_EQ(b.SkinWidth(), 0);
    EXPECT_EQ(b.SkinHeight(), 0);

    b.SetSkinBitmap(Grey(150, 30, 128));
    EXPECT_EQ(b.SkinWidth(), 50);
    b.SetIsCheckButton(true);
    EXPECT_EQ(b.SkinWidth(), 30);
    EXPECT_EQ(b.SkinHeight(), 30);
    b.SetSkinWidth(7);
    b.SetSkinHeight(7);
    EXPECT_EQ(b.SkinWidth(), 30);
    EXPECT_EQ(b.SkinHeight(), 30);

    b.SetIsSkinned(true);
    EXPECT_FALSE(b.ShowFocusRect());
    b.SetIsSkinned(false);
    EXPECT_FALSE(b.ShowFocusRect());
}

TEST(OrvaneButton, SkinnedPushButtonShowsFramesOnlyInsideItsMask)
{
    auto host = SkinnedButton(false);
    TorvaneButton* b = host->button;
    Recorder r;
    r.Attach(*b);
    ShowActive(host->window);
    host->window.setFocus();

    QImage up = Shot(*b);
    EXPECT_EQ(At(up, 10, 10), kMain); // mid-grey under white mask: the button colour
    EXPECT_EQ(At(up, 1, 1), kOuter);  // outside the mask: the outer colour
    EXPECT_EQ(At(up, 29, 29), kOuter);

    // A press outside the mask does nothing at all.
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_FALSE(b->Pressed());
    EXPECT_FALSE(b->hasFocus());
    EXPECT_EQ(At(Shot(*b), 10, 10), kMain);
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(r.log.empty());

    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(b->Pressed());
    EXPECT_TRUE(b->hasFocus());
    EXPECT_EQ(At(Shot(*b), 10, 10), RGBColor(100, 0, 0)); // the down frame, grey 64
    EXPECT_EQ(At(Shot(*b), 1, 1), RGBColor(0, 0, 80));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(12, 11));
    EXPECT_FALSE(b->Pressed());
    EXPECT_EQ(At(Shot(*b), 10, 10), kMain);
    // The click comes before the mouse-up, and both are raised once.
    EXPECT_EQ(r.log, (std::vector<std::string>{"down 10,10", "click", "up 12,11"}));
}

TEST(OrvaneButton, ClickNeedsAReleaseInsideAfterAPressInsideTheMask)
{
    auto host = SkinnedButton(false);
    TorvaneButton* b = host->button;
    Recorder r;
    r.Attach(*b);
    ShowActive(host->window);
    host->window.setFocus();

    // Released outside the control: mouse-up but no click.
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(-20, 50));
    EXPECT_EQ(r.log, (std::vector<std::string>{"down 10,10", "up -20,50"}));
    r.log.clear();

    // Released inside the control but outside the mask still clicks: the mask test sees the press point.
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_EQ(r.log, (std::vector<std::string>{"down 10,10", "click", "up 1,1"}));
    r.log.clear();

    // A right press inside the mask shows the press but never clicks.
    QTest::mousePress(b, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_TRUE(b->Pressed());
    QTest::mouseRelease(b, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(r.log, (std::vector<std::string>{"down 10,10", "up 10,10"}));
}

TEST(OrvaneButton, ControlLargerThanAFrameReadsOutsideTheMaskAsOutside)
{
    auto host = SkinnedButton(false);
    TorvaneButton* b = host->button;
    b->resize(60, 60);
    Recorder r;
    r.Attach(*b);
    ShowActive(host->window);
    host->window.setFocus();

    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(45, 45));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(45, 45));
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(59, 2));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(59, 2));
    EXPECT_TRUE(r.log.empty());

    // The frame is stretched over the control; presses inside the frame's mask still work.
    EXPECT_EQ(At(Shot(*b), 30, 30), kMain);
    EXPECT_EQ(At(Shot(*b), 2, 2), kOuter);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(12, 12));
    EXPECT_EQ(r.log.size(), 3u);
}

TEST(OrvaneButton, CheckButtonTogglesAndShowsItsFourFrames)
{
    auto host = SkinnedButton(true);
    TorvaneButton* b = host->button;
    int clicks = 0;
    b->OnClick = [&clicks](QObject*) { ++clicks; };
    ShowActive(host->window);
    host->window.setFocus();
    const QPoint in(15, 15);

    EXPECT_EQ(At(Shot(*b), 15, 15), kMain); // up
    QTest::mousePress(b, Qt::LeftButton, {}, in);
    EXPECT_EQ(At(Shot(*b), 15, 15), RGBColor(100, 0, 0)); // down
    QTest::mouseRelease(b, Qt::LeftButton, {}, in);
    EXPECT_TRUE(b->Checked());
    EXPECT_EQ(At(Shot(*b), 15, 15), clWhite); // checked up
    QTest::mousePress(b, Qt::LeftButton, {}, in);
    EXPECT_EQ(At(Shot(*b), 15, 15), clBlack); // checked down
    QTest::mouseRelease(b, Qt::LeftButton, {}, in);
    EXPECT_FALSE(b->Checked());
    EXPECT_EQ(At(Shot(*b), 15, 15), kMain);
    EXPECT_EQ(clicks, 2);

    // Checked set from outside shows at once; a push button's click clears it.
    b->SetChecked(true);
    EXPECT_EQ(At(Shot(*b), 15, 15), clWhite);
    b->SetIsCheckButton(false);
    b->SetSkinBitmap(ButtonSkin({128, 64}));
    b->SetChecked(true);
    QTest::mouseClick(b, Qt::LeftButton, {}, in);
    EXPECT_FALSE(b->Checked());
}

TEST(OrvaneButton, EnterAndSpaceClickOnlyWhenTheLastMousePointIsInsideTheMask)
{
    auto host = SkinnedButton(false);
    TorvaneButton* b = host->button;
    int clicks = 0;
    b->OnClick = [&clicks](QObject*) { ++clicks; };
    ShowActive(host->window);
    host->window.setFocus();
    b->setFocus();

    // No mouse yet: the last point (0, 0) is outside the mask.
    QTest::keyPress(b, Qt::Key_Return);
    EXPECT_TRUE(b->Pressed());
    QTest::keyRelease(b, Qt::Key_Return);
    EXPECT_FALSE(b->Pressed());
    EXPECT_EQ(clicks, 0);

    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks, 1);
    QTest::keyClick(b, Qt::Key_Return);
    QTest::keyClick(b, Qt::Key_Space);
    QTest::keyClick(b, Qt::Key_Enter);
    EXPECT_EQ(clicks, 4);
    // Auto-repeated releases of a held key do not click.
    QTest::keyPress(b, Qt::Key_Space);
    QTest::keyRelease(b, Qt::Key_Space, {}, -1);
    QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QString(" "), true);
    QApplication::sendEvent(b, &repeat);
    EXPECT_EQ(clicks, 5);
    QTest::keyClick(b, Qt::Key_A);
    EXPECT_EQ(clicks, 5);
}

TEST(OrvaneButton, DrawnButtonShiftsItsCaptionWhilePressed)
{
    for (const auto& [bevel, shift] : {std::pair{3, 2}, std::pair{5, 2}, std::pair{4, 2}, std::pair{2, 1}}) {
        TorvaneButton b;
        b.resize(80, 30);
        b.SetCaption("&W");
        b.setFont(BigFont());
        b.SetBevelWidth(bevel);
        b.SetColor(RGBColor(90, 90, 90));
        b.SetFontColor(RGBColor(255, 0, 0));
        b.SetFontHiliteColor(RGBColor(255, 0, 0)); // the lone window gives it the focus
        ShowActive(b);
        const QRect inside = b.rect().adjusted(bevel + 1, bevel + 1, -bevel - 1, -bevel - 1);
        const QRect before = Bounds(Shot(b), inside, Reddish);
        ASSERT_FALSE(before.isEmpty());
        QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(40, 15));
        const QImage pressed = Shot(b);
        const QRect after = Bounds(pressed, inside, Reddish);
        EXPECT_EQ(after.topLeft() - before.topLeft(), QPoint(shift, shift)) << "bevel " << bevel;
        // Pressed, the bevel is lowered: its top-left is darker than the face.
        EXPECT_LT(qRed(pressed.pixel(0, 10)), 90);
        QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(40, 15));
    }
}

TEST(OrvaneButton, FocusedDrawnButtonUsesHiliteColourAndFocusRectangle)
{
    QWidget window;
    window.resize(200, 100);
    auto* b = new TorvaneButton(&window);
    auto* other = new TorvaneButton(&window);
    other->move(100, 0);
    b->SetCaption("W");
    b->setFont(BigFont());
    b->SetColor(RGBColor(90, 90, 90));
    b->SetFontColor(RGBColor(255, 0, 0));
    b->SetFontHiliteColor(RGBColor(0, 0, 255));
    ShowActive(window);
    other->setFocus();

    QImage plain = Shot(*b);
    EXPECT_EQ(At(plain, 4, 4), RGBColor(90, 90, 90));
    EXPECT_FALSE(Bounds(plain, b->rect(), Reddish).isEmpty());

    b->setFocus();
    ASSERT_TRUE(b->hasFocus());
    const QImage focused = Shot(*b);
    EXPECT_TRUE(Bounds(focused, QRect(5, 5, 65, 15), Reddish).isEmpty());
    EXPECT_FALSE(Bounds(focused, QRect(5, 5, 65, 15), Bluish).isEmpty());
    // Dotted: every other pixel of the outline 4 pixels inside the edge is inverted.
    EXPECT_EQ(At(focused, 4, 4), RGBColor(255 - 90, 255 - 90, 255 - 90));
    EXPECT_EQ(At(focused, 5, 4), RGBColor(90, 90, 90));
    EXPECT_EQ(At(focused, 6, 4), RGBColor(255 - 90, 255 - 90, 255 - 90));
    EXPECT_EQ(At(focused, 70, 20), RGBColor(255 - 90, 255 - 90, 255 - 90));
    EXPECT_EQ(At(focused, 3, 3), At(plain, 3, 3));

    b->SetShowFocusRect(false);
    EXPECT_EQ(At(Shot(*b), 4, 4), RGBColor(90, 90, 90));
}

TEST(OrvaneButton, GlyphIsShadedPlacedAndHalvedForCheckButtons)
{
    // A neutral 10 x 10 glyph with one red pixel at (2, 3) and a white one at (7, 3).
    QImage glyph = Grey(20, 10, 127);
    Fill(glyph, QRect(2, 3, 1, 1), clRed);
    FillGrey(glyph, QRect(7, 3, 1, 1), 255);
    Fill(glyph, QRect(12, 3, 1, 1), clLime); // right half, for the checked look

    TorvaneButton b;
    b.SetColor(RGBColor(90, 90, 90));
    b.SetGlyphs(glyph.copy(0, 0, 10, 10));
    b.SetGlyphPadding(4);
    ShowActive(b);
    // y = round(25 / 2 - 10 / 2) = round(7.5) = 8
    QImage shot = Shot(b);
    EXPECT_EQ(At(shot, 6, 11), clRed);
    EXPECT_EQ(At(shot, 11, 11), clWhite);
    b.SetGlyphPos(TglyphPos::gpRight);
    EXPECT_EQ(At(Shot(b), 75 - 4 - 10 + 2, 11), clRed);
    b.SetGlyphPos(TglyphPos::gpCenter);
    EXPECT_EQ(At(Shot(b), 32 + 2, 11), clRed); // round(32.5) = 32

    b.SetIsCheckButton(true);
    b.SetGlyphs(glyph);
    b.SetGlyphPos(TglyphPos::gpLeft);
    EXPECT_EQ(At(Shot(b), 6, 11), clRed);
    b.SetChecked(true);
    EXPECT_EQ(At(Shot(b), 6, 11), clLime);

    // Removing the glyphs removes the picture.
    b.SetGlyphs(QImage());
    EXPECT_EQ(At(Shot(b), 6, 11), RGBColor(90, 90, 90));
}

TEST(OrvaneButton, FollowsItsAction)
{
    QWidget window;
    auto* b = new TorvaneButton(&window);
    QAction action("&Play");
    action.setToolTip("Start playing");
    action.setCheckable(true);
    int triggered = 0;
    QObject::connect(&action, &QAction::triggered, [&triggered] { ++triggered; });
    b->SetAction(&action);
    b->SetIsCheckButton(true);
    ShowActive(window);

    EXPECT_EQ(b->Caption(), "&Play");
    EXPECT_EQ(b->Hint(), "Start playing");
    action.setChecked(true);
    EXPECT_TRUE(b->Checked());
    action.setEnabled(false);
    EXPECT_FALSE(b->isEnabled());
    action.setEnabled(true);
    action.setVisible(false);
    EXPECT_TRUE(b->isHidden());
    action.setVisible(true);
    EXPECT_FALSE(b->isHidden());
    action.setText("&Pause");
    EXPECT_EQ(b->Caption(), "&Pause");

    // A click toggles the button and the action together.
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(triggered, 1);
    EXPECT_FALSE(action.isChecked());
    EXPECT_FALSE(b->Checked());

    // OnClick takes the click instead of the action.
    int own = 0;
    b->OnClick = [&own](QObject*) { ++own; };
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(own, 1);
    EXPECT_EQ(triggered, 1);

    // A check button on a plain action keeps its own checked state.
    QAction plain("Plain");
    b->SetAction(&plain);
    b->OnClick = nullptr;
    b->SetChecked(false);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(b->Checked());
    plain.setEnabled(false);
    plain.setEnabled(true);
    EXPECT_TRUE(b->Checked());
    b->SetAction(&action);

    // A caption of its own is not replaced, and a freed action is forgotten.
    b->SetCaption("Mine");
    action.setText("Other");
    EXPECT_EQ(b->Caption(), "Mine");
    {
        QAction temporary("Temp");
        b->SetAction(&temporary);
    }
    EXPECT_EQ(b->Action(), nullptr);
}
