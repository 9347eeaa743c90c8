#include "views/DIBitmap.h"

#include "platform/archive/Archive.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/RegularFile.h"
#include "views/DibStream.h"

#include <QImageReader>
#include <QPainter>
#include <QPoint>
#include <QRect>

#include <algorithm>
#include <cstring>
#include <fstream>

IMPLEMENT_SERIAL(CDIBitmap, CObject, 1 | VERSIONABLE_SCHEMA)

namespace {
constexpr size_t kHeadersSize = DibStream::kFileHeaderSize + DibStream::kInfoHeaderSize;
// A file larger than any BMP we accept is refused before it is read.
constexpr uint64_t kMaxFileSize = 2 * DibStream::kMaxPixelBytes + (1u << 20);
} // namespace

CDIBitmap::CDIBitmap() = default;
CDIBitmap::~CDIBitmap() = default;

void CDIBitmap::Clear()
{
    m_block.clear();
    m_block.shrink_to_fit();
    m_valid = false;
    m_width = m_height = m_bitCount = 0;
    m_palette.clear();
}

bool CDIBitmap::DeriveViews()
{
    m_valid = false;
    m_width = m_height = m_bitCount = 0;
    m_palette.clear();
    DibStream probe;
    if (!probe.ReadMemory(m_block.data(), m_block.size())) {
        m_error = probe.ErrorText();
        return false;
    }
    m_width = probe.Width();
    m_height = std::abs(probe.Height());
    m_bitCount = probe.BitCount();
    if (m_bitCount <= 8) {
        // The colour table follows the information header: blue, green, red, reserved.
        const uint8_t* table = m_block.data() + kHeadersSize;
        for (int i = 0; i < probe.ColorCount(); ++i) {
            const uint8_t* e = table + 4 * i;
            m_palette.push_back(qRgb(e[2], e[1], e[0]));
        }
    }
    m_valid = true;
    return true;
}

bool CDIBitmap::ReadFromMemory(std::vector<uint8_t> bytes)
{
    Clear();
    if (bytes.size() < DibStream::kFileHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') {
        m_error = "The file is not a bitmap.";
        return false;
    }
    // The file size of the header must be met by the real length; a zero size (some writers leave
    // it) stands for the whole data.
    const uint32_t declared = DibGet32(bytes.data() + 2);
    if (declared != 0) {
        if (declared < kHeadersSize || declared > bytes.size()) {
            m_error = "The bitmap's file size does not match its length.";
            return false;
        }
        bytes.resize(declared);
    }
    m_block = std::move(bytes);
    if (!DeriveViews()) {
        m_block.clear();
        return false;
    }
    return true;
}

bool CDIBitmap::ReadFromFile(const std::string& path)
{
    Clear();
    std::ifstream in;
    if (IsRegularFile(path))
        in.open(path, std::ios::binary);
    if (!in.is_open()) {
        m_error = "The picture file cannot be opened.";
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff length = in.tellg();
    if (length < 0 || static_cast<uint64_t>(length) > kMaxFileSize) {
        m_error = "The picture file is too large.";
        return false;
    }
    in.seekg(0, std::ios::beg);
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    if (length > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), length)) {
        m_error = "The picture file cannot be read.";
        return false;
    }
    return ReadFromMemory(std::move(bytes));
}

bool CDIBitmap::WriteToFile(const std::string& path) const
{
    if (m_block.empty())
        return false;
    CAtomicFile file(path);
    return file.Open() && file.Write(m_block.data(), m_block.size()) && file.Commit();
}

