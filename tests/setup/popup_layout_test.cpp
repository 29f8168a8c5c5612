// The popup's layout at odd client widths, where halving rounds; the popup's right and bottom
// edges, which count as outside when the pointer leaves a circle; and Previous and Next finding
// a circle whose entry lies in a later top-level menu of the same caption.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "board_fixture.h"
#include "platform/button.h"
#include "platform/memo.h"
#include "platform/status_bar.h"

namespace kx {
namespace {

using test::BoardFixture;
using Strings = std::vector<std::string>;

struct TLayoutCase {
    int PanelWidth;
    int PanelHeight;
    int MemoHeight;
};

void PrintTo(const TLayoutCase& c, std::ostream* os) {
    *os << c.PanelWidth << " x " << c.PanelHeight << ", memo " << c.MemoHeight;
}

class PopupLayout : public BoardFixture, public ::testing::WithParamInterface<TLayoutCase> {};

TEST_P(PopupLayout, ControlsFollowTheClientSize) {
    const TLayoutCase& c = GetParam();
    TRadioPanel* panel = Panel("OddPanel", 700, 200, c.PanelWidth, c.PanelHeight, {"Some text"});
    panel->SetMemoHeight(c.MemoHeight);
    auto* circle = Circle("Odd", 10, 10, 60, 60, "Odd", htSettings, panel);
    ShowMain();
    PointerOnCircle(circle);
    TPopupForm* p = circle->Popup();
    ASSERT_NE(p, nullptr);
    const int cw = c.PanelWidth;
    const int ch = c.PanelHeight + c.MemoHeight + 51;
    ASSERT_EQ(p->ClientWidth(), cw);
    ASSERT_EQ(p->ClientHeight(), ch);
    // Written out by hand for each width: Next's left is (CW - 58) / 2 rounded down.
    const int nextLeft = (cw - 58) / 2;
    EXPECT_EQ(2 * nextLeft + 58 + (cw % 2), cw);
    EXPECT_EQ(p->StatusMemo->BoundsRect(), Bounds(6, ch - 50 - c.MemoHeight, cw - 12, c.MemoHeight));
    EXPECT_EQ(p->PreviousButton->BoundsRect(), Bounds(6, ch - 44, 58, 25));
    EXPECT_EQ(p->NextButton->BoundsRect(), Bounds(nextLeft, ch - 44, 58, 25));
    EXPECT_EQ(p->DoneButton->BoundsRect(), Bounds(cw - 64, ch - 44, 58, 25));
    EXPECT_EQ(p->PopupStatus->BoundsRect(), Bounds(0, ch - 19, cw, 19));
    EXPECT_EQ(panel->BoundsRect(), Bounds(0, 0, c.PanelWidth, c.PanelHeight));
}

INSTANTIATE_TEST_SUITE_P(OddAndEvenWidths, PopupLayout,
                         ::testing::Values(TLayoutCase{187, 9, 58}, TLayoutCase{193, 9, 58},
                                           TLayoutCase{201, 40, 41}, TLayoutCase{202, 40, 41},
                                           TLayoutCase{255, 17, 73}),
                         [](const ::testing::TestParamInfo<TLayoutCase>& info) {
                             return std::to_string(info.param.PanelWidth) + "x" +
                                    std::to_string(info.param.PanelHeight) + "Memo" +
                                    std::to_string(info.param.MemoHeight);
                         });

// A circle and its popup well apart from each other and from every other circle.
class PopupEdges : public BoardFixture {
protected:
    void SetUp() override {
        BoardFixture::SetUp();
        panel = Panel("EdgePanel", 700, 200, 201, 9, {"Edge"});
        circle = Circle("Edge", 10, 10, 60, 60, "Edge", htSettings, panel);
        ShowMain();
    }

    // Enters the circle, then moves the pointer straight from it to the given offset from the
    // popup's top-left corner; true when the popup is still open afterwards.
    bool StaysOpenWithPointerAt(int dx, int dy) {
        PointerAway();
        PointerOnCircle(circle);
        TPopupForm* p = circle->Popup();
        EXPECT_NE(p, nullptr);
        if (p == nullptr) {
            return false;
        }
        PointerAt(p->Left() + dx, p->Top() + dy);
        return !OpenPopups().empty();
    }

    TRadioPanel* panel = nullptr;
    TBoardHighlight* circle = nullptr;
};

TEST_F(PopupEdges, TheRightAndBottomEdgesCountAsOutside) {
    PointerOnCircle(circle);
    ASSERT_NE(circle->Popup(), nullptr);
    const int w = circle->Popup()->Width();
    const int h = circle->Popup()->Height();
    EXPECT_TRUE(StaysOpenWithPointerAt(0, 0)) << "top-left corner";
    EXPECT_TRUE(StaysOpenWithPointerAt(w - 1, 20)) << "last column";
    EXPECT_TRUE(StaysOpenWithPointerAt(20, h - 1)) << "last row";
    EXPECT_TRUE(StaysOpenWithPointerAt(w - 1, h - 1)) << "bottom-right pixel";
    EXPECT_FALSE(StaysOpenWithPointerAt(w, 20)) << "right edge";
    EXPECT_FALSE(StaysOpenWithPointerAt(20, h)) << "bottom edge";
    EXPECT_FALSE(StaysOpenWithPointerAt(-1, 20)) << "left of the popup";
    EXPECT_FALSE(StaysOpenWithPointerAt(20, -1)) << "above the popup";
}

TEST_F(BoardFixture, PreviousAndNextSearchLaterMenusOfTheSameCaption) {
    auto* a = Circle("A", 0, 0, 40, 40, "Alpha", htSettings, nullptr);
    auto* b = Circle("B", 50, 0, 40, 40, "Beta", htSettings, nullptr);
    ShowMain();
    ASSERT_EQ(Entries("&Settings"), (Strings{"Alpha", "Beta"}));
    Entry("&Settings", "Alpha")->Click();
    ASSERT_EQ(OpenPopups(), (Strings{"Alpha"}));
    // A top-level menu of the same caption in front, holding nothing of the circles.
    TMenuItem* decoy = MenuItem("Decoy", "&Settings");
    TMenuItem* unrelated = MenuItem("Unrelated", "Unrelated");
    decoy->Add(unrelated);
    menu->Items()->Insert(0, decoy);

    a->Popup()->NextButton->Click();
    EXPECT_EQ(OpenPopups(), (Strings{"Beta"}));
    EXPECT_TRUE(b->Pinned());
    ASSERT_NE(b->Popup(), nullptr);
    b->Popup()->PreviousButton->Click();
    EXPECT_EQ(OpenPopups(), (Strings{"Alpha"}));
    EXPECT_FALSE(b->Lit());
}

}  // namespace
}  // namespace kx
