#pragma once

#include "controls/markup/color.h"
#include "controls/markup/fontdesc.h"

#include <QPointer>

#include <string>

class ThtmlListBox;

// The program's contact details and notices for the about and splash windows, written as tagged lines
// into a list box; a click on the web line opens the web page, one on a mail line a new mail.
class TappDetails
{
public:
    TappDetails();

    const std::string& WebHome() const { return m_webHome; }
    void SetWebHome(const std::string& value) { m_webHome = value; }
    const std::string& EmailSupport() const { return m_emailSupport; }
    void SetEmailSupport(const std::string& value) { m_emailSupport = value; }
    const std::string& EmailSales() const { return m_emailSales; }
    void SetEmailSales(const std::string& value) { m_emailSales = value; }
    const std::string& VersionNotice() const { return m_versionNotice; }
    void SetVersionNotice(const std::string& value) { m_versionNotice = value; }
    const std::string& CopyrightNotice() const { return m_copyrightNotice; }
    void SetCopyrightNotice(const std::string& value) { m_copyrightNotice = value; }
    const std::string& DistributorNotice() const { return m_distributorNotice; }
    void SetDistributorNotice(const std::string& value) { m_distributorNotice = value; }
    TColor Color() const { return m_color; }
    void SetColor(TColor value) { m_color = value; }
    const TFontDesc& HeadingsFont() const { return m_headingsFont; }
    void SetHeadingsFont(const TFontDesc& value) { m_headingsFont = value; }
    const TFontDesc& WebFont() const { return m_webFont; }
    void SetWebFont(const TFontDesc& value) { m_webFont = value; }
    const TFontDesc& EmailFont() const { return m_emailFont; }
    void SetEmailFont(const TFontDesc& value) { m_emailFont = value; }
    const TFontDesc& DetailsFont() const { return m_detailsFont; }
    void SetDetailsFont(const TFontDesc& value) { m_detailsFont = value; }

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
    std::string m_webHome;
    std::string m_emailSupport;
    std::string m_emailSales;
    std::string m_versionNotice;
    std::string m_copyrightNotice;
    std::string m_distributorNotice;
    TColor m_color = clWindow;
    TFontDesc m_headingsFont;
    TFontDesc m_webFont;
    TFontDesc m_emailFont;
    TFontDesc m_detailsFont;
    QPointer<ThtmlListBox> m_listBox;
};