bool CDIBitmap::FromImage(const QImage& image)
{
    Clear();
    if (image.isNull() || image.width() > DibStream::kMaxDimension || image.height() > DibStream::kMaxDimension) {
        m_error = "The picture cannot be converted.";
        return false;
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int w = rgb.width();
    const int h = rgb.height();
    const uint64_t stride = DibStream::Stride(24, w);
    const uint64_t pixelSize = stride * static_cast<uint64_t>(h);
    if (pixelSize > DibStream::kMaxPixelBytes) {
        m_error = "The picture is too large.";
        return false;
    }
    std::vector<uint8_t> bytes(kHeadersSize + pixelSize, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    DibPut32(bytes.data() + 2, static_cast<uint32_t>(bytes.size()));
    DibPut32(bytes.data() + 10, static_cast<uint32_t>(kHeadersSize));
    uint8_t* info = bytes.data() + DibStream::kFileHeaderSize;
    DibPut32(info, DibStream::kInfoHeaderSize);
    DibPut32(info + 4, static_cast<uint32_t>(w));
    DibPut32(info + 8, static_cast<uint32_t>(h));
    DibPut16(info + 12, 1);
    DibPut16(info + 14, 24);
    DibPut32(info + 20, static_cast<uint32_t>(pixelSize));
    for (int y = 0; y < h; ++y) {
        // Bottom-up: the file's first row is the picture's last.
        const QRgb* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(h - 1 - y));
        uint8_t* dst = bytes.data() + kHeadersSize + static_cast<size_t>(y) * stride;
        for (int x = 0; x < w; ++x) {
            dst[3 * x] = static_cast<uint8_t>(qBlue(src[x]));
            dst[3 * x + 1] = static_cast<uint8_t>(qGreen(src[x]));
            dst[3 * x + 2] = static_cast<uint8_t>(qRed(src[x]));
        }
    }
    return ReadFromMemory(std::move(bytes));
}

int CDIBitmap::LoadPicture(const std::string& path)
{
    char magic[2] = {0, 0};
    {
        std::ifstream in;
        if (IsRegularFile(path))
            in.open(path, std::ios::binary);
        if (!in.is_open() || !in.read(magic, 2)) {
            Clear();
            m_error = "The picture file cannot be read.";
            return 0;
        }
    }
    if (magic[0] == 'B' && magic[1] == 'M') {
        if (!ReadFromFile(path))
            return 0;
    } else {
        QImageReader reader(QString::fromStdString(path));
        QImage image;
        if (!reader.read(&image)) {
            Clear();
            m_error = "The picture cannot be read: " + reader.errorString().toStdString();
            return 0;
        }
        if (!FromImage(image))
            return 0;
    }
    // Wide pictures are reduced to 640 pixels; a very wide one keeps at least one row.
    const double ratio = static_cast<double>(m_height) / m_width;
    const int width = std::min(m_width, kMaxWidth);
    const int height = std::max(1, static_cast<int>(width * ratio));
    if (!Resize(width, height)) {
        Clear();
        return 0;
    }
    return 1;
}

bool CDIBitmap::Resize(int width, int height)
{
    if (m_block.empty())
        return false;
    DibStream stream;
    if (!stream.ReadMemory(m_block.data(), m_block.size()) || !stream.Resample(width, height)) {
        m_error = stream.ErrorText().empty() ? "The picture cannot be resized." : stream.ErrorText();
        return false;
    }
    return ReadFromMemory(stream.WriteMemory());
}

QImage CDIBitmap::ToImage() const
{
    if (!m_valid)
        return {};
    return QImage::fromData(m_block.data(), static_cast<int>(m_block.size()), "BMP");
}

void CDIBitmap::Draw(QPainter& painter, const QRect& client, const QPoint* at) const
{
    const QImage image = ToImage();
    if (image.isNull())
        return;
    const QPoint origin = at ? *at
                             : QPoint(client.left() + (client.width() - image.width()) / 2,
                                      client.top() + (client.height() - image.height()) / 2);
    painter.drawImage(origin, image);
}

void CDIBitmap::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<uint32_t>(m_block.size());
        if (!m_block.empty())
            ar.Write(m_block.data(), m_block.size());
        return;
    }
    Clear();
    // The count must be met by what the archive still holds before anything is allocated.
    uint32_t count = 0;
    ar >> count;
    ar.EnsureAvailable(count);
    if (count == 0)
        return;
    m_block.resize(count);
    ar.Read(m_block.data(), count);
    // A block that is no readable bitmap is kept as it was stored, but nothing is drawn from it.
    DeriveViews();
}
