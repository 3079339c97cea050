#include "platform/ForeignNames.h"

#include <cerrno>

namespace kel {

namespace {

struct ForeignNameEntry {
    ForeignName kind;
    int code;
    const char* reason;
};

constexpr ForeignNameEntry kForeignNames[] = {
    {ForeignName::HardLinked, EMLINK, "The file also has other names (hard links), so the program leaves it untouched"},
    {ForeignName::OtherOwner, EOWNERDEAD, "The file belongs to another user, so the program leaves it untouched"},
    {ForeignName::Held, ETXTBSY, "Another program holds the file locked, so the program leaves it untouched"},
    {ForeignName::SymbolicLink, ELOOP, "The name is a symbolic link, which the program leaves untouched"},
    {ForeignName::Folder, EISDIR, "The name is a folder, which the program leaves untouched"},
    {ForeignName::Fifo, ESPIPE, "The name is a FIFO (named pipe), which the program leaves untouched"},
    {ForeignName::Device, ENODEV, "The name is a device, which the program leaves untouched"},
    {ForeignName::Socket, ENXIO, "The name is a socket, which the program leaves untouched"},
};

}  // namespace

int ForeignNameCode(ForeignName kind)
{
    for (const ForeignNameEntry& entry : kForeignNames) {
        if (entry.kind == kind) {
            return entry.code;
        }
    }
    return 0;
}

const char* ForeignNameReason(int code)
{
    for (const ForeignNameEntry& entry : kForeignNames) {
        if (entry.code == code) {
            return entry.reason;
        }
    }
    return nullptr;
}

}  // namespace kel

namespace kel {

int ShortTransferCode(ShortTransfer kind)
{
    return kind == ShortTransfer::Write ? ENOMSG : ENODATA;
}

const char* ShortTransferReason(int code)
{
    switch (code) {
    case ENOMSG:
        return "The system wrote fewer bytes than asked and gave no reason";
    case ENODATA:
        return "The file ended early: fewer bytes were read than asked";
    default:
        return nullptr;
    }
}

}  // namespace kel
