#include <gtest/gtest.h>

#include "board_fixture.h"
#include "platform/button.h"

namespace kx {
namespace {

using test::BoardFixture;
using Strings = std::vector<std::string>;

TEST_F(BoardFixture, TypeMenusStandInTheirOrderBeforeHelpWhateverOrderTheCirclesPaintIn) {
    Circle("O", 0, 0, 40, 40, "Opt", htOptions, nullptr);
    Circle("K", 50, 0, 40, 40, "Cal", htCalibration, nullptr);
    Circle("S", 100, 0, 40, 40, "Set", htSettings, nullptr);
    ShowMain();
    EXPECT_EQ(Bar(), (Strings{"&File", "&Settings", "&Calibration", "&Options", "&Help"}));
    EXPECT_NE(main->FindComponent("Settings1"), nullptr);
    EXPECT_NE(main->FindComponent("Calibration1"), nullptr);
    EXPECT_NE(main->FindComponent("Options1"), nullptr);
    EXPECT_NE(main->FindComponent("Opt1"), nullptr);
}

TEST_F(BoardFixture, WithoutAHelpMenuTheTypeMenusGoToTheEndInTheSameOrder) {
    delete TopMenu("&Help");
    Circle("O", 0, 0, 40, 40, "Opt", htOptions, nullptr);
    Circle("K", 50, 0, 40, 40, "Cal", htCalibration, nullptr);
    Circle("S", 100, 0, 40, 40, "Set", htSettings, nullptr);
    ShowMain();
    EXPECT_EQ(Bar(), (Strings{"&File", "&Settings", "&Calibration", "&Options"}));
}

TEST_F(BoardFixture, LinkedGroupsHaveOneEntryEachInPaintingOrder) {
    Circle("P1", 0, 0, 40, 40, "External Power", htSettings, nullptr);
    Circle("U", 50, 0, 40, 40, "&USB Connector", htOptions, nullptr);
    Circle("P2", 100, 0, 40, 40, "External Power", htSettings, nullptr);
    Circle("F", 150, 0, 40, 40, "Filter Jumpers", htSettings, nullptr);
    ShowMain();
    EXPECT_EQ(Entries("&Settings"), (Strings{"External Power", "Filter Jumpers"}));
    EXPECT_EQ(Entries("&Options"), (Strings{"&USB Connector"}));
    EXPECT_NE(main->FindComponent("ExternalPower1"), nullptr);
    EXPECT_NE(main->FindComponent("USBConnector1"), nullptr);
}

TEST_F(BoardFixture, ATakenComponentNameGivesTheNextNumber) {
    MenuItem("Settings1", "unrelated");
    Circle("S", 0, 0, 40, 40, "Set", htSettings, nullptr);
    ShowMain();
    TMenuItem* settings = TopMenu("&Settings");
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->Name(), "Settings2");
}

TEST_F(BoardFixture, AnEmptyTitleMakesTheTypeMenuButNoEntry) {
    Circle("S", 0, 0, 40, 40, "", htSettings, nullptr);
    ShowMain();
    ASSERT_NE(TopMenu("&Settings"), nullptr);
    EXPECT_EQ(TopMenu("&Settings")->Count(), 0);
}

TEST_F(BoardFixture, ABoardWithoutAMenuGetsNoEntriesButItsPopupsOpen) {
    board->SetMenu(nullptr);
    auto* c = Circle("S", 0, 0, 40, 40, "Set", htSettings, nullptr);
    ShowMain();
    EXPECT_EQ(Bar(), (Strings{"&File", "&Help"}));
    PointerOnCircle(c);
    EXPECT_EQ(OpenPopups(), (Strings{"Set"}));
}

TEST_F(BoardFixture, AnEntryOpensAndPinsItsPopupAndClosesItWhenChecked) {
    auto* f = Circle("F", 0, 0, 40, 40, "Filter Jumpers", htSettings, nullptr);
    ShowMain();
    TMenuItem* entry = Entry("&Settings", "Filter Jumpers");
    ASSERT_NE(entry, nullptr);
    entry->Click();
    EXPECT_EQ(OpenPopups(), (Strings{"Filter Jumpers"}));
    EXPECT_TRUE(f->Pinned());
    EXPECT_TRUE(entry->Checked());
    entry->Click();
    EXPECT_TRUE(OpenPopups().empty());
    EXPECT_FALSE(entry->Checked());
}

TEST_F(BoardFixture, AnEntryPinsAPopupThatIsOpenButNotPinned) {
    auto* f = Circle("F", 0, 0, 40, 40, "Filter Jumpers", htSettings, nullptr);
    ShowMain();
    PointerOnCircle(f);
    ASSERT_FALSE(f->Pinned());
    Entry("&Settings", "Filter Jumpers")->Click();
    EXPECT_TRUE(f->Pinned());
    EXPECT_TRUE(Entry("&Settings", "Filter Jumpers")->Checked());
    PointerAway();
    EXPECT_EQ(OpenPopups(), (Strings{"Filter Jumpers"}));
}

TEST_F(BoardFixture, AfterATitleChangeTheEntryKeepsItsCaptionAndIsNoLongerFound) {
    auto* f = Circle("F", 0, 0, 40, 40, "Filter Jumpers", htSettings, nullptr);
    auto* g = Circle("G", 50, 0, 40, 40, "Other", htSettings, nullptr);
    ShowMain();
    f->SetTitle("Renamed");
    EXPECT_EQ(Entries("&Settings"), (Strings{"Filter Jumpers", "Other"}));
    f->Click();
    PointerOnCircle(f);
    f->Click();
    EXPECT_FALSE(Entry("&Settings", "Filter Jumpers")->Checked());
    // Previous and Next find nothing and leave the popup open.
    f->Popup()->NextButton->Click();
    EXPECT_EQ(OpenPopups(), (Strings{"Renamed"}));
    EXPECT_FALSE(g->Lit());
}

TEST_F(BoardFixture, PreviousAndNextWalkTheTypeMenuAndWrapAround) {
    auto* a = Circle("A", 0, 0, 40, 40, "Alpha", htSettings, nullptr);
    auto* b = Circle("B", 50, 0, 40, 40, "Beta", htSettings, nullptr);
    auto* c = Circle("C", 100, 0, 40, 40, "Gamma", htSettings, nullptr);
    Circle("O", 150, 0, 40, 40, "Info", htOptions, nullptr);
    ShowMain();
    Entry("&Settings", "Alpha")->Click();
    a->Popup()->NextButton->Click();
    EXPECT_EQ(OpenPopups(), (Strings{"Beta"}));
    EXPECT_TRUE(b->Pinned());
    EXPECT_FALSE(a->Lit());
    b->Popup()->NextButton->Click();
    c->Popup()->NextButton->Click();
    EXPECT_EQ(OpenPopups(), (Strings{"Alpha"}));
    a->Popup()->PreviousButton->Click();
    EXPECT_EQ(OpenPopups(), (Strings{"Gamma"}));
    EXPECT_TRUE(Entry("&Settings", "Gamma")->Checked());
    EXPECT_FALSE(Entry("&Settings", "Alpha")->Checked());
}

TEST_F(BoardFixture, InAMenuWithOneEntryNextReopensTheSamePopup) {
    auto* o = Circle("O", 150, 0, 40, 40, "Info", htOptions, nullptr);
    ShowMain();
    Entry("&Options", "Info")->Click();
    TPopupForm* p = o->Popup();
    p->NextButton->Click();
    EXPECT_EQ(OpenPopups(), (Strings{"Info"}));
    EXPECT_TRUE(o->Pinned());
    EXPECT_TRUE(Entry("&Options", "Info")->Checked());
}

}  // namespace
}  // namespace kx
