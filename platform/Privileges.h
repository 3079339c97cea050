#pragma once
// Whether this process runs with the system administrator's rights, which
// ignore permission bits and may mount file systems.

namespace kel {

bool RunsAsAdministrator();

}  // namespace kel
