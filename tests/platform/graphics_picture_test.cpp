// Reading pictures: JPEG (baseline and progressive) against Qt's own decoder, BMP in both row orders,
// and tables of damaged files that must be refused with EInvalidGraphic while the process goes on.

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QBuffer>
#include <QImageWriter>

#include "platform/canvas.h"
#include "platform/graphics.h"

namespace kx {
namespace {

using TBytes = std::vector<unsigned char>;

// A picture with smooth gradients, hard edges and saturated colours, at a size that is not a
// multiple of the 16-pixel blocks, so partial blocks at the right and bottom are decoded too.
QImage TestPicture(int w = 61, int h = 45) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int r = x * 255 / (w - 1);
            int g = y * 255 / (h - 1);
            int b = (x + y) % 32 < 16 ? 40 : 200;
            if (x > w / 3 && x < w / 2 && y > h / 4 && y < h / 2) {
                r = 255;
                g = 255;
                b = 0;
            }
            image.setPixel(x, y, qRgb(r, g, b));
        }
    }
    return image;
}

TBytes EncodeJpeg(const QImage& image, bool progressive) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return TBytes(data.begin(), data.end());
}

// Marker positions in a JPEG stream: every start-of-scan, with the range of its entropy-coded data.
struct TScan {
    std::size_t Marker = 0;
    std::size_t DataBegin = 0;
    std::size_t DataEnd = 0;
};

std::vector<TScan> Scans(const TBytes& jpeg) {
    std::vector<TScan> scans;
    std::size_t i = 2;
    while (i + 4 <= jpeg.size()) {
        if (jpeg[i] != 0xFF) {
            ADD_FAILURE() << "no marker at " << i;
            break;
        }
        const unsigned char marker = jpeg[i + 1];
        if (marker == 0xD9) {
            break;
        }
        const std::size_t length = static_cast<std::size_t>(jpeg[i + 2] << 8 | jpeg[i + 3]);
        std::size_t next = i + 2 + length;
        if (marker == 0xDA) {
            TScan scan{i, next, next};
            // Entropy-coded data runs to the next marker that is neither a stuffed zero nor a restart.
            while (scan.DataEnd + 1 < jpeg.size() &&
                   !(jpeg[scan.DataEnd] == 0xFF && jpeg[scan.DataEnd + 1] != 0 &&
                     (jpeg[scan.DataEnd + 1] < 0xD0 || jpeg[scan.DataEnd + 1] > 0xD7))) {
                ++scan.DataEnd;
            }
            scans.push_back(scan);
            next = scan.DataEnd;
        }
        i = next;
    }
    return scans;
}

std::size_t FindMarker(const TBytes& jpeg, unsigned char marker) {
    for (std::size_t i = 0; i + 1 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == marker) {
            return i;
        }
    }
    return jpeg.size();
}

void ExpectClose(const QImage& reference, const QImage& decoded, int tolerance) {
    ASSERT_EQ(decoded.size(), reference.size());
    ASSERT_EQ(decoded.format(), QImage::Format_RGB32);
    const QImage ref = reference.convertToFormat(QImage::Format_RGB32);
    int worst = 0;
    for (int y = 0; y < ref.height(); ++y) {
        for (int x = 0; x < ref.width(); ++x) {
            const QRgb a = ref.pixel(x, y);
            const QRgb b = decoded.pixel(x, y);
            const int d = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                    std::abs(qBlue(a) - qBlue(b))});
            if (d > tolerance) {
                FAIL() << "pixel (" << x << ", " << y << ") differs by " << d;
            }
            worst = std::max(worst, d);
        }
    }
    ::testing::Test::RecordProperty("largest_difference", worst);
}

double MeanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum +=
                std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

class JpegDecode : public ::testing::TestWithParam<bool> {};

