// The JPEG reader's bounds on work and memory: a file whose pixels times scans, or whose decoded
// image and coefficient buffer, exceed what the reader takes on is refused from its headers,
// before any decoding, while pictures within the bounds, many scans and all, decode as before.

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QImage>

#include "platform/graphics.h"
#include "platform/jpeg_limits.h"
#include "support/noise_jpeg.h"

namespace kx {
namespace {

using TBytes = std::vector<unsigned char>;
using TScans = test::TJpegScans;

// A noise picture of side x side pixels, colour at full resolution.
TBytes EncodeNoise(int side, TScans scans) {
    return test::EncodeNoiseJpeg(side, scans).Bytes;
}

// Declares another size in the frame header, as a forged file does; the data stays that of the
// small picture.
TBytes WithDeclaredSize(TBytes jpeg, unsigned width, unsigned height) {
    for (std::size_t i = 2; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = static_cast<unsigned char>(height >> 8);
            jpeg[i + 6] = static_cast<unsigned char>(height & 0xFF);
            jpeg[i + 7] = static_cast<unsigned char>(width >> 8);
            jpeg[i + 8] = static_cast<unsigned char>(width & 0xFF);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

// The reader's message for the file, or "" when it decoded.
std::string Refusal(const TBytes& jpeg) {
    try {
        DecodeJpeg(jpeg.data(), jpeg.size());
        return "";
    } catch (const EInvalidGraphic& e) {
        return e.what();
    }
}

TEST(JpegLimits, ManyScansWithinTheWorkLimitDecode) {
    const TBytes jpeg = EncodeNoise(64, TScans::Many);
    TJpegInfo info;
    const QImage image = DecodeJpeg(jpeg.data(), jpeg.size(), &info);
    EXPECT_EQ(image.size(), QSize(64, 64));
    EXPECT_TRUE(info.Progressive);
}

TEST(JpegLimits, WorkIsPixelsTimesScans) {
    const TBytes jpeg = EncodeNoise(64, TScans::Many);  // 569 scans
    struct Case {
        unsigned Width;
        unsigned Height;
        bool TooMuchWork;
    };
    // 2048 x 2048 x 569 is 2.39e9 pixel-scans, above the limit of 2e9; half of it is below, and
    // is then refused only because its data ends early.
    static_assert(MaxJpegWork == 2'000'000'000);
    const Case cases[] = {{2048, 2048, true}, {1024, 2048, false}, {2048, 1024, false}, {3000, 3000, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.Width) + " x " + std::to_string(c.Height));
        const std::string message = Refusal(WithDeclaredSize(jpeg, c.Width, c.Height));
        ASSERT_NE(message, "");
        EXPECT_EQ(message.find("more work than this program takes on") != std::string::npos, c.TooMuchWork)
            << message;
        EXPECT_EQ(message.find("569 scans") != std::string::npos, c.TooMuchWork) << message;
    }
}

TEST(JpegLimits, MemoryForImageAndCoefficientsIsBounded) {
    // Progressive at full colour resolution: 4 bytes of image and 6 of coefficients per pixel.
    // 6400 x 6400 is 41 million pixels, 410 MB in all, above the limit of 384 MiB, while its
    // work, ten scans, is well within bounds. A baseline file keeps no coefficients, so
    // 6400 x 6400 costs it 164 MB only.
    static_assert(MaxJpegMemory == 384ull * 1024 * 1024);
    const TBytes progressive = EncodeNoise(64, TScans::Standard);
    const TBytes baseline = EncodeNoise(64, TScans::Baseline);
    const std::string memory = "needs more memory than this program gives it";
    EXPECT_NE(Refusal(WithDeclaredSize(progressive, 6400, 6400)).find(memory), std::string::npos);
    EXPECT_EQ(Refusal(WithDeclaredSize(progressive, 1600, 1600)).find(memory), std::string::npos);
    EXPECT_EQ(Refusal(WithDeclaredSize(baseline, 6400, 6400)).find(memory), std::string::npos);
}

}  // namespace
}  // namespace kx
