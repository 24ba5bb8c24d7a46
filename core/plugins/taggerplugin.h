#pragma once

#include "core/plugins/taggerrecord.h"
#include "platform/dynamiclibrary.h"

#include <cstddef>
#include <string>
#include <vector>

class TIniFile;

// One tag-reader plug-in library and the record its GetTagger returned. The record belongs to the library
// and is valid only while the library stays loaded; destroying the object unloads it.
class TtaggerPlugin
{
public:
    // A plug-in is trusted with nothing unbounded: each text is copied up to this many bytes (cut at a
    // UTF-8 character boundary) and no more extensions than this are asked for.
    static constexpr std::size_t kMaxTextBytes = 4096;
    static constexpr int32_t kMaxExtensions = 256;

    // A copy of a text a plug-in returned, at most kMaxTextBytes long; empty for null.
    static std::string CopyText(const char* text);

    TtaggerPlugin() = default;
    ~TtaggerPlugin();
    TtaggerPlugin(const TtaggerPlugin&) = delete;
    TtaggerPlugin& operator=(const TtaggerPlugin&) = delete;

    // Loads the library, asks it for its record and initialises the plug-in with hostHandle and the module
    // handle. True when a record came back; false when a module is already held, the file is not a
    // library or it has no GetTagger. A library that answers with no record stays loaded until Unload.
    bool Load(const std::string& fileName, TtaggerHandle hostHandle);
    void Unload();

    TtaggerRecord* Record() const { return record_; }
    // 0 when not loaded.
    TtaggerHandle ModuleHandle() const { return library_.Handle(); }
    const std::string& FileName() const { return library_.FileName(); }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }

    // The record's texts; empty without a record or where the plug-in gives none.
    std::string Name() const;
    std::string FileTypes() const;

    // The extensions the plug-in handles, without dots, as GetExt gives them (never more than the
    // 255-byte buffer holds, never more than kMaxExtensions of them). Empty without a record.
    std::vector<std::string> Extensions() const;
    // "*.wav;*.wave"
    std::string GetExtensionMask() const;
    // FileTypes + " (" + mask + ")|" + mask
    std::string GetFilter() const;
    // "wav,wave"
    std::string GetExtensionList() const;

    // Enabled from the section named by the plug-in (default true), then the plug-in reads its own keys
    // from the file itself.
    void LoadSettings(const TIniFile& ini);
    // Writes Enabled and flushes the file, then lets the plug-in write its own keys into it, then reloads
    // ini so that a later flush keeps them. False when the file could not be written.
    bool SaveSettings(TIniFile& ini);

private:
    TDynamicLibrary library_;
    TtaggerRecord* record_ = nullptr;
    bool enabled_ = true;
};
