#pragma once

#include "stringlist.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// An INI file held in memory: read whole when opened, written only by UpdateFile.
// Sections and keys keep their file order; lookups ignore case. A line that is neither a section header
// nor key=value is skipped. UpdateFile writes a temporary file beside the target and renames it over.
// Reading takes time in proportion to the file's size; a file over kMaxFileSize is not read at all.
class TIniFile
{
public:
    static constexpr std::size_t kMaxFileSize = 4 * 1024 * 1024;

    explicit TIniFile(std::string fileName);

    // How the opening went: the file was read (or there was none), or it exists but nothing could be taken
    // from it: too large, not a readable file, or bytes without a single section or key.
    enum class TloadState
    {
        Read,
        TooLarge,
        Unreadable,
        Garbage
    };
    TloadState LoadState() const { return loadState_; }

    const std::string& FileName() const { return fileName_; }

    std::string ReadString(std::string_view section, std::string_view ident,
                           std::string_view defaultValue) const;
    int ReadInteger(std::string_view section, std::string_view ident, int defaultValue) const;
    // The same, but a number outside minValue..maxValue gives the default too.
    int ReadInteger(std::string_view section, std::string_view ident, int defaultValue, int minValue,
                    int maxValue) const;
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
        std::unordered_map<std::string, std::size_t> index; // folded key -> entries position
    };

    const Section* FindSection(std::string_view name) const;
    Section* FindSection(std::string_view name);
    const Entry* FindEntry(std::string_view section, std::string_view ident) const;
    Section& AddSection(std::string name);
    static void SetEntry(Section& section, std::string_view key, std::string value);
    void Reindex();

    std::string fileName_;
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> sectionIndex_; // folded name -> sections_ position
    TloadState loadState_ = TloadState::Read;
    std::size_t skippedLines_ = 0; // by the last LoadFromText
};
