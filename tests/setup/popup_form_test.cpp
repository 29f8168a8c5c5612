#include <gtest/gtest.h>

#include "board_fixture.h"
#include "platform/button.h"
#include "platform/memo.h"
#include "platform/status_bar.h"

namespace kx {
namespace {

using test::BoardFixture;

class PopupTest : public BoardFixture {
protected:
    TPopupForm* Open(TBoardHighlight* c) {
        PointerOnCircle(c);
        return c->Popup();
    }
};

TEST_F(PopupTest, ATextPanelPopupIsLaidOutAroundThePanel) {
    TRadioPanel* usb =
        Panel("USBPanel", 0, 280, 186, 9, {"The USB connector on this board is a USB type B socket."});
    auto* c = Circle("USB", 0, 192, 105, 89, "&USB Connector", htOptions, usb);
    ShowMain();
    TPopupForm* p = Open(c);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Caption(), "USB Connector");
    EXPECT_EQ(p->Tag(), 0);
    EXPECT_EQ(p->BorderStyle(), TFormBorderStyle::bsSizeToolWin);
    EXPECT_EQ(p->FormStyle(), fsStayOnTop);
    EXPECT_EQ(p->ClientWidth(), 186);
    EXPECT_EQ(p->ClientHeight(), 118);
    EXPECT_EQ(usb->BoundsRect(), Bounds(0, 0, 186, 9));
    EXPECT_EQ(p->StatusMemo->BoundsRect(), Bounds(6, 10, 174, 58));
    EXPECT_EQ(p->PreviousButton->BoundsRect(), Bounds(6, 74, 58, 25));
    EXPECT_EQ(p->NextButton->BoundsRect(), Bounds(64, 74, 58, 25));
    EXPECT_EQ(p->DoneButton->BoundsRect(), Bounds(122, 74, 58, 25));
    EXPECT_EQ(p->PopupStatus->BoundsRect(), Bounds(0, 99, 186, 19));
    EXPECT_EQ(p->StatusMemo->Lines(), usb->Lines());
    EXPECT_TRUE(p->StatusMemo->ReadOnly());
    EXPECT_EQ(p->StatusMemo->ScrollBars(), ssVertical);
    EXPECT_EQ(p->PreviousButton->Caption(), "Previous");
    EXPECT_EQ(p->NextButton->Caption(), "Next");
    EXPECT_EQ(p->DoneButton->Caption(), "Done");
    EXPECT_FALSE(p->DoneButton->Default() || p->DoneButton->Cancel());
    // It cannot be made smaller than it was built.
    EXPECT_EQ(p->Constraints().MinWidth, p->Width());
    EXPECT_EQ(p->Constraints().MinHeight, p->Height());
    // Focus order: the panel's controls, then Previous, Next, Done, the memo.
    std::vector<TWinControl*> order = p->TabList();
    ASSERT_EQ(order.size(), 6u);
    EXPECT_EQ(order[0], usb);
    EXPECT_EQ(order[2], p->PreviousButton);
    EXPECT_EQ(order[3], p->NextButton);
    EXPECT_EQ(order[4], p->DoneButton);
    EXPECT_EQ(order[5], p->StatusMemo);
}

TEST_F(PopupTest, ThePopupOpensWhereThePanelWasDesignedShiftedWithTheBoard) {
    TRadioPanel* filter = Panel("FilterPanel", 752, 152, 201, 9, {"Install these jumpers..."});
    auto* c = Circle("Filter", 309, 229, 269, 47, "Filter Jumpers", htSettings, filter);
    ShowMain();
    ASSERT_EQ(board->Left(), 216);
    ASSERT_EQ(board->Top(), 105);
    TPopupForm* p = Open(c);
    EXPECT_EQ(p->Left(), 768);
    EXPECT_EQ(p->Top(), 225);
    EXPECT_EQ(p->Tag(), 1);
}

TEST_F(PopupTest, WithoutAPanelThePopupSitsBelowTheBoardWithFocusOnDone) {
    auto* c = Circle("Bare", 10, 10, 50, 50, "Bare", htSettings, nullptr);
    ShowMain();
    TPopupForm* p = Open(c);
    EXPECT_EQ(p->Width(), 194);
    EXPECT_EQ(p->Height(), 141);
    EXPECT_EQ(p->StatusMemo->Height(), 58);
    EXPECT_EQ(p->Left(), board->Left());
    EXPECT_EQ(p->Top(), board->Top() + board->Height() + 38);
    EXPECT_EQ(p->ActiveControl(), p->DoneButton);
}

struct ClampCase {
    const char* name;
    int panelLeft, panelTop;
    int expectLeft, expectTop;  // -1: the right or bottom edge touches the screen's
};

class PopupClamp : public PopupTest, public ::testing::WithParamInterface<ClampCase> {};

TEST_P(PopupClamp, ThePopupIsKeptOnTheScreen) {
    TRadioPanel* p = Panel("P", GetParam().panelLeft, GetParam().panelTop, 186, 9, {"x"});
    auto* c = Circle("C", 10, 10, 50, 50, "Clamped", htSettings, p);
    ShowMain();
    TPopupForm* popup = Open(c);
    const int left = GetParam().expectLeft >= 0 ? GetParam().expectLeft : 1280 - popup->Width();
    const int top = GetParam().expectTop >= 0 ? GetParam().expectTop : 1024 - popup->Height();
    EXPECT_EQ(popup->Left(), left);
    EXPECT_EQ(popup->Top(), top);
}

// The board moved by (16, 73), so a panel designed at (-100, -200) would open
// at (-84, -127).
INSTANTIATE_TEST_SUITE_P(Edges, PopupClamp,
                         ::testing::Values(ClampCase{"LeftAndAbove", -100, -200, 0, 0},
                                           ClampCase{"RightAndBelow", 1250, 1000, -1, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PopupTest, ResizingMovesTheButtonsWithTheirAnchors) {
    TRadioPanel* usb = Panel("USBPanel", 0, 280, 186, 9, {"x"});
    usb->SetFinalAnchors(akLeft | akTop | akRight);
    auto* c = Circle("USB", 0, 192, 105, 89, "&USB Connector", htOptions, usb);
    ShowMain();
    TPopupForm* p = Open(c);
    p->SetBounds(p->Left(), p->Top(), p->Width() + 100, p->Height() + 40);
    EXPECT_EQ(p->PreviousButton->Left(), 6);
    EXPECT_EQ(p->DoneButton->Left(), 286 - 64);
    EXPECT_EQ(p->NextButton->Left(), (286 - 58) / 2);
    EXPECT_EQ(p->StatusMemo->Width(), 274);
    EXPECT_EQ(p->StatusMemo->Height(), 98);
    EXPECT_EQ(p->DoneButton->Top(), 158 - 44);
    EXPECT_EQ(usb->Width(), 286);
    // Not smaller than built.
    p->SetBounds(p->Left(), p->Top(), 50, 50);
    EXPECT_EQ(p->Width(), p->Constraints().MinWidth);
    EXPECT_EQ(p->Height(), p->Constraints().MinHeight);
}

TEST_F(PopupTest, AReopenedPopupKeepsThePlaceAndSizeTheUserGaveIt) {
    TRadioPanel* usb = Panel("USBPanel", 0, 280, 186, 9, {"x"});
    auto* c = Circle("USB", 0, 192, 105, 89, "&USB Connector", htOptions, usb);
    ShowMain();
    TPopupForm* p = Open(c);
    c->Click();  // pinned
    p->SetBounds(300, 310, p->Width() + 20, p->Height() + 10);
    const TRect where = p->BoundsRect();
    p->DoneButton->Click();
    EXPECT_FALSE(p->Visible());
    PointerAway();
    PointerOnCircle(c);
    EXPECT_TRUE(p->Visible());
    EXPECT_EQ(p->BoundsRect(), where);
    EXPECT_FALSE(c->Pinned());
}

TEST_F(PopupTest, ACircleWhoseCaptionAndTypeMatchAnotherWindowShowsNoPopup) {
    TForm* support = new TForm(main);
    support->SetCaption("Technical Support");
    support->SetTag(0);
    auto* c = Circle("C", 10, 10, 50, 50, "&Technical Support", htOptions, nullptr);
    ShowMain();
    PointerOnCircle(c);
    EXPECT_TRUE(c->Lit());
    EXPECT_EQ(c->Popup(), nullptr);
    EXPECT_EQ(PopupCount(), 0);
}

TEST_F(PopupTest, ThePopupsCloseBoxHidesItAndUnlightsTheGroup) {
    auto* c = Circle("C", 10, 10, 50, 50, "Thing", htSettings, nullptr);
    ShowMain();
    TPopupForm* p = Open(c);
    c->Click();
    p->CloseRequested();
    EXPECT_FALSE(p->Visible());
    EXPECT_FALSE(c->Lit());
    EXPECT_TRUE(c->Pinned());  // stays until shown again
}

}  // namespace
}  // namespace kx
