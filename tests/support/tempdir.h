#pragma once

#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it when destroyed.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Path + "/" + name.
    std::string File(const std::string& name) const;
    // Writes bytes to Path()/name (creating folders on the way) and returns the full name.
    std::string Write(const std::string& name, const std::string& bytes) const;
    static std::string Read(const std::string& fileName);

private:
    std::string path_;
};
