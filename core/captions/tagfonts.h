#pragma once

#include "core/songs/audiotag.h"
#include "core/songs/audiotaglist.h"
#include "markup/color.h"
#include "markup/fontdesc.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TaudioTagArtist;
class TIniFile;

// One named set of six display fonts and a colour; it turns songs, albums, artists and lists into caption
// mark-up for the tagged-text renderer. Everything a caption shows of a song or list goes through
// EscapeMarkup, so titles holding "<" or ">" show as written; captions, texts and suffixes handed in by the
// caller are plain text too. Built on the user-interface thread only (the font mark-up is cached).
class TtagFonts
{
public:
    // The six fonts, in the order their settings are written.
    enum FontKind
    {
        fkAlbum,
        fkArtist,
        fkTitle,
        fkCharacter,
        fkDuration,
        fkIndex,
    };
    static constexpr int kFontCount = 6;

    TtagFonts() = default;
    TtagFonts(const TtagFonts&) = delete;
    TtagFonts& operator=(const TtagFonts&) = delete;

    // Published properties. Every font setter and every SetColor calls Changed.
    const TFontDesc& ArtistFont() const { return Font(fkArtist); }
    void SetArtistFont(const TFontDesc& font) { SetFont(fkArtist, font); }
    const std::string& ArtistFontNiceName() const { return FontNiceName(fkArtist); }
    void SetArtistFontNiceName(std::string name) { SetFontNiceName(fkArtist, std::move(name)); }
    const TFontDesc& AlbumFont() const { return Font(fkAlbum); }
    void SetAlbumFont(const TFontDesc& font) { SetFont(fkAlbum, font); }
    const std::string& AlbumFontNiceName() const { return FontNiceName(fkAlbum); }
    void SetAlbumFontNiceName(std::string name) { SetFontNiceName(fkAlbum, std::move(name)); }
    const TFontDesc& TitleFont() const { return Font(fkTitle); }
    void SetTitleFont(const TFontDesc& font) { SetFont(fkTitle, font); }
    const std::string& TitleFontNiceName() const { return FontNiceName(fkTitle); }
    void SetTitleFontNiceName(std::string name) { SetFontNiceName(fkTitle, std::move(name)); }
    const TFontDesc& CharacterFont() const { return Font(fkCharacter); }
    void SetCharacterFont(const TFontDesc& font) { SetFont(fkCharacter, font); }
    const std::string& CharacterFontNiceName() const { return FontNiceName(fkCharacter); }
    void SetCharacterFontNiceName(std::string name) { SetFontNiceName(fkCharacter, std::move(name)); }
    const TFontDesc& DurationFont() const { return Font(fkDuration); }
    void SetDurationFont(const TFontDesc& font) { SetFont(fkDuration, font); }
    const std::string& DurationFontNiceName() const { return FontNiceName(fkDuration); }
    void SetDurationFontNiceName(std::string name) { SetFontNiceName(fkDuration, std::move(name)); }
    const TFontDesc& IndexFont() const { return Font(fkIndex); }
    void SetIndexFont(const TFontDesc& font) { SetFont(fkIndex, font); }
    const std::string& IndexFontNiceName() const { return FontNiceName(fkIndex); }
    void SetIndexFontNiceName(std::string name) { SetFontNiceName(fkIndex, std::move(name)); }
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    const std::string& ColorNiceName() const { return colorNiceName_; }
    void SetColorNiceName(std::string name) { colorNiceName_ = std::move(name); }
    const std::string& NiceName() const { return niceName_; }
    void SetNiceName(std::string name) { niceName_ = std::move(name); }

    std::function<void(TtagFonts* sender)> OnChange;

    const TFontDesc& Font(FontKind kind) const { return fonts_[kind].font; }
    // Copies the font into the set's own.
    void SetFont(FontKind kind, const TFontDesc& font);
    const std::string& FontNiceName(FontKind kind) const { return fonts_[kind].niceName; }
    void SetFontNiceName(FontKind kind, std::string name) { fonts_[kind].niceName = std::move(name); }

