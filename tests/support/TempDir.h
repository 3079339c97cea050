#pragma once
// A fresh directory under the system's temporary folder, removed with all it
// holds when the test ends.

#include <string>
#include <vector>

namespace kel::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    // Names of the entries in the directory, sorted.
    std::vector<std::string> Entries() const;

private:
    std::string m_path;
};

// Number of open descriptors of this process.
int OpenDescriptorCount();

}  // namespace kel::test
