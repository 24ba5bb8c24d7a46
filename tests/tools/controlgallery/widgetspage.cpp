#include "widgetspage.h"

#include "controls/appdetails.h"
#include "controls/colorpanel.h"
#include "controls/daskelbitmap.h"
#include "controls/daskellabel.h"
#include "controls/digitalclock2.h"
#include "controls/digitaldisplay.h"
#include "controls/htmllistbox.h"
#include "controls/imagecolorpanel.h"
#include "controls/keyboardcontrol.h"
#include "controls/quytipdialogform.h"
#include "controls/scrollbanner3.h"
#include "core/timers/threadedtimer.h"
#include "platform/datetime.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QVBoxLayout>

namespace {

// A cover-like picture drawn in code: a gradient with a disc and a bar.
QImage Cover(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, QColor(30, 60, 150));
    g.setColorAt(1, QColor(220, 120, 40));
    p.fillRect(image.rect(), g);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(240, 240, 230));
    p.setPen(Qt::NoPen);
    const int r = std::min(w, h) / 3;
    p.drawEllipse(QPoint(w / 2, h / 2), r, r);
    p.setBrush(QColor(20, 20, 20));
    p.drawEllipse(QPoint(w / 2, h / 2), r / 4, r / 4);
    p.fillRect(QRect(0, h - h / 8, w, h / 8), QColor(250, 210, 60));
    return image;
}

QWidget* Cell(QWidget* control, const QString& caption)
{
    auto* cell = new QWidget;
    auto* v = new QVBoxLayout(cell);
    v->setContentsMargins(4, 4, 4, 4);
    v->setSpacing(2);
    auto* holder = new QWidget;
    holder->setFixedSize(control->size());
    control->setParent(holder);
    control->move(0, 0);
    control->show();
    auto* label = new QLabel(caption);
    label->setAlignment(Qt::AlignHCenter);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() * 0.85);
    label->setFont(f);
    v->addWidget(holder, 0, Qt::AlignHCenter);
    v->addWidget(label);
    return cell;
}

TcolorPanel* Panel(TColor color, TPanelBevel outer, TPanelBevel inner, int bevel, int border,
                   const QString& caption)
{
    auto* p = new TcolorPanel;
    p->resize(110, 50);
    p->SetColor(color);
    p->SetBevelOuter(outer);
    p->SetBevelInner(inner);
    p->SetBevelWidth(bevel);
    p->SetBorderWidth(border);
    p->SetCaption(caption);
    return p;
}

TimageColorPanel* ImagePanel(TimageDrawStyle style, const QImage& picture, bool caption)
{
    auto* p = new TimageColorPanel;
    p->resize(110, 80);
    p->SetColor(RGBColor(60, 60, 70));
    p->SetBevelOuter(TPanelBevel::bvLowered);
    p->SetBevelWidth(2);
    p->SetImageDrawStyle(style);
    p->SetImageHorizontalAlignment(TAlignment::taCenter);
    p->SetImage(picture);
    if (caption) {
        p->SetCaption(QStringLiteral("Caption"));
        p->SetFontColor(RGBColor(200, 30, 30));
        p->SetDrawCaption(true);
        p->SetTransparentCaption(true);
    }
    return p;
}

QGroupBox* ColourPanels()
{
    auto* box = new QGroupBox(QStringLiteral("TcolorPanel, TimageColorPanel"));
    auto* grid = new QGridLayout(box);
    grid->addWidget(Cell(Panel(RGBColor(128, 128, 128), TPanelBevel::bvRaised, TPanelBevel::bvNone, 2, 0,
                               QStringLiteral("Raised")),
                         QStringLiteral("raised 2")),
                    0, 0);
    grid->addWidget(Cell(Panel(RGBColor(40, 110, 60), TPanelBevel::bvRaised, TPanelBevel::bvLowered, 2, 1,
                               QStringLiteral("Raised + sunk")),
                         QStringLiteral("outer raised, inner lowered")),
                    0, 1);
    TcolorPanel* right = Panel(RGBColor(150, 50, 50), TPanelBevel::bvLowered, TPanelBevel::bvNone, 3, 0,
                               QStringLiteral("Right"));
    right->SetAlignment(TAlignment::taRightJustify);
    right->SetFontColor(clWhite);
    grid->addWidget(Cell(right, QStringLiteral("lowered 3, right")), 0, 2);
    grid->addWidget(
        Cell(Panel(clInfoBk, TPanelBevel::bvLowered, TPanelBevel::bvNone, 1, 0, QStringLiteral("Info")),
             QStringLiteral("lowered 1")),
        0, 3);
    const QImage wide = Cover(160, 80);
    grid->addWidget(Cell(ImagePanel(TimageDrawStyle::idsNormal, wide, false), QStringLiteral("idsNormal")), 1,
                    0);
    grid->addWidget(
        Cell(ImagePanel(TimageDrawStyle::idsScale, wide, false), QStringLiteral("idsScale, centred")), 1, 1);
    grid->addWidget(Cell(ImagePanel(TimageDrawStyle::idsStretch, Cover(40, 60), true),
                         QStringLiteral("idsStretch, caption")),
                    1, 2);
    return box;
}

