// The two pictures the board description carries are of the kinds the program promises to read:
// the photograph a progressive JPEG with half-resolution colour, the jack drawing a bottom-up
// 24-bit BMP. Both are read from the source tree as committed.

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/graphics.h"

namespace kx {
namespace {

using TBytes = std::vector<unsigned char>;

TBytes ReadAsset(const std::string& name) {
    std::ifstream in(std::string(KX_TEST_DATA_DIR "/../../assets/") + name, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

unsigned BigEndian16(const TBytes& b, std::size_t at) {
    return static_cast<unsigned>(b[at] << 8 | b[at + 1]);
}

std::uint32_t LittleEndian32(const TBytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

TEST(BoardPhotograph, IsAProgressiveJpegOfTheBoardsSize) {
    const TBytes jpeg = ReadAsset("board.jpg");
    ASSERT_GT(jpeg.size(), 4u) << "assets/board.jpg is missing";

    // Walk the header segments to the frame header: it must be SOF2, progressive Huffman coding.
    std::size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF && (jpeg[at + 1] < 0xC0 || jpeg[at + 1] > 0xC2)) {
        at += 2 + BigEndian16(jpeg, at + 2);
    }
    ASSERT_LT(at + 12, jpeg.size());
    EXPECT_EQ(jpeg[at + 1], 0xC2) << "not a progressive frame";
    EXPECT_EQ(jpeg[at + 4], 8) << "sample precision";
    EXPECT_EQ(BigEndian16(jpeg, at + 5), 536u);
    EXPECT_EQ(BigEndian16(jpeg, at + 7), 600u);
    EXPECT_EQ(jpeg[at + 9], 3) << "components";
    EXPECT_EQ(jpeg[at + 11], 0x22) << "first component sampled 2 x 2";
    EXPECT_EQ(jpeg[at + 14], 0x11);
    EXPECT_EQ(jpeg[at + 17], 0x11);

    TJPEGImage image;
    image.LoadFromBytes(jpeg);
    EXPECT_TRUE(image.Progressive());
    EXPECT_EQ(image.Width(), 600);
    EXPECT_EQ(image.Height(), 536);
    EXPECT_EQ(image.Components(), 3);
    EXPECT_EQ(image.HSampling(), 2);
    EXPECT_EQ(image.VSampling(), 2);

    const QImage reference = QImage::fromData(
        QByteArray(reinterpret_cast<const char*>(jpeg.data()), static_cast<qsizetype>(jpeg.size())), "JPEG");
    ASSERT_EQ(reference.size(), image.Image().size());
    for (int y = 0; y < reference.height(); ++y) {
        for (int x = 0; x < reference.width(); ++x) {
            const QRgb a = reference.pixel(x, y);
            const QRgb b = image.Image().pixel(x, y);
            ASSERT_LE(
                std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)),
                6)
                << "pixel (" << x << ", " << y << ")";
        }
    }
}

TEST(PowerJackDrawing, IsABottomUp24BitBmpInBlackAndWhite) {
    const TBytes bmp = ReadAsset("power-jack.bmp");
    ASSERT_GT(bmp.size(), 54u) << "assets/power-jack.bmp is missing";
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(LittleEndian32(bmp, 18), 112u);
    EXPECT_EQ(static_cast<std::int32_t>(LittleEndian32(bmp, 22)), 48) << "positive height: bottom-up rows";
    EXPECT_EQ(bmp[28], 24) << "bits per pixel";
    EXPECT_EQ(LittleEndian32(bmp, 30), 0u) << "uncompressed";

    TPicture picture;
    picture.LoadFromBytes(bmp);
    ASSERT_TRUE(IsExactly<TBitmap>(picture.Graphic()));
    const QImage& image = picture.Graphic()->Image();
    ASSERT_EQ(image.size(), QSize(112, 48));
    int ink = 0;
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 112; ++x) {
            const QRgb p = image.pixel(x, y) & 0xFFFFFF;
            ASSERT_TRUE(p == 0 || p == 0xFFFFFF)
                << "pixel (" << x << ", " << y << ") is neither black nor white";
            ink += p == 0;
        }
    }
    EXPECT_GT(ink, 0);
    EXPECT_EQ(image.pixel(56, 24) & 0xFFFFFF, 0u) << "the centre dot";
    // The G of GND is closed by a bar at its bottom right, not at its top: the picture is upright.
    EXPECT_EQ(image.pixel(9, 29) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(9, 18) & 0xFFFFFF, 0xFFFFFFu);
}

}  // namespace
}  // namespace kx
