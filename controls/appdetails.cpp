#include "controls/appdetails.h"

#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "controls/markup/taggedtext.h"
#include "platform/desktopopen.h"

namespace {

// The value lines carry one of these as their attached object, so a click finds its link wherever the
// line ended up (a list filled twice, or with other lines before it).
const char kWebLink = 'w';
const char kSupportLink = 's';
const char kSalesLink = 'm';

void* LinkTag(const char& tag)
{
    return const_cast<char*>(&tag);
}

} // namespace

TappDetails::TappDetails() = default;

void TappDetails::WriteToHTMLListBox(ThtmlListBox& listBox)
{
    listBox.SetLFont(m_detailsFont);
    listBox.SetColor(m_color);
    ThtmlListItems& items = listBox.Items();
    const std::string headings = FontToTags(m_headingsFont);
    const std::string email = FontToTags(m_emailFont);
    const std::string details = FontToTags(m_detailsFont);
    items.BeginUpdate();
    if (!m_webHome.empty()) {
        items.Add(headings + "Web :");
        items.AddObject(FontToTags(m_webFont) + "  <u>" + EscapeMarkup(m_webHome), LinkTag(kWebLink));
    }
    if (!m_emailSupport.empty()) {
        items.Add(headings + "Support :");
        items.AddObject(email + "  " + EscapeMarkup(m_emailSupport), LinkTag(kSupportLink));
    }
    if (!m_emailSales.empty()) {
        items.Add(headings + "Sales :");
        items.AddObject(email + "  " + EscapeMarkup(m_emailSales), LinkTag(kSalesLink));
    }
    items.Add("");
    for (const std::string* notice : {&m_versionNotice, &m_copyrightNotice, &m_distributorNotice}) {
        if (!notice->empty()) {
            items.Add(details + *notice);
        }
    }
    items.EndUpdate();
    m_listBox = &listBox;
}

int TappDetails::GetWebLine() const
{
    return m_webHome.empty() ? -1 : 1;
}

int TappDetails::GetSupportLine() const
{
    if (m_emailSupport.empty()) {
        return -1;
    }
    return m_webHome.empty() ? 1 : 3;
}

int TappDetails::GetSalesLine() const
{
    if (m_emailSales.empty()) {
        return -1;
    }
    return 2 * ((m_webHome.empty() ? 0 : 1) + (m_emailSupport.empty() ? 0 : 1)) + 1;
}

void TappDetails::DoHTMLListboxItemClick(int line)
{
    if (m_listBox) {
        DoHTMLListboxItemClick(*m_listBox, line);
    }
}

void TappDetails::DoHTMLListboxItemClick(const ThtmlListBox& listBox, int line)
{
    const ThtmlListItems& items = listBox.Items();
    if (line < 0 || line >= items.Count()) {
        return;
    }
    const void* tag = items.Objects(line);
    if (tag == &kWebLink && !m_webHome.empty()) {
        platform::OpenWithDesktop(WebTarget());
    } else if (tag == &kSupportLink && !m_emailSupport.empty()) {
        platform::OpenWithDesktop("mailto:" + m_emailSupport);
    } else if (tag == &kSalesLink && !m_emailSales.empty()) {
        platform::OpenWithDesktop("mailto:" + m_emailSales);
    }
}

std::string TappDetails::WebTarget() const
{
    // The Windows shell opens "www.example.com" in the browser; the desktop's opener needs a scheme.
    if (m_webHome.find(':') == std::string::npos) {
        return "http://" + m_webHome;
    }
    return m_webHome;
}
