#include <gtest/gtest.h>

#include "app/main_form.h"
#include "platform/label.h"
#include "platform/menus.h"
#include "setup/help_form.h"
#include "setup/setup_supporter.h"
#include "setup/tech_form.h"
#include "support/kx_fixture.h"

namespace kx {
namespace {

class MainFormTest : public test::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        App().CreateForm(form);
    }
    int HelpWindows() const {
        int n = 0;
        for (TForm* f : Screen->FormList())
            n += dynamic_cast<THelpForm*>(f) != nullptr ? 1 : 0;
        return n;
    }
    TMainForm* form = nullptr;
};

TEST_F(MainFormTest, TheWindowIsTheDescriptionsAndBecomesTheMainWindow) {
    EXPECT_EQ(App().MainForm(), form);
    EXPECT_EQ(form->Name(), "MainForm");
    EXPECT_EQ(form->Caption(), "Setup");
    EXPECT_EQ(form->WindowState(), wsMaximized);
    EXPECT_EQ(form->Color(), clWhite);
    EXPECT_EQ(form->Menu(), form->MainMenu1);
    EXPECT_EQ(form->Font().Height(), -11);
}

TEST_F(MainFormTest, CreationHooksTheIdleEventAndBuildsNothing) {
    EXPECT_TRUE(static_cast<bool>(App().OnIdle));
    EXPECT_EQ(form->SetSup->HelpForm(), nullptr);
    EXPECT_EQ(form->SetSup->HeaderLabel(), nullptr);
    // The Help commands find nothing to show yet, and do no harm.
    form->Howtousethisprogram1Click(nullptr);
    form->TechnicalSupport1Click(nullptr);
    EXPECT_EQ(HelpWindows(), 0);
}

TEST_F(MainFormTest, TheSupporterBuildsOnceAtTheFirstIdleMomentAfterThePaint) {
    // Shown but not painted yet: the loop is not idle for the build.
    form->ClientWidget()->setUpdatesEnabled(false);
    form->Show();
    Pump();
    ASSERT_FALSE(form->PaintedOnce());
    EXPECT_EQ(form->SetSup->HelpForm(), nullptr);
    form->ClientWidget()->setUpdatesEnabled(true);
    Pump();
    ASSERT_NE(form->SetSup->HelpForm(), nullptr);
    EXPECT_FALSE(static_cast<bool>(App().OnIdle));
    EXPECT_EQ(form->SetSup->HeaderLabel()->Caption(), "KX-7040 Series Settings Program");
    THelpForm* help = form->SetSup->HelpForm();
    for (int i = 0; i < 5; ++i) {
        App().Idle();
        Pump();
    }
    EXPECT_EQ(form->SetSup->HelpForm(), help);
    EXPECT_EQ(HelpWindows(), 1);
}

TEST_F(MainFormTest, HelpCommandsShowTheirWindowsAndLeaveAVisibleOneAlone) {
    form->Show();
    Pump();
    TTechForm* tech = form->SetSup->TechForm();
    ASSERT_NE(tech, nullptr);
    EXPECT_FALSE(tech->Visible());
    form->TechnicalSupport1Click(nullptr);
    EXPECT_TRUE(tech->Visible());
    tech->SetBounds(40, 50, tech->Width(), tech->Height());
    form->TechnicalSupport1Click(nullptr);
    EXPECT_EQ(tech->Left(), 40);
    EXPECT_EQ(tech->Top(), 50);
    tech->Close();
    EXPECT_FALSE(tech->Visible());
    form->TechnicalSupport1Click(nullptr);
    EXPECT_TRUE(tech->Visible());
}

TEST_F(MainFormTest, ExitEndsTheProgram) {
    form->Show();
    Pump();
    form->Exit2->Click();
    EXPECT_TRUE(App().Terminated());
}

TEST_F(MainFormTest, TheCloseBoxEndsTheProgramLikeExit) {
    form->Show();
    Pump();
    form->CloseRequested();
    EXPECT_TRUE(App().Terminated());
}

}  // namespace
}  // namespace kx
