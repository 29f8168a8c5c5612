// The canvas's pixel access, block copies, scaling and text, on small bitmaps whose every pixel is
// known, and the colour and rectangle helpers they rest on.

#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QPalette>

#include "platform/canvas.h"
#include "platform/graphics.h"

namespace kx {
namespace {

constexpr TColor kBrush = clRed;

// A colour of the application's palette as one of ours.
TColor PaletteColor(QPalette::ColorRole role, QPalette::ColorGroup group = QPalette::Active) {
    const QColor c = QGuiApplication::palette().color(group, role);
    return RGB(c.red(), c.green(), c.blue());
}

TEST(CanvasClip, ClipIsCutToTheSurface) {
    TBitmap bitmap(10, 8);
    TCanvas canvas;
    canvas.Attach(&bitmap.MutableImage(), {-3, 2}, {-5, -5, 50, 6});
    EXPECT_EQ(canvas.ClipRect(), (TRect{3, -2, 13, 4}));
    canvas.Brush().Color = kBrush;
    canvas.FillRect({-100, -100, 100, 100});
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 10; ++x) {
            EXPECT_EQ(bitmap.Canvas().Pixel(x, y), y < 6 ? kBrush : clBlack) << x << "," << y;
        }
    }
}

TEST(CanvasPixels, ReadAndWriteInsideTheClipOnly) {
    TBitmap bitmap(4, 3);
    TCanvas canvas;
    canvas.Attach(&bitmap.MutableImage(), {1, 1}, {1, 1, 3, 3});
    canvas.SetPixel(0, 0, RGB(1, 2, 3));
    canvas.SetPixel(1, 1, clBtnFace);
    canvas.SetPixel(-1, 0, clWhite);  // outside the clip
    canvas.SetPixel(2, 0, clWhite);   // outside the clip
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(1, 2, 3));
    EXPECT_EQ(canvas.Pixel(1, 1), PaletteColor(QPalette::Window)) << "the button face is the palette's";
    EXPECT_EQ(bitmap.Canvas().Pixel(1, 1), RGB(1, 2, 3));
    EXPECT_EQ(bitmap.Canvas().Pixel(0, 1), clBlack);
    EXPECT_EQ(bitmap.Canvas().Pixel(3, 1), clBlack);
    bitmap.Canvas().SetPixel(3, 1, clWhite);
    EXPECT_EQ(canvas.Pixel(2, 0), clBlack) << "outside the clip reads black";
    EXPECT_EQ(canvas.Pixel(-1, -1), clBlack);
    EXPECT_EQ(canvas.Pixel(1000, 1000), clBlack);
}

TEST(CanvasPixels, DetachedCanvasDoesNothing) {
    TCanvas canvas;
    EXPECT_FALSE(canvas.HasSurface());
    canvas.SetPixel(0, 0, clWhite);
    canvas.Ellipse(0, 0, 10, 10);
    canvas.TextOut(0, 0, "x");
    EXPECT_EQ(canvas.Pixel(0, 0), clBlack);
}

// Fills a bitmap with a pattern in which every pixel has its own colour.
void Pattern(TBitmap& bitmap) {
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            bitmap.Canvas().SetPixel(x, y, RGB(x * 10, y * 10, 100));
        }
    }
}

TEST(CanvasCopy, CopiesABlockCutToBothSides) {
    TBitmap source(6, 5);
    Pattern(source);
    TBitmap target(8, 8);
    TCanvas canvas;
    canvas.Attach(&target.MutableImage(), {0, 0}, {0, 0, 7, 8});
    // Asks for 5 x 4 from (3, 2) to (4, 5): the source ends after 3 columns and 3 rows, and the clip
    // stops the fourth target column.
    canvas.CopyFrom(4, 5, 5, 4, source.Canvas(), 3, 2);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool copied = x >= 4 && x < 7 && y >= 5 && y < 8;
            const TColor expected = copied ? RGB((x - 1) * 10, (y - 3) * 10, 100) : clBlack;
            EXPECT_EQ(target.Canvas().Pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(CanvasCopy, OverlappingCopyWithinOneSurfaceActsAsIfThroughABuffer) {
    struct TShift {
        const char* Name;
        int Dx, Dy;
    };
    for (const TShift& shift : {TShift{"down right", 1, 2}, TShift{"up left", -2, -1}, TShift{"right", 2, 0},
                                TShift{"down", 0, 1}}) {
        SCOPED_TRACE(shift.Name);
        TBitmap bitmap(6, 6);
        Pattern(bitmap);
        TBitmap original(6, 6);
        Pattern(original);
        bitmap.Canvas().CopyFrom(1 + shift.Dx, 1 + shift.Dy, 3, 3, bitmap.Canvas(), 1, 1);
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 6; ++x) {
                const int sx = x - shift.Dx;
                const int sy = y - shift.Dy;
                const bool moved = sx >= 1 && sx < 4 && sy >= 1 && sy < 4;
                const TColor expected = original.Canvas().Pixel(moved ? sx : x, moved ? sy : y);
                EXPECT_EQ(bitmap.Canvas().Pixel(x, y), expected) << x << "," << y;
            }
        }
    }
}

