// Text stays readable on what it is drawn over: the contrast measure, the
// choice of a readable text colour, and labels whose given colours would not
// read on their panel.

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>
#include <QApplication>
#include <QPalette>

#include "platform/application.h"
#include "platform/color_contrast.h"
#include "platform/form.h"
#include "platform/std_controls.h"

namespace kx {
namespace {

TEST(Contrast, MeasuresAsTheAccessibilityGuidelinesDo) {
    struct TCase {
        const char* Name;
        TColor A;
        TColor B;
        double Ratio;
    };
    const TCase cases[] = {
        {"black on white", clBlack, clWhite, 21.0},
        {"white on black", clWhite, clBlack, 21.0},
        {"a colour on itself", RGB(12, 200, 99), RGB(12, 200, 99), 1.0},
        {"the lightest grey that reads on white", RGB(0x76, 0x76, 0x76), clWhite, 4.54},
        {"one step lighter", RGB(0x77, 0x77, 0x77), clWhite, 4.48},
        {"the help's yellow on its grey", RGB(255, 255, 64), RGB(0xDD, 0xDD, 0xDD), 1.27},
    };
    for (const TCase& c : cases) {
        EXPECT_NEAR(ContrastRatio(c.A, c.B), c.Ratio, 0.01) << c.Name;
    }
}

TEST(Contrast, ReadableTextKeepsAGoodColourAndReplacesAPoorOne) {
    const QPalette saved = QApplication::palette();
    QPalette p = saved;
    p.setColor(QPalette::WindowText, QColor(0x20, 0x20, 0x20));
    QApplication::setPalette(p);
    struct TCase {
        const char* Name;
        TColor Text;
        TColor Background;
        TColor Expected;
    };
    const TCase cases[] = {
        {"a colour that reads is kept", clNavy, clWhite, clNavy},
        {"system text is looked up", clWindowText, clWhite, RGB(0x20, 0x20, 0x20)},
        {"yellow on light grey takes the desktop's text colour", RGB(255, 255, 64), RGB(0xDD, 0xDD, 0xDD),
         RGB(0x20, 0x20, 0x20)},
        {"when the desktop's text does not read either, white on dark", clNavy, RGB(0x30, 0x30, 0x30),
         clWhite},
        {"light grey on yellow takes the desktop's text colour", RGB(0xEE, 0xEE, 0xEE), clYellow,
         RGB(0x20, 0x20, 0x20)},
        {"yellow on navy is kept", clYellow, clNavy, clYellow},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(ReadableTextColor(c.Text, c.Background), c.Expected) << c.Name;
    }
    QApplication::setPalette(saved);
}

// Smoothed glyph edges may leave the darkest or lightest pixel a few steps short of the pen.
::testing::AssertionResult Near(TColor drawn, TColor pen) {
    const bool near = std::abs(GetRValue(drawn) - GetRValue(pen)) <= 8 &&
                      std::abs(GetGValue(drawn) - GetGValue(pen)) <= 8 &&
                      std::abs(GetBValue(drawn) - GetBValue(pen)) <= 8;
    if (near) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << std::hex << "drawn 0x" << drawn << ", pen 0x" << pen;
}

// A shown window with one panel and one label on it.
class LabelContrastTest : public ::testing::Test {
protected:
    LabelContrastTest() {
        form = new TForm(&app);
        form->SetBounds(0, 0, 300, 200);
        panel = new TCustomPanel(form);
        panel->SetParent(form);
        panel->SetBevelOuter(bvNone);
        panel->SetBounds(0, 0, 200, 100);
        label = new TLabel(form);
        label->SetParent(panel);
        label->SetAutoSize(false);
        label->SetBounds(10, 10, 120, 24);
        label->SetCaption("VEXT VUSB");
    }
    ~LabelContrastTest() override { QApplication::setPalette(m_saved); }

    // The colour of the label's pixels that differs most from the panel's colour.
    TColor Ink() {
        form->Show();
        app.PumpUntilIdle();
        const TColor under = ColorToRGB(panel->Color());
        TColor ink = under;
        const TRect b = label->BoundsRect();
        const QImage picture = panel->Render();
        for (int y = b.Top; y < b.Bottom; ++y) {
            for (int x = b.Left; x < b.Right; ++x) {
                const QRgb q = picture.pixel(x, y);
                const TColor c = RGB(qRed(q), qGreen(q), qBlue(q));
                if (ContrastRatio(c, under) > ContrastRatio(ink, under)) {
                    ink = c;
                }
            }
        }
        return ink;
    }

    QPalette m_saved = QApplication::palette();
    TApplication app;
    TForm* form = nullptr;
    TCustomPanel* panel = nullptr;
    TLabel* label = nullptr;
};

TEST_F(LabelContrastTest, GivenColoursAreKeptWhereTheyRead) {
    panel->SetColor(clNavy);
    TFont f;
    f.Assign(label->Font());
    f.SetColor(clYellow);
    label->SetFont(f);
    EXPECT_TRUE(Near(Ink(), clYellow));
}

TEST_F(LabelContrastTest, GivenColoursThatDoNotReadGiveWayToTheDesktopText) {
    panel->SetColor(clBtnFace);
    TFont f;
    f.Assign(label->Font());
    f.SetColor(clWhite);
    label->SetFont(f);
    const TColor ink = Ink();
    EXPECT_TRUE(Near(ink, ColorToRGB(clWindowText)));
    EXPECT_GE(ContrastRatio(ink, clBtnFace), kMinTextContrast);
}

TEST_F(LabelContrastTest, SystemTextOnAFixedLightPanelUnderADarkDesktop) {
    // Window text is white on a dark desktop; on a panel kept white it would vanish.
    QPalette dark = m_saved;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, Qt::white);
    QApplication::setPalette(dark);
    panel->SetColor(clWhite);
    EXPECT_TRUE(Near(Ink(), clBlack));
}

// A panel in the button face and its label show the new desktop colours as soon as the desktop's
// palette changes, without anything else asking for a repaint.
TEST_F(LabelContrastTest, ANewDesktopPaletteIsPaintedAtOnce) {
    panel->SetColor(clBtnFace);
    const TColor before = Ink();
    const QRgb face = panel->Render().pixel(150, 80);
    EXPECT_EQ(face, QApplication::palette().color(QPalette::Window).rgb());

    QPalette dark = m_saved;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, Qt::white);
    QApplication::setPalette(dark);
    app.PumpUntilIdle();
    EXPECT_EQ(panel->Render().pixel(150, 80), qRgb(0x35, 0x35, 0x35));
    const TColor after = Ink();
    EXPECT_TRUE(Near(before, clBlack));
    EXPECT_TRUE(Near(after, clWhite));
}

}  // namespace
}  // namespace kx
