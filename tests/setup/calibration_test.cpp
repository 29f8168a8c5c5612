// The calibration cycle: channel read-outs written into every set, the
// failure and missing-callback boxes, Retry and Cancel, resetting the
// buttons, and errors raised by the application's callbacks.

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/message_window.h"
#include "platform/std_controls.h"
#include "setup/setup_supporter.h"
#include "support/wait_for.h"

namespace kx {
namespace {

constexpr char kFailureText[] =
    "Total A/D failure. The card may not be installed, or it may be installed at a different base address.";
constexpr char kMissingText[] = "Error: calibration begun, but OnGetCalibString isn't assigned.";

using test::WaitFor;

// One set of calibration controls on a window of its own, with the variables
// the supporter follows.
struct ControlSet {
    explicit ControlSet(TForm* form, int lines) {
        Readout = new TMemo(form);
        Readout->SetParent(form);
        Readout->SetLines(TStrings(static_cast<std::size_t>(lines), "-"));
        Button = new TButton(form);
        Button->SetParent(form);
        Button->SetCaption("Stop");
        Hidden = new TLabel(form);
        Hidden->SetParent(form);
        HiddenControl = Hidden;
    }
    TCalibSet Set() { return {&Readout, &Button, &HiddenControl}; }

    TMemo* Readout = nullptr;
    TButton* Button = nullptr;
    TLabel* Hidden = nullptr;
    TControl* HiddenControl = nullptr;
};

class CalibrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetMessageBoxHandler([this](const TMessageBoxRequest& r) {
            Boxes.push_back(r);
            // The timer must be stopped while a box is open.
            TimerRanDuringBox.push_back(Sup != nullptr && TimerRuns());
            CalibratingDuringBox.push_back(Sup != nullptr && Sup->Calibrating());
            if (Answers.empty()) {
                return IDOK;
            }
            const int answer = Answers.front();
            Answers.erase(Answers.begin());
            return answer;
        });
        Form = new TForm(&app);
        app.SetMainForm(Form);
        Sup = new TSetupSupporter(Form);
        Sup->SetChannels(4);
        Sup->SetOnBeginCalib([this](TObject* sender) {
            EXPECT_EQ(sender, Sup);
            Calls.push_back("begin");
        });
        Sup->OnGetCalibString = [this](TObject* sender, std::uint8_t channel, bool& allBad) {
            EXPECT_EQ(sender, Sup);
            Calls.push_back("channel " + std::to_string(channel) + (allBad ? " bad" : " good"));
            if (channel == GoodChannel) {
                allBad = false;
            }
            if (channel == ThrowingChannel) {
                throw std::runtime_error("Channel read failed");
            }
            return "value " + std::to_string(channel * 10);
        };
    }

    void TearDown() override {
        SetMessageBoxHandler(nullptr);
        TMessageWindow::SetRefuseTimersForTesting(false);
    }

    void Tick() { Sup->TimerWindow()->Perform(WM_TIMER, TSetupSupporter::TimerNumber, 0); }
    bool TimerRuns() const { return Sup->TimerWindow()->TimerActive(TSetupSupporter::TimerNumber); }

    TApplication app;
    TForm* Form = nullptr;
    TSetupSupporter* Sup = nullptr;
    std::vector<std::string> Calls;
    std::vector<TMessageBoxRequest> Boxes;
    std::vector<int> Answers;
    std::vector<bool> TimerRanDuringBox;
    std::vector<bool> CalibratingDuringBox;
    int GoodChannel = -1;
    int ThrowingChannel = -1;
};

TEST_F(CalibrationTest, StartRegistersTheSetsAndRunsTheTimer) {
    ControlSet a(Form, 4);
    Sup->StartCalibration({a.Set()});
    EXPECT_TRUE(Sup->Calibrating());
    ASSERT_EQ(Sup->CalibSets().size(), 1u);
    EXPECT_EQ(Sup->CalibSets()[0].ReadoutControl, &a.Readout);
    EXPECT_TRUE(TimerRuns());
    EXPECT_EQ(Sup->TimerWindow()->TimerInterval(TSetupSupporter::TimerNumber), 100u);
    EXPECT_THROW(Sup->StartCalibration(std::vector<TCalibSet>(257)), std::length_error);
}