TEST(CanvasStretch, SameSizeIsAPlainCopy) {
    TBitmap source(7, 5);
    Pattern(source);
    TBitmap target(10, 10);
    target.Canvas().StretchDraw(Bounds(2, 3, 7, 5), &source);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 9 && y >= 3 && y < 8;
            EXPECT_EQ(target.Canvas().Pixel(x, y), inside ? source.Canvas().Pixel(x - 2, y - 3) : clBlack);
        }
    }
}

TEST(CanvasStretch, ScalesToTheNearestSourcePixel) {
    TBitmap source(4, 4);
    Pattern(source);
    struct TScale {
        const char* Name;
        int W, H;
        std::vector<int> Columns, Rows;  // source column and row of each target column and row
    };
    const TScale scales[] = {
        {"doubled", 8, 8, {0, 0, 1, 1, 2, 2, 3, 3}, {0, 0, 1, 1, 2, 2, 3, 3}},
        {"halved", 2, 2, {1, 3}, {1, 3}},
        {"wide and flat", 6, 1, {0, 1, 1, 2, 3, 3}, {2}},
    };
    for (const TScale& s : scales) {
        SCOPED_TRACE(s.Name);
        TBitmap target(s.W, s.H);
        target.Canvas().StretchDraw({0, 0, s.W, s.H}, &source);
        for (int y = 0; y < s.H; ++y) {
            for (int x = 0; x < s.W; ++x) {
                EXPECT_EQ(target.Canvas().Pixel(x, y),
                          source.Canvas().Pixel(s.Columns[static_cast<std::size_t>(x)],
                                                s.Rows[static_cast<std::size_t>(y)]))
                    << x << "," << y;
            }
        }
    }
}

TEST(CanvasStretch, EmptyPictureOrRectangleDrawsNothing) {
    TBitmap empty;
    TBitmap source(3, 3);
    Pattern(source);
    TBitmap target(4, 4);
    target.Canvas().StretchDraw({0, 0, 4, 4}, &empty);
    target.Canvas().StretchDraw({0, 0, 4, 4}, nullptr);
    target.Canvas().StretchDraw({3, 3, 1, 1}, &source);
    target.Canvas().StretchDraw({2, 2, 2, 2}, &source);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(target.Canvas().Pixel(x, y), clBlack);
        }
    }
}

TEST(CanvasStretch, TransparentBitmapLeavesItsBottomLeftColourUndrawn) {
    TBitmap source(3, 2);
    source.Canvas().Brush().Color = clWhite;
    source.Canvas().FillRect({0, 0, 3, 2});
    source.Canvas().SetPixel(1, 0, clRed);
    source.SetTransparent(true);
    TBitmap target(3, 2);
    target.Canvas().Brush().Color = clBlue;
    target.Canvas().FillRect({0, 0, 3, 2});
    target.Canvas().Draw(0, 0, &source);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(target.Canvas().Pixel(x, y), x == 1 && y == 0 ? clRed : clBlue) << x << "," << y;
        }
    }
}

bool AnyPixelIsNot(TBitmap& bitmap, const TRect& area, TColor colour) {
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) {
            if (bitmap.Canvas().Pixel(x, y) != colour) {
                return true;
            }
        }
    }
    return false;
}

