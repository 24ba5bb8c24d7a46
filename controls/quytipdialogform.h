#pragma once

#include "platform/stringlist.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QImage;
class TcolorPanel;
class TimageColorPanel;

// The "Tip of the Day" window: one tip at a time, "Next Tip" going round the list, and the start-up
// check box. It works on its own copy of the tips.
class TQuyTipDialogForm : public QDialog
{
    Q_OBJECT

public:
    explicit TQuyTipDialogForm(QWidget* parent = nullptr);
    ~TQuyTipDialogForm() override;

    void SetPicture(const QImage& picture);
    void SetTips(const TStrings& tips) { m_tips.Assign(tips); }
    const TStrings& Tips() const { return m_tips; }
    int Index() const { return m_index; }
    void SetIndex(int value) { m_index = value; }
    bool ShowAtStart() const;
    void SetShowAtStart(bool value);
    void ClearTipText();

    // What the window does as it appears: a placeholder for no tips, "Next Tip" off for a single one,
    // an index past the end back to 0, then the tip at the index.
    void FormShow();
    void Button1Click();
    void Button2Click();

    QLabel* TipLabel() const { return m_label3; }
    QPushButton* NextButton() const { return m_button1; }
    QPushButton* CloseButton() const { return m_button2; }
    QCheckBox* StartupCheckBox() const { return m_checkBox; }
    TimageColorPanel* ImagePanel() const { return m_image; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowTip();

    TStrings m_tips;
    int m_index = 0;
    TcolorPanel* m_panel = nullptr;
    QLabel* m_label1 = nullptr;
    QLabel* m_label3 = nullptr;
    TimageColorPanel* m_image = nullptr;
    QPushButton* m_button1 = nullptr;
    QPushButton* m_button2 = nullptr;
    QCheckBox* m_checkBox = nullptr;
};
