// Control gallery: every control of our own, skinned with a grey skin drawn in code and unskinned, in each
// of its states. A test tool; `--screenshot file.png` saves the window and quits.

#include "controls/greyskin.h"
#include "widgetspage.h"

#include "controls/alignlayout.h"
#include "controls/orvanebutton.h"
#include "controls/orvanemultibutton.h"
#include "controls/orvanepanel.h"
#include "controls/orvanescrollbar.h"
#include "controls/qtcolor.h"
#include "controls/transparentsplitter.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr TColor kButtonColor = RGBColor(64, 112, 176);
constexpr TColor kPanelColor = RGBColor(72, 76, 88);

// Holds a control pressed, as if the mouse were down on it.
void HoldPressed(QWidget* w, QPoint at)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

QWidget* Cell(QWidget* control, const QString& caption)
{
    auto* cell = new QWidget;
    auto* v = new QVBoxLayout(cell);
    v->setContentsMargins(4, 4, 4, 4);
    v->setSpacing(2);
    auto* label = new QLabel(caption);
    label->setAlignment(Qt::AlignHCenter);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() * 0.85);
    label->setFont(f);
    auto* holder = new QWidget;
    holder->setFixedSize(control->size());
    control->setParent(holder);
    control->move(0, 0);
    v->addWidget(holder, 0, Qt::AlignHCenter);
    v->addWidget(label);
    return cell;
}

TorvaneButton* SkinnedButton(bool check)
{
    auto* b = new TorvaneButton;
    b->SetIsCheckButton(check);
    b->SetSkinBitmap(check ? greyskin::CheckButton(70, 26) : greyskin::PushButton(70, 26));
    b->SetIsSkinned(true);
    b->SetColor(kButtonColor);
    b->SetOuterColor(kPanelColor);
    b->resize(70, 26);
    return b;
}

TorvaneButton* DrawnButton(const QString& caption)
{
    auto* b = new TorvaneButton;
    b->SetCaption(caption);
    return b;
}

QGroupBox* Buttons(std::vector<QWidget*>& pressed, TorvaneButton*& focused)
{
    auto* box = new QGroupBox("TorvaneButton");
    auto* grid = new QGridLayout(box);
    int col = 0;
    const auto add = [&](int row, QWidget* w, const QString& caption) {
        grid->addWidget(Cell(w, caption), row, col);
    };

    add(0, SkinnedButton(false), "skinned up");
    add(1, DrawnButton("&Play"), "drawn up");
    ++col;
    TorvaneButton* down = SkinnedButton(false);
    pressed.push_back(down);
    add(0, down, "skinned down");
    TorvaneButton* drawnDown = DrawnButton("&Play");
    pressed.push_back(drawnDown);
    add(1, drawnDown, "drawn down");
    ++col;
    add(0, SkinnedButton(true), "check up");
    focused = DrawnButton("&Focused");
    focused->SetFontHiliteColor(RGBColor(0, 0, 160));
    add(1, focused, "drawn, focus");
    ++col;
    TorvaneButton* checkDown = SkinnedButton(true);
    pressed.push_back(checkDown);
    add(0, checkDown, "check down");
    TorvaneButton* glyph = DrawnButton("Glyph");
    glyph->SetGlyphs(greyskin::Glyph(18, false));
    glyph->SetGlyphPos(TglyphPos::gpCenterLeft);
    glyph->SetGlyphPadding(3);
    glyph->resize(90, 28);
    add(1, glyph, "glyph, centre-left");
    ++col;
    TorvaneButton* checked = SkinnedButton(true);
    checked->SetChecked(true);
    add(0, checked, "checked up");
    TorvaneButton* checkGlyph = DrawnButton("");
    checkGlyph->SetIsCheckButton(true);
    checkGlyph->SetGlyphs(greyskin::Glyph(18, true));
    checkGlyph->SetGlyphPos(TglyphPos::gpCenter);
    checkGlyph->SetChecked(true);
    checkGlyph->SetColor(RGBColor(200, 190, 160));
    checkGlyph->resize(40, 28);
    add(1, checkGlyph, "check glyph, checked");
    ++col;
    TorvaneButton* checkedDown = SkinnedButton(true);
    checkedDown->SetChecked(true);
    pressed.push_back(checkedDown);
    add(0, checkedDown, "checked down");
    TorvaneButton* wide = DrawnButton("Wide bevel");
    wide->SetBevelWidth(6);
    wide->SetColor(RGBColor(150, 60, 60));
    wide->SetFontColor(clWhite);
    wide->resize(95, 32);
    add(1, wide, "bevel 6");
    return box;
}

