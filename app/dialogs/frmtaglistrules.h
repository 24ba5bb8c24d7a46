#pragma once

#include "core/util/componentlink.h"
#include "platform/stringlist.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QSpinBox;
class TcustomJukeboxList;
class ThtmlListBox;
class TtagListRules;

// "Rules": edits a set of filter rules. Each rule's group is headed by its switch (the group's own check
// box, so switching a rule off disables the group's controls but never the switch itself) and has a
// "Not Rule" box that inverts it. Artists and folders are offered from the library, when there is one.
class TfrmTagListRules : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kWidth = 640;
    // The form's height with the folder rule; without it, the folder group's height less.
    static constexpr int kHeight = 400;
    static constexpr int kPathsGroupHeight = 112;
    static constexpr int kListButtonWidth = 60;

    explicit TfrmTagListRules(QWidget* parent = nullptr);

    // Shows the rules (kept as a link until the window goes); the folder group only when the rules offer it.
    void ShowRules(TtagListRules& rules);
    // The library artists and folders are picked from; may be null.
    void SetJukeboxList(TcustomJukeboxList* library);
    TcustomJukeboxList* JukeboxList() const;
    // Copies the controls into the shown rules (what OK does before it closes); a backwards year range is
    // stored in order.
    void StoreRules();

    // The plain lines of one of the three lists.
    static void ListLines(const ThtmlListBox& list, TStrings& lines);

    void AddGenres();
    void AddArtists();
    void AddPaths();

    QGroupBox* RulesGroup() const { return gbRules; }
    QGroupBox* ArtistsGroup() const { return artists_.group; }
    QGroupBox* YearGroup() const { return gbYear; }
    QGroupBox* GenresGroup() const { return genres_.group; }
    QGroupBox* PathsGroup() const { return paths_.group; }
    ThtmlListBox* ArtistsListBox() const { return artists_.list; }
    ThtmlListBox* GenresListBox() const { return genres_.list; }
    ThtmlListBox* PathsListBox() const { return paths_.list; }
    QPushButton* ArtistsAddButton() const { return artists_.add; }
    QPushButton* GenresAddButton() const { return genres_.add; }
    QPushButton* PathsAddButton() const { return paths_.add; }
    QPushButton* ArtistsDeleteButton() const { return artists_.remove; }
    QPushButton* ArtistsClearButton() const { return artists_.clear; }
    QPushButton* GenresClearButton() const { return genres_.clear; }
    QCheckBox* NotArtistsBox() const { return artists_.notRule; }
    QCheckBox* NotGenresBox() const { return genres_.notRule; }
    QCheckBox* NotPathsBox() const { return paths_.notRule; }
    QCheckBox* NotYearBox() const { return cbNotYear; }
    QSpinBox* FromEdit() const { return ieFrom; }
    QSpinBox* ToEdit() const { return ieTo; }
    QPushButton* OkButton() const { return btnOK; }
    QPushButton* CancelButton() const { return btnCancel; }

public slots:
    // OK: stores the rules, then closes.
    void accept() override;

private:
    // One of the three list rules: its group with the list, its buttons and its "Not Rule" box.
    struct TlistRule
    {
        QGroupBox* group = nullptr;
        ThtmlListBox* list = nullptr;
        QPushButton* add = nullptr;
        QPushButton* remove = nullptr;
        QPushButton* clear = nullptr;
        QCheckBox* notRule = nullptr;
    };

    TlistRule MakeListRule(const char* name, const QString& caption, void (TfrmTagListRules::*add)());
    QGroupBox* MakeYearGroup();
    void RuleSwitched(QGroupBox* group);
    static void ShowLines(ThtmlListBox& list, const TStrings& lines);
    static void AppendLine(ThtmlListBox& list, const std::string& line);
    static void DeleteCurrent(ThtmlListBox& list);

    TtagListRules* rules_ = nullptr; // link
    TcomponentLink<TcustomJukeboxList> library_;
    QGroupBox* gbRules;
    TlistRule artists_;
    QGroupBox* gbYear;
    QSpinBox* ieFrom;
    QSpinBox* ieTo;
    QCheckBox* cbNotYear;
    TlistRule genres_;
    TlistRule paths_;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

// Shows the rules in the editor with the library (may be null) and runs it modally. True only when it
// closed with OK, which stored the edited rules; any other close leaves them exactly as they were.
[[nodiscard]] bool EditTagListRules(TtagListRules& rules, TcustomJukeboxList* library,
                                    QWidget* parent = nullptr);
