#include "app/qt/services/qtpromptservice.h"
#include "support/guievents.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <tuple>

TEST(QtPromptService, ShowsTheCoresBoxes)
{
    TpromptService* const previous = TpromptService::Current();
    InstallQtPromptService();
    ASSERT_NE(TpromptService::Current(), previous);

    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool yesIsDefault = false;
    WhenModal([&](QWidget* shown) {
        auto* box = qobject_cast<QMessageBox*>(shown);
        ASSERT_NE(box, nullptr);
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        buttons = box->standardButtons();
        yesIsDefault = box->defaultButton() == box->button(QMessageBox::Yes);
        QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
    });
    EXPECT_EQ(
        ShowMessageBox("First line.\rSecond line.", "Caption", TmessageButtons::YesNo, TmessageIcon::Error),
        TmessageResult::No);
    EXPECT_EQ(text, "First line.\nSecond line.");
    EXPECT_EQ(title, "Caption");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_TRUE(yesIsDefault);

    WhenModal([&](QWidget* shown) {
        auto* box = qobject_cast<QMessageBox*>(shown);
        ASSERT_NE(box, nullptr);
        icon = box->icon();
        buttons = box->standardButtons();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    EXPECT_EQ(ShowMessageBox("Told.", "Caption", TmessageButtons::Ok, TmessageIcon::Warning),
              TmessageResult::Ok);
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons, QMessageBox::Ok);

    bool okIsDefault = false;
    WhenModal([&](QWidget* shown) {
        auto* box = qobject_cast<QMessageBox*>(shown);
        ASSERT_NE(box, nullptr);
        buttons = box->standardButtons();
        okIsDefault = box->defaultButton() == box->button(QMessageBox::Ok);
        QTest::mouseClick(box->button(QMessageBox::Cancel), Qt::LeftButton);
    });
    EXPECT_EQ(ShowMessageBox("Sure?", "Caption", TmessageButtons::OkCancel, TmessageIcon::Warning),
              TmessageResult::Cancel);
    EXPECT_EQ(buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_TRUE(okIsDefault);

    TpromptService::Install(previous);
    // Without a service, an OK/Cancel box answers Cancel: it starts nothing.
    EXPECT_EQ(ShowMessageBox("Sure?", "Caption", TmessageButtons::OkCancel, TmessageIcon::Warning),
              TmessageResult::Cancel);
}

// The answers the test above leaves out: OK in an OK/Cancel box, Yes, and Escape, which gives the answer
// that starts nothing.
TEST(QtPromptService, EveryButtonOfEveryBoxGivesItsAnswer)
{
    TpromptService* const previous = TpromptService::Current();
    InstallQtPromptService();
    const std::tuple<TmessageButtons, QMessageBox::StandardButton, TmessageResult> cases[] = {
        {TmessageButtons::OkCancel, QMessageBox::Ok, TmessageResult::Ok},
        {TmessageButtons::YesNo, QMessageBox::Yes, TmessageResult::Yes},
        {TmessageButtons::OkCancel, QMessageBox::NoButton, TmessageResult::Cancel},
        {TmessageButtons::Ok, QMessageBox::NoButton, TmessageResult::Ok},
    };
    for (const auto& [buttons, clicked, expected] : cases) {
        WhenModal([clicked = clicked](QWidget* shown) {
            auto* box = qobject_cast<QMessageBox*>(shown);
            ASSERT_NE(box, nullptr);
            if (clicked == QMessageBox::NoButton)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                QTest::mouseClick(box->button(clicked), Qt::LeftButton);
        });
        EXPECT_EQ(ShowMessageBox("Sure?", "Caption", buttons, TmessageIcon::Question), expected) << clicked;
    }
    TpromptService::Install(previous);
}
