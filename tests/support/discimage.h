#pragma once

#include <cstdlib>
#include <string>

// Disc images for the optical-drive tests, built byte by byte or with an ISO authoring tool.
namespace discimage {

constexpr std::size_t kSector = 2048;

// Sectors 0-15 empty, a primary volume descriptor at 16 whose first bytes are head (after the standard
// "\x01CD001\x01" header), and a set terminator at 17.
inline std::string HandmadeIso(const std::string& head)
{
    std::string image(18 * kSector, '\0');
    std::string pvd = std::string("\x01"
                                  "CD001"
                                  "\x01",
                                  7) +
                      head;
    image.replace(16 * kSector, pvd.size(), pvd);
    const std::string terminator("\xFF"
                                 "CD001"
                                 "\x01",
                                 7);
    image.replace(17 * kSector, terminator.size(), terminator);
    return image;
}

inline bool HasTool(const std::string& tool)
{
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// Builds image from folder with genisoimage (options such as "-J" or "-udf"); true on success.
inline bool Genisoimage(const std::string& folder, const std::string& image, const std::string& label,
                        const std::string& options)
{
    const std::string command = "genisoimage -quiet " + options + " -V '" + label + "' -o '" + image + "' '" +
                                folder + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// Builds image from folder with xorriso, with or without Joliet names; true on success.
inline bool Xorriso(const std::string& folder, const std::string& image, const std::string& label,
                    bool joliet)
{
    const std::string command = "xorriso -abort_on FAILURE -joliet " + std::string(joliet ? "on" : "off") +
                                " -outdev '" + image + "' -volid '" + label + "' -map '" + folder +
                                "' / >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

} // namespace discimage
