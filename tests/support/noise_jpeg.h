#pragma once

// JPEG files of random noise, the dearest pictures to decode, written with
// libjpeg for the tests and benchmarks of the JPEG reader's limits. Free of
// GoogleTest, so that the benchmarks can use it too.

#include <cstdlib>
#include <random>
#include <vector>

#include <jpeglib.h>

namespace kx::test {

// Baseline; progressive in libjpeg's standard ten scans; or progressive with a
// scan for every coefficient of every component in three successive-
// approximation passes (569 scans).
enum class TJpegScans { Baseline, Standard, Many };

struct TNoiseJpegOptions {
    unsigned Seed = 11;
    int Quality = 75;
    // Colour at full resolution, rather than libjpeg's halved chroma.
    bool FullResolutionColour = true;
};

struct TNoiseJpeg {
    std::vector<unsigned char> Bytes;
    int Scans = 0;
};

// One scan of a script: all three components for component < 0, else that one.
inline jpeg_scan_info NoiseJpegScan(int component, int ss, int se, int ah, int al) {
    jpeg_scan_info s{};
    if (component < 0) {
        s.comps_in_scan = 3;
        s.component_index[0] = 0;
        s.component_index[1] = 1;
        s.component_index[2] = 2;
    } else {
        s.comps_in_scan = 1;
        s.component_index[0] = component;
    }
    s.Ss = ss;
    s.Se = se;
    s.Ah = ah;
    s.Al = al;
    return s;
}

// A noise picture of side x side pixels.
inline TNoiseJpeg EncodeNoiseJpeg(int side, TJpegScans scans, const TNoiseJpegOptions& options = {}) {
    std::mt19937 random(options.Seed);
    std::vector<unsigned char> pixels(static_cast<std::size_t>(side) * side * 3);
    for (unsigned char& p : pixels) {
        p = static_cast<unsigned char>(random());
    }
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = static_cast<JDIMENSION>(side);
    cinfo.image_height = static_cast<JDIMENSION>(side);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, options.Quality, TRUE);
    if (options.FullResolutionColour) {
        for (int c = 0; c < 3; ++c) {
            cinfo.comp_info[c].h_samp_factor = 1;
            cinfo.comp_info[c].v_samp_factor = 1;
        }
    }
    std::vector<jpeg_scan_info> script;
    if (scans == TJpegScans::Standard) {
        jpeg_simple_progression(&cinfo);
    } else if (scans == TJpegScans::Many) {
        script.push_back(NoiseJpegScan(-1, 0, 0, 0, 1));
        script.push_back(NoiseJpegScan(-1, 0, 0, 1, 0));
        for (int c = 0; c < 3; ++c) {
            for (int k = 1; k < 64; ++k) {
                script.push_back(NoiseJpegScan(c, k, k, 0, 2));
                script.push_back(NoiseJpegScan(c, k, k, 2, 1));
                script.push_back(NoiseJpegScan(c, k, k, 1, 0));
            }
        }
        cinfo.scan_info = script.data();
        cinfo.num_scans = static_cast<int>(script.size());
    }
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = pixels.data() + static_cast<std::size_t>(cinfo.next_scanline) * side * 3;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    const int scanCount = scans == TJpegScans::Baseline ? 1 : cinfo.num_scans;
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    TNoiseJpeg encoded{std::vector<unsigned char>(out, out + size), scanCount};
    std::free(out);
    return encoded;
}

}  // namespace kx::test
