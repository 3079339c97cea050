#include "view/PngFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace kel {

namespace {

constexpr std::size_t kStoredBlockMax = 65535;

std::array<std::uint32_t, 256> MakeCrcTable()
{
    std::array<std::uint32_t, 256> table {};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1u) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[n] = c;
    }
    return table;
}

std::uint32_t Crc32(std::string_view bytes)
{
    static const std::array<std::uint32_t, 256> table = MakeCrcTable();
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        c = table[(c ^ static_cast<unsigned char>(byte)) & 0xFFu] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(std::string_view bytes)
{
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const char byte : bytes) {
        a = (a + static_cast<unsigned char>(byte)) % 65521u;
        b = (b + a) % 65521u;
    }
    return (b << 16) | a;
}

void PutBigEndian(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFFu));
    }
}

void PutChunk(std::string& out, std::string_view type, std::string_view data)
{
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    std::string typed(type);
    typed.append(data);
    out.append(typed);
    PutBigEndian(out, Crc32(typed));
}

// The zlib stream of raw: a header, stored blocks and the Adler-32 sum.
std::string StoredZlib(std::string_view raw)
{
    std::string out("\x78\x01", 2);
    std::size_t at = 0;
    do {
        const std::size_t length = std::min(kStoredBlockMax, raw.size() - at);
        const bool last = at + length == raw.size();
        out.push_back(static_cast<char>(last ? 1 : 0));
        const auto len = static_cast<std::uint16_t>(length);
        const auto nlen = static_cast<std::uint16_t>(~len);
        for (const std::uint16_t word : {len, nlen}) {
            out.push_back(static_cast<char>(word & 0xFFu));
            out.push_back(static_cast<char>(word >> 8));
        }
        out.append(raw.substr(at, length));
        at += length;
    } while (at < raw.size());
    PutBigEndian(out, Adler32(raw));
    return out;
}

}  // namespace

std::string PngFileBytes(Canvas& canvas)
{
    const Size size = canvas.DevicePixels();
    if (size.IsEmpty()) {
        return {};
    }
    std::string raw;
    raw.reserve(static_cast<std::size_t>(size.height) * (1 + 3 * static_cast<std::size_t>(size.width)));
    for (int y = 0; y < size.height; ++y) {
        raw.push_back('\0');  // no filter
        const Colour* row = canvas.Row(y);
        for (int x = 0; x < size.width; ++x) {
            for (const int shift : {16, 8, 0}) {
                raw.push_back(static_cast<char>((row[x] >> shift) & 0xFFu));
            }
        }
    }
    std::string header;
    PutBigEndian(header, static_cast<std::uint32_t>(size.width));
    PutBigEndian(header, static_cast<std::uint32_t>(size.height));
    header.append("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter choice, no interlace

    std::string png("\x89PNG\r\n\x1a\n", 8);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", StoredZlib(raw));
    PutChunk(png, "IEND", {});
    return png;
}

}  // namespace kel
