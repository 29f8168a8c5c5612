#pragma once

// The fixture of the setup supporter's tests: an application with a small
// main window whose menu bar has "&File" (with "&Exit") and "&Help", a
// supporter with the board's wording, and message boxes answered OK and
// recorded.

#include <gtest/gtest.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

#include "platform/application.h"
#include "platform/description.h"
#include "platform/dialogs.h"
#include "platform/menus.h"
#include "platform/message_window.h"
#include "platform/rich_edit.h"
#include "platform/std_controls.h"
#include "setup/board_image.h"
#include "setup/help_form.h"
#include "setup/pci_form.h"
#include "setup/setup_supporter.h"
#include "setup/tech_form.h"
#include "support/wait_for.h"

namespace kx {

constexpr char kCallHow[] =
    "Monday through Friday from 8:00 a.m. to 5:00 p.m. Pacific Time at (800) 555-0174";

using test::WaitFor;

class SupporterTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetMessageBoxHandler([this](const TMessageBoxRequest& r) {
            Boxes.push_back(r);
            return IDOK;
        });
        Screen->SetSizeForTesting(800, 600);
        Screen->SetFrameMarginsForTesting(QMargins());
        MainForm = new TForm(&app);
        MainForm->SetName("MainForm");
        app.SetMainForm(MainForm);
        Menu = new TMainMenu(MainForm);
        File = AddMenuItem("&File");
        auto* exit = new TMenuItem(MainForm);
        exit->SetCaption("&Exit");
        File->Add(exit);
        AddMenuItem("&Help");
        MainForm->SetMenu(Menu);

        Sup = new TSetupSupporter(MainForm);
        Sup->SetName("SetSup");
        Sup->SetCompanyName("TALVOR");
        Sup->SetCardNameA("KX-7040");
        Sup->SetCardNameB("KX-7040B");
        Sup->SetCallHow(kCallHow);
    }

    void TearDown() override {
        SetMessageBoxHandler(nullptr);
        TMessageWindow::SetRefuseTimersForTesting(false);
    }

    TMenuItem* AddMenuItem(const std::string& caption) {
        auto* item = new TMenuItem(MainForm);
        item->SetCaption(caption);
        Menu->Items()->Add(item);
        return item;
    }

    void GiveCardCallback() {
        Sup->OnGetCardString = [](TObject*, std::int32_t index) { return "Card " + std::to_string(index); };
    }

    void Tick() { Sup->TimerWindow()->Perform(WM_TIMER, TSetupSupporter::TimerNumber, 0); }

    // Sends a key to the widget with the keyboard focus, as typing would.
    void Type(int key) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(target, &release);
    }

    TApplication app;
    TForm* MainForm = nullptr;
    TMainMenu* Menu = nullptr;
    TMenuItem* File = nullptr;
    TSetupSupporter* Sup = nullptr;
    std::vector<TMessageBoxRequest> Boxes;
};

}  // namespace kx
