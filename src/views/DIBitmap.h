#pragma once
// A device-independent bitmap held as the complete image of a BMP file (file header, information
// header, colour table, pixels) in one block, so that it is stored and written byte for byte as
// it was loaded. Pictures of other formats are decoded into such an image; every loaded picture
// is reduced to at most 640 pixels wide on the way in.
#include "platform/archive/Object.h"

#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

class QPainter;
class QPoint;
class QRect;

class CDIBitmap : public CObject
{
    DECLARE_SERIAL(CDIBitmap)

public:
    static constexpr uint32_t kSchema = 1;
    static constexpr int kMaxWidth = 640;

    CDIBitmap();
    ~CDIBitmap() override;
    CDIBitmap(const CDIBitmap&) = delete;
    CDIBitmap& operator=(const CDIBitmap&) = delete;

    // A 32-bit byte count, then the block as it is.
    void Serialize(CArchive& ar) override;
    // A BMP file as it is, any other picture format through the image decoders; then the width is
    // limited to 640 pixels (the height follows the ratio). 1 on success, 0 on failure.
    virtual int LoadPicture(const std::string& path);
    // Reads a whole BMP file into the block; false (and no block) when it is not a readable BMP.
    virtual bool ReadFromFile(const std::string& path);
    // Writes the block to the file (temporary file, then rename); false without a block.
    virtual bool WriteToFile(const std::string& path) const;
    // Draws the picture unscaled at the point, or centred in the client rectangle without one.
    virtual void Draw(QPainter& painter, const QRect& client, const QPoint* at = nullptr) const;
    // Resamples to width x height (each at least 1); false without a block or when it fails.
    bool Resize(int width, int height);

    // Takes a whole BMP file image; false (and no block) when it is not a readable BMP.
    bool ReadFromMemory(std::vector<uint8_t> bytes);
    // Takes a decoded picture (as a 24-bit bottom-up image).
    bool FromImage(const QImage& image);

    bool HasBlock() const { return !m_block.empty(); }
    // True when the block holds a readable BMP (the views and the palette were derived).
    bool IsValid() const { return m_valid; }
    const std::vector<uint8_t>& Block() const { return m_block; }
    int Width() const { return m_width; }
    int Height() const { return m_height; } // always positive
    int BitCount() const { return m_bitCount; }
    // The drawing palette (images of 8 bits per pixel or fewer); empty otherwise.
    const std::vector<uint32_t>& Palette() const { return m_palette; }
    QImage ToImage() const;
    const std::string& ErrorText() const { return m_error; }
    void Clear();

private:
    // Checks the block and derives the sizes and the palette; false leaves the views empty.
    bool DeriveViews();

    std::vector<uint8_t> m_block;
    bool m_valid = false;
    int m_width = 0;
    int m_height = 0;
    int m_bitCount = 0;
    std::vector<uint32_t> m_palette;
    std::string m_error;
};
