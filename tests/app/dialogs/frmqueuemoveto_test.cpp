#include "app/dialogs/frmqueuemoveto.h"
#include "support/whenmodal.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <functional>

namespace {

struct Shown
{
    int value = -1;
    int minimum = -1;
    int maximum = -1;
    QPoint pos;
    int width = 0;
    QString hint;
};

// Asks for a position while answer works the popup; records what it showed.
int Ask(int lowest, int highest, int current, Shown& shown, std::function<void(TfrmQueueMoveTo&)> answer)
{
    WhenModal([&shown, answer = std::move(answer)](QWidget* window) {
        auto* popup = qobject_cast<TfrmQueueMoveTo*>(window);
        ASSERT_TRUE(popup);
        QSpinBox* edit = popup->PositionEdit();
        shown = {edit->value(), edit->minimum(), edit->maximum(),
                 popup->pos(),  popup->width(),  edit->toolTip()};
        answer(*popup);
    });
    return AskQueuePosition(lowest, highest, current, 120, 80);
}

} // namespace

TEST(QueueMoveTo, AFiveSongQueueStartsAtTheSelectedSongAndAcceptsOneToFive)
{
    Shown shown;
    const int moved = Ask(0, 4, 2, shown, [](TfrmQueueMoveTo& popup) {
        popup.PositionEdit()->setValue(1);
        QTest::mouseClick(popup.OkButton(), Qt::LeftButton);
    });
    EXPECT_EQ(moved, 0);
    EXPECT_EQ(shown.value, 3);
    EXPECT_EQ(shown.minimum, 1);
    EXPECT_EQ(shown.maximum, 5);
    EXPECT_EQ(shown.pos, QPoint(120, 80));
    EXPECT_EQ(shown.width, TfrmQueueMoveTo::kColumnWidth);
    EXPECT_EQ(shown.hint, "This is the position to move the song to");
}

TEST(QueueMoveTo, CancelAndEscGiveTheCurrentPositionBackAndEnterTakesTheClampedValue)
{
    Shown shown;
    EXPECT_EQ(Ask(0, 4, 2, shown,
                  [](TfrmQueueMoveTo& popup) {
                      popup.PositionEdit()->setValue(5);
                      QTest::mouseClick(popup.CancelButton(), Qt::LeftButton);
                  }),
              2);
    EXPECT_EQ(Ask(0, 4, 2, shown, [](TfrmQueueMoveTo& popup) { QTest::keyClick(&popup, Qt::Key_Escape); }),
              2);
    EXPECT_EQ(Ask(0, 4, 7, shown,
                  [](TfrmQueueMoveTo& popup) { QTest::keyClick(popup.PositionEdit(), Qt::Key_Return); }),
              4);
    EXPECT_EQ(shown.value, 5);
}