TorvanePanel* NinePiecePanel(bool stretch)
{
    auto* p = new TorvanePanel;
    p->resize(150, 90);
    p->SetPanelColor(kPanelColor);
    p->SetIsSkinned(true);
    p->SetStretchDraw(stretch);
    p->SetBitmapTopLeft(greyskin::PanelCorner(12, 0));
    p->SetBitmapTopRight(greyskin::PanelCorner(12, 1));
    p->SetBitmapBottomLeft(greyskin::PanelCorner(12, 2));
    p->SetBitmapBottomRight(greyskin::PanelCorner(12, 3));
    p->SetBitmapTopCenter(greyskin::PanelEdge(8, 12, 0));
    p->SetBitmapLeftCenter(greyskin::PanelEdge(8, 12, 1));
    p->SetBitmapRightCenter(greyskin::PanelEdge(8, 12, 2));
    p->SetBitmapBottomCenter(greyskin::PanelEdge(8, 12, 3));
    p->SetBitmapMiddle(greyskin::PanelMiddle(8));
    return p;
}

QGroupBox* Panels()
{
    auto* box = new QGroupBox("TorvanePanel");
    auto* grid = new QGridLayout(box);
    grid->addWidget(Cell(NinePiecePanel(false), "nine pieces, tiled"), 0, 0);
    grid->addWidget(Cell(NinePiecePanel(true), "nine pieces, stretched"), 0, 1);

    auto* title = new TorvanePanel;
    title->resize(150, 24);
    title->SetPanelColor(kPanelColor);
    title->SetIsSkinned(true);
    title->SetBitmapTopLeft(greyskin::TitleEnd(20, 24, true));
    title->SetBitmapTopCenter(greyskin::TitleCentre(4, 24));
    title->SetBitmapTopRight(greyskin::TitleEnd(20, 24, false));
    FitPanelToSkin(title);
    grid->addWidget(Cell(title, "horizontal bar, fitted"), 0, 2);

    auto* raised = new TorvanePanel;
    raised->resize(150, 90);
    raised->SetColor(RGBColor(180, 175, 165));
    raised->SetBevelWidth(3);
    raised->SetBevelInner(TPanelBevel::bvLowered);
    raised->SetBitmap(greyskin::Glyph(32, false));
    grid->addWidget(Cell(raised, "unskinned: raised + lowered, picture"), 1, 0);

    auto* lowered = new TorvanePanel;
    lowered->resize(150, 90);
    lowered->SetColor(kButtonColor);
    lowered->SetBevelOuter(TPanelBevel::bvLowered);
    lowered->SetBevelWidth(4);
    grid->addWidget(Cell(lowered, "unskinned: lowered"), 1, 1);

    auto* flat = new TorvanePanel;
    flat->resize(150, 40);
    flat->SetColor(RGBColor(90, 130, 90));
    flat->SetBevelOuter(TPanelBevel::bvNone);
    grid->addWidget(Cell(flat, "unskinned: no bevel"), 1, 2);
    return box;
}

TorvaneMultiButton* Multi(bool skinned)
{
    auto* m = new TorvaneMultiButton;
    if (skinned) {
        m->SetSkinBitmap(greyskin::MultiButton(176, 44));
        m->SetButtonColor(kButtonColor);
        m->SetOuterColor(kPanelColor);
        m->resize(m->SkinWidth(), m->SkinHeight());
    } else {
        m->resize(120, 44);
    }
    return m;
}

QGroupBox* MultiButtons(std::vector<std::pair<QWidget*, QPoint>>& pressedAt)
{
    auto* box = new QGroupBox("TorvaneMultiButton");
    auto* grid = new QGridLayout(box);
    grid->addWidget(Cell(Multi(true), "normal"), 0, 0);
    TorvaneMultiButton* pressed = Multi(true);
    pressedAt.emplace_back(pressed, QPoint(22, 22));
    grid->addWidget(Cell(pressed, "button 1 pressed"), 0, 1);
    TorvaneMultiButton* checked = Multi(true);
    checked->SetButtonChecked(3);
    grid->addWidget(Cell(checked, "button 3 checked"), 0, 2);
    TorvaneMultiButton* unskinned = Multi(false);
    grid->addWidget(Cell(unskinned, "unskinned quadrants"), 0, 3);
    return box;
}

