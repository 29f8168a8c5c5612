#pragma once

// The real main window, built from the board description carried in the
// program and shown at the size a maximised window has on a 1032 x 768
// screen, painted once.

#include "app/main_form.h"
#include "support/kx_fixture.h"

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
    TMainForm* form = nullptr;
};

}  // namespace kx::test