// Decoders may round the inverse DCT differently; a couple of levels is all they may disagree by.
TEST_P(JpegDecode, MatchesQtsDecoderOfTheSameFile) {
    const bool progressive = GetParam();
    const TBytes jpeg = EncodeJpeg(TestPicture(), progressive);
    TJpegInfo info;
    const QImage decoded = DecodeJpeg(jpeg.data(), jpeg.size(), &info);
    EXPECT_EQ(info.Progressive, progressive);
    EXPECT_EQ(info.Width, 61);
    EXPECT_EQ(info.Height, 45);
    EXPECT_EQ(info.Components, 3);
    const QImage reference = QImage::fromData(
        QByteArray(reinterpret_cast<const char*>(jpeg.data()), static_cast<qsizetype>(jpeg.size())), "JPEG");
    ASSERT_FALSE(reference.isNull());
    ExpectClose(reference, decoded, 2);
    // Qt's 32-bit RGB format needs its unused byte at 0xFF; pixel() would hide it, so read memory.
    for (int y = 0; y < decoded.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(decoded.constScanLine(y));
        for (int x = 0; x < decoded.width(); ++x) {
            ASSERT_EQ(qAlpha(row[x]), 255) << x << "," << y;
        }
    }
    // And on average close to the picture itself: colour subsampling smears the sharp edges, but a
    // decoder that mixed up channels or rows would be far off.
    EXPECT_LT(MeanDifference(TestPicture(), decoded), 12.0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, JpegDecode, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Progressive" : "Baseline";
                         });

TEST(JpegImage, ReportsItsHeaderAndNotifies) {
    const TBytes jpeg = EncodeJpeg(TestPicture(), true);
    TJPEGImage image;
    int changes = 0;
    image.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &image);
        ++changes;
    };
    image.LoadFromBytes(jpeg);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(image.Progressive());
    EXPECT_EQ(image.Components(), 3);
    EXPECT_EQ(image.HSampling(), 2);
    EXPECT_EQ(image.VSampling(), 2);
    EXPECT_EQ(image.Width(), 61);
    EXPECT_EQ(image.Height(), 45);
    const std::unique_ptr<TGraphic> copy = image.Clone();
    ASSERT_TRUE(IsExactly<TJPEGImage>(copy.get()));
    EXPECT_TRUE(static_cast<TJPEGImage*>(copy.get())->Progressive());
    EXPECT_EQ(copy->Image(), image.Image());
}

TEST(JpegImage, GreyPictureDecodesToGrey) {
    QImage grey = TestPicture().convertToFormat(QImage::Format_Grayscale8);
    const TBytes jpeg = EncodeJpeg(grey, false);
    TJpegInfo info;
    const QImage decoded = DecodeJpeg(jpeg.data(), jpeg.size(), &info);
    EXPECT_EQ(info.Components, 1);
    for (int y = 0; y < decoded.height(); ++y) {
        for (int x = 0; x < decoded.width(); ++x) {
            const QRgb p = decoded.pixel(x, y);
            ASSERT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) << x << "," << y;
        }
    }
    EXPECT_LT(MeanDifference(grey.convertToFormat(QImage::Format_RGB32), decoded), 4.0);
}

struct TDamage {
    const char* Name;
    bool Progressive;
    std::function<void(TBytes&)> Apply;
};

void PutU16(TBytes& b, std::size_t at, unsigned value) {
    b[at] = static_cast<unsigned char>(value >> 8);
    b[at + 1] = static_cast<unsigned char>(value & 0xFF);
}

// Offset of the frame header's height field (the width follows it).
std::size_t FrameSize(const TBytes& jpeg) {
    std::size_t sof = FindMarker(jpeg, 0xC0);
    if (sof == jpeg.size()) {
        sof = FindMarker(jpeg, 0xC2);
    }
    return sof + 5;
}

class DamagedJpeg : public ::testing::TestWithParam<TDamage> {};

TEST_P(DamagedJpeg, IsRefused) {
    TBytes jpeg = EncodeJpeg(TestPicture(96, 80), GetParam().Progressive);
    GetParam().Apply(jpeg);
    EXPECT_THROW(DecodeJpeg(jpeg.data(), jpeg.size()), EInvalidGraphic);
    TPicture picture;
    EXPECT_THROW(picture.LoadFromBytes(jpeg), EInvalidGraphic);
    EXPECT_EQ(picture.Graphic(), nullptr);
}

