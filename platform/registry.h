#pragma once

#include <string>

// The system registry. There is none here: every read answers as a missing value does.
namespace platform {

enum class TRegistryRoot
{
    ClassesRoot,
    CurrentUser,
    LocalMachine,
    Users,
};

// The string value valueName of key (opened read-only) under root; empty when missing, which is always.
std::string ReadRegistryString(TRegistryRoot root, const std::string& key, const std::string& valueName);

} // namespace platform
