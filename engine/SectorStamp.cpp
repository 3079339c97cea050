#include "engine/SectorStamp.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>

namespace kel {

namespace {

constexpr std::uint64_t kMagic = 0x504D5453544C454BULL;  // "KELTSTMP" read as little-endian bytes
constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ULL;
constexpr std::uint32_t kWordsPerSector = kSectorBytes / 8;
constexpr std::uint32_t kStampWords = 4;

// The splitmix64 finaliser: word i of a sector is Mix(seed + i * kGolden).
inline std::uint64_t Mix(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t PlaceWord(const StampKey& key) { return (static_cast<std::uint64_t>(key.fileIndex) << 32) | key.pass; }

std::uint64_t SectorSeed(const StampKey& key, std::uint64_t sectorOffset)
{
    return Mix(Mix(Mix(key.runId) ^ sectorOffset) ^ PlaceWord(key));
}

// Word i of the sector at sectorOffset; seed is that sector's.
inline std::uint64_t SectorWord(const StampKey& key, std::uint64_t sectorOffset, std::uint64_t seed, std::uint32_t i)
{
    switch (i) {
    case 0:
        return kMagic;
    case 1:
        return key.runId;
    case 2:
        return PlaceWord(key);
    case 3:
        return sectorOffset;
    default:
        return Mix(seed + i * kGolden);
    }
}

// Calls visit(words, sectorOffset, firstWord, wordCount) for each sector the range touches.
template <typename Visit>
bool ForEachSector(std::uint64_t offset, std::uint32_t bytes, Visit visit)
{
    std::uint32_t done = 0;
    while (done < bytes) {
        const std::uint64_t at = offset + done;
        const std::uint64_t sectorOffset = at - at % kSectorBytes;
        const auto first = static_cast<std::uint32_t>((at - sectorOffset) / 8);
        const std::uint32_t count = std::min(kWordsPerSector - first, (bytes - done) / 8);
        if (!visit(done, sectorOffset, first, count)) {
            return false;
        }
        done += count * 8;
    }
    return true;
}

std::uint64_t LoadWord(const std::uint8_t* p)
{
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

DataMismatch Describe(const std::uint8_t* data, const StampKey& key, std::uint64_t sectorOffset, std::uint32_t first,
                      std::uint32_t count)
{
    DataMismatch mismatch;
    mismatch.fileIndex = key.fileIndex;
    mismatch.offset = sectorOffset;
    const std::uint64_t seed = SectorSeed(key, sectorOffset);
    std::uint32_t changed = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        changed += static_cast<std::uint32_t>(
            std::popcount(LoadWord(data + i * 8) ^ SectorWord(key, sectorOffset, seed, first + i)));
    }
    // Unrelated data differs in about half its bits; a damaged sector in few.
    if (changed * 8 <= count * 64) {
        mismatch.kind = MismatchKind::ChangedBits;
        mismatch.changedBits = changed;
        return mismatch;
    }
    if (first == 0 && count >= kStampWords && LoadWord(data) == kMagic && LoadWord(data + 8) == key.runId) {
        const std::uint64_t place = LoadWord(data + 16);
        mismatch.foundFileIndex = static_cast<int>(place >> 32);
        mismatch.foundOffset = LoadWord(data + 24);
        const bool samePlace = mismatch.foundFileIndex == key.fileIndex && mismatch.foundOffset == sectorOffset;
        mismatch.kind = samePlace ? MismatchKind::OtherData : MismatchKind::OtherPlace;
        return mismatch;
    }
    mismatch.kind = MismatchKind::OtherData;
    return mismatch;
}

}  // namespace

void FillStamped(std::uint8_t* data, const StampKey& key, std::uint64_t offset, std::uint32_t bytes)
{
    ForEachSector(offset, bytes, [&](std::uint32_t at, std::uint64_t sectorOffset, std::uint32_t first,
                                     std::uint32_t count) {
        const std::uint64_t seed = SectorSeed(key, sectorOffset);
        std::uint8_t* out = data + at;
        std::uint32_t i = 0;
        for (; i < count && first + i < kStampWords; ++i) {
            const std::uint64_t word = SectorWord(key, sectorOffset, seed, first + i);
            std::memcpy(out + i * 8, &word, 8);
        }
        for (; i < count; ++i) {
            const std::uint64_t word = Mix(seed + (first + i) * kGolden);
            std::memcpy(out + i * 8, &word, 8);
        }
        return true;
    });
}

DataMismatch CheckStamped(const std::uint8_t* data, const StampKey& key, std::uint64_t offset, std::uint32_t bytes)
{
    DataMismatch found;
    ForEachSector(offset, bytes, [&](std::uint32_t at, std::uint64_t sectorOffset, std::uint32_t first,
                                     std::uint32_t count) {
        const std::uint64_t seed = SectorSeed(key, sectorOffset);
        const std::uint8_t* in = data + at;
        std::uint64_t differ = 0;
        std::uint32_t i = 0;
        for (; i < count && first + i < kStampWords; ++i) {
            differ |= LoadWord(in + i * 8) ^ SectorWord(key, sectorOffset, seed, first + i);
        }
        for (; i < count; ++i) {
            differ |= LoadWord(in + i * 8) ^ Mix(seed + (first + i) * kGolden);
        }
        if (differ == 0) {
            return true;
        }
        found = Describe(in, key, sectorOffset, first, count);
        return false;
    });
    return found;
}

std::string MismatchText(const DataMismatch& mismatch, const std::string& fileName, const std::string& foundName)
{
    const auto offset = static_cast<unsigned long long>(mismatch.offset);
    char text[1024];
    switch (mismatch.kind) {
    case MismatchKind::OtherPlace:
        std::snprintf(text, sizeof text,
                      "File \"%s\" at offset %llu holds the data written to file \"%s\" at offset %llu.\n\n"
                      "The drive wraps around: it holds less than it claims (fake capacity).",
                      fileName.c_str(), offset, foundName.c_str(),
                      static_cast<unsigned long long>(mismatch.foundOffset));
        break;
    case MismatchKind::ChangedBits:
        std::snprintf(text, sizeof text, "Read back changed data: file \"%s\" at offset %llu has %u %s changed.",
                      fileName.c_str(), offset, mismatch.changedBits, mismatch.changedBits == 1 ? "bit" : "bits");
        break;
    case MismatchKind::OtherData:
    case MismatchKind::None:
        std::snprintf(text, sizeof text, "Read back other data than written: file \"%s\" at offset %llu.",
                      fileName.c_str(), offset);
        break;
    }
    return text;
}

}  // namespace kel
