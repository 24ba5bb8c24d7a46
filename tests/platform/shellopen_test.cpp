#include "platform/desktopopen.h"
#include "platform/shellexecute.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ShellOpenDocument, ExistingFilesGoToTheDesktopOpenerWithoutQuotes)
{
    TempDir dir;
    const std::string report = dir.Write("My Report.txt", "x");
    std::vector<std::string> opened;
    bool works = true;
    platform::SetDesktopOpener([&](const std::string& target) {
        opened.push_back(target);
        return works;
    });
    EXPECT_TRUE(platform::ShellOpenDocument("\"" + report + "\""));
    works = false;
    EXPECT_FALSE(platform::ShellOpenDocument(report));
    // Neither a missing file nor an empty name reaches the opener.
    EXPECT_FALSE(platform::ShellOpenDocument(dir.File("missing.txt")));
    EXPECT_FALSE(platform::ShellOpenDocument("\"\""));
    platform::SetDesktopOpener(nullptr);
    EXPECT_EQ(opened, (std::vector<std::string>{report, report}));
}
