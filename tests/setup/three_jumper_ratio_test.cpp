// The three-pin jumper on a high-density screen: its device pixels at ratio 2 are the platform's shapes
// drawn at twice the size, and at 1.5 it stays sharp, every pixel one of its own colours.

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "support/gdi_shape_cases.h"
#include "support/picture_text.h"

#include "platform/application.h"
#include "platform/canvas.h"
#include "platform/form.h"
#include "setup/radio_panel.h"
#include "setup/three_jumper.h"

namespace kx {
namespace {

using test::Join;
using test::SamePicture;
using test::TPictureText;

// '.' the panel's face, '#' black, 'g' grey base, 'r' dark red cap, 'y' yellow pin, '?' anything else.
char Symbol(QRgb p) {
    const TColor face = ColorToRGB(clBtnFace);
    if (p == qRgb(GetRValue(face), GetGValue(face), GetBValue(face))) {
        return '.';
    }
    switch (p) {
        case qRgb(0, 0, 0):
            return '#';
        case qRgb(128, 128, 128):
            return 'g';
        case qRgb(128, 0, 0):
            return 'r';
        case qRgb(255, 255, 0):
            return 'y';
        default:
            return '?';
    }
}

TPictureText Read(const QImage& image) {
    return test::PictureOf(image, Symbol);
}

// One block of the platform's pixels at twice the size.
TPictureText DoubledFixture(const std::string& name) {
    for (const test::TGdiShapeCase& c : test::LoadGdiShapeCases(KX_TEST_DATA_DIR "/gdi-shapes-2x.txt")) {
        if (c.Name == name) {
            return c.Expected;
        }
    }
    return {};
}

class ThreeJumperRatioTest : public ::testing::Test {
protected:
    ThreeJumperRatioTest() {
        form = new TForm(&app);
        form->SetBounds(0, 0, 400, 300);
        panel = new TRadioPanel(form);
        panel->SetParent(form);
        panel->SetBounds(0, 0, 240, 160);
        jumper = new TThreeJumper(form);
        jumper->SetParent(panel);
        jumper->SetLeft(20);
        jumper->SetTop(30);
    }

    // Hides the jumper and puts a new one in its place, turned before its first paint so that it keeps
    // the size it is given.
    void Replace(TOrientationType o, TJumperState state) {
        jumper->SetVisible(false);
        jumper = new TThreeJumper(form);
        jumper->SetOrientation(o);
        jumper->SetJumperState(state);
        const bool quarter = o == otLeft || o == otRight;
        jumper->SetBounds(20, 30, quarter ? 18 : 43, quarter ? 43 : 18);
        jumper->SetParent(panel);
    }

    // The jumper's device pixels as the panel paints them at the ratio.
    QImage Shown(double ratio) { return panel->Render(jumper->BoundsRect(), ratio); }

