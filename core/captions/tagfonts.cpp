#include "core/captions/tagfonts.h"

#include "core/groupings/audiotagartist.h"
#include "markup/htmlcolor.h"
#include "markup/taggedtext.h"
#include "platform/inifile.h"

#include <charconv>
#include <cstdint>

namespace {

// The largest font size, in points, read from a file.
constexpr int kMaxStoredFontSize = 500;

constexpr std::string_view kMarkupSpecials("<>\x1B", 3);

// Data text into a caption; the common text with nothing to escape is appended as it is.
void AppendData(std::string& out, std::string_view text)
{
    if (text.find_first_of(kMarkupSpecials) == std::string_view::npos)
        out += text;
    else
        out += EscapeMarkup(text);
}

void AppendNumber(std::string& out, std::uint64_t value, int minDigits = 1)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    for (auto n = end - digits; n < minDigits; ++n)
        out += '0';
    out.append(digits, end);
}

// m:ss with the minutes unbounded.
void AppendMS(std::string& out, std::uint64_t seconds)
{
    AppendNumber(out, seconds / 60);
    out += ':';
    AppendNumber(out, seconds % 60, 2);
}

void AppendHMS(std::string& out, std::uint64_t seconds)
{
    AppendNumber(out, seconds / 3600);
    out += ':';
    AppendNumber(out, seconds % 3600 / 60, 2);
    out += ':';
    AppendNumber(out, seconds % 60, 2);
}

// "1 Track", "2 Tracks".
void AppendCount(std::string& out, std::uint64_t count, std::string_view one, std::string_view many)
{
    AppendNumber(out, count);
    out += ' ';
    out += count == 1 ? one : many;
}

// A group's name in its font, then the opening of its counts in the duration font.
void AppendGroupHead(std::string& out, const std::string& font, std::string_view name,
                     const std::string& durationFont)
{
    out += font;
    AppendData(out, name);
    out += ' ';
    out += durationFont;
    out += '(';
}

// Room for the mark-up of a few fonts plus the data of one line.
constexpr std::size_t kLineSlack = 48;

} // namespace

void TtagFonts::SetColor(TColor value)
{
    color_ = value;
    Changed();
}

void TtagFonts::SetFont(FontKind kind, const TFontDesc& font)
{
    FontSlot& slot = fonts_[kind];
    slot.font = font;
    slot.markupValid = false;
    Changed();
}

void TtagFonts::Changed()
{
    if (updateCount_ == 0 && OnChange)
        OnChange(this);
}

void TtagFonts::EndUpdate()
{
    if (updateCount_ > 0)
        --updateCount_;
    Changed();
}

void TtagFonts::AssignFonts(const TtagFonts& source, bool withNames)
{
    BeginUpdate();
    for (int k = 0; k < kFontCount; ++k) {
        const auto kind = static_cast<FontKind>(k);
        SetFont(kind, source.Font(kind));
        if (withNames)
            SetFontNiceName(kind, source.FontNiceName(kind));
    }
    SetColor(source.Color());
    if (withNames) {
        SetColorNiceName(source.ColorNiceName());
        SetNiceName(source.NiceName());
    }
    EndUpdate();
}

const std::string& TtagFonts::FontMarkup(FontKind kind) const
{
    const FontSlot& slot = fonts_[kind];
    // A system colour follows the palette, so its mark-up is stale once the colour resolves otherwise.
    const TColor rgb = IsSystemColor(slot.font.Color) ? ColorToRGB(slot.font.Color) : slot.font.Color;
    if (!slot.markupValid || rgb != slot.markupRGB) {
        slot.markup = FontToTags(slot.font);
        slot.markupRGB = rgb;
        slot.markupValid = true;
    }
    return slot.markup;
}

std::string TtagFonts::SongCaption(const TaudioTag& tag, TtagDisplayFormat format) const
{
    std::string out;
    AppendSongCaption(out, tag, format);
    return out;
}

