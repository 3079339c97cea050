#pragma once
// Where the user manual is found: installed beside the program, in the
// source tree of a build that was not installed, or else unpacked from the
// copy built into the program.

#include <QString>

namespace kel {

QString HelpFileName();
// The manual's path on disk, or empty when none can be found or unpacked.
QString HelpFilePath();

}  // namespace kel
