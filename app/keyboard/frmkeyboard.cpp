#include "app/keyboard/frmkeyboard.h"

#include "app/keyboard/keyboardableform.h"
#include "app/qt/helpers/guiutils.h"
#include "controls/alignlayout.h"
#include "controls/keyboardcontrol.h"
#include "controls/orvanebutton.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QPolygon>

namespace {

constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;

// Grey glyph templates: neutral grey (127) around a dark shape; the bottom-left pixel stays neutral and is
// drawn transparent.
QImage BlankGlyph(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(127, 127, 127));
    return image;
}

void DrawArrow(QPainter& painter, int left, int size, bool up, bool filled)
{
    const int mid = left + size / 2;
    QPolygon arrow;
    if (up)
        arrow << QPoint(mid, 3) << QPoint(left + size - 3, size - 4) << QPoint(left + 3, size - 4);
    else
        arrow << QPoint(left + 3, 4) << QPoint(left + size - 3, 4) << QPoint(mid, size - 3);
    painter.setPen(QColor(30, 30, 30));
    painter.setBrush(filled ? QColor(30, 30, 30) : QColor(230, 230, 230));
    painter.drawPolygon(arrow);
}

QImage ArrowGlyph(bool up)
{
    constexpr int kSize = 16;
    QImage image = BlankGlyph(kSize, kSize);
    QPainter painter(&image);
    DrawArrow(painter, 0, kSize, up, true);
    return image;
}

// Shift as a check button: an open arrow while off, a filled one while on.
QImage ShiftGlyph()
{
    constexpr int kSize = 16;
    QImage image = BlankGlyph(2 * kSize, kSize);
    QPainter painter(&image);
    DrawArrow(painter, 0, kSize, true, false);
    DrawArrow(painter, kSize, kSize, true, true);
    return image;
}

TorvaneButton* GlyphButton(QWidget* parent, const char* name, const QImage& glyph)
{
    auto* button = new TorvaneButton(parent);
    button->setObjectName(name);
    button->SetGlyphs(glyph);
    button->SetGlyphPos(TglyphPos::gpCenter);
    return button;
}

QPointer<TfrmKeyboard>& SharedForm()
{
    static QPointer<TfrmKeyboard> form;
    return form;
}

// Runs first in the application's destructor, while widgets may still be freed.
void FreeSharedForm()
{
    delete SharedForm().data();
}

} // namespace

TfrmKeyboard::TfrmKeyboard(QWidget* parent) : QWidget(parent, kWindowFlags)
{
    setObjectName("frmKeyboard");
    resize(310, 100);

    pnlResize = new QWidget(this);
    pnlResize->setObjectName("pnlResize");
    pnlResize->resize(kResizePanelWidth, height());
    TalignLayout::SetAlign(pnlResize, TAlign::alRight);
    obtnBigger = GlyphButton(pnlResize, "obtnBigger", ArrowGlyph(true));
    obtnBigger->SetHint("Bigger");
    obtnShift = GlyphButton(pnlResize, "obtnShift", ShiftGlyph());
    obtnShift->SetIsCheckButton(true);
    obtnShift->SetHint("Shift");
    obtnSmaller = GlyphButton(pnlResize, "obtnSmaller", ArrowGlyph(false));
    obtnSmaller->SetHint("Smaller");
    TalignLayout::SetAlign(obtnBigger, TAlign::alTop);
    TalignLayout::SetAlign(obtnShift, TAlign::alBottom);
    TalignLayout::SetAlign(obtnSmaller, TAlign::alClient);

    keyboard = new TkeyboardControl(this);
    keyboard->setObjectName("keyboard");
    QFont font = keyboard->font();
    font.setFamily("Arial");
    keyboard->setFont(font);
    keyboard->SetColor(clBtnFace);
    keyboard->SetBevelWidth(2);
    keyboard->SetCapitals(false);
    TalignLayout::SetAlign(keyboard, TAlign::alClient);

    keyboard->OnKeyPress = [this](QObject* sender, std::uint16_t& key, TShiftState shift) {
        keyboardKeyPress(sender, key, shift);
    };
    obtnBigger->OnClick = [this](QObject*) { obtnBiggerClick(); };
    obtnSmaller->OnClick = [this](QObject*) { obtnSmallerClick(); };
    obtnShift->OnClick = [this](QObject*) { obtnShiftClick(); };
    FormResize();
}

TkeyboardableForm* TfrmKeyboard::GetHostForm() const
{
    return qobject_cast<TkeyboardableForm*>(parentWidget());
}

int TfrmKeyboard::KeyboardWidthFor(int keyWidth) const
{
    return keyWidth * TkeyboardControl::kColumns + pnlResize->width();
}

int TfrmKeyboard::KeyboardHeightFor(int keyHeight) const
{
    return keyHeight * TkeyboardControl::kRows;
}

bool TfrmKeyboard::Shifted() const
{
    return obtnShift->Checked();
}

void TfrmKeyboard::SetShifted(bool value)
{
    obtnShift->SetChecked(value);
    keyboard->SetCapitals(value);
}

void TfrmKeyboard::Detach()
{
    hide();
    SetShifted(false); // the next host starts with small letters
    TalignLayout::SetAlign(this, TAlign::alNone);
    if (parentWidget() != nullptr)
        setParent(nullptr, kWindowFlags);
}

void TfrmKeyboard::Relayout()
{
    FormResize();
    RealignTree(this);
}

void TfrmKeyboard::keyboardKeyPress(QObject*, std::uint16_t& key, TShiftState shift)
{
    if (TkeyboardableForm* host = GetHostForm())
        host->SendKey(key, Shifted() || shift.Keys.testFlag(Qt::ShiftModifier));
}

void TfrmKeyboard::obtnBiggerClick()
{
    if (GetHostForm() != nullptr && keyboard->width() < kLargestWidth)
        AskHostForKeys(keyboard->KeyWidth() + 2, keyboard->KeyHeight() + 2);
}

void TfrmKeyboard::obtnSmallerClick()
{
    if (GetHostForm() != nullptr && keyboard->width() > kSmallestWidth)
        AskHostForKeys(keyboard->KeyWidth() - 2, keyboard->KeyHeight() - 2);
}

void TfrmKeyboard::obtnShiftClick()
{
    // The check button has toggled itself already.
    SetShifted(obtnShift->Checked());
}

void TfrmKeyboard::AskHostForKeys(int keyWidth, int keyHeight)
{
    GetHostForm()->SetKeyboardSize(KeyboardWidthFor(keyWidth), KeyboardHeightFor(keyHeight));
}

void TfrmKeyboard::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TfrmKeyboard::FormResize()
{
    // The three buttons share the panel's height; Smaller takes what the other two leave.
    const int third = height() / 3;
    obtnBigger->resize(obtnBigger->width(), third);
    obtnShift->resize(obtnShift->width(), third);
}

TfrmKeyboard* GetKeyboardForm()
{
    QPointer<TfrmKeyboard>& form = SharedForm();
    if (!form) {
        form = new TfrmKeyboard;
        qAddPostRoutine(FreeSharedForm);
    }
    return form.data();
}

TfrmKeyboard* FindKeyboardForm()
{
    return SharedForm().data();
}
