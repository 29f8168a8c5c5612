// The calibration cycle's message boxes as the user meets them: real Qt message boxes (no
// handler seam) answered with Enter, Esc or the close box, alone and inside a cycle; the order
// of a cycle (its controls hidden before the first channel is read); and the tick that shows
// the help window, which runs no cycle.

#include <gtest/gtest.h>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/message_window.h"
#include "platform/std_controls.h"
#include "setup/help_form.h"
#include "setup/setup_supporter.h"
#include "setup/supporter_fixture.h"

namespace kx {
namespace {

enum class TAction { Enter, Escape, CloseBox, ClickRetry };

const char* Name(TAction a) {
    switch (a) {
        case TAction::Enter:
            return "Enter";
        case TAction::Escape:
            return "Escape";
        case TAction::CloseBox:
            return "CloseBox";
        case TAction::ClickRetry:
            return "ClickRetry";
    }
    return "?";
}

// Answers the next real message box that opens with the given action, from inside its own
// message loop, and records its caption and flags as seen on the screen.
class BoxAnswerer {
public:
    explicit BoxAnswerer(TAction action) : m_action(action) {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start();
    }

    std::vector<std::string> Captions;
    std::vector<QMessageBox::StandardButton> Defaults;

private:
    void Poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        Captions.push_back(box->windowTitle().toStdString());
        QAbstractButton* def = box->defaultButton();
        Defaults.push_back(def != nullptr ? box->standardButton(def) : QMessageBox::NoButton);
        switch (m_action) {
            case TAction::Enter:
            case TAction::Escape: {
                const int key = m_action == TAction::Enter ? Qt::Key_Return : Qt::Key_Escape;
                QWidget* target = box->focusWidget() != nullptr ? box->focusWidget() : box;
                QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
                QApplication::sendEvent(target, &press);
                QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
                QApplication::sendEvent(target, &release);
                break;
            }
            case TAction::CloseBox:
                box->close();
                break;
            case TAction::ClickRetry:
                if (QAbstractButton* retry = box->button(QMessageBox::Retry)) {
                    retry->click();
                } else {
                    box->close();
                }
                break;
        }
    }

    TAction m_action;
    QTimer m_timer;
};

constexpr unsigned kMissingCallbackFlags = 0x50030;
constexpr unsigned kTotalFailureFlags = 0x50135;

struct TBoxCase {
    unsigned Flags;
    TAction Action;
    int Answer;
};

void PrintTo(const TBoxCase& c, std::ostream* os) {
    *os << "0x" << std::hex << c.Flags << " " << Name(c.Action);
}

class RealMessageBox : public ::testing::TestWithParam<TBoxCase> {
protected:
    void SetUp() override { SetMessageBoxHandler(nullptr); }
};

TEST_P(RealMessageBox, AnswersAsTheUserChose) {
    const TBoxCase& c = GetParam();
    BoxAnswerer answerer(c.Action);
    const int answer = ShowMessageBox("Text", "Caption", c.Flags);
    EXPECT_EQ(answer, c.Answer);
    ASSERT_EQ(answerer.Captions, std::vector<std::string>{"Caption"});
}

INSTANTIATE_TEST_SUITE_P(
    CalibrationBoxes, RealMessageBox,
    ::testing::Values(TBoxCase{kMissingCallbackFlags, TAction::Enter, IDOK},
                      TBoxCase{kMissingCallbackFlags, TAction::Escape, IDOK},
                      TBoxCase{kMissingCallbackFlags, TAction::CloseBox, IDOK},
                      // Cancel is the default button: Enter cancels, and so do Esc and the close box.
                      TBoxCase{kTotalFailureFlags, TAction::Enter, IDCANCEL},
                      TBoxCase{kTotalFailureFlags, TAction::Escape, IDCANCEL},
                      TBoxCase{kTotalFailureFlags, TAction::CloseBox, IDCANCEL},
                      TBoxCase{kTotalFailureFlags, TAction::ClickRetry, IDRETRY}),
    [](const ::testing::TestParamInfo<TBoxCase>& info) {
        return std::string(info.param.Flags == kMissingCallbackFlags ? "MissingCallback" : "TotalFailure") +
               Name(info.param.Action);
    });

// A supporter with one set of calibration controls on the main window.
class CalibrationCycleTest : public SupporterTest {
protected:
    void SetUp() override {
        SupporterTest::SetUp();
        Readout = new TMemo(MainForm);
        Readout->SetParent(MainForm);
        Readout->SetLines(TStrings(4, "-"));
        Button = new TButton(MainForm);
        Button->SetParent(MainForm);
        Button->SetCaption("Stop");
        Hidden = new TLabel(MainForm);
        Hidden->SetParent(MainForm);
        HiddenControl = Hidden;
        Sup->SetChannels(4);
    }
    TCalibSet Set() { return {&Readout, &Button, &HiddenControl}; }
    bool TimerRuns() const { return Sup->TimerWindow()->TimerActive(TSetupSupporter::TimerNumber); }

