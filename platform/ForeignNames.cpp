#include "platform/ForeignNames.h"

namespace kel {

namespace {

struct ForeignNameEntry {
    ForeignName kind;
    const char* reason;
};

constexpr ForeignNameEntry kForeignNames[] = {
    {ForeignName::HardLinked, "The file also has other names (hard links), so the program leaves it untouched"},
    {ForeignName::OtherOwner, "The file belongs to another user, so the program leaves it untouched"},
    {ForeignName::Held, "Another program holds the file locked, so the program leaves it untouched"},
    {ForeignName::SymbolicLink, "The name is a symbolic link, which the program leaves untouched"},
    {ForeignName::Folder, "The name is a folder, which the program leaves untouched"},
    {ForeignName::Fifo, "The name is a FIFO (named pipe), which the program leaves untouched"},
    {ForeignName::Device, "The name is a device, which the program leaves untouched"},
    {ForeignName::Socket, "The name is a socket, which the program leaves untouched"},
};

}  // namespace

const char* ForeignNameReason(int code)
{
    for (const ForeignNameEntry& entry : kForeignNames) {
        if (ForeignNameCode(entry.kind) == code) {
            return entry.reason;
        }
    }
    return nullptr;
}


const char* ShortTransferReason(int code)
{
    if (code == ShortTransferCode(ShortTransfer::Write)) {
        return "The system wrote fewer bytes than asked and gave no reason";
    }
    if (code == ShortTransferCode(ShortTransfer::Read)) {
        return "The file ended early: fewer bytes were read than asked";
    }
    return nullptr;
}

}  // namespace kel
