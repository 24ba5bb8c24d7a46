#pragma once

#include <memory>

class TtagFonts;

// One font set under edit in the skins dialog: the window's live set and a working copy of it (nice names
// included), so edits reach the window only when applied.
class TtfRec
{
public:
    explicit TtfRec(TtagFonts& live);
    ~TtfRec();
    TtfRec(const TtfRec&) = delete;
    TtfRec& operator=(const TtfRec&) = delete;

    TtagFonts& Live() const { return *live_; }
    TtagFonts& Working() const { return *working_; }

    // The working copy's six fonts and colour into the live set (its nice names stay).
    void Apply() const;
    // The working copy from the live set again, dropping what was not applied.
    void Revert() const;

private:
    TtagFonts* live_; // link
    std::unique_ptr<TtagFonts> working_;
};
