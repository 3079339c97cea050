#include "platform/Privileges.h"

#include <unistd.h>

namespace kel {

bool RunsAsAdministrator()
{
    return geteuid() == 0;
}

}  // namespace kel
