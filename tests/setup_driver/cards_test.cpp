// The cards window filled from a driver library that reports three cards:
// the callback is asked about each card in order, and only what it describes
// is listed. Run with the "complete" driver variant on the library path.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "driver/quordev.h"
#include "setup/supporter_fixture.h"

namespace kx {
namespace {

class CardsTest : public SupporterTest {
protected:
    void SetUp() override {
        SupporterTest::SetUp();
        ASSERT_EQ(DriverCardCount(), 3) << "the driver library reporting three cards is not on the library "
                                           "search path; run these tests through CTest";
    }
};

struct CardsCase {
    const char* Name;
    std::vector<std::string> Descriptions;  // what the callback returns for cards 0, 1 and 2
    bool Series;
    bool UseCardNameB;
    TStrings Lines;
    const char* Header;
};

void PrintTo(const CardsCase& c, std::ostream* os) {
    *os << c.Name;
}

class CardListTest : public CardsTest, public ::testing::WithParamInterface<CardsCase> {};

TEST_P(CardListTest, ListsWhatTheCallbackDescribes) {
    const CardsCase& c = GetParam();
    Sup->SetbSeries(c.Series);
    Sup->SetUseCardNameB(c.UseCardNameB);
    std::vector<std::int32_t> asked;
    Sup->OnGetCardString = [&](TObject* sender, std::int32_t index) {
        EXPECT_EQ(sender, Sup);
        asked.push_back(index);
        return c.Descriptions.at(static_cast<std::size_t>(index));
    };
    Sup->BuildWindows();
    EXPECT_EQ(asked, (std::vector<std::int32_t>{0, 1, 2}));
    ASSERT_NE(Sup->PCIForm(), nullptr);
    EXPECT_EQ(Sup->PCIForm()->PCIMemo->Lines(), c.Lines);
    EXPECT_EQ(Sup->HeaderLabel()->Caption(), c.Header);
    EXPECT_TRUE(Sup->PCIForm()->Visible());
}

INSTANTIATE_TEST_SUITE_P(
    Supporter, CardListTest,
    ::testing::Values(
        CardsCase{"ThreeCards",
                  {"KX-7040 #0", "KX-7040 #1", "KX-7040 #2"},
                  true,
                  false,
                  {"KX-7040 #0", "KX-7040 #1", "KX-7040 #2"},
                  "KX-7040 Series Settings Program"},
        CardsCase{"EmptyDescriptionsAreSkipped",
                  {"", "KX-7040 #1", ""},
                  true,
                  false,
                  {"KX-7040 #1"},
                  "KX-7040 Series Settings Program"},
        CardsCase{"OnlyEmptyDescriptions",
                  {"", "", ""},
                  true,
                  false,
                  {"No Card Found"},
                  "No KX-7040 Series Card Found"},
        CardsCase{"OnlyEmptyDescriptionsNoSeries",
                  {"", "", ""},
                  false,
                  false,
                  {"No Card Found"},
                  "No KX-7040 Found"},
        CardsCase{"NoSeries", {"a", "b", "c"}, false, false, {"a", "b", "c"}, "KX-7040 Settings Program"},
        CardsCase{
            "CardNameB", {"a", "b", "c"}, true, true, {"a", "b", "c"}, "KX-7040B Series Settings Program"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(CardsTest, ACallbackThatGoesAwayIsNotCalledAgain) {
    int calls = 0;
    Sup->OnGetCardString = [&](TObject*, std::int32_t) {
        ++calls;
        Sup->OnGetCardString = nullptr;
        return std::string("only");
    };
    Sup->BuildWindows();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Sup->PCIForm()->PCIMemo->Lines(), TStrings{"only"});
}

TEST_F(CardsTest, AnErrorInTheCallbackIsReportedAndTheBuildStops) {
    Sup->OnGetCardString = [](TObject*, std::int32_t index) -> std::string {
        if (index == 1) {
            throw std::runtime_error("Card 1 does not answer");
        }
        return "card";
    };
    app.OnIdle = [this](TObject* sender, bool& done) { Sup->IdleStart(sender, done); };
    app.PumpUntilIdle();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, "Card 1 does not answer.");
    EXPECT_EQ(Sup->PCIForm()->PCIMemo->Lines(), TStrings{"card"});
    // The steps after the error did not happen.
    EXPECT_EQ(Sup->HeaderLabel()->Caption(), "");
    EXPECT_FALSE(Sup->HelpPending());
    EXPECT_FALSE(app.OnIdle);
}

}  // namespace
}  // namespace kx
