#include "inifile.h"

#include "atomicfile.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <utility>

namespace {

// Bytes trimmed from a line's edges on reading: blanks and control bytes.
bool IsTrimmed(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

// A value is written as it is unless reading it back would change it: edge blanks or control bytes (trimmed
// on reading), line breaks (which would end the line), or an enclosing pair of quotes (which reading strips).
// Those values are written in quotes, with backslash escapes for the quote, the backslash and the line
// breaks.
bool NeedsQuotes(std::string_view value)
{
    if (value.empty())
        return false;
    if (IsTrimmed(value.front()) || IsTrimmed(value.back()))
        return true;
    if (value.find_first_of("\r\n") != std::string_view::npos)
        return true;
    return value.size() >= 2 && value.front() == '"' && value.back() == '"';
}

std::string EncodeValue(std::string_view value)
{
    if (!NeedsQuotes(value))
        return std::string(value);
    std::string out = "\"";
    for (const char c : value) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    return out + '"';
}

// A value in quotes loses them, and its escapes are undone; any other value is taken as it stands.
std::string DecodeValue(std::string value)
{
    if (value.size() < 2 || value.front() != '"' || value.back() != '"')
        return value;
    std::string out;
    for (std::size_t i = 1; i + 1 < value.size(); ++i) {
        char c = value[i];
        if (c == '\\' && i + 2 < value.size()) {
            const char next = value[i + 1];
            if (next == '"' || next == '\\' || next == 'r' || next == 'n') {
                c = next == 'r' ? '\r' : next == 'n' ? '\n' : next;
                ++i;
            }
        }
        out += c;
    }
    return out;
}

} // namespace

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName))
{
    if (fileName_.empty())
        return;
    std::error_code ec;
    const auto status = std::filesystem::status(fileName_, ec);
    if (!std::filesystem::exists(status))
        return;
    if (!std::filesystem::is_regular_file(status)) {
        loadState_ = TloadState::Unreadable;
        return;
    }
    const auto size = std::filesystem::file_size(fileName_, ec);
    if (!ec && size > kMaxFileSize) {
        loadState_ = TloadState::TooLarge;
        return;
    }
    std::ifstream in(fileName_, std::ios::binary);
    if (!in) {
        loadState_ = TloadState::Unreadable;
        return;
    }
    // Read up to one byte past the limit, so that a file that grew since it was measured is refused too.
    std::string text(ec ? kMaxFileSize + 1 : static_cast<std::size_t>(size) + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxFileSize) {
        loadState_ = TloadState::TooLarge;
        return;
    }
    LoadFromText(text);
    if (sections_.empty() && skippedLines_ > 0)
        loadState_ = TloadState::Garbage;
}

void TIniFile::LoadFromText(std::string_view text)
{
    sections_.clear();
    sectionIndex_.clear();
    loadState_ = TloadState::Read;
    skippedLines_ = 0;
    Section* current = nullptr;
    std::size_t p = 0;
    while (p < text.size()) {
        const std::size_t start = p;
        while (p < text.size() && text[p] != '\n' && text[p] != '\r')
            ++p;
        const std::string line = platform::Trim(text.substr(start, p - start));
        while (p < text.size() && (text[p] == '\r' || text[p] == '\n'))
            ++p;
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[') {
            if (line.back() != ']') {
                ++skippedLines_;
                continue;
            }
            std::string name = platform::Trim(std::string_view(line).substr(1, line.size() - 2));
            current = FindSection(name);
            if (!current)
                current = &AddSection(std::move(name));
            continue;
        }
        const auto eq = line.find('=');
        const std::string key =
            eq == std::string::npos ? std::string() : platform::Trim(std::string_view(line).substr(0, eq));
        if (!current || key.empty()) {
            ++skippedLines_;
            continue;
        }
        SetEntry(*current, key, DecodeValue(platform::Trim(std::string_view(line).substr(eq + 1))));
    }
}

TIniFile::Section& TIniFile::AddSection(std::string name)
{
    sectionIndex_.emplace(platform::FoldKey(name), sections_.size());
    sections_.push_back(Section{std::move(name), {}, {}});
    return sections_.back();
}

void TIniFile::SetEntry(Section& section, std::string_view key, std::string value)
{
    const auto [it, added] = section.index.emplace(platform::FoldKey(key), section.entries.size());
    if (added)
        section.entries.push_back(Entry{std::string(key), std::move(value)});
    else
        section.entries[it->second].value = std::move(value);
}

void TIniFile::Reindex()
{
    sectionIndex_.clear();
    for (std::size_t i = 0; i < sections_.size(); ++i)
        sectionIndex_.emplace(platform::FoldKey(sections_[i].name), i);
}

