#pragma once
// The graph's scale in the settings file: key "GraphScale" of section
// "Application", "auto" for the fitted scale or the top in MB/s ("20" is the
// default scale). The dialog reads it once when it opens and writes it only
// when the user picks another scale.

#include "settings/ProfileFile.h"
#include "view/GraphScale.h"

namespace kel {

// The default scale when the key is missing or holds anything else.
GraphScale ReadGraphScaleSetting(const ProfileFile& settings);

// Like every write of the program's settings, a failure goes unreported.
void WriteGraphScaleSetting(ProfileFile& settings, const GraphScale& scale);

}  // namespace kel
