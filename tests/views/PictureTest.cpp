// Bitmaps and picture elements: the BMP reader and writer, the resampler, loading of other
// formats with the width limit, the archive form and drawing.
#include "platform/archive/Archive.h"
#include "views/DIBitmap.h"
#include "views/DibStream.h"
#include "views/PictureElement.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {
std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Fixture(const char* name)
{
    return std::string(ORVEX_FIXTURES_DIR) + "/bmp/" + name;
}

// A BMP file image built field by field, so a test can forge any of them.
struct BmpFields
{
    int32_t width = 2;
    int32_t height = 2;
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t infoSize = 40;
    uint32_t colorsUsed = 0;
    int colorTable = 0; // entries written
    std::vector<uint8_t> pixels;
    int32_t fileSize = -1; // -1: the real size
};

std::vector<uint8_t> MakeBmp(const BmpFields& s)
{
    const uint32_t offset = 54 + 4 * static_cast<uint32_t>(s.colorTable);
    std::vector<uint8_t> b(offset, 0);
    b[0] = 'B';
    b[1] = 'M';
    DibPut32(&b[2],
             s.fileSize < 0 ? static_cast<uint32_t>(offset + s.pixels.size()) : static_cast<uint32_t>(s.fileSize));
    DibPut32(&b[10], offset);
    DibPut32(&b[14], s.infoSize);
    DibPut32(&b[18], static_cast<uint32_t>(s.width));
    DibPut32(&b[22], static_cast<uint32_t>(s.height));
    DibPut16(&b[26], 1);
    DibPut16(&b[28], s.bits);
    DibPut32(&b[30], s.compression);
    DibPut32(&b[46], s.colorsUsed);
    for (int i = 0; i < s.colorTable; ++i)
        b[static_cast<size_t>(54 + 4 * i)] = static_cast<uint8_t>(i);
    b.insert(b.end(), s.pixels.begin(), s.pixels.end());
    return b;
}

// A 24-bit image whose pixel (x, y) (y from the top) has red x, green y, blue 7.
QImage Gradient(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, 7));
    return image;
}
} // namespace

TEST(DibStream, ReadsEveryDepthAndWritesItBackBottomUp)
{
    struct Case
    {
        const char* file;
        int width, height, bits, colors;
    };
    const Case cases[] = {
        {"mono.bmp", 9, 5, 1, 2},   {"pal4.bmp", 7, 4, 4, 16},  {"pal8.bmp", 6, 3, 8, 256},
        {"rgb16.bmp", 5, 4, 16, 0}, {"rgb24.bmp", 5, 3, 24, 0}, {"rgb32_topdown.bmp", 4, -3, 32, 0},
        {"rle8.bmp", 8, 4, 8, 256},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        DibStream s;
        ASSERT_TRUE(s.Read(Fixture(c.file))) << s.ErrorText();
        EXPECT_EQ(s.Width(), c.width);
        EXPECT_EQ(s.Height(), c.height);
        EXPECT_EQ(s.BitCount(), c.bits);
        EXPECT_EQ(s.ColorCount(), c.colors);
        const std::vector<uint8_t> out = s.WriteMemory();
        DibStream back;
        ASSERT_TRUE(back.ReadMemory(out.data(), out.size()));
        EXPECT_EQ(back.Height(), std::abs(c.height)); // always bottom-up
        EXPECT_EQ(DibGet32(out.data() + 30), 0u);     // uncompressed
        const size_t stride = DibStream::Stride(c.bits, c.width);
        const size_t rows = static_cast<size_t>(std::abs(c.height));
        for (size_t r = 0; r < rows; ++r) {
            // A top-down image's rows come out reversed, everything else as it was.
            const size_t src = c.height < 0 ? rows - 1 - r : r;
            EXPECT_EQ(0, std::memcmp(back.Pixels().data() + r * stride, s.Pixels().data() + src * stride, stride));
        }
    }
}

