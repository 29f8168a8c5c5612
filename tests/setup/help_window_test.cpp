// The help window: its layout on screens of several sizes, the help
// document byte for byte, and the Start button that hides the window and
// starts the guided tour.

#include "setup/supporter_fixture.h"

namespace kx {
namespace {

// A board image that records the messages it is sent.
class RecordingBoardImage : public TBoardImage {
public:
    using TBoardImage::TBoardImage;
    void WndProc(TMessage& message) override {
        if (message.Msg == WM_STARTTOUR) {
            TourStarts.push_back({message.WParam, message.LParam});
            message.Result = 0;
            return;
        }
        TBoardImage::WndProc(message);
    }
    std::vector<std::pair<std::intptr_t, std::intptr_t>> TourStarts;
};

struct ScreenCase {
    const char* Name;
    int ScreenWidth;
    int ScreenHeight;
    int ClientWidth;
    int ClientHeight;
};

class HelpWindowScaleTest : public SupporterTest, public ::testing::WithParamInterface<ScreenCase> {};

TEST_P(HelpWindowScaleTest, ClientAreaFollowsTheScreen) {
    const ScreenCase& c = GetParam();
    Screen->SetSizeForTesting(c.ScreenWidth, c.ScreenHeight);
    Sup->BuildWindows();
    THelpForm* help = Sup->HelpForm();
    EXPECT_EQ(help->ClientWidth(), c.ClientWidth);
    EXPECT_EQ(help->ClientHeight(), c.ClientHeight);
    // The document grows with the window; the Start button keeps its distance
    // to the bottom edge and stays near the middle.
    const TRect rich = help->HelpRich->BoundsRect();
    EXPECT_EQ(rich.Left, 0);
    EXPECT_EQ(rich.Top, 24);
    EXPECT_EQ(rich.Right, c.ClientWidth);
    EXPECT_EQ(c.ClientHeight - rich.Bottom, 138 - 97);
    TButton* start = help->StartButton;
    EXPECT_EQ(start->Width(), 173);
    EXPECT_EQ(start->Height(), 25);
    EXPECT_EQ(c.ClientHeight - start->Top(), 138 - 105);
    EXPECT_NEAR(start->Left() + start->Width() / 2.0, c.ClientWidth / 2.0, 2.0);
}

// 1040 x 1024 scales by 1.3, which makes the width exactly 396.5: the half
// goes to the even neighbour.
INSTANTIATE_TEST_SUITE_P(Supporter, HelpWindowScaleTest,
                         ::testing::Values(ScreenCase{"Screen640x480", 640, 480, 305, 138},
                                           ScreenCase{"Screen800x600", 800, 600, 305, 138},
                                           ScreenCase{"Screen1024x768", 1024, 768, 390, 177},
                                           ScreenCase{"Screen1920x1080", 1920, 1080, 732, 331},
                                           ScreenCase{"Screen1040x1024HalfToEven", 1040, 1024, 396, 179}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(SupporterTest, HelpWindowLayoutAtDesignSize) {
    Sup->BuildWindows();
    THelpForm* help = Sup->HelpForm();
    EXPECT_EQ(help->HelpRich->BoundsRect(), Bounds(0, 24, 305, 73));
    EXPECT_EQ(help->StartButton->BoundsRect(), Bounds(66, 105, 173, 25));
    EXPECT_EQ(help->HelpRich->Anchors(), AnchorsAll);
    EXPECT_EQ(help->StartButton->Anchors(), akBottom);

    TLabel* label = help->HelpLabel;
    EXPECT_EQ(label->Caption(), "How to use this program");
    EXPECT_EQ(label->Align(), alTop);
    EXPECT_EQ(label->Alignment(), taCenter);
    EXPECT_EQ(label->Font().Name(), "Verdana");
    EXPECT_EQ(label->Font().Size(), 12);
    EXPECT_EQ(label->Font().Style(), fsBold);

    TRichEdit* rich = help->HelpRich;
    EXPECT_TRUE(rich->ReadOnly());
    EXPECT_EQ(rich->ScrollBars(), ssVertical);
    EXPECT_EQ(rich->Color(), 0xDDDDDD);
    EXPECT_EQ(rich->Text().rfind("TALVOR KX-7040 Series Settings Program\r\n\r\nThis program will help", 0),
              0u);

    TButton* start = help->StartButton;
    EXPECT_EQ(start->Caption(), "Start");
    EXPECT_TRUE(start->Default());
    EXPECT_TRUE(start->Cancel());
    EXPECT_EQ(start->TabOrder(), 0);
    EXPECT_EQ(help->TabList().front(), start);
}

// The whole document with both optional lines, written out byte for byte.
constexpr char kFullHelpDocument[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Verdana;}}"
    "{\\colortbl\\red64\\green64\\blue64;\\red255\\green255\\blue64;\\red64\\green64\\blue255;"
    "\\red255\\green64\\blue64;}\\viewkind4\\uc1\\pard\\f0\\fs32\\cf0\r\n"
    "{\\b TALVOR KX-7040 Series Settings Program}\\par\\par\\fs24\r\n"
    "This program will help you configure the option jumpers and settings associated with this product. You "
    "should have the product in-hand when first using this program.\\par\\par\r\n"
    "{\\cf1\\fs24\\b Yellow circles} provide information on configuring jumpers and switches.\\par\\par\r\n"
    "{\\cf2\\fs24\\b Blue circles} are informational only. They provide information on standard and optional "
    "features of the product family.\\par\\par\r\n"
    "{\\cf3\\fs24\\b Red circles} handle calibration and types of configuration that require actually "
    "controlling the hardware device. Run this settings program again once the card is installed. Repeat the "
    "{\\cf1 setup circles} (using the same settings) to configure this program, then perform the "
    "{\\cf3 calibration circles}.\\par\\par\r\n"
    "Mouse over the highlight circles to see configuration or information popups for {\\cf1 setup}, "
    "{\\cf2 features}, and {\\cf3 calibration}. Click a highlight circle to make its popup remain on-screen. "
    "You can have all or as many of these popups onscreen at the same time as you desire.\\par\\par\r\n"
    "{\\fs32\\b Note:} Make sure to set the jumpers for each option group \\emdash  the configuration "
    "options "
    "for each port are handled identically; this program only shows the setup once, but you need to perform "
    "this setup for each group of options on your device.\\par\\par\r\n"
    "To see a list of KX-7040 cards installed, click \"Display KX-7040 Cards Installed\" under the File "
    "menu.\\par\\par\r\n"
    "}";

// The document's lines, split at CR LF.
std::vector<std::string> Lines(const std::string& doc) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = doc.find("\r\n", start)) != std::string::npos; start = at + 2) {
        lines.push_back(doc.substr(start, at - start));
    }
    lines.push_back(doc.substr(start));
    return lines;
}

