#include "setup/tech_form.h"

namespace kx {

TTechForm::TTechForm(TComponent* AOwner) : TForm(AOwner) {}

}  // namespace kx
