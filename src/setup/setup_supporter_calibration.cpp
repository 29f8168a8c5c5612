// The calibration cycle of the setup supporter: while a run is in progress,
// every timer tick reads all channels through the application's callbacks,
// writes one line per channel into every registered set of controls, and
// reports a total failure of the A/D converter.

#include <stdexcept>

#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/std_controls.h"
#include "setup/setup_supporter.h"

namespace kx {

namespace {

// Both boxes stay in front of everything, the program's stay-on-top windows
// included.
constexpr unsigned kBoxOnTop = MB_ICONWARNING | MB_SETFOREGROUND | MB_TOPMOST;
constexpr unsigned kMissingCallbackFlags = MB_OK | kBoxOnTop;
constexpr unsigned kTotalFailureFlags = MB_RETRYCANCEL | MB_DEFBUTTON2 | kBoxOnTop;
static_assert(kMissingCallbackFlags == 0x50030 && kTotalFailureFlags == 0x50135);

}  // namespace

void TSetupSupporter::StartCalibration(const std::vector<TCalibSet>& sets) {
    if (sets.size() > MaxCalibSets) {
        throw std::length_error("A calibration run takes at most " + std::to_string(MaxCalibSets) +
                                " sets of controls, not " + std::to_string(sets.size()));
    }
    m_calibSets = sets;
    SetCalibrating(true);
}

int TSetupSupporter::ShowBox(const std::string& text, const std::string& caption, unsigned flags) {
    if (Application != nullptr) {
        return Application->MessageBox(text, caption, flags);
    }
    return ShowMessageBox(text, caption, flags);
}

void TSetupSupporter::CalibrationCycle() {
    try {
        RunCalibrationCycle();
    } catch (...) {
        // An error from a callback or from writing a line ends the run here,
        // before it is reported: left running, every following tick would
        // fail the same way and open box after box, with no way out for the
        // user. The controls the cycle hid come back, and the buttons are
        // reset as by stopping the run.
        SetCalibrating(false);
        ShowHiddenControls();
        StopCalibration(this);
        throw;
    }
}

void TSetupSupporter::ShowHiddenControls() {
    for (std::size_t i = 0; i < m_calibSets.size(); ++i) {
        TControl** hidden = m_calibSets[i].HiddenControl;
        if (hidden != nullptr && *hidden != nullptr) {
            (*hidden)->Show();
        }
    }
}

void TSetupSupporter::RunCalibrationCycle() {
    if (m_onBeginCalib) {
        m_onBeginCalib(this);
    }
    if (!OnGetCalibString) {
        SetCalibrating(false);
        ShowBox("Error: calibration begun, but OnGetCalibString isn't assigned.",
                "OnGetCalibString Not Assigned", kMissingCallbackFlags);
        StopCalibration(this);
        return;
    }

    // The list is walked by index: a callback may register other sets.
    for (std::size_t i = 0; i < m_calibSets.size(); ++i) {
        TControl** hidden = m_calibSets[i].HiddenControl;
        if (hidden != nullptr && *hidden != nullptr) {
            (*hidden)->Hide();
        }
    }
    bool itsAllBad = true;
    for (int channel = 0; channel < m_channels; ++channel) {
        // Checked before every call: a callback may take itself away.
        if (!OnGetCalibString) {
            break;
        }
        const auto ch = static_cast<std::uint8_t>(channel);
        const std::string text = OnGetCalibString(this, ch, itsAllBad);
        ShowChannel(ch, text);
    }

    if (!itsAllBad) {
        return;
    }
    // No tick may start a cycle inside the box's own message loop.
    SetCalibrating(false);
    const int answer = ShowBox(
        "Total A/D failure. The card may not be installed, or it may be installed at a different base "
        "address.",
        "Total A/D failure", kTotalFailureFlags);
    if (answer == IDRETRY) {
        SetCalibrating(true);
    } else {
        StopCalibration(this);
    }
}

void TSetupSupporter::ShowChannel(std::uint8_t Channel, const std::string& Text) {
    const std::string line = "Channel " + std::to_string(Channel) + '\t' + Text;
    for (std::size_t i = 0; i < m_calibSets.size(); ++i) {
        TMemo** readout = m_calibSets[i].ReadoutControl;
        if (readout != nullptr && *readout != nullptr) {
            (*readout)->SetLine(Channel, line);
        }
    }
}

void TSetupSupporter::StopCalibration(TObject*) {
    if (m_changeButtons) {
        for (std::size_t i = 0; i < m_calibSets.size(); ++i) {
            TButton** button = m_calibSets[i].ButtonControl;
            if (button != nullptr && *button != nullptr) {
                (*button)->OnClick = OnStartButtonClick;
                (*button)->SetCaption("Start");
            }
        }
    }
    SetCalibrating(false);
}

}  // namespace kx
