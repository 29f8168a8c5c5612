// The board on a screen of device pixel ratio 2, through Qt's own paint events: the rings and the
// jumper are rendered at the screen's resolution while positions and hit tests stay logical. These
// tests need the whole process at that ratio, so CTest runs them once more with QT_SCALE_FACTOR=2
// (setup_tests_at_ratio_2); at ratio 1 they have nothing to check and say so.

#include <cstdlib>

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include "board_fixture.h"
#include "setup/three_jumper.h"

namespace kx {
namespace {

class HighDensity : public test::BoardFixture {
protected:
    void SetUp() override {
        if (std::getenv("QT_SCALE_FACTOR") == nullptr) {
            GTEST_SKIP() << "runs under QT_SCALE_FACTOR=2 (the setup_tests_at_ratio_2 test)";
        }
        ASSERT_EQ(qApp->devicePixelRatio(), 2.0) << "QT_SCALE_FACTOR did not give a screen of ratio 2";
        BoardFixture::SetUp();
    }

    // What Qt shows of a rectangle of a control's widget, in device pixels.
    static QImage Shot(QWidget* widget, const TRect& r) {
        return widget->grab(QRect(r.Left, r.Top, r.Width(), r.Height()))
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(HighDensity, RingsAreRenderedPerDevicePixelAndHitTestsStayLogical) {
    auto* c = Circle("C", 10, 10, 65, 65, "Jumper", htSettings, nullptr);
    c->SetCreatePopup(false);
    ShowMain();
    ASSERT_EQ(board->Widget()->devicePixelRatioF(), 2.0);
    ASSERT_TRUE(c->Rendered());
    EXPECT_EQ(c->IdleImage().Image().size(), QSize(130, 130));
    EXPECT_EQ(c->IdleImage().Image().pixel(1, 64), qRgb(8, 8, 0));
    EXPECT_EQ(c->IdleImage().Image().pixel(9, 65), qRgb(120, 120, 0));

    // The ring's corner, outside the drawn ring, is still the circle's, in logical pixels.
    PointerOnBoard(10, 10);
    EXPECT_TRUE(c->Lit());
    PointerOnBoard(9, 9);
    const QImage shown = Shot(board->Widget(), c->BoundsRect());
    ASSERT_EQ(shown.size(), QSize(130, 130));
    EXPECT_EQ(shown.pixel(9, 65), c->LitImage().Image().pixel(9, 65));
    EXPECT_EQ(shown.pixel(64, 64), qRgb(31, 31, 0));
}

TEST_F(HighDensity, TheJumperIsDrawnAtTheScreensResolution) {
    TRadioPanel* panel = Panel("Power", 820, 40, 200, 120, {});
    panel->SetVisible(true);
    auto* jumper = new TThreeJumper(main);
    jumper->SetParent(panel);
    jumper->SetBounds(20, 30, 43, 18);
    jumper->SetJumperState(jsRight);
    ShowMain();
    ASSERT_EQ(panel->Widget()->devicePixelRatioF(), 2.0);
    EXPECT_EQ(jumper->ShowBitmap().Image().size(), QSize(86, 36));
    const QImage shown = Shot(panel->Widget(), jumper->BoundsRect());
    ASSERT_EQ(shown.size(), QSize(86, 36));
    // The cap's left outline is two device pixels wide, at 29 and 30, with no blend on either side.
    const QRgb black = qRgb(0, 0, 0);
    const QRgb cap = qRgb(128, 0, 0);
    const QRgb base = qRgb(128, 128, 128);
    EXPECT_EQ(shown.pixel(28, 5), base);
    EXPECT_EQ(shown.pixel(29, 5), black);
    EXPECT_EQ(shown.pixel(30, 5), black);
    EXPECT_EQ(shown.pixel(31, 5), cap);
    // A click lands by logical position: the cap moves on to open.
    PointerAt(0, 0);
    jumper->Click();
    EXPECT_EQ(jumper->JumperState(), jsOpen);
}

}  // namespace
}  // namespace kx
