#pragma once

#include "stringlist.h"

#include <string>
#include <string_view>
#include <vector>

// An INI file held in memory: read whole when opened, written only by UpdateFile.
// Sections and keys keep their file order; lookups ignore case. A line that is neither a section header
// nor key=value is skipped. UpdateFile writes a temporary file beside the target and renames it over.
class TIniFile
{
public:
    explicit TIniFile(std::string fileName);

    const std::string& FileName() const { return fileName_; }

    std::string ReadString(std::string_view section, std::string_view ident,
                           std::string_view defaultValue) const;
    int ReadInteger(std::string_view section, std::string_view ident, int defaultValue) const;
    bool ReadBool(std::string_view section, std::string_view ident, bool defaultValue) const;
    double ReadFloat(std::string_view section, std::string_view ident, double defaultValue) const;

    void WriteString(std::string_view section, std::string_view ident, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view ident, int value);
    void WriteBool(std::string_view section, std::string_view ident, bool value);
    void WriteFloat(std::string_view section, std::string_view ident, double value);

    // Keys of a section, in file order.
    void ReadSection(std::string_view section, TStrings& keys) const;
    void ReadSections(TStrings& sections) const;
    // Name=value lines of a section, in file order.
    void ReadSectionValues(std::string_view section, TStrings& values) const;

    void EraseSection(std::string_view section);
    void DeleteKey(std::string_view section, std::string_view ident);
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view ident) const;

    // Throws EFileError when the file cannot be written; the previous file then stays as it was.
    void UpdateFile() const;

    // The file's text as UpdateFile writes it (CR LF line ends).
    std::string ToText() const;
    void LoadFromText(std::string_view text);

private:
    struct Entry
    {
        std::string key;
        std::string value;
    };
    struct Section
    {
        std::string name;
        std::vector<Entry> entries;
    };

    const Section* FindSection(std::string_view name) const;
    Section* FindSection(std::string_view name);
    const Entry* FindEntry(std::string_view section, std::string_view ident) const;

    std::string fileName_;
    std::vector<Section> sections_;
};
