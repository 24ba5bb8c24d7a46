#include "wavtagger.h"

#include "core/util/filenamemask.h"
#include "core/util/genreslist.h"
#include "platform/inifile.h"
#include "platform/stringlist.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

namespace {

std::string_view FileNamePart(std::string_view path)
{
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view FolderOf(std::string_view path)
{
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

std::string_view WithoutTrailingSlashes(std::string_view path)
{
    while (!path.empty() && path.back() == '/')
        path.remove_suffix(1);
    return path;
}

// The extension starts at the last "." of the file name part.
std::string_view ExtensionOf(std::string_view path)
{
    const std::string_view name = FileNamePart(path);
    const auto dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

std::string_view NameWithoutExtension(std::string_view path)
{
    const std::string_view name = FileNamePart(path);
    return name.substr(0, name.size() - ExtensionOf(name).size());
}

// Name of the folder levels above the file (1: the folder holding it).
std::string_view FolderName(std::string_view fileName, int levels)
{
    std::string_view path = fileName;
    for (int i = 0; i < levels; ++i)
        path = WithoutTrailingSlashes(FolderOf(path));
    return FileNamePart(path);
}

// A decimal integer with optional leading blanks and sign; anything else (or out of range) gives 0.
std::int32_t ToIntOrZero(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || s.empty())
        return 0;
    return value;
}

// Rounded to the nearest whole second, halves to even; kept within the record's 32-bit field.
std::int32_t RoundSeconds(double seconds)
{
    // Explicit, so that a host that changed the floating-point rounding mode gets the same answer.
    double rounded = std::floor(seconds);
    const double fraction = seconds - rounded;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0))
        rounded += 1;
    if (!(rounded >= 0))
        return 0;
    if (rounded >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(rounded);
}

} // namespace

TwavTagger::TwavTagger(TtaggerRecord& record) : record_(record), reader_(std::make_unique<TWAVfile>()) {}

TwavTagger::~TwavTagger() = default;

const char* TwavTagger::SetText(std::string& field, const char* value)
{
    if (value)
        field = value;
    return field.c_str();
}

const char* TwavTagger::FileExt()
{
    std::string_view ext = ExtensionOf(lastFile_);
    if (!ext.empty())
        ext.remove_prefix(1);
    extension_ = ext;
    return extension_.c_str();
}

bool TwavTagger::ReadFile(const char* fileName)
{
    if (!reader_ || !fileName)
        return false;
    if (!reader_->ReadFromFile(fileName))
        return false;
    lastFile_ = fileName;
    FillTags();
    return true;
}

void TwavTagger::FillTags()
{
    const TWAVfile& wav = *reader_;
    if (wav.Valid()) {
        tagType_ = "WAV";
        TStrings lines;
        ParseFileNameMask(NameWithoutExtension(lastFile_), settings_.Mask, lines);
        artist_ = lines.Values("%a");
        album_ = lines.Values("%b");
        title_ = lines.Values("%t");
        record_.TrackNo = ToIntOrZero(lines.Values("%n"));
        genre_ = lines.Values("%g");
        date_.clear();
        comment_.clear();
        record_.GenreID = GenresList().IDOf(genre_);

        if (settings_.ParentAlbum) {
            album_ = FolderName(lastFile_, 1);
            if (settings_.ParentParentArtist)
                artist_ = FolderName(lastFile_, 2);
        } else if (settings_.ParentArtist) {
            artist_ = FolderName(lastFile_, 1);
        }
    } else {
        tagType_ = "none";
        artist_.clear();
        album_.clear();
        title_.clear();
        date_.clear();
        genre_.clear();
        comment_.clear();
        record_.GenreID = TgenresList::kNoGenre;
        record_.TrackNo = 0;
    }
    record_.BitRate = wav.BitsPerSample() & 0xFF;
    record_.Duration = RoundSeconds(wav.GetDuration());
    record_.Channels = wav.Channels() & 0xFF;
    record_.SampleRate = static_cast<std::int32_t>(wav.SampleRate());
}

void TwavTagger::LoadSettings(const std::string& iniFileName)
{
    const TIniFile ini(iniFileName);
    settings_.Load(ini);
}

void TwavTagger::SaveSettings(const std::string& iniFileName) const
{
    TIniFile ini(iniFileName);
    settings_.Save(ini);
    ini.UpdateFile();
}