    TMemo* Readout = nullptr;
    TButton* Button = nullptr;
    TLabel* Hidden = nullptr;
    TControl* HiddenControl = nullptr;
};

TEST_F(CalibrationCycleTest, TheFailureBoxEndsTheRunUnlessRetryIsChosen) {
    Sup->OnGetCalibString = [](TObject*, std::uint8_t, bool&) { return std::string("bad"); };
    for (TAction action : {TAction::Enter, TAction::Escape, TAction::CloseBox, TAction::ClickRetry}) {
        SCOPED_TRACE(Name(action));
        SetMessageBoxHandler(nullptr);
        Button->SetCaption("Stop");
        Sup->StartCalibration({Set()});
        BoxAnswerer answerer(action);
        Tick();
        ASSERT_EQ(answerer.Captions, std::vector<std::string>{"Total A/D failure"});
        EXPECT_EQ(answerer.Defaults, std::vector<QMessageBox::StandardButton>{QMessageBox::Cancel});
        const bool retried = action == TAction::ClickRetry;
        EXPECT_EQ(Sup->Calibrating(), retried);
        EXPECT_EQ(TimerRuns(), retried);
        EXPECT_EQ(Button->Caption(), retried ? "Stop" : "Start");
        Sup->StopCalibration(Sup);
    }
}

TEST_F(CalibrationCycleTest, TheMissingCallbackBoxEndsTheRunWhateverTheAnswer) {
    for (TAction action : {TAction::Enter, TAction::Escape, TAction::CloseBox}) {
        SCOPED_TRACE(Name(action));
        SetMessageBoxHandler(nullptr);
        Button->SetCaption("Stop");
        Sup->StartCalibration({Set()});
        BoxAnswerer answerer(action);
        Tick();
        ASSERT_EQ(answerer.Captions, std::vector<std::string>{"OnGetCalibString Not Assigned"});
        EXPECT_FALSE(Sup->Calibrating());
        EXPECT_FALSE(TimerRuns());
        EXPECT_EQ(Button->Caption(), "Start");
    }
}

TEST_F(CalibrationCycleTest, ControlsAreHiddenBeforeTheFirstChannelIsRead) {
    std::vector<bool> visibleAtRead;
    Sup->OnGetCalibString = [&](TObject*, std::uint8_t, bool& allBad) {
        visibleAtRead.push_back(Hidden->Visible());
        allBad = false;
        return std::string("ok");
    };
    Sup->StartCalibration({Set()});
    ASSERT_TRUE(Hidden->Visible());
    Tick();
    EXPECT_EQ(visibleAtRead, (std::vector<bool>{false, false, false, false}));
    Sup->StopCalibration(Sup);
}

TEST_F(CalibrationCycleTest, TheTickThatShowsTheHelpWindowRunsNoCycle) {
    std::vector<std::string> calls;
    Sup->SetOnBeginCalib([&](TObject*) { calls.push_back("begin"); });
    Sup->OnGetCalibString = [&](TObject*, std::uint8_t channel, bool& allBad) {
        calls.push_back("channel " + std::to_string(channel));
        allBad = false;
        return std::string("ok");
    };
    Sup->BuildWindows();
    ASSERT_TRUE(Sup->HelpPending());
    Sup->StartCalibration({Set()});
    Tick();
    EXPECT_TRUE(Sup->HelpForm()->Visible());
    EXPECT_FALSE(Sup->HelpPending());
    EXPECT_TRUE(calls.empty()) << "a cycle ran in the tick that showed the help window";
    EXPECT_TRUE(Hidden->Visible());
    EXPECT_EQ(Readout->Lines(), TStrings(4, "-"));
    EXPECT_TRUE(TimerRuns()) << "the run goes on after the help window";
    Tick();
    EXPECT_EQ(calls, (std::vector<std::string>{"begin", "channel 0", "channel 1", "channel 2", "channel 3"}));
    Sup->StopCalibration(Sup);
}

}  // namespace
}  // namespace kx
