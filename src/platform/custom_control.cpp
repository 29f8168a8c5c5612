// The painting pipeline of self-painting controls: the region Qt asks for is
// composed into a buffer of its device pixels, the control first and its
// windowless children over it.

#include <algorithm>
#include <stdexcept>

#include <QImage>

#ifdef Q_OS_UNIX
#include <sys/mman.h>
#endif

#include "platform/qt_bridge.h"
#include "platform/win_control.h"

namespace kx {

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {
    auto* w = new KxPaintWidget(this);
    SetWidget(w);
}

TCustomControl::~TCustomControl() {
    Destroying();
}

void TCustomControl::Paint() {
    m_canvas.Brush().Color = m_color;
    m_canvas.FillRect(ClientRect());
}

namespace {

// A paint buffer of w x h device pixels. A large one is mapped from the system on its own and
// unmapped when the last image using it goes: the allocator would otherwise keep the memory of a
// window-sized buffer after the paint, as good as a second back buffer.
QImage NewPaintBuffer(int w, int h) {
    constexpr std::size_t kOwnMappingFrom = std::size_t{256} * 1024;
    const auto bytesPerLine = static_cast<std::size_t>(w) * 4;
    const std::size_t size = bytesPerLine * static_cast<std::size_t>(h);
#ifdef Q_OS_UNIX
    if (size >= kOwnMappingFrom) {
        void* pixels = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (pixels == MAP_FAILED) {
            return {};
        }
        struct TMapping {
            void* Pixels;
            std::size_t Size;
        };
        auto release = [](void* info) {
            auto* mapping = static_cast<TMapping*>(info);
            munmap(mapping->Pixels, mapping->Size);
            delete mapping;
        };
        return QImage(static_cast<uchar*>(pixels), w, h, static_cast<qsizetype>(bytesPerLine),
                      QImage::Format_RGB32, release, new TMapping{pixels, size});
    }
#endif
    return QImage(w, h, QImage::Format_RGB32);
}

}  // namespace

TRect TCustomControl::PaintArea() const {
    const QWidget* cw = ClientWidget();
    const int w = cw != nullptr ? cw->width() : ClientWidth();
    const int h = cw != nullptr ? cw->height() : ClientHeight();
    return {0, 0, std::max(w, 0), std::max(h, 0)};
}

QImage TCustomControl::PaintWindow(const TRect& r, double ratio, TRect& covered) {
    const TRect client = PaintArea();
    TRect area = r.Intersect(client);
    // Grow the region until it takes in every windowless child it touches; a ring that reads the
    // photograph beneath it at its first paint must find all of it, not just the damaged part.
    for (bool grown = !area.IsEmpty(); grown;) {
        grown = false;
        for (const TControl* c : m_controls) {
            if (dynamic_cast<const TGraphicControl*>(c) == nullptr || !c->Visible()) {
                continue;
            }
            const TRect bounds = c->BoundsRect().Intersect(client);
            if (bounds.Intersect(area).IsEmpty()) {
                continue;
            }
            const TRect united{std::min(area.Left, bounds.Left), std::min(area.Top, bounds.Top),
                               std::max(area.Right, bounds.Right), std::max(area.Bottom, bounds.Bottom)};
            if (united != area) {
                area = united;
                grown = true;
            }
        }
    }
    covered = area;
    if (area.IsEmpty()) {
        return {};
    }
    const auto left = DevicePixels(area.Left, ratio);
    const auto top = DevicePixels(area.Top, ratio);
    const auto width = DevicePixels(area.Right, ratio) - left;
    const auto height = DevicePixels(area.Bottom, ratio) - top;
    QImage buffer = NewPaintBuffer(static_cast<int>(width), static_cast<int>(height));
    if (buffer.isNull()) {
        throw std::runtime_error("Not enough memory to paint " + Name());
    }
    if (!m_opaque) {
        // What the control does not cover shows its colour; the buffer starts with no content of
        // its own. An opaque control covers all of it.
        buffer.fill(ToQColor(m_color));
    }
    m_painting = true;
    struct Restore {
        TCustomControl* self;
        ~Restore() {
            self->m_canvas.Detach();
            self->m_painting = false;
        }
    } restore{this};
    m_canvas.Attach(&buffer, {static_cast<int>(-left), static_cast<int>(-top)},
                    {0, 0, buffer.width(), buffer.height()}, ratio);
    Paint();
    PaintControls(area);
    m_paintedOnce = true;
    return buffer;
}

QImage TCustomControl::Render(const TRect& r, double ratio) {
    TRect covered;
    const QImage composed = PaintWindow(r, ratio, covered);
    const TRect wanted = r.Intersect(covered);
    if (composed.isNull() || wanted.IsEmpty()) {
        return {};
    }
    const auto left = DevicePixels(wanted.Left, ratio);
    const auto top = DevicePixels(wanted.Top, ratio);
    return composed.copy(static_cast<int>(left - DevicePixels(covered.Left, ratio)),
                         static_cast<int>(top - DevicePixels(covered.Top, ratio)),
                         static_cast<int>(DevicePixels(wanted.Right, ratio) - left),
                         static_cast<int>(DevicePixels(wanted.Bottom, ratio) - top));
}

QImage TCustomControl::Render() {
    return Render(PaintArea(), 1.0);
}

void TCustomControl::PaintControls(const TRect& clip) {
    // A child may reorder the list while it paints (bringing itself to the
    // front), so walk a copy.
    QImage* surface = m_canvas.Surface();
    const double ratio = m_canvas.Ratio();
    const TPoint origin = m_canvas.Origin();
    const std::vector<TControl*> children = m_controls;
    for (TControl* c : children) {
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (g == nullptr || !g->Visible() || IndexOfControl(g) < 0) {
            continue;
        }
        const TRect area = g->BoundsRect().Intersect(clip);
        if (area.IsEmpty()) {
            continue;
        }
        // The child's canvas starts at its own device corner; its clip is the device pixels of the
        // part of it being painted.
        const auto device = [&](int v, int shift) {
            return static_cast<int>(DevicePixels(v, ratio)) + shift;
        };
        g->m_canvas.Attach(surface, {device(g->Left(), origin.X), device(g->Top(), origin.Y)},
                           {device(area.Left, origin.X), device(area.Top, origin.Y),
                            device(area.Right, origin.X), device(area.Bottom, origin.Y)},
                           ratio);
        try {
            g->Paint();
        } catch (...) {
            g->m_canvas.Detach();
            throw;
        }
        g->m_canvas.Detach();
    }
}

}  // namespace kx
