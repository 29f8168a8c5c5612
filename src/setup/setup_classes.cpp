#include "setup/setup_classes.h"

#include "setup/board_highlight.h"
#include "setup/board_image.h"
#include "setup/radio_panel.h"
#include "setup/setup_supporter.h"
#include "setup/three_jumper.h"

namespace kx {

void RegisterSetupClasses(TClassRegistry& registry) {
    RegisterBoardImageClass(registry);
    RegisterBoardHighlightClass(registry);
    RegisterRadioPanelClass(registry);
    RegisterThreeJumperClass(registry);
    RegisterSetupSupporterClass(registry);
}

}  // namespace kx
