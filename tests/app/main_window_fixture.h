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
    // Waits for the help window, which opens by itself on the supporter's
    // first timer tick, and closes it again, so that it cannot take the focus
    // in the middle of a test that depends on where the focus is.
    void SettleHelpWindow() {
        ASSERT_TRUE(WaitFor([this] {
            Pump();
            return form->SetSup->HelpForm() != nullptr && form->SetSup->HelpForm()->Visible();
        }));
        form->SetSup->HelpForm()->Hide();
        Pump();
    }
    TMainForm* form = nullptr;
};

}  // namespace kx::test
