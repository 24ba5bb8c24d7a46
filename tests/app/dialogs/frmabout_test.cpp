#include "app/dialogs/frmojabout.h"
#include "controls/colorpanel.h"
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "controls/wovfileversion.h"
#include "support/guievents.h"
#include "support/openedrecorder.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <string>

namespace {

void FireSplashTimer(TfrmAbout& form)
{
    ASSERT_TRUE(form.SplashTimer()->isActive());
    QMetaObject::invokeMethod(form.SplashTimer(), "timeout");
}

QLabel* Logo(TfrmAbout& form)
{
    return form.findChild<QLabel*>("imgLogo");
}

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

QPoint LineCentre(ThtmlListBox* list, int line)
{
    return list->ItemRect(line).center();
}

} // namespace

TEST(AboutForm, TheSplashShowsTheLogoAloneAndRefusesToCloseUntilItsTimerFires)
{
    TfrmOJAbout form;
    EXPECT_EQ(form.windowTitle(), "About");
    EXPECT_EQ(form.SplashTimer()->interval(), 5000);
    EXPECT_FALSE(form.MayClose());

    form.ShowSplash();
    ASSERT_TRUE(form.isVisible());
    EXPECT_FALSE(form.isModal());
    EXPECT_EQ(form.height(), TfrmAbout::kLogoHeight);
    EXPECT_FALSE(form.DetailsPanel()->isVisibleTo(&form));
    EXPECT_EQ(form.DetailsList()->Count(), 0);
    EXPECT_FALSE(Logo(form)->pixmap().isNull());
    const QRect screen = form.screen()->geometry();
    EXPECT_EQ(form.pos(), QPoint(screen.left() + (screen.width() - form.width()) / 2,
                                 screen.top() + (screen.height() - form.height()) / 2));

    QTest::mouseClick(Logo(form), Qt::LeftButton);
    QTest::keyClick(&form, Qt::Key_Escape);
    form.close();
    EXPECT_TRUE(form.isVisible());

    FireSplashTimer(form);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.MayClose());
    EXPECT_FALSE(form.SplashTimer()->isActive());
}

TEST(AboutForm, TheAboutBoxShowsLogoAndDetailsAndClosesOnAClickOrEsc)
{
    TfrmOJAbout form;
    form.ShowSplash();
    FireSplashTimer(form);

    std::vector<std::string> lines;
    int height = 0;
    bool modal = false;
    WhenModal([&](QWidget* shown) {
        modal = shown == &form;
        height = form.height();
        for (int i = 0; i < form.DetailsList()->Count(); ++i)
            lines.push_back(form.DetailsList()->Items()[i]);
        QTest::mouseClick(form.DetailsPanel(), Qt::LeftButton);
    });
    form.ShowAboutBox();
    EXPECT_TRUE(modal);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(height, TfrmAbout::kAboutHeight);
    // Three addresses with their headings, the gap, then version, copyright and distributor.
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_TRUE(EndsWith(lines[0], "Web :"));
    EXPECT_TRUE(EndsWith(lines[1], TfrmOJAbout::kWebHome));
    EXPECT_TRUE(EndsWith(lines[3], TfrmOJAbout::kEmailSupport));
    EXPECT_TRUE(EndsWith(lines[5], TfrmOJAbout::kEmailSales));
    EXPECT_EQ(lines[6], "");
    EXPECT_TRUE(EndsWith(lines[7], form.VersionNotice()));

    // Shown again (the details are refilled, not appended), then closed by Esc.
    WhenModal([&](QWidget*) {
        lines.assign(1, std::to_string(form.DetailsList()->Count()));
        QTest::keyClick(&form, Qt::Key_Escape);
    });
    form.ShowAboutBox();
    EXPECT_EQ(lines, std::vector<std::string>{"10"});
    EXPECT_FALSE(form.isVisible());
}

TEST(AboutForm, TheVersionLineAlwaysEndsInBeta)
{
    TfrmOJAbout form;
    const auto numbers = ParseVersionText(ProgramVersionText());
    ASSERT_TRUE(numbers);
    EXPECT_EQ(form.VersionNotice(), "Version : " + std::to_string(numbers->Major) + "." +
                                        std::to_string(numbers->Minor) + " (Release " +
                                        std::to_string(numbers->Release) + " Build " +
                                        std::to_string(numbers->Build) + ") BETA");
    form.SetProgramFile("/no/such/program");
    EXPECT_EQ(form.VersionNotice(), "Version : 0.0 (Release 0 Build 0) BETA");
}

TEST(AboutForm, TheDetailsListOpensItsLinksAndHandsTheFocusOn)
{
    OpenedRecorder opened;
    TfrmOJAbout form;
    form.ShowSplash();
    FireSplashTimer(form);

    Qt::CursorShape overWeb = Qt::ArrowCursor;
    Qt::CursorShape overHeading = Qt::PointingHandCursor;
    bool focusHandedOn = false;
    bool stillShown = false;
    WhenModal([&](QWidget*) {
        ThtmlListBox* list = form.DetailsList();
        QWidget* viewport = list->viewport();
        QTest::mouseMove(viewport, LineCentre(list, 1));
        overWeb = viewport->cursor().shape();
        QTest::mouseMove(viewport, LineCentre(list, 0));
        overHeading = viewport->cursor().shape();

        QTest::mouseClick(viewport, Qt::LeftButton, {}, LineCentre(list, 5));
        QTest::mouseClick(viewport, Qt::LeftButton, {}, LineCentre(list, 0));
        focusHandedOn = form.focusWidget() == form.findChild<QPushButton*>("Button1");
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        focusHandedOn = focusHandedOn && !list->hasFocus();
        stillShown = form.isVisible();
        QTest::keyClick(list, Qt::Key_Escape);
    });
    form.ShowAboutBox();
    EXPECT_EQ(overWeb, Qt::PointingHandCursor);
    EXPECT_EQ(overHeading, Qt::ArrowCursor);
    EXPECT_EQ(opened.opened, std::vector<std::string>{std::string("mailto:") + TfrmOJAbout::kEmailSales});
    EXPECT_TRUE(focusHandedOn);
    EXPECT_TRUE(stillShown);
    EXPECT_FALSE(form.isVisible());
}

TEST(AboutForm, ASecondSplashClearsTheMayCloseFlagAgain)
{
    TfrmOJAbout form;
    form.ShowSplash();
    FireSplashTimer(form);
    form.ShowSplash();
    EXPECT_FALSE(form.MayClose());
    EXPECT_EQ(form.height(), TfrmAbout::kLogoHeight);
    // While the splash refuses to close, the about box does not come up over it.
    form.ShowAboutBox();
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.isModal());
    FireSplashTimer(form);
    EXPECT_FALSE(form.isVisible());
}

TEST(AboutForm, LinksOpenNothingWhileTurnedOff)
{
    OpenedRecorder opened;
    TfrmOJAbout form;
    form.ShowSplash();
    FireSplashTimer(form);
    form.SetLinksEnabled(false);
    Qt::CursorShape overWeb = Qt::PointingHandCursor;
    WhenModal([&](QWidget*) {
        ThtmlListBox* list = form.DetailsList();
        QTest::mouseMove(list->viewport(), LineCentre(list, 1));
        overWeb = list->viewport()->cursor().shape();
        for (int line = 0; line < list->Count(); ++line)
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, LineCentre(list, line));
        form.reject();
    });
    form.ShowAboutBox();
    EXPECT_EQ(overWeb, Qt::ArrowCursor);
    EXPECT_TRUE(opened.opened.empty());
}
