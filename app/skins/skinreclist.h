#pragma once

#include "app/skins/skinrec.h"

#include <memory>
#include <string>
#include <vector>

// The installed skins: every direct subfolder holding a skin.osk, of the user's skins folder and of the
// shipped one (a user skin hides the shipped skin of the same folder name). Sorted with a skin titled
// exactly "Default" first, the others by title ignoring case.
class TskinRecList
{
public:
    void Clear() { items_.clear(); }
    void Add(std::unique_ptr<TskinRec> skin);
    int Count() const { return static_cast<int>(items_.size()); }
    // nullptr out of range.
    const TskinRec* Item(int index) const;

    // Replaces the list by the skins of the folders, the first folder's skins hiding the later ones'.
    void Scan(const std::vector<std::string>& skinsFolders);
    // The user's and the shipped skins.
    void ScanInstalled();

    // The record of one skin file (title, description, creator read from its Info section).
    static std::unique_ptr<TskinRec> ReadSkin(const std::string& skinFile);

private:
    void Sort();

    std::vector<std::unique_ptr<TskinRec>> items_;
};