TEST_F(SupporterTest, HelpDocumentByteForByte) {
    Sup->SetMultiPort(true);
    GiveCardCallback();
    EXPECT_EQ(Sup->HelpDocument(), kFullHelpDocument);
}

struct DocumentCase {
    const char* Name;
    bool MultiPort;
    bool CardCallback;
    bool Series;
    std::vector<int> Lines;  // which lines of the full document are present, from 1
    const char* Title;       // line 2
};

class HelpDocumentTest : public SupporterTest, public ::testing::WithParamInterface<DocumentCase> {};

TEST_P(HelpDocumentTest, HasTheOptionalLinesItShould) {
    const DocumentCase& c = GetParam();
    Sup->SetMultiPort(c.MultiPort);
    Sup->SetbSeries(c.Series);
    if (c.CardCallback) {
        GiveCardCallback();
    }
    const std::vector<std::string> full = Lines(kFullHelpDocument);
    ASSERT_EQ(full.size(), 10u);
    std::vector<std::string> expected;
    for (int line : c.Lines) {
        expected.push_back(line == 2 ? c.Title : full[line - 1]);
    }
    const std::string doc = Sup->HelpDocument();
    EXPECT_EQ(Lines(doc), expected);
    EXPECT_EQ(doc.back(), '}');

    // The view shows what was built.
    Sup->BuildWindows();
    EXPECT_EQ(Sup->HelpForm()->HelpRich->Text().find("Note:") != std::string::npos, c.MultiPort);
    EXPECT_EQ(Sup->HelpForm()->HelpRich->Text().find("To see a list") != std::string::npos, c.CardCallback);
}

