#include "platform/SystemError.h"

#include "platform/ForeignNames.h"

#include <cerrno>
#include <cstring>

namespace kel {

const int kErrorNotFound = ENOENT;
const int kErrorInUse = EWOULDBLOCK;
const int kErrorNoMemory = ENOMEM;
const int kErrorBrokenPipe = EPIPE;

int StreamWriteError(int errnoValue)
{
    return errnoValue != 0 ? errnoValue : EIO;
}

int ShortTransferCode(ShortTransfer kind)
{
    return kind == ShortTransfer::Write ? ENOMSG : ENODATA;
}

int ForeignNameCode(ForeignName kind)
{
    switch (kind) {
    case ForeignName::HardLinked:
        return EMLINK;
    case ForeignName::OtherOwner:
        return EOWNERDEAD;
    case ForeignName::Held:
        return ETXTBSY;
    case ForeignName::SymbolicLink:
        return ELOOP;
    case ForeignName::Folder:
        return EISDIR;
    case ForeignName::Fifo:
        return ESPIPE;
    case ForeignName::Device:
        return ENODEV;
    case ForeignName::Socket:
        return ENXIO;
    }
    return 0;
}

int LastSystemError()
{
    return errno;
}

void SetLastSystemError(int code)
{
    errno = code;
}

std::string SystemErrorText(int code)
{
    char buffer[256];
    // GNU strerror_r: returns the text, which may or may not be in buffer.
    return strerror_r(code, buffer, sizeof buffer);
}

}  // namespace kel
