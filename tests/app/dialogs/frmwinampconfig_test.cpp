#include "app/dialogs/frmwinampconfig.h"
#include "core/player/winampmediaplayer.h"
#include "support/fakeprompts.h"
#include "support/guievents.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

namespace {

template <typename T>
T* Child(QWidget* parent, const char* name)
{
    T* child = parent ? parent->findChild<T*>(name) : nullptr;
    EXPECT_NE(child, nullptr) << name;
    return child;
}

void Click(QWidget* parent, const char* button)
{
    if (auto* b = Child<QPushButton>(parent, button))
        QTest::mouseClick(b, Qt::LeftButton);
}

class TbrowsingConfig : public TfrmWinampConfig
{
public:
    QString answer;
    int browsed = 0;

protected:
    QString BrowseForFolder() override
    {
        ++browsed;
        return answer;
    }
};

struct WinampConfigDialog : ::testing::Test
{
    TfakePrompts prompts;
    TwinampMediaPlayer player;

    void SetUp() override
    {
        player.SetWinampPath("/opt/winamp");
        player.SetAllowControlVolume(true);
        player.SetControlVolume(true);
    }
};

} // namespace

TEST_F(WinampConfigDialog, ShowsThePlayersSettingsAndApplyStoresThem)
{
    TfrmWinampConfig dialog;
    bool checked = false;
    WhenModal([&](QWidget* shown) {
        ASSERT_EQ(shown, &dialog);
        EXPECT_EQ(shown->windowTitle(), "Winamp Player");
        auto* tabs = Child<QTabWidget>(shown, "pcWinampConfig");
        ASSERT_TRUE(tabs);
        EXPECT_EQ(tabs->count(), 1);
        EXPECT_EQ(tabs->tabText(0), "General Settings");
        EXPECT_EQ(Child<QLabel>(shown, "lblWinampLocation")->text(),
                  "* This needs to specify the location of Winamp.EXE");
        EXPECT_EQ(Child<QLabel>(shown, "lblWinampFolder")->text(), "Winamp Folder :");
        EXPECT_EQ(Child<QPushButton>(shown, "btnSelectFolder")->text(), "...");
        EXPECT_EQ(Child<QLabel>(shown, "lblControlVolume")->text(),
                  "* If Control Volume is checked then you will have to use this application to change the "
                  "volume, you won't be able to do it from Winamp.");
        EXPECT_EQ(Child<QPushButton>(shown, "btnClose")->text(), "&Close");
        EXPECT_TRUE(Child<QPushButton>(shown, "btnClose")->isDefault());
        EXPECT_EQ(Child<QPushButton>(shown, "btnApply")->text(), "&Apply");

        auto* folder = Child<QLineEdit>(shown, "edWinampFolder");
        auto* volume = Child<QCheckBox>(shown, "cbControlVolume");
        ASSERT_TRUE(folder && volume);
        EXPECT_EQ(folder->text(), "/opt/winamp");
        EXPECT_EQ(volume->text(), "Control Volume");
        EXPECT_TRUE(volume->isChecked());
        EXPECT_TRUE(volume->isVisible());

        folder->setText("/usr/lib/winamp");
        volume->setChecked(false);
        Click(shown, "btnApply");
        EXPECT_EQ(player.WinampPath(), "/usr/lib/winamp");
        EXPECT_FALSE(player.ControlVolume());

        folder->setText("/not/applied");
        checked = true;
        Click(shown, "btnClose");
    });
    dialog.ShowForPlayer(&player);
    EXPECT_TRUE(checked);
    EXPECT_EQ(player.WinampPath(), "/usr/lib/winamp") << "Close applies nothing";
    EXPECT_EQ(dialog.Player(), nullptr) << "bound for the showing only";
    EXPECT_TRUE(prompts.boxes.empty());
}

TEST_F(WinampConfigDialog, VolumeOptionOnlyWhenThePlayerAllowsIt)
{
    player.SetAllowControlVolume(false);
    TfrmWinampConfig dialog;
    bool hidden = false;
    WhenModal([&](QWidget* shown) {
        hidden = !Child<QCheckBox>(shown, "cbControlVolume")->isVisible() &&
                 !Child<QLabel>(shown, "lblControlVolume")->isVisible();
        Click(shown, "btnClose");
    });
    dialog.ShowForPlayer(&player);
    EXPECT_TRUE(hidden);
}

TEST_F(WinampConfigDialog, FolderButtonPutsTheChosenFolderInTheEdit)
{
    TbrowsingConfig dialog;
    dialog.SetPlayer(&player);
    dialog.show();
    auto* folder = Child<QLineEdit>(&dialog, "edWinampFolder");
    ASSERT_TRUE(folder);
    dialog.answer = "/chosen/folder";
    Click(&dialog, "btnSelectFolder");
    EXPECT_EQ(dialog.browsed, 1);
    EXPECT_EQ(folder->text(), "/chosen/folder");
    EXPECT_EQ(player.WinampPath(), "/opt/winamp") << "only Apply stores it";
    dialog.answer.clear(); // cancelled
    Click(&dialog, "btnSelectFolder");
    EXPECT_EQ(folder->text(), "/chosen/folder");
}

TEST_F(WinampConfigDialog, WithoutAPlayerItSaysSo)
{
    TfakePrompts prompts;
    TfrmWinampConfig dialog;
    dialog.show();
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "No valid player assigned.");
    Click(&dialog, "btnApply"); // nothing to apply to
}

TEST_F(WinampConfigDialog, ConfigureOpensIt)
{
    InstallWinampConfigDialog();
    TwinampMediaPlayer* bound = nullptr;
    WhenModal([&](QWidget* shown) {
        if (auto* dialog = qobject_cast<TfrmWinampConfig*>(shown)) {
            bound = dialog->Player();
            Click(dialog, "btnClose");
        }
    });
    player.Configure();
    EXPECT_EQ(bound, &player);

    // With an owner, one dialog serves every showing and goes with the owner.
    QWidget owner;
    InstallWinampConfigDialog(&owner);
    QWidget* first = nullptr;
    QWidget* second = nullptr;
    WhenModal([&](QWidget* shown) {
        first = shown;
        Click(shown, "btnClose");
    });
    player.Configure();
    WhenModal([&](QWidget* shown) {
        second = shown;
        Click(shown, "btnClose");
    });
    player.Configure();
    TwinampMediaPlayer::SetConfigDialogHook(nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->parentWidget(), &owner);
}
