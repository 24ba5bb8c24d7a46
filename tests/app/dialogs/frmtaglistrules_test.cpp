#include "app/dialogs/frmselectitem.h"
#include "app/dialogs/frmtaglistrules.h"
#include "controls/htmllistbox.h"
#include "core/groupings/audiotagartist.h"
#include "core/groupings/taglistrules.h"
#include "platform/inifile.h"
#include "support/generatedlibrary.h"
#include "support/guievents.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStyleOptionGroupBox>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

namespace {

using Tlines = std::vector<std::string>;

Tlines Lines(const TStrings& strings)
{
    Tlines lines;
    for (const auto& item : strings)
        lines.push_back(item.text);
    return lines;
}

Tlines EditorLines(const ThtmlListBox* list)
{
    TStrings lines;
    TfrmTagListRules::ListLines(*list, lines);
    return Lines(lines);
}

// Rules with every field away from its default.
void FillRules(TtagListRules& rules, bool pathsAllowed)
{
    rules.SetPathsAllowed(pathsAllowed);
    rules.SetUseGenres(true);
    rules.Genres().Add("ROCK");
    rules.Genres().Add("JAZZ");
    rules.SetNotGenres(true);
    rules.Artists().Add("Abba");
    rules.Artists().Add("The <Band>");
    rules.SetNotArtist(true);
    rules.SetUsePaths(true);
    rules.Paths().Add("/music/a");
    rules.SetNotPaths(true);
    rules.SetUseYear(true);
    rules.SetFromYear(1970);
    rules.SetToYear(1979);
}

// Every field of the rules, the folder ones too.
std::string Snapshot(const TtagListRules& rules)
{
    TIniFile ini("");
    rules.SaveSettings(ini, "Rules");
    return ini.ToText() + rules.Paths().CommaText() + (rules.UsePaths() ? "+" : "-") +
           (rules.NotPaths() ? "!" : "");
}

// Works the modal window of type T once it is up; the work must close it.
template <class T>
void WhenShown(std::function<void(T&)> work)
{
    WhenModal([work = std::move(work)](QWidget* shown) {
        if (auto* window = qobject_cast<T*>(shown))
            return work(*window);
        ADD_FAILURE() << "unexpected modal window";
        shown->close();
    });
}

// Selects the named lines of the next picker, makes the first line current and closes it with OK.
void PickNext(Tlines names, std::function<void(TfrmSelectItem&)> look = nullptr)
{
    WhenShown<TfrmSelectItem>([names = std::move(names), look = std::move(look)](TfrmSelectItem& picker) {
        if (look)
            look(picker);
        for (const std::string& name : names)
            picker.Items()->SetSelected(picker.Offered().IndexOf(name), true);
        picker.Items()->SetItemIndex(0);
        QTest::mouseClick(picker.OkButton(), Qt::LeftButton);
    });
}

void ClickHeader(QGroupBox* group)
{
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.subControls = QStyle::SC_GroupBoxCheckBox | QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    option.text = group->title();
    const QRect box =
        group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxCheckBox, group);
    QTest::mouseClick(group, Qt::LeftButton, {}, box.center());
}

} // namespace

TEST(TagListRules, ShowRulesFillsTheControlsAndASwitchedOffRuleKeepsItsSwitchUsable)
{
    TtagListRules rules;
    FillRules(rules, true);
    TfrmTagListRules editor;
    editor.ShowRules(rules);
    editor.show();
    EXPECT_EQ(EditorLines(editor.GenresListBox()), (Tlines{"JAZZ", "ROCK"}));
    // Mark-up characters in the data are shown as written and read back the same.
    EXPECT_EQ(EditorLines(editor.ArtistsListBox()), (Tlines{"Abba", "The <Band>"}));
    EXPECT_TRUE(editor.NotArtistsBox()->isChecked());
    EXPECT_EQ(editor.ToEdit()->value(), 1979);
    // The artists rule is off: its controls are disabled, the others' are not.
    EXPECT_FALSE(editor.ArtistsGroup()->isChecked());
    EXPECT_FALSE(editor.ArtistsListBox()->isEnabled());
    EXPECT_FALSE(editor.NotArtistsBox()->isEnabled());
    EXPECT_TRUE(editor.FromEdit()->isEnabled());
    EXPECT_TRUE(editor.PathsAddButton()->isEnabled());

    ClickHeader(editor.GenresGroup());
    EXPECT_FALSE(editor.GenresGroup()->isChecked());
    EXPECT_FALSE(editor.GenresAddButton()->isEnabled());
    EXPECT_TRUE(editor.GenresGroup()->isEnabled());
    ClickHeader(editor.GenresGroup());
    EXPECT_TRUE(editor.GenresGroup()->isChecked());
    EXPECT_TRUE(editor.GenresListBox()->isEnabled());
    ClickHeader(editor.ArtistsGroup());
    EXPECT_TRUE(editor.ArtistsGroup()->isChecked());
    EXPECT_TRUE(editor.ArtistsDeleteButton()->isEnabled());
}

