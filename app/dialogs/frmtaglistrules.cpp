#include "app/dialogs/frmtaglistrules.h"

#include "app/dialogs/frmselectitem.h"
#include "app/qt/helpers/guiutils.h"
#include "app/qt/services/exceptionboundary.h"
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "core/groupings/audiotagartist.h"
#include "core/groupings/taglistrules.h"
#include "core/jukebox/customjukeboxlist.h"
#include "core/util/genreslist.h"
#include "markup/taggedtext.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <climits>
#include <cstdint>
#include <utility>

namespace {

QPushButton* Button(const char* name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QSpinBox* YearEdit(const char* name, QWidget* parent)
{
    auto* edit = new QSpinBox(parent);
    edit->setObjectName(name);
    edit->setRange(0, INT_MAX);
    edit->setButtonSymbols(QAbstractSpinBox::NoButtons);
    edit->setValue(0);
    edit->setMinimumWidth(80);
    return edit;
}

int YearValue(std::uint32_t year)
{
    return year > static_cast<std::uint32_t>(INT_MAX) ? INT_MAX : static_cast<int>(year);
}

// Runs a button's work inside the exception boundary.
template <typename F>
auto Handler(F work)
{
    return [work = std::move(work)] { Guarded(work); };
}

} // namespace

TfrmTagListRules::TfrmTagListRules(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmTagListRules");
    setWindowTitle("Rules");

    gbRules = new QGroupBox("Available Rules", this);
    gbRules->setObjectName("gbRules");
    artists_ = MakeListRule("Artists", "Artists", &TfrmTagListRules::AddArtists);
    gbYear = MakeYearGroup();
    genres_ = MakeListRule("Genres", "Genres", &TfrmTagListRules::AddGenres);
    paths_ = MakeListRule("Paths", "Paths", &TfrmTagListRules::AddPaths);
    paths_.group->setFixedHeight(kPathsGroupHeight);

    // Only the list row stretches, so hiding the folder group takes away exactly its height.
    auto* grid = new QGridLayout(gbRules);
    grid->addWidget(artists_.group, 0, 0);
    grid->addWidget(genres_.group, 0, 1);
    grid->addWidget(gbYear, 1, 0, 1, 2);
    grid->addWidget(paths_.group, 2, 0, 1, 2);
    grid->setRowStretch(0, 1);

    btnOK = new QPushButton("&OK", this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    btnCancel = Button("btnCancel", "&Cancel", this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gbRules, 1);
    layout->addLayout(buttons);
    setFixedSize(kWidth, kHeight);

    connect(btnOK, &QPushButton::clicked, this, &TfrmTagListRules::accept);
    // Esc and the window's close box reach reject() as well: none of them stores anything.
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmTagListRules::TlistRule TfrmTagListRules::MakeListRule(const char* name, const QString& caption,
                                                           void (TfrmTagListRules::*add)())
{
    TlistRule rule;
    rule.group = new QGroupBox(caption, gbRules);
    rule.group->setObjectName(QString("gb") + name);
    rule.group->setCheckable(true);
    rule.list = new ThtmlListBox(rule.group);
    rule.list->setObjectName(QString("lb") + name);
    rule.add = Button("btnAdd", "Add", rule.group);
    rule.remove = Button("btnDelete", "Delete", rule.group);
    rule.clear = Button("btnClear", "Clear", rule.group);
    for (QPushButton* button : {rule.add, rule.remove, rule.clear})
        button->setFixedWidth(kListButtonWidth);
    rule.notRule = new QCheckBox("Not Rule", rule.group);
    rule.notRule->setObjectName(QString("cbNot") + name);

    auto* row = new QHBoxLayout;
    row->addWidget(rule.add);
    row->addWidget(rule.remove);
    row->addWidget(rule.clear);
    row->addStretch(1);
    row->addWidget(rule.notRule);
    auto* column = new QVBoxLayout(rule.group);
    column->addWidget(rule.list, 1);
    column->addLayout(row);

    QGroupBox* group = rule.group;
    ThtmlListBox* list = rule.list;
    connect(group, &QGroupBox::toggled, this, [this, group] { RuleSwitched(group); });
    connect(rule.add, &QPushButton::clicked, this, Handler([this, add] { (this->*add)(); }));
    connect(rule.remove, &QPushButton::clicked, this, Handler([list] { DeleteCurrent(*list); }));
    connect(rule.clear, &QPushButton::clicked, this, Handler([list] { list->Items().Clear(); }));
    return rule;
}

QGroupBox* TfrmTagListRules::MakeYearGroup()
{
    auto* group = new QGroupBox("Year", gbRules);
    group->setObjectName("gbYear");
    group->setCheckable(true);
    auto* fromLabel = new QLabel("From :", group);
    ieFrom = YearEdit("ieFrom", group);
    auto* toLabel = new QLabel("To :", group);
    ieTo = YearEdit("ieTo", group);
    cbNotYear = new QCheckBox("Not Rule", group);
    cbNotYear->setObjectName("cbNotYear");

    auto* row = new QHBoxLayout(group);
    row->addWidget(fromLabel);
    row->addWidget(ieFrom);
    row->addSpacing(12);
    row->addWidget(toLabel);
    row->addWidget(ieTo);
    row->addStretch(1);
    row->addWidget(cbNotYear);
    connect(group, &QGroupBox::toggled, this, [this, group] { RuleSwitched(group); });
    return group;
}

void TfrmTagListRules::RuleSwitched(QGroupBox* group)
{
    EnableGroupBoxControls(this, group, group->isChecked());
}

void TfrmTagListRules::ShowRules(TtagListRules& rules)
{
    rules_ = &rules;
    const bool paths = rules.PathsAllowed();
    paths_.group->setVisible(paths);
    const int spacing = static_cast<QGridLayout*>(gbRules->layout())->verticalSpacing();
    setFixedSize(kWidth, paths ? kHeight : kHeight - kPathsGroupHeight - spacing);

    genres_.group->setChecked(rules.UseGenres());
    ShowLines(*genres_.list, rules.Genres());
    genres_.notRule->setChecked(rules.NotGenres());
    artists_.group->setChecked(rules.UseArtists());
    ShowLines(*artists_.list, rules.Artists());
    artists_.notRule->setChecked(rules.NotArtist());
    paths_.group->setChecked(rules.UsePaths());
    ShowLines(*paths_.list, rules.Paths());
    paths_.notRule->setChecked(rules.NotPaths());
    gbYear->setChecked(rules.UseYear());
    ieFrom->setValue(YearValue(rules.FromYear()));
    ieTo->setValue(YearValue(rules.ToYear()));
    cbNotYear->setChecked(rules.NotYear());

    // Setting a box that already reads so raises nothing: each group follows its switch here.
    for (QGroupBox* group : {artists_.group, gbYear, genres_.group, paths_.group})
        RuleSwitched(group);
}

void TfrmTagListRules::SetJukeboxList(TcustomJukeboxList* library)
{
    library_.Reset(library);
}

TcustomJukeboxList* TfrmTagListRules::JukeboxList() const
{
    return library_.Get();
}

void TfrmTagListRules::StoreRules()
{
    if (!rules_)
        return;
    TtagListRules& rules = *rules_;
    rules.SetUseGenres(genres_.group->isChecked());
    rules.Genres().Clear();
    ListLines(*genres_.list, rules.Genres());
    rules.SetNotGenres(genres_.notRule->isChecked());
    rules.SetUseArtists(artists_.group->isChecked());
    rules.Artists().Clear();
    ListLines(*artists_.list, rules.Artists());
    rules.SetNotArtist(artists_.notRule->isChecked());
    // The folder group may be hidden; it still holds what ShowRules put there.
    rules.SetUsePaths(paths_.group->isChecked());
    rules.Paths().Clear();
    ListLines(*paths_.list, rules.Paths());
    rules.SetNotPaths(paths_.notRule->isChecked());
    rules.SetUseYear(gbYear->isChecked());
    rules.SetNotYear(cbNotYear->isChecked());
    auto from = static_cast<std::uint32_t>(ieFrom->value());
    auto to = static_cast<std::uint32_t>(ieTo->value());
    if (to < from)
        std::swap(from, to);
    rules.SetFromYear(from);
    rules.SetToYear(to);
}

void TfrmTagListRules::accept()
{
    if (Guarded([this] { StoreRules(); }))
        QDialog::accept();
}

void TfrmTagListRules::AddGenres()
{
    TStringList<const Tgenre> names;
    ::GenresList().GetNames(names);
    TStringList<const Tgenre> chosen;
    if (!SelectItems("Select Genres", "Select the Genres you require", names, chosen, this))
        return;
    for (const auto& item : chosen)
        AppendLine(*genres_.list, item.text);
}

void TfrmTagListRules::AddArtists()
{
    const TcustomJukeboxList* library = library_.Get();
    if (!library)
        return;
    TStringList<TaudioTagArtist> index;
    library->Artists().GetIndexNames(index);
    TStringList<TaudioTagArtist> chosen;
    if (!SelectItems("Select Artists", "Select the Artists you require", index, chosen, this))
        return;
    // An alias line stands for its artist: the rule matches the artist's own name.
    for (const auto& item : chosen)
        if (item.object)
            AppendLine(*artists_.list, item.object->Name());
}

void TfrmTagListRules::AddPaths()
{
    const TcustomJukeboxList* library = library_.Get();
    if (!library)
        return;
    TStrings chosen;
    if (!SelectItems("Select Paths", "Select the Paths you require", library->MediaFolders(), chosen, this))
        return;
    for (const auto& item : chosen)
        AppendLine(*paths_.list, item.text);
}

void TfrmTagListRules::ListLines(const ThtmlListBox& list, TStrings& lines)
{
    const ThtmlListItems& items = list.Items();
    lines.BeginUpdate();
    for (int i = 0; i < items.Count(); ++i)
        lines.Add(UnescapeMarkup(items[i]));
    lines.EndUpdate();
}

void TfrmTagListRules::ShowLines(ThtmlListBox& list, const TStrings& lines)
{
    ThtmlListItems& items = list.Items();
    items.BeginUpdate();
    items.Clear();
    for (const auto& item : lines)
        items.Add(EscapeMarkup(item.text));
    items.EndUpdate();
}

void TfrmTagListRules::AppendLine(ThtmlListBox& list, const std::string& line)
{
    list.Items().Add(EscapeMarkup(line));
}

void TfrmTagListRules::DeleteCurrent(ThtmlListBox& list)
{
    const int current = list.ItemIndex();
    if (current >= 0 && current < list.Count())
        list.Items().Delete(current);
}

bool EditTagListRules(TtagListRules& rules, TcustomJukeboxList* library, QWidget* parent)
{
    TfrmTagListRules editor(parent);
    editor.ShowRules(rules);
    editor.SetJukeboxList(library);
    return editor.exec() == QDialog::Accepted;
}
