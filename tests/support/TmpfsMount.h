#pragma once
// A tmpfs mounted on a fresh folder for the life of the object, for tests
// that need a small, full or read-only file system; mounting needs root.

#include "tests/support/TempDir.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace kel::test {

class TmpfsMount {
public:
    explicit TmpfsMount(const std::string& options)
    {
        const std::string command =
            "mount -t tmpfs -o " + options + " kelt-test '" + m_folder.Path() + "' 2>/dev/null";
        m_mounted = !m_folder.Path().empty() && std::system(command.c_str()) == 0;
    }
    ~TmpfsMount()
    {
        if (m_mounted) {
            const std::string command = "umount '" + m_folder.Path() + "' 2>/dev/null || umount -l '" +
                                        m_folder.Path() + "' 2>/dev/null";
            [[maybe_unused]] const int ignored = std::system(command.c_str());
        }
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool Mounted() const { return m_mounted; }
    const std::string& Path() const { return m_folder.Path(); }
    std::vector<std::string> Entries() const { return m_folder.Entries(); }

private:
    TempDir m_folder;  // outlives the mount: destroyed after the unmount above
    bool m_mounted = false;
};

}  // namespace kel::test
