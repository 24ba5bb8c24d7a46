#include "app/dialogs/frmselectitem.h"
#include "app/dialogs/frmtaglistrules.h"
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "core/groupings/audiotagartist.h"
#include "core/groupings/taglistrules.h"
#include "support/generatedlibrary.h"
#include "support/whenmodal.h"

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

std::vector<std::string> Lines(const TStrings& strings)
{
    std::vector<std::string> lines;
    for (const auto& item : strings)
        lines.push_back(item.text);
    return lines;
}

std::vector<std::string> EditorLines(const ThtmlListBox* list)
{
    TStrings lines;
    TfrmTagListRules::ListLines(*list, lines);
    return Lines(lines);
}

void SetLines(TStrings& strings, const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        strings.Add(line);
}

// Rules with every field away from its default.
void FillRules(TtagListRules& rules, bool pathsAllowed)
{
    rules.SetPathsAllowed(pathsAllowed);
    rules.SetUseGenres(true);
    SetLines(rules.Genres(), {"ROCK", "JAZZ"});
    rules.SetNotGenres(true);
    rules.SetUseArtists(false);
    SetLines(rules.Artists(), {"Abba", "The <Band>"});
    rules.SetNotArtist(true);
    rules.SetUsePaths(true);
    SetLines(rules.Paths(), {"/music/a"});
    rules.SetNotPaths(true);
    rules.SetUseYear(true);
    rules.SetFromYear(1970);
    rules.SetToYear(1979);
    rules.SetNotYear(false);
}

struct TrulesFields
{
    bool useGenres, notGenres, useArtists, notArtist, usePaths, notPaths, useYear, notYear;
    std::uint32_t from, to;
    std::vector<std::string> genres, artists, paths;
    bool operator==(const TrulesFields&) const = default;
};

TrulesFields Fields(const TtagListRules& r)
{
    return {r.UseGenres(),     r.NotGenres(),      r.UseArtists(),  r.NotArtist(), r.UsePaths(),
            r.NotPaths(),      r.UseYear(),        r.NotYear(),     r.FromYear(),  r.ToYear(),
            Lines(r.Genres()), Lines(r.Artists()), Lines(r.Paths())};
}

// Works the modal window of type T once it is up; the work must close it.
template <class T>
void WhenShown(std::function<void(T&)> work)
{
    WhenModal([work = std::move(work)](QWidget* shown) {
        if (auto* window = qobject_cast<T*>(shown)) {
            work(*window);
            return;
        }
        ADD_FAILURE() << "unexpected modal window";
        shown->close();
    });
}

void ClickHeader(QGroupBox* group)
{
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.subControls = QStyle::SC_GroupBoxCheckBox | QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    option.features = QStyleOptionFrame::None;
    option.text = group->title();
    option.lineWidth = 1;
    const QRect box =
        group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxCheckBox, group);
    QTest::mouseClick(group, Qt::LeftButton, {}, box.center());
}

} // namespace

TEST(TagListRules, ShowRulesPutsEveryFieldIntoItsControlAndGroupsFollowTheirSwitches)
{
    TtagListRules rules;
    FillRules(rules, true);
    TfrmTagListRules editor;
    editor.ShowRules(rules);
    EXPECT_EQ(editor.windowTitle(), "Rules");
    EXPECT_EQ(editor.RulesGroup()->title(), "Available Rules");
    EXPECT_TRUE(editor.GenresGroup()->isChecked());
    EXPECT_EQ(EditorLines(editor.GenresListBox()), (std::vector<std::string>{"JAZZ", "ROCK"}));
    EXPECT_TRUE(editor.NotGenresBox()->isChecked());
    EXPECT_FALSE(editor.ArtistsGroup()->isChecked());
    // Mark-up characters in the data are shown as written and read back the same.
    EXPECT_EQ(EditorLines(editor.ArtistsListBox()), (std::vector<std::string>{"Abba", "The <Band>"}));
    EXPECT_TRUE(editor.NotArtistsBox()->isChecked());
    EXPECT_TRUE(editor.PathsGroup()->isChecked());
    EXPECT_EQ(EditorLines(editor.PathsListBox()), std::vector<std::string>{"/music/a"});
    EXPECT_TRUE(editor.YearGroup()->isChecked());
    EXPECT_EQ(editor.FromEdit()->value(), 1970);
    EXPECT_EQ(editor.ToEdit()->value(), 1979);
    EXPECT_FALSE(editor.NotYearBox()->isChecked());

    // The artists rule is off: its controls are disabled, the others' are not.
    EXPECT_FALSE(editor.ArtistsListBox()->isEnabled());
    EXPECT_FALSE(editor.ArtistsAddButton()->isEnabled());
    EXPECT_FALSE(editor.NotArtistsBox()->isEnabled());
    EXPECT_TRUE(editor.GenresListBox()->isEnabled());
    EXPECT_TRUE(editor.FromEdit()->isEnabled());
    EXPECT_TRUE(editor.PathsAddButton()->isEnabled());
}

