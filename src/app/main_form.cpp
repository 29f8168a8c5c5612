#include "app/main_form.h"

#include <cstdlib>
#include <functional>
#include <iostream>

#include <QElapsedTimer>

#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/menus.h"
#include "platform/radio_button.h"
#include "setup/board_highlight.h"
#include "setup/board_image.h"
#include "setup/help_form.h"
#include "setup/radio_panel.h"
#include "setup/setup_supporter.h"
#include "setup/tech_form.h"
#include "setup/three_jumper.h"

namespace kx {

namespace {

// One field of the main window and the component of the description it
// stands for.
struct FieldBinding {
    const char* Name;
    std::function<bool(TComponent*)> Bind;  // false: wrong class
    std::function<TComponent*()> Get;
    std::function<void()> Clear;
};

template <typename T>
FieldBinding Field(const char* name, T*& field) {
    return {name,
            [&field](TComponent* c) {
                field = dynamic_cast<T*>(c);
                return c == nullptr || field != nullptr;
            },
            [&field]() -> TComponent* { return field; }, [&field] { field = nullptr; }};
}

std::vector<FieldBinding> Fields(TMainForm& f) {
    return {Field("SetSup", f.SetSup),
            Field("MainMenu1", f.MainMenu1),
            Field("File1", f.File1),
            Field("Exit2", f.Exit2),
            Field("Help1", f.Help1),
            Field("Howtousethisprogram1", f.Howtousethisprogram1),
            Field("TechnicalSupport1", f.TechnicalSupport1),
            Field("BoardImage1", f.BoardImage1),
            Field("PowerPanel", f.PowerPanel),
            Field("USBPanel", f.USBPanel),
            Field("LEDPanel", f.LEDPanel),
            Field("InputPanel", f.InputPanel),
            Field("FilterPanel", f.FilterPanel),
            Field("PowerHighlightSel", f.PowerHighlightSel),
            Field("USBHighlight", f.USBHighlight),
            Field("PowerHighlightJack", f.PowerHighlightJack),
            Field("LedHighlight", f.LedHighlight),
            Field("InputHighlight0", f.InputHighlight0),
            Field("FilterHighlight", f.FilterHighlight),
            Field("InputHighlight1", f.InputHighlight1),
            Field("InputHighlight", f.InputHighlight),
            Field("Image1", f.Image1),
            Field("Label1", f.Label1),
            Field("Label2", f.Label2),
            Field("BusPowerJumper", f.BusPowerJumper),
            Field("ExtPowerRadio", f.ExtPowerRadio),
            Field("BusPowerRadio", f.BusPowerRadio)};
}

}  // namespace

TMainForm::TMainForm(TComponent* AOwner) : TForm(AOwner) {
    Load(EmbeddedDescription());
}

TMainForm::TMainForm(TComponent* AOwner, const std::string& description) : TForm(AOwner) {
    Load(description);
}

void TMainForm::Load(const std::string& description) {
    ReadDescription(*this, description, SetupClassRegistry(), Handlers(), EmbeddedAsset);
    BindFields();
}

void TMainForm::BindFields() {
    for (const FieldBinding& b : Fields(*this)) {
        TComponent* c = FindComponent(b.Name);
        if (!b.Bind(c)) {
            throw EDescriptionError(std::string("Board description, ") + b.Name + ": is a " + c->ClassName() +
                                    ", which the main window cannot use there");
        }
    }
}

void TMainForm::Notification(TComponent* comp, TOperation op) {
    TForm::Notification(comp, op);
    if (op != TOperation::opRemove) {
        return;
    }
    for (const FieldBinding& b : Fields(*this)) {
        if (b.Get() == comp) {
            b.Clear();
        }
    }
}

THandlerTable TMainForm::Handlers() {
    using std::placeholders::_1;
    return {
        {"FormCreate", [this](TObject* s) { FormCreate(s); }},
        {"Exit2Click", [this](TObject* s) { Exit2Click(s); }},
        {"Howtousethisprogram1Click", [this](TObject* s) { Howtousethisprogram1Click(s); }},
        {"TechnicalSupport1Click", [this](TObject* s) { TechnicalSupport1Click(s); }},
        {"BusPowerJumperClick", [this](TObject* s) { BusPowerJumperClick(s); }},
        {"BusPowerRadioClick", [this](TObject* s) { BusPowerRadioClick(s); }},
    };
}

void TMainForm::FormCreate(TObject*) {
    if (SetSup == nullptr || Application == nullptr) {
        return;
    }
    TSetupSupporter* sup = SetSup;
    Application->OnIdle = [sup](TObject* sender, bool& done) { sup->IdleStart(sender, done); };
}

void TMainForm::Exit2Click(TObject*) {
    Close();
}

void TMainForm::Howtousethisprogram1Click(TObject*) {
    // Before the supporter's build there is no window to show.
    if (SetSup != nullptr && SetSup->HelpForm() != nullptr) {
        SetSup->HelpForm()->SetVisible(true);
    }
}

void TMainForm::TechnicalSupport1Click(TObject*) {
    if (SetSup != nullptr && SetSup->TechForm() != nullptr) {
        SetSup->TechForm()->SetVisible(true);
    }
}

void TMainForm::BusPowerJumperClick(TObject*) {
    if (BusPowerJumper == nullptr) {
        return;
    }
    if (BusPowerJumper->JumperState() == jsRight) {
        if (BusPowerRadio != nullptr)
            BusPowerRadio->SetChecked(true);
    } else {
        if (ExtPowerRadio != nullptr)
            ExtPowerRadio->SetChecked(true);
    }
}

void TMainForm::BusPowerRadioClick(TObject*) {
    if (BusPowerJumper == nullptr || BusPowerRadio == nullptr) {
        return;
    }
    BusPowerJumper->SetJumperState(BusPowerRadio->Checked() ? jsRight : jsLeft);
}

namespace {

// Started as the program's statics are set up, close to the process start.
QElapsedTimer& ProcessClock() {
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock;
}
[[maybe_unused]] const bool g_clockStarted = (ProcessClock(), true);

}  // namespace

int RunSetupProgram() {
    TApplication app;
    app.Initialize();
    app.SetTitle("KX-7040 Setup");
    TMainForm* mainForm = nullptr;
    try {
        app.CreateForm(mainForm);
    } catch (const std::exception& e) {
        // Without its description the program has nothing to show.
        ShowMessageBox(e.what(), app.Title(), MB_OK | MB_ICONERROR);
        return 1;
    }
    if (std::getenv("KX_BENCH_EXIT_AT_IDLE") != nullptr) {
        // Start-up measurement: report the first idle moment after the
        // supporter's build and stop.
        TIdleEvent original = app.OnIdle;
        app.OnIdle = [&app, original](TObject* sender, bool& done) {
            if (original) {
                original(sender, done);
            }
            std::cerr << "KX_FIRST_IDLE " << ProcessClock().elapsed() << std::endl;
            app.Terminate();
        };
    }
    return app.Run();
}

}  // namespace kx
