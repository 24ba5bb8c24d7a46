#include "app/dialogs/tips.h"
#include "controls/quytipdialog.h"
#include "controls/quytipdialogform.h"
#include "support/guievents.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

TEST(Tips, ElevenTipsWithTheTitleInsertedAsItIs)
{
    TStrings tips;
    tips.Add("an old tip");
    FillTips(tips, "Orvane Jukebox");
    FillTips(tips, "Orvane Jukebox");
    ASSERT_EQ(tips.Count(), 11);
    EXPECT_EQ(tips[0],
              "Before you can use Orvane Jukebox you need to set your Music Folder locations.  Do this "
              "by choosing Settings->Music Folders from the main menu.");
    EXPECT_EQ(tips[6],
              "You can quickly jump through the alphabetic listing of artists by pressing the A-Z keys.");
    EXPECT_EQ(tips[7],
              "You can control Orvane Jukebox using your favorite Remote Control Interface program by "
              "sending the key strokes for various commands to the window called \"Orvane Jukebox\".  "
              "Details of the required key strokes appear beside the commands in the main menu.");
    EXPECT_EQ(tips[9].rfind("Orvane Jukebox can display the Album Covers", 0), 0u);
    EXPECT_EQ(tips[10].rfind("Orvane Jukebox can be run in full screen mode", 0), 0u);
}

TEST(Tips, TheStartUpTipShowsOnlyWhenWanted)
{
    TQuyTipDialog dialog;
    FillTips(dialog.Tips(), "Orvane Jukebox");
    dialog.SetTipNo(10);
    int shown = 0;
    dialog.CreateForm = [&shown](QWidget* parent) {
        ++shown;
        return std::make_unique<TQuyTipDialogForm>(parent);
    };
    QWidget parent;
    EXPECT_EQ(ShowStartupTip(dialog, &parent), nullptr);
    EXPECT_EQ(shown, 0);

    // Opened without blocking, over its parent; closing it hands the tip and the box back.
    dialog.SetShowAtStart(true);
    parent.show();
    TQuyTipDialogForm* form = ShowStartupTip(dialog, &parent);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(form->TipLabel()->text().startsWith("Orvane Jukebox can be run in full screen mode"));
    const QPointer<TQuyTipDialogForm> watch(form);
    QTest::mouseClick(form->NextButton(), Qt::LeftButton);
    form->StartupCheckBox()->setChecked(false);
    QTest::mouseClick(form->CloseButton(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watch.isNull()) << "freed as it closed";
    // Next went round to the first tip; the box was unticked.
    EXPECT_EQ(dialog.TipNo(), 0);
    EXPECT_FALSE(dialog.ShowAtStart());
}
