// What trying the driver library out in a child process adds to the program's start, in a
// process that runs a QApplication as the program does: the probe of a sound library and of a
// missing one, beside loading the sound library straight into the process, which is what the
// program did before and still does after a sound probe. The cards list: filling a memo line by
// line, as the cards window does, against setting its whole text again for every line.
//
//   kx_bench_driver_probe [benchmark options]

#include <dlfcn.h>

#include <string>

#include <benchmark/benchmark.h>
#include <QApplication>

#include "platform/application.h"
#include "platform/form.h"
#include "platform/library_probe.h"
#include "platform/memo.h"

namespace {

constexpr auto kDeadline = std::chrono::milliseconds(2000);

void BM_ProbeSoundLibrary(benchmark::State& state) {
    for (auto _ : state) {
        const kx::TLibraryProbeResult r = kx::ProbeLibrary(KX_FAKE_DRIVER, "GetNumCards", kDeadline);
        if (r.Outcome != kx::TProbeOutcome::Sound || r.Result != 3) {
            state.SkipWithError("the fake driver did not probe as sound");
            return;
        }
    }
}
BENCHMARK(BM_ProbeSoundLibrary)->Unit(benchmark::kMillisecond);

void BM_ProbeMissingLibrary(benchmark::State& state) {
    for (auto _ : state) {
        const kx::TLibraryProbeResult r = kx::ProbeLibrary("NOSUCHDRIVER.dll", "GetNumCards", kDeadline);
        if (r.Outcome != kx::TProbeOutcome::Missing) {
            state.SkipWithError("a missing library did not probe as missing");
            return;
        }
    }
}
BENCHMARK(BM_ProbeMissingLibrary)->Unit(benchmark::kMillisecond);

// Loading into this process and unloading again, so that every round pays the whole load.
void BM_LoadInProcess(benchmark::State& state) {
    for (auto _ : state) {
        void* module = dlopen(KX_FAKE_DRIVER, RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            state.SkipWithError("the fake driver did not load");
            return;
        }
        benchmark::DoNotOptimize(dlsym(module, "GetNumCards"));
        dlclose(module);
    }
}
BENCHMARK(BM_LoadInProcess)->Unit(benchmark::kMillisecond);

// A memo on a shown window, filled with n lines: AddLine as the cards list does now (arg 1), or
// the whole text set again after each line as before (arg 0).
void BM_FillCardList(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    const bool append = state.range(1) != 0;
    kx::TForm form(nullptr);
    form.Show();
    auto* memo = new kx::TMemo(&form);
    memo->SetParent(&form);
    for (auto _ : state) {
        memo->Clear();
        kx::TStrings so_far;
        for (int i = 0; i < lines; ++i) {
            const std::string line = "KX-7040 card " + std::to_string(i) + " at base address 0xE000";
            if (append) {
                memo->AddLine(line);
            } else {
                so_far.push_back(line);
                memo->SetLines(so_far);
            }
        }
    }
}
BENCHMARK(BM_FillCardList)
    ->ArgNames({"lines", "append"})
    ->Args({64, 1})
    ->Args({64, 0})
    ->Args({1000, 1})
    ->Args({1000, 0})
    ->Args({5000, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kx::TApplication application;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
