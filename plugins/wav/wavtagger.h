#pragma once

#include "core/plugins/taggerrecord.h"
#include "wavfile.h"
#include "wavsettings.h"

#include <memory>
#include <string>

// The WAV reader's state behind its plug-in record: the header reader, the texts the record's text
// functions hand out, and the settings. Fills the value fields of the record it is linked to.
// Texts returned stay valid until the next call that changes them.
class TwavTagger
{
public:
    // record: a link to the plug-in's one record, which outlives the tagger.
    explicit TwavTagger(TtaggerRecord& record);
    ~TwavTagger();
    TwavTagger(const TwavTagger&) = delete;
    TwavTagger& operator=(const TwavTagger&) = delete;

    // With a non-null value, stores a copy; always returns the current value.
    const char* Artist(const char* value) { return SetText(artist_, value); }
    const char* Title(const char* value) { return SetText(title_, value); }
    const char* Album(const char* value) { return SetText(album_, value); }
    const char* Comment(const char* value) { return SetText(comment_, value); }
    const char* Date(const char* value) { return SetText(date_, value); }
    const char* Genre(const char* value) { return SetText(genre_, value); }

    // Extension of the file read last, without its dot.
    const char* FileExt();
    // "WAV" after a valid header, "none" after an invalid one, empty before the first read.
    const char* TagType() const { return tagType_.c_str(); }

    // False without a reader or when the file cannot be read; the values then stay as they were.
    bool ReadFile(const char* fileName);

    // Missing file or keys give the defaults. SaveSettings re-reads the file first so that keys others
    // wrote into it survive; throws EFileError when the file cannot be written.
    void LoadSettings(const std::string& iniFileName);
    void SaveSettings(const std::string& iniFileName) const;

    TwavSettings& Settings() { return settings_; }
    const TwavSettings& Settings() const { return settings_; }

private:
    static const char* SetText(std::string& field, const char* value);
    void FillTags();

    TtaggerRecord& record_;
    std::unique_ptr<TWAVfile> reader_;
    std::string lastFile_;
    std::string artist_, title_, album_, comment_, date_, genre_;
    std::string tagType_;
    std::string extension_;
    TwavSettings settings_;
};
