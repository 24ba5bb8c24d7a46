#include "controls/applicationhelp.h"
#include "controls/myhh.h"
#include "controls/wovfileversion.h"
#include "platform/qtstring.h"
#include "support/openedrecorder.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

#include <string>
#include <vector>

TEST(FileVersion, PartsAndTextWithoutTheBuild)
{
    TwovFileVersion version;
    EXPECT_EQ(version.Text(), "");
    EXPECT_EQ(version.Major(), 0);
    version.Assign({2, 1, 0, 77});
    EXPECT_EQ(version.Text(), "2.1.0");
    EXPECT_EQ(version.Build(), 77);

    const auto parsed = ParseVersionText("2.1.0.77");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->Minor, 1);
    EXPECT_EQ(parsed->Build, 77);
    EXPECT_EQ(ParseVersionText("3")->Major, 3);
    EXPECT_FALSE(ParseVersionText(""));
    EXPECT_FALSE(ParseVersionText("1..2"));
    EXPECT_FALSE(ParseVersionText("1.2."));
    EXPECT_FALSE(ParseVersionText("1.2.3.4.5"));
    EXPECT_FALSE(ParseVersionText("70000"));
}

TEST(FileVersion, OnlyTheProgramItselfHasAVersion)
{
    TwovFileVersion version;
    ASSERT_TRUE(version.ReadFromFile(platform::FromQString(QCoreApplication::applicationFilePath())));
    const auto own = ParseVersionText(ProgramVersionText());
    ASSERT_TRUE(own);
    EXPECT_EQ(version.Major(), own->Major);
    EXPECT_EQ(version.Minor(), own->Minor);
    EXPECT_EQ(version.Text(), std::to_string(own->Major) + "." + std::to_string(own->Minor) + "." +
                                  std::to_string(own->Release));

    TempDir dir;
    const std::string other = dir.Write("other.so", "not a program");
    EXPECT_FALSE(version.ReadFromFile(other));
    EXPECT_EQ(version.Text(), "");
    EXPECT_EQ(version.Major(), 0);
    EXPECT_EQ(version.Build(), 0);
    EXPECT_FALSE(version.ReadFromFile(dir.File("missing")));
    EXPECT_FALSE(version.ReadFromFile(""));
}

TEST(ApplicationHelp, FormHandlerFirstThenTheApplication)
{
    TapplicationHelp& help = TapplicationHelp::Instance();
    QWidget form;
    std::vector<std::string> calls;
    help.OnHelp = [&](std::uint16_t, std::intptr_t, bool&) {
        calls.push_back("app");
        return true;
    };
    help.SetFormHelp(&form, [&](std::uint16_t, std::intptr_t data, bool& callHelp) {
        calls.push_back("form");
        callHelp = data != 7;
        return false;
    });
    EXPECT_TRUE(help.HelpContext(&form, 3));
    EXPECT_FALSE(help.HelpContext(&form, 7));
    EXPECT_TRUE(help.HelpContext(nullptr, 7));
    EXPECT_EQ(calls, (std::vector<std::string>{"form", "app", "form", "app"}));
    help.OnHelp = nullptr;
    help.SetFormHelp(&form, {});
}

TEST(HelpHook, ContextRequestsOpenTheHelpFile)
{
    OpenedRecorder rec;
    TempDir dir;
    const std::string file = dir.Write("OrvaneJukebox.html", "<html></html>");
    const std::string topic = dir.Write("OrvaneJukebox-120.html", "<html></html>");
    TmyHH hh;
    ASSERT_TRUE(hh.LibraryLoaded());
    hh.SetFileName(file);
    hh.Attach();
    ASSERT_TRUE(hh.Attached());

    TapplicationHelp& help = TapplicationHelp::Instance();
    EXPECT_TRUE(help.HelpContext(nullptr, 999)); // a context the file has no page for: the file itself
    EXPECT_TRUE(help.HelpCommand(nullptr, HELP_CONTEXTPOPUP, 120));
    EXPECT_EQ(rec.opened, (std::vector<std::string>{file, topic}));

    bool callHelp = true;
    EXPECT_TRUE(hh.HelpHook(HELP_FINDER, 0, callHelp));
    EXPECT_TRUE(callHelp); // other commands are left to the framework
    EXPECT_EQ(rec.opened.size(), 2u);

    EXPECT_TRUE(hh.ShowHelp());
    EXPECT_EQ(rec.opened.back(), file);
    hh.Detach();
    EXPECT_FALSE(help.OnHelp);
}

TEST(HelpHook, AttachingHooksTheOwnerWindowOnlyWhenItIsOne)
{
    OpenedRecorder rec;
    TempDir dir;
    const std::string file = dir.Write("help.html", "x");
    TapplicationHelp& help = TapplicationHelp::Instance();
    int previous = 0;
    help.OnHelp = [&](std::uint16_t, std::intptr_t, bool&) {
        ++previous;
        return false;
    };

    QWidget window;
    auto* child = new QLineEdit(&window);
    {
        TmyHH notAForm(child);
        notAForm.SetFileName(file);
        notAForm.Attach();
        EXPECT_FALSE(help.FormHelp(&window));
        EXPECT_TRUE(help.HelpContext(child, 5));
        EXPECT_EQ(previous, 0);
        // F1 without a context in a window without its own handler asks nobody.
        QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
        QCoreApplication::sendEvent(child, &f1);
        EXPECT_EQ(rec.opened, std::vector<std::string>{file});
    } // destroyed attached: the previous handler is back
    EXPECT_FALSE(help.HelpContext(nullptr, 5));
    EXPECT_EQ(previous, 1);

    TmyHH formHook(&window);
    formHook.SetFileName(file);
    formHook.Attach();
    EXPECT_TRUE(help.FormHelp(&window));
    // F1 anywhere in the hooked window opens the help file, with or without a help context.
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QCoreApplication::sendEvent(child, &f1);
    EXPECT_EQ(rec.opened.size(), 2u);
    EXPECT_EQ(rec.opened.back(), file);
    TapplicationHelp::SetHelpContext(&window, 42);
    QCoreApplication::sendEvent(child, &f1);
    EXPECT_EQ(rec.opened.size(), 3u);
    EXPECT_EQ(rec.opened.back(), file);
    formHook.Detach();
    EXPECT_FALSE(help.FormHelp(&window));
    help.OnHelp = nullptr;
}

TEST(HelpHook, WithoutTheFileOrAViewerNothingIsHooked)
{
    TapplicationHelp& help = TapplicationHelp::Instance();
    {
        OpenedRecorder rec;
        TmyHH hh;
        hh.SetFileName("/nonexistent/help.html");
        hh.Attach();
        EXPECT_FALSE(hh.Attached());
        EXPECT_FALSE(help.OnHelp);
        EXPECT_FALSE(hh.ShowHelp());
        EXPECT_TRUE(rec.opened.empty());
    }
    platform::SetDesktopOpener({});
    if (!platform::DesktopOpenerAvailable()) {
        TempDir dir;
        TmyHH hh;
        hh.SetFileName(dir.Write("help.html", "x"));
        hh.Attach();
        EXPECT_FALSE(hh.Attached());
        EXPECT_FALSE(hh.ShowHelp());
    }
}
