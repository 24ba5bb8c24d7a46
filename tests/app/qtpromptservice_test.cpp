#include "app/qtpromptservice.h"
#include "support/guievents.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

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

    TpromptService::Install(previous);
}
