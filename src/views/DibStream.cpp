#include "views/DibStream.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/RegularFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {
constexpr size_t kHeadersSize = DibStream::kFileHeaderSize + DibStream::kInfoHeaderSize; // 54

// Offsets inside the information header.
constexpr size_t kInfoWidth = 4;
constexpr size_t kInfoHeight = 8;
constexpr size_t kInfoBitCount = 14;
constexpr size_t kInfoCompression = 16;
constexpr size_t kInfoImageSize = 20;
constexpr size_t kInfoColorsUsed = 32;

int DepthBit(int bits)
{
    switch (bits) {
    case 1:
        return 0;
    case 4:
        return 1;
    case 8:
        return 2;
    case 16:
        return 3;
    case 24:
        return 4;
    case 32:
        return 5;
    default:
        return -1;
    }
}

// Source position of destination index k: the pixel i and the weight (of 256) of pixel i + 1 on a
// smoothstep curve. A one-pixel source or target maps everything onto pixel 0.
struct Tap
{
    int i0 = 0;
    int i1 = 0;
    int w = 0; // weight of i1; i0 gets 256 - w
};

std::vector<Tap> MapAxis(int srcCount, int dstCount)
{
    std::vector<Tap> taps(static_cast<size_t>(dstCount));
    if (srcCount <= 1 || dstCount <= 1)
        return taps;
    for (int k = 0; k < dstCount; ++k) {
        const double pos = static_cast<double>(k) * (srcCount - 1) / (dstCount - 1);
        int i = static_cast<int>(pos);
        Tap t;
        if (i >= srcCount - 1) {
            t.i0 = srcCount - 2;
            t.i1 = srcCount - 1;
            t.w = 256;
        } else {
            const double f = pos - i;
            t.i0 = i;
            t.i1 = i + 1;
            t.w = static_cast<int>(256.0 * f * f * (3.0 - 2.0 * f));
        }
        taps[static_cast<size_t>(k)] = t;
    }
    return taps;
}

uint32_t GetIndex(const uint8_t* row, int bits, int x)
{
    switch (bits) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4:
        return (x & 1) ? (row[x >> 1] & 0x0Fu) : (row[x >> 1] >> 4);
    case 8:
        return row[x];
    default:
        return DibGet16(row + 2 * x); // 16
    }
}

void SetIndex(uint8_t* row, int bits, int x, uint32_t v)
{
    switch (bits) {
    case 1:
        row[x >> 3] = static_cast<uint8_t>(row[x >> 3] | ((v & 1u) << (7 - (x & 7))));
        break;
    case 4:
        row[x >> 1] = static_cast<uint8_t>(row[x >> 1] | ((x & 1) ? (v & 0x0Fu) : ((v & 0x0Fu) << 4)));
        break;
    case 8:
        row[x] = static_cast<uint8_t>(v);
        break;
    default:
        DibPut16(row + 2 * x, static_cast<uint16_t>(v));
        break;
    }
}
} // namespace

DibStream::~DibStream() = default;

uint64_t DibStream::Stride(int bits, int64_t width)
{
    return ((static_cast<uint64_t>(bits) * static_cast<uint64_t>(width) + 31) / 8) & ~uint64_t{3};
}

int DibStream::ColorsOf(int bits, uint32_t colorsUsed)
{
    if (colorsUsed != 0)
        return colorsUsed > 256 ? -1 : static_cast<int>(colorsUsed);
    return bits <= 8 ? (1 << bits) : 0;
}

int32_t DibStream::Width() const
{
    return m_header.size() >= kInfoHeaderSize ? static_cast<int32_t>(DibGet32(m_header.data() + kInfoWidth)) : 0;
}

int32_t DibStream::Height() const
{
    return m_header.size() >= kInfoHeaderSize ? static_cast<int32_t>(DibGet32(m_header.data() + kInfoHeight)) : 0;
}

int DibStream::BitCount() const
{
    return m_header.size() >= kInfoHeaderSize ? DibGet16(m_header.data() + kInfoBitCount) : 0;
}

void DibStream::Free()
{
    m_header.clear();
    m_header.shrink_to_fit();
    m_pixels.clear();
    m_pixels.shrink_to_fit();
    m_colors = 0;
}

bool DibStream::Fail(const char* why)
{
    Free();
    m_error = why;
    return false;
}

bool DibStream::Read(const std::string& path, unsigned depthMask)
{
    if (!IsRegularFile(path))
        return Fail("The picture file cannot be opened.");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Fail("The picture file cannot be opened.");
    in.seekg(0, std::ios::end);
    const std::streamoff length = in.tellg();
    // A file larger than any image we accept (plus its headers) is refused before it is read.
    if (length < 0 || static_cast<uint64_t>(length) > 2 * kMaxPixelBytes + (1u << 20))
        return Fail("The picture file is too large.");
    in.seekg(0, std::ios::beg);
    std::vector<uint8_t> data(static_cast<size_t>(length));
    if (length > 0 && !in.read(reinterpret_cast<char*>(data.data()), length))
        return Fail("The picture file cannot be read.");
    return ReadMemory(data.data(), data.size(), depthMask);
}