TEST(TagListRules, OkStoresTheEditedRulesWithTheYearsInOrderAndCancelNothing)
{
    TtagListRules rules;
    FillRules(rules, true);
    const std::string before = Snapshot(rules);
    auto edit = [](TfrmTagListRules& editor) {
        editor.ArtistsGroup()->setChecked(true);
        editor.ArtistsListBox()->SetItemIndex(0);
        QTest::mouseClick(editor.ArtistsDeleteButton(), Qt::LeftButton);
        QTest::mouseClick(editor.GenresClearButton(), Qt::LeftButton);
        editor.FromEdit()->setValue(2005);
        editor.ToEdit()->setValue(1990);
        editor.PathsGroup()->setChecked(false);
    };
    WhenShown<TfrmTagListRules>([&](TfrmTagListRules& editor) {
        edit(editor);
        QTest::mouseClick(editor.CancelButton(), Qt::LeftButton);
    });
    EXPECT_FALSE(EditTagListRules(rules, nullptr));
    EXPECT_EQ(Snapshot(rules), before);
    WhenShown<TfrmTagListRules>([&](TfrmTagListRules& editor) {
        edit(editor);
        QTest::keyClick(&editor, Qt::Key_Escape);
    });
    EXPECT_FALSE(EditTagListRules(rules, nullptr));
    EXPECT_EQ(Snapshot(rules), before);

    WhenShown<TfrmTagListRules>([&](TfrmTagListRules& editor) {
        edit(editor);
        QTest::mouseClick(editor.OkButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(EditTagListRules(rules, nullptr));
    EXPECT_TRUE(rules.UseArtists());
    EXPECT_EQ(Lines(rules.Artists()), Tlines{"The <Band>"});
    EXPECT_EQ(rules.Genres().Count(), 0);
    EXPECT_EQ(rules.FromYear(), 1990u);
    EXPECT_EQ(rules.ToYear(), 2005u);
    EXPECT_FALSE(rules.UsePaths());
    EXPECT_TRUE(rules.NotGenres());
}

TEST(TagListRules, WithoutTheFolderRuleTheFormIsShorterAndTheFolderFieldsSurvive)
{
    TfrmTagListRules withPaths;
    TtagListRules offered;
    FillRules(offered, true);
    withPaths.ShowRules(offered);
    withPaths.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&withPaths));
    EXPECT_EQ(withPaths.height(), TfrmTagListRules::kHeight);

    TtagListRules rules;
    FillRules(rules, false);
    const std::string before = Snapshot(rules);
    int height = 0, spacing = 0, artistsHeight = 0;
    bool pathsShown = true;
    WhenShown<TfrmTagListRules>([&](TfrmTagListRules& editor) {
        height = editor.height();
        spacing = static_cast<QGridLayout*>(editor.RulesGroup()->layout())->verticalSpacing();
        artistsHeight = editor.ArtistsGroup()->height();
        pathsShown = editor.PathsGroup()->isVisible();
        QTest::mouseClick(editor.OkButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(EditTagListRules(rules, nullptr));
    EXPECT_FALSE(pathsShown);
    EXPECT_EQ(height, TfrmTagListRules::kHeight - TfrmTagListRules::kPathsGroupHeight - spacing);
    EXPECT_EQ(artistsHeight, withPaths.ArtistsGroup()->height());
    EXPECT_EQ(Snapshot(rules), before);
}

TEST(TagListRules, AGenreAddedTwiceIsListedTwiceButStoredOnce)
{
    TtagListRules rules;
    int offered = 0;
    QString caption;
    Tlines listed;
    WhenShown<TfrmTagListRules>([&](TfrmTagListRules& editor) {
        editor.GenresGroup()->setChecked(true);
        PickNext({"ROCK", "BLUES"}, [&](TfrmSelectItem& picker) {
            offered = picker.Offered().Count();
            caption = picker.windowTitle() + "/" + picker.ItemGroup()->title();
        });
        QTest::mouseClick(editor.GenresAddButton(), Qt::LeftButton);
        PickNext({"BLUES"});
        QTest::mouseClick(editor.GenresAddButton(), Qt::LeftButton);
        listed = EditorLines(editor.GenresListBox());
        QTest::mouseClick(editor.OkButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(EditTagListRules(rules, nullptr));
    EXPECT_EQ(caption, "Select Genres/Select the Genres you require");
    EXPECT_EQ(offered, 148);
    // The picker answers from the top, and its names are sorted.
    EXPECT_EQ(listed, (Tlines{"BLUES", "ROCK", "BLUES"}));
    EXPECT_EQ(Lines(rules.Genres()), (Tlines{"BLUES", "ROCK"}));
}

TEST(TagListRules, ArtistsAndFoldersComeFromTheLibraryAndNeedOne)
{
    TgeneratedLibrary library(TlibraryShape{.Songs = 80, .Artists = 12, .Albums = 10, .Genres = 3});
    library.MediaFolders().Add("/music/one");
    library.MediaFolders().Add("/music/two");
    TfrmTagListRules editor;
    TtagListRules rules;
    rules.SetPathsAllowed(true);
    rules.SetUseArtists(true);
    rules.SetUsePaths(true);
    editor.ShowRules(rules);

    // Without a library the buttons open nothing (a picker would wait here for ever).
    QTest::mouseClick(editor.ArtistsAddButton(), Qt::LeftButton);
    QTest::mouseClick(editor.PathsAddButton(), Qt::LeftButton);
    EXPECT_EQ(editor.ArtistsListBox()->Count() + editor.PathsListBox()->Count(), 0);

    editor.SetJukeboxList(&library);
    TStringList<TaudioTagArtist> index;
    library.Artists().GetIndexNames(index);
    ASSERT_GT(index.Count(), 3);
    Tlines offeredArtists;
    PickNext({index[2], index[3]}, [&](TfrmSelectItem& picker) { offeredArtists = Lines(picker.Offered()); });
    QTest::mouseClick(editor.ArtistsAddButton(), Qt::LeftButton);
    Tlines indexNames;
    for (const auto& item : index)
        indexNames.push_back(item.text);
    EXPECT_EQ(offeredArtists, indexNames);
    EXPECT_EQ(EditorLines(editor.ArtistsListBox()),
              (Tlines{index.Objects(2)->Name(), index.Objects(3)->Name()}));

    PickNext({"/music/two"});
    QTest::mouseClick(editor.PathsAddButton(), Qt::LeftButton);
    EXPECT_EQ(EditorLines(editor.PathsListBox()), Tlines{"/music/two"});
}

TEST(SelectItem, AnswersTheSelectedLinesFromTheTopOnlyForOkWithACurrentLine)
{
    TStrings offered;
    int objects[3] = {};
    offered.AddObject("one", &objects[0]);
    offered.AddObject("t<w>o", &objects[1]);
    offered.AddObject("three", &objects[2]);
    TStrings chosen;
    chosen.Add("left over");

    PickNext({"three", "t<w>o"});
    ASSERT_TRUE(SelectItems("Pick", "Lines", offered, chosen));
    EXPECT_EQ(Lines(chosen), (Tlines{"t<w>o", "three"}));
    EXPECT_EQ(chosen.Objects(0), &objects[1]);
    EXPECT_EQ(chosen.Objects(1), &objects[2]);

    // OK while no line is current picks nothing.
    WhenShown<TfrmSelectItem>([&](TfrmSelectItem& picker) {
        picker.Items()->setCurrentIndex(QModelIndex());
        QTest::mouseClick(picker.OkButton(), Qt::LeftButton);
    });
    EXPECT_FALSE(SelectItems("Pick", "Lines", offered, chosen));
    EXPECT_EQ(chosen.Count(), 0);

    WhenShown<TfrmSelectItem>([](TfrmSelectItem& picker) {
        picker.Items()->SetSelected(0, true);
        picker.Items()->SetItemIndex(0);
        QTest::mouseClick(picker.CancelButton(), Qt::LeftButton);
    });
    EXPECT_FALSE(SelectItems("Pick", "Lines", offered, chosen));
    EXPECT_EQ(chosen.Count(), 0);
}
