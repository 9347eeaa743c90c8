#pragma once
// A small reader, writer and resampler of BMP images, working on two separate blocks: the
// header (the 40-byte information header followed by the colour table) and the pixels. It reads
// uncompressed images and 8-bit run-length images of 1, 4, 8, 16, 24 and 32 bits per pixel and
// always writes uncompressed, bottom-up images.
//
// Every BMP is untrusted input: sizes in the headers are checked against the real length of the
// data and against fixed limits before anything is allocated, and every write of the run-length
// decoder stays inside the pixel block.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class DibStream
{
public:
    // Depth mask bits: 1 bit, 4, 8, 16, 24, 32 bits per pixel.
    static constexpr unsigned kDepth1 = 1u << 0;
    static constexpr unsigned kDepth4 = 1u << 1;
    static constexpr unsigned kDepth8 = 1u << 2;
    static constexpr unsigned kDepth16 = 1u << 3;
    static constexpr unsigned kDepth24 = 1u << 4;
    static constexpr unsigned kDepth32 = 1u << 5;
    static constexpr unsigned kAllDepths = 63;

    static constexpr size_t kFileHeaderSize = 14;
    static constexpr size_t kInfoHeaderSize = 40;
    // Limits of what we accept: wider or taller images, or more pixel bytes, are refused.
    static constexpr int32_t kMaxDimension = 32768;
    static constexpr uint64_t kMaxPixelBytes = 64ull << 20;

    DibStream() = default;
    virtual ~DibStream();

    // Reads a BMP file; false (both blocks freed, ErrorText set) on any failure.
    bool Read(const std::string& path, unsigned depthMask = kAllDepths);
    bool ReadMemory(const uint8_t* data, size_t size, unsigned depthMask = kAllDepths);
    // The image as a whole BMP file: uncompressed and bottom-up. Empty without an image.
    std::vector<uint8_t> WriteMemory() const;
    // Writes the file (temporary file, then rename); false when it cannot be written.
    bool Write(const std::string& path) const;
    // Resamples to newWidth x newHeight (both at least 1); false without an image or for a
    // size outside the limits.
    bool Resample(int newWidth, int newHeight);
    void Free();

    bool IsEmpty() const { return m_header.empty(); }
    int32_t Width() const;
    // Negative for a top-down image.
    int32_t Height() const;
    int BitCount() const;
    int ColorCount() const { return m_colors; }
    const std::vector<uint8_t>& Header() const { return m_header; }
    const std::vector<uint8_t>& Pixels() const { return m_pixels; }
    const std::string& ErrorText() const { return m_error; }

    // Bytes per row: ((bits x width + 31) / 8) cut down to a multiple of 4.
    static uint64_t Stride(int bits, int64_t width);
    // Colour-table entries of a header: the colours-used field, else 2^bits up to 8 bits.
    static int ColorsOf(int bits, uint32_t colorsUsed);

private:
    bool Fail(const char* why);
    bool DecodeRle8(const uint8_t* data, size_t size, int32_t width, int32_t height, uint64_t stride);

    std::vector<uint8_t> m_header; // info header + colour table
    std::vector<uint8_t> m_pixels;
    int m_colors = 0;
    std::string m_error;
};

// Little-endian field access of BMP headers.
inline uint16_t DibGet16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t DibGet32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}
inline void DibPut16(uint8_t* p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void DibPut32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}