INSTANTIATE_TEST_SUITE_P(
    Supporter, HelpDocumentTest,
    ::testing::Values(DocumentCase{"Plain",
                                   false,
                                   false,
                                   true,
                                   {1, 2, 3, 4, 5, 6, 7, 10},
                                   "{\\b TALVOR KX-7040 Series Settings Program}\\par\\par\\fs24"},
                      DocumentCase{"MultiPort",
                                   true,
                                   false,
                                   true,
                                   {1, 2, 3, 4, 5, 6, 7, 8, 10},
                                   "{\\b TALVOR KX-7040 Series Settings Program}\\par\\par\\fs24"},
                      DocumentCase{"CardCallback",
                                   false,
                                   true,
                                   true,
                                   {1, 2, 3, 4, 5, 6, 7, 9, 10},
                                   "{\\b TALVOR KX-7040 Series Settings Program}\\par\\par\\fs24"},
                      DocumentCase{"Both",
                                   true,
                                   true,
                                   true,
                                   {1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
                                   "{\\b TALVOR KX-7040 Series Settings Program}\\par\\par\\fs24"},
                      DocumentCase{"NoSeries",
                                   false,
                                   false,
                                   false,
                                   {1, 2, 3, 4, 5, 6, 7, 10},
                                   "{\\b TALVOR KX-7040 Settings Program}\\par\\par\\fs24"}),
    [](const auto& info) { return std::string(info.param.Name); });

class StartButtonTest : public SupporterTest {
protected:
    void SetUp() override {
        SupporterTest::SetUp();
        auto* panel = new TCustomPanel(MainForm);
        panel->SetParent(MainForm);
        First = new RecordingBoardImage(MainForm);
        First->SetParent(MainForm);
        Second = new RecordingBoardImage(MainForm);
        Second->SetParent(MainForm);
        MainForm->Show();
        Sup->BuildWindows();
        Tick();
        app.PumpUntilIdle();
    }

    RecordingBoardImage* First = nullptr;
    RecordingBoardImage* Second = nullptr;
};

TEST_F(StartButtonTest, StartHidesTheWindowAndStartsTheTourOnTheFirstBoardImage) {
    ASSERT_TRUE(Sup->HelpForm()->Visible());
    Sup->HelpForm()->StartButton->Click();
    EXPECT_FALSE(Sup->HelpForm()->Visible());
    ASSERT_EQ(First->TourStarts.size(), 1u);
    EXPECT_EQ(First->TourStarts[0], std::make_pair(std::intptr_t{0}, std::intptr_t{0}));
    EXPECT_TRUE(Second->TourStarts.empty());
}

TEST_F(StartButtonTest, StartWithoutABoardImageOnlyHides) {
    First->Free();
    Second->Free();
    Sup->HelpForm()->StartButton->Click();
    EXPECT_FALSE(Sup->HelpForm()->Visible());
    EXPECT_TRUE(Boxes.empty());
}

class StartKeyTest : public StartButtonTest, public ::testing::WithParamInterface<int> {};

TEST_P(StartKeyTest, StartButtonHasTheFocusAndTheKeyClicksIt) {
    ASSERT_TRUE(Sup->HelpForm()->Visible());
    EXPECT_TRUE(Sup->HelpForm()->StartButton->Focused());
    Type(GetParam());
    EXPECT_FALSE(Sup->HelpForm()->Visible());
    EXPECT_EQ(First->TourStarts.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Supporter, StartKeyTest,
                         ::testing::Values(Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter),
                         [](const auto& info) {
                             return info.param == Qt::Key_Escape   ? std::string("Escape")
                                    : info.param == Qt::Key_Return ? std::string("Return")
                                                                   : std::string("Enter");
                         });

}  // namespace
}  // namespace kx
