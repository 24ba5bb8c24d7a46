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
    void SetTips(const TStrings& tips) { tips_.Assign(tips); }
    const TStrings& Tips() const { return tips_; }
    int Index() const { return index_; }
    void SetIndex(int value) { index_ = value; }
    bool ShowAtStart() const;
    void SetShowAtStart(bool value);
    void ClearTipText();

    // What the window does as it appears: a placeholder for no tips, "Next Tip" off for a single one,
    // an index past the end back to 0, then the tip at the index.
    void FormShow();
    void Button1Click();
    void Button2Click();

    QLabel* TipLabel() const { return label3_; }
    QPushButton* NextButton() const { return button1_; }
    QPushButton* CloseButton() const { return button2_; }
    QCheckBox* StartupCheckBox() const { return checkBox_; }
    TimageColorPanel* ImagePanel() const { return image_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowTip();

    TStrings tips_;
    int index_ = 0;
    TcolorPanel* panel_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* label3_ = nullptr;
    TimageColorPanel* image_ = nullptr;
    QPushButton* button1_ = nullptr;
    QPushButton* button2_ = nullptr;
    QCheckBox* checkBox_ = nullptr;
};
