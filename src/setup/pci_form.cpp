#include "setup/pci_form.h"

namespace kx {

TPCIForm::TPCIForm(TComponent* AOwner) : TForm(AOwner) {}

}  // namespace kx