const TDamage kJpegDamage[] = {
    {"Empty", false, [](TBytes& b) { b.clear(); }},
    {"OnlyStartOfImage", false, [](TBytes& b) { b.resize(2); }},
    {"HeadersWithoutScan", false, [](TBytes& b) { b.resize(Scans(b).front().Marker); }},
    {"CutAfterScanHeader", false, [](TBytes& b) { b.resize(Scans(b).front().DataBegin); }},
    {"CutInTheMiddleOfScanData", false,
     [](TBytes& b) {
         const TScan s = Scans(b).front();
         b.resize((s.DataBegin + s.DataEnd) / 2);
     }},
    {"CutJustBeforeEndOfImage", false, [](TBytes& b) { b.resize(b.size() - 2); }},
    {"CutInTheMiddleOfAProgressiveScan", true,
     [](TBytes& b) {
         const std::vector<TScan> scans = Scans(b);
         ASSERT_GT(scans.size(), 3u);
         const TScan s = scans[2];
         b.resize((s.DataBegin + s.DataEnd) / 2);
     }},
    {"ProgressiveWithoutItsLastScans", true,
     [](TBytes& b) {
         const std::vector<TScan> scans = Scans(b);
         b.resize(scans[scans.size() - 2].Marker);
     }},
    {"EndOfImageInsideScanData", false,
     [](TBytes& b) {
         const TScan s = Scans(b).front();
         const std::size_t at = (s.DataBegin + s.DataEnd) / 2;
         b[at] = 0xFF;
         b[at + 1] = 0xD9;
     }},
    {"GarbageWhereAMarkerBelongs", false, [](TBytes& b) { b[2] = 0x12; }},
    {"UnsupportedFrameType", false, [](TBytes& b) { b[FindMarker(b, 0xC0) + 1] = 0xC3; }},
    {"HugeDeclaredSize", false,
     [](TBytes& b) {
         PutU16(b, FrameSize(b), 65000);
         PutU16(b, FrameSize(b) + 2, 65000);
     }},
    {"HugeDeclaredSizeProgressive", true,
     [](TBytes& b) {
         PutU16(b, FrameSize(b), 20000);
         PutU16(b, FrameSize(b) + 2, 20000);
     }},
    {"ZeroWidth", false, [](TBytes& b) { PutU16(b, FrameSize(b) + 2, 0); }},
    {"TablesOnly", false,
     [](TBytes& b) {
         b.resize(Scans(b).front().Marker);
         const std::size_t sof = FindMarker(b, 0xC0);
         const std::size_t length = static_cast<std::size_t>(b[sof + 2] << 8 | b[sof + 3]);
         b.erase(b.begin() + static_cast<std::ptrdiff_t>(sof),
                 b.begin() + static_cast<std::ptrdiff_t>(sof + 2 + length));
         b.push_back(0xFF);
         b.push_back(0xD9);
     }},
    {"HuffmanTableLengthPastTheFile", false, [](TBytes& b) { PutU16(b, FindMarker(b, 0xC4) + 2, 0xFFF0); }},
    {"NoStartOfImage", false, [](TBytes& b) { b[1] = 0xD9; }},
};

INSTANTIATE_TEST_SUITE_P(Table, DamagedJpeg, ::testing::ValuesIn(kJpegDamage),
                         [](const ::testing::TestParamInfo<TDamage>& info) {
                             return std::string(info.param.Name);
                         });

// A 24-bit BMP written by hand; pixel(x, y) gives each pixel, y counted from the top.
TBytes MakeBmp(int width, int height, bool topDown, std::function<QRgb(int, int)> pixel,
               std::uint32_t infoSize = 40) {
    const std::uint32_t rowBytes = static_cast<std::uint32_t>((width * 3 + 3) / 4 * 4);
    const std::uint32_t offset = 14 + infoSize;
    const std::uint32_t total = offset + rowBytes * static_cast<std::uint32_t>(height);
    TBytes b(total, 0);
    auto u16 = [&](std::size_t at, unsigned v) {
        b[at] = static_cast<unsigned char>(v);
        b[at + 1] = static_cast<unsigned char>(v >> 8);
    };
    auto u32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            b[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>(v >> (8 * i));
        }
    };
    b[0] = 'B';
    b[1] = 'M';
    u32(2, total);
    u32(10, offset);
    u32(14, infoSize);
    u32(18, static_cast<std::uint32_t>(width));
    u32(22, static_cast<std::uint32_t>(topDown ? -height : height));
    u16(26, 1);
    u16(28, 24);
    u32(34, rowBytes * static_cast<std::uint32_t>(height));
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;
        for (int x = 0; x < width; ++x) {
            const QRgb p = pixel(x, y);
            const std::size_t at =
                offset + static_cast<std::size_t>(row) * rowBytes + static_cast<std::size_t>(x) * 3;
            b[at] = static_cast<unsigned char>(qBlue(p));
            b[at + 1] = static_cast<unsigned char>(qGreen(p));
            b[at + 2] = static_cast<unsigned char>(qRed(p));
        }
        // Padding bytes that a careless reader would take for pixels.
        for (std::uint32_t pad = static_cast<std::uint32_t>(width) * 3; pad < rowBytes; ++pad) {
            b[offset + static_cast<std::size_t>(row) * rowBytes + pad] = 0xAB;
        }
    }
    return b;
}

