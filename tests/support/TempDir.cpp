#include "tests/support/TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kel::test {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kelt-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
        m_path = pattern;
    }
}

TempDir::~TempDir()
{
    std::error_code ignored;
    if (!m_path.empty()) {
        std::filesystem::remove_all(m_path, ignored);
    }
}

std::vector<std::string> TempDir::Entries() const
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(m_path, error)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

int OpenDescriptorCount()
{
    int count = 0;
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator("/proc/self/fd", error);
         it != std::filesystem::directory_iterator(); it.increment(error)) {
        ++count;
    }
    return count;
}

}  // namespace kel::test