const TIniFile::Section* TIniFile::FindSection(std::string_view name) const
{
    const auto it = sectionIndex_.find(platform::FoldKey(name));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

TIniFile::Section* TIniFile::FindSection(std::string_view name)
{
    return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

const TIniFile::Entry* TIniFile::FindEntry(std::string_view section, std::string_view ident) const
{
    const Section* s = FindSection(section);
    if (!s)
        return nullptr;
    const auto it = s->index.find(platform::FoldKey(ident));
    return it == s->index.end() ? nullptr : &s->entries[it->second];
}

std::string TIniFile::ReadString(std::string_view section, std::string_view ident,
                                 std::string_view defaultValue) const
{
    const Entry* e = FindEntry(section, ident);
    return e ? e->value : std::string(defaultValue);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view ident, int defaultValue) const
{
    const Entry* e = FindEntry(section, ident);
    if (!e || e->value.empty())
        return defaultValue;
    std::string_view v = e->value;
    int base = 10;
    bool negative = false;
    if (v.front() == '-' || v.front() == '+') {
        negative = v.front() == '-';
        v.remove_prefix(1);
    }
    if (!v.empty() && v.front() == '$') {
        base = 16;
        v.remove_prefix(1);
    } else if (v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X')) {
        base = 16;
        v.remove_prefix(2);
    }
    long long value = 0;
    const auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), value, base);
    if (ec != std::errc() || ptr != v.data() + v.size() || v.empty())
        return defaultValue;
    if (negative)
        value = -value;
    if (base == 16 && !negative && value > 0x7FFFFFFFLL && value <= 0xFFFFFFFFLL)
        value -= 0x100000000LL;
    if (value < INT32_MIN || value > INT32_MAX)
        return defaultValue;
    return static_cast<int>(value);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view ident, int defaultValue, int minValue,
                          int maxValue) const
{
    const int value = ReadInteger(section, ident, defaultValue);
    return value < minValue || value > maxValue ? defaultValue : value;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view ident, bool defaultValue) const
{
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(std::string_view section, std::string_view ident, double defaultValue) const
{
    const Entry* e = FindEntry(section, ident);
    if (!e || e->value.empty())
        return defaultValue;
    double value = 0;
    const char* first = e->value.data();
    const char* last = first + e->value.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last)
        return defaultValue;
    return value;
}

void TIniFile::WriteString(std::string_view section, std::string_view ident, std::string_view value)
{
    Section* s = FindSection(section);
    if (!s)
        s = &AddSection(std::string(section));
    SetEntry(*s, ident, std::string(value));
}

void TIniFile::WriteInteger(std::string_view section, std::string_view ident, int value)
{
    WriteString(section, ident, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view ident, bool value)
{
    WriteString(section, ident, value ? "1" : "0");
}

void TIniFile::WriteFloat(std::string_view section, std::string_view ident, double value)
{
    char buffer[64];
    const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    WriteString(section, ident, std::string_view(buffer, ec == std::errc() ? ptr - buffer : 0));
}

void TIniFile::ReadSection(std::string_view section, TStrings& keys) const
{
    keys.BeginUpdate();
    keys.Clear();
    if (const Section* s = FindSection(section))
        for (const Entry& e : s->entries)
            keys.Add(e.key);
    keys.EndUpdate();
}

void TIniFile::ReadSections(TStrings& sections) const
{
    sections.BeginUpdate();
    sections.Clear();
    for (const Section& s : sections_)
        sections.Add(s.name);
    sections.EndUpdate();
}

void TIniFile::ReadSectionValues(std::string_view section, TStrings& values) const
{
    values.BeginUpdate();
    values.Clear();
    if (const Section* s = FindSection(section))
        for (const Entry& e : s->entries)
            values.Add(e.key + "=" + e.value);
    values.EndUpdate();
}

void TIniFile::EraseSection(std::string_view section)
{
    std::erase_if(sections_, [&](const Section& s) { return platform::SameText(s.name, section); });
    Reindex();
}

void TIniFile::DeleteKey(std::string_view section, std::string_view ident)
{
    Section* s = FindSection(section);
    if (!s)
        return;
    std::erase_if(s->entries, [&](const Entry& e) { return platform::SameText(e.key, ident); });
    s->index.clear();
    for (std::size_t i = 0; i < s->entries.size(); ++i)
        s->index.emplace(platform::FoldKey(s->entries[i].key), i);
}

bool TIniFile::SectionExists(std::string_view section) const
{
    return FindSection(section) != nullptr;
}

bool TIniFile::ValueExists(std::string_view section, std::string_view ident) const
{
    return FindEntry(section, ident) != nullptr;
}

std::string TIniFile::ToText() const
{
    std::string out;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        if (i > 0)
            out += "\r\n";
        out += "[" + sections_[i].name + "]\r\n";
        for (const Entry& e : sections_[i].entries)
            out += e.key + "=" + EncodeValue(e.value) + "\r\n";
    }
    return out;
}

void TIniFile::UpdateFile() const
{
    platform::WriteFileAtomically(fileName_, ToText());
}
