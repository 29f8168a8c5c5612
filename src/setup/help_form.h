#pragma once

#include "platform/form.h"

namespace kx {

class TRichEdit;
class TLabel;
class TButton;

// The help window: the help document and the Start button of the guided
// tour. Built in code by the setup supporter.
class THelpForm : public TForm {
public:
    KX_CLASS(THelpForm)

    explicit THelpForm(TComponent* AOwner);

    // Hides the window and starts the guided tour on the main window's board
    // image.
    void StartButtonClick(TObject* Sender);

    TRichEdit* HelpRich = nullptr;
    TLabel* HelpLabel = nullptr;
    TButton* StartButton = nullptr;
};

}  // namespace kx