bool DibStream::ReadMemory(const uint8_t* data, size_t size, unsigned depthMask)
{
    Free();
    m_error.clear();
    if (!data || size < kHeadersSize)
        return Fail("The file is too short for a bitmap.");
    if (data[0] != 'B' || data[1] != 'M')
        return Fail("The file is not a bitmap.");
    const uint8_t* info = data + kFileHeaderSize;
    if (DibGet32(info) != kInfoHeaderSize)
        return Fail("The bitmap's header is of an unsupported kind.");
    const int32_t width = static_cast<int32_t>(DibGet32(info + kInfoWidth));
    const int32_t height = static_cast<int32_t>(DibGet32(info + kInfoHeight));
    const int bits = DibGet16(info + kInfoBitCount);
    const uint32_t compression = DibGet32(info + kInfoCompression);
    const int depth = DepthBit(bits);
    if (depth < 0 || !(depthMask & (1u << depth)))
        return Fail("The bitmap's colour depth is not supported.");
    if (compression != 0 && !(compression == 1 && bits == 8))
        return Fail("The bitmap's compression is not supported.");
    if (width < 1 || width > kMaxDimension || height == 0 || height < -kMaxDimension || height > kMaxDimension)
        return Fail("The bitmap's size is out of range.");
    // Run-length data run bottom-up only.
    if (compression == 1 && height < 0)
        return Fail("The bitmap's compression is not supported.");
    const int colors = ColorsOf(bits, DibGet32(info + kInfoColorsUsed));
    if (colors < 0)
        return Fail("The bitmap's colour table is too large.");
    const size_t tableEnd = kHeadersSize + 4 * static_cast<size_t>(colors);
    if (tableEnd > size)
        return Fail("The bitmap's colour table is cut short.");
    const int32_t rows = height < 0 ? -height : height;
    const uint64_t stride = Stride(bits, width);
    const uint64_t pixelSize = stride * static_cast<uint64_t>(rows);
    if (pixelSize > kMaxPixelBytes)
        return Fail("The bitmap is too large.");
    const uint32_t offset = DibGet32(data + 10);
    const size_t start = offset != 0 ? offset : tableEnd;
    if (start < kHeadersSize || start > size)
        return Fail("The bitmap's pixel offset is out of range.");

    m_header.assign(info, info + (tableEnd - kFileHeaderSize));
    m_colors = colors;
    if (compression == 0) {
        if (size - start < pixelSize)
            return Fail("The bitmap's pixels are cut short.");
        m_pixels.assign(data + start, data + start + pixelSize);
    } else {
        m_pixels.assign(static_cast<size_t>(pixelSize), 0);
        if (!DecodeRle8(data + start, size - start, width, rows, stride))
            return false;
        DibPut32(m_header.data() + kInfoCompression, 0);
    }
    DibPut32(m_header.data() + kInfoImageSize, static_cast<uint32_t>(pixelSize));
    return true;
}

bool DibStream::DecodeRle8(const uint8_t* data, size_t size, int32_t width, int32_t rows, uint64_t stride)
{
    int64_t x = 0;
    int64_t y = 0;
    size_t pos = 0;
    auto put = [&](uint8_t value) {
        if (x >= 0 && x < width && y >= 0 && y < rows)
            m_pixels[static_cast<size_t>(y) * stride + static_cast<size_t>(x)] = value;
        ++x;
    };
    while (pos + 1 < size && y < rows) {
        const uint8_t n = data[pos];
        const uint8_t c = data[pos + 1];
        pos += 2;
        if (n > 0) {
            for (int k = 0; k < n && x < width; ++k)
                put(c);
            continue;
        }
        if (c == 0) { // end of line
            x = 0;
            ++y;
        } else if (c == 1) { // end of bitmap
            break;
        } else if (c == 2) { // move
            if (pos + 2 > size)
                return Fail("The bitmap's run-length data are cut short.");
            x += data[pos];
            y += data[pos + 1];
            pos += 2;
        } else { // literal run, padded to a whole word
            if (pos + c > size)
                return Fail("The bitmap's run-length data are cut short.");
            for (int k = 0; k < c; ++k)
                put(data[pos + static_cast<size_t>(k)]);
            pos += c + (c & 1u);
        }
    }
    return true;
}

