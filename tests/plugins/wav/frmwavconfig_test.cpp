#include "plugins/wav/frmwavconfig.h"
#include "plugins/wav/wavsettings.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

TEST(frmWAVconfig, ShowsTheSettingsAndOkStoresTheControls)
{
    TwavSettings settings;
    TfrmWAVconfig dialog(settings);
    EXPECT_EQ(dialog.windowTitle(), "WAV Reader");
    dialog.show();
    EXPECT_EQ(dialog.edMask()->text(), "%t");
    EXPECT_TRUE(dialog.rbParentAlbum()->isChecked());
    EXPECT_FALSE(dialog.rbParentArtist()->isChecked());
    EXPECT_TRUE(dialog.cbParentParent()->isChecked());
    EXPECT_TRUE(dialog.cbParentParent()->isEnabled());
    EXPECT_EQ(dialog.btnOK()->text(), "&OK");
    EXPECT_EQ(dialog.btnCancel()->text(), "&Cancel");
    EXPECT_EQ(dialog.rbParentAlbum()->text(), "Parent Folder is Album Title");
    EXPECT_EQ(dialog.rbParentArtist()->text(), "Parent Folder is Artist Name");
    EXPECT_EQ(dialog.cbParentParent()->text(), "Parent Folder's Parent is Artist Name");
    const auto* note = dialog.findChild<QPlainTextEdit*>("memoPlaceholders");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isReadOnly());
    EXPECT_EQ(note->toPlainText(), "%a : Artist\n%b : Album\n%t : Title\n%n : Track #\n%g : Genre");
    QStringList groups;
    for (const auto* g : dialog.findChildren<QGroupBox*>())
        groups << g->title();
    EXPECT_EQ(groups, (QStringList{"WAV Tag Reader", "Folders"}));

    // The check box follows the album button on every click of either button.
    dialog.rbParentArtist()->click();
    EXPECT_FALSE(dialog.rbParentAlbum()->isChecked());
    EXPECT_FALSE(dialog.cbParentParent()->isEnabled());
    dialog.rbParentAlbum()->click();
    EXPECT_TRUE(dialog.cbParentParent()->isEnabled());
    dialog.rbParentArtist()->click();

    dialog.edMask()->setText("%n - %t");
    dialog.cbParentParent()->setChecked(false);
    dialog.btnOK()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(settings.Mask, "%n - %t");
    EXPECT_FALSE(settings.ParentAlbum);
    EXPECT_TRUE(settings.ParentArtist);
    EXPECT_FALSE(settings.ParentParentArtist);

    // Shown again, it starts from the stored settings.
    dialog.show();
    EXPECT_TRUE(dialog.rbParentArtist()->isChecked());
    EXPECT_FALSE(dialog.cbParentParent()->isEnabled());
    EXPECT_EQ(dialog.edMask()->text(), "%n - %t");
}

TEST(frmWAVconfig, CancelLeavesTheSettings)
{
    TwavSettings settings;
    TfrmWAVconfig dialog(settings);
    dialog.show();
    dialog.edMask()->setText("%a");
    dialog.rbParentArtist()->click();
    dialog.btnCancel()->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(settings.Mask, "%t");
    EXPECT_TRUE(settings.ParentAlbum);
    EXPECT_FALSE(settings.ParentArtist);
}

TEST(frmWAVconfig, SettingsWithNeitherOrBothFolderRules)
{
    TwavSettings settings;
    settings.ParentAlbum = false;
    TfrmWAVconfig dialog(settings);
    dialog.show();
    EXPECT_FALSE(dialog.rbParentAlbum()->isChecked());
    EXPECT_FALSE(dialog.rbParentArtist()->isChecked());
    EXPECT_FALSE(dialog.cbParentParent()->isEnabled());
    dialog.btnOK()->click();
    EXPECT_FALSE(settings.ParentAlbum);
    EXPECT_FALSE(settings.ParentArtist);

    settings.ParentAlbum = true;
    settings.ParentArtist = true;
    dialog.show();
    EXPECT_FALSE(dialog.rbParentAlbum()->isChecked());
    EXPECT_TRUE(dialog.rbParentArtist()->isChecked());
    // The buttons are exclusive again once shown.
    dialog.rbParentAlbum()->click();
    EXPECT_FALSE(dialog.rbParentArtist()->isChecked());
    dialog.btnOK()->click();
    EXPECT_TRUE(settings.ParentAlbum);
    EXPECT_FALSE(settings.ParentArtist);
}
