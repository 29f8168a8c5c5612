#pragma once

#include "platform/form.h"

namespace kx {

class TMemo;
class TButton;

// The window that lists the installed cards. Built in code by the setup
// supporter, only when a card-describing callback is attached.
class TPCIForm : public TForm {
public:
    KX_CLASS(TPCIForm)

    explicit TPCIForm(TComponent* AOwner);

    TMemo* PCIMemo = nullptr;
    TButton* CloseButton = nullptr;
};

}  // namespace kx
