// How long the pictures of the board description take to decode: the progressive board
// photograph through our libjpeg decoder, beside Qt's own JPEG reader as a yardstick, and the
// power-jack bitmap.
//
//   kx_bench_decode [benchmark options]
//   kx_bench_decode --decode FILE N    decodes FILE N times and prints nothing (decode_vs_djpeg.sh)

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <QByteArray>
#include <QImage>

#include "platform/graphics.h"

namespace {

std::vector<unsigned char> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "cannot read " << path << "\n";
        std::exit(1);
    }
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const std::vector<unsigned char>& Board() {
    static const std::vector<unsigned char> bytes = ReadFile(KX_ASSETS_DIR "/board.jpg");
    return bytes;
}

void BM_DecodeJpeg_Board(benchmark::State& state) {
    const std::vector<unsigned char>& jpeg = Board();
    for (auto _ : state) {
        QImage image = kx::DecodeJpeg(jpeg.data(), jpeg.size());
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * jpeg.size()));
    state.counters["pixels/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 600 * 536, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeJpeg_Board)->Unit(benchmark::kMillisecond);

void BM_QtReader_Board(benchmark::State& state) {
    const std::vector<unsigned char>& jpeg = Board();
    const QByteArray data(reinterpret_cast<const char*>(jpeg.data()), static_cast<qsizetype>(jpeg.size()));
    for (auto _ : state) {
        QImage image = QImage::fromData(data, "JPEG");
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_QtReader_Board)->Unit(benchmark::kMillisecond);

void BM_DecodeBmp_PowerJack(benchmark::State& state) {
    static const std::vector<unsigned char> bmp = ReadFile(KX_ASSETS_DIR "/power-jack.bmp");
    for (auto _ : state) {
        QImage image = kx::DecodeBmp(bmp.data(), bmp.size());
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_DecodeBmp_PowerJack)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--decode") {
        const std::vector<unsigned char> bytes = ReadFile(argv[2]);
        const long times = std::strtol(argv[3], nullptr, 10);
        for (long i = 0; i < times; ++i) {
            QImage image = kx::DecodeJpeg(bytes.data(), bytes.size());
            benchmark::DoNotOptimize(image.constBits());
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
