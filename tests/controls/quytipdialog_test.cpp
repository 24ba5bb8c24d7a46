#include "controls/imagecolorpanel.h"
#include "controls/quytipdialog.h"
#include "controls/quytipdialogform.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <memory>
#include <stdexcept>

namespace {

std::unique_ptr<TStrings> Lines(std::initializer_list<const char*> lines)
{
    auto list = std::make_unique<TStrings>();
    for (const char* line : lines) {
        list->Add(line);
    }
    return list;
}

// Runs `step` on the tip window once it is up, then closes it through its Close button.
void WhileShown(const std::function<void(TQuyTipDialogForm&)>& step)
{
    QTimer::singleShot(0, [step] {
        auto* form = qobject_cast<TQuyTipDialogForm*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        step(*form);
        form->CloseButton()->click();
    });
}

} // namespace

TEST(QuyTipDialog, TipNoStaysInsideTheTips)
{
    TQuyTipDialog tips;
    tips.SetTips(*Lines({"one", "two", "three"}));
    tips.SetTipNo(2);
    EXPECT_EQ(tips.TipNo(), 2);
    tips.SetTipNo(5);
    EXPECT_EQ(tips.TipNo(), 0);
    tips.SetTipNo(-1);
    EXPECT_EQ(tips.TipNo(), 0);
    tips.SetTips(tips.Tips()); // its own list: nothing happens
    EXPECT_EQ(tips.Tips().Count(), 3);
}

TEST(QuyTipDialog, FormShowAndNextTipGoRound)
{
    TQuyTipDialogForm form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Tip of the Day"));
    form.SetTips(*Lines({"one", "two", "three"}));
    form.SetIndex(5);
    form.FormShow();
    EXPECT_EQ(form.Index(), 0);
    EXPECT_EQ(form.TipLabel()->text(), QStringLiteral("one"));
    EXPECT_TRUE(form.NextButton()->isEnabled());
    form.SetIndex(2);
    form.FormShow();
    form.Button1Click();
    form.Button1Click();
    EXPECT_EQ(form.Index(), 1);
    EXPECT_EQ(form.TipLabel()->text(), QStringLiteral("two"));

    TQuyTipDialogForm single;
    single.SetTips(*Lines({"only"}));
    single.FormShow();
    EXPECT_FALSE(single.NextButton()->isEnabled());
}

TEST(QuyTipDialog, ExecuteShowsTheTipAndTakesBackIndexAndCheckBox)
{
    TQuyTipDialog tips;
    tips.SetTips(*Lines({"one", "two", "three"}));
    tips.SetTipNo(2);
    tips.SetShowAtStart(true);
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    tips.SetImage(picture);
    WhileShown([](TQuyTipDialogForm& form) {
        EXPECT_EQ(form.TipLabel()->text(), QStringLiteral("three"));
        EXPECT_TRUE(form.StartupCheckBox()->isChecked());
        EXPECT_EQ(form.ImagePanel()->Image().Width(), 40);
        form.NextButton()->click();
        form.NextButton()->click();
        form.StartupCheckBox()->setChecked(false);
    });
    EXPECT_TRUE(tips.Execute());
    EXPECT_EQ(tips.TipNo(), 1);
    EXPECT_FALSE(tips.ShowAtStart());
}

TEST(QuyTipDialog, NoTipsShowThePlaceholder)
{
    TQuyTipDialog tips;
    WhileShown([](TQuyTipDialogForm& form) {
        EXPECT_EQ(form.TipLabel()->text(), QStringLiteral("No Tips Available!"));
        EXPECT_FALSE(form.NextButton()->isEnabled());
    });
    EXPECT_TRUE(tips.Execute());
    EXPECT_EQ(tips.TipNo(), 0);
    EXPECT_EQ(tips.Tips().Count(), 0); // the placeholder is the window's own
}

TEST(QuyTipDialog, AWindowThatCannotBeMadeShowsNothing)
{
    TQuyTipDialog tips;
    tips.SetTipNo(0);
    tips.CreateForm = [](QWidget*) -> std::unique_ptr<TQuyTipDialogForm> {
        throw std::runtime_error("no window");
    };
    EXPECT_TRUE(tips.Execute());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
