// How long the circles take to render their three looks, and how long a
// popup takes to appear once the pointer has entered its circle: the first
// time (the popup is built) and later times (it is only shown again).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>

#include <memory>
#include <vector>

#include "platform/application.h"
#include "platform/form.h"
#include "platform/graphics.h"
#include "setup/board_highlight.h"
#include "setup/board_image.h"
#include "setup/popup_form.h"
#include "setup/radio_panel.h"

namespace kx {
namespace {

struct CircleSpec {
    int left, top, width, height;
};

// The eight circles of the KX-7040 board, in the photograph's coordinates.
const CircleSpec kCircles[] = {{31, 288, 56, 39},   {0, 192, 105, 89},  {0, 384, 105, 81},
                               {0, 96, 105, 41},    {280, 0, 265, 41},  {309, 229, 269, 47},
                               {184, 312, 361, 73}, {184, 456, 361, 73}};

std::vector<unsigned char> ReadBoardPhoto() {
    QFile f(KX_ASSETS_DIR "/board.jpg");
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = f.readAll();
    return {bytes.begin(), bytes.end()};
}

// The three looks of all eight circles, rendered from the photograph as at
// the first paint.
void BM_RenderImagesAllCircles(benchmark::State& state) {
    TPicture photo;
    photo.LoadFromBytes(ReadBoardPhoto());
    TBitmap surface(600, 536);
    surface.Canvas().Draw(0, 0, photo.Graphic());
    std::vector<std::unique_ptr<TBitmap>> looks;
    for (auto _ : state) {
        for (const CircleSpec& c : kCircles) {
            for (float strength : {0.5f, 1.0f, 0.75f}) {
                TBitmap look(c.width, c.height);
                look.Canvas().CopyFrom(0, 0, c.width, c.height, surface.Canvas(), c.left, c.top);
                BlendRing(look, strength, clYellow, strength == 1.0f);
                benchmark::DoNotOptimize(look.Image().constBits());
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * 8);
}
BENCHMARK(BM_RenderImagesAllCircles)->Unit(benchmark::kMicrosecond);

// A main window with the board and the filter circle and panel.
struct Board {
    TApplication app;
    TForm* main = nullptr;
    TBoardImage* board = nullptr;
    TBoardHighlight* circle = nullptr;

    Board() {
        Screen->SetSizeForTesting(1280, 1024);
        main = new TForm(&app);
        app.SetMainForm(main);
        board = new TBoardImage(main);
        board->SetParent(main);
        board->SetAutoSize(false);
        board->SetBounds(200, 32, 600, 536);
        TPicture photo;
        photo.LoadFromBytes(ReadBoardPhoto());
        board->SetPicture(&photo);
        auto* panel = new TRadioPanel(main);
        panel->SetParent(main);
        panel->SetBounds(752, 152, 201, 9);
        panel->SetLines({"Install these jumpers to activate the filters on corresponding inputs."});
        circle = new TBoardHighlight(main);
        circle->SetParent(board);
        circle->SetBounds(309, 229, 269, 47);
        circle->SetTitle("Filter Jumpers");
        circle->SetRadioPanel(panel);
        main->SetBounds(0, 0, 1032, 746);
        main->Show();
        app.PumpUntilIdle();
    }

    // Enter the circle and run the loop until the popup is on screen.
    void EnterUntilShown() {
        circle->Perform(CM_MOUSEENTER, 0, 0);
        while (circle->Popup() == nullptr || !circle->Popup()->Showing()) {
            QCoreApplication::processEvents();
        }
    }
    void Leave() {
        circle->Popup()->Close();
        QCoreApplication::processEvents();
    }
};

void BM_PopupFirstShow(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto board = std::make_unique<Board>();
        state.ResumeTiming();
        board->EnterUntilShown();
        state.PauseTiming();
        board.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PopupFirstShow)->Unit(benchmark::kMicrosecond)->Iterations(30);

void BM_PopupLaterShow(benchmark::State& state) {
    Board board;
    board.EnterUntilShown();
    board.Leave();
    for (auto _ : state) {
        board.EnterUntilShown();
        state.PauseTiming();
        board.Leave();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PopupLaterShow)->Unit(benchmark::kMicrosecond)->Iterations(200);

}  // namespace
}  // namespace kx

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
