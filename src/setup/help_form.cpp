#include "setup/help_form.h"

#include "platform/application.h"
#include "setup/board_image.h"

namespace kx {

THelpForm::THelpForm(TComponent* AOwner) : TForm(AOwner) {}

void THelpForm::StartButtonClick(TObject*) {
    Hide();
    TForm* mainForm = Application != nullptr ? Application->MainForm() : nullptr;
    if (mainForm == nullptr) {
        return;
    }
    for (int i = 0; i < mainForm->ControlCount(); ++i) {
        TControl* c = mainForm->Controls(i);
        if (Is<TBoardImage>(c)) {
            c->Perform(WM_STARTTOUR, 0, 0);
            return;
        }
    }
}

}  // namespace kx
