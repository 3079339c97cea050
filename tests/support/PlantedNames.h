#pragma once
// What an adversary or an accident leaves under a test or probe file's name:
// a hard link or a symbolic link to a file outside the test folder, another
// user's file that anyone may write, a folder, a FIFO, a socket or a device. Each comes with the code and the text with
// which the program refuses to touch it.

#include <ostream>
#include <string>
#include <vector>

namespace kel::test {

enum class Planted { HardLink, SymbolicLink, OtherUsersFile, Folder, Fifo, Socket, Device };

struct PlantCase {
    Planted kind;
    const char* label;
    int code;            // the report's error code
    const char* reason;  // the report's text after the code
};

const std::vector<PlantCase>& PlantCases();

inline void PrintTo(const PlantCase& plant, std::ostream* out)
{
    *out << plant.label;
}

// Plants kind at path; the links lead to victim. False when the system
// refuses, as it refuses a device or a file of another owner to anyone but root.
bool Plant(Planted kind, const std::string& path, const std::string& victim);

// What path holds, without following a link: its type and inode (and for a
// regular file its size and time of change), to tell that nothing was
// replaced or written.
std::string Identity(const std::string& path);

// A file of pseudo-random bytes outside the test folder, and whether it still
// holds them.
class Victim {
public:
    explicit Victim(std::string path, std::size_t bytes = 100000);
    const std::string& Path() const { return m_path; }
    bool Unchanged() const;

private:
    std::string m_path;
    std::string m_content;
};

std::string ReadWholeFile(const std::string& path);

}  // namespace kel::test
