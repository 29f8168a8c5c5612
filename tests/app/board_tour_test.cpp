#include <gtest/gtest.h>

#include "app/main_form.h"
#include "main_window_fixture.h"
#include "platform/button.h"
#include "platform/menus.h"
#include "setup/board_highlight.h"
#include "setup/board_image.h"
#include "setup/popup_form.h"
#include "setup/radio_panel.h"
#include "setup/setup_supporter.h"

namespace kx {
namespace {

using Strings = std::vector<std::string>;

class BoardTest : public test::MainWindowFixture {
protected:
    std::vector<std::string> Bar() const {
        Strings out;
        TMenuItem* bar = form->MainMenu1->Items();
        for (int i = 0; i < bar->Count(); ++i)
            out.push_back(bar->Items(i)->Caption());
        return out;
    }
    Strings Entries(const std::string& caption) const {
        Strings out;
        TMenuItem* bar = form->MainMenu1->Items();
        for (int i = 0; i < bar->Count(); ++i) {
            if (bar->Items(i)->Caption() == caption) {
                for (int j = 0; j < bar->Items(i)->Count(); ++j)
                    out.push_back(bar->Items(i)->Items(j)->Caption());
            }
        }
        return out;
    }
    Strings OpenPopups() const {
        Strings out;
        for (TForm* f : Screen->FormList()) {
            if (dynamic_cast<TPopupForm*>(f) != nullptr && f->Visible())
                out.push_back(f->Caption());
        }
        return out;
    }
};

TEST_F(BoardTest, TheCirclesListThemselvesBetweenFileAndHelp) {
    EXPECT_EQ(Bar(), (Strings{"&File", "&Settings", "&Options", "&Help"}));
    EXPECT_EQ(Entries("&Settings"), (Strings{"External Power", "Filter Jumpers"}));
    EXPECT_EQ(Entries("&Options"), (Strings{"&USB Connector", "LED", "Input Header"}));
    EXPECT_EQ(Entries("&File"), (Strings{"&Exit"}));
}

TEST_F(BoardTest, TheTourStartsAtFilterJumpersAndAlternatesWithExternalPower) {
    form->BoardImage1->Perform(WM_STARTTOUR, 0, 0);
    EXPECT_EQ(OpenPopups(), (Strings{"Filter Jumpers"}));
    EXPECT_TRUE(form->FilterHighlight->Pinned());
    TPopupForm* filter = form->FilterHighlight->Popup();
    ASSERT_NE(filter, nullptr);

    filter->NextButton->Click();
    EXPECT_EQ(OpenPopups(), (Strings{"External Power"}));
    EXPECT_TRUE(form->PowerHighlightSel->Lit());
    EXPECT_TRUE(form->PowerHighlightJack->Lit());
    EXPECT_FALSE(form->FilterHighlight->Lit());
    TPopupForm* power = form->PowerHighlightSel->Popup();
    ASSERT_NE(power, nullptr);

    power->NextButton->Click();
    EXPECT_EQ(OpenPopups(), (Strings{"Filter Jumpers"}));
    filter->PreviousButton->Click();
    EXPECT_EQ(OpenPopups(), (Strings{"External Power"}));
    // The blue circles are no stops of this tour.
    EXPECT_FALSE(form->USBHighlight->Lit());
}

TEST_F(BoardTest, HoveringEitherPowerCircleShowsThePowerPanel) {
    auto hover = [&](TBoardHighlight* c) {
        const TPoint o = form->BoardImage1->ClientOrigin();
        PointerAt(o.X + c->Left() + c->Width() / 2, o.Y + c->Top() + c->Height() / 2);
    };
    hover(form->PowerHighlightJack);
    ASSERT_EQ(OpenPopups(), (Strings{"External Power"}));
    EXPECT_EQ(form->PowerPanel->Parent(), form->PowerHighlightJack->Popup());
    PointerAt(1270, 1010);
    hover(form->PowerHighlightSel);
    EXPECT_EQ(OpenPopups(), (Strings{"External Power"}));
    EXPECT_EQ(form->PowerHighlightSel->Popup(), nullptr);  // the group's one popup was built by the jack
    hover(form->InputHighlight1);
    EXPECT_EQ(form->InputPanel->Parent(), form->InputHighlight1->Popup());
}

TEST_F(BoardTest, TheFilterPopupOpensAtTheDesignedPlaceOfItsPanel) {
    // (216, 105) is where the board sits in a 1032 x 746 window.
    ASSERT_EQ(form->BoardImage1->Left(), 216);
    ASSERT_EQ(form->BoardImage1->Top(), 105);
    form->BoardImage1->Perform(WM_STARTTOUR, 0, 0);
    TPopupForm* filter = form->FilterHighlight->Popup();
    EXPECT_EQ(filter->Left(), 768);
    EXPECT_EQ(filter->Top(), 225);
}

}  // namespace
}  // namespace kx
