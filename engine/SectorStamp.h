#pragma once
// The data of a verified run. Every 4 KiB sector of a test file starts with
// a stamp of what it is (a magic word, the run's id, the file, the write pass
// and the sector's offset) followed by pseudo-random words seeded from that
// stamp, so no two sectors of a run are alike and nothing compresses or
// deduplicates. Any word of a sector can be made on its own (a counter-based
// generator), so transfers need not be sector-aligned: only 8-byte aligned.

#include "engine/PassFigures.h"

#include <cstdint>
#include <string>

namespace kel {

inline constexpr std::uint32_t kSectorBytes = 4096;

// Who wrote the data: the run, the file and the write pass (from 0).
struct StampKey {
    std::uint64_t runId = 0;
    int fileIndex = 0;
    std::uint32_t pass = 0;
};

// Fills bytes (a multiple of 8) of the file's data starting at file offset
// (a multiple of 8).
void FillStamped(std::uint8_t* data, const StampKey& key, std::uint64_t offset, std::uint32_t bytes);

// Checks data read from the file at offset against what key wrote there;
// kind None when it matches. Only the first differing sector is described.
DataMismatch CheckStamped(const std::uint8_t* data, const StampKey& key, std::uint64_t offset, std::uint32_t bytes);

// The message box text for a mismatch, with the test files' names.
std::string MismatchText(const DataMismatch& mismatch, const std::string& fileName, const std::string& foundName);

}  // namespace kel
