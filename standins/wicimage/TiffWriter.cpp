#include "TiffWriter.h"

#include <cmath>
#include <cstdint>

namespace wicimage {

namespace {

// Most significant bit first, as TIFF's fill order 1 and both codings want.
class BitWriter {
public:
    explicit BitWriter(std::string& out) : m_out(out) {}

    void Put(std::uint32_t code, int bits) {
        m_buffer = (m_buffer << bits) | (code & ((1u << bits) - 1));
        m_count += bits;
        while (m_count >= 8) {
            m_count -= 8;
            m_out.push_back(static_cast<char>((m_buffer >> m_count) & 0xFF));
        }
        m_buffer &= (1u << m_count) - 1;
    }
    // Pads the last byte with zero bits.
    void Flush() {
        if (m_count > 0) {
            Put(0, 8 - m_count);
        }
    }

private:
    std::string& m_out;
    std::uint32_t m_buffer = 0;
    int m_count = 0;
};

// ---- CCITT group 4 (T.6) ------------------------------------------------------------------

struct RunCode {
    std::uint16_t code;
    std::uint8_t bits;
};

// Terminating codes of runs 0..63 (T.4 table 2).
const RunCode kWhiteTerminating[64] = {
    {0x35, 8}, {0x07, 6}, {0x07, 4}, {0x08, 4}, {0x0B, 4}, {0x0C, 4}, {0x0E, 4}, {0x0F, 4},
    {0x13, 5}, {0x14, 5}, {0x07, 5}, {0x08, 5}, {0x08, 6}, {0x03, 6}, {0x34, 6}, {0x35, 6},
    {0x2A, 6}, {0x2B, 6}, {0x27, 7}, {0x0C, 7}, {0x08, 7}, {0x17, 7}, {0x03, 7}, {0x04, 7},
    {0x28, 7}, {0x2B, 7}, {0x13, 7}, {0x24, 7}, {0x18, 7}, {0x02, 8}, {0x03, 8}, {0x1A, 8},
    {0x1B, 8}, {0x12, 8}, {0x13, 8}, {0x14, 8}, {0x15, 8}, {0x16, 8}, {0x17, 8}, {0x28, 8},
    {0x29, 8}, {0x2A, 8}, {0x2B, 8}, {0x2C, 8}, {0x2D, 8}, {0x04, 8}, {0x05, 8}, {0x0A, 8},
    {0x0B, 8}, {0x52, 8}, {0x53, 8}, {0x54, 8}, {0x55, 8}, {0x24, 8}, {0x25, 8}, {0x58, 8},
    {0x59, 8}, {0x5A, 8}, {0x5B, 8}, {0x4A, 8}, {0x4B, 8}, {0x32, 8}, {0x33, 8}, {0x34, 8},
};
const RunCode kBlackTerminating[64] = {
    {0x37, 10}, {0x02, 3},  {0x03, 2},  {0x02, 2},  {0x03, 3},  {0x03, 4},  {0x02, 4},  {0x03, 5},
    {0x05, 6},  {0x04, 6},  {0x04, 7},  {0x05, 7},  {0x07, 7},  {0x04, 8},  {0x07, 8},  {0x18, 9},
    {0x17, 10}, {0x18, 10}, {0x08, 10}, {0x67, 11}, {0x68, 11}, {0x6C, 11}, {0x37, 11}, {0x28, 11},
    {0x17, 11}, {0x18, 11}, {0xCA, 12}, {0xCB, 12}, {0xCC, 12}, {0xCD, 12}, {0x68, 12}, {0x69, 12},
    {0x6A, 12}, {0x6B, 12}, {0xD2, 12}, {0xD3, 12}, {0xD4, 12}, {0xD5, 12}, {0xD6, 12}, {0xD7, 12},
    {0x6C, 12}, {0x6D, 12}, {0xDA, 12}, {0xDB, 12}, {0x54, 12}, {0x55, 12}, {0x56, 12}, {0x57, 12},
    {0x64, 12}, {0x65, 12}, {0x52, 12}, {0x53, 12}, {0x24, 12}, {0x37, 12}, {0x38, 12}, {0x27, 12},
    {0x28, 12}, {0x58, 12}, {0x59, 12}, {0x2B, 12}, {0x2C, 12}, {0x5A, 12}, {0x66, 12}, {0x67, 12},
};
// Make-up codes of runs 64, 128 .. 1728 (T.4 table 3a).
const RunCode kWhiteMakeUp[27] = {
    {0x1B, 5}, {0x12, 5}, {0x17, 6}, {0x37, 7}, {0x36, 8}, {0x37, 8}, {0x64, 8},
    {0x65, 8}, {0x68, 8}, {0x67, 8}, {0xCC, 9}, {0xCD, 9}, {0xD2, 9}, {0xD3, 9},
    {0xD4, 9}, {0xD5, 9}, {0xD6, 9}, {0xD7, 9}, {0xD8, 9}, {0xD9, 9}, {0xDA, 9},
    {0xDB, 9}, {0x98, 9}, {0x99, 9}, {0x9A, 9}, {0x18, 6}, {0x9B, 9},
};
const RunCode kBlackMakeUp[27] = {
    {0x0F, 10}, {0xC8, 12}, {0xC9, 12}, {0x5B, 12}, {0x33, 12}, {0x34, 12}, {0x35, 12},
    {0x6C, 13}, {0x6D, 13}, {0x4A, 13}, {0x4B, 13}, {0x4C, 13}, {0x4D, 13}, {0x72, 13},
    {0x73, 13}, {0x74, 13}, {0x75, 13}, {0x76, 13}, {0x77, 13}, {0x52, 13}, {0x53, 13},
    {0x54, 13}, {0x55, 13}, {0x5A, 13}, {0x5B, 13}, {0x64, 13}, {0x65, 13},
};
// Make-up codes of runs 1792, 1856 .. 2560, both colours (T.4 table 3b).
const RunCode kCommonMakeUp[13] = {
    {0x08, 11}, {0x0C, 11}, {0x0D, 11}, {0x12, 12}, {0x13, 12}, {0x14, 12}, {0x15, 12},
    {0x16, 12}, {0x17, 12}, {0x1C, 12}, {0x1D, 12}, {0x1E, 12}, {0x1F, 12},
};
// Vertical modes by b1 - a1 + 3: VR3, VR2, VR1, V0, VL1, VL2, VL3 (T.4 table 4).
const RunCode kVertical[7] = {{0x03, 7}, {0x03, 6}, {0x03, 3}, {0x1, 1},
                              {0x02, 3}, {0x02, 6}, {0x02, 7}};
const RunCode kPass = {0x1, 4};
const RunCode kHorizontal = {0x1, 3};

void PutCode(BitWriter& out, const RunCode& code) {
    out.Put(code.code, code.bits);
}

RunCode MakeUp(int run, bool black) {
    if (run >= 1792) {
        return kCommonMakeUp[(run - 1792) / 64];
    }
    return (black ? kBlackMakeUp : kWhiteMakeUp)[run / 64 - 1];
}

void PutRun(BitWriter& out, int run, bool black) {
    while (run >= 2624) {
        PutCode(out, kCommonMakeUp[12]); // 2560
        run -= 2560;
    }
    if (run >= 64) {
        PutCode(out, MakeUp(run, black));
        run -= run / 64 * 64;
    }
    PutCode(out, (black ? kBlackTerminating : kWhiteTerminating)[run]);
}

// The first position from start on whose pixel is not colour; width when there is none.
int NextOther(const std::vector<std::uint8_t>& line, int start, int colour) {
    const int width = static_cast<int>(line.size());
    while (start < width && line[start] == colour) {
        ++start;
    }
    return start;
}

int Pixel(const std::vector<std::uint8_t>& line, int at) {
    return at < static_cast<int>(line.size()) ? line[at] : 0;
}

// One coding line against its reference line (T.6 two-dimensional coding).
void EncodeLine(BitWriter& out, const std::vector<std::uint8_t>& reference,
                const std::vector<std::uint8_t>& line) {
    const int width = static_cast<int>(line.size());
    int a0 = 0;
    int a1 = line[0] ? 0 : NextOther(line, 0, 0);
    int b1 = reference[0] ? 0 : NextOther(reference, 0, 0);
    for (;;) {
        const int b2 = b1 < width ? NextOther(reference, b1, Pixel(reference, b1)) : width;
        if (b2 < a1) {
            PutCode(out, kPass);
            a0 = b2;
        } else if (b1 - a1 >= -3 && b1 - a1 <= 3) {
            PutCode(out, kVertical[b1 - a1 + 3]);
            a0 = a1;
        } else {
            const int a2 = a1 < width ? NextOther(line, a1, Pixel(line, a1)) : width;
            PutCode(out, kHorizontal);
            // At the start (a0 imaginary, colour white) and after a white a0 the first run is
            // white.
            const bool firstBlack = !(a0 + a1 == 0 || Pixel(line, a0) == 0);
            PutRun(out, a1 - a0, firstBlack);
            PutRun(out, a2 - a1, !firstBlack);
            a0 = a2;
        }
        if (a0 >= width) {
            break;
        }
        const int colour = Pixel(line, a0);
        a1 = NextOther(line, a0, colour);
        b1 = NextOther(reference, a0, !colour);
        b1 = NextOther(reference, b1, colour);
    }
}

// ---- LZW (TIFF's variant: codes of 9 to 12 bits, widened one code late) -------------------

constexpr int kClear = 256;
constexpr int kEndOfInformation = 257;
constexpr int kFirstCode = 258;
constexpr int kMaxCode = 4095;

// ---- TIFF structure ---------------------------------------------------------------------

void Put16(std::string& out, unsigned value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void Set32(std::string& out, size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

struct Entry {
    std::uint16_t tag;
    std::uint16_t type; // 3 SHORT, 4 LONG, 5 RATIONAL
    std::uint32_t count;
    std::uint32_t value; // or the offset of the values
};

std::string PageData(const Picture& page, bool compressed, int& compression) {
    if (page.kind == PixelKind::Bilevel) {
        const std::string rows = RawRows(page, 1);
        compression = compressed ? 4 : 1;
        return compressed ? EncodeGroup4(rows, page.width, page.height) : rows;
    }
    const std::string samples(page.samples.begin(), page.samples.end());
    compression = compressed ? 5 : 1;
    return compressed ? EncodeLzw(samples) : samples;
}

// Resolution as a rational of thousandths of a dot per inch.
void PutResolution(std::string& out, double dpi) {
    Put32(out, static_cast<std::uint32_t>(std::lround((dpi > 0.0 ? dpi : 72.0) * 1000.0)));
    Put32(out, 1000);
}

} // namespace

std::string EncodeGroup4(const std::string& rows, int width, int height) {
    std::string out;
    BitWriter bits(out);
    const size_t rowBytes = (static_cast<size_t>(width) + 7) / 8;
    std::vector<std::uint8_t> reference(width, 0);
    std::vector<std::uint8_t> line(width, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            line[x] = (rows[y * rowBytes + x / 8] >> (7 - x % 8)) & 1;
        }
        EncodeLine(bits, reference, line);
        reference.swap(line);
    }
    bits.Put(0x001, 12); // end of facsimile block: two EOL codes
    bits.Put(0x001, 12);
    bits.Flush();
    return out;
}

std::string EncodeLzw(const std::string& bytes) {
    std::string out;
    BitWriter bits(out);
    // The code of (prefix code, next byte), 0 for none: a flat table, emptied on each clear.
    std::vector<std::uint16_t> table(static_cast<size_t>(kMaxCode + 1) * 256, 0);
    std::vector<size_t> used;
    int width = 9;
    int next = kFirstCode;
    bits.Put(kClear, width);
    if (bytes.empty()) {
        bits.Put(kEndOfInformation, width);
        bits.Flush();
        return out;
    }
    // After each code written the reader adds a table entry; both sides widen together.
    auto added = [&]() {
        ++next;
        if (next == kMaxCode - 1) {
            bits.Put(kClear, width);
            for (const size_t index : used) {
                table[index] = 0;
            }
            used.clear();
            width = 9;
            next = kFirstCode;
        } else if (next > (1 << width) - 1) {
            ++width;
        }
    };
    int prefix = static_cast<unsigned char>(bytes[0]);
    for (size_t i = 1; i < bytes.size(); ++i) {
        const int byte = static_cast<unsigned char>(bytes[i]);
        const size_t index = static_cast<size_t>(prefix) * 256 + byte;
        if (table[index] != 0) {
            prefix = table[index];
            continue;
        }
        bits.Put(prefix, width);
        table[index] = static_cast<std::uint16_t>(next);
        used.push_back(index);
        added();
        prefix = byte;
    }
    bits.Put(prefix, width);
    added();
    bits.Put(kEndOfInformation, width);
    bits.Flush();
    return out;
}

std::string WriteTiff(const std::vector<const Picture*>& pages, bool compressed) {
    std::string out = "II";
    Put16(out, 42);
    size_t link = out.size(); // where the next IFD's offset goes
    Put32(out, 0);
    for (const Picture* page : pages) {
        int compression = 1;
        const std::string data = PageData(*page, compressed, compression);
        const std::uint32_t dataOffset = static_cast<std::uint32_t>(out.size());
        out += data;
        if (out.size() % 2) {
            out.push_back('\0');
        }
        // Values that do not fit in an entry: bits per sample of colour, both resolutions.
        const std::uint32_t bitsOffset = static_cast<std::uint32_t>(out.size());
        Put16(out, 8);
        Put16(out, 8);
        Put16(out, 8);
        Put16(out, 0);
        const std::uint32_t xOffset = static_cast<std::uint32_t>(out.size());
        PutResolution(out, page->dpiX);
        const std::uint32_t yOffset = static_cast<std::uint32_t>(out.size());
        PutResolution(out, page->dpiY);
        const bool colour = page->kind == PixelKind::Colour;
        const bool bilevel = page->kind == PixelKind::Bilevel;
        const std::uint32_t height = static_cast<std::uint32_t>(page->height);
        const Entry entries[] = {
            {254, 4, 1, 0},
            {256, 4, 1, static_cast<std::uint32_t>(page->width)},
            {257, 4, 1, height},
            {258, 3, colour ? 3u : 1u, colour ? bitsOffset : (bilevel ? 1u : 8u)},
            {259, 3, 1, static_cast<std::uint32_t>(compression)},
            {262, 3, 1, colour ? 2u : (bilevel ? 0u : 1u)},
            {273, 4, 1, dataOffset},
            {277, 3, 1, colour ? 3u : 1u},
            {278, 4, 1, height},
            {279, 4, 1, static_cast<std::uint32_t>(data.size())},
            {282, 5, 1, xOffset},
            {283, 5, 1, yOffset},
            {284, 3, 1, 1},
            {296, 3, 1, 2},
        };
        const std::uint32_t ifd = static_cast<std::uint32_t>(out.size());
        Set32(out, link, ifd);
        Put16(out, sizeof(entries) / sizeof(entries[0]));
        for (const Entry& entry : entries) {
            Put16(out, entry.tag);
            Put16(out, entry.type);
            Put32(out, entry.count);
            if (entry.type == 3 && entry.count == 1) {
                Put16(out, entry.value);
                Put16(out, 0);
            } else {
                Put32(out, entry.value);
            }
        }
        link = out.size();
        Put32(out, 0);
    }
    return out;
}

} // namespace wicimage