QRgb BmpPixel(int x, int y) {
    return qRgb(x * 40, y * 60, 255 - x * 20);
}

TEST(Bmp, BottomUpAndTopDownGiveTheSamePicture) {
    // Width 5 needs one byte of padding per row; width 4 none.
    for (int width : {4, 5, 7}) {
        SCOPED_TRACE(width);
        const TBytes up = MakeBmp(width, 3, false, BmpPixel);
        const TBytes down = MakeBmp(width, 3, true, BmpPixel);
        const QImage a = DecodeBmp(up.data(), up.size());
        const QImage b = DecodeBmp(down.data(), down.size());
        ASSERT_EQ(a.size(), QSize(width, 3));
        EXPECT_EQ(a, b);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < width; ++x) {
                EXPECT_EQ(a.pixel(x, y), BmpPixel(x, y)) << x << "," << y;
            }
        }
    }
}

TEST(Bmp, LargerInformationHeadersAreAccepted) {
    const TBytes v5 = MakeBmp(3, 2, false, BmpPixel, 124);
    const QImage image = DecodeBmp(v5.data(), v5.size());
    EXPECT_EQ(image.pixel(2, 1), BmpPixel(2, 1));
}

TEST(Bmp, BitmapLoadsAndNotifies) {
    TBitmap bitmap;
    int changes = 0;
    bitmap.OnChange = [&](TObject*) { ++changes; };
    bitmap.LoadFromBMP(MakeBmp(5, 4, false, BmpPixel));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(bitmap.Width(), 5);
    EXPECT_EQ(bitmap.Height(), 4);
    EXPECT_EQ(bitmap.Canvas().Pixel(4, 3), RGB(160, 180, 175));
}

void PutLE32(TBytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>(v >> (8 * i));
    }
}

class DamagedBmp : public ::testing::TestWithParam<TDamage> {};

TEST_P(DamagedBmp, IsRefused) {
    TBytes bmp = MakeBmp(5, 3, false, BmpPixel);
    GetParam().Apply(bmp);
    EXPECT_THROW(DecodeBmp(bmp.data(), bmp.size()), EInvalidGraphic);
    TBitmap bitmap(2, 2);
    EXPECT_THROW(bitmap.LoadFromBMP(bmp), EInvalidGraphic);
    EXPECT_EQ(bitmap.Width(), 2) << "a failed load changes nothing";
}

const TDamage kBmpDamage[] = {
    {"Empty", false, [](TBytes& b) { b.clear(); }},
    {"ShorterThanTheFileHeader", false, [](TBytes& b) { b.resize(10); }},
    {"HeadersOnly", false, [](TBytes& b) { b.resize(54); }},
    {"InformationHeaderCut", false, [](TBytes& b) { b.resize(30); }},
    {"WrongMagic", false, [](TBytes& b) { b[1] = 'A'; }},
    {"CoreHeader", false, [](TBytes& b) { PutLE32(b, 14, 12); }},
    {"InformationHeaderPastTheEnd", false, [](TBytes& b) { PutLE32(b, 14, 4000); }},
    {"EightBitsPerPixel", false, [](TBytes& b) { b[28] = 8; }},
    {"ThirtyTwoBitsPerPixel", false, [](TBytes& b) { b[28] = 32; }},
    {"RunLengthCompressed", false, [](TBytes& b) { PutLE32(b, 30, 1); }},
    {"BitFields", false, [](TBytes& b) { PutLE32(b, 30, 3); }},
    {"NoPlanes", false, [](TBytes& b) { b[26] = 0; }},
    {"ZeroWidth", false, [](TBytes& b) { PutLE32(b, 18, 0); }},
    {"NegativeWidth", false, [](TBytes& b) { PutLE32(b, 18, static_cast<std::uint32_t>(-5)); }},
    {"ZeroHeight", false, [](TBytes& b) { PutLE32(b, 22, 0); }},
    {"MostNegativeHeight", false, [](TBytes& b) { PutLE32(b, 22, 0x80000000u); }},
    {"HugeDeclaredSize", false,
     [](TBytes& b) {
         PutLE32(b, 18, 100000);
         PutLE32(b, 22, 100000);
     }},
    {"LargeSizeWithLittleData", false,
     [](TBytes& b) {
         PutLE32(b, 18, 8000);
         PutLE32(b, 22, 8000);
     }},
    {"PixelOffsetPastTheEnd", false, [](TBytes& b) { PutLE32(b, 10, 5000); }},
    {"PixelOffsetIntoTheHeaders", false, [](TBytes& b) { PutLE32(b, 10, 20); }},
    {"PixelOffsetWrapsAround", false, [](TBytes& b) { PutLE32(b, 10, 0xFFFFFFF0u); }},
    {"RowsShorterThanDeclared", false, [](TBytes& b) { b.pop_back(); }},
    {"TallerThanItsData", false, [](TBytes& b) { PutLE32(b, 22, 4); }},
};

