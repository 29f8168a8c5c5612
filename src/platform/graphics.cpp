#include "platform/graphics.h"

#include <algorithm>

#include "platform/canvas.h"

namespace kx {

void TGraphic::SetTransparent(bool value) {
    if (value == m_transparent) {
        return;
    }
    m_transparent = value;
    Changed();
}

void TGraphic::Changed() {
    if (OnChange) {
        OnChange(this);
    }
}

TBitmap::TBitmap() : m_image(0, 0, QImage::Format_RGB32) {}

TBitmap::TBitmap(int width, int height) : m_image(0, 0, QImage::Format_RGB32) {
    SetSize(width, height);
}

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == m_width && height == m_height) {
        return;
    }
    m_width = width;
    m_height = height;
    ResizeImage(static_cast<int>(DevicePixels(width, m_ratio)),
                static_cast<int>(DevicePixels(height, m_ratio)));
}

void TBitmap::SetPixelRatio(double ratio) {
    if (ratio <= 0 || ratio == m_ratio) {
        return;
    }
    m_ratio = ratio;
    m_image = QImage(0, 0, QImage::Format_RGB32);
    ResizeImage(static_cast<int>(DevicePixels(m_width, m_ratio)),
                static_cast<int>(DevicePixels(m_height, m_ratio)));
}

void TBitmap::ResizeImage(int width, int height) {
    if (width == m_image.width() && height == m_image.height()) {
        return;
    }
    QImage resized(width, height, QImage::Format_RGB32);
    if (resized.isNull() && width > 0 && height > 0) {
        throw EInvalidGraphic("Not enough memory for a bitmap of " + std::to_string(width) + " x " +
                              std::to_string(height) + " pixels");
    }
    resized.fill(Qt::black);
    const int keepWidth = std::min(width, m_image.width());
    const int keepHeight = std::min(height, m_image.height());
    for (int y = 0; y < keepHeight; ++y) {
        std::copy_n(reinterpret_cast<const QRgb*>(m_image.constScanLine(y)), keepWidth,
                    reinterpret_cast<QRgb*>(resized.scanLine(y)));
    }
    m_image = std::move(resized);
    Changed();
}

TCanvas& TBitmap::Canvas() {
    // The image may have been resized or replaced since the canvas was made; the canvas always
    // covers all of it.
    if (!m_canvas) {
        m_canvas = std::make_unique<TCanvas>();
    }
    const TRect whole{0, 0, m_image.width(), m_image.height()};
    if (m_canvas->Surface() != &m_image || m_canvas->Ratio() != m_ratio ||
        m_canvas->ClipRect() != TRect{0, 0, m_width, m_height} || m_canvas->Origin() != TPoint{}) {
        m_canvas->Attach(&m_image, {0, 0}, whole, m_ratio);
    }
    return *m_canvas;
}

std::unique_ptr<TGraphic> TBitmap::Clone() const {
    auto copy = std::make_unique<TBitmap>();
    copy->m_image = m_image;
    copy->m_width = m_width;
    copy->m_height = m_height;
    copy->m_ratio = m_ratio;
    copy->SetTransparent(Transparent());
    copy->SetPaletteModified(PaletteModified());
    return copy;
}

void TBitmap::LoadFromBMP(const std::vector<unsigned char>& bytes) {
    m_image = DecodeBmp(bytes.data(), bytes.size());
    // A file's pixels are its logical pixels.
    m_ratio = 1.0;
    m_width = m_image.width();
    m_height = m_image.height();
    Changed();
}

std::unique_ptr<TGraphic> TJPEGImage::Clone() const {
    auto copy = std::make_unique<TJPEGImage>();
    copy->m_image = m_image;
    copy->m_progressive = m_progressive;
    copy->m_components = m_components;
    copy->m_hSampling = m_hSampling;
    copy->m_vSampling = m_vSampling;
    copy->SetTransparent(Transparent());
    copy->SetPaletteModified(PaletteModified());
    return copy;
}

void TJPEGImage::LoadFromBytes(const std::vector<unsigned char>& bytes) {
    TJpegInfo info;
    m_image = DecodeJpeg(bytes.data(), bytes.size(), &info);
    m_progressive = info.Progressive;
    m_components = info.Components;
    m_hSampling = info.HSampling;
    m_vSampling = info.VSampling;
    Changed();
}

TPicture::TPicture() = default;

TPicture::~TPicture() = default;

void TPicture::SetGraphic(const TGraphic* graphic) {
    if (graphic == nullptr && !m_graphic) {
        return;
    }
    std::unique_ptr<TGraphic> copy = graphic ? graphic->Clone() : nullptr;
    if (copy) {
        copy->OnChange = [this](TObject* sender) { GraphicChanged(sender); };
    }
    m_graphic = std::move(copy);
    Changed();
}

void TPicture::Assign(const TPicture* other) {
    if (other == this) {
        return;
    }
    SetGraphic(other ? other->Graphic() : nullptr);
}

void TPicture::LoadFromBytes(const std::vector<unsigned char>& bytes) {
    // Decode into a fresh graphic first, so a file that fails leaves the current picture as it was.
    std::unique_ptr<TGraphic> loaded;
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8) {
        auto jpeg = std::make_unique<TJPEGImage>();
        jpeg->LoadFromBytes(bytes);
        loaded = std::move(jpeg);
    } else if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->LoadFromBMP(bytes);
        loaded = std::move(bitmap);
    } else {
        throw EInvalidGraphic(bytes.empty() ? "The picture is empty"
                                            : "Unknown picture format: neither JPEG nor BMP");
    }
    loaded->OnChange = [this](TObject* sender) { GraphicChanged(sender); };
    m_graphic = std::move(loaded);
    Changed();
}

void TPicture::GraphicChanged(TObject* /*sender*/) {
    Changed();
}

void TPicture::Changed() {
    if (OnChange) {
        OnChange(this);
    }
}

}  // namespace kx
