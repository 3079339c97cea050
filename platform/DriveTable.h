#pragma once
// Drives by letter, as the program shows them: each letter stands for one file
// system and the folder on it where the test files go (its root path).

#include <string>
#include <vector>

namespace kel {

struct DriveEntry {
    char letter = 0;         // upper case, 'A' to 'Z'
    std::string rootPath;    // folder that receives the test files and the probe file
    std::string mountPoint;  // shown beside the label so entries can be told apart
    std::string label;       // the file system's label as the system gives it; may be empty
    std::string fileSystem;  // its type, e.g. "ext4"; empty when not known
    std::string device;      // what is mounted, e.g. "/dev/sda1"; empty when not known
    bool answering = true;   // false: its file system did not answer when the list was made
};

class DriveTable {
public:
    // Adds or replaces the entry of entry.letter (any case). Letters outside
    // A to Z are ignored.
    void Register(DriveEntry entry);
    // Shorthand for a drive whose root path and mount point are one folder.
    void Register(char letter, const std::string& rootPath);
    void Clear() { m_entries.clear(); }
    // The entry of a letter in either case, or null.
    const DriveEntry* Find(int letter) const;
    // The letter whose root path is rootPath, or 0.
    char LetterOfRoot(const std::string& rootPath) const;
    // Entries in letter order.
    const std::vector<DriveEntry>& Entries() const { return m_entries; }

private:
    std::vector<DriveEntry> m_entries;
};

// The program's own table, filled at start-up.
DriveTable& SystemDriveTable();

}  // namespace kel