void TtagFonts::AppendSongCaption(std::string& out, const TaudioTag& tag, TtagDisplayFormat format) const
{
    const std::string& T = TitleFontMarkup();
    if (!tag.HasArtist()) {
        out.reserve(out.size() + T.size() + tag.FilenameSize());
        out += T;
        AppendData(out, tag.Filename());
        return;
    }
    const std::string& A = ArtistFontMarkup();
    const std::string& C = CharacterFontMarkup();
    const std::string& D = DurationFontMarkup();
    const std::string& I = IndexFontMarkup();
    const std::string& L = AlbumFontMarkup();
    out.reserve(out.size() + A.size() + T.size() + 2 * C.size() + D.size() + tag.Artist().size() +
                tag.Title().size() + tag.Album().size() + kLineSlack);

    const auto artist = [&] {
        out += A;
        AppendData(out, tag.Artist());
    };
    const auto title = [&] {
        out += T;
        AppendData(out, tag.Title());
    };
    const auto dash = [&] {
        out += ' ';
        out += C;
        out += "- ";
    };
    const auto duration = [&] {
        out += ' ';
        out += D;
        out += '[';
        AppendMS(out, tag.Duration());
        out += ']';
    };
    const auto track = [&] {
        out += I;
        AppendNumber(out, tag.TrackNo(), 3);
        out += ' ';
        out += C;
        out += ": ";
    };

    switch (format) {
    case tdfArtistTitle:
        artist();
        dash();
        title();
        break;
    case tdfTitleArtist:
        title();
        dash();
        artist();
        break;
    case tdfArtistTitleDuration:
        artist();
        dash();
        title();
        duration();
        break;
    case tdfTitleArtistDuration:
        title();
        dash();
        artist();
        duration();
        break;
    case tdfTitleDuration:
        title();
        duration();
        break;
    case tdfTrackTitleDuration:
        track();
        title();
        duration();
        break;
    case tdfTrackArtistTitleDuration:
        track();
        artist();
        dash();
        title();
        duration();
        break;
    case tdfTrackArtistTitle:
        track();
        artist();
        dash();
        title();
        break;
    case tdfTracktitle:
        track();
        title();
        break;
    case tdfArtistTitleAlbumTrack:
        artist();
        dash();
        title();
        if (tag.Album().empty())
            break;
        out += ' ';
        out += C;
        out += '[';
        out += L;
        AppendData(out, tag.Album());
        if (tag.TrackNo() != 0) {
            dash();
            out += D;
            out += "Track ";
            AppendNumber(out, tag.TrackNo());
        }
        out += C;
        out += ']';
        break;
    default:
        AppendData(out, tag.Title());
        out += " - ";
        AppendData(out, tag.Artist());
        break;
    }
}

void TtagFonts::AppendSongLine(std::string& out, const TaudioTag& tag, int index, bool numbered,
                               TtagDisplayFormat format) const
{
    if (numbered) {
        out += IndexFontMarkup();
        AppendNumber(out, static_cast<std::uint64_t>(index) + 1, 3);
        out += ' ';
        out += CharacterFontMarkup();
        out += ": ";
    }
    AppendSongCaption(out, tag, format);
}

std::string TtagFonts::AlbumCaption(const TaudioTagList& list, std::string_view caption,
                                    std::string_view suffix) const
{
    const std::string& L = AlbumFontMarkup();
    const std::string& D = DurationFontMarkup();
    std::string out;
    out.reserve(L.size() + D.size() + caption.size() + suffix.size() + kLineSlack);
    AppendGroupHead(out, L, caption, D);
    AppendCount(out, static_cast<std::uint64_t>(list.GetCount()), "Track", "Tracks");
    out += " [";
    AppendMS(out, list.TotalDuration());
    AppendData(out, suffix);
    out += "])";
    return out;
}

std::string TtagFonts::ListCaption(const TaudioTagList& list, bool withTotal) const
{
    const std::string& A = ArtistFontMarkup();
    const std::string& D = DurationFontMarkup();
    std::string out;
    out.reserve(A.size() + D.size() + list.Title().size() + kLineSlack);
    AppendGroupHead(out, A, list.Title(), D);
    AppendCount(out, static_cast<std::uint64_t>(list.GetCount()), "Track", "Tracks");
    if (withTotal) {
        out += " [";
        AppendHMS(out, list.TotalDuration());
        out += ']';
    }
    out += ')';
    return out;
}