std::vector<uint8_t> DibStream::WriteMemory() const
{
    std::vector<uint8_t> out;
    if (IsEmpty())
        return out;
    const int32_t height = Height();
    const int32_t rows = height < 0 ? -height : height;
    const uint64_t stride = Stride(BitCount(), Width());
    const uint32_t offset = static_cast<uint32_t>(kHeadersSize + 4 * static_cast<size_t>(m_colors));
    const uint64_t pixelSize = stride * static_cast<uint64_t>(rows);
    out.resize(offset + pixelSize);
    out[0] = 'B';
    out[1] = 'M';
    DibPut32(out.data() + 2, static_cast<uint32_t>(pixelSize + offset));
    DibPut32(out.data() + 10, offset);
    std::memcpy(out.data() + kFileHeaderSize, m_header.data(),
                std::min<size_t>(m_header.size(), offset - kFileHeaderSize));
    uint8_t* info = out.data() + kFileHeaderSize;
    DibPut32(info + kInfoHeight, static_cast<uint32_t>(rows));
    DibPut32(info + kInfoImageSize, static_cast<uint32_t>(pixelSize));
    DibPut32(info + kInfoCompression, 0);
    uint8_t* bits = out.data() + offset;
    for (int32_t r = 0; r < rows; ++r) {
        // A top-down image's first row is its top: the file is written bottom-up.
        const int32_t src = height < 0 ? rows - 1 - r : r;
        const size_t from = static_cast<size_t>(src) * stride;
        if (from + stride <= m_pixels.size())
            std::memcpy(bits + static_cast<size_t>(r) * stride, m_pixels.data() + from, stride);
    }
    return out;
}

bool DibStream::Write(const std::string& path) const
{
    const std::vector<uint8_t> bytes = WriteMemory();
    if (bytes.empty())
        return false;
    CAtomicFile file(path);
    return file.Open() && file.Write(bytes.data(), bytes.size()) && file.Commit();
}

bool DibStream::Resample(int newWidth, int newHeight)
{
    if (IsEmpty() || newWidth < 1 || newHeight < 1 || newWidth > kMaxDimension || newHeight > kMaxDimension)
        return false;
    const int bits = BitCount();
    if (DepthBit(bits) < 0)
        return false;
    const uint64_t newStride = Stride(bits, newWidth);
    if (newStride * static_cast<uint64_t>(newHeight) > kMaxPixelBytes)
        return false;
    const int width = Width();
    const int32_t height = Height();
    const int rows = height < 0 ? -height : height;
    const uint64_t stride = Stride(bits, width);
    if (stride * static_cast<uint64_t>(rows) > m_pixels.size())
        return false;

    const std::vector<Tap> cols = MapAxis(width, newWidth);
    const std::vector<Tap> rowTaps = MapAxis(rows, newHeight);
    std::vector<uint8_t> out(static_cast<size_t>(newStride) * static_cast<size_t>(newHeight), 0);
    for (int y = 0; y < newHeight; ++y) {
        const Tap& ty = rowTaps[static_cast<size_t>(y)];
        const uint8_t* r0 = m_pixels.data() + static_cast<size_t>(ty.i0) * stride;
        const uint8_t* r1 = m_pixels.data() + static_cast<size_t>(ty.i1) * stride;
        uint8_t* dst = out.data() + static_cast<size_t>(y) * newStride;
        if (bits <= 16) {
            // Palette indices (and packed 16-bit colours) are never mixed: the nearer pixel wins.
            const uint8_t* row = ty.w >= 128 ? r1 : r0;
            for (int x = 0; x < newWidth; ++x) {
                const Tap& tx = cols[static_cast<size_t>(x)];
                SetIndex(dst, bits, x, GetIndex(row, bits, tx.w >= 128 ? tx.i1 : tx.i0));
            }
        } else {
            const int bytes = bits / 8;
            const int wy1 = ty.w;
            const int wy0 = 256 - wy1;
            for (int x = 0; x < newWidth; ++x) {
                const Tap& tx = cols[static_cast<size_t>(x)];
                const int wx1 = tx.w;
                const int wx0 = 256 - wx1;
                for (int b = 0; b < bytes; ++b) {
                    const int p00 = r0[tx.i0 * bytes + b];
                    const int p01 = r0[tx.i1 * bytes + b];
                    const int p10 = r1[tx.i0 * bytes + b];
                    const int p11 = r1[tx.i1 * bytes + b];
                    dst[x * bytes + b] =
                        static_cast<uint8_t>(((p00 * wx0 + p01 * wx1) * wy0 + (p10 * wx0 + p11 * wx1) * wy1) / 65536);
                }
            }
        }
    }
    DibPut32(m_header.data() + kInfoWidth, static_cast<uint32_t>(newWidth));
    DibPut32(m_header.data() + kInfoHeight, static_cast<uint32_t>(height < 0 ? -newHeight : newHeight));
    DibPut32(m_header.data() + kInfoImageSize, static_cast<uint32_t>(out.size()));
    DibPut32(m_header.data() + kInfoCompression, 0);
    m_pixels = std::move(out);
    return true;
}
