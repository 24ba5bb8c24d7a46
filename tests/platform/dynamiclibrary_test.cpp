#include "platform/dynamiclibrary.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

TEST(DynamicLibrary, LoadsLooksUpAndUnloads)
{
    TDynamicLibrary lib;
    EXPECT_FALSE(lib.Loaded());
    EXPECT_EQ(lib.Handle(), 0);
    EXPECT_EQ(lib.Symbol("cos"), nullptr);

    ASSERT_TRUE(lib.Load("libm.so.6")) << lib.ErrorText();
    EXPECT_NE(lib.Handle(), 0);
    EXPECT_EQ(lib.FileName(), "libm.so.6");
    const auto cosine = lib.Function<double (*)(double)>("cos");
    ASSERT_NE(cosine, nullptr);
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
    EXPECT_TRUE(lib.ErrorText().empty());

    EXPECT_EQ(lib.Symbol("no_such_symbol_here"), nullptr);
    EXPECT_FALSE(lib.ErrorText().empty());

    // One object holds one module.
    EXPECT_FALSE(lib.Load("libm.so.6"));

    TDynamicLibrary moved(std::move(lib));
    EXPECT_FALSE(lib.Loaded());
    EXPECT_TRUE(moved.Loaded());
    moved.Unload();
    EXPECT_FALSE(moved.Loaded());
    EXPECT_EQ(moved.Handle(), 0);
    moved.Unload();
}

TEST(DynamicLibrary, FilesThatAreNoLibrariesFailWithAReason)
{
    TempDir dir;
    TDynamicLibrary lib;
    EXPECT_FALSE(lib.Load(dir.Write("junk.so", "not a library")));
    EXPECT_FALSE(lib.ErrorText().empty());
    EXPECT_FALSE(lib.Load(dir.File("missing.so")));
    EXPECT_FALSE(lib.Loaded());
    EXPECT_EQ(lib.Handle(), 0);
}
