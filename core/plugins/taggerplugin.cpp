#include "core/plugins/taggerplugin.h"

#include "platform/error.h"
#include "platform/inifile.h"

#include <array>

namespace {

constexpr const char* kEnabledKey = "Enabled";

std::string Text(const char* text)
{
    return text ? std::string(text) : std::string();
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
    return record_ ? Text(record_->Name) : std::string();
}

std::string TtaggerPlugin::FileTypes() const
{
    return record_ ? Text(record_->FileTypes) : std::string();
}

std::vector<std::string> TtaggerPlugin::Extensions() const
{
    std::vector<std::string> out;
    if (!record_ || !record_->ExtCount || !record_->GetExt)
        return out;
    const int32_t count = record_->ExtCount();
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
