#pragma once

#include "platform/stringlist.h"

#include <QDialog>

#include <memory>
#include <string>

class QGroupBox;
class QPushButton;
class ThtmlListBox;

// "Select Item": a multi-select list of offered lines, each with its object, from which the user picks some.
// The list box draws mark-up, so the lines are shown escaped; the form keeps its own copy of the offered
// lines and answers with those.
class TfrmSelectItem : public QDialog
{
    Q_OBJECT

public:
    TfrmSelectItem(const std::string& caption, const std::string& groupCaption, const TStrings& offered,
                   QWidget* parent = nullptr);

    // The offered lines as given (texts and objects).
    const TStrings& Offered() const { return offered_; }
    // Appends the selected lines, from the top, with their objects.
    void GetSelected(TStrings& chosen) const;

    QGroupBox* ItemGroup() const { return gbItemList; }
    ThtmlListBox* Items() const { return lbItems; }
    QPushButton* OkButton() const { return btnOK; }
    QPushButton* CancelButton() const { return btnCancel; }

private:
    TStrings offered_;
    QGroupBox* gbItemList;
    ThtmlListBox* lbItems;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

// The picker with its caption, group caption and a copy of the offered lines.
std::unique_ptr<TfrmSelectItem> CreateSelectItemForm(const std::string& caption,
                                                     const std::string& groupCaption, const TStrings& offered,
                                                     QWidget* parent = nullptr);

// Runs the picker modally over the offered lines; chosen is cleared first. False when it closed with Cancel,
// or with OK while no line was current; otherwise the selected lines (from the top, with their objects) are
// appended to chosen and the answer is true.
bool SelectItems(const std::string& caption, const std::string& groupCaption, const TStrings& offered,
                 TStrings& chosen, QWidget* parent = nullptr);

// The same over lines whose objects are of one type.
template <class T>
bool SelectItems(const std::string& caption, const std::string& groupCaption, const TStringList<T>& offered,
                 TStringList<T>& chosen, QWidget* parent = nullptr)
{
    TStrings lines;
    lines.Reserve(offered.Count());
    for (const auto& item : offered)
        lines.AddObject(item.text, const_cast<void*>(static_cast<const void*>(item.object)));
    TStrings picked;
    chosen.Clear();
    if (!SelectItems(caption, groupCaption, lines, picked, parent))
        return false;
    for (const auto& item : picked)
        chosen.AddObject(item.text, static_cast<T*>(item.object));
    return true;
}
