// The canvas at device pixel ratios above 1: the platform's pixels of the same shapes drawn at twice
// the size, the rounding of scaled coordinates, pictures and text at the device resolution.

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/gdi_shape_cases.h"
#include "support/picture_text.h"

#include "platform/canvas.h"
#include "platform/graphics.h"

namespace kx {
namespace {

using test::kBackground;
using test::kBrush;
using test::kPen;
using test::SamePicture;
using test::TPictureText;

char Symbol(QRgb c) {
    return test::ShapeSymbol(RGB(qRed(c), qGreen(c), qBlue(c)));
}

// The device pixels of a bitmap, whatever its ratio.
TPictureText ReadDevice(const TBitmap& bitmap) {
    return test::PictureOf(bitmap.Image(), Symbol);
}

using TDoubledCase = test::TGdiShapeCase;

const std::vector<TDoubledCase>& DoubledCases() {
    static const std::vector<TDoubledCase> cases =
        test::LoadGdiShapeCases(KX_TEST_DATA_DIR "/gdi-shapes-2x.txt");
    return cases;
}

// The shape drawn with its logical coordinates on a bitmap at ratio 2 of half the fixture's size.
TPictureText DrawAtRatio2(const TDoubledCase& c) {
    TBitmap bitmap;
    bitmap.SetPixelRatio(2.0);
    bitmap.SetSize(c.Width / 2, c.Height / 2);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().Color = kBackground;
    canvas.FillRect({0, 0, bitmap.Width(), bitmap.Height()});
    canvas.Pen().Color = kPen;
    canvas.Pen().Style = c.Pen ? psSolid : psClear;
    canvas.Brush().Color = kBrush;
    if (c.Shape == "rect") {
        canvas.Rectangle(c.X1, c.Y1, c.X2, c.Y2);
    } else if (c.Shape == "ellipse") {
        canvas.Ellipse(c.X1, c.Y1, c.X2, c.Y2);
    } else {
        canvas.RoundRect(c.X1, c.Y1, c.X2, c.Y2, c.Corner, c.Corner);
    }
    return ReadDevice(bitmap);
}

TEST(GdiShapes2xFixture, HoldsTheSameCasesAsTheSingleSizeOne) {
    const std::vector<TDoubledCase>& cases = DoubledCases();
    ASSERT_EQ(cases.size(), 80u) << "cannot read " KX_TEST_DATA_DIR "/gdi-shapes-2x.txt";
    for (const TDoubledCase& c : cases) {
        ASSERT_EQ(c.Expected.size(), static_cast<std::size_t>(c.Height)) << c.Name;
        EXPECT_EQ(c.Width % 2, 0) << c.Name;
        EXPECT_EQ(c.Height % 2, 0) << c.Name;
    }
}

class GdiShapesAtRatio2 : public ::testing::TestWithParam<TDoubledCase> {};

// Every shape, with the two-pixel pen or none, is the platform's pixels exactly.
TEST_P(GdiShapesAtRatio2, DrawsThePlatformsPixels) {
    const TDoubledCase& c = GetParam();
    EXPECT_TRUE(SamePicture(c.Expected, DrawAtRatio2(c)));
}

INSTANTIATE_TEST_SUITE_P(Fixture, GdiShapesAtRatio2, ::testing::ValuesIn(DoubledCases()),
                         [](const ::testing::TestParamInfo<TDoubledCase>& info) { return info.param.Name; });

TEST(DevicePixels, ScaledCoordinatesRoundHalvesUpwardSoNeighboursMeet) {
    struct TCase {
        std::int64_t Logical;
        double Ratio;
        std::int64_t Device;
    };
    const TCase cases[] = {{0, 1.5, 0},   {1, 1.5, 2},   {2, 1.5, 3},  {3, 1.5, 5},    {43, 1.5, 65},
                           {-1, 1.5, -1}, {-3, 1.5, -4}, {7, 2.0, 14}, {-7, 2.0, -14}, {123456, 1.0, 123456}};
    for (const TCase& c : cases) {
        EXPECT_EQ(DevicePixels(c.Logical, c.Ratio), c.Device) << c.Logical << " at " << c.Ratio;
    }
}

// At 1.5 the pen is two device pixels, shapes that share an edge still meet, and no pixel takes a
// colour the canvas was not given: integer rasterising, no smoothing.
TEST(CanvasAtRatio, OneAndAHalfDrawsOnlyTheColoursItIsGiven) {
    TBitmap bitmap;
    bitmap.SetPixelRatio(1.5);
    bitmap.SetSize(43, 18);
    ASSERT_EQ(bitmap.Image().width(), 65);
    ASSERT_EQ(bitmap.Image().height(), 27);
    TCanvas& c = bitmap.Canvas();
    c.Pen().Color = kBackground;
    c.Brush().Color = kBackground;
    c.Rectangle(0, 0, 43, 18);
    c.Pen().Color = kPen;
    c.Brush().Color = kBrush;
    c.RoundRect(1, 1, 42, 17, 9, 9);
    c.Rectangle(15, 0, 43, 18);
    c.Ellipse(7, 6, 13, 12);
    const std::set<QRgb> allowed{qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(255, 0, 0)};
    for (int y = 0; y < bitmap.Image().height(); ++y) {
        for (int x = 0; x < bitmap.Image().width(); ++x) {
            ASSERT_TRUE(allowed.count(bitmap.Image().pixel(x, y))) << x << "," << y;
        }
    }
    // The cap's left outline: logical 15 lies at device 23 (22.5 rounded up); the two-pixel pen is
    // centred there, from 22 to 23, and the brush starts at 24.
    const int row = 13;
    EXPECT_EQ(bitmap.Image().pixel(21, row), qRgb(255, 0, 0));  // the base block's inside
    EXPECT_EQ(bitmap.Image().pixel(22, row), qRgb(0, 0, 0));
    EXPECT_EQ(bitmap.Image().pixel(23, row), qRgb(0, 0, 0));
    EXPECT_EQ(bitmap.Image().pixel(24, row), qRgb(255, 0, 0));
}

// A wide-pen curve cut by the edge of the surface keeps every pixel it shows: drawn half off a small
// bitmap it shows exactly the pixels it has on a larger one, brush and pen alike.
TEST(CanvasAtRatio, AWideCurveCutByTheSurfaceKeepsItsVisiblePixels) {
    auto draw = [](int width, int height, int dx, int dy, bool ellipse) {
        TBitmap bitmap;
        bitmap.SetPixelRatio(2.0);
        bitmap.SetSize(width, height);
        TCanvas& c = bitmap.Canvas();
        c.Brush().Color = kBackground;
        c.FillRect({0, 0, width, height});
        c.Pen().Color = kPen;
        c.Brush().Color = kBrush;
        if (ellipse) {
            c.Ellipse(dx, dy, dx + 31, dy + 23);
        } else {
            c.RoundRect(dx, dy, dx + 31, dy + 23, 13, 9);
        }
        return ReadDevice(bitmap);
    };
    for (const bool ellipse : {true, false}) {
        const TPictureText whole = draw(40, 32, 5, 4, ellipse);
        // The small bitmap shows the part from logical (17, 13) on, and a little beyond the shape.
        const TPictureText cut = draw(22, 18, 5 - 17, 4 - 13, ellipse);
        TPictureText expected;
        for (int y = 0; y < 36; ++y) {
            expected.push_back(whole[y + 26].substr(34, 44));
        }
        EXPECT_TRUE(SamePicture(expected, cut)) << (ellipse ? "ellipse" : "rounded rectangle");
    }
}

// At ratio 3 the pen is three device pixels, centred on the outline: a rectangle with square corners
// drawn by RoundRect is the Rectangle, and an ellipse fills the same box.
TEST(CanvasAtRatio, AnOddPenIsCentredOnTheOutline) {
    auto draw = [](int shape) {
        TBitmap bitmap;
        bitmap.SetPixelRatio(3.0);
        bitmap.SetSize(16, 12);
        TCanvas& c = bitmap.Canvas();
        c.Brush().Color = kBackground;
        c.FillRect({0, 0, 16, 12});
        c.Pen().Color = kPen;
        c.Brush().Color = kBrush;
        if (shape == 0) {
            c.Rectangle(2, 2, 14, 10);
        } else if (shape == 1) {
            c.RoundRect(2, 2, 14, 10, 0, 0);
        } else {
            c.Ellipse(2, 2, 14, 10);
        }
        return ReadDevice(bitmap);
    };
    const TPictureText rectangle = draw(0);
    EXPECT_TRUE(SamePicture(rectangle, draw(1)));
    // The box (6, 6)-(42, 30) with the pen one pixel beyond it on every side.
    const TPictureText ellipse = draw(2);
    auto inked = [](const std::string& row, int x) { return row[x] != '.'; };
    EXPECT_TRUE(inked(ellipse[5], 24) && !inked(ellipse[4], 24));
    EXPECT_TRUE(inked(ellipse[30], 24) && !inked(ellipse[31], 24));
    EXPECT_TRUE(inked(ellipse[18], 5) && !inked(ellipse[18], 4));
    EXPECT_TRUE(inked(ellipse[18], 42) && !inked(ellipse[18], 43));
    EXPECT_EQ(ellipse[18].substr(5, 3), "###");
    EXPECT_EQ(ellipse[18].substr(40, 3), "###");
    EXPECT_EQ(ellipse[18][8], 'o');
    EXPECT_TRUE(inked(rectangle[5], 5) && inked(rectangle[30], 42) && !inked(rectangle[31], 42));
}

// A picture stretched on a canvas at ratio 2 is sampled at every device pixel: a 2 x 2 picture drawn
// into a 2 x 2 logical square covers 4 x 4 device pixels in blocks, and one drawn into a 1 x 1
// square keeps a device pixel of each of its four pixels instead of one.
TEST(CanvasAtRatio, StretchDrawSamplesDevicePixels) {
    TBitmap picture(2, 2);
    picture.MutableImage().setPixel(0, 0, qRgb(10, 0, 0));
    picture.MutableImage().setPixel(1, 0, qRgb(20, 0, 0));
    picture.MutableImage().setPixel(0, 1, qRgb(30, 0, 0));
    picture.MutableImage().setPixel(1, 1, qRgb(40, 0, 0));
    TBitmap target;
    target.SetPixelRatio(2.0);
    target.SetSize(3, 2);
    target.Canvas().StretchDraw({0, 0, 2, 2}, &picture);
    target.Canvas().StretchDraw({2, 0, 3, 1}, &picture);
    const QImage& image = target.Image();
    EXPECT_EQ(image.pixel(0, 0), qRgb(10, 0, 0));
    EXPECT_EQ(image.pixel(1, 1), qRgb(10, 0, 0));
    EXPECT_EQ(image.pixel(2, 0), qRgb(20, 0, 0));
    EXPECT_EQ(image.pixel(1, 2), qRgb(30, 0, 0));
    EXPECT_EQ(image.pixel(3, 3), qRgb(40, 0, 0));
    EXPECT_EQ(image.pixel(4, 0), qRgb(10, 0, 0));
    EXPECT_EQ(image.pixel(5, 0), qRgb(20, 0, 0));
    EXPECT_EQ(image.pixel(4, 1), qRgb(30, 0, 0));
    EXPECT_EQ(image.pixel(5, 1), qRgb(40, 0, 0));
    // Logical reads and writes address whole scaled pixels.
    EXPECT_EQ(target.Canvas().Pixel(1, 1), RGB(40, 0, 0));
    target.Canvas().SetPixel(2, 1, clLime);
    EXPECT_EQ(image.pixel(4, 2), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(5, 3), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(3, 3), qRgb(40, 0, 0));
}

// Text is laid out in logical pixels and drawn at the device resolution: at ratio 2 it is twice as
// tall in device pixels, not a pixel-doubled copy of the small one.
TEST(CanvasAtRatio, TextIsDrawnAtTheDeviceResolution) {
    auto inkRows = [](double ratio, bool* doubledOnly) {
        TBitmap bitmap;
        bitmap.SetPixelRatio(ratio);
        bitmap.SetSize(60, 30);
        TCanvas& c = bitmap.Canvas();
        c.Brush().Color = clWhite;
        c.FillRect({0, 0, 60, 30});
        c.Font().SetColor(clBlack);
        c.TextOut(2, 2, "Wg");
        const QImage& image = bitmap.Image();
        int first = -1;
        int last = -1;
        bool blocks = true;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                    first = first < 0 ? y : first;
                    last = y;
                }
                if (ratio == 2.0 && x % 2 == 0 && y % 2 == 0) {
                    const QRgb p = image.pixel(x, y);
                    blocks = blocks && p == image.pixel(x + 1, y) && p == image.pixel(x, y + 1) &&
                             p == image.pixel(x + 1, y + 1);
                }
            }
        }
        if (doubledOnly != nullptr) {
            *doubledOnly = blocks;
        }
        return last - first + 1;
    };
    bool pixelDoubled = true;
    const int single = inkRows(1.0, nullptr);
    const int doubled = inkRows(2.0, &pixelDoubled);
    ASSERT_GT(single, 4);
    EXPECT_GE(doubled, 2 * single - 2);
    EXPECT_LE(doubled, 2 * single + 2);
    EXPECT_FALSE(pixelDoubled) << "the text is a scaled-up copy of the single-size text";
}

}  // namespace
}  // namespace kx
