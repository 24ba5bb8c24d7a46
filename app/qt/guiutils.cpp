#include "app/qt/guiutils.h"

#include "controls/alignlayout.h"

#include <QWidget>

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
