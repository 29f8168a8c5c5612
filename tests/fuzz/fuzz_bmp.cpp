// Feeds arbitrary bytes to the BMP reader, which must refuse what it cannot read with
// EInvalidGraphic and never read outside the bytes it was given.

#include <cstddef>
#include <cstdint>

#include "platform/graphics.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const QImage image = kx::DecodeBmp(data, size);
        if (image.format() != QImage::Format_RGB32 || image.width() <= 0 || image.height() <= 0) {
            __builtin_trap();
        }
    } catch (const kx::EInvalidGraphic&) {
    }
    return 0;
}
