#include "app/qt/guiutils.h"

#include "controls/alignlayout.h"

#include <QDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QPushButton>
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
