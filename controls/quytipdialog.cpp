#include "controls/quytipdialog.h"

#include "controls/quytipdialogform.h"

#include <QApplication>
#include <QWidget>

#include <exception>
#include <memory>

TQuyTipDialog::TQuyTipDialog()
{
    CreateForm = [](QWidget* parent) { return std::make_unique<TQuyTipDialogForm>(parent); };
}

TQuyTipDialog::~TQuyTipDialog() = default;

void TQuyTipDialog::SetTips(const TStrings& value)
{
    if (&value == &m_tips) {
        return;
    }
    m_tips.Assign(value);
}

void TQuyTipDialog::SetTipNo(int value)
{
    m_tipNo = value < 0 || value >= m_tips.Count() ? 0 : value;
}

bool TQuyTipDialog::Execute()
{
    std::unique_ptr<TQuyTipDialogForm> form;
    try {
        form = CreateForm(m_parent ? m_parent : QApplication::activeWindow());
    } catch (const std::exception&) {
        QApplication::beep();
        return true;
    }
    if (!form) {
        QApplication::beep();
        return true;
    }
    form->SetPicture(m_image.Graphic());
    form->ClearTipText();
    form->SetTips(m_tips);
    form->SetIndex(m_tipNo);
    form->SetShowAtStart(m_showAtStart);
    form->exec();
    m_showAtStart = form->ShowAtStart();
    m_tipNo = form->Index();
    return true;
}
