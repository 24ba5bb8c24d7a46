#include "controls/windowplacement.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

TEST(WindowPlacement, CentredOnTheAreaAndKeptOnTheGivenScreen)
{
    const QRect screen(1920, 0, 1280, 1024); // a second screen, right of the first
    // On the screen itself: centred in its working area, not on the first screen.
    EXPECT_EQ(CentredPosition({400, 300}, screen, screen), QPoint(1920 + 440, 362));
    // Too large: its top left corner at the screen's, the title bar within reach.
    EXPECT_EQ(CentredPosition({1600, 1200}, screen, screen), screen.topLeft());
    // On an owner: centred on it, an odd pixel rounding toward the top left.
    EXPECT_EQ(CentredPosition({201, 101}, QRect(2000, 100, 600, 400), screen), QPoint(2199, 249));
    // An owner by the screen's edge: the window stays on the screen whole.
    EXPECT_EQ(CentredPosition({500, 400}, QRect(2900, 700, 300, 300), screen), QPoint(2700, 624));
    // An owner reaching past the edge is followed, but never above or left of the screen.
    EXPECT_EQ(CentredPosition({300, 200}, QRect(2900, 800, 800, 600), screen), QPoint(3150, 1000));
    EXPECT_EQ(CentredPosition({600, 400}, QRect(1800, -100, 400, 200), screen), screen.topLeft());
}

TEST(WindowPlacement, CentreOnOwnerTakesTheShownOwnerElseTheScreen)
{
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget owner;
    owner.setGeometry(work.left() + 40, work.top() + 30, 400, 300);
    QDialog dialog(&owner);
    dialog.resize(200, 100);

    // A hidden owner, or none: the screen's working area.
    CentreOnOwner(dialog, &owner);
    EXPECT_EQ(dialog.frameGeometry().center(), work.center());
    owner.show();
    CentreOnOwner(dialog, &owner);
    EXPECT_EQ(dialog.frameGeometry().center(), owner.frameGeometry().center());
    CentreOnOwner(dialog, nullptr);
    EXPECT_EQ(dialog.frameGeometry().center(), work.center());

    // Larger than the screen: kept on it from its top left.
    dialog.resize(work.width() + 300, work.height() + 200);
    CentreOnOwner(dialog, &owner);
    EXPECT_EQ(dialog.frameGeometry().topLeft(), work.topLeft());
}
