#include "app/dialogs/frmselectitem.h"

#include "app/qt/helpers/guiutils.h"
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "markup/taggedtext.h"
#include "platform/qtstring.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TfrmSelectItem::TfrmSelectItem(const std::string& caption, const std::string& groupCaption,
                               const TStrings& offered, QWidget* parent)
    : QDialog(parent, Qt::Tool)
{
    setObjectName("frmSelectItem");
    setWindowTitle(platform::ToQString(caption));
    resize(300, 360);
    setSizeGripEnabled(true);
    offered_.Assign(offered);

    gbItemList = new QGroupBox(platform::ToQString(groupCaption), this);
    gbItemList->setObjectName("gbItemList");
    lbItems = new ThtmlListBox(gbItemList);
    lbItems->setObjectName("lbItems");
    ThtmlListItems& items = lbItems->Items();
    items.BeginUpdate();
    for (const auto& item : offered_)
        items.AddObject(EscapeMarkup(item.text), item.object);
    items.EndUpdate();
    auto* group = new QVBoxLayout(gbItemList);
    group->addWidget(lbItems);

    QHBoxLayout* const buttons = MakeOkCancelButtons(*this, btnOK, btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gbItemList, 1);
    layout->addLayout(buttons);
}

void TfrmSelectItem::GetSelected(TStrings& chosen) const
{
    chosen.BeginUpdate();
    for (int i = 0; i < offered_.Count(); ++i)
        if (lbItems->Selected(i))
            chosen.AddObject(offered_[i], offered_.Objects(i));
    chosen.EndUpdate();
}

std::unique_ptr<TfrmSelectItem> CreateSelectItemForm(const std::string& caption,
                                                     const std::string& groupCaption, const TStrings& offered,
                                                     QWidget* parent)
{
    return std::make_unique<TfrmSelectItem>(caption, groupCaption, offered, parent);
}

bool SelectItems(const std::string& caption, const std::string& groupCaption, const TStrings& offered,
                 TStrings& chosen, QWidget* parent)
{
    const std::unique_ptr<TfrmSelectItem> picker =
        CreateSelectItemForm(caption, groupCaption, offered, parent);
    picker->Items()->SetMultiSelect(true);
    chosen.Clear();
    if (picker->exec() != QDialog::Accepted || picker->Items()->ItemIndex() < 0)
        return false;
    picker->GetSelected(chosen);
    return true;
}