TorvaneScrollBar* Bar(bool vertical, bool skinned, int value)
{
    auto* bar = new TorvaneScrollBar;
    if (!vertical) {
        bar->SetStyle(TosbStyle::osbHorizontal);
    }
    if (skinned) {
        bar->SetUpButtonSkin(greyskin::ScrollArrow(16, vertical ? 0 : 2));
        bar->SetDownButtonSkin(greyskin::ScrollArrow(16, vertical ? 1 : 3));
        bar->SetScrollButtonSkin(vertical ? greyskin::ScrollThumb(16, 36) : greyskin::ScrollThumb(36, 16));
        bar->SetBackBitmap(vertical ? greyskin::ScrollTrack(16, 8) : greyskin::ScrollTrack(16, 16));
        bar->SetButtonColor(kButtonColor);
        bar->SetScrollerColor(kButtonColor);
        bar->SetBackColor(kPanelColor);
    } else {
        bar->SetScrollerColor(RGBColor(150, 150, 150));
    }
    const int thickness = skinned ? 16 : 20;
    bar->resize(vertical ? thickness : 180, vertical ? 150 : thickness);
    bar->SetMax(100);
    bar->SetValue(value);
    return bar;
}

QGroupBox* ScrollBars()
{
    auto* box = new QGroupBox("TorvaneScrollBar");
    auto* grid = new QGridLayout(box);
    grid->addWidget(Cell(Bar(true, true, 30), "skinned"), 0, 0, 2, 1);
    grid->addWidget(Cell(Bar(true, false, 70), "unskinned"), 0, 1, 2, 1);
    grid->addWidget(Cell(Bar(false, true, 60), "skinned, horizontal"), 0, 2);
    grid->addWidget(Cell(Bar(false, false, 0), "unskinned, horizontal"), 1, 2);
    return box;
}

QGroupBox* Splitters()
{
    auto* box = new QGroupBox("TtransparentSplitter and alignment");
    auto* v = new QVBoxLayout(box);
    auto* area = new TorvanePanel;
    area->SetBevelOuter(TPanelBevel::bvLowered);
    area->SetColor(kPanelColor);
    area->resize(330, 150);
    area->setFixedSize(330, 150);

    auto* left = NinePiecePanel(false);
    left->setParent(area);
    left->resize(110, 10);
    TalignLayout::SetAlign(left, TAlign::alLeft);
    auto* split = new TtransparentSplitter(area);
    split->resize(6, 10);
    split->SetPanelColor(kPanelColor);
    split->SetTopLeftBitmap(greyskin::SplitterGrip(6, 24));
    split->SetBottomRightBitmap(greyskin::SplitterGrip(6, 24));
    split->SetAutoSnap(false);
    auto* bottom = new TorvanePanel(area);
    bottom->resize(10, 40);
    bottom->SetColor(RGBColor(170, 165, 150));
    TalignLayout::SetAlign(bottom, TAlign::alBottom);
    auto* hsplit = new TtransparentSplitter(area);
    hsplit->SetAlign(TAlign::alBottom);
    hsplit->resize(10, 6);
    hsplit->SetPanelColor(RGBColor(120, 60, 60));
    auto* client = new TorvanePanel(area);
    client->SetColor(RGBColor(200, 200, 190));
    client->SetBevelOuter(TPanelBevel::bvLowered);
    TalignLayout::SetAlign(client, TAlign::alClient);
    v->addWidget(area);
    auto* note = new QLabel("left panel | grip splitter | client; bottom panel under a plain splitter");
    QFont f = note->font();
    f.setPointSizeF(f.pointSizeF() * 0.85);
    note->setFont(f);
    v->addWidget(note);
    return box;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    InstallPaletteColorResolver();
    QString screenshot;
    const QStringList args = app.arguments();
    const int at = int(args.indexOf("--screenshot"));
    if (at >= 0 && at + 1 < args.size()) {
        screenshot = args.at(at + 1);
    }

    QWidget window;
    window.setWindowTitle("Control gallery");
    auto* grid = new QGridLayout(&window);
    std::vector<QWidget*> pressed;
    std::vector<std::pair<QWidget*, QPoint>> pressedAt;
    TorvaneButton* focused = nullptr;
    grid->addWidget(Buttons(pressed, focused), 0, 0, 1, 2);
    grid->addWidget(Panels(), 1, 0);
    grid->addWidget(ScrollBars(), 1, 1);
    grid->addWidget(MultiButtons(pressedAt), 2, 0);
    grid->addWidget(Splitters(), 2, 1);
    grid->addWidget(BuildWidgetsPage(), 3, 0, 1, 2);
    window.show();
    window.activateWindow();

    for (QWidget* w : pressed) {
        HoldPressed(w, QPoint(w->width() / 2, w->height() / 2));
    }
    for (const auto& [w, point] : pressedAt) {
        HoldPressed(w, point);
    }
    focused->setFocus();

    if (!screenshot.isEmpty()) {
        QTimer::singleShot(300, [&] {
            focused->setFocus();
            const bool saved = window.grab().save(screenshot);
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
