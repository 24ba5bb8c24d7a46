#include "controls/appdetails.h"

#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "markup/taggedtext.h"
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
    listBox.SetLFont(detailsFont_);
    listBox.SetColor(color_);
    ThtmlListItems& items = listBox.Items();
    const std::string headings = FontToTags(headingsFont_);
    const std::string email = FontToTags(emailFont_);
    const std::string details = FontToTags(detailsFont_);
    items.BeginUpdate();
    if (!webHome_.empty()) {
        items.Add(headings + "Web :");
        items.AddObject(FontToTags(webFont_) + "  <u>" + EscapeMarkup(webHome_), LinkTag(kWebLink));
    }
    if (!emailSupport_.empty()) {
        items.Add(headings + "Support :");
        items.AddObject(email + "  " + EscapeMarkup(emailSupport_), LinkTag(kSupportLink));
    }
    if (!emailSales_.empty()) {
        items.Add(headings + "Sales :");
        items.AddObject(email + "  " + EscapeMarkup(emailSales_), LinkTag(kSalesLink));
    }
    items.Add("");
    for (const std::string* notice : {&versionNotice_, &copyrightNotice_, &distributorNotice_}) {
        if (!notice->empty()) {
            items.Add(details + *notice);
        }
    }
    items.EndUpdate();
    listBox_ = &listBox;
}

int TappDetails::GetWebLine() const
{
    return webHome_.empty() ? -1 : 1;
}

int TappDetails::GetSupportLine() const
{
    if (emailSupport_.empty()) {
        return -1;
    }
    return webHome_.empty() ? 1 : 3;
}

int TappDetails::GetSalesLine() const
{
    if (emailSales_.empty()) {
        return -1;
    }
    return 2 * ((webHome_.empty() ? 0 : 1) + (emailSupport_.empty() ? 0 : 1)) + 1;
}

void TappDetails::DoHTMLListboxItemClick(int line)
{
    if (listBox_) {
        DoHTMLListboxItemClick(*listBox_, line);
    }
}

void TappDetails::DoHTMLListboxItemClick(const ThtmlListBox& listBox, int line)
{
    const ThtmlListItems& items = listBox.Items();
    if (line < 0 || line >= items.Count()) {
        return;
    }
    const void* tag = items.Objects(line);
    if (tag == &kWebLink && !webHome_.empty()) {
        platform::OpenWithDesktop(WebTarget());
    } else if (tag == &kSupportLink && !emailSupport_.empty()) {
        platform::OpenWithDesktop("mailto:" + emailSupport_);
    } else if (tag == &kSalesLink && !emailSales_.empty()) {
        platform::OpenWithDesktop("mailto:" + emailSales_);
    }
}

std::string TappDetails::WebTarget() const
{
    // The Windows shell opens "www.example.com" in the browser; the desktop's opener needs a scheme.
    if (webHome_.find(':') == std::string::npos) {
        return "http://" + webHome_;
    }
    return webHome_;
}
