#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The four parts of a file version.
struct TfileVersionNumbers
{
    std::uint16_t Major = 0;
    std::uint16_t Minor = 0;
    std::uint16_t Release = 0;
    std::uint16_t Build = 0;
};

// The program's own version, compiled in ("major.minor.release" or with ".build").
const char* ProgramVersionText();
// Up to four decimal parts separated by points; nullopt for anything else.
std::optional<TfileVersionNumbers> ParseVersionText(const std::string& text);

// The version of a file. Executables here carry no version resources: the program's own file answers
// with the compiled-in version, every other file has none.
class TwovFileVersion
{
public:
    TwovFileVersion() = default;

    const std::string& Text() const { return text_; }
    std::uint16_t Major() const { return numbers_.Major; }
    std::uint16_t Minor() const { return numbers_.Minor; }
    std::uint16_t Release() const { return numbers_.Release; }
    std::uint16_t Build() const { return numbers_.Build; }

    // True with the parts and the text "major.minor.release" set; false with both cleared.
    bool ReadFromFile(const std::string& fileName);
    // Stores the parts and builds the text (the build is not part of it).
    void Assign(const TfileVersionNumbers& numbers);
    void Clear();

private:
    static std::optional<TfileVersionNumbers> QueryFileVersion(const std::string& fileName);

    std::string text_;
    TfileVersionNumbers numbers_;
};
