#pragma once

#include "platform/form.h"

namespace kx {

class TMemo;
class TButton;

// The technical support window. Built in code by the setup supporter.
class TTechForm : public TForm {
public:
    KX_CLASS(TTechForm)

    explicit TTechForm(TComponent* AOwner);

    TMemo* TechMemo = nullptr;
    TButton* CloseButton = nullptr;
};

}  // namespace kx
