#pragma once

#include <string>
#include <vector>

#include "platform/description.h"
#include "platform/form.h"

namespace kx {

class TSetupSupporter;
class TMainMenu;
class TMenuItem;
class TBoardImage;
class TBoardHighlight;
class TRadioPanel;
class TImage;
class TLabel;
class TThreeJumper;
class TRadioButton;

// The main window of the KX-7040 setup guide. Everything in it comes from the
// board description compiled into the program; the window itself only hooks
// the supporter's first-idle build, carries the fixed menu commands and keeps
// the power jumper and its radio buttons in step.
class TMainForm : public TForm {
public:
    KX_CLASS(TMainForm)

    // Builds the window from the board description carried in the program.
    explicit TMainForm(TComponent* AOwner);
    // Builds the window from the given description (tests use their own).
    TMainForm(TComponent* AOwner, const std::string& description);

    // Published handlers, bound by name from the description.
    void FormCreate(TObject* Sender);
    void Exit2Click(TObject* Sender);
    void Howtousethisprogram1Click(TObject* Sender);
    void TechnicalSupport1Click(TObject* Sender);
    void BusPowerJumperClick(TObject* Sender);
    void BusPowerRadioClick(TObject* Sender);

    // The components of the description, one field each (none where the
    // description has no component of that name).
    TSetupSupporter* SetSup = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* File1 = nullptr;
    TMenuItem* Exit2 = nullptr;
    TMenuItem* Help1 = nullptr;
    TMenuItem* Howtousethisprogram1 = nullptr;
    TMenuItem* TechnicalSupport1 = nullptr;
    TBoardImage* BoardImage1 = nullptr;
    TRadioPanel* PowerPanel = nullptr;
    TRadioPanel* USBPanel = nullptr;
    TRadioPanel* LEDPanel = nullptr;
    TRadioPanel* InputPanel = nullptr;
    TRadioPanel* FilterPanel = nullptr;
    TBoardHighlight* PowerHighlightSel = nullptr;
    TBoardHighlight* USBHighlight = nullptr;
    TBoardHighlight* PowerHighlightJack = nullptr;
    TBoardHighlight* LedHighlight = nullptr;
    TBoardHighlight* InputHighlight0 = nullptr;
    TBoardHighlight* FilterHighlight = nullptr;
    TBoardHighlight* InputHighlight1 = nullptr;
    TBoardHighlight* InputHighlight = nullptr;
    TImage* Image1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TThreeJumper* BusPowerJumper = nullptr;
    TRadioButton* ExtPowerRadio = nullptr;
    TRadioButton* BusPowerRadio = nullptr;

    // The published handlers by name, for the description reader.
    THandlerTable Handlers();

protected:
    void Notification(TComponent* comp, TOperation op) override;

private:
    void Load(const std::string& description);
    void BindFields();
};

// The class registry of everything a board description may contain.
const TClassRegistry& SetupClassRegistry();
// The board description and its pictures, as compiled into the program.
std::string EmbeddedDescription();
std::vector<unsigned char> EmbeddedAsset(const std::string& name);

// Runs the program: application, main window, event loop. Returns the exit
// code.
int RunSetupProgram();

}  // namespace kx
