#include "registry.h"

namespace platform {

std::string ReadRegistryString(TRegistryRoot, const std::string&, const std::string&)
{
    return std::string();
}

} // namespace platform
