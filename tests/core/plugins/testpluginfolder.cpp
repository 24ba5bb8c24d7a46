#include "testpluginfolder.h"

#include <filesystem>

TestPluginFolder::TestPluginFolder(std::initializer_list<const char*> plugins)
{
    for (const char* plugin : plugins)
        Add(plugin);
}

std::string TestPluginFolder::Add(const std::string& plugin, const std::string& fileName)
{
    return AddFile(std::string(ORVANE_TEST_PLUGIN_DIR) + "/TAG_" + plugin + ".so",
                   fileName.empty() ? "TAG_" + plugin + ".so" : fileName);
}

std::string TestPluginFolder::AddFile(const std::string& sourceFile, const std::string& fileName)
{
    const std::string target = dir_.File(fileName);
    std::filesystem::copy_file(sourceFile, target, std::filesystem::copy_options::overwrite_existing);
    return target;
}

std::string TestPluginFolder::Write(const std::string& fileName, const std::string& bytes) const
{
    return dir_.Write(fileName, bytes);
}