TEST(CanvasText, DrawsInTheFontColourInsideTheClipOnly) {
    TBitmap bitmap(60, 30);
    bitmap.Canvas().Brush().Color = clWhite;
    bitmap.Canvas().FillRect({0, 0, 60, 30});
    TCanvas canvas;
    canvas.Attach(&bitmap.MutableImage(), {10, 5}, {10, 5, 40, 30});
    canvas.Font().SetColor(clBlack);
    canvas.Font().SetHeight(-16);
    canvas.TextOut(-8, 0, "WWWWWW");
    EXPECT_TRUE(AnyPixelIsNot(bitmap, {10, 5, 40, 30}, clWhite)) << "no text drawn";
    EXPECT_FALSE(AnyPixelIsNot(bitmap, {0, 0, 10, 30}, clWhite)) << "text left of the clip";
    EXPECT_FALSE(AnyPixelIsNot(bitmap, {40, 0, 60, 30}, clWhite)) << "text right of the clip";
    EXPECT_FALSE(AnyPixelIsNot(bitmap, {0, 0, 60, 5}, clWhite)) << "text above the clip";
    // Antialiased edges blend towards white; the strokes themselves are the font colour.
    bool black = false;
    for (int y = 5; y < 30 && !black; ++y) {
        for (int x = 10; x < 40 && !black; ++x) {
            black = bitmap.Canvas().Pixel(x, y) == clBlack;
        }
    }
    EXPECT_TRUE(black);
}

TEST(CanvasText, TextRectStaysInsideItsRectangle) {
    TBitmap bitmap(80, 40);
    bitmap.Canvas().Brush().Color = clWhite;
    bitmap.Canvas().FillRect({0, 0, 80, 40});
    TCanvas& c = bitmap.Canvas();
    c.Font().SetColor(clBlack);
    const TRect r{20, 10, 50, 30};
    c.TextRect(r, "a long line that cannot fit in thirty pixels", taLeftJustify, true);
    EXPECT_TRUE(AnyPixelIsNot(bitmap, r, clWhite));
    EXPECT_FALSE(AnyPixelIsNot(bitmap, {0, 0, 80, 10}, clWhite));
    EXPECT_FALSE(AnyPixelIsNot(bitmap, {0, 30, 80, 40}, clWhite));
    EXPECT_FALSE(AnyPixelIsNot(bitmap, {0, 0, 20, 40}, clWhite));
    EXPECT_FALSE(AnyPixelIsNot(bitmap, {50, 0, 80, 40}, clWhite));
}

TEST(CanvasText, RightAlignmentEndsAtTheRightEdge) {
    TBitmap left(100, 20);
    TBitmap right(100, 20);
    for (TBitmap* b : {&left, &right}) {
        b->Canvas().Brush().Color = clWhite;
        b->Canvas().FillRect({0, 0, 100, 20});
        b->Canvas().Font().SetColor(clBlack);
    }
    left.Canvas().TextRect({0, 0, 100, 20}, "VEXT", taLeftJustify, false);
    right.Canvas().TextRect({0, 0, 100, 20}, "VEXT", taRightJustify, false);
    EXPECT_TRUE(AnyPixelIsNot(left, {0, 0, 30, 20}, clWhite));
    EXPECT_FALSE(AnyPixelIsNot(left, {60, 0, 100, 20}, clWhite));
    EXPECT_FALSE(AnyPixelIsNot(right, {0, 0, 60, 20}, clWhite));
    EXPECT_TRUE(AnyPixelIsNot(right, {70, 0, 100, 20}, clWhite));
}

TEST(CanvasText, MeasuresWithItsFont) {
    TCanvas canvas;
    canvas.Font().SetHeight(-11);
    const int narrow = canvas.TextWidth("VUSB");
    EXPECT_GT(narrow, 0);
    EXPECT_GT(canvas.TextWidth("VUSB VUSB"), narrow);
    EXPECT_EQ(canvas.TextWidth(""), 0);
    const int small = canvas.TextHeight("X");
    canvas.Font().SetHeight(-22);
    EXPECT_GT(canvas.TextWidth("VUSB"), narrow);
    EXPECT_GT(canvas.TextHeight("X"), small);
}

