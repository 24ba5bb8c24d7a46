#include "platform/inifile.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

TEST(IniFile, ReadsInFileOrderIgnoringCaseAndSkipsDamage)
{
    TempDir dir;
    const std::string name = dir.Write("settings.ini", "garbage before any section\r\n"
                                                       "[Player]\r\n"
                                                       "Volume=200\r\n"
                                                       "this line is damaged\r\n"
                                                       "=no key\r\n"
                                                       "[broken\r\n"
                                                       "AutoPlay = 1 \r\n"
                                                       "\r\n"
                                                       "[Paths]\n"
                                                       "Data=/music/data\n"
                                                       "Hex=$FF\n"
                                                       "Ratio=0.25\n"
                                                       "Bad=12abc\n");
    TIniFile ini(name);
    EXPECT_EQ(ini.ReadInteger("player", "VOLUME", 0), 200);
    EXPECT_TRUE(ini.ReadBool("Player", "AutoPlay", false));
    EXPECT_EQ(ini.ReadString("paths", "data", ""), "/music/data");
    EXPECT_EQ(ini.ReadInteger("Paths", "Hex", 0), 255);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Paths", "Ratio", 0), 0.25);
    EXPECT_EQ(ini.ReadInteger("Paths", "Bad", 7), 7);
    EXPECT_EQ(ini.ReadString("Paths", "Missing", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadInteger("Nowhere", "x", -3), -3);

    TStrings keys;
    ini.ReadSection("PLAYER", keys);
    EXPECT_EQ(keys.CommaText(), "Volume,AutoPlay");
    TStrings sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections.CommaText(), "Player,Paths");
    TStrings values;
    ini.ReadSectionValues("Paths", values);
    EXPECT_EQ(values[0], "Data=/music/data");
}

TEST(IniFile, BooleansAndMissingFile)
{
    TempDir dir;
    TIniFile ini(dir.File("none.ini"));
    EXPECT_TRUE(ini.ReadBool("A", "B", true));
    ini.WriteBool("A", "On", true);
    ini.WriteBool("A", "Off", false);
    ini.WriteInteger("A", "Seven", 7);
    EXPECT_EQ(ini.ReadString("A", "On", ""), "1");
    EXPECT_EQ(ini.ReadString("A", "Off", ""), "0");
    EXPECT_TRUE(ini.ReadBool("A", "Seven", false)); // any non-zero integer reads true
    EXPECT_FALSE(ini.ReadBool("A", "Off", true));
}

TEST(IniFile, WritesOnlyWhenUpdatedAndRoundTrips)
{
    TempDir dir;
    const std::string name = dir.File("s.ini");
    TIniFile ini(name);
    ini.WriteString("Skins", "Skin", "Default");
    ini.WriteInteger("Player", "Volume", 128);
    ini.WriteFloat("Player", "Gain", 1.5);
    ini.WriteString("skins", "SKIN", "Dark"); // same key, other case: replaced in place
    EXPECT_FALSE(std::ifstream(name).good());
    ini.UpdateFile();
    EXPECT_EQ(TempDir::Read(name), "[Skins]\r\nSkin=Dark\r\n\r\n[Player]\r\nVolume=128\r\nGain=1.5\r\n");

    TIniFile back(name);
    EXPECT_EQ(back.ToText(), ini.ToText());
    EXPECT_TRUE(back.SectionExists("PLAYER"));
    EXPECT_TRUE(back.ValueExists("player", "gain"));
    back.DeleteKey("Player", "GAIN");
    EXPECT_FALSE(back.ValueExists("Player", "Gain"));
    back.EraseSection("skins");
    EXPECT_FALSE(back.SectionExists("Skins"));
    EXPECT_EQ(back.ToText(), "[Player]\r\nVolume=128\r\n");
}

TEST(IniFile, ValuesSurviveASaveAndALoadExactly)
{
    const std::vector<std::string> values = {
        "plain value",        " leading",    "trailing\t", "two\r\nlines", "\"quoted\"",
        "a \"middle\" quote", "back\\slash", "=x=",        "pässwörd é",   "",
        "\" \\\" \"",         "\x01starts",  "ends\x1f",   "\x7f\x1b",
    };
    TempDir dir;
    const std::string name = dir.Path() + "/values.ini";
    {
        TIniFile ini(name);
        for (std::size_t i = 0; i < values.size(); ++i)
            ini.WriteString("Values", "V" + std::to_string(i), values[i]);
        ini.UpdateFile();
    }
    TIniFile again(name);
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(again.ReadString("Values", "V" + std::to_string(i), "?"), values[i]) << i;

    // Values that need no quotes are written byte for byte as before.
    const std::string text = again.ToText();
    EXPECT_NE(text.find("V0=plain value\r\n"), std::string::npos);
    EXPECT_NE(text.find("V5=a \"middle\" quote\r\n"), std::string::npos);
    EXPECT_NE(text.find("V6=back\\slash\r\n"), std::string::npos);
    EXPECT_NE(text.find("V1=\" leading\"\r\n"), std::string::npos);
}

TEST(IniFile, NumbersOutOfBoundsAndUnreadableFilesGiveDefaults)
{
    TempDir dir;
    const std::string name = dir.Write("settings.ini", "[K]\r\nWidth=60000\r\nHeight=2147483647\r\n"
                                                       "Small=-5\r\nGood=640\r\nmany=1\r\nMANY=2\r\n");
    const TIniFile ini(name);
    EXPECT_EQ(ini.LoadState(), TIniFile::TloadState::Read);
    EXPECT_EQ(ini.ReadInteger("K", "Width", 500, 1, 4096), 500);
    EXPECT_EQ(ini.ReadInteger("K", "Height", 300, 1, 4096), 300);
    EXPECT_EQ(ini.ReadInteger("K", "Small", 7, 0, 10), 7);
    EXPECT_EQ(ini.ReadInteger("k", "good", 0, 1, 4096), 640);
    EXPECT_EQ(ini.ReadInteger("K", "Many", 0), 2) << "the last of one key ignoring case wins";

    // A file too large, not a file, or holding nothing an INI file holds: read as empty, and said so.
    EXPECT_EQ(TIniFile(dir.File("missing.ini")).LoadState(), TIniFile::TloadState::Read);
    EXPECT_EQ(
        TIniFile(dir.Write("huge.ini", "[A]\r\n" + std::string(TIniFile::kMaxFileSize, 'x'))).LoadState(),
        TIniFile::TloadState::TooLarge);
    EXPECT_EQ(TIniFile(dir.Path()).LoadState(), TIniFile::TloadState::Unreadable);
    const TIniFile garbage(dir.Write("garbage.ini", std::string("\x89PNG\r\n\x1a\n\0\0binary", 15)));
    EXPECT_EQ(garbage.LoadState(), TIniFile::TloadState::Garbage);
    EXPECT_FALSE(garbage.SectionExists(""));
    EXPECT_EQ(TIniFile(dir.Write("comments.ini", "; only a comment\r\n")).LoadState(),
              TIniFile::TloadState::Read);
}
