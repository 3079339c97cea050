#pragma once
// Whether the test runs with the system administrator's rights, which ignore
// permission bits and may mount file systems.

#include <unistd.h>

namespace kel::test {

inline bool RunsAsAdministrator()
{
    return geteuid() == 0;
}

}  // namespace kel::test
