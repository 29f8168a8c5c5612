// The cards window against drivers that report more than a window can show,
// descriptions longer than a line, and a driver that crashes when asked for
// its cards. Each suite runs with its driver variant on the library search
// path (see CMakeLists.txt beside this file).

#include <gtest/gtest.h>
#include <QPlainTextEdit>

#include <string>
#include <vector>

#include "driver/quordev.h"
#include "setup/supporter_fixture.h"

namespace kx {
namespace {

// A driver that reports 2^31 - 1 cards.
class HugeCardCount : public SupporterTest {
protected:
    void SetUp() override {
        SupporterTest::SetUp();
        ASSERT_EQ(DriverCardCount(), 2147483647) << "run these tests through CTest, with the 'huge' driver";
    }
};

TEST_F(HugeCardCount, ListsSixtyFourCardsAndSaysHowManyMore) {
    std::vector<std::int32_t> asked;
    Sup->OnGetCardString = [&](TObject*, std::int32_t index) {
        asked.push_back(index);
        return "Card " + std::to_string(index);
    };
    Sup->BuildWindows();
    ASSERT_EQ(asked.size(), 64u);
    EXPECT_EQ(asked.front(), 0);
    EXPECT_EQ(asked.back(), 63);
    const TStrings& lines = Sup->PCIForm()->PCIMemo->Lines();
    ASSERT_EQ(lines.size(), 65u);
    EXPECT_EQ(lines[0], "Card 0");
    EXPECT_EQ(lines[63], "Card 63");
    EXPECT_EQ(lines[64], "... and 2147483583 more cards not listed");
    EXPECT_EQ(Sup->HeaderLabel()->Caption(), "KX-7040 Series Settings Program");
}

TEST_F(HugeCardCount, OnlyEmptyDescriptionsStillSayNoCardFound) {
    int calls = 0;
    Sup->OnGetCardString = [&](TObject*, std::int32_t) {
        ++calls;
        return std::string();
    };
    Sup->BuildWindows();
    EXPECT_EQ(calls, 64);
    EXPECT_EQ(Sup->PCIForm()->PCIMemo->Lines(), TStrings{"No Card Found"});
    EXPECT_EQ(Sup->HeaderLabel()->Caption(), "No KX-7040 Series Card Found");
}

// The driver that reports three cards.
class CardDescriptionLength : public SupporterTest {
protected:
    void SetUp() override {
        SupporterTest::SetUp();
        ASSERT_EQ(DriverCardCount(), 3) << "run these tests through CTest, with the 'complete' driver";
    }
};

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

TEST_F(CardDescriptionLength, EachDescriptionIsCutAtTwoHundredFiftySixCharacters) {
    // Card 0 exactly at the limit, card 1 one past it, card 2 far past it in
    // characters of two and three bytes, which must not be split.
    const std::vector<std::string> descriptions = {Repeat("a", 256), Repeat("b", 257),
                                                   Repeat("\xC3\xA9", 200) + Repeat("\xE2\x82\xAC", 100)};
    Sup->OnGetCardString = [&](TObject*, std::int32_t index) {
        return descriptions.at(static_cast<std::size_t>(index));
    };
    Sup->BuildWindows();
    const TStrings& lines = Sup->PCIForm()->PCIMemo->Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], Repeat("a", 256));
    EXPECT_EQ(lines[1], Repeat("b", 256));
    EXPECT_EQ(lines[2], Repeat("\xC3\xA9", 200) + Repeat("\xE2\x82\xAC", 56));
    // The view shows what the lines hold.
    EXPECT_EQ(Sup->PCIForm()->PCIMemo->Editor()->toPlainText().toStdString(),
              lines[0] + "\n" + lines[1] + "\n" + lines[2]);
}

// A driver whose GetNumCards crashes: the program lives on and lists nothing.
class CrashingDriverCards : public SupporterTest {};

TEST_F(CrashingDriverCards, TheCardsWindowSaysNoCardFound) {
    ::testing::internal::CaptureStderr();
    GiveCardCallback();
    Sup->BuildWindows();
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("QUORDEV.dll crashed in GetNumCards"), std::string::npos) << errors;
    EXPECT_EQ(Sup->PCIForm()->PCIMemo->Lines(), TStrings{"No Card Found"});
    EXPECT_EQ(Sup->HeaderLabel()->Caption(), "No KX-7040 Series Card Found");
    EXPECT_FALSE(DriverAvailable());
}

}  // namespace
}  // namespace kx