TEST(DibStream, DecodesRunLengthDataIntoTheirPlaces)
{
    DibStream s;
    ASSERT_TRUE(s.Read(Fixture("rle8.bmp")));
    const size_t stride = 8;
    auto px = [&](int x, int y) { return s.Pixels()[static_cast<size_t>(y) * stride + static_cast<size_t>(x)]; };
    // Row 0: a run of four 1s, then the literal 2 3 4; row 1 moved into by a delta (2 right, 1
    // down) after the line end, then a run of three 9s; row 3: eight 5s (clipped at the width).
    const uint8_t row0[8] = {1, 1, 1, 1, 2, 3, 4, 0};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(px(x, 0), row0[x]) << x;
    EXPECT_EQ(px(2, 2), 9);
    EXPECT_EQ(px(4, 2), 9);
    EXPECT_EQ(px(5, 2), 0);
    EXPECT_EQ(px(0, 1), 0);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(px(x, 3), 5);
}

TEST(DibStream, RefusesWhatItCannotReadSafely)
{
    struct Case
    {
        const char* what;
        BmpFields fields;
    };
    BmpFields ok;
    ok.pixels.assign(16, 0);
    auto with = [&](auto change) {
        BmpFields s = ok;
        change(s);
        return s;
    };
    const Case cases[] = {
        {"old-style 12-byte header", with([](BmpFields& s) { s.infoSize = 12; })},
        {"4-bit run-length", with([](BmpFields& s) {
             s.bits = 4;
             s.compression = 2;
             s.colorTable = 16;
         })},
        {"run-length on 24 bits", with([](BmpFields& s) { s.compression = 1; })},
        {"bit fields", with([](BmpFields& s) { s.compression = 3; })},
        {"2 bits per pixel", with([](BmpFields& s) { s.bits = 2; })},
        {"zero width", with([](BmpFields& s) { s.width = 0; })},
        {"zero height", with([](BmpFields& s) { s.height = 0; })},
        {"forged height", with([](BmpFields& s) { s.height = 0x7FFFFFFF; })},
        {"forged negative width", with([](BmpFields& s) { s.width = -5; })},
        {"pixels cut short", with([](BmpFields& s) { s.width = 100; })},
        {"colour table beyond the file", with([](BmpFields& s) {
             s.bits = 8;
             s.colorsUsed = 200;
         })},
        {"colour table over 256", with([](BmpFields& s) {
             s.bits = 8;
             s.colorsUsed = 100000;
         })},
        {"run-length literal cut short", with([](BmpFields& s) {
             s.bits = 8;
             s.compression = 1;
             s.colorTable = 2;
             s.colorsUsed = 2;
             s.pixels = {0, 9, 1};
         })},
        {"top-down run-length", with([](BmpFields& s) {
             s.bits = 8;
             s.compression = 1;
             s.height = -2;
             s.colorTable = 2;
             s.colorsUsed = 2;
         })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<uint8_t> bytes = MakeBmp(c.fields);
        DibStream s;
        EXPECT_FALSE(s.ReadMemory(bytes.data(), bytes.size()));
        EXPECT_TRUE(s.IsEmpty());
        EXPECT_FALSE(s.ErrorText().empty());
        CDIBitmap bitmap;
        EXPECT_FALSE(bitmap.ReadFromMemory(bytes));
        EXPECT_FALSE(bitmap.HasBlock());
    }
    // The sound image itself reads.
    const std::vector<uint8_t> bytes = MakeBmp(ok);
    DibStream s;
    EXPECT_TRUE(s.ReadMemory(bytes.data(), bytes.size())) << s.ErrorText();
    // A file size in the header beyond the real length is refused by the bitmap.
    BmpFields longer = ok;
    longer.fileSize = 1000;
    CDIBitmap bitmap;
    EXPECT_FALSE(bitmap.ReadFromMemory(MakeBmp(longer)));
}

TEST(DibStream, ResamplesPaletteImagesByNearestPixelAndColoursBySmoothstep)
{
    // 1 bit: a 2 x 1 image 0 1 widened to 5: indices are taken, never mixed.
    BmpFields mono;
    mono.bits = 1;
    mono.width = 2;
    mono.height = 1;
    mono.colorTable = 2;
    mono.pixels = {0x40, 0, 0, 0};
    std::vector<uint8_t> bytes = MakeBmp(mono);
    DibStream s;
    ASSERT_TRUE(s.ReadMemory(bytes.data(), bytes.size()));
    ASSERT_TRUE(s.Resample(5, 3));
    // Positions 0, .25, .5, .75, 1: weights 0, 40, 128, 216, 256 -> pixels 0 0 1 1 1.
    EXPECT_EQ(s.Pixels()[0], 0x38);
    EXPECT_EQ(s.Height(), 3);

    // 24 bits: blue 0 and 200 side by side; the middle of three takes weight 128 -> 100.
    BmpFields rgb;
    rgb.width = 2;
    rgb.height = 1;
    rgb.pixels = {0, 0, 0, 200, 0, 0, 0, 0};
    bytes = MakeBmp(rgb);
    ASSERT_TRUE(s.ReadMemory(bytes.data(), bytes.size()));
    ASSERT_TRUE(s.Resample(4, 1));
    // Positions 0, 1/3, 2/3, 1: weights 0, 66, 189, 256 (smoothstep) -> 0, 51, 147, 200.
    EXPECT_EQ(s.Pixels()[0], 0);
    EXPECT_EQ(s.Pixels()[3], 51);
    EXPECT_EQ(s.Pixels()[6], 147);
    EXPECT_EQ(s.Pixels()[9], 200);

    // One-pixel sources and targets are clamped, not divided by zero.
    ASSERT_TRUE(s.Resample(1, 1));
    EXPECT_EQ(s.Width(), 1);
    ASSERT_TRUE(s.Resample(7, 5));
    EXPECT_EQ(s.Width(), 7);
    EXPECT_EQ(s.Height(), 5);
    EXPECT_FALSE(s.Resample(0, 5));
    EXPECT_FALSE(s.Resample(DibStream::kMaxDimension, DibStream::kMaxDimension));
}

TEST(DIBitmap, LoadsPicturesWithTheWidthLimit)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string png = (dir.path() + "/wide.png").toStdString();
    ASSERT_TRUE(Gradient(1000, 500).save(QString::fromStdString(png)));
    CDIBitmap bitmap;
    ASSERT_EQ(bitmap.LoadPicture(png), 1) << bitmap.ErrorText();
    EXPECT_EQ(bitmap.Width(), 640);
    EXPECT_EQ(bitmap.Height(), 320);
    EXPECT_EQ(bitmap.BitCount(), 24);
    // Top-left stays red 0, green 0; bottom-right red of x 999 % 256, green 499 % 256.
    const QImage shown = bitmap.ToImage();
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 0, 7));
    EXPECT_EQ(shown.pixel(639, 319), qRgb(999 % 256, 499 % 256, 7));

    // A small BMP keeps its size and its pixels.
    const std::string small = (dir.path() + "/small.bmp").toStdString();
    ASSERT_TRUE(Gradient(300, 200).save(QString::fromStdString(small), "BMP"));
    ASSERT_EQ(bitmap.LoadPicture(small), 1);
    EXPECT_EQ(bitmap.Width(), 300);
    EXPECT_EQ(bitmap.Height(), 200);
    EXPECT_EQ(bitmap.ToImage().pixel(123, 45), qRgb(123, 45, 7));

    // A very wide picture keeps one row; a JPEG is read as well.
    const std::string strip = (dir.path() + "/strip.jpg").toStdString();
    ASSERT_TRUE(Gradient(2000, 1).save(QString::fromStdString(strip), "JPG"));
    ASSERT_EQ(bitmap.LoadPicture(strip), 1);
    EXPECT_EQ(bitmap.Width(), 640);
    EXPECT_EQ(bitmap.Height(), 1);

    // Unreadable pictures fail and leave no block.
    const std::string junk = (dir.path() + "/junk.png").toStdString();
    std::ofstream(junk) << "not a picture";
    EXPECT_EQ(bitmap.LoadPicture(junk), 0);
    EXPECT_FALSE(bitmap.HasBlock());
    EXPECT_EQ(bitmap.LoadPicture((dir.path() + "/missing.bmp").toStdString()), 0);
    BmpFields rle4;
    rle4.bits = 4;
    rle4.compression = 2;
    rle4.colorTable = 16;
    rle4.pixels = {0, 1};
    const std::string refused = (dir.path() + "/rle4.bmp").toStdString();
    const std::vector<uint8_t> rle4Bytes = MakeBmp(rle4);
    std::ofstream(refused, std::ios::binary)
        .write(reinterpret_cast<const char*>(rle4Bytes.data()), static_cast<std::streamsize>(rle4Bytes.size()));
    EXPECT_EQ(bitmap.LoadPicture(refused), 0);
    EXPECT_EQ(bitmap.ErrorText(), "The bitmap's compression is not supported.");
}

