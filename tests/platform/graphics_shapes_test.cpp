// The canvas's shapes: every case of the pixels the platform's GDI drew, the power jumper's drawing
// composed from them, properties every curve must have at any size, and shapes cut by a clip.

#include <fstream>
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

TPictureText Read(TBitmap& bitmap) {
    TPictureText rows;
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::string row;
        for (int x = 0; x < bitmap.Width(); ++x) {
            row += test::ShapeSymbol(bitmap.Canvas().Pixel(x, y));
        }
        rows.push_back(row);
    }
    return rows;
}

using TShapeCase = test::TGdiShapeCase;

const std::vector<TShapeCase>& ShapeCases() {
    static const std::vector<TShapeCase> cases = test::LoadGdiShapeCases(KX_TEST_DATA_DIR "/gdi-shapes.txt");
    return cases;
}

void DrawShape(TCanvas& canvas, const std::string& shape, int x1, int y1, int x2, int y2, int corner) {
    if (shape == "rect") {
        canvas.Rectangle(x1, y1, x2, y2);
    } else if (shape == "ellipse") {
        canvas.Ellipse(x1, y1, x2, y2);
    } else {
        canvas.RoundRect(x1, y1, x2, y2, corner, corner);
    }
}

void Prepare(TBitmap& bitmap, bool pen) {
    TCanvas& c = bitmap.Canvas();
    c.Brush().Color = kBackground;
    c.FillRect({0, 0, bitmap.Width(), bitmap.Height()});
    c.Pen().Color = kPen;
    c.Pen().Style = pen ? psSolid : psClear;
    c.Brush().Color = kBrush;
}

TEST(GdiShapesFixture, EveryBlockIsComplete) {
    const std::vector<TShapeCase>& cases = ShapeCases();
    ASSERT_FALSE(cases.empty()) << "cannot read " KX_TEST_DATA_DIR "/gdi-shapes.txt";
    for (const TShapeCase& c : cases) {
        EXPECT_TRUE(c.Shape == "rect" || c.Shape == "ellipse" || c.Shape == "roundrect") << c.Name;
        ASSERT_EQ(c.Expected.size(), static_cast<std::size_t>(c.Height)) << c.Name;
        for (const std::string& row : c.Expected) {
            EXPECT_EQ(row.size(), static_cast<std::size_t>(c.Width)) << c.Name;
        }
    }
}

class GdiShapes : public ::testing::TestWithParam<TShapeCase> {};

TEST_P(GdiShapes, DrawsThePlatformsPixels) {
    const TShapeCase& c = GetParam();
    TBitmap bitmap(c.Width, c.Height);
    Prepare(bitmap, c.Pen);
    DrawShape(bitmap.Canvas(), c.Shape, c.X1, c.Y1, c.X2, c.Y2, c.Corner);
    EXPECT_TRUE(SamePicture(c.Expected, Read(bitmap)));
}

INSTANTIATE_TEST_SUITE_P(Fixture, GdiShapes, ::testing::ValuesIn(ShapeCases()),
                         [](const ::testing::TestParamInfo<TShapeCase>& info) { return info.param.Name; });