INSTANTIATE_TEST_SUITE_P(Table, DamagedBmp, ::testing::ValuesIn(kBmpDamage),
                         [](const ::testing::TestParamInfo<TDamage>& info) {
                             return std::string(info.param.Name);
                         });

TEST(Picture, TellsTheKindByTheFirstBytes) {
    TPicture picture;
    picture.LoadFromBytes(EncodeJpeg(TestPicture(), false));
    EXPECT_TRUE(IsExactly<TJPEGImage>(picture.Graphic()));
    EXPECT_EQ(picture.Width(), 61);
    picture.LoadFromBytes(MakeBmp(5, 3, true, BmpPixel));
    EXPECT_TRUE(IsExactly<TBitmap>(picture.Graphic()));
    EXPECT_EQ(picture.Width(), 5);
    EXPECT_EQ(picture.Height(), 3);
}

TEST(Picture, RefusesUnknownKindsAndKeepsWhatItHad) {
    TPicture picture;
    picture.LoadFromBytes(MakeBmp(5, 3, true, BmpPixel));
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    for (const TBytes& bytes : {TBytes{}, TBytes{'G', 'I', 'F', '8', '9', 'a'}, TBytes{0x89, 'P', 'N', 'G'},
                                TBytes{0xFF, 0xD8, 0xFF}}) {
        EXPECT_THROW(picture.LoadFromBytes(bytes), EInvalidGraphic);
    }
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(picture.Width(), 5);
}

TEST(Picture, ReportsEverySettingClearingAndChangeOfItsGraphic) {
    TPicture picture;
    std::vector<TObject*> senders;
    picture.OnChange = [&](TObject* sender) { senders.push_back(sender); };
    TBitmap bitmap(3, 2);
    picture.SetGraphic(&bitmap);
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_NE(picture.Graphic(), &bitmap) << "the picture keeps a copy";
    EXPECT_EQ(picture.Width(), 3);
    picture.Graphic()->SetTransparent(true);
    picture.Graphic()->SetTransparent(true);  // unchanged: no report
    bitmap.SetTransparent(true);              // the original is not the picture's
    picture.SetGraphic(nullptr);
    picture.SetGraphic(nullptr);  // already empty: no report
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(senders, (std::vector<TObject*>{&picture, &picture, &picture}));

    TPicture other;
    other.Assign(&picture);
    EXPECT_EQ(other.Graphic(), nullptr);
    picture.SetGraphic(&bitmap);
    other.Assign(&picture);
    EXPECT_TRUE(other.Graphic()->Transparent());
    EXPECT_NE(other.Graphic(), picture.Graphic());
}

TEST(BitmapSize, KeepsThePixelsThatStillFitAndBlackensTheRest) {
    TBitmap bitmap(3, 3);
    bitmap.Canvas().Brush().Color = clWhite;
    bitmap.Canvas().FillRect({0, 0, 3, 3});
    int changes = 0;
    bitmap.OnChange = [&](TObject*) { ++changes; };
    bitmap.SetSize(4, 2);
    bitmap.SetSize(4, 2);
    EXPECT_EQ(changes, 1);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(bitmap.Canvas().Pixel(x, y), x < 3 ? clWhite : clBlack) << x << "," << y;
        }
    }
    // The canvas follows the new size: drawing reaches the new column.
    bitmap.Canvas().SetPixel(3, 1, clRed);
    EXPECT_EQ(bitmap.Canvas().Pixel(3, 1), clRed);
    bitmap.SetSize(-1, 5);
    EXPECT_TRUE(bitmap.Empty());
}

}  // namespace
}  // namespace kx
