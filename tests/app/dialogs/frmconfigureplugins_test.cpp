#include "app/dialogs/frmconfigureplugins.h"
#include "core/plugins/taggerloader.h"
#include "platform/folders.h"
#include "platform/qtstring.h"
#include "support/fakedialogs.h"
#include "support/fakeprompts.h"
#include "support/tempdir.h"
#include "testpluginfolder.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include <vector>

namespace {

struct ConfigurePlugins : ::testing::Test
{
    TempDir folder;
    std::string current = folder.Path();
    std::vector<std::string> applied;
    TpluginsFolderAccess access{[this] { return current; },
                                [this](const std::string& value) {
                                    applied.push_back(value);
                                    current = value;
                                }};
    TtaggerLoader loader;
    TfakeDialogs dialogs;
    TfakePrompts prompts;
    TfrmConfigurePlugins form{access, loader};

    QLineEdit* Edit() { return form.findChild<QLineEdit*>("edPluginsFolder"); }
    QPushButton* Button(const char* name) { return form.findChild<QPushButton*>(name); }
};

} // namespace

TEST_F(ConfigurePlugins, CancelChangesNothingAndApplyStaysOff)
{
    EXPECT_EQ(form.windowTitle(), "Tag Read Plugins Configuration");
    EXPECT_TRUE(Button("btnOK")->isDefault());
    form.show();
    EXPECT_EQ(platform::FromQString(Edit()->text()), folder.Path());
    EXPECT_FALSE(Button("btnApply")->isEnabled());
    Button("btnCancel")->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(applied.empty());
}

TEST_F(ConfigurePlugins, ApplyAtOnceOkAgainAndCancelDoesNotUndo)
{
    TempDir other;
    form.show();
    Edit()->setText(platform::ToQString(other.Path()));
    EXPECT_TRUE(Button("btnApply")->isEnabled());
    Button("btnApply")->click();
    EXPECT_EQ(applied, std::vector<std::string>{other.Path()});
    EXPECT_FALSE(Button("btnApply")->isEnabled());
    Button("btnCancel")->click();
    EXPECT_EQ(current, other.Path());

    // Shown again: OK without a change applies the same folder once more.
    form.show();
    EXPECT_FALSE(Button("btnApply")->isEnabled());
    Button("btnOK")->click();
    EXPECT_EQ(applied, (std::vector<std::string>{other.Path(), other.Path()}));
    EXPECT_FALSE(form.isVisible());
}

TEST_F(ConfigurePlugins, AFolderThatDoesNotExistIsRefusedAndTheReadersStay)
{
    TestPluginFolder plugins;
    plugins.AddFile(platform::ShippedFolder() + "TagPlugins/TAG_Pelmora.so", "TAG_Pelmora.so");
    TaggerLoader().SetSupportLevel(2);
    TaggerLoader().SetPluginFolder(plugins.Path());
    ASSERT_EQ(TaggerLoader().GetCount(), 1);
    access.Set = [](const std::string& value) { TaggerLoader().SetPluginFolder(value); };
    access.Get = [] { return TaggerLoader().PluginFolder(); };
    TfrmConfigurePlugins window(access, TaggerLoader());
    window.show();
    auto* edit = window.findChild<QLineEdit*>("edPluginsFolder");
    edit->setText(edit->text() + "x");
    window.findChild<QPushButton*>("btnApply")->click();
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "The folder \"" + plugins.Path() + "x\" does not exist.");
    EXPECT_EQ(TaggerLoader().GetCount(), 1);
    EXPECT_TRUE(window.findChild<QPushButton*>("btnApply")->isEnabled());
    // OK stays open as well; an empty folder is refused the same way.
    window.findChild<QPushButton*>("btnOK")->click();
    EXPECT_TRUE(window.isVisible());
    edit->clear();
    EXPECT_FALSE(window.ApplyFolder());
    EXPECT_EQ(TaggerLoader().PluginFolder(), plugins.Path());
    EXPECT_EQ(TaggerLoader().GetCount(), 1);
    ReleaseTaggerLoader();
}

TEST_F(ConfigurePlugins, BrowseAndThePluginsList)
{
    form.show();
    TempDir chosen;
    dialogs.folderAnswers.push_back(chosen.Path());
    Button("btnBrowse")->click();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].caption, "Plugins Folder");
    EXPECT_EQ(dialogs.asked[0].detail, "");
    EXPECT_EQ(platform::FromQString(Edit()->text()), chosen.Path());
    EXPECT_TRUE(Button("btnApply")->isEnabled());
    Button("btnBrowse")->click(); // cancelled: the text stays
    EXPECT_EQ(platform::FromQString(Edit()->text()), chosen.Path());

    TtaggerLoader* shownFor = nullptr;
    TtaggerLoader::SetPluginsDialogHook([&](TtaggerLoader& host) { shownFor = &host; });
    Button("btnConfigurePlugins")->click();
    TtaggerLoader::SetPluginsDialogHook(nullptr);
    EXPECT_EQ(shownFor, &loader);
}
