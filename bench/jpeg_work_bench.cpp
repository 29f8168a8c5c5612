// What a JPEG picture costs to decode per pixel and scan, to choose the work limit of the
// decoder: noise pictures (the dearest to decode) written progressive with scan scripts of a
// dozen to several hundred scans, and as baseline. Each run reports ns per pixel-scan; the
// decoder refuses pictures whose pixels x scans exceed kx::MaxJpegWork, so the largest of these
// figures times that limit is the longest decode it lets through.
//
//   kx_bench_jpeg_work [benchmark options]

#include <cstdio>
#include <vector>

#include <benchmark/benchmark.h>
#include <QImage>

#include "platform/graphics.h"
#include "platform/jpeg_limits.h"
#include "support/noise_jpeg.h"

namespace {

using kx::test::TJpegScans;
using kx::test::TNoiseJpeg;

// kind 0: baseline; 1: libjpeg's standard progression; 2: one scan per coefficient and
// component, each in three successive-approximation passes (several hundred scans). Chroma is
// halved, as libjpeg writes it by default.
TNoiseJpeg Encode(int side, int kind) {
    return kx::test::EncodeNoiseJpeg(side, static_cast<TJpegScans>(kind),
                                     {.Seed = 7, .Quality = 90, .FullResolutionColour = false});
}

void BM_DecodeNoise(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const TNoiseJpeg jpeg = Encode(side, static_cast<int>(state.range(1)));
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
    TNoiseJpeg jpeg = Encode(64, 2);
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