    TApplication app;
    TForm* form = nullptr;
    TRadioPanel* panel = nullptr;
    TThreeJumper* jumper = nullptr;
};

// The power jumper with its cap on pins 2 and 3: every device pixel is the platform's shapes at twice
// the size. The base is the fixture's rounded rectangle with the two-pixel pen, the cap's rectangle
// has its outline two pixels wide and centred on the doubled box, and the pins are the fixture's
// pen-less ellipse moved to their centres.
TEST_F(ThreeJumperRatioTest, AtRatio2TheJumperIsThePlatformsDoubledShapes) {
    jumper->SetJumperState(jsRight);
    const QImage shown = Shown(2.0);
    ASSERT_EQ(shown.width(), 86);
    ASSERT_EQ(shown.height(), 36);
    EXPECT_EQ(jumper->ShowBitmap().PixelRatio(), 2.0);

    const TPictureText base = DoubledFixture("roundrect_1_1_42_17_9_pen");
    const TPictureText pin = DoubledFixture("ellipse_7_6_13_12_0_nopen");
    ASSERT_GE(base.size(), 36u);
    ASSERT_GE(pin.size(), 36u);
    TPictureText expected(36, std::string(86, '.'));
    for (int y = 0; y < 36; ++y) {
        for (int x = 0; x < 86; ++x) {
            const char b = base[y][x];
            expected[y][x] = b == '#' ? '#' : b == 'o' ? 'g' : '.';
            if (x >= 29) {
                // Rectangle(15, 0, 43, 18) doubled: the box (30, 0)-(86, 36), the pen from 29 to 30
                // and from 84 to 85 across, rows 0 and 34 to 35 down (row -1 lies outside).
                const bool outline = x == 29 || x == 30 || x >= 84 || y == 0 || y >= 34;
                expected[y][x] = outline ? '#' : 'r';
            }
            for (const int shift : {0, 22, 46}) {  // pins 1 to 3, 11 logical pixels apart and 12 more
                const int px = x - shift;
                if (px >= 0 && pin[y][px] == 'o') {
                    expected[y][x] = 'y';
                }
            }
        }
    }
    EXPECT_TRUE(SamePicture(expected, Read(shown)));
}

// The whole picture at ratio 2 is the worked example's shapes drawn on a canvas at ratio 2, turned
// as the orientation says; every pixel is one of the jumper's colours.
TEST_F(ThreeJumperRatioTest, AtRatio2EveryOrientationTurnsTheDevicePicture) {
    TBitmap reference;
    reference.SetPixelRatio(2.0);
    reference.SetSize(43, 18);
    TCanvas& c = reference.Canvas();
    c.Pen().Color = clBtnFace;
    c.Brush().Color = clBtnFace;
    c.Rectangle(0, 0, 43, 18);
    c.Pen().Color = clBlack;
    c.Brush().Color = clGray;
    c.RoundRect(1, 1, 42, 17, 9, 9);
    c.Brush().Color = clMaroon;
    c.Rectangle(0, 0, 27, 18);
    c.Pen().Style = psClear;
    c.Brush().Color = clYellow;
    for (const int x : {10, 21, 33}) {
        c.Ellipse(x - 3, 6, x + 3, 12);
    }
    const TPictureText upright = Read(reference.Image());

    struct TCase {
        TOrientationType Orientation;
    };
    for (const TCase& k : {TCase{otUp}, TCase{otDown}, TCase{otLeft}, TCase{otRight}}) {
        Replace(k.Orientation, jsLeft);
        const TPictureText drawn = Read(Shown(2.0));
        TPictureText expected = upright;
        const int w = static_cast<int>(upright.front().size());
        const int h = static_cast<int>(upright.size());
        if (k.Orientation != otUp) {
            const bool quarter = k.Orientation == otLeft || k.Orientation == otRight;
            expected.assign(quarter ? w : h, std::string(quarter ? h : w, ' '));
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    const char p = upright[y][x];
                    if (k.Orientation == otDown) {
                        expected[h - 1 - y][w - 1 - x] = p;
                    } else if (k.Orientation == otLeft) {
                        expected[w - 1 - x][y] = p;
                    } else {
                        expected[x][h - 1 - y] = p;
                    }
                }
            }
        }
        EXPECT_TRUE(SamePicture(expected, drawn)) << static_cast<int>(k.Orientation);
        EXPECT_EQ(std::string(Join(drawn)).find('?'), std::string::npos);
    }
}

// At 1.5 the measures stay logical and the shapes are rasterised at rounded device coordinates: no
// pixel takes a blend of two colours, in any state or orientation.
TEST_F(ThreeJumperRatioTest, AtOneAndAHalfThereIsNoBlur) {
    for (const TJumperState state : {jsOpen, jsLeft, jsRight}) {
        for (const TOrientationType o : {otUp, otLeft}) {
            Replace(o, state);
            const QImage shown = Shown(1.5);
            EXPECT_EQ(shown.width(), o == otUp ? 65 : 27);
            EXPECT_EQ(shown.height(), o == otUp ? 27 : 65);
            const TPictureText drawn = Read(shown);
            std::set<char> used;
            for (const std::string& row : drawn) {
                used.insert(row.begin(), row.end());
            }
            EXPECT_EQ(used.count('?'), 0u) << "state " << static_cast<int>(state) << ":\n" << Join(drawn);
            EXPECT_TRUE(used.count('y') && used.count('#') && used.count('g'));
        }
    }
}

// Painting at another ratio changes nothing the program reasons with: the jumper's bounds, its state
// and where a click lands stay in logical pixels.
TEST_F(ThreeJumperRatioTest, RatioLeavesBoundsAndHitTestsAlone) {
    jumper->SetJumperState(jsRight);
    const TRect before = jumper->BoundsRect();
    Shown(2.0);
    Shown(1.5);
    EXPECT_EQ(jumper->BoundsRect(), before);
    EXPECT_EQ(jumper->JumperState(), jsRight);
    EXPECT_EQ(panel->ControlAtPos({20, 30}, false), jumper);
    EXPECT_EQ(panel->ControlAtPos({62, 47}, false), jumper);
    EXPECT_EQ(panel->ControlAtPos({63, 47}, false), nullptr);
    // Back at ratio 1 the picture is the single-size one again.
    EXPECT_EQ(Shown(1.0).width(), 43);
    EXPECT_EQ(jumper->ShowBitmap().PixelRatio(), 1.0);
}

}  // namespace
}  // namespace kx
