// The INI file: parses any text; the text it writes parses to the same sections and keys, and every
// value reads as a number or falls back to the default.
#include "fuzz/fuzzcheck.h"

#include "platform/inifile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TIniFile ini("");
    ini.LoadFromText(std::string_view(reinterpret_cast<const char*>(data), size));
    TStrings sections;
    ini.ReadSections(sections);
    for (int i = 0; i < sections.Count(); ++i) {
        TStrings keys;
        ini.ReadSection(sections[i], keys);
        for (int k = 0; k < keys.Count(); ++k) {
            FuzzCheck(ini.ValueExists(sections[i], keys[k]), "a listed key exists");
            ini.ReadInteger(sections[i], keys[k], 0);
            ini.ReadFloat(sections[i], keys[k], 0);
        }
    }
    const std::string text = ini.ToText();
    TIniFile again("");
    again.LoadFromText(text);
    FuzzCheck(again.ToText() == text, "a written INI file reads back the same");
    return 0;
}
