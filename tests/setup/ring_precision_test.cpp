// The ring looks, pixel for pixel: every circle size the board description uses, each of the
// three types, all three looks, over a photograph whose every pixel differs, compared with a
// reference worked out here in long double that rounds to 32-bit floats exactly where the
// looks' rule says a value is stored.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "board_fixture.h"

namespace kx {
namespace {

using test::BoardFixture;

// The sizes of the circles in the board description, and the default one.
struct TSize {
    int W;
    int H;
};
constexpr TSize kBoardSizes[] = {{56, 39},  {105, 89}, {105, 81}, {105, 41},
                                 {265, 41}, {269, 47}, {361, 73}, {65, 65}};

// The photograph under the circles: no two neighbours alike, every channel used.
QRgb Photo(int x, int y) {
    return qRgb((x * 5 + y * 3) & 255, (x * 11 + 40) & 255, (y * 7 + x) & 255);
}

float F(long double v) {
    return static_cast<float>(v);
}

int Channel(long double v) {
    if (v <= 0) {
        return 0;
    }
    if (v >= 255) {
        return 255;
    }
    // Halves to even, the default rounding mode.
    return static_cast<int>(std::nearbyintl(v));
}

// One pixel of a look, worked out from the rule itself.
QRgb Reference(QRgb under, int i, int j, int w, int h, float strength, int ringR, int ringG, int ringB,
               bool whiteCore) {
    const float sx = F(2.0L / (w - 1));
    const float sy = F(2.0L / (h - 1));
    const float x = F(static_cast<long double>(i) * sx - 1.0L);
    const float y = F(static_cast<long double>(j) * sy - 1.0L);
    const float d = F(static_cast<long double>(x) * x + static_cast<long double>(y) * y);
    if (d >= 1.0f) {
        return under;
    }
    long double r = qRed(under);
    long double g = qGreen(under);
    long double b = qBlue(under);
    float a;
    if (static_cast<long double>(d) < 0.5929L) {
        a = 0.16f;
    } else {
        a = F(1.0L - 8.0L * std::fabs(std::sqrt(static_cast<long double>(d)) - 0.875L));
        if (whiteCore) {
            a = F(2.0L * a);
            if (a > 1.0f) {
                r = g = b = 255;
                a = F(2.0L - a);
            }
        }
    }
    a = F(static_cast<long double>(a) * strength);
    const float rest = F(1.0L - a);
    return qRgb(Channel(r * rest + ringR * static_cast<long double>(a)),
                Channel(g * rest + ringG * static_cast<long double>(a)),
                Channel(b * rest + ringB * static_cast<long double>(a)));
}

struct TTypeCase {
    const char* Name;
    THighlightType Type;
    int R, G, B;  // the ring colour
    float Idle, Lit, Active;
};

void PrintTo(const TTypeCase& c, std::ostream* os) {
    *os << c.Name;
}

class RingPrecision : public BoardFixture, public ::testing::WithParamInterface<TTypeCase> {};

TEST_P(RingPrecision, EveryPixelOfEveryLookMatchesTheRule) {
    const TTypeCase& t = GetParam();
    TBitmap photo(600, 536);
    for (int y = 0; y < 536; ++y) {
        for (int x = 0; x < 600; ++x) {
            photo.MutableImage().setPixel(x, y, Photo(x, y));
        }
    }
    TPicture picture;
    picture.SetGraphic(&photo);
    board->SetPicture(&picture);

    // Stacked down the board without overlapping, so each one lies on the photograph alone.
    std::vector<TBoardHighlight*> circles;
    int top = 0;
    for (const TSize& s : kBoardSizes) {
        const std::string name = "C" + std::to_string(circles.size());
        TBoardHighlight* c = Circle(name.c_str(), 3, top, s.W, s.H, name, t.Type, nullptr);
        c->SetCreatePopup(false);
        circles.push_back(c);
        top += s.H;
    }
    ASSERT_LE(top, 536);
    ShowMain();

    for (TBoardHighlight* c : circles) {
        ASSERT_TRUE(c->Rendered());
        const int w = c->Width();
        const int h = c->Height();
        struct TLook {
            const char* Name;
            const TBitmap& Image;
            float Strength;
            bool WhiteCore;
        };
        const TLook looks[] = {{"idle", c->IdleImage(), t.Idle, false},
                               {"lit", c->LitImage(), t.Lit, false},
                               {"active", c->ActiveImage(), t.Active, true}};
        for (const TLook& look : looks) {
            ASSERT_EQ(look.Image.Width(), w);
            ASSERT_EQ(look.Image.Height(), h);
            int wrong = 0;
            for (int j = 0; j < h; ++j) {
                for (int i = 0; i < w; ++i) {
                    const QRgb expected = Reference(Photo(c->Left() + i, c->Top() + j), i, j, w, h,
                                                    look.Strength, t.R, t.G, t.B, look.WhiteCore);
                    const QRgb actual = look.Image.Image().pixel(i, j) | 0xFF000000u;
                    if (actual != expected && ++wrong <= 3) {
                        ADD_FAILURE() << w << " x " << h << " " << look.Name << " pixel (" << i << ", " << j
                                      << "): " << std::hex << actual << " instead of " << expected;
                    }
                }
            }
            EXPECT_EQ(wrong, 0) << w << " x " << h << " " << look.Name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Types, RingPrecision,
    ::testing::Values(TTypeCase{"Settings", htSettings, 255, 255, 0, 0.5f, 0.75f, 1.0f},
                      TTypeCase{"Options", htOptions, 0, 0, 255, 0.25f, 0.5f, 1.0f},
                      TTypeCase{"Calibration", htCalibration, 255, 0, 0, 0.5f, 0.75f, 1.0f}),
    [](const ::testing::TestParamInfo<TTypeCase>& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace kx
