#pragma once

#include "controls/picture.h"
#include "controls/textalignment.h"
#include "platform/stringlist.h"

#include <QFont>

#include <functional>
#include <memory>
#include <string>

class QWidget;
class TQuyTipDialogForm;

enum class TTextLayout
{
    tlTop,
    tlCenter,
    tlBottom
};

// Holds the tips and shows them one at a time in the modal "Tip of the Day" window, remembering the
// last tip shown and whether tips are wanted at start-up.
class TQuyTipDialog
{
public:
    TQuyTipDialog();
    ~TQuyTipDialog();
    TQuyTipDialog(const TQuyTipDialog&) = delete;
    TQuyTipDialog& operator=(const TQuyTipDialog&) = delete;

    TStrings& Tips() { return tips_; }
    const TStrings& Tips() const { return tips_; }
    void SetTips(const TStrings& value);
    int TipNo() const { return tipNo_; }
    // An index below 0 or past the tips becomes 0.
    void SetTipNo(int value);
    bool ShowAtStart() const { return showAtStart_; }
    void SetShowAtStart(bool value) { showAtStart_ = value; }
    TPicture& Image() { return image_; }
    const TPicture& Image() const { return image_; }
    void SetImage(const QImage& value) { image_.Assign(value); }

    // Kept for the forms that set them; the window does not use them.
    const std::string& TitleLabel() const { return titleLabel_; }
    void SetTitleLabel(const std::string& value) { titleLabel_ = value; }
    const QFont& TitleFont() const { return titleFont_; }
    void SetTitleFont(const QFont& value) { titleFont_ = value; }
    TAlignment TitleAlignment() const { return titleAlignment_; }
    void SetTitleAlignment(TAlignment value) { titleAlignment_ = value; }
    TTextLayout TitleLayout() const { return titleLayout_; }
    void SetTitleLayout(TTextLayout value) { titleLayout_ = value; }

    // The window's parent; the active window when none is set.
    QWidget* Parent() const { return parent_; }
    void SetParent(QWidget* value) { parent_ = value; }

    // Shows the window modally and takes back the tip shown last and the check box. A window that cannot
    // be made beeps and shows nothing. Always true.
    bool Execute();

    // Builds the window; replaceable so that a failure to build it can be tried.
    std::function<std::unique_ptr<TQuyTipDialogForm>(QWidget* parent)> CreateForm;

private:
    TStrings tips_;
    int tipNo_ = 0;
    bool showAtStart_ = false;
    TPicture image_;
    std::string titleLabel_;
    QFont titleFont_;
    TAlignment titleAlignment_ = TAlignment::taLeftJustify;
    TTextLayout titleLayout_ = TTextLayout::tlTop;
    QWidget* parent_ = nullptr;
};
