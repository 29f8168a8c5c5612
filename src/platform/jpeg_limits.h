#pragma once

// What the JPEG reader (DecodeJpeg) agrees to decode. A JPEG file can demand far more work and
// memory than its size suggests: a few hundred kilobytes may declare a picture of many megapixels
// in hundreds of scans. The reader works these figures out from the headers and refuses such a
// file with EInvalidGraphic before it decodes anything.

#include <cstddef>
#include <cstdint>

namespace kx {

// Pixels times scans: decoding a scan costs about the same for every pixel it covers, and a
// progressive file is decoded scan by scan. bench/jpeg_work_bench.cpp measures the cost of one
// pixel-scan; the limit keeps the dearest picture it lets through to about a second.
inline constexpr std::uint64_t MaxJpegWork = 2'000'000'000;

// The memory a picture needs: four bytes per pixel for the decoded image, and for a progressive
// file libjpeg's buffer of every coefficient (two bytes each, 64 per 8 x 8 block) of every
// component, kept until the last scan has been read.
inline constexpr std::uint64_t MaxJpegMemory = 384ull * 1024 * 1024;

}  // namespace kx
