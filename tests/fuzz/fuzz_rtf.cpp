// Feeds arbitrary bytes to the RTF reader, both to the paragraph reader and
// to the loading into a text document, which is then laid out the way the
// help window's view lays it out.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QTextDocument>

#include "platform/rtf_reader.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Fonts and text layout need a GUI application; the offscreen platform
    // needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string rtf(reinterpret_cast<const char*>(data), size);
    const std::vector<kx::TRtfParagraph> paragraphs = kx::ParseRtf(rtf);
    if (paragraphs.empty()) {
        __builtin_trap();
    }
    QTextDocument doc;
    kx::LoadRtf(rtf, doc);
    if (doc.blockCount() != static_cast<int>(paragraphs.size())) {
        __builtin_trap();
    }
    doc.setTextWidth(305);
    doc.documentLayout()->documentSize();
    return 0;
}
