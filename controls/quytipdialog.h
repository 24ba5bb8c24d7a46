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

    TStrings& Tips() { return m_tips; }
    const TStrings& Tips() const { return m_tips; }
    void SetTips(const TStrings& value);
    int TipNo() const { return m_tipNo; }
    // An index below 0 or past the tips becomes 0.
    void SetTipNo(int value);
    bool ShowAtStart() const { return m_showAtStart; }
    void SetShowAtStart(bool value) { m_showAtStart = value; }
    TPicture& Image() { return m_image; }
    const TPicture& Image() const { return m_image; }
    void SetImage(const QImage& value) { m_image.Assign(value); }

    // Kept for the forms that set them; the window does not use them.
    const std::string& TitleLabel() const { return m_titleLabel; }
    void SetTitleLabel(const std::string& value) { m_titleLabel = value; }
    const QFont& TitleFont() const { return m_titleFont; }
    void SetTitleFont(const QFont& value) { m_titleFont = value; }
    TAlignment TitleAlignment() const { return m_titleAlignment; }
    void SetTitleAlignment(TAlignment value) { m_titleAlignment = value; }
    TTextLayout TitleLayout() const { return m_titleLayout; }
    void SetTitleLayout(TTextLayout value) { m_titleLayout = value; }

    // The window's parent; the active window when none is set.
    QWidget* Parent() const { return m_parent; }
    void SetParent(QWidget* value) { m_parent = value; }

    // Shows the window modally and takes back the tip shown last and the check box. A window that cannot
    // be made beeps and shows nothing. Always true.
    bool Execute();

    // Builds the window; replaceable so that a failure to build it can be tried.
    std::function<std::unique_ptr<TQuyTipDialogForm>(QWidget* parent)> CreateForm;

private:
    TStrings m_tips;
    int m_tipNo = 0;
    bool m_showAtStart = false;
    TPicture m_image;
    std::string m_titleLabel;
    QFont m_titleFont;
    TAlignment m_titleAlignment = TAlignment::taLeftJustify;
    TTextLayout m_titleLayout = TTextLayout::tlTop;
    QWidget* m_parent = nullptr;
};
