#include "app/qt/helpers/guiutils.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QWidget>

TEST(GuiUtils, AbsolutePositionSumsParentsUpToTheWindow)
{
    QWidget form;
    form.move(100, 50);
    auto* panel = new QWidget(&form);
    panel->move(10, 20);
    auto* button = new QPushButton(panel);
    button->move(3, 4);
    int left = -1, top = -1;
    GetAbsolutePos(button, left, top);
    EXPECT_EQ(left, 113);
    EXPECT_EQ(top, 74);
    GetAbsolutePos(&form, left, top);
    EXPECT_EQ(left, form.x());
    EXPECT_EQ(top, form.y());

    // A dialog parented to the form is a window of its own: the form's position does not count.
    auto* dialog = new QDialog(&form);
    dialog->move(300, 200);
    auto* inDialog = new QPushButton(dialog);
    inDialog->move(5, 6);
    GetAbsolutePos(inDialog, left, top);
    EXPECT_EQ(left, 305);
    EXPECT_EQ(top, 206);

    GetAbsolutePos(nullptr, left, top);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(top, 0);
}

TEST(GuiUtils, EnableGroupBoxControlsTouchesDirectChildrenOnly)
{
    QWidget form;
    auto* group = new QGroupBox(&form);
    auto* first = new QPushButton(group);
    auto* second = new QPushButton(group);
    auto* inner = new QWidget(group);
    auto* nested = new QPushButton(inner);
    auto* outside = new QPushButton(&form);

    EnableGroupBoxControls(&form, group, false);
    EXPECT_FALSE(first->isEnabled());
    EXPECT_FALSE(second->isEnabled());
    EXPECT_FALSE(inner->isEnabled());
    EXPECT_FALSE(nested->testAttribute(Qt::WA_ForceDisabled));
    EXPECT_TRUE(group->isEnabled());
    EXPECT_TRUE(outside->isEnabled());

    // A group box of another form is left alone.
    QWidget otherForm;
    EnableGroupBoxControls(&otherForm, group, true);
    EXPECT_FALSE(first->isEnabled());

    EnableGroupBoxControls(&form, group, true);
    EXPECT_TRUE(first->isEnabled());
    EXPECT_TRUE(nested->isEnabled());
    EnableGroupBoxControls(&form, nullptr, false);
    EnableGroupBoxControls(nullptr, group, false);
    EXPECT_TRUE(first->isEnabled());
}
