#include "platform/Terminal.h"

#include <unistd.h>

namespace kel {

bool StandardErrorIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

}  // namespace kel
