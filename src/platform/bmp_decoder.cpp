// Windows bitmap files: a 14-byte file header, an information header of at least 40 bytes, then the
// pixel rows. Only the kind this program carries is read: 24 bits per pixel, uncompressed, rows
// bottom-up (positive height) or top-down (negative height), each row padded to four bytes. Every
// size and offset is checked against the file's length before a byte is read.

#include <cstdint>
#include <string>

#include "platform/graphics.h"

namespace kx {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::int64_t kMaxSide = 16384;
constexpr std::int64_t kMaxPixels = 64ll * 1024 * 1024;
constexpr std::uint32_t kUncompressed = 0;

std::uint16_t U16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t U32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::int32_t I32(const unsigned char* p) {
    return static_cast<std::int32_t>(U32(p));
}

[[noreturn]] void Invalid(const std::string& why) {
    throw EInvalidGraphic("Cannot read the BMP picture: " + why);
}

}  // namespace

QImage DecodeBmp(const unsigned char* data, std::size_t size) {
    if (data == nullptr || size < kFileHeaderSize + 4) {
        Invalid("the file is empty or too short");
    }
    if (data[0] != 'B' || data[1] != 'M') {
        Invalid("it does not begin with \"BM\"");
    }
    const std::uint32_t pixelOffset = U32(data + 10);
    const std::uint32_t infoSize = U32(data + kFileHeaderSize);
    if (infoSize < kInfoHeaderSize) {
        Invalid("information header of " + std::to_string(infoSize) + " bytes; at least 40 are needed");
    }
    if (infoSize > size - kFileHeaderSize) {
        Invalid("the information header runs past the end of the file");
    }
    const unsigned char* info = data + kFileHeaderSize;
    const std::int64_t width = I32(info + 4);
    const std::int64_t signedHeight = I32(info + 8);
    const std::uint16_t planes = U16(info + 12);
    const std::uint16_t bitsPerPixel = U16(info + 14);
    const std::uint32_t compression = U32(info + 16);

    // A negative height marks rows stored top-down.
    const bool topDown = signedHeight < 0;
    const std::int64_t height = topDown ? -signedHeight : signedHeight;
    if (width <= 0 || height <= 0) {
        Invalid("width " + std::to_string(width) + " and height " + std::to_string(signedHeight) +
                " describe no picture");
    }
    if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels) {
        Invalid("size " + std::to_string(width) + " x " + std::to_string(height) +
                " is beyond what this program reads");
    }
    if (planes != 1) {
        Invalid(std::to_string(planes) + " colour planes; only 1 is valid");
    }
    if (bitsPerPixel != 24) {
        Invalid(std::to_string(bitsPerPixel) + " bits per pixel; only 24 are supported");
    }
    if (compression != kUncompressed) {
        Invalid("compression method " + std::to_string(compression) +
                "; only uncompressed pictures are supported");
    }
    const std::int64_t rowBytes = (width * 3 + 3) / 4 * 4;
    if (pixelOffset < kFileHeaderSize + infoSize) {
        Invalid("the pixel data offset " + std::to_string(pixelOffset) + " points into the headers");
    }
    if (pixelOffset > size || rowBytes * height > static_cast<std::int64_t>(size - pixelOffset)) {
        Invalid("the pixel rows need " + std::to_string(rowBytes * height) + " bytes from offset " +
                std::to_string(pixelOffset) + ", but the file has " + std::to_string(size) + " bytes");
    }

    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    if (image.isNull()) {
        Invalid("not enough memory");
    }
    for (std::int64_t row = 0; row < height; ++row) {
        const unsigned char* in = data + pixelOffset + row * rowBytes;
        const int y = static_cast<int>(topDown ? row : height - 1 - row);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (std::int64_t x = 0; x < width; ++x, in += 3) {
            out[x] = qRgb(in[2], in[1], in[0]);
        }
    }
    return image;
}

}  // namespace kx
