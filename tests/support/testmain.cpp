// Test entry point: every test process gets its own program folder (ORVANE_HOME) and a Qt application.
#include "tempdir.h"

#include "platform/textcompare.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstdlib>
#include <memory>

#ifdef ORVANE_GUI_TESTS
#include <QApplication>
#include <QStyleFactory>
#endif

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    TempDir home;
    ::setenv("ORVANE_HOME", home.Path().c_str(), 1);
    // The built program files (plug-ins, stand-in player) of this build, unless the caller names others.
    ::setenv("ORVANE_BIN_DIR", ORVANE_DEFAULT_BIN_DIR, 0);
    // Name order must not hang on the machine's locale; tests of the locale's order name their locale.
    platform::SetCollationLocale("C");
    const char* platformName = std::getenv("QT_QPA_PLATFORM");
    if (!platformName || !*platformName)
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
#ifdef ORVANE_GUI_TESTS
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
#else
    QCoreApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
