#include "platform/DriveTable.h"

#include "platform/TextRules.h"

#include <algorithm>

namespace kel {

void DriveTable::Register(DriveEntry entry)
{
    entry.letter = AsciiUpper(entry.letter);
    if (entry.letter < 'A' || entry.letter > 'Z') {
        return;
    }
    auto at = std::lower_bound(m_entries.begin(), m_entries.end(), entry.letter,
                               [](const DriveEntry& e, char l) { return e.letter < l; });
    if (at != m_entries.end() && at->letter == entry.letter) {
        *at = std::move(entry);
    } else {
        m_entries.insert(at, std::move(entry));
    }
}

void DriveTable::Register(char letter, const std::string& rootPath)
{
    DriveEntry entry;
    entry.letter = letter;
    entry.rootPath = rootPath;
    entry.mountPoint = rootPath;
    Register(std::move(entry));
}

const DriveEntry* DriveTable::Find(int letter) const
{
    if (letter < 0 || letter > 0xFF) {
        return nullptr;
    }
    const char upper = AsciiUpper(static_cast<char>(letter));
    for (const DriveEntry& entry : m_entries) {
        if (entry.letter == upper) {
            return &entry;
        }
    }
    return nullptr;
}

char DriveTable::LetterOfRoot(const std::string& rootPath) const
{
    for (const DriveEntry& entry : m_entries) {
        if (entry.rootPath == rootPath) {
            return entry.letter;
        }
    }
    return 0;
}

DriveTable& SystemDriveTable()
{
    static DriveTable table;
    return table;
}

}  // namespace kel