TEST(DIBitmap, StoresTheBlockByteForByteAndRefusesForgedCounts)
{
    CDIBitmap bitmap;
    // A run-length file is kept as it was read (compressed), and written back so.
    ASSERT_TRUE(bitmap.ReadFromFile(Fixture("rle8.bmp")));
    const std::vector<uint8_t> original = ReadBytes(Fixture("rle8.bmp"));
    EXPECT_EQ(bitmap.Block(), original);
    EXPECT_EQ(bitmap.Palette().size(), 256u);

    auto element = std::make_unique<CPictureElement>("Front door");
    ASSERT_TRUE(element->GetBitmap().ReadFromFile(Fixture("pal4.bmp")));
    std::vector<uint8_t> buffer;
    {
        CArchive ar(&buffer, CArchive::store);
        ar << static_cast<const CObject*>(element.get());
    }
    CArchive in(&buffer, CArchive::load);
    std::unique_ptr<CPictureElement> back = in.ReadOwned<CPictureElement>();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetName(), "Front door");
    EXPECT_EQ(back->GetBitmap().Block(), ReadBytes(Fixture("pal4.bmp")));
    EXPECT_EQ(back->GetBitmap().Palette().size(), 16u);

    QTemporaryDir dir;
    const std::string copy = (dir.path() + "/copy.bmp").toStdString();
    ASSERT_TRUE(back->GetBitmap().WriteToFile(copy));
    EXPECT_EQ(ReadBytes(copy), ReadBytes(Fixture("pal4.bmp")));

    // A count beyond what the archive holds is refused before anything is allocated.
    std::vector<uint8_t> forged = {0xFF, 0xFF, 0xFF, 0x7F, 'B', 'M'};
    CArchive bad(&forged, CArchive::load);
    CDIBitmap target;
    EXPECT_THROW(target.Serialize(bad), CArchiveException);
    EXPECT_FALSE(target.HasBlock());

    EXPECT_FALSE(CPictureElement("x").LoadPicture(nullptr));
    EXPECT_FALSE(CDIBitmap().WriteToFile(copy));
    EXPECT_FALSE(CDIBitmap().Resize(10, 10));
}

TEST(DIBitmap, DrawsCentredOrAtThePoint)
{
    CDIBitmap bitmap;
    ASSERT_TRUE(bitmap.FromImage(Gradient(4, 2)));
    QImage canvas(10, 10, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter p(&canvas);
        bitmap.Draw(p, canvas.rect());
        const QPoint at(0, 8);
        bitmap.Draw(p, canvas.rect(), &at);
    }
    EXPECT_EQ(canvas.pixel(3, 4), qRgb(0, 0, 7)); // centred: (10 - 4) / 2, (10 - 2) / 2
    EXPECT_EQ(canvas.pixel(6, 5), qRgb(3, 1, 7));
    EXPECT_EQ(canvas.pixel(2, 4), qRgb(255, 255, 255));
    EXPECT_EQ(canvas.pixel(1, 9), qRgb(1, 1, 7));
    // Nothing is drawn without a picture.
    QPainter p(&canvas);
    CDIBitmap().Draw(p, canvas.rect());
}
