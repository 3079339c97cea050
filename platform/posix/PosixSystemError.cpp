#include "platform/SystemError.h"

#include <cerrno>
#include <cstring>

namespace kel {

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
