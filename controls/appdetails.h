#pragma once

#include "markup/color.h"
#include "markup/fontdesc.h"

#include <QPointer>

#include <string>

class ThtmlListBox;

// The program's contact details and notices for the about and splash windows, written as tagged lines
// into a list box; a click on the web line opens the web page, one on a mail line a new mail.
class TappDetails
{
public:
    TappDetails();

    const std::string& WebHome() const { return webHome_; }
    void SetWebHome(const std::string& value) { webHome_ = value; }
    const std::string& EmailSupport() const { return emailSupport_; }
    void SetEmailSupport(const std::string& value) { emailSupport_ = value; }
    const std::string& EmailSales() const { return emailSales_; }
    void SetEmailSales(const std::string& value) { emailSales_ = value; }
    const std::string& VersionNotice() const { return versionNotice_; }
    void SetVersionNotice(const std::string& value) { versionNotice_ = value; }
    const std::string& CopyrightNotice() const { return copyrightNotice_; }
    void SetCopyrightNotice(const std::string& value) { copyrightNotice_ = value; }
    const std::string& DistributorNotice() const { return distributorNotice_; }
    void SetDistributorNotice(const std::string& value) { distributorNotice_ = value; }
    TColor Color() const { return color_; }
    void SetColor(TColor value) { color_ = value; }
    const TFontDesc& HeadingsFont() const { return headingsFont_; }
    void SetHeadingsFont(const TFontDesc& value) { headingsFont_ = value; }
    const TFontDesc& WebFont() const { return webFont_; }
    void SetWebFont(const TFontDesc& value) { webFont_ = value; }
    const TFontDesc& EmailFont() const { return emailFont_; }
    void SetEmailFont(const TFontDesc& value) { emailFont_ = value; }
    const TFontDesc& DetailsFont() const { return detailsFont_; }
    void SetDetailsFont(const TFontDesc& value) { detailsFont_ = value; }

    // Appends the details to the list box (its font and colour taken from DetailsFont and Color): a
    // heading and a value line for each address that is set, an empty line, then the notices that are set.
    void WriteToHTMLListBox(ThtmlListBox& listBox);

    // The value lines in a list that was empty before the details were written; -1 when absent.
    int GetWebLine() const;
    int GetSupportLine() const;
    int GetSalesLine() const;

    // A click on a line of the list box last written to: its value line opens the web page or a mail.
    void DoHTMLListboxItemClick(int line);
    // The same for a line of a given list box holding the details.
    void DoHTMLListboxItemClick(const ThtmlListBox& listBox, int line);

    // What a value line opens: the web page (a bare host name gets "http://"), or "mailto:" + address.
    std::string WebTarget() const;

private:
    std::string webHome_;
    std::string emailSupport_;
    std::string emailSales_;
    std::string versionNotice_;
    std::string copyrightNotice_;
    std::string distributorNotice_;
    TColor color_ = clWindow;
    TFontDesc headingsFont_;
    TFontDesc webFont_;
    TFontDesc emailFont_;
    TFontDesc detailsFont_;
    QPointer<ThtmlListBox> listBox_;
};
