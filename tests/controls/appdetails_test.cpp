#include "controls/appdetails.h"
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "markup/taggedtext.h"
#include "support/openedrecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> PlainLines(const ThtmlListBox& box)
{
    std::vector<std::string> lines;
    for (int i = 0; i < box.Items().Count(); ++i) {
        lines.push_back(StripTags(box.Items()[i]));
    }
    return lines;
}

TappDetails AllDetails()
{
    TappDetails details;
    details.SetWebHome("https://orvane.example");
    details.SetEmailSupport("help@orvane.example");
    details.SetEmailSales("sales@orvane.example");
    details.SetVersionNotice("Version 1.0");
    details.SetCopyrightNotice("Copyright 2024");
    return details;
}

} // namespace

TEST(AppDetails, OnlySalesGivesHeadingAddressAndEmptyLine)
{
    OpenedRecorder rec;
    TappDetails details;
    details.SetEmailSales("sales@orvane.example");
    ThtmlListBox box;
    details.WriteToHTMLListBox(box);
    EXPECT_EQ(PlainLines(box), (std::vector<std::string>{"Sales :", "  sales@orvane.example", ""}));
    EXPECT_EQ(details.GetSalesLine(), 1);
    EXPECT_EQ(details.GetWebLine(), -1);
    EXPECT_EQ(details.GetSupportLine(), -1);
    details.DoHTMLListboxItemClick(1);
    details.DoHTMLListboxItemClick(0);
    details.DoHTMLListboxItemClick(2);
    details.DoHTMLListboxItemClick(7);
    EXPECT_EQ(rec.opened, std::vector<std::string>{"mailto:sales@orvane.example"});
}

TEST(AppDetails, LinesTagsFontsAndColour)
{
    TappDetails details = AllDetails();
    TFontDesc heading;
    heading.Name = "Arial";
    heading.Style = TFontStyles{TFontStyle::fsBold};
    details.SetHeadingsFont(heading);
    TFontDesc detailsFont;
    detailsFont.Size = 11;
    details.SetDetailsFont(detailsFont);
    details.SetColor(clYellow);
    ThtmlListBox box;
    details.WriteToHTMLListBox(box);
    EXPECT_EQ(
        PlainLines(box),
        (std::vector<std::string>{"Web :", "  https://orvane.example", "Support :", "  help@orvane.example",
                                  "Sales :", "  sales@orvane.example", "", "Version 1.0", "Copyright 2024"}));
    EXPECT_EQ(box.Items()[0], FontToTags(heading) + "Web :");
    EXPECT_EQ(box.Items()[1], FontToTags(details.WebFont()) + "  <u>https://orvane.example");
    EXPECT_EQ(box.Items()[3], FontToTags(details.EmailFont()) + "  help@orvane.example");
    EXPECT_EQ(box.Items()[7], FontToTags(detailsFont) + "Version 1.0");
    EXPECT_EQ(box.Color(), clYellow);
    EXPECT_EQ(box.LFont().Size, 11);
    EXPECT_EQ(details.GetWebLine(), 1);
    EXPECT_EQ(details.GetSupportLine(), 3);
    EXPECT_EQ(details.GetSalesLine(), 5);
}

TEST(AppDetails, ClicksOpenTheRightLinksAfterFillingTwice)
{
    OpenedRecorder rec;
    TappDetails details = AllDetails();
    ThtmlListBox box;
    box.Items().Add("a line of its own");
    details.WriteToHTMLListBox(box);
    details.WriteToHTMLListBox(box);
    ASSERT_EQ(box.Items().Count(), 1 + 2 * 9);
    details.DoHTMLListboxItemClick(1); // a heading now
    EXPECT_TRUE(rec.opened.empty());
    details.DoHTMLListboxItemClick(2);
    details.DoHTMLListboxItemClick(4 + 9);
    details.DoHTMLListboxItemClick(6 + 9);
    EXPECT_EQ(rec.opened, (std::vector<std::string>{"https://orvane.example", "mailto:help@orvane.example",
                                                    "mailto:sales@orvane.example"}));
}

TEST(AppDetails, BareHostNamesGetAScheme)
{
    OpenedRecorder rec;
    TappDetails details;
    details.SetWebHome("www.orvane.example");
    ThtmlListBox box;
    details.WriteToHTMLListBox(box);
    details.DoHTMLListboxItemClick(box, 1);
    EXPECT_EQ(rec.opened, std::vector<std::string>{"http://www.orvane.example"});
}