TEST_F(CalibrationTest, EveryChannelIsReadInOrderAndWrittenToEverySet) {
    GoodChannel = 1;
    ControlSet a(Form, 4);
    ControlSet b(Form, 5);
    a.Hidden->Show();
    b.Hidden->Show();
    Sup->StartCalibration({a.Set(), b.Set()});
    Tick();
    // ItsAllBad starts True and stays cleared once a channel cleared it.
    EXPECT_EQ(Calls, (std::vector<std::string>{"begin", "channel 0 bad", "channel 1 bad", "channel 2 good",
                                               "channel 3 good"}));
    const TStrings expected = {"Channel 0\tvalue 0", "Channel 1\tvalue 10", "Channel 2\tvalue 20",
                               "Channel 3\tvalue 30"};
    EXPECT_EQ(a.Readout->Lines(), expected);
    TStrings expectedB = expected;
    expectedB.push_back("-");
    EXPECT_EQ(b.Readout->Lines(), expectedB);
    EXPECT_FALSE(a.Hidden->Visible());
    EXPECT_FALSE(b.Hidden->Visible());
    EXPECT_TRUE(Boxes.empty());
    EXPECT_TRUE(Sup->Calibrating());
    EXPECT_TRUE(TimerRuns());
}

TEST_F(CalibrationTest, ChannelNumbersAreDecimalWithoutLeadingZeros) {
    Sup->SetChannels(255);
    ControlSet a(Form, 255);
    GoodChannel = 0;
    Sup->StartCalibration({a.Set()});
    Tick();
    EXPECT_EQ(a.Readout->Lines()[7], "Channel 7\tvalue 70");
    EXPECT_EQ(a.Readout->Lines()[42], "Channel 42\tvalue 420");
    EXPECT_EQ(a.Readout->Lines()[254], "Channel 254\tvalue 2540");
    EXPECT_EQ(Calls.size(), 256u);
}

TEST_F(CalibrationTest, AGoodChannelKeepsTheRunGoingOnTheRealTimer) {
    GoodChannel = 3;
    Sup->StartCalibration({});
    ASSERT_TRUE(
        WaitFor([this] { return std::count(Calls.begin(), Calls.end(), std::string("begin")) >= 3; }));
    Sup->StopCalibration(Sup);
    EXPECT_TRUE(Boxes.empty());
    EXPECT_FALSE(TimerRuns());
}

struct FailureCase {
    const char* Name;
    int Channels;
    int Answer;
    bool RunGoesOn;
};

class TotalFailureTest : public CalibrationTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(TotalFailureTest, BoxOffersRetryAndCancel) {
    const FailureCase& c = GetParam();
    Sup->SetChannels(static_cast<std::uint8_t>(c.Channels));
    ControlSet a(Form, 4);
    Sup->StartCalibration({a.Set()});
    Answers = {c.Answer};
    Tick();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, kFailureText);
    EXPECT_EQ(Boxes[0].Caption, "Total A/D failure");
    EXPECT_EQ(Boxes[0].Flags, 0x50135u);
    EXPECT_EQ(Boxes[0].Flags,
              MB_RETRYCANCEL | MB_DEFBUTTON2 | MB_ICONWARNING | MB_SETFOREGROUND | MB_TOPMOST);
    EXPECT_FALSE(TimerRanDuringBox[0]);
    EXPECT_FALSE(CalibratingDuringBox[0]);
    EXPECT_EQ(Sup->Calibrating(), c.RunGoesOn);
    EXPECT_EQ(TimerRuns(), c.RunGoesOn);
    EXPECT_EQ(a.Button->Caption(), c.RunGoesOn ? "Stop" : "Start");
    EXPECT_EQ(Calls.size(), 1u + c.Channels);
}

