// What a JPEG picture costs to decode per pixel and scan, to choose the work limit of the
// decoder: noise pictures (the dearest to decode) written progressive with scan scripts of a
// dozen to several hundred scans, and as baseline. Each run reports ns per pixel-scan; the
// decoder refuses pictures whose pixels x scans exceed kx::MaxJpegWork, so the largest of these
// figures times that limit is the longest decode it lets through.
//
//   kx_bench_jpeg_work [benchmark options]

#include <cstdio>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <QImage>

#include "platform/graphics.h"
#include "platform/jpeg_limits.h"

namespace {

struct TEncoded {
    std::vector<unsigned char> Bytes;
    int Scans = 0;
};

// One scan of a script.
jpeg_scan_info Scan(int component, int ss, int se, int ah, int al, int components) {
    jpeg_scan_info s{};
    if (component < 0) {
        s.comps_in_scan = components;
        for (int c = 0; c < components; ++c) {
            s.component_index[c] = c;
        }
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

// kind 0: baseline; 1: libjpeg's standard progression; 2: one scan per coefficient and
// component, each in three successive-approximation passes (several hundred scans).
TEncoded Encode(int side, int kind) {
    std::mt19937 random(7);
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
    jpeg_set_quality(&cinfo, 90, TRUE);
    std::vector<jpeg_scan_info> script;
    if (kind == 1) {
        jpeg_simple_progression(&cinfo);
    } else if (kind == 2) {
        script.push_back(Scan(-1, 0, 0, 0, 1, 3));
        script.push_back(Scan(-1, 0, 0, 1, 0, 3));
        for (int c = 0; c < 3; ++c) {
            for (int k = 1; k < 64; ++k) {
                script.push_back(Scan(c, k, k, 0, 2, 3));
                script.push_back(Scan(c, k, k, 2, 1, 3));
                script.push_back(Scan(c, k, k, 1, 0, 3));
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
    const int scans = kind == 0 ? 1 : (kind == 1 ? cinfo.num_scans : static_cast<int>(script.size()));
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    TEncoded encoded{std::vector<unsigned char>(out, out + size), scans};
    std::free(out);
    return encoded;
}

void BM_DecodeNoise(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const TEncoded jpeg = Encode(side, static_cast<int>(state.range(1)));
    for (auto _ : state) {
        QImage image = kx::DecodeJpeg(jpeg.Bytes.data(), jpeg.Bytes.size());
        benchmark::DoNotOptimize(image.constBits());
    }
    const double work = static_cast<double>(side) * side * jpeg.Scans;
    state.counters["scans"] = jpeg.Scans;
    state.counters["ns_per_pixel_scan"] =
        benchmark::Counter(work * static_cast<double>(state.iterations()) * 1e-9,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["share_of_limit"] = work / static_cast<double>(kx::MaxJpegWork);
}
BENCHMARK(BM_DecodeNoise)
    ->ArgNames({"side", "kind"})
    ->Args({512, 0})
    ->Args({1024, 0})
    ->Args({512, 1})
    ->Args({1024, 1})
    ->Args({256, 2})
    ->Args({512, 2})
    ->Args({1024, 2})
    ->Args({1536, 2})
    ->Unit(benchmark::kMillisecond);

// A small file of 569 scans whose frame header claims 8192 x 8192 pixels, as a forged file
// does: refused from its headers, so the time is that of reading them and counting the scans.
void BM_RefuseForgedSize(benchmark::State& state) {
    TEncoded jpeg = Encode(64, 2);
    for (std::size_t i = 2; i + 8 < jpeg.Bytes.size(); ++i) {
        if (jpeg.Bytes[i] == 0xFF && jpeg.Bytes[i + 1] == 0xC2) {
            jpeg.Bytes[i + 5] = 0x20;  // height 8192
            jpeg.Bytes[i + 6] = 0x00;
            jpeg.Bytes[i + 7] = 0x20;  // width 8192
            jpeg.Bytes[i + 8] = 0x00;
            break;
        }
    }
    for (auto _ : state) {
        try {
            QImage image = kx::DecodeJpeg(jpeg.Bytes.data(), jpeg.Bytes.size());
            benchmark::DoNotOptimize(image.constBits());
            state.SkipWithError("the forged file was decoded");
            return;
        } catch (const kx::EInvalidGraphic&) {
        }
    }
    state.counters["bytes"] = static_cast<double>(jpeg.Bytes.size());
}
BENCHMARK(BM_RefuseForgedSize)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
