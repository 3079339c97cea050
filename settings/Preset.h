#pragma once
// A named set of the six test parameters and the two rate thresholds.

#include "engine/RunParameters.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace kel {

// Longest preset name kept when reading the settings file, in characters.
constexpr std::size_t kPresetNameMax = 38;

// A name and the parameters a run takes from it: the six counts and the two
// thresholds (presets never write simultaneously). The keys of its section in
// the settings file are the parameter table's settings keys.
struct Preset {
    std::string name;
    RunParameters parameters;
};

// A preset's values as a run's parameters.
inline RunParameters ParametersOf(const Preset& preset)
{
    RunParameters parameters = preset.parameters;
    parameters.simultaneous = 0;
    return parameters;
}

}  // namespace kel