    // Update counting: OnChange fires from Changed only while no update is open.
    void Changed();
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // Copies the fonts and Color (and, withNames, the seven nice names and NiceName) in one update.
    void AssignFonts(const TtagFonts& source, bool withNames);

    // FontToTags of each font.
    const std::string& ArtistFontMarkup() const { return FontMarkup(fkArtist); }
    const std::string& AlbumFontMarkup() const { return FontMarkup(fkAlbum); }
    const std::string& TitleFontMarkup() const { return FontMarkup(fkTitle); }
    const std::string& CharacterFontMarkup() const { return FontMarkup(fkCharacter); }
    const std::string& DurationFontMarkup() const { return FontMarkup(fkDuration); }
    const std::string& IndexFontMarkup() const { return FontMarkup(fkIndex); }
    const std::string& FontMarkup(FontKind kind) const;

    // Caption builders. The Append forms add to `out`, so a caller filling many lines can reuse one buffer.
    std::string SongCaption(const TaudioTag& tag, TtagDisplayFormat format) const;
    void AppendSongCaption(std::string& out, const TaudioTag& tag, TtagDisplayFormat format) const;
    // One line of SongStrings: the caption, led by the 1-based row number when numbered.
    void AppendSongLine(std::string& out, const TaudioTag& tag, int index, bool numbered,
                        TtagDisplayFormat format) const;
    // Replaces the lines of `strings` (a TStringList<TaudioTag> or the list box's items) by one caption per
    // song of the list, each with its song as the line's object, inside one update of the strings.
    template <class Strings>
    void SongStrings(Strings& strings, const TaudioTagList& list, bool numbered,
                     TtagDisplayFormat format) const;

    std::string AlbumCaption(const TaudioTagList& list, std::string_view caption,
                             std::string_view suffix) const;
    std::string ListCaption(const TaudioTagList& list, bool withTotal) const;
    std::string ArtistIndexCaption(const TaudioTagArtist& artist, std::string_view caption,
                                   std::string_view suffix) const;
    std::string ArtistCaption(const TaudioTagArtist& artist, std::string_view caption, bool showAlbums,
                              std::string_view suffix) const;
    std::string TextCaption(std::string_view text, std::string_view suffix) const;

    // Settings: one section (its name reduced by FilterKeyName), keys prefixed by the fonts' nice names.
    void SaveSettings(TIniFile& ini, std::string_view section) const;
    // Reads all six fonts and the colour in one update, so OnChange fires once.
    void LoadSettings(const TIniFile& ini, std::string_view section);
    // Only the ASCII letters and digits of the text, in order.
    static std::string FilterKeyName(std::string_view text);

private:
    struct FontSlot
    {
        TFontDesc font;
        std::string niceName;
        // FontToTags of the font, rebuilt when the font changes or its system colour resolves otherwise.
        mutable std::string markup;
        mutable TColor markupRGB = 0;
        mutable bool markupValid = false;
    };

    // Artist or index caption with its details in brackets.
    std::string ArtistDetailsCaption(FontKind nameFont, const TaudioTagArtist& artist,
                                     std::string_view caption, bool showAlbums,
                                     std::string_view suffix) const;

    std::array<FontSlot, kFontCount> fonts_;
    TColor color_ = 0;
    std::string colorNiceName_;
    std::string niceName_;
    int updateCount_ = 0;
};

template <class Strings>
void TtagFonts::SongStrings(Strings& strings, const TaudioTagList& list, bool numbered,
                            TtagDisplayFormat format) const
{
    strings.BeginUpdate();
    strings.Clear();
    const std::vector<TaudioTag*>& songs = list.Items();
    if constexpr (requires { strings.Reserve(0); })
        strings.Reserve(static_cast<int>(songs.size()));
    // One buffer grows to the longest line; each line is then copied out at its exact size.
    std::string line;
    for (std::size_t i = 0; i < songs.size(); ++i) {
        line.clear();
        AppendSongLine(line, *songs[i], static_cast<int>(i), numbered, format);
        strings.AddObject(std::string(line), songs[i]);
    }
    strings.EndUpdate();
}
