#include <gtest/gtest.h>

#include <set>

#include "board_fixture.h"
#include "platform/button.h"
#include "platform/memo.h"

namespace kx {
namespace {

using test::BoardFixture;

QRgb At(const TBitmap& b, int x, int y) {
    return b.Image().pixel(x, y);
}

TEST(BoardHighlightDefaults, ANewCircleIsAYellowSettingsCircleWithAPopupAndNothingElse) {
    TBoardHighlight c(nullptr);
    EXPECT_EQ(c.Width(), 65);
    EXPECT_EQ(c.Height(), 65);
    EXPECT_EQ(c.HighlightType(), htSettings);
    EXPECT_EQ(c.RingColor(), clYellow);
    EXPECT_FLOAT_EQ(c.IdleStrength(), 0.5f);
    EXPECT_FLOAT_EQ(c.LitStrength(), 0.75f);
    EXPECT_FLOAT_EQ(c.ActiveStrength(), 1.0f);
    EXPECT_TRUE(c.CreatePopup());
    EXPECT_EQ(c.Title(), "");
    EXPECT_EQ(c.RadioPanel(), nullptr);
    EXPECT_EQ(c.Popup(), nullptr);
    EXPECT_FALSE(c.Lit() || c.Pinned() || c.PopupActive() || c.Rendered());
}

struct RingPixel {
    int x, y;
    QRgb idle, lit, active;
};

// A 65 x 65 settings circle over black, rendered by its first paint.
TEST_F(BoardFixture, TheThreeLooksOfA65PixelCircleOverBlack) {
    auto* c = Circle("C", 10, 10, 65, 65, "Jumper", htSettings, nullptr);
    c->SetCreatePopup(false);
    ShowMain();
    ASSERT_TRUE(c->Rendered());
    const RingPixel cases[] = {
        {32, 32, qRgb(20, 20, 0), qRgb(31, 31, 0), qRgb(41, 41, 0)},         // flat inner tint
        {4, 32, qRgb(128, 128, 0), qRgb(191, 191, 0), qRgb(255, 255, 255)},  // radius 0.875
        {0, 32, qRgb(0, 0, 0), qRgb(0, 0, 0), qRgb(0, 0, 0)},                // radius 1
        {0, 0, qRgb(0, 0, 0), qRgb(0, 0, 0), qRgb(0, 0, 0)},                 // corner
    };
    for (const RingPixel& p : cases) {
        EXPECT_EQ(At(c->IdleImage(), p.x, p.y), p.idle) << p.x << "," << p.y;
        EXPECT_EQ(At(c->LitImage(), p.x, p.y), p.lit) << p.x << "," << p.y;
        EXPECT_EQ(At(c->ActiveImage(), p.x, p.y), p.active) << p.x << "," << p.y;
    }
    EXPECT_EQ(At(c->ActiveImage(), 5, 32), qRgb(255, 255, 128));
    EXPECT_EQ(At(c->ActiveImage(), 2, 32), qRgb(255, 255, 0));
}

// At ratio 2 the looks hold 130 x 130 device pixels, each taking the ring at its own centre mapped
// to logical coordinates: device pixel 1 of the middle row is a quarter pixel inside the ring's edge
// and already tinted, where a pixel-doubled look would keep the background.
TEST_F(BoardFixture, AtRatio2TheLooksFollowTheRingAtEveryDevicePixel) {
    auto* c = Circle("C", 10, 10, 65, 65, "Jumper", htSettings, nullptr);
    c->SetCreatePopup(false);
    const QImage shown = board->Render(c->BoundsRect(), 2.0);
    ASSERT_TRUE(c->Rendered());
    ASSERT_EQ(c->IdleImage().Image().size(), QSize(130, 130));
    EXPECT_EQ(c->IdleImage().Width(), 65);
    const RingPixel cases[] = {
        {64, 64, qRgb(20, 20, 0), qRgb(31, 31, 0), qRgb(41, 41, 0)},         // flat inner tint
        {9, 65, qRgb(120, 120, 0), qRgb(179, 179, 0), qRgb(255, 255, 223)},  // just inside radius 0.875
        {1, 64, qRgb(8, 8, 0), qRgb(12, 12, 0), qRgb(32, 32, 0)},            // near radius 1
        {0, 64, qRgb(0, 0, 0), qRgb(0, 0, 0), qRgb(0, 0, 0)},                // beyond radius 1
        {0, 0, qRgb(0, 0, 0), qRgb(0, 0, 0), qRgb(0, 0, 0)},                 // corner
    };
    for (const RingPixel& p : cases) {
        EXPECT_EQ(At(c->IdleImage(), p.x, p.y), p.idle) << p.x << "," << p.y;
        EXPECT_EQ(At(c->LitImage(), p.x, p.y), p.lit) << p.x << "," << p.y;
        EXPECT_EQ(At(c->ActiveImage(), p.x, p.y), p.active) << p.x << "," << p.y;
    }
    // The look is mirrored about the ring's centre at device resolution, and the board shows it.
    for (int i = 0; i < 130; i += 7) {
        EXPECT_EQ(At(c->IdleImage(), i, 40), At(c->IdleImage(), 129 - i, 40)) << i;
        EXPECT_EQ(At(c->IdleImage(), 40, i), At(c->IdleImage(), 40, 129 - i)) << i;
    }
    EXPECT_EQ(shown.pixel(9, 65), qRgb(120, 120, 0));
    // Logic stays logical: the same points hit the circle whatever the ratio painted.
    EXPECT_EQ(board->ControlAtPos({10, 10}, true), c);
    EXPECT_EQ(board->ControlAtPos({74, 74}, true), c);
    EXPECT_EQ(board->ControlAtPos({75, 74}, true), nullptr);
    // Painted at ratio 1 again, the looks are the single-size ones.
    board->Render(c->BoundsRect(), 1.0);
    EXPECT_EQ(At(c->IdleImage(), 32, 32), qRgb(20, 20, 0));
    EXPECT_EQ(At(c->IdleImage(), 4, 32), qRgb(128, 128, 0));
}

TEST(BlendRing, AWideFlatCircleTouchesAllFourSidesAndLeavesTheCorners) {
    TBitmap b(269, 47);
    b.MutableImage().fill(qRgb(0, 0, 0));
    BlendRing(b, 1.0f, clYellow, false);
    EXPECT_EQ(At(b, 0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(At(b, 268, 46), qRgb(0, 0, 0));
    EXPECT_EQ(At(b, 268, 0), qRgb(0, 0, 0));
    EXPECT_NE(At(b, 134, 1), qRgb(0, 0, 0));   // top
    EXPECT_NE(At(b, 134, 45), qRgb(0, 0, 0));  // bottom
    EXPECT_NE(At(b, 1, 23), qRgb(0, 0, 0));    // left
    EXPECT_NE(At(b, 267, 23), qRgb(0, 0, 0));  // right
}

TEST(BlendRing, TheTintBlendsWithAColouredBackground) {
    TBitmap b(65, 65);
    b.MutableImage().fill(qRgb(100, 100, 100));
    BlendRing(b, 0.5f, clBlue, false);
    // 100 x 0.92 + 255 x 0.08 in blue, 100 x 0.92 elsewhere.
    EXPECT_EQ(At(b, 32, 32), qRgb(92, 92, 112));
}

TEST(HighlightText, AmpersandsAndIdentifiers) {
    struct Case {
        const char* in;
        const char* plain;
        const char* ident;
    } cases[] = {{"&USB Connector", "USB Connector", "USBConnector"},
                 {"External Power", "External Power", "ExternalPower"},
                 {"LED", "LED", "LED"},
                 {"2nd Port!", "2nd Port!", "ndPort"},
                 {"123", "123", ""},
                 {"A&&B", "AB", "AB"},
                 {"", "", ""}};
    for (const Case& c : cases) {
        TBoardHighlight h(nullptr);
        h.SetTitle(c.in);
        EXPECT_EQ(h.PlainTitle(), c.plain) << c.in;
        EXPECT_EQ(h.TitleIdent(), c.ident) << c.in;
    }
}

TEST_F(BoardFixture, APanelIsSharedOnlyWithinALinkedGroup) {
    TRadioPanel* p = Panel("P", 0, 0, 100, 20, {"x"});
    TRadioPanel* q = Panel("Q", 0, 0, 100, 20, {"y"});
    auto* a = Circle("A", 0, 0, 40, 40, "Power", htSettings, p);
    auto* b = Circle("B", 50, 0, 40, 40, "Other", htSettings, q);
    b->SetRadioPanel(p);
    EXPECT_EQ(b->RadioPanel(), q);
    auto* c = Circle("C", 100, 0, 40, 40, "Power", htOptions, nullptr);
    c->SetRadioPanel(p);
    EXPECT_EQ(c->RadioPanel(), nullptr);
    auto* d = Circle("D", 150, 0, 40, 40, "Power", htSettings, nullptr);
    d->SetRadioPanel(p);
    EXPECT_EQ(d->RadioPanel(), p);
    EXPECT_EQ(a->RadioPanel(), p);
}

class LinkedGroupTest : public BoardFixture {
protected:
    void SetUp() override {
        BoardFixture::SetUp();
        input = Panel("InputPanel", 760, 352, 193, 9, {"The isolated inputs..."});
        for (int i = 0; i < 3; ++i) {
            circles[i] = Circle(("In" + std::to_string(i)).c_str(), 184, 10 + 120 * i, 361, 73,
                                "Input Header", htOptions, input);
        }
        other = Circle("Filter", 309, 400, 269, 47, "Filter Jumpers", htSettings, nullptr);
        ShowMain();
    }
    TRadioPanel* input = nullptr;
    TBoardHighlight* circles[3] = {};
    TBoardHighlight* other = nullptr;
};

TEST_F(LinkedGroupTest, EnteringOneCircleLightsTheWholeGroupAndBuildsOnePopup) {
    PointerOnCircle(circles[1]);
    for (auto* c : circles)
        EXPECT_TRUE(c->Lit());
    EXPECT_FALSE(other->Lit());
    EXPECT_EQ(PopupCount(), 1);
    EXPECT_EQ(OpenPopups(), (std::vector<std::string>{"Input Header"}));
    EXPECT_NE(circles[1]->Popup(), nullptr);
    EXPECT_EQ(circles[0]->Popup(), nullptr);
    EXPECT_EQ(input->Parent(), circles[1]->Popup());
    EXPECT_TRUE(input->Placed());

    // Leaving to nowhere closes the popup and unlights the group.
    PointerAway();
    EXPECT_TRUE(OpenPopups().empty());
    for (auto* c : circles)
        EXPECT_FALSE(c->Lit());

    // Another circle of the group shows the same popup again.
    PointerOnCircle(circles[2]);
    EXPECT_EQ(PopupCount(), 1);
    EXPECT_EQ(OpenPopups(), (std::vector<std::string>{"Input Header"}));
}

TEST_F(LinkedGroupTest, LeavingIntoThePopupKeepsItOpenEnteredAndChecked) {
    PointerOnCircle(circles[0]);
    TPopupForm* popup = circles[0]->Popup();
    ASSERT_NE(popup, nullptr);
    PointerAt(popup->Left() + 40, popup->Top() + 40);
    EXPECT_EQ(OpenPopups(), (std::vector<std::string>{"Input Header"}));
    EXPECT_TRUE(circles[0]->Pinned());
    EXPECT_TRUE(popup->CloseOnLeave());
    EXPECT_TRUE(Entry("&Options", "Input Header")->Checked());

    // Entered: the popup closes as soon as the pointer leaves it.
    PointerAway();
    EXPECT_TRUE(OpenPopups().empty());
    EXPECT_FALSE(Entry("&Options", "Input Header")->Checked());
    EXPECT_FALSE(popup->CloseOnLeave());
}

TEST_F(LinkedGroupTest, FromAnEnteredPopupStraightBackOntoItsCircleReopensItUnpinned) {
    PointerOnCircle(circles[0]);
    TPopupForm* popup = circles[0]->Popup();
    PointerAt(popup->Left() + 40, popup->Top() + 40);
    ASSERT_TRUE(popup->CloseOnLeave());
    PointerOnCircle(circles[0]);
    EXPECT_EQ(OpenPopups(), (std::vector<std::string>{"Input Header"}));
    EXPECT_FALSE(circles[0]->Pinned());
    EXPECT_FALSE(popup->CloseOnLeave());
}

TEST_F(LinkedGroupTest, AClickPinsThePopupSoLeavingKeepsIt) {
    PointerOnCircle(circles[2]);
    circles[2]->Perform(WM_LBUTTONDOWN, 0, PackPoint(3, 3));
    circles[2]->Perform(WM_LBUTTONUP, 0, PackPoint(3, 3));
    ASSERT_NE(circles[2]->Popup(), nullptr);  // built by the circle entered
    EXPECT_TRUE(circles[2]->Pinned());
    PointerAway();
    EXPECT_EQ(OpenPopups(), (std::vector<std::string>{"Input Header"}));
    EXPECT_TRUE(Entry("&Options", "Input Header")->Checked());
    // Done closes it and clears the check.
    circles[2]->Popup()->DoneButton->Click();
    EXPECT_TRUE(OpenPopups().empty());
    EXPECT_FALSE(Entry("&Options", "Input Header")->Checked());
}

TEST_F(LinkedGroupTest, ADisabledCircleLightsOnHoverButCannotBePinnedByAClick) {
    other->SetEnabled(false);
    PointerOnCircle(other);
    EXPECT_TRUE(other->Lit());
    EXPECT_EQ(OpenPopups(), (std::vector<std::string>{"Filter Jumpers"}));
    // A real press and release over it goes to the board image instead.
    const TPoint p{other->Left() + 5, other->Top() + 5};
    TControl* target = board->ControlAtPos(p, false);
    EXPECT_EQ(target, nullptr);
    PointerAway();
    EXPECT_TRUE(OpenPopups().empty());
}

TEST_F(LinkedGroupTest, ActivationDrawsTheStrongestLookAndBringsTheGroupToTheFront) {
    PointerOnCircle(circles[0]);
    TPopupForm* popup = circles[0]->Popup();
    popup->Perform(WM_ACTIVATE, WA_ACTIVE, 0);
    for (auto* c : circles)
        EXPECT_TRUE(c->PopupActive());
    // The group now stands at the end of the child list, each once.
    const int n = board->ControlCount();
    std::set<TControl*> last{board->Controls(n - 1), board->Controls(n - 2), board->Controls(n - 3)};
    EXPECT_EQ(last, (std::set<TControl*>{circles[0], circles[1], circles[2]}));
    Pump();
    const QImage& buffer = board->Render();
    const TBoardHighlight* c = circles[1];
    EXPECT_EQ(buffer.pixel(c->Left() + c->Width() / 2, c->Top() + c->Height() / 2),
              c->ActiveImage().Image().pixel(c->Width() / 2, c->Height() / 2));
    popup->Perform(WM_ACTIVATE, WA_INACTIVE, 0);
    for (auto* c2 : circles)
        EXPECT_FALSE(c2->PopupActive());
}

}  // namespace
}  // namespace kx
