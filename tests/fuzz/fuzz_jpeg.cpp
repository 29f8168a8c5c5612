// Feeds arbitrary bytes to the JPEG reader. Anything it cannot read must come back as
// EInvalidGraphic; a crash, a hang, a leak or an exit is a finding. What it does read must be a
// whole 32-bit picture of the size the header promised.

#include <cstddef>
#include <cstdint>

#include "platform/graphics.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        kx::TJpegInfo info;
        const QImage image = kx::DecodeJpeg(data, size, &info);
        if (image.format() != QImage::Format_RGB32 || image.width() != info.Width ||
            image.height() != info.Height || image.width() <= 0 || image.height() <= 0) {
            __builtin_trap();
        }
    } catch (const kx::EInvalidGraphic&) {
    }
    return 0;
}
