// JPEG decoding with libjpeg, called directly so that progressive files, truncated files and corrupt
// files all get the same careful treatment: libjpeg reports errors by calling error_exit, whose
// default ends the process, so ours jumps back to the decoder with the message instead.

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <string>

#include <jpeglib.h>
// After jpeglib.h, which it needs; it names the warnings we sort below.
#include <jerror.h>

#include "platform/graphics.h"
#include "platform/jpeg_limits.h"

#ifndef JCS_EXTENSIONS
#error "libjpeg-turbo's extended colour spaces are needed"
#endif

namespace kx {

namespace {

// Large enough for any picture this program shows, small enough that a forged header cannot make us
// allocate gigabytes before the data runs out.
constexpr unsigned kMaxSide = 16384;
constexpr unsigned long long kMaxPixels = 64ull * 1024 * 1024;
// libjpeg's own working memory (the coefficient buffers of a progressive file live here).
constexpr long kMaxWorkingMemory = 512L * 1024 * 1024;
// libjpeg-turbo writes pixels in QImage::Format_RGB32's memory order, the unused byte set to 0xFF
// as Qt requires.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE kRgb32ColorSpace = JCS_EXT_BGRX;
#else
constexpr J_COLOR_SPACE kRgb32ColorSpace = JCS_EXT_XRGB;
#endif
// A legitimate progressive file has a dozen scans; thousands of tiny ones only burn time.
constexpr int kMaxScans = 1000;

// The number of scans in the file, counted from its markers without decoding anything: every
// start-of-scan segment, the entropy-coded data after it skipped up to the next real marker (a
// 0xFF there is either a stuffed zero or a restart marker). A file whose markers cannot be
// followed to the end is counted as far as they go; the decoder then reports the damage itself.
std::uint64_t CountScans(const unsigned char* data, std::size_t size) {
    std::uint64_t scans = 0;
    std::size_t i = 2;
    while (i + 1 < size) {
        if (data[i] != 0xFF) {
            break;
        }
        const unsigned char marker = data[i + 1];
        if (marker == 0xFF) {
            ++i;  // fill byte
            continue;
        }
        if (marker == 0xD9) {
            break;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            i += 2;  // markers without a length
            continue;
        }
        if (i + 3 >= size) {
            break;
        }
        const std::size_t length = static_cast<std::size_t>(data[i + 2]) << 8 | data[i + 3];
        std::size_t next = i + 2 + length;
        if (marker == 0xDA) {
            ++scans;
            while (next + 1 < size && !(data[next] == 0xFF && data[next + 1] != 0 &&
                                        (data[next + 1] < 0xD0 || data[next + 1] > 0xD7))) {
                ++next;
            }
        }
        i = next;
    }
    return scans;
}

struct ErrorManager {
    jpeg_error_mgr pub;  // first, so libjpeg's pointer to it is also a pointer to us
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void Fail(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

extern "C" void OnErrorExit(j_common_ptr cinfo) {
    Fail(cinfo);
}

// libjpeg goes on after a warning and fills what it could not read with grey. A picture with a
// hole is not what the file promised, so the warnings that mean lost or damaged data stop the decode.
// The remaining warnings concern metadata we do not use.
extern "C" void OnMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) {
        return;
    }
    switch (cinfo->err->msg_code) {
        case JWRN_ADOBE_XFORM:
        case JWRN_JFIF_MAJOR:
        case JWRN_BOGUS_ICC:
            return;
        default:
            Fail(cinfo);
    }
}

extern "C" void OnProgress(j_common_ptr cinfo) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (decompress->input_scan_number > kMaxScans) {
        auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
        std::snprintf(errors->message, sizeof errors->message, "More than %d scans in one JPEG file",
                      kMaxScans);
        std::longjmp(errors->jump, 1);
    }
}

// Everything between setjmp and the last libjpeg call lives here, with nothing but plain data in
// this frame, so the jump back skips no destructor. The image belongs to the caller.
bool Decode(jpeg_decompress_struct* cinfo, ErrorManager* errors, jpeg_progress_mgr* progress,
            const unsigned char* data, std::size_t size, std::uint64_t scans, QImage* image,
            TJpegInfo* info) {
    if (setjmp(errors->jump) != 0) {
        return false;
    }
    // Creating the decompressor clears every field but the error manager, so the progress monitor
    // and the memory limit are set after it.
    jpeg_create_decompress(cinfo);
    cinfo->progress = progress;
    cinfo->mem->max_memory_to_use = kMaxWorkingMemory;
    jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) {
        std::snprintf(errors->message, sizeof errors->message, "The JPEG file holds no picture");
        return false;
    }
    const unsigned width = cinfo->image_width;
    const unsigned height = cinfo->image_height;
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide ||
        static_cast<unsigned long long>(width) * height > kMaxPixels) {
        std::snprintf(errors->message, sizeof errors->message,
                      "The JPEG picture's size %u x %u is beyond what this program reads", width, height);
        return false;
    }
    if (cinfo->num_components != 1 && cinfo->num_components != 3) {
        std::snprintf(errors->message, sizeof errors->message,
                      "JPEG pictures with %d colour components are not supported", cinfo->num_components);
        return false;
    }
    // Refused before any of the work is done; jpeg_start_decompress below already reads every
    // scan of a progressive file.
    const std::uint64_t pixels = static_cast<std::uint64_t>(width) * height;
    if (pixels * std::max<std::uint64_t>(scans, 1) > MaxJpegWork) {
        std::snprintf(errors->message, sizeof errors->message,
                      "The JPEG picture of %u x %u pixels in %llu scans is more work than this program "
                      "takes on",
                      width, height, static_cast<unsigned long long>(scans));
        return false;
    }
    std::uint64_t memory = pixels * 4;
    if (cinfo->progressive_mode) {
        for (int c = 0; c < cinfo->num_components; ++c) {
            const jpeg_component_info& component = cinfo->comp_info[c];
            memory += static_cast<std::uint64_t>(component.width_in_blocks) * component.height_in_blocks *
                      DCTSIZE2 * sizeof(JCOEF);
        }
    }
    if (memory > MaxJpegMemory) {
        std::snprintf(errors->message, sizeof errors->message,
                      "The JPEG picture of %u x %u pixels needs more memory than this program gives it",
                      width, height);
        return false;
    }
    if (info != nullptr) {
        info->Width = static_cast<int>(width);
        info->Height = static_cast<int>(height);
        info->Components = cinfo->num_components;
        info->HSampling = cinfo->comp_info[0].h_samp_factor;
        info->VSampling = cinfo->comp_info[0].v_samp_factor;
        info->Progressive = cinfo->progressive_mode != 0;
    }
    // Colour pictures are decoded straight into the image's rows in its own byte order; grey ones
    // go through a row of their own and are spread to the three channels.
    const bool grey = cinfo->num_components == 1;
    cinfo->out_color_space = grey ? JCS_GRAYSCALE : kRgb32ColorSpace;
    jpeg_start_decompress(cinfo);
    *image = QImage(static_cast<int>(cinfo->output_width), static_cast<int>(cinfo->output_height),
                    QImage::Format_RGB32);
    if (image->isNull()) {
        std::snprintf(errors->message, sizeof errors->message, "Not enough memory for a %u x %u picture",
                      cinfo->output_width, cinfo->output_height);
        return false;
    }
    JSAMPARRAY greyRow = grey ? (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo),
                                                            JPOOL_IMAGE, cinfo->output_width, 1)
                              : nullptr;
    while (cinfo->output_scanline < cinfo->output_height) {
        auto* out = reinterpret_cast<QRgb*>(image->scanLine(static_cast<int>(cinfo->output_scanline)));
        JSAMPROW target = grey ? greyRow[0] : reinterpret_cast<JSAMPROW>(out);
        if (jpeg_read_scanlines(cinfo, &target, 1) != 1) {
            std::snprintf(errors->message, sizeof errors->message, "The JPEG data ended early");
            return false;
        }
        if (grey) {
            for (JDIMENSION x = 0; x < cinfo->output_width; ++x) {
                out[x] = qRgb(greyRow[0][x], greyRow[0][x], greyRow[0][x]);
            }
        }
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

}  // namespace

QImage DecodeJpeg(const unsigned char* data, std::size_t size) {
    return DecodeJpeg(data, size, nullptr);
}

QImage DecodeJpeg(const unsigned char* data, std::size_t size, TJpegInfo* info) {
    if (data == nullptr || size < 4) {
        throw EInvalidGraphic("The JPEG file is empty or too short");
    }
    if (data[0] != 0xFF || data[1] != 0xD8) {
        throw EInvalidGraphic("Not a JPEG file: it does not begin with a start-of-image marker");
    }
    jpeg_decompress_struct cinfo{};
    ErrorManager errors{};
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = OnErrorExit;
    errors.pub.emit_message = OnMessage;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = OnProgress;

    QImage image;
    TJpegInfo header;
    const bool ok = Decode(&cinfo, &errors, &progress, data, size, CountScans(data, size), &image, &header);
    jpeg_destroy_decompress(&cinfo);
    if (!ok) {
        throw EInvalidGraphic(std::string("Cannot read the JPEG picture: ") + errors.message);
    }
    if (info != nullptr) {
        *info = header;
    }
    return image;
}

}  // namespace kx
