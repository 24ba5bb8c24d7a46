#include "app/qt/helpers/guiutils.h"

#include "controls/alignlayout.h"

#include <QDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <vector>

void GetAbsolutePos(const QWidget* control, int& left, int& top)
{
    left = 0;
    top = 0;
    for (const QWidget* w = control; w; w = w->parentWidget()) {
        left += w->x();
        top += w->y();
        if (w->isWindow())
            break;
    }
}

void EnableGroupBoxControls(const QWidget* form, const QWidget* groupBox, bool enabled)
{
    if (!form || !groupBox)
        return;
    for (QWidget* child : form->findChildren<QWidget*>())
        if (child->parentWidget() == groupBox)
            child->setEnabled(enabled);
}

void RealignTree(QWidget* widget)
{
    if (!widget)
        return;
    if (TalignLayout* layout = TalignLayout::Of(widget))
        layout->Realign();
    for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        RealignTree(child);
}

QFont FixedPitchFont()
{
    QFont font("Courier New", 9);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    return font;
}

QHBoxLayout* MakeOkCancelButtons(QDialog& dialog, QPushButton*& ok, QPushButton*& cancel)
{
    ok = new QPushButton("&OK", &dialog);
    ok->setObjectName("btnOK");
    ok->setDefault(true);
    cancel = new QPushButton("&Cancel", &dialog);
    cancel->setObjectName("btnCancel");
    cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    return buttons;
}

int HighlightedRow(const QListWidget* list)
{
    if (!list)
        return -1;
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? list->row(item) : -1;
}

void EnableWithHighlight(QListWidget* list, std::initializer_list<QWidget*> buttons)
{
    std::vector<QPointer<QWidget>> held(buttons.begin(), buttons.end());
    const QObject* watched = list;
    const auto update = [watched, held] {
        // The list's destruction empties its model: by then it is no list any more, and nothing is done.
        const auto* view = qobject_cast<const QListWidget*>(watched);
        if (!view)
            return;
        const bool on = HighlightedRow(view) >= 0;
        for (const QPointer<QWidget>& button : held)
            if (button)
                button->setEnabled(on);
    };
    QObject::connect(list, &QListWidget::itemSelectionChanged, list, update);
    QObject::connect(list, &QListWidget::currentRowChanged, list, update);
    QAbstractItemModel* model = list->model();
    QObject::connect(model, &QAbstractItemModel::modelReset, list, update);
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, list, update);
    QObject::connect(model, &QAbstractItemModel::rowsInserted, list, update);
    update();
}
