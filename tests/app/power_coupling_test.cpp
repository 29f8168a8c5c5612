// The power jumper and the two power radio buttons of the real main window
// keep each other in step, and the jumper never shows its open position on
// the way from one side to the other.

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QApplication>
#include <QMouseEvent>
#include <QRadioButton>

#include "app/main_form.h"
#include "main_window_fixture.h"
#include "platform/radio_button.h"
#include "setup/board_highlight.h"
#include "setup/board_image.h"
#include "setup/popup_form.h"
#include "setup/radio_panel.h"
#include "setup/three_jumper.h"

namespace kx {
namespace {

const char* StateName(TJumperState s) {
    switch (s) {
        case jsOpen:
            return "open";
        case jsLeft:
            return "left";
        case jsRight:
            return "right";
    }
    return "?";
}

// Which pins the cap covers in the jumper's last painted picture: the cap's
// dark red shows at the left end for jsLeft, at the right end for jsRight,
// and at neither while open.
TJumperState PaintedState(const TThreeJumper& jumper) {
    const QImage& drawing = jumper.DrawBitmap().Image();
    auto capAt = [&](int x) { return drawing.pixel(x, 3) == qRgb(0x80, 0, 0); };
    const bool left = capAt(3);
    const bool right = capAt(drawing.width() - 4);
    EXPECT_FALSE(left && right) << "a cap at both ends";
    return left ? jsLeft : right ? jsRight : jsOpen;
}

// The real main window at a fixed size, with the power popup opened by
// hovering the power-selection circle.
class PowerCouplingTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        jumper = form->BusPowerJumper;
        usb = form->BusPowerRadio;
        ext = form->ExtPowerRadio;
        ASSERT_NE(jumper, nullptr);
        ASSERT_NE(usb, nullptr);
        ASSERT_NE(ext, nullptr);
    }

    void OpenPowerPopup() {
        TBoardHighlight* circle = form->PowerHighlightSel;
        const TPoint o = form->BoardImage1->ClientOrigin();
        PointerAt(o.X + circle->Left() + circle->Width() / 2, o.Y + circle->Top() + circle->Height() / 2);
        ASSERT_NE(circle->Popup(), nullptr);
        ASSERT_TRUE(circle->Popup()->Visible());
        ASSERT_EQ(form->PowerPanel->Parent(), circle->Popup());
        ASSERT_TRUE(jumper->Painted());
    }

    // A press and release of the left button on the middle of the jumper, as
    // Qt delivers them to the panel it is drawn on.
    void ClickJumper() {
        QWidget* w = form->PowerPanel->Widget();
        const QPoint p(jumper->Left() + jumper->Width() / 2, jumper->Top() + jumper->Height() / 2);
        QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(w, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(w, &release);
    }

    TThreeJumper* jumper = nullptr;
    TRadioButton* usb = nullptr;
    TRadioButton* ext = nullptr;
};

TEST_F(PowerCouplingTest, EveryStartShowsTheCapOnTheRightAndUsbPowered) {
    EXPECT_EQ(jumper->JumperState(), jsRight);
    EXPECT_TRUE(usb->Checked());
    EXPECT_FALSE(ext->Checked());
    EXPECT_TRUE(usb->Radio()->isChecked());
    EXPECT_FALSE(ext->Radio()->isChecked());

    OpenPowerPopup();
    EXPECT_EQ(PaintedState(*jumper), jsRight);
}

TEST_F(PowerCouplingTest, JumperClickReachesTheLeftPairWithoutPaintingTheOpenOne) {
    OpenPowerPopup();
    // Look into the chain as the jumper's own handler starts: the cap has
    // just been lifted, and nothing has been painted since the click began.
    std::vector<TJumperState> statesOnClick;
    std::vector<TJumperState> paintedOnClick;
    TNotifyEvent bound = jumper->OnClick;
    ASSERT_TRUE(bound);
    jumper->OnClick = [&](TObject* sender) {
        statesOnClick.push_back(jumper->JumperState());
        paintedOnClick.push_back(PaintedState(*jumper));
        bound(sender);
    };

    ClickJumper();
    EXPECT_EQ(statesOnClick, (std::vector<TJumperState>{jsOpen}));
    EXPECT_EQ(paintedOnClick, (std::vector<TJumperState>{jsRight}));
    EXPECT_EQ(jumper->JumperState(), jsLeft);
    EXPECT_TRUE(ext->Checked());
    EXPECT_FALSE(usb->Checked());
    EXPECT_EQ(PaintedState(*jumper), jsRight) << "the whole chain ran before any repaint";
    Pump();
    EXPECT_EQ(PaintedState(*jumper), jsLeft);

    ClickJumper();
    EXPECT_EQ(statesOnClick, (std::vector<TJumperState>{jsOpen, jsRight}));
    EXPECT_EQ(jumper->JumperState(), jsRight);
    EXPECT_TRUE(usb->Checked());
    EXPECT_FALSE(ext->Checked());
    Pump();
    EXPECT_EQ(PaintedState(*jumper), jsRight);
}

TEST_F(PowerCouplingTest, JumperAndRadioButtonsFollowEachOtherStepByStep) {
    struct Step {
        const char* Name;
        std::function<void()> Act;
        TJumperState State;
        bool UsbChecked;
        int RadioClicks;  // OnClick of either radio button during the step
    };
    const Step steps[] = {
        {"click External Powered", [this] { ext->Radio()->click(); }, jsLeft, false, 1},
        {"click the checked External Powered", [this] { ext->Radio()->click(); }, jsLeft, false, 0},
        {"click USB Powered", [this] { usb->Radio()->click(); }, jsRight, true, 1},
        {"click the checked USB Powered", [this] { usb->Radio()->click(); }, jsRight, true, 0},
        {"click the jumper", [this] { ClickJumper(); }, jsLeft, false, 1},
        {"click the jumper again", [this] { ClickJumper(); }, jsRight, true, 1},
    };
    OpenPowerPopup();
    int radioClicks = 0;
    for (TRadioButton* r : {usb, ext}) {
        TNotifyEvent bound = r->OnClick;
        ASSERT_TRUE(bound);
        r->OnClick = [&radioClicks, bound](TObject* sender) {
            ++radioClicks;
            bound(sender);
        };
    }

    for (const Step& s : steps) {
        radioClicks = 0;
        const TJumperState paintedBefore = PaintedState(*jumper);
        s.Act();
        EXPECT_EQ(PaintedState(*jumper), paintedBefore) << s.Name << ": painted during the step";
        Pump();
        EXPECT_EQ(jumper->JumperState(), s.State) << s.Name << ", now " << StateName(jumper->JumperState());
        EXPECT_EQ(PaintedState(*jumper), s.State) << s.Name;
        EXPECT_EQ(usb->Checked(), s.UsbChecked) << s.Name;
        EXPECT_EQ(ext->Checked(), !s.UsbChecked) << s.Name;
        EXPECT_EQ(usb->Radio()->isChecked(), s.UsbChecked) << s.Name;
        EXPECT_EQ(ext->Radio()->isChecked(), !s.UsbChecked) << s.Name;
        EXPECT_EQ(radioClicks, s.RadioClicks) << s.Name;
    }
}

}  // namespace
}  // namespace kx