// The whole drawing of the board's power jumper (43 x 18, cap on pins 2 and 3), composed as its paint
// composes it: background, base block, cap, then the pins over the cap. '.' is the button face, '#'
// black, 'g' the base's grey, 'r' the cap's dark red and 'y' the pins' yellow.
TEST(JumperDrawing, ComposesTheWorkedExample) {
    const TPictureText expected = {
        "...............############################", "....############rrrrrrrrrrrrrrrrrrrrrrrrrr#",
        "..##ggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#", "..#gggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#",
        ".#ggggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#", ".#ggggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#",
        ".#gggggggyygggg#rrrryyrrrrrrrrrryyrrrrrrrr#", ".#ggggggyyyyggg#rrryyyyrrrrrrrryyyyrrrrrrr#",
        ".#gggggyyyyyygg#rryyyyyyrrrrrryyyyyyrrrrrr#", ".#gggggyyyyyygg#rryyyyyyrrrrrryyyyyyrrrrrr#",
        ".#ggggggyyyyggg#rrryyyyrrrrrrrryyyyrrrrrrr#", ".#gggggggyygggg#rrrryyrrrrrrrrrryyrrrrrrrr#",
        ".#ggggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#", ".#ggggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#",
        "..#gggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#", "..##ggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#",
        "....############rrrrrrrrrrrrrrrrrrrrrrrrrr#", "...............############################",
    };
    TBitmap bitmap(43, 18);
    TCanvas& c = bitmap.Canvas();
    c.Pen().Color = clBtnFace;
    c.Brush().Color = clBtnFace;
    c.Rectangle(0, 0, 43, 18);
    c.Pen().Color = clBlack;
    c.Brush().Color = 0x808080;
    c.RoundRect(1, 1, 42, 17, 9, 9);
    c.Brush().Color = 0x000080;
    c.Rectangle(15, 0, 43, 18);
    c.Pen().Style = psClear;
    c.Brush().Color = 0x00FFFF;
    c.Ellipse(7, 6, 13, 12);
    c.Ellipse(18, 6, 24, 12);
    c.Ellipse(30, 6, 36, 12);

    // The button face is the desktop palette's, whatever value that gives it.
    const TColor face = ColorToRGB(clBtnFace);
    TPictureText drawn;
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::string row;
        for (int x = 0; x < bitmap.Width(); ++x) {
            const TColor pixel = c.Pixel(x, y);
            if (pixel == face) {
                row += '.';
                continue;
            }
            switch (pixel) {
                case clBlack:
                    row += '#';
                    break;
                case 0x808080:
                    row += 'g';
                    break;
                case 0x000080:
                    row += 'r';
                    break;
                case 0x00FFFF:
                    row += 'y';
                    break;
                default:
                    row += '?';
            }
        }
        drawn.push_back(row);
    }
    EXPECT_TRUE(SamePicture(expected, drawn));
}

// Pixel sets of one shape drawn into a bitmap of its own size.
struct TCoverage {
    std::vector<std::vector<char>> Cells;  // 0 outside, 1 pen, 2 brush
    char At(int x, int y) const { return Cells[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]; }
};

TCoverage Cover(int w, int h, bool pen, bool ellipse) {
    TBitmap bitmap(w, h);
    Prepare(bitmap, pen);
    if (ellipse) {
        bitmap.Canvas().Ellipse(0, 0, w, h);
    } else {
        bitmap.Canvas().RoundRect(0, 0, w, h, w / 2, h / 3);
    }
    TCoverage c;
    for (int y = 0; y < h; ++y) {
        std::vector<char> row;
        for (int x = 0; x < w; ++x) {
            const TColor p = bitmap.Canvas().Pixel(x, y);
            row.push_back(p == kPen ? 1 : p == kBrush ? 2 : 0);
        }
        c.Cells.push_back(row);
    }
    return c;
}