// Closing the box or pressing Esc answers Cancel; any answer but Retry ends
// the run. With no channel at all nothing can clear ItsAllBad.
INSTANTIATE_TEST_SUITE_P(Calibration, TotalFailureTest,
                         ::testing::Values(FailureCase{"Retry", 4, IDRETRY, true},
                                           FailureCase{"Cancel", 4, IDCANCEL, false},
                                           FailureCase{"OtherAnswer", 4, IDOK, false},
                                           FailureCase{"NoChannelsRetry", 0, IDRETRY, true},
                                           FailureCase{"NoChannelsCancel", 0, IDCANCEL, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(CalibrationTest, RetryBringsTheNextCycleOnTheRealTimer) {
    Sup->StartCalibration({});
    Answers = {IDRETRY, IDRETRY, IDCANCEL};
    ASSERT_TRUE(WaitFor([this] { return Boxes.size() == 3; }));
    EXPECT_FALSE(Sup->Calibrating());
    EXPECT_FALSE(TimerRuns());
    EXPECT_EQ(std::count(Calls.begin(), Calls.end(), std::string("begin")), 3);
    EXPECT_EQ(TimerRanDuringBox, (std::vector<bool>{false, false, false}));
}

TEST_F(CalibrationTest, MissingCallbackShowsItsBoxAndEndsTheRun) {
    Sup->OnGetCalibString = nullptr;
    Sup->OnStartButtonClick = [this](TObject*) { Calls.push_back("start clicked"); };
    ControlSet a(Form, 4);
    a.Hidden->Show();
    Sup->StartCalibration({a.Set()});
    Tick();
    // OnBeginCalib still runs first.
    EXPECT_EQ(Calls, std::vector<std::string>{"begin"});
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, kMissingText);
    EXPECT_EQ(Boxes[0].Caption, "OnGetCalibString Not Assigned");
    EXPECT_EQ(Boxes[0].Flags, 0x50030u);
    EXPECT_EQ(Boxes[0].Flags, MB_OK | MB_ICONWARNING | MB_SETFOREGROUND | MB_TOPMOST);
    EXPECT_FALSE(TimerRanDuringBox[0]);
    EXPECT_FALSE(Sup->Calibrating());
    EXPECT_FALSE(TimerRuns());
    // Nothing was hidden or written, and the button was given back.
    EXPECT_TRUE(a.Hidden->Visible());
    EXPECT_EQ(a.Readout->Lines(), TStrings(4, "-"));
    EXPECT_EQ(a.Button->Caption(), "Start");
    a.Button->Click();
    EXPECT_EQ(Calls.back(), "start clicked");
}

struct StopCase {
    const char* Name;
    bool ChangeButtons;
    bool StartHandler;
};

class StopCalibrationTest : public CalibrationTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StopCalibrationTest, ResetsTheButtonsOnlyWhenAskedTo) {
    const StopCase& c = GetParam();
    Sup->SetChangeButtons(c.ChangeButtons);
    if (c.StartHandler) {
        Sup->OnStartButtonClick = [this](TObject*) { Calls.push_back("start clicked"); };
    }
    ControlSet a(Form, 4);
    ControlSet b(Form, 4);
    for (ControlSet* set : {&a, &b}) {
        set->Button->OnClick = [this](TObject*) { Calls.push_back("stop clicked"); };
    }
    Sup->StartCalibration({a.Set(), b.Set()});
    Sup->StopCalibration(Sup);
    EXPECT_FALSE(Sup->Calibrating());
    EXPECT_FALSE(TimerRuns());
    for (ControlSet* set : {&a, &b}) {
        Calls.clear();
        EXPECT_EQ(set->Button->Caption(), c.ChangeButtons ? "Start" : "Stop");
        EXPECT_EQ(static_cast<bool>(set->Button->OnClick), !c.ChangeButtons || c.StartHandler);
        set->Button->Click();
        if (!c.ChangeButtons) {
            EXPECT_EQ(Calls, std::vector<std::string>{"stop clicked"});
        } else if (c.StartHandler) {
            EXPECT_EQ(Calls, std::vector<std::string>{"start clicked"});
        } else {
            EXPECT_TRUE(Calls.empty());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Calibration, StopCalibrationTest,
                         ::testing::Values(StopCase{"ChangeButtonsWithHandler", true, true},
                                           StopCase{"ChangeButtonsWithoutHandler", true, false},
                                           StopCase{"KeepButtons", false, true}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(CalibrationTest, EmptyCalibSetsStillCallAndReport) {
    Sup->StartCalibration({});
    Answers = {IDCANCEL};
    Tick();
    EXPECT_EQ(Calls.size(), 5u);
    EXPECT_EQ(Boxes.size(), 1u);
    EXPECT_FALSE(Sup->Calibrating());
}

TEST_F(CalibrationTest, SetsFollowTheirVariables) {
    ControlSet a(Form, 4);
    GoodChannel = 0;
    Sup->StartCalibration({a.Set()});
    // The set names the variables, so a control put there later is the one
    // used; an emptied variable is skipped.
    TMemo* replacement = new TMemo(Form);
    replacement->SetLines(TStrings(4, "?"));
    TMemo* original = a.Readout;
    a.Readout = replacement;
    a.HiddenControl = nullptr;
    a.Button = nullptr;
    Tick();
    EXPECT_EQ(replacement->Lines()[3], "Channel 3\tvalue 30");
    EXPECT_EQ(original->Lines(), TStrings(4, "-"));
    EXPECT_TRUE(a.Hidden->Visible());
    Sup->StopCalibration(Sup);
    EXPECT_FALSE(Sup->Calibrating());
}

TEST_F(CalibrationTest, ErrorsInACycleAreReportedOnceAndEndTheRun) {
    struct ErrorCase {
        const char* Name;
        std::function<void(ControlSet&)> Arrange;
        std::vector<std::string> CallsBeforeTheError;
    };
    const ErrorCase cases[] = {
        {"ThrowingBeginCalib",
         [this](ControlSet&) {
             Sup->SetOnBeginCalib([](TObject*) { throw std::runtime_error("Begin failed"); });
         },
         {}},
        {"ThrowingChannel",
         [this](ControlSet&) { ThrowingChannel = 2; },
         {"begin", "channel 0 bad", "channel 1 bad", "channel 2 bad"}},
        {"ReadoutWithTooFewLines",
         [](ControlSet& set) { set.Readout->SetLines(TStrings(2, "-")); },
         {"begin", "channel 0 bad", "channel 1 bad", "channel 2 bad"}},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.Name);
        ControlSet set(Form, 4);
        Sup->SetOnBeginCalib([this](TObject*) { Calls.push_back("begin"); });
        ThrowingChannel = -1;
        Calls.clear();
        Boxes.clear();
        c.Arrange(set);
        Sup->StartCalibration({set.Set()});
        // Hidden by an earlier, good cycle of the same run.
        set.Hidden->Hide();
        Tick();
        EXPECT_EQ(Calls, c.CallsBeforeTheError);
        ASSERT_EQ(Boxes.size(), 1u);
        EXPECT_EQ(Boxes[0].Flags, MB_OK | MB_ICONERROR);
        // Left running, the next tick would fail again and again; the run
        // ends as stopping it would, with its hidden controls back.
        EXPECT_FALSE(CalibratingDuringBox[0]) << "the run was still on while the error was shown";
        EXPECT_FALSE(Sup->Calibrating());
        EXPECT_FALSE(TimerRuns());
        EXPECT_EQ(set.Button->Caption(), "Start");
        EXPECT_TRUE(set.Hidden->Visible());
    }
}

TEST_F(CalibrationTest, RefusedTimerOnRetryIsReported) {
    Sup->StartCalibration({});
    TMessageWindow::SetRefuseTimersForTesting(true);
    Answers = {IDRETRY};
    Tick();
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(Boxes[0].Caption, "Total A/D failure");
    EXPECT_EQ(Boxes[1].Text, "Not enough timers available.");
    EXPECT_FALSE(TimerRuns());
}

TEST_F(CalibrationTest, AssigningOnBeginCalibUpdatesTheTimer) {
    Sup->StartCalibration({});
    Sup->TimerWindow()->KillTimer(TSetupSupporter::TimerNumber);
    Sup->SetOnBeginCalib(nullptr);
    EXPECT_TRUE(TimerRuns());
    Sup->SetCalibrating(false);
    Sup->SetOnBeginCalib([](TObject*) {});
    EXPECT_FALSE(TimerRuns());
}

}  // namespace
}  // namespace kx
