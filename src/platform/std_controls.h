#pragma once

// The standard controls, for code that uses several of them.

#include <string>

#include "platform/button.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/memo.h"
#include "platform/radio_button.h"
#include "platform/status_bar.h"

namespace kx {

// The captions of buttons, labels and menus mark their accelerator with '&'.
// The text to draw without the marks ("&&" stays one '&').
std::string StripAccelerators(const std::string& caption);

}  // namespace kx
