#include "platform/shellexecute.h"
#include "platform/showmessage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ShellOpenDocument, GoesToTheInstalledOpenerWithoutQuotes)
{
    std::vector<std::string> opened;
    auto previous = platform::SetDocumentOpener([&](const std::string& file) {
        opened.push_back(file);
        return true;
    });
    EXPECT_TRUE(platform::ShellOpenDocument("\"/tmp/My Report.txt\""));
    EXPECT_TRUE(platform::ShellOpenDocument("/tmp/plain.txt"));
    EXPECT_FALSE(platform::ShellOpenDocument("\"\""));
    EXPECT_EQ(opened, (std::vector<std::string>{"/tmp/My Report.txt", "/tmp/plain.txt"}));

    // Restored, the desktop's opener refuses a file that does not exist without starting anything.
    platform::SetDocumentOpener(std::move(previous));
    EXPECT_FALSE(platform::ShellOpenDocument("/nonexistent/orvane/report.txt"));
    EXPECT_EQ(opened.size(), 2u);
}

TEST(ShowMessage, ReachesTheInstalledHandlerUntilItIsReplaced)
{
    std::vector<std::string> shown;
    auto previous = platform::SetMessageHandler([&](const std::string& text) { shown.push_back(text); });
    platform::ShowMessage("Hello");
    // A handler that replaces itself while it runs finishes safely.
    platform::SetMessageHandler([&](const std::string& text) {
        shown.push_back("once: " + text);
        platform::SetMessageHandler([&](const std::string& t) { shown.push_back("then: " + t); });
    });
    platform::ShowMessage("a");
    platform::ShowMessage("b");
    platform::SetMessageHandler(std::move(previous));
    EXPECT_EQ(shown, (std::vector<std::string>{"Hello", "once: a", "then: b"}));
}
