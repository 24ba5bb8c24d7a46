#include "app/dialogs/frmojabout.h"

#include "app/dialogs/orvanelogo.h"
#include "controls/colorpanel.h"

#include <QTimer>

namespace {

TFontDesc DetailsFont(TColor color, bool bold)
{
    TFontDesc font;
    font.Name = "Arial";
    font.Size = 8;
    font.Color = color;
    font.Style = bold ? TFontStyles{TFontStyle::fsBold} : TFontStyles{};
    return font;
}

} // namespace

TfrmOJAbout::TfrmOJAbout(QWidget* parent) : TfrmAbout(parent)
{
    setObjectName("frmOJAbout");
    setWindowTitle("About");
    SetLogo(OrvaneLogo(QSize(kFormWidth, kLogoHeight)));
    pnlDetails->SetBevelWidth(1);
    pnlDetails->SetColor(RGBColor(0x22, 0x44, 0x88));
    tmrSplash->setInterval(5000);

    TappDetails& details = AppDetails();
    details.SetWebHome(kWebHome);
    details.SetEmailSupport(kEmailSupport);
    details.SetEmailSales(kEmailSales);
    details.SetCopyrightNotice("Copyright (C) the Orvane Jukebox developers");
    details.SetDistributorNotice("Free software for Linux desktops");
    details.SetHeadingsFont(DetailsFont(RGBColor(0xFF, 0x80, 0x40), true));
    details.SetWebFont(DetailsFont(RGBColor(0x54, 0x97, 0xE0), false));
    details.SetEmailFont(DetailsFont(RGBColor(0x54, 0x97, 0xE0), false));
    details.SetDetailsFont(DetailsFont(clSilver, true));
}
