#include "core/plugins/taggerplugin.h"

#include "platform/error.h"
#include "platform/inifile.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr const char* kEnabledKey = "Enabled";

bool IsUtf8Continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

template <class Join>
std::string JoinExtensions(const std::vector<std::string>& extensions, const char* separator, Join item)
{
    std::string out;
    for (std::size_t i = 0; i < extensions.size(); ++i) {
        if (i > 0)
            out += separator;
        out += item(extensions[i]);
    }
    return out;
}

} // namespace

std::string TtaggerPlugin::CopyText(const char* text)
{
    if (!text)
        return std::string();
    // Never look further than one byte past the limit: the plug-in's text may be huge.
    std::size_t length = ::strnlen(text, kMaxTextBytes + 1);
    if (length > kMaxTextBytes) {
        length = kMaxTextBytes;
        // Back to the start of the character that the limit cuts (a UTF-8 character has at most three
        // continuation bytes).
        for (int i = 0; i < 3 && length > 0 && IsUtf8Continuation(text[length]); ++i)
            --length;
    }
    return std::string(text, length);
}

TtaggerPlugin::~TtaggerPlugin()
{
    Unload();
}

bool TtaggerPlugin::Load(const std::string& fileName, TtaggerHandle hostHandle)
{
    if (library_.Loaded())
        return false;
    if (!library_.Load(fileName))
        return false;
    const auto getTagger = library_.Function<TGetTaggerFunc>(ORVANE_TAGGER_EXPORT_NAME);
    if (!getTagger)
        return false;
    record_ = getTagger();
    if (!record_)
        return false;
    if (record_->Initialise)
        record_->Initialise(hostHandle, library_.Handle());
    return true;
}

void TtaggerPlugin::Unload()
{
    record_ = nullptr;
    library_.Unload();
}

std::string TtaggerPlugin::Name() const
{
    return record_ ? CopyText(record_->Name) : std::string();
}

std::string TtaggerPlugin::FileTypes() const
{
    return record_ ? CopyText(record_->FileTypes) : std::string();
}

std::vector<std::string> TtaggerPlugin::Extensions() const
{
    std::vector<std::string> out;
    if (!record_ || !record_->ExtCount || !record_->GetExt)
        return out;
    const int32_t count = std::min(record_->ExtCount(), kMaxExtensions);
    std::array<char, ORVANE_TAGGER_BUFFER_SIZE> buffer;
    for (int32_t i = 0; i < count; ++i) {
        buffer.fill('\0');
        record_->GetExt(i, buffer.data());
        // A plug-in that fills the buffer without a terminator must not make us read past it.
        buffer.back() = '\0';
        out.emplace_back(buffer.data());
    }
    return out;
}

std::string TtaggerPlugin::GetExtensionMask() const
{
    return JoinExtensions(Extensions(), ";", [](const std::string& e) { return "*." + e; });
}

std::string TtaggerPlugin::GetFilter() const
{
    const std::string mask = GetExtensionMask();
    return FileTypes() + " (" + mask + ")|" + mask;
}

std::string TtaggerPlugin::GetExtensionList() const
{
    return JoinExtensions(Extensions(), ",", [](const std::string& e) { return e; });
}

void TtaggerPlugin::LoadSettings(const TIniFile& ini)
{
    if (!record_)
        return;
    enabled_ = ini.ReadBool(Name(), kEnabledKey, true);
    if (record_->LoadSettings)
        record_->LoadSettings(ini.FileName().c_str());
}

bool TtaggerPlugin::SaveSettings(TIniFile& ini)
{
    if (!record_)
        return true;
    ini.WriteBool(Name(), kEnabledKey, enabled_);
    bool written = true;
    try {
        ini.UpdateFile();
    } catch (const EFileError&) {
        written = false;
    }
    if (record_->SaveSettings) {
        // The plug-in edits the file on disk; take its keys back so that our next flush keeps them.
        const std::string fileName = ini.FileName();
        record_->SaveSettings(fileName.c_str());
        ini = TIniFile(fileName);
    }
    return written;
}
