#pragma once
// The figures beyond the rates that tell whether a drive keeps up with a
// stream: the longest stall of a pass, the buffer a stream at the kind's
// minimum rate needs, the lasting fall of a write pass's rate (the end of a
// cache), and what the read-back check found. Sizes in bytes, times in
// seconds, rates in MB/s (1 MB = 1,048,576 bytes).

#include <cstdint>

namespace kel {

// Choices of a run beyond its parameters.
struct RunOptions {
    // Stamp every 4 KiB written and check every byte read back.
    bool verify = false;
};

// The longest time one transfer took, from the clock reading before it to
// the one after it.
struct StallFigure {
    double seconds = 0.0;
    double atSeconds = 0.0;      // when the transfer began, from the pass's start
    std::uint64_t bytesBefore = 0;  // bytes the pass had moved when it began
};

// A stream at a constant rate beside the drive: a recorder the drive drains
// or a player reading ahead. The shortfall is what the stream has produced
// (or consumed) that the drive has not yet moved.
struct StreamFigure {
    bool judged = false;          // the kind has a minimum rate
    double rate = 0.0;            // the stream's rate, MB/s
    double bufferBytes = 0.0;     // the largest shortfall: the buffer that drops nothing
    bool fallsBehind = false;     // still short at the end and no sign of catching up
    std::uint64_t behindAfterBytes = 0;  // bytes moved when it last kept up
};

// A lasting fall of a write pass's rate (the rule is at FindCacheCliff below).
struct CliffFigure {
    bool found = false;
    double fastRate = 0.0;  // mean of the samples before the fall
    double slowRate = 0.0;  // mean of the samples after it
    double atSeconds = 0.0;
    double atBytes = 0.0;
};

// Handed with every finished pass, after its rates.
struct PassFigures {
    int passNumber = 0;
    int isWrite = 0;
    StallFigure stall {};
    StreamFigure stream {};
    CliffFigure cliff {};            // write passes only
    std::uint64_t bytesVerified = 0;  // read passes of a verified run
};

// The figures of one kind's passes together: the longest stall, the stream
// that needed the largest buffer (one that falls behind for good counts as
// worse than any), and the first cache cliff. Pass numbers are 0 for none.
struct KindFigures {
    bool any = false;  // a pass has been added
    int stallPass = 0;
    StallFigure stall {};
    int streamPass = 0;
    StreamFigure stream {};  // judged only when the kind has a minimum
    int cliffPass = 0;
    CliffFigure cliff {};

    void Add(const PassFigures& figures);
};

// Where and how read-back data differed from what was written.
enum class MismatchKind {
    None,
    OtherData,    // not what this run wrote there
    OtherPlace,   // this run's data of another offset or file: the drive wraps
    ChangedBits,  // what was written, with some bits changed
};

struct DataMismatch {
    MismatchKind kind = MismatchKind::None;
    int fileIndex = 0;
    std::uint64_t offset = 0;     // of the first differing 4 KiB in the file
    int foundFileIndex = 0;       // OtherPlace: where the data belongs
    std::uint64_t foundOffset = 0;
    std::uint32_t changedBits = 0;  // ChangedBits: in that 4 KiB
};

// Run-level figures of a verified run, kept in its outcome.
struct RunFigures {
    std::uint64_t bytesVerified = 0;
    DataMismatch firstMismatch {};  // kind None when all data read back as written
    double generatorRate = 0.0;   // MB/s of the stamp generator on one core; 0 unverified
    double checkerRate = 0.0;     // MB/s of the read-back check
    // Timed transfers that had to wait for the stamps to be made or checked:
    // 0 when the CPU kept ahead of the drive all run.
    std::uint64_t transfersWaited = 0;
};

// The lasting fall of a write pass's rate, as when a drive's fast cache is
// full and the writes go on at the speed of the memory behind it.
//
// The rule, over the pass's samples in time order: the split into a part
// before and a part after is the one that best explains the samples as two
// levels (the largest s * (n - s) * (before - after)^2, s samples before,
// the between-parts variance), with each part at least 3 samples and a tenth
// of the pass. It is a cliff when the mean after is at most 75 % of the mean
// before, and the last half of the part after is too: the fall lasts.
inline constexpr int kCliffMinSamples = 3;
inline constexpr double kCliffMostAfter = 0.75;  // of the rate before

// sampleSeconds is the pass's sample interval: where the fall came, in
// seconds and bytes, is counted on that grid.
CliffFigure FindCacheCliff(const double* samples, int sampleCount, double sampleSeconds);

}  // namespace kel
