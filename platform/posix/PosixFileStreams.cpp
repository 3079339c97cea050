#include "platform/FileStreams.h"

#include <cstdlib>

namespace kel {

std::FILE* OpenFileStream(const std::filesystem::path& path, const char* mode)
{
    return std::fopen(path.c_str(), mode);
}

std::FILE* CreateNewFileStream(const std::filesystem::path& path)
{
    return std::fopen(path.c_str(), "wbx");
}

std::filesystem::path EnvironmentPath(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::filesystem::path(value) : std::filesystem::path();
}

}  // namespace kel