TEST(TagListRules, ARuleSwitchedOffKeepsItsSwitchUsable)
{
    TtagListRules rules;
    FillRules(rules, true);
    TfrmTagListRules editor;
    editor.ShowRules(rules);
    editor.show();
    QGroupBox* genres = editor.GenresGroup();
    ClickHeader(genres);
    EXPECT_FALSE(genres->isChecked());
    EXPECT_FALSE(editor.GenresListBox()->isEnabled());
    EXPECT_FALSE(editor.GenresAddButton()->isEnabled());
    EXPECT_TRUE(genres->isEnabled());
    ClickHeader(genres);
    EXPECT_TRUE(genres->isChecked());
    EXPECT_TRUE(editor.GenresListBox()->isEnabled());
    EXPECT_TRUE(editor.NotGenresBox()->isEnabled());

    QGroupBox* artists = editor.ArtistsGroup();
    ClickHeader(artists);
    EXPECT_TRUE(artists->isChecked());
    EXPECT_TRUE(editor.ArtistsDeleteButton()->isEnabled());
}

TEST(TagListRules, OkStoresTheEditedRulesWithTheYearsInOrder)
{
    TtagListRules rules;
    FillRules(rules, true);
    WhenShown<TfrmTagListRules>([](TfrmTagListRules& editor) {
        editor.ArtistsGroup()->setChecked(true);
        editor.NotArtistsBox()->setChecked(false);
        editor.ArtistsListBox()->SetItemIndex(0);
        QTest::mouseClick(editor.ArtistsDeleteButton(), Qt::LeftButton);
        editor.FromEdit()->setValue(2005);
        editor.ToEdit()->setValue(1990);
        editor.NotYearBox()->setChecked(true);
        editor.PathsGroup()->setChecked(false);
        QTest::mouseClick(editor.OkButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(EditTagListRules(rules, nullptr));
    EXPECT_TRUE(rules.UseArtists());
    EXPECT_FALSE(rules.NotArtist());
    EXPECT_EQ(Lines(rules.Artists()), std::vector<std::string>{"The <Band>"});
    EXPECT_EQ(rules.FromYear(), 1990u);
    EXPECT_EQ(rules.ToYear(), 2005u);
    EXPECT_TRUE(rules.NotYear());
    EXPECT_FALSE(rules.UsePaths());
    EXPECT_EQ(Lines(rules.Genres()), (std::vector<std::string>{"JAZZ", "ROCK"}));
}

TEST(TagListRules, CancelAndEscapeLeaveTheRulesExactlyAsTheyWere)
{
    TtagListRules rules;
    FillRules(rules, true);
    const TrulesFields before = Fields(rules);
    auto edit = [](TfrmTagListRules& editor) {
        editor.GenresGroup()->setChecked(false);
        QTest::mouseClick(editor.ArtistsClearButton(), Qt::LeftButton);
        editor.FromEdit()->setValue(1800);
        editor.NotPathsBox()->setChecked(false);
    };
    WhenShown<TfrmTagListRules>([&](TfrmTagListRules& editor) {
        edit(editor);
        QTest::mouseClick(editor.CancelButton(), Qt::LeftButton);
    });
    EXPECT_FALSE(EditTagListRules(rules, nullptr));
    EXPECT_EQ(Fields(rules), before);
    WhenShown<TfrmTagListRules>([&](TfrmTagListRules& editor) {
        edit(editor);
        QTest::keyClick(&editor, Qt::Key_Escape);
    });
    EXPECT_FALSE(EditTagListRules(rules, nullptr));
    EXPECT_EQ(Fields(rules), before);
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
    const int artistsHeight = withPaths.ArtistsGroup()->height();

    TtagListRules rules;
    FillRules(rules, false);
    const TrulesFields before = Fields(rules);
    int height = 0;
    int spacing = 0;
    int shownArtistsHeight = 0;
    bool pathsShown = true;
    WhenShown<TfrmTagListRules>([&](TfrmTagListRules& editor) {
        height = editor.height();
        spacing = static_cast<QGridLayout*>(editor.RulesGroup()->layout())->verticalSpacing();
        shownArtistsHeight = editor.ArtistsGroup()->height();
        pathsShown = editor.PathsGroup()->isVisible();
        QTest::mouseClick(editor.OkButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(EditTagListRules(rules, nullptr));
    EXPECT_FALSE(pathsShown);
    EXPECT_EQ(height, TfrmTagListRules::kHeight - TfrmTagListRules::kPathsGroupHeight - spacing);
    EXPECT_EQ(shownArtistsHeight, artistsHeight);
    EXPECT_EQ(Fields(rules), before);
}

TEST(TagListRules, AGenreAddedTwiceIsListedTwiceButStoredOnce)
{
    TtagListRules rules;
    int offered = 0;
    QString caption, groupCaption;
    std::vector<std::string> listed;
    WhenShown<TfrmTagListRules>([&](TfrmTagListRules& editor) {
        editor.GenresGroup()->setChecked(true);
        WhenShown<TfrmSelectItem>([&](TfrmSelectItem& picker) {
            offered = picker.Offered().Count();
            caption = picker.windowTitle();
            groupCaption = picker.ItemGroup()->title();
            picker.Items()->SetSelected(picker.Offered().IndexOf("ROCK"), true);
            picker.Items()->SetSelected(picker.Offered().IndexOf("BLUES"), true);
            picker.Items()->SetItemIndex(0);
            QTest::mouseClick(picker.OkButton(), Qt::LeftButton);
        });
        QTest::mouseClick(editor.GenresAddButton(), Qt::LeftButton);
        WhenShown<TfrmSelectItem>([](TfrmSelectItem& picker) {
            picker.Items()->SetSelected(picker.Offered().IndexOf("BLUES"), true);
            picker.Items()->SetItemIndex(0);
            QTest::mouseClick(picker.OkButton(), Qt::LeftButton);
        });
        QTest::mouseClick(editor.GenresAddButton(), Qt::LeftButton);
        listed = EditorLines(editor.GenresListBox());
        QTest::mouseClick(editor.OkButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(EditTagListRules(rules, nullptr));
    EXPECT_EQ(caption, "Select Genres");
    EXPECT_EQ(groupCaption, "Select the Genres you require");
    EXPECT_EQ(offered, 148);
    // The picker answers from the top: its names are sorted.
    EXPECT_EQ(listed, (std::vector<std::string>{"BLUES", "ROCK", "BLUES"}));
    EXPECT_EQ(Lines(rules.Genres()), (std::vector<std::string>{"BLUES", "ROCK"}));
}

TEST(TagListRules, ArtistsAndFoldersComeFromTheLibraryAndNeedOne)
{
    TgeneratedLibrary library(TlibraryShape{.Songs = 80, .Artists = 12, .Albums = 10, .Genres = 3});
    library.MediaFolders().Add("/music/one");
    library.MediaFolders().Add("/music/two");
    TfrmTagListRules editor;
    TtagListRules rules;
    rules.SetPathsAllowed(true);
    editor.ShowRules(rules);
    editor.GenresGroup()->setChecked(true);
    editor.ArtistsGroup()->setChecked(true);
    editor.PathsGroup()->setChecked(true);

    // Without a library the buttons open nothing (a picker would wait here for ever).
    QTest::mouseClick(editor.ArtistsAddButton(), Qt::LeftButton);
    QTest::mouseClick(editor.PathsAddButton(), Qt::LeftButton);
    EXPECT_EQ(editor.ArtistsListBox()->Count(), 0);
    EXPECT_EQ(editor.PathsListBox()->Count(), 0);

    editor.SetJukeboxList(&library);
    TStringList<TaudioTagArtist> index;
    library.Artists().GetIndexNames(index);
    ASSERT_GT(index.Count(), 2);
    std::vector<std::string> offeredArtists;
    WhenShown<TfrmSelectItem>([&](TfrmSelectItem& picker) {
        offeredArtists = Lines(picker.Offered());
        picker.Items()->SetSelected(1, true);
        picker.Items()->SetSelected(2, true);
        picker.Items()->SetItemIndex(2);
        QTest::mouseClick(picker.OkButton(), Qt::LeftButton);
    });
    QTest::mouseClick(editor.ArtistsAddButton(), Qt::LeftButton);
    std::vector<std::string> indexNames;
    for (const auto& item : index)
        indexNames.push_back(item.text);
    EXPECT_EQ(offeredArtists, indexNames);
    EXPECT_EQ(EditorLines(editor.ArtistsListBox()),
              (std::vector<std::string>{index.Objects(1)->Name(), index.Objects(2)->Name()}));

    std::vector<std::string> offeredPaths;
    WhenShown<TfrmSelectItem>([&](TfrmSelectItem& picker) {
        offeredPaths = Lines(picker.Offered());
        picker.Items()->SetSelected(1, true);
        picker.Items()->SetItemIndex(1);
        QTest::mouseClick(picker.OkButton(), Qt::LeftButton);
    });
    QTest::mouseClick(editor.PathsAddButton(), Qt::LeftButton);
    EXPECT_EQ(offeredPaths, (std::vector<std::string>{"/music/one", "/music/two"}));
    EXPECT_EQ(EditorLines(editor.PathsListBox()), std::vector<std::string>{"/music/two"});

    QTest::mouseClick(editor.ArtistsDeleteButton(), Qt::LeftButton); // no current line: nothing
    EXPECT_EQ(editor.ArtistsListBox()->Count(), 2);
    editor.ArtistsListBox()->SetItemIndex(0);
    QTest::mouseClick(editor.ArtistsDeleteButton(), Qt::LeftButton);
    EXPECT_EQ(EditorLines(editor.ArtistsListBox()), std::vector<std::string>{index.Objects(2)->Name()});
    QTest::mouseClick(editor.ArtistsClearButton(), Qt::LeftButton);
    EXPECT_EQ(editor.ArtistsListBox()->Count(), 0);
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

    WhenShown<TfrmSelectItem>([](TfrmSelectItem& picker) {
        picker.Items()->SetSelected(2, true);
        picker.Items()->SetSelected(1, true);
        picker.Items()->SetItemIndex(2);
        QTest::mouseClick(picker.OkButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(SelectItems("Pick", "Lines", offered, chosen));
    EXPECT_EQ(Lines(chosen), (std::vector<std::string>{"t<w>o", "three"}));
    EXPECT_EQ(chosen.Objects(0), &objects[1]);
    EXPECT_EQ(chosen.Objects(1), &objects[2]);

    // OK before any line was ever current picks nothing.
    bool noCurrent = false;
    WhenShown<TfrmSelectItem>([&](TfrmSelectItem& picker) {
        picker.Items()->setCurrentIndex(QModelIndex());
        noCurrent = picker.Items()->ItemIndex() < 0;
        QTest::mouseClick(picker.OkButton(), Qt::LeftButton);
    });
    EXPECT_FALSE(SelectItems("Pick", "Lines", offered, chosen));
    EXPECT_TRUE(noCurrent);
    EXPECT_EQ(chosen.Count(), 0);

    WhenShown<TfrmSelectItem>([](TfrmSelectItem& picker) {
        picker.Items()->SetSelected(0, true);
        picker.Items()->SetItemIndex(0);
        QTest::mouseClick(picker.CancelButton(), Qt::LeftButton);
    });
    EXPECT_FALSE(SelectItems("Pick", "Lines", offered, chosen));
    EXPECT_EQ(chosen.Count(), 0);
}
