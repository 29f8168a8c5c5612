// The setup supporter's one-time build: header line, support and cards
// windows, the cards menu entry, and the timer that shows the help window
// once. No driver library is on the search path here, so a
// supporter with a card callback always finds no card; the listing of real
// cards is tested by the driver-backed test program.

#include "setup/supporter_fixture.h"

namespace kx {
namespace {

TEST_F(SupporterTest, ConstructionValues) {
    EXPECT_EQ(Sup->CompanyName(), "TALVOR");
    TSetupSupporter fresh(nullptr);
    EXPECT_EQ(fresh.CompanyName(), "");
    EXPECT_EQ(fresh.CardNameA(), "");
    EXPECT_EQ(fresh.CardNameB(), "");
    EXPECT_FALSE(fresh.UseCardNameB());
    EXPECT_EQ(fresh.CallHow(), "");
    EXPECT_FALSE(fresh.MultiPort());
    EXPECT_EQ(fresh.Channels(), 8);
    EXPECT_TRUE(fresh.ChangeButtons());
    EXPECT_TRUE(fresh.bSeries());
    EXPECT_FALSE(fresh.OnBeginCalib());
    EXPECT_FALSE(fresh.OnGetCardString);
    EXPECT_FALSE(fresh.OnGetCalibString);
    EXPECT_FALSE(fresh.OnStopButtonClick);
    EXPECT_FALSE(fresh.OnStartButtonClick);
    EXPECT_FALSE(fresh.HelpPending());
    EXPECT_FALSE(fresh.Calibrating());
    EXPECT_TRUE(fresh.CalibSets().empty());
    ASSERT_NE(fresh.TimerWindow(), nullptr);
    EXPECT_FALSE(fresh.TimerWindow()->TimerActive(TSetupSupporter::TimerNumber));
    EXPECT_EQ(fresh.HeaderLabel(), nullptr);
    EXPECT_EQ(fresh.HelpForm(), nullptr);
    EXPECT_EQ(fresh.TechForm(), nullptr);
    EXPECT_EQ(fresh.PCIForm(), nullptr);
}

TEST_F(SupporterTest, IdleStartRemovesItselfAndBuildsOnce) {
    app.OnIdle = [this](TObject* sender, bool& done) { Sup->IdleStart(sender, done); };
    app.PumpUntilIdle();
    EXPECT_FALSE(app.OnIdle);
    ASSERT_NE(Sup->HelpForm(), nullptr);
    THelpForm* first = Sup->HelpForm();
    app.PumpUntilIdle();
    app.PumpUntilIdle();
    EXPECT_EQ(Sup->HelpForm(), first);
    int helpForms = 0;
    for (int i = 0; i < MainForm->ComponentCount(); ++i) {
        helpForms += Is<THelpForm>(MainForm->Components(i)) ? 1 : 0;
    }
    EXPECT_EQ(helpForms, 1);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(SupporterTest, BuildFailureIsReportedAndNotRetried) {
    // A component of the name the header label needs makes the build fail at
    // its first step.
    (new TLabel(MainForm))->SetName("HeaderLabel");
    app.OnIdle = [this](TObject* sender, bool& done) { Sup->IdleStart(sender, done); };
    app.PumpUntilIdle();
    app.PumpUntilIdle();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Flags, MB_OK | MB_ICONERROR);
    EXPECT_FALSE(app.OnIdle);
    EXPECT_EQ(Sup->HelpForm(), nullptr);
    EXPECT_FALSE(Sup->HelpPending());
}

TEST_F(SupporterTest, HeaderLabelSitsAcrossTheTopOfTheMainWindow) {
    Sup->BuildWindows();
    TLabel* header = Sup->HeaderLabel();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->Name(), "HeaderLabel");
    EXPECT_EQ(header->Owner(), MainForm);
    EXPECT_EQ(header->Parent(), MainForm);
    EXPECT_EQ(MainForm->FindComponent("HeaderLabel"), header);
    EXPECT_EQ(header->Align(), alTop);
    EXPECT_EQ(header->Alignment(), taCenter);
    EXPECT_EQ(header->Left(), 0);
    EXPECT_EQ(header->Top(), 0);
    EXPECT_EQ(header->Width(), MainForm->ClientWidth());
    EXPECT_EQ(header->Font().Name(), "Tahoma");
    EXPECT_EQ(header->Font().Size(), 18);
    EXPECT_EQ(header->Font().Style(), fsBold);
    EXPECT_EQ(header->Font().Color(), clBlack);
    EXPECT_TRUE(header->Visible());
}

struct HeaderCase {
    const char* Name;
    bool Series;
    bool UseCardNameB;
    bool CardCallback;
    const char* Header;
};

class HeaderTextTest : public SupporterTest, public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(HeaderTextTest, ReadsAsExpected) {
    const HeaderCase& c = GetParam();
    Sup->SetbSeries(c.Series);
    Sup->SetUseCardNameB(c.UseCardNameB);
    if (c.CardCallback) {
        GiveCardCallback();
    }
    Sup->BuildWindows();
    EXPECT_EQ(Sup->HeaderLabel()->Caption(), c.Header);
    if (c.CardCallback) {
        ASSERT_NE(Sup->PCIForm(), nullptr);
        EXPECT_EQ(Sup->PCIForm()->PCIMemo->Text(), "No Card Found");
    } else {
        EXPECT_EQ(Sup->PCIForm(), nullptr);
    }
}

// Without a driver library a supporter with a card callback finds no card;
// without a callback it builds as if a card had been found.
INSTANTIATE_TEST_SUITE_P(
    Supporter, HeaderTextTest,
    ::testing::Values(HeaderCase{"NoCallbackSeries", true, false, false, "KX-7040 Series Settings Program"},
                      HeaderCase{"NoCallbackNoSeries", false, false, false, "KX-7040 Settings Program"},
                      HeaderCase{"NoCardSeries", true, false, true, "No KX-7040 Series Card Found"},
                      HeaderCase{"NoCardNoSeries", false, false, true, "No KX-7040 Found"},
                      HeaderCase{"CardNameBFound", true, true, false, "KX-7040B Series Settings Program"},
                      HeaderCase{"CardNameBNotFound", true, true, true, "No KX-7040B Series Card Found"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(SupporterTest, CardNameBIsUsedEverywhere) {
    Sup->SetUseCardNameB(true);
    GiveCardCallback();
    Sup->BuildWindows();
    const std::string doc = Sup->HelpDocument();
    EXPECT_NE(doc.find("{\\b TALVOR KX-7040B Series Settings Program}"), std::string::npos);
    EXPECT_NE(
        doc.find("To see a list of KX-7040B cards installed, click \"Display KX-7040B Cards Installed\""),
        std::string::npos);
    EXPECT_EQ(doc.find("KX-7040 "), std::string::npos);
    ASSERT_GT(File->Count(), 0);
    EXPECT_EQ(File->Items(0)->Caption(), "Display KX-7040B Cards Installed");
    EXPECT_EQ(Sup->PCIForm()->Caption(), "KX-7040B Cards installed");
    EXPECT_EQ(Sup->HeaderLabel()->Caption(), "No KX-7040B Series Card Found");
}

TEST_F(SupporterTest, CardNameIsTakenWhenTheBuildStarts) {
    GiveCardCallback();
    Sup->BuildWindows();
    Sup->SetCardNameA("Changed");
    EXPECT_EQ(File->Items(0)->Caption(), "Display KX-7040 Cards Installed");
    EXPECT_EQ(Sup->PCIForm()->Caption(), "KX-7040 Cards installed");
}

struct MenuCase {
    const char* Name;
    std::vector<std::string> TopLevel;  // captions of the menu bar's items
    bool CardCallback;
    int EntryUnder;  // index of the top-level item that gets the entry, -1 for none
};

class CardsMenuEntryTest : public SupporterTest, public ::testing::WithParamInterface<MenuCase> {
protected:
    void SetUp() override {
        SupporterTest::SetUp();
        // Replace the fixture's menu bar by the case's own.
        while (Menu->Items()->Count() > 0) {
            Menu->Items()->Items(0)->Free();
        }
        for (const std::string& caption : GetParam().TopLevel) {
            TMenuItem* item = AddMenuItem(caption);
            auto* command = new TMenuItem(MainForm);
            command->SetCaption("&Command");
            item->Add(command);
        }
    }
};

TEST_P(CardsMenuEntryTest, IsInsertedAtTheTopOfTheFirstFileMenuOnly) {
    const MenuCase& c = GetParam();
    if (c.CardCallback) {
        GiveCardCallback();
    }
    Sup->BuildWindows();
    TMenuItem* items = Menu->Items();
    for (int i = 0; i < items->Count(); ++i) {
        TMenuItem* top = items->Items(i);
        SCOPED_TRACE(top->Caption());
        if (i == c.EntryUnder) {
            ASSERT_EQ(top->Count(), 2);
            TMenuItem* entry = top->Items(0);
            EXPECT_EQ(entry->Name(), "DisplayPCI");
            EXPECT_EQ(entry->Owner(), top);
            EXPECT_EQ(entry->Caption(), "Display KX-7040 Cards Installed");
            EXPECT_EQ(top->Items(1)->Caption(), "&Command");
        } else {
            EXPECT_EQ(top->Count(), 1);
        }
    }
    // Whatever happens to the menu, the window exists exactly when the
    // callback does.
    EXPECT_EQ(Sup->PCIForm() != nullptr, c.CardCallback);
}

INSTANTIATE_TEST_SUITE_P(Supporter, CardsMenuEntryTest,
                         ::testing::Values(MenuCase{"FileFirst", {"&File", "&Help"}, true, 0},
                                           MenuCase{"FileAfterAnotherMenu", {"&Edit", "&File"}, true, 1},
                                           MenuCase{"TwoFileMenus", {"&File", "&File"}, true, 0},
                                           MenuCase{"FileWithoutAmpersand", {"File", "&Help"}, true, -1},
                                           MenuCase{"FileInOtherCase", {"&file"}, true, -1},
                                           MenuCase{"NoCardCallback", {"&File", "&Help"}, false, -1}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(SupporterTest, NoMainMenuStillBuildsEverythingElse) {
    MainForm->SetMenu(nullptr);
    GiveCardCallback();
    Sup->BuildWindows();
    EXPECT_EQ(File->Count(), 1);
    EXPECT_NE(Sup->PCIForm(), nullptr);
    EXPECT_NE(Sup->HelpForm(), nullptr);
    EXPECT_NE(Sup->TechForm(), nullptr);
    EXPECT_TRUE(Sup->HelpPending());
}

TEST_F(SupporterTest, CardsEntryShowsTheCardsWindowAgain) {
    GiveCardCallback();
    Sup->BuildWindows();
    TPCIForm* pci = Sup->PCIForm();
    EXPECT_TRUE(pci->Visible());
    pci->CloseButton->Click();
    EXPECT_FALSE(pci->Visible());
    File->Items(0)->Click();
    EXPECT_TRUE(pci->Visible());
}

TEST_F(SupporterTest, WindowsAreOwnedByTheMainWindowAndHiddenExceptTheCardsWindow) {
    GiveCardCallback();
    Sup->BuildWindows();
    struct Expect {
        TForm* Form;
        const char* Name;
        const char* Caption;
        TPosition Position;
        bool Visible;
    };
    const Expect expects[] = {
        {Sup->HelpForm(), "HelpForm", "Instructions for Settings utility", poMainFormCenter, false},
        {Sup->TechForm(), "TechForm", "Technical Support", poDefaultPosOnly, false},
        {Sup->PCIForm(), "PCIForm", "KX-7040 Cards installed", poDefaultPosOnly, true},
    };
    for (const Expect& e : expects) {
        SCOPED_TRACE(e.Name);
        ASSERT_NE(e.Form, nullptr);
        EXPECT_EQ(e.Form->Name(), e.Name);
        EXPECT_EQ(e.Form->Owner(), MainForm);
        EXPECT_EQ(e.Form->Caption(), e.Caption);
        EXPECT_EQ(e.Form->FormStyle(), fsStayOnTop);
        EXPECT_EQ(e.Form->Position(), e.Position);
        EXPECT_EQ(e.Form->Visible(), e.Visible);
    }
}

TEST_F(SupporterTest, SupportAndCardsWindowLayout) {
    GiveCardCallback();
    Sup->BuildWindows();
    struct Expect {
        TForm* Form;
        TMemo* Memo;
        TButton* Close;
        int CloseLeft;
    };
    // The support window centres its Close button after fitting; the cards
    // window placed it by its outer width of 320 before and keeps it there.
    const Expect expects[] = {{Sup->TechForm(), Sup->TechForm()->TechMemo, Sup->TechForm()->CloseButton, 116},
                              {Sup->PCIForm(), Sup->PCIForm()->PCIMemo, Sup->PCIForm()->CloseButton, 115}};
    for (const Expect& e : expects) {
        SCOPED_TRACE(e.Form->Name());
        EXPECT_EQ(e.Form->ClientWidth(), 305);
        EXPECT_EQ(e.Form->ClientHeight(), 122);
        EXPECT_EQ(e.Memo->BoundsRect(), Bounds(0, 0, 305, 89));
        EXPECT_EQ(e.Close->BoundsRect(), Bounds(e.CloseLeft, 97, 73, 25));
        EXPECT_EQ(e.Memo->Anchors(), AnchorsAll);
        EXPECT_EQ(e.Close->Anchors(), akBottom);
        EXPECT_TRUE(e.Memo->ReadOnly());
        EXPECT_EQ(e.Memo->ScrollBars(), ssVertical);
        EXPECT_EQ(e.Close->Caption(), "Close");
        EXPECT_TRUE(e.Close->Cancel());
        EXPECT_FALSE(e.Close->Default());
        EXPECT_EQ(e.Form->TabList().front(), e.Close);
    }
    TMemo* pciMemo = Sup->PCIForm()->PCIMemo;
    EXPECT_EQ(pciMemo->Font().Name(), "Tahoma");
    EXPECT_EQ(pciMemo->Font().Size(), 10);
    EXPECT_EQ(pciMemo->Font().Style(), fsBold);
}

TEST_F(SupporterTest, CloseButtonsHideTheirOwnWindowOnly) {
    GiveCardCallback();
    Sup->BuildWindows();
    Sup->TechForm()->Show();
    Sup->HelpForm()->Show();
    Sup->TechForm()->CloseButton->Click();
    EXPECT_FALSE(Sup->TechForm()->Visible());
    EXPECT_TRUE(Sup->PCIForm()->Visible());
    EXPECT_TRUE(Sup->HelpForm()->Visible());
    Sup->PCIForm()->CloseButton->Click();
    EXPECT_FALSE(Sup->PCIForm()->Visible());
    EXPECT_TRUE(Sup->HelpForm()->Visible());
}

TEST_F(SupporterTest, SupportText) {
    Sup->BuildWindows();
    const std::string expected =
        "There are several ways to get technical support. First and fastest is to skim the relevant sections "
        "of "
        "the manual. However, some questions require personal assistance, and TALVOR stands ready to provide "
        "that "
        "help. You can call us Monday through Friday from 8:00 a.m. to 5:00 p.m. Pacific Time at (800) "
        "555-0174 "
        "for any of your product questions.\r\n\r\nIn order to provide the best and fastest support "
        "possible, we "
        "ask that you be at your computer when you call, and have the TALVOR product manual and Software "
        "Master "
        "CD at hand.";
    EXPECT_EQ(Sup->SupportText(), expected);
    EXPECT_EQ(Sup->TechForm()->TechMemo->Text(), expected);
    EXPECT_EQ(Sup->TechForm()->TechMemo->LineCount(), 3);
}

TEST_F(SupporterTest, FirstTickShowsTheHelpWindowAndTheTimerStops) {
    app.OnIdle = [this](TObject* sender, bool& done) { Sup->IdleStart(sender, done); };
    app.PumpUntilIdle();
    ASSERT_NE(Sup->HelpForm(), nullptr);
    EXPECT_TRUE(Sup->HelpPending());
    EXPECT_TRUE(Sup->TimerWindow()->TimerActive(TSetupSupporter::TimerNumber));
    EXPECT_EQ(Sup->TimerWindow()->TimerInterval(TSetupSupporter::TimerNumber), 100u);
    EXPECT_FALSE(Sup->HelpForm()->Visible());

    ASSERT_TRUE(WaitFor([this] { return Sup->HelpForm()->Visible(); }));
    EXPECT_FALSE(Sup->HelpPending());
    // No second tick comes without a calibration run.
    EXPECT_FALSE(Sup->TimerWindow()->TimerActive(TSetupSupporter::TimerNumber));
    EXPECT_FALSE(Sup->TechForm()->Visible());
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(SupporterTest, TimerKeepsRunningAfterTheHelpTickWhileCalibrating) {
    Sup->OnGetCalibString = [](TObject*, std::uint8_t, bool& allBad) {
        allBad = false;
        return std::string("ok");
    };
    Sup->BuildWindows();
    Sup->StartCalibration({});
    Tick();
    EXPECT_TRUE(Sup->HelpForm()->Visible());
    EXPECT_FALSE(Sup->HelpPending());
    EXPECT_TRUE(Sup->TimerWindow()->TimerActive(TSetupSupporter::TimerNumber));
}

TEST_F(SupporterTest, RefusedTimerIsReportedAndTheProgramGoesOn) {
    TMessageWindow::SetRefuseTimersForTesting(true);
    app.OnIdle = [this](TObject* sender, bool& done) { Sup->IdleStart(sender, done); };
    app.PumpUntilIdle();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, "Not enough timers available.");
    EXPECT_EQ(Boxes[0].Flags, MB_OK | MB_ICONERROR);
    // Everything before the timer was built.
    EXPECT_EQ(Sup->HeaderLabel()->Caption(), "KX-7040 Series Settings Program");
    EXPECT_FALSE(Sup->TimerWindow()->TimerActive(TSetupSupporter::TimerNumber));

    // The program goes on: the help window still comes up from the menu, and
    // a later timer works again.
    Sup->HelpForm()->SetVisible(true);
    EXPECT_TRUE(Sup->HelpForm()->Visible());
    TMessageWindow::SetRefuseTimersForTesting(false);
    Sup->UpdateTimer();
    EXPECT_TRUE(Sup->TimerWindow()->TimerActive(TSetupSupporter::TimerNumber));
}

TEST_F(SupporterTest, UpdateTimerThrowsWhenRefused) {
    Sup->BuildWindows();
    TMessageWindow::SetRefuseTimersForTesting(true);
    try {
        Sup->UpdateTimer();
        FAIL() << "no error";
    } catch (const EOutOfResources& e) {
        EXPECT_STREQ(e.what(), "Not enough timers available");
    }
    // Neither pending help nor a calibration: no timer is asked for.
    Tick();
    EXPECT_NO_THROW(Sup->UpdateTimer());
}

TEST_F(SupporterTest, OtherMessagesGetTheDefaultAnswer) {
    EXPECT_EQ(Sup->TimerWindow()->Perform(WM_USER + 5, 1, 2), 0);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(SupporterTest, CloseButtonHasTheFocusAndEscHidesTheWindow) {
    MainForm->Show();
    GiveCardCallback();
    Sup->BuildWindows();
    Sup->PCIForm()->Hide();
    struct Window {
        TForm* Form;
        TButton* Close;
    };
    for (const Window& w : {Window{Sup->TechForm(), Sup->TechForm()->CloseButton},
                            Window{Sup->PCIForm(), Sup->PCIForm()->CloseButton}}) {
        SCOPED_TRACE(w.Form->Name());
        w.Form->Show();
        app.PumpUntilIdle();
        EXPECT_TRUE(w.Close->Focused());
        Type(Qt::Key_Escape);
        EXPECT_FALSE(w.Form->Visible());
    }
}

TEST_F(SupporterTest, DestroyingTheMainWindowTakesEverythingAlong) {
    GiveCardCallback();
    Sup->BuildWindows();
    EXPECT_TRUE(Sup->TimerWindow()->TimerActive(TSetupSupporter::TimerNumber));
    MainForm->Free();
    MainForm = nullptr;
    // A timer started after the supporter's would have fired after it: once
    // it has, a tick of a timer that outlived the supporter would have come.
    bool later = false;
    QTimer::singleShot(3 * TSetupSupporter::TimerIntervalMs, [&later] { later = true; });
    ASSERT_TRUE(WaitFor([&later] { return later; }));
    EXPECT_TRUE(Boxes.empty());
}

TEST(SetupSupporterDescriptionTest, PropertiesAndEventsFromADescription) {
    TApplication app;
    TClassRegistry registry;
    RegisterPlatformClasses(registry);
    RegisterSetupSupporterClass(registry);
    int beginCalls = 0;
    int startClicks = 0;
    const THandlerTable handlers = {{"BeginCalib", [&](TObject*) { ++beginCalls; }},
                                    {"StartClick", [&](TObject*) { ++startClicks; }},
                                    {"StopClick", [](TObject*) {}}};
    auto* root = new TForm(&app);
    ReadDescription(*root, R"({"class": "TForm", "name": "Root", "properties": {}, "children": [
        {"class": "TSetupSupporter", "name": "SetSup", "properties": {
            "CompanyName": "TALVOR", "CardNameA": "A", "CardNameB": "B", "UseCardNameB": true,
            "CallHow": "now", "MultiPort": true, "Channels": 255, "ChangeButtons": false, "bSeries": false,
            "OnBeginCalib": "BeginCalib", "OnStopButtonClick": "StopClick", "OnStartButtonClick": "StartClick"}}]})",
                    registry, handlers, nullptr);
    auto* sup = root->Find<TSetupSupporter>("SetSup");
    ASSERT_NE(sup, nullptr);
    EXPECT_EQ(sup->Owner(), root);
    EXPECT_EQ(sup->CompanyName(), "TALVOR");
    EXPECT_EQ(sup->CardName(), "B");
    EXPECT_EQ(sup->CallHow(), "now");
    EXPECT_TRUE(sup->MultiPort());
    EXPECT_EQ(sup->Channels(), 255);
    EXPECT_FALSE(sup->ChangeButtons());
    EXPECT_FALSE(sup->bSeries());
    ASSERT_TRUE(sup->OnBeginCalib());
    sup->OnBeginCalib()(sup);
    EXPECT_EQ(beginCalls, 1);
    ASSERT_TRUE(sup->OnStartButtonClick);
    sup->OnStartButtonClick(sup);
    EXPECT_EQ(startClicks, 1);
    EXPECT_TRUE(sup->OnStopButtonClick);
}

TEST(SetupSupporterDescriptionTest, ChannelsOutsideAByteAreRefused) {
    TApplication app;
    TClassRegistry registry;
    RegisterPlatformClasses(registry);
    RegisterSetupSupporterClass(registry);
    for (const char* channels : {"256", "-1"}) {
        SCOPED_TRACE(channels);
        auto* root = new TForm(&app);
        const std::string json =
            std::string(R"({"class": "TForm", "name": "Root", "properties": {}, "children": [
            {"class": "TSetupSupporter", "name": "SetSup", "properties": {"Channels": )") +
            channels + "}}]}";
        try {
            ReadDescription(*root, json, registry, {}, nullptr);
            FAIL() << "accepted";
        } catch (const EDescriptionError& e) {
            EXPECT_NE(std::string(e.what()).find("SetSup"), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("Channels"), std::string::npos) << e.what();
        }
        root->Free();
    }
}

}  // namespace
}  // namespace kx
