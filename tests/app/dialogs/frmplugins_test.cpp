#include "app/dialogs/frmplugins.h"
#include "core/plugins/taggerloader.h"
#include "testpluginfolder.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

struct PluginsDialog : ::testing::Test
{
    TestPluginFolder folder{"beta", "alpha", "wav"};
    TtaggerLoader loader;

    void SetUp() override
    {
        loader.SetSupportLevel(2);
        loader.SetPluginFolder(folder.Path());
        ASSERT_EQ(loader.GetCount(), 3);
    }
};

QRect CheckBoxRect(QTreeWidget* tree, QTreeWidgetItem* item)
{
    const QRect row = tree->visualItemRect(item);
    // The check indicator sits at the start of the row.
    return QRect(row.left() + 2, row.top(), row.height(), row.height());
}

} // namespace

TEST_F(PluginsDialog, LayoutAndTexts)
{
    TfrmPlugins dialog(loader);
    EXPECT_EQ(dialog.windowTitle(), "Tag Reader Plugins");
    dialog.show();
    EXPECT_EQ(dialog.size(), QSize(496, 306));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());

    auto* list = dialog.findChild<QTreeWidget*>("lvPlugins");
    auto* extensions = dialog.findChild<QPlainTextEdit*>("memoExtensions");
    auto* info = dialog.findChild<QPlainTextEdit*>("memoInfo");
    auto* group = dialog.findChild<QGroupBox*>();
    ASSERT_TRUE(list && extensions && info && group);
    EXPECT_EQ(list->headerItem()->text(0), "Plugin");
    EXPECT_EQ(group->title(), "Information");
    EXPECT_EQ(info->parentWidget(), group);
    EXPECT_TRUE(extensions->isReadOnly());
    EXPECT_TRUE(info->isReadOnly());
    EXPECT_TRUE(QFontInfo(info->font()).fixedPitch());

    QStringList buttons;
    for (const QPushButton* b : dialog.findChildren<QPushButton*>())
        buttons << b->text();
    EXPECT_EQ(buttons, (QStringList{"Con&figure", "&Close"}));
    EXPECT_TRUE(dialog.findChild<QPushButton*>("btnClose")->isDefault());
    bool labelFound = false;
    for (const QLabel* l : dialog.findChildren<QLabel*>())
        labelFound |= l->text() == "Enabled Extensions";
    EXPECT_TRUE(labelFound);

    // Filled on show, in name order, checked as enabled.
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "A");
    EXPECT_EQ(list->topLevelItem(1)->text(0), "B");
    EXPECT_EQ(list->topLevelItem(2)->text(0), "Wav");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(list->topLevelItem(i)->checkState(0), Qt::Checked);
    EXPECT_EQ(extensions->toPlainText(), "shr\naon\nSHR\nbon\nwav");
}

TEST_F(PluginsDialog, InformationLines)
{
    EXPECT_EQ(TfrmPlugins::InfoText(*loader.GetPlugin(2)), "Description          : Wav\n"
                                                           "Supported File Types : WAV Format Audio Files\n"
                                                           "Supported Extensions : wav\n"
                                                           "Version              : 1.0");
    EXPECT_EQ(TfrmPlugins::InfoText(*loader.GetPlugin(0)).split('\n').value(3), "Version              : 1.2");

    TfrmPlugins dialog(loader);
    dialog.show();
    auto* list = dialog.findChild<QTreeWidget*>("lvPlugins");
    auto* info = dialog.findChild<QPlainTextEdit*>("memoInfo");
    list->setCurrentItem(list->topLevelItem(0));
    EXPECT_EQ(info->toPlainText().split('\n').value(2), "Supported Extensions : shr,aon");
    list->setCurrentItem(list->topLevelItem(2));
    EXPECT_EQ(info->toPlainText(), TfrmPlugins::InfoText(*loader.GetPlugin(2)));
}

TEST_F(PluginsDialog, CheckingSwitchesPluginsAndTheirExtensions)
{
    TfrmPlugins dialog(loader);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* list = dialog.findChild<QTreeWidget*>("lvPlugins");
    auto* extensions = dialog.findChild<QPlainTextEdit*>("memoExtensions");
    auto* info = dialog.findChild<QPlainTextEdit*>("memoInfo");
    list->setCurrentItem(list->topLevelItem(1));

    // A real click on A's check box.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      CheckBoxRect(list, list->topLevelItem(0)).center());
    ASSERT_EQ(list->topLevelItem(0)->checkState(0), Qt::Unchecked);
    EXPECT_FALSE(loader.GetPlugin(0)->Enabled());
    EXPECT_EQ(extensions->toPlainText(), "SHR\nbon\nwav");
    EXPECT_EQ(loader.ReadFileTag("song.shr"), loader.GetPluginRecord(1));
    EXPECT_EQ(info->toPlainText(), TfrmPlugins::InfoText(*dialog.SelectedPlugin()));

    list->topLevelItem(2)->setCheckState(0, Qt::Unchecked);
    EXPECT_FALSE(loader.GetPlugin(2)->Enabled());
    EXPECT_EQ(extensions->toPlainText(), "SHR\nbon");
    list->topLevelItem(0)->setCheckState(0, Qt::Checked);
    EXPECT_TRUE(loader.GetPlugin(0)->Enabled());
    EXPECT_EQ(extensions->toPlainText(), "shr\naon\nSHR\nbon");
    EXPECT_EQ(loader.ReadFileTag("song.shr"), loader.GetPluginRecord(0));

    // The choice reaches the settings file at the next save.
    EXPECT_TRUE(loader.SaveSettings());
    EXPECT_NE(folder.Settings().find("[Wav]\r\nEnabled=0\r\n"), std::string::npos);
}

TEST_F(PluginsDialog, ConfigureCallsTheSelectedPlugin)
{
    TfrmPlugins dialog(loader);
    dialog.show();
    auto* list = dialog.findChild<QTreeWidget*>("lvPlugins");
    const auto count = TestHook<int (*)()>(*loader.GetPlugin(1), "TestConfigureCount");
    const auto parent = TestHook<TtaggerHandle (*)()>(*loader.GetPlugin(1), "TestLastConfigureParent");

    QTest::mouseClick(dialog.findChild<QPushButton*>("btnConfigure"), Qt::LeftButton);
    EXPECT_EQ(count(), 0);
    list->setCurrentItem(list->topLevelItem(1));
    QTest::mouseClick(dialog.findChild<QPushButton*>("btnConfigure"), Qt::LeftButton);
    EXPECT_EQ(count(), 1);
    EXPECT_EQ(parent(), static_cast<TtaggerHandle>(dialog.winId()));
}

TEST_F(PluginsDialog, TheHostShowsItModally)
{
    InstallPluginsDialog();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TfrmPlugins*>(QApplication::activeModalWidget());
        seen = dialog && dialog->findChild<QTreeWidget*>("lvPlugins")->topLevelItemCount() == 3;
        if (dialog)
            QTest::mouseClick(dialog->findChild<QPushButton*>("btnClose"), Qt::LeftButton);
    });
    loader.ShowPluginsDialog();
    TtaggerLoader::SetPluginsDialogHook(nullptr);
    EXPECT_TRUE(seen);
}