TEST(CanvasFrame, DashesRunAlongTheEdgesOnly) {
    TBitmap bitmap(9, 5);
    bitmap.Canvas().Pen().Color = clWhite;
    bitmap.Canvas().DashedFrame({0, 0, 9, 5});
    const char* expected[] = {
        "###...###", "#.......#", "#.......#", ".........", "###...###",
    };
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 9; ++x) {
            EXPECT_EQ(bitmap.Canvas().Pixel(x, y), expected[y][x] == '#' ? clWhite : clBlack)
                << x << "," << y;
        }
    }
}

// Coordinates far beyond the surface must neither overflow nor take time: only what is visible is
// drawn. A rectangle whose outline lies outside fills the whole surface with its brush.
TEST(CanvasExtremes, FarCoordinatesAreClippedWithoutOverflow) {
    TBitmap bitmap(6, 4);
    TCanvas& c = bitmap.Canvas();
    c.Brush().Color = kBrush;
    c.Rectangle(-2000000000, -2000000000, 2000000000, 2000000000);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) {
            EXPECT_EQ(c.Pixel(x, y), kBrush) << x << "," << y;
        }
    }
    c.Brush().Color = clBlue;
    c.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    c.RoundRect(INT_MAX, INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    c.FillRect({INT_MIN, INT_MIN, INT_MIN + 3, INT_MIN + 3});
    c.SetPixel(INT_MAX, INT_MAX, clBlue);
    EXPECT_EQ(c.Pixel(INT_MIN, INT_MAX), clBlack);
    TCanvas shifted;
    shifted.Attach(&bitmap.MutableImage(), {INT_MAX, INT_MIN}, {0, 0, 6, 4});
    shifted.Brush().Color = clBlue;
    shifted.FillRect({INT_MIN, 0, 0, INT_MAX});
    shifted.Ellipse(-10, -10, 10, 10);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) {
            EXPECT_EQ(c.Pixel(x, y), kBrush) << x << "," << y;
        }
    }
}

// System colours are the desktop palette's, looked up when used: a palette set later shows in the
// very next lookup, and explicit colours never change.
TEST(Colours, SystemColoursComeFromTheDesktopPalette) {
    struct TCase {
        const char* Name;
        TColor Colour;
        QPalette::ColorGroup Group;
        QPalette::ColorRole Role;
    };
    const TCase cases[] = {
        {"button face", clBtnFace, QPalette::Active, QPalette::Window},
        {"window", clWindow, QPalette::Active, QPalette::Base},
        {"window text", clWindowText, QPalette::Active, QPalette::WindowText},
        {"button text", clBtnText, QPalette::Active, QPalette::ButtonText},
        {"button shadow", clBtnShadow, QPalette::Active, QPalette::Dark},
        {"button highlight", clBtnHighlight, QPalette::Active, QPalette::Light},
        {"grey text", clGrayText, QPalette::Disabled, QPalette::WindowText},
        {"highlight", clHighlight, QPalette::Active, QPalette::Highlight},
        {"highlight text", clHighlightText, QPalette::Active, QPalette::HighlightedText},
    };
    const QPalette light = QGuiApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
    dark.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x7f, 0x7f, 0x7f));
    for (const QPalette& palette : {light, dark}) {
        QGuiApplication::setPalette(palette);
        for (const TCase& c : cases) {
            EXPECT_EQ(ColorToRGB(c.Colour), PaletteColor(c.Role, c.Group)) << c.Name;
        }
        EXPECT_EQ(ColorToRGB(RGB(1, 2, 3)), RGB(1, 2, 3)) << "an explicit colour stays as given";
        EXPECT_EQ(ColorToRGB(clSystemColor | 200), clBlack) << "a system colour the desktop does not have";
    }
    EXPECT_EQ(ColorToRGB(clWindow), RGB(0x2a, 0x2a, 0x2a));
    QGuiApplication::setPalette(light);
    EXPECT_EQ(ColorToRGB(clWindow), PaletteColor(QPalette::Base));
}

TEST(Rectangles, IntersectionIsEmptyWhenApart) {
    EXPECT_EQ((TRect{0, 0, 10, 10}.Intersect({5, -5, 20, 5})), (TRect{5, 0, 10, 5}));
    EXPECT_TRUE((TRect{0, 0, 10, 10}.Intersect({10, 0, 20, 10})).IsEmpty());
    EXPECT_EQ((TRect{0, 0, 10, 10}.Intersect({20, 20, 30, 30})), TRect{});
}

}  // namespace
}  // namespace kx
