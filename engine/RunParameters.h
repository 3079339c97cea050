#pragma once
// A run's parameters as one value, and the one table of their limits,
// defaults and descriptions that the dialog's checks, the runner's options and
// help, the "(Default)" preset and the engine all read.

#include <array>
#include <cstdint>
#include <limits>
#include <string_view>

namespace kel {

struct RunParameters {
    std::int32_t numFiles = 0;
    std::int32_t fileSizeKB = 0;
    std::int32_t bufSizeKB = 0;
    std::int32_t readReps = 0;   // Play passes
    std::int32_t writeReps = 0;  // Record passes, as entered; a simultaneous run makes one
    std::int32_t sampsSec = 0;
    std::int32_t minRead = 0;    // thousandths of an MB/s; 0 or less: none
    std::int32_t minWrite = 0;
    std::int32_t simultaneous = 0;  // 1: every read pass also writes an extra file

    // The write passes a run really makes.
    std::int32_t WritePasses() const { return simultaneous != 0 ? 1 : writeReps; }
    friend bool operator==(const RunParameters&, const RunParameters&) = default;
};

enum class ParameterKind {
    Count,      // a whole number the user enters, checked against its range
    Threshold,  // a rate in thousandths of an MB/s; any value, 0 or less means none
    Flag,       // 0 or 1
};

struct ParameterSpec {
    std::string_view option;     // the runner's option, without "--"
    std::string_view recordKey;  // the key in the run record's parameters
    std::int32_t RunParameters::*field;
    ParameterKind kind;
    std::int32_t low;           // what the dialog and the runner accept
    std::int32_t high;
    std::int32_t defaultValue;  // the "(Default)" preset and the runner's default
    // What the engine can carry out: names have two digits, byte counts 32
    // bits, and a harness may ask for no passes at all.
    std::int32_t runnableLow;
    std::int32_t runnableHigh;
    std::string_view help;
    // The key in a preset's section of the settings file (read as 1 when
    // missing for a count, 0 for a threshold); empty: presets do not hold it.
    std::string_view settingsKey;
    // The key --list-presets --json has always given it, beside its record key.
    std::string_view presetListKey;
};

inline constexpr std::int32_t kNoLimit = std::numeric_limits<std::int32_t>::max();
inline constexpr std::int32_t kNoLowerLimit = std::numeric_limits<std::int32_t>::min();
// The largest file or transfer in KB whose byte count fits 32 bits.
inline constexpr std::int32_t kMaxRunnableSizeKB = 4194303;

// In the order the dialog checks its fields and the runner lists its options.
inline constexpr std::array<ParameterSpec, 9> kRunParameterTable {{
    {"files", "files", &RunParameters::numFiles, ParameterKind::Count, 1, 100, 1, 1, 100, "Number of test files",
     "NumFiles", "numFiles"},
    {"file-size", "fileSizeKB", &RunParameters::fileSizeKB, ParameterKind::Count, 1, 102400, 2400, 1,
     kMaxRunnableSizeKB, "Size of each file in KB", "FileSize", "fileSize"},
    {"buffer", "bufSizeKB", &RunParameters::bufSizeKB, ParameterKind::Count, 1, 1024, 96, 1, kMaxRunnableSizeKB,
     "Size of each transfer in KB", "BufSize", "bufSize"},
    {"reads", "readReps", &RunParameters::readReps, ParameterKind::Count, 1, 1000, 30, 0, kNoLimit,
     "Read (Play) passes", "ReadReps", "readReps"},
    {"writes", "writeReps", &RunParameters::writeReps, ParameterKind::Count, 1, 1000, 30, 0, kNoLimit,
     "Write (Record) passes", "WriteReps", "writeReps"},
    {"resolution", "sampsSec", &RunParameters::sampsSec, ParameterKind::Count, 0, 200, 10, 0, kNoLimit,
     "Rate samples per second", "SampsSec", "sampsSec"},
    {"min-read", "minRead", &RunParameters::minRead, ParameterKind::Threshold, kNoLowerLimit, kNoLimit, 0,
     kNoLowerLimit, kNoLimit,
     "Minimum read rate in thousandths of an MB/s, drawn on the graph and judged by --fail-below", "KelMinRead",
     "minRead"},
    {"min-write", "minWrite", &RunParameters::minWrite, ParameterKind::Threshold, kNoLowerLimit, kNoLimit, 0,
     kNoLowerLimit, kNoLimit,
     "Minimum write rate in thousandths of an MB/s, drawn on the graph and judged by --fail-below", "KelMinWrite",
     "minWrite"},
    {"simultaneous", "simultaneous", &RunParameters::simultaneous, ParameterKind::Flag, 0, 1, 0, kNoLowerLimit,
     kNoLimit, "Write an extra file during every read pass", "", ""},
}};

// The table's entry of a field.
constexpr const ParameterSpec& SpecOf(std::int32_t RunParameters::*field)
{
    for (const ParameterSpec& spec : kRunParameterTable) {
        if (spec.field == field) {
            return spec;
        }
    }
    return kRunParameterTable.front();
}

// Every parameter at its default.
constexpr RunParameters DefaultRunParameters()
{
    RunParameters parameters;
    for (const ParameterSpec& spec : kRunParameterTable) {
        parameters.*spec.field = spec.defaultValue;
    }
    return parameters;
}

// The first parameter, in table order, outside the limits that the members
// low and high of its entry give; null when all lie within.
constexpr const ParameterSpec* FirstParameterOutside(const RunParameters& parameters,
                                                     std::int32_t ParameterSpec::*low,
                                                     std::int32_t ParameterSpec::*high)
{
    for (const ParameterSpec& spec : kRunParameterTable) {
        const std::int32_t value = parameters.*spec.field;
        if (value < spec.*low || value > spec.*high) {
            return &spec;
        }
    }
    return nullptr;
}

// The first parameter outside what the dialog and the runner accept.
constexpr const ParameterSpec* FirstUnacceptedParameter(const RunParameters& parameters)
{
    return FirstParameterOutside(parameters, &ParameterSpec::low, &ParameterSpec::high);
}

// Whether the engine can carry out a run with these values.
constexpr bool IsRunnable(const RunParameters& parameters)
{
    return FirstParameterOutside(parameters, &ParameterSpec::runnableLow, &ParameterSpec::runnableHigh) == nullptr;
}

}  // namespace kel
