#pragma once

#include "app/skins/skinfolder.h"
#include "platform/inifile.h"
#include "platform/qtstring.h"

#include <QImage>
#include <QString>

#include <filesystem>
#include <string>

// A copy of the shipped Default skin in the user's skins folder, named name, with every bitmap scaled by
// num / den (nearest pixel, so the transport's hit colours stay exact) and the banner's title in another
// font; answers its skin file. For the window tests and the screenshot tool.
inline std::string ScaledDefaultSkin(const std::string& name, int num, int den)
{
    namespace fs = std::filesystem;
    const fs::path from = fs::path(TskinFolder::DefaultSkinFile()).parent_path();
    const fs::path to = fs::path(TskinFolder::GetSkinsFolder()) / name;
    fs::create_directories(to);
    for (const fs::directory_entry& entry : fs::directory_iterator(from)) {
        const fs::path target = to / entry.path().filename();
        if (entry.path().extension() != ".bmp") {
            fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing);
            continue;
        }
        const QImage image(platform::ToQString(entry.path().string()));
        image.scaled(image.width() * num / den, image.height() * num / den)
            .save(platform::ToQString(target.string()), "BMP");
    }
    TIniFile ini((to / TskinFolder::kSkinFileName).string());
    ini.WriteString("Info", "Title", name);
    ini.WriteString("SongTitleBanner", "TrackTitleName", "Courier New");
    ini.WriteInteger("SongTitleBanner", "TrackTitleSize", 24);
    ini.WriteString("SongTitleBanner", "TrackTitleColor", "#FF4000");
    ini.WriteString("SongTitleBanner", "ArtistName", "DejaVu Serif");
    ini.WriteInteger("SongTitleBanner", "ArtistSize", 20);
    ini.UpdateFile();
    return ini.FileName();
}