TdigitalDisplay* Display(int seconds)
{
    auto* d = new TdigitalDisplay;
    d->resize(96, 26);
    QFont f = d->font();
    f.setPixelSize(18);
    f.setBold(true);
    d->setFont(f);
    d->SetFontColor(RGBColor(80, 255, 120));
    d->SetSeconds(seconds);
    return d;
}

TdigitalClock2* Clock(TclockStyle style)
{
    auto* c = new TdigitalClock2;
    c->resize(80, 26);
    QFont f = c->font();
    f.setPixelSize(18);
    c->setFont(f);
    c->SetClockStyle(style);
    c->SetTimeSource([] { return platform::EncodeDateTime(2024, 3, 1, 13, 30, 0); });
    c->TimerTick();
    return c;
}

TdaskelBitmap* Box(TdaskelBitmapStyle style, TdaskelBitmapAlignment alignment, const QImage& picture)
{
    auto* b = new TdaskelBitmap;
    b->resize(90, 70);
    b->SetColor(RGBColor(25, 25, 30));
    b->SetStyle(style);
    b->SetAlignment(alignment);
    b->SetPicture(picture);
    return b;
}

QWidget* LabelOn(TlabelStyle style, bool enabled, const QString& caption)
{
    auto* back = new TcolorPanel;
    back->resize(120, 34);
    back->SetColor(RGBColor(90, 120, 170));
    back->SetBevelOuter(TPanelBevel::bvNone);
    auto* label = new TdaskelLabel(caption, back);
    QFont f = label->font();
    f.setPixelSize(16);
    f.setBold(true);
    label->setFont(f);
    label->SetFontColor(RGBColor(255, 230, 120));
    label->SetLabelStyle(style);
    label->setEnabled(enabled);
    label->move(8, 6);
    label->SetAutoSize(true);
    label->SetCaption(caption);
    return back;
}

QGroupBox* TimeAndPictures()
{
    auto* box = new QGroupBox(QStringLiteral("TdigitalDisplay, TdigitalClock2, TdaskelBitmap, TdaskelLabel"));
    auto* grid = new QGridLayout(box);
    grid->addWidget(Cell(Display(-65), QStringLiteral("Seconds -65")), 0, 0);
    grid->addWidget(Cell(Display(6000), QStringLiteral("Seconds 6000")), 0, 1);
    grid->addWidget(Cell(Clock(TclockStyle::cs12hr), QStringLiteral("cs12hr at 13:30")), 0, 2);
    grid->addWidget(Cell(Clock(TclockStyle::cs24hr), QStringLiteral("cs24hr at 13:30")), 0, 3);
    const QImage wide = Cover(120, 60);
    grid->addWidget(Cell(Box(TdaskelBitmapStyle::dbsMaintainAspect, TdaskelBitmapAlignment::dbaCenter, wide),
                         QStringLiteral("aspect, centre")),
                    1, 0);
    grid->addWidget(Cell(Box(TdaskelBitmapStyle::dbsMaintainAspect, TdaskelBitmapAlignment::dbaRightBottom,
                             Cover(40, 80)),
                         QStringLiteral("aspect, right")),
                    1, 1);
    grid->addWidget(Cell(Box(TdaskelBitmapStyle::dbsStretch, TdaskelBitmapAlignment::dbaCenter, wide),
                         QStringLiteral("stretch")),
                    1, 2);
    grid->addWidget(Cell(Box(TdaskelBitmapStyle::dbsTile, TdaskelBitmapAlignment::dbaCenter, Cover(32, 32)),
                         QStringLiteral("tile")),
                    1, 3);
    grid->addWidget(
        Cell(LabelOn(TlabelStyle::lsNormal, true, QStringLiteral("Normal")), QStringLiteral("lsNormal")), 2,
        0);
    grid->addWidget(
        Cell(LabelOn(TlabelStyle::lsShadow, true, QStringLiteral("Shadow")), QStringLiteral("lsShadow")), 2,
        1);
    grid->addWidget(
        Cell(LabelOn(TlabelStyle::lsBorder, true, QStringLiteral("Border")), QStringLiteral("lsBorder")), 2,
        2);
    grid->addWidget(
        Cell(LabelOn(TlabelStyle::lsNormal, false, QStringLiteral("Disabled")), QStringLiteral("disabled")),
        2, 3);
    return box;
}

