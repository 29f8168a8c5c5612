#pragma once

// The real main window, built from the board description carried in the
// program and shown at the size a maximised window has on a 1032 x 768
// screen, painted once.

#include "app/main_form.h"
#include "setup/help_form.h"
#include "setup/setup_supporter.h"
#include "support/kx_fixture.h"
#include "support/wait_for.h"

namespace kx::test {

// Waits for the help window, which opens by itself on the supporter's first
// timer tick, and closes it again when asked. A test that depends on where
// the focus is, or on what covers the board, settles it first, so that the
// window cannot open in the middle of the test (when it does depends on how
// busy the machine is).
inline void WaitForHelpWindow(TMainForm* form, bool close) {
    ASSERT_TRUE(WaitFor([form] {
        Application->PumpUntilIdle();
        return form->SetSup->HelpForm() != nullptr && form->SetSup->HelpForm()->Visible();
    }));
    if (close) {
        form->SetSup->HelpForm()->Hide();
        Application->PumpUntilIdle();
    }
}

class MainWindowFixture : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        App().CreateForm(form);
        form->Show();
        form->SetWindowState(wsNormal);
        form->SetBounds(0, 0, 1032, 746);
        Pump();
    }
    void SettleHelpWindow() { WaitForHelpWindow(form, /*close=*/true); }
    TMainForm* form = nullptr;
};

}  // namespace kx::test