std::string TtagFonts::ArtistDetailsCaption(FontKind nameFont, const TaudioTagArtist& artist,
                                            std::string_view caption, bool showAlbums,
                                            std::string_view suffix) const
{
    const std::string& N = FontMarkup(nameFont);
    const std::string& D = DurationFontMarkup();
    std::string out;
    out.reserve(N.size() + D.size() + caption.size() + suffix.size() + kLineSlack);
    AppendGroupHead(out, N, caption, D);
    const auto albums = static_cast<std::uint64_t>(artist.Albums().GetCount());
    if (showAlbums && albums > 0) {
        AppendCount(out, albums, "Album", "Albums");
        out += ", ";
    }
    AppendCount(out, static_cast<std::uint64_t>(artist.GetCount()), "Track", "Tracks");
    AppendData(out, suffix);
    out += ')';
    return out;
}

std::string TtagFonts::ArtistIndexCaption(const TaudioTagArtist& artist, std::string_view caption,
                                          std::string_view suffix) const
{
    return ArtistDetailsCaption(fkIndex, artist, caption, true, suffix);
}

std::string TtagFonts::ArtistCaption(const TaudioTagArtist& artist, std::string_view caption, bool showAlbums,
                                     std::string_view suffix) const
{
    return ArtistDetailsCaption(fkArtist, artist, caption, showAlbums, suffix);
}

std::string TtagFonts::TextCaption(std::string_view text, std::string_view suffix) const
{
    const std::string& I = IndexFontMarkup();
    std::string out;
    out.reserve(I.size() + text.size() + 1);
    out += I;
    AppendData(out, text);
    out += ' ';
    if (!suffix.empty()) {
        const std::string& D = DurationFontMarkup();
        out.reserve(out.size() + D.size() + suffix.size());
        out += D;
        AppendData(out, suffix);
    }
    return out;
}

std::string TtagFonts::FilterKeyName(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            out += c;
    }
    return out;
}

void TtagFonts::SaveSettings(TIniFile& ini, std::string_view section) const
{
    const std::string name = FilterKeyName(section);
    for (const FontSlot& slot : fonts_) {
        if (slot.niceName.empty())
            continue;
        const std::string key = FilterKeyName(slot.niceName);
        ini.WriteString(name, key + "Color", ColorToHtml(slot.font.Color));
        ini.WriteInteger(name, key + "Size", slot.font.Size);
        ini.WriteString(name, key + "Name", slot.font.Name);
        ini.WriteBool(name, key + "Bold", slot.font.Bold());
        ini.WriteBool(name, key + "Italic", slot.font.Italic());
    }
    if (!colorNiceName_.empty())
        ini.WriteString(name, FilterKeyName(colorNiceName_), ColorToHtml(color_));
}

void TtagFonts::LoadSettings(const TIniFile& ini, std::string_view section)
{
    const std::string name = FilterKeyName(section);
    BeginUpdate();
    for (int k = 0; k < kFontCount; ++k) {
        const auto kind = static_cast<FontKind>(k);
        const std::string key = FilterKeyName(FontNiceName(kind));
        TFontDesc font = Font(kind);
        // Only a stored colour replaces the font's: a system colour stays one when its key is missing.
        const std::string colorKey = key + "Color";
        if (ini.ValueExists(name, colorKey))
            font.Color = HtmlToColor(ini.ReadString(name, colorKey, {}));
        // A size no screen could show (a damaged or hand-made file) keeps the font's own.
        font.Size = ini.ReadInteger(name, key + "Size", font.Size, 1, kMaxStoredFontSize);
        font.Name = ini.ReadString(name, key + "Name", font.Name);
        font.Style = font.Style.Toggled(TFontStyle::fsBold, ini.ReadBool(name, key + "Bold", font.Bold()))
                         .Toggled(TFontStyle::fsItalic, ini.ReadBool(name, key + "Italic", font.Italic()));
        SetFont(kind, font);
    }
    SetColor(HtmlToColor(ini.ReadString(name, FilterKeyName(colorNiceName_), "#000000")));
    EndUpdate();
}