// Beyond the sizes the platform's pixels cover, every curve must still be a closed, symmetric
// outline that touches all four sides of its box, and the clear pen must fill exactly what outline
// and inside cover. Very flat and very tall ellipses are where a tracer loses pixels.
TEST(CurveOutline, IsClosedSymmetricAndTouchesItsBox) {
    for (bool ellipse : {true, false}) {
        for (int w = 3; w <= 40; ++w) {
            for (int h = 3; h <= 40; ++h) {
                SCOPED_TRACE((ellipse ? "ellipse " : "roundrect ") + std::to_string(w) + " x " +
                             std::to_string(h));
                const TCoverage withPen = Cover(w, h, true, ellipse);
                const TCoverage withoutPen = Cover(w, h, false, ellipse);
                for (int y = 0; y < h; ++y) {
                    int first = -1;
                    int last = -1;
                    for (int x = 0; x < w; ++x) {
                        const char cell = withPen.At(x, y);
                        ASSERT_EQ(cell, withPen.At(w - 1 - x, y))
                            << "not mirrored left to right at " << x << "," << y;
                        ASSERT_EQ(cell, withPen.At(x, h - 1 - y))
                            << "not mirrored top to bottom at " << x << "," << y;
                        ASSERT_EQ(cell != 0, withoutPen.At(x, y) != 0)
                            << "clear pen differs at " << x << "," << y;
                        if (cell != 0) {
                            first = first < 0 ? x : first;
                            last = x;
                        }
                    }
                    ASSERT_GE(first, 0) << "row " << y << " is empty";
                    if (y > 0 && y < h - 1) {
                        bool allPen = true;
                        for (int x = first; x <= last; ++x) {
                            allPen = allPen && withPen.At(x, y) == 1;
                        }
                        ASSERT_FALSE(allPen && last - first >= 2) << "row " << y << " is outline all along";
                    }
                    // One span per row, bounded by pen pixels.
                    for (int x = first; x <= last; ++x) {
                        ASSERT_NE(withPen.At(x, y), 0) << "hole at " << x << "," << y;
                    }
                    ASSERT_EQ(withPen.At(first, y), 1);
                    // Inside pixels never touch the outside: the outline is closed.
                    for (int x = first; x <= last; ++x) {
                        if (withPen.At(x, y) != 2) {
                            continue;
                        }
                        ASSERT_TRUE(y > 0 && y < h - 1) << "brush on the box's edge at " << x << "," << y;
                        ASSERT_NE(withPen.At(x, y - 1), 0) << "open above " << x << "," << y;
                        ASSERT_NE(withPen.At(x, y + 1), 0) << "open below " << x << "," << y;
                    }
                }
                for (int x = 0; x < w; ++x) {
                    bool any = false;
                    for (int y = 0; y < h; ++y) {
                        any = any || withPen.At(x, y) != 0;
                    }
                    ASSERT_TRUE(any) << "column " << x << " is empty";
                }
                if (ellipse && w != h) {
                    const TCoverage turned = Cover(h, w, true, true);
                    for (int y = 0; y < h; ++y) {
                        for (int x = 0; x < w; ++x) {
                            ASSERT_EQ(withPen.At(x, y), turned.At(y, x))
                                << "not the transpose at " << x << "," << y;
                        }
                    }
                }
            }
        }
    }
}

// A canvas whose origin is moved and whose clip rectangle cuts the shape draws, inside the clip,
// exactly the pixels of the same shape drawn unclipped at the shifted place, and nothing outside.
TEST(CanvasClip, ShapesInsideTheClipMatchAndNothingOutsideChanges) {
    const TRect clip{6, 4, 21, 13};  // surface coordinates
    const TPoint origin{5, 3};
    struct TShape {
        const char* Name;
        std::string Kind;
        bool Pen;
    };
    const TShape shapes[] = {
        {"rectangle with pen", "rect", true},    {"rectangle without pen", "rect", false},
        {"ellipse with pen", "ellipse", true},   {"ellipse without pen", "ellipse", false},
        {"rounded with pen", "roundrect", true}, {"rounded without pen", "roundrect", false}};
    for (const TShape& shape : shapes) {
        SCOPED_TRACE(shape.Name);
        TBitmap reference(30, 20);
        Prepare(reference, shape.Pen);
        DrawShape(reference.Canvas(), shape.Kind, 5 - 4, 3 - 6, 5 + 20, 3 + 14, 9);

        TBitmap clipped(30, 20);
        Prepare(clipped, shape.Pen);
        TCanvas canvas;
        canvas.Attach(&clipped.MutableImage(), origin, clip);
        canvas.Pen() = clipped.Canvas().Pen();
        canvas.Brush() = clipped.Canvas().Brush();
        EXPECT_EQ(canvas.ClipRect(), (TRect{1, 1, 16, 10}));
        DrawShape(canvas, shape.Kind, -4, -6, 20, 14, 9);

        TPictureText expected = Read(reference);
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 30; ++x) {
                if (!clip.Contains({x, y})) {
                    expected[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = '.';
                }
            }
        }
        EXPECT_TRUE(SamePicture(expected, Read(clipped)));
    }
}

}  // namespace
}  // namespace kx
