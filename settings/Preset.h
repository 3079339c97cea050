#pragma once
// A named set of the six test parameters and the two rate thresholds.

#include "engine/RunParameters.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace kel {

// Longest preset name kept when reading the settings file, in characters.
constexpr std::size_t kPresetNameMax = 38;

struct Preset {
    std::string name;
    std::int32_t numFiles = 0;
    std::int32_t fileSize = 0;   // KB
    std::int32_t bufSize = 0;    // KB
    std::int32_t readReps = 0;
    std::int32_t writeReps = 0;
    std::int32_t sampsSec = 0;
    std::int32_t minRead = 0;    // thousandths of an MB/s; 0 or less: no threshold
    std::int32_t minWrite = 0;   // thousandths of an MB/s; 0 or less: no threshold
};

// A preset's values as a run's parameters; presets never write simultaneously.
inline RunParameters ParametersOf(const Preset& preset)
{
    return RunParameters {preset.numFiles, preset.fileSize, preset.bufSize, preset.readReps, preset.writeReps,
                          preset.sampsSec, preset.minRead,  preset.minWrite, 0};
}

}  // namespace kel
