#include "platform/color_contrast.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QRect>
#include <QWidget>

namespace kx {

namespace {

double Linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

TColor FromQColor(const QColor& c) {
    return RGB(c.red(), c.green(), c.blue());
}

QColor ToColor(TColor rgb) {
    return {GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)};
}

// Half way between two colours: dimmer than the text yet still distinct from the background.
TColor Between(TColor a, TColor b) {
    return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
               (GetBValue(a) + GetBValue(b)) / 2);
}

// Watches one widget for a new application palette; owned by the widget, so it goes with it.
class KxPaletteWatcher : public QObject {
public:
    KxPaletteWatcher(QWidget* widget, std::function<void()> reapply)
        : QObject(widget), m_reapply(std::move(reapply)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Qt tells a top-level window of a new application palette, and its children only that their
        // own palette changed as a result; either may carry new desktop colours.
        const bool changed =
            event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::PaletteChange;
        if (changed && !m_busy && m_reapply) {
            // Setting the widget's palette raises palette events of its own.
            m_busy = true;
            m_reapply();
            m_busy = false;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_reapply;
    bool m_busy = false;
};

}  // namespace

double RelativeLuminance(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return 0.2126 * Linear(GetRValue(rgb)) + 0.7152 * Linear(GetGValue(rgb)) +
           0.0722 * Linear(GetBValue(rgb));
}

double ContrastRatio(TColor a, TColor b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TColor ReadableTextColor(TColor text, TColor background) {
    const TColor given = ColorToRGB(text);
    const TColor under = ColorToRGB(background);
    if (ContrastRatio(given, under) >= kMinTextContrast) {
        return given;
    }
    const TColor desktop = ColorToRGB(clWindowText);
    if (ContrastRatio(desktop, under) >= kMinTextContrast) {
        return desktop;
    }
    return ContrastRatio(clBlack, under) >= ContrastRatio(clWhite, under) ? clBlack : clWhite;
}

TColor DominantColor(const QImage& image, const QRect& r) {
    const QRect area = r.intersected(image.rect());
    if (area.isEmpty()) {
        return clBlack;
    }
    // A grid of at most 64 x 64 samples is plenty to tell the background from the text on it.
    const int stepX = std::max(1, area.width() / 64);
    const int stepY = std::max(1, area.height() / 64);
    struct TBucket {
        int Count = 0;
        long R = 0;
        long G = 0;
        long B = 0;
    };
    std::unordered_map<unsigned, TBucket> buckets;
    for (int y = area.top(); y <= area.bottom(); y += stepY) {
        for (int x = area.left(); x <= area.right(); x += stepX) {
            const QRgb p = image.pixel(x, y);
            TBucket& b =
                buckets[(static_cast<unsigned>(qRed(p)) >> 3) << 10 |
                        (static_cast<unsigned>(qGreen(p)) >> 3) << 5 | static_cast<unsigned>(qBlue(p)) >> 3];
            ++b.Count;
            b.R += qRed(p);
            b.G += qGreen(p);
            b.B += qBlue(p);
        }
    }
    const auto top = std::max_element(buckets.begin(), buckets.end(), [](const auto& a, const auto& b) {
        return a.second.Count < b.second.Count;
    });
    const TBucket& b = top->second;
    return RGB(static_cast<int>(b.R / b.Count), static_cast<int>(b.G / b.Count),
               static_cast<int>(b.B / b.Count));
}

void SetWidgetColors(QWidget* widget, TColor background, QPalette::ColorRole backgroundRole,
                     QPalette::ColorRole textRole) {
    const TColor under = ColorToRGB(background);
    const QPalette desktop = QApplication::palette(widget);
    QPalette p = widget->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, backgroundRole, ToColor(under));
        const TColor text = ReadableTextColor(
            FromQColor(desktop.color(group == QPalette::Disabled ? QPalette::Active : group, textRole)),
            under);
        p.setColor(group, textRole, ToColor(group == QPalette::Disabled ? Between(text, under) : text));
    }
    widget->setPalette(p);
}

void FollowPaletteChanges(QWidget* widget, std::function<void()> reapply) {
    new KxPaletteWatcher(widget, std::move(reapply));
}

}  // namespace kx
