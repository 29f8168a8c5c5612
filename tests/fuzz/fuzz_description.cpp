// Feeds arbitrary bytes to the board description reader through the main
// window: every input either builds a window or is refused with a
// description error that names the place; nothing else may escape.

#include <cstddef>
#include <cstdint>
#include <string>

#include <QApplication>

#include "app/main_form.h"
#include "platform/application.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    static kx::TApplication application;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string json(reinterpret_cast<const char*>(data), size);
    try {
        kx::TMainForm form(nullptr, json);
    } catch (const kx::EDescriptionError&) {
        // Refused with a message: what a malformed description must get.
    } catch (...) {
        __builtin_trap();
    }
    return 0;
}