QGroupBox* BannerAndKeyboard()
{
    auto* box = new QGroupBox(QStringLiteral("TScrollBanner3, TkeyboardControl"));
    auto* v = new QVBoxLayout(box);
    auto* banners = new QHBoxLayout;
    auto* still = new TScrollBanner3;
    still->resize(260, 26);
    QFont f = still->font();
    f.setPixelSize(15);
    still->setFont(f);
    still->SetColor(RGBColor(20, 20, 60));
    still->SetFontColor(clWhite);
    still->SetCaption("<b>Artist</b> - <i>Song title</i> <font color=#FFC040>(3:45)");
    banners->addWidget(Cell(still, QStringLiteral("tagged caption, at rest")));
    auto* moved = new TScrollBanner3;
    moved->resize(260, 26);
    moved->setFont(f);
    moved->SetColor(RGBColor(60, 20, 20));
    moved->SetFontColor(clWhite);
    moved->SetSpaces(4);
    moved->SetScrollInc(20);
    moved->SetCaption("<b>A long song title</b> that scrolls round <font size=14>in a loop");
    moved->SetScrollEnabled(true);
    moved->Timer()->SetEnabled(false); // held still for the picture
    for (int i = 0; i < 12; ++i) {
        moved->TimerTick();
    }
    banners->addWidget(Cell(moved, QStringLiteral("scrolled past the seam")));
    v->addLayout(banners);

    auto* keyboard = new TkeyboardControl;
    keyboard->resize(400, 140);
    keyboard->SetColor(RGBColor(70, 90, 120));
    keyboard->SetFontColor(clWhite);
    QFont kf = keyboard->font();
    kf.setBold(true);
    keyboard->setFont(kf);
    keyboard->PressAt(keyboard->Keys()[22].Rect.center()); // "D" held down
    v->addWidget(Cell(keyboard, QStringLiteral("on-screen keyboard, \"D\" pressed")), 0, Qt::AlignHCenter);
    return box;
}

QGroupBox* Dialogs()
{
    auto* box = new QGroupBox(QStringLiteral("TQuyTipDialogForm, TappDetails"));
    auto* h = new QHBoxLayout(box);
    auto* tip = new TQuyTipDialogForm;
    tip->setWindowFlags(Qt::Widget);
    TStrings tips;
    tips.Add("Double-click an album to add all of its songs to the queue.");
    tips.Add("Party play locks the controls you choose behind a password.");
    tip->SetTips(tips);
    tip->SetIndex(1);
    tip->SetPicture(Cover(64, 64));
    tip->SetShowAtStart(true);
    tip->FormShow();
    tip->resize(tip->sizeHint());
    h->addWidget(Cell(tip, QStringLiteral("tip of the day")));

    auto* panel = new TcolorPanel;
    panel->resize(250, 170);
    panel->SetColor(RGBColor(235, 235, 225));
    panel->SetBevelOuter(TPanelBevel::bvLowered);
    panel->SetBevelWidth(2);
    auto* list = new ThtmlListBox(panel);
    list->setGeometry(panel->InnerRect());
    static TappDetails details;
    details.SetWebHome("https://orvane.example");
    details.SetEmailSupport("support@orvane.example");
    details.SetEmailSales("sales@orvane.example");
    details.SetVersionNotice("Version 0.1.0");
    details.SetCopyrightNotice("Copyright the Orvane developers");
    TFontDesc heading;
    heading.Style = TFontStyles{TFontStyle::fsBold};
    details.SetHeadingsFont(heading);
    TFontDesc web;
    web.Color = clBlue;
    details.SetWebFont(web);
    details.SetEmailFont(web);
    details.SetColor(RGBColor(235, 235, 225));
    details.WriteToHTMLListBox(*list);
    h->addWidget(Cell(panel, QStringLiteral("about details")), 0, Qt::AlignTop);
    return box;
}

} // namespace

QWidget* BuildWidgetsPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("widgetsPage"));
    auto* grid = new QGridLayout(page);
    grid->addWidget(ColourPanels(), 0, 0);
    grid->addWidget(TimeAndPictures(), 0, 1);
    grid->addWidget(BannerAndKeyboard(), 1, 0);
    grid->addWidget(Dialogs(), 1, 1);
    return page;
}
