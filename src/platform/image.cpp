#include "platform/image.h"

#include "platform/canvas.h"

namespace kx {

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), m_picture(std::make_unique<TPicture>()) {
    m_width = 105;
    m_height = 105;
    m_picture->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() {
    Destroying();
    m_picture->OnChange = nullptr;
}

void TImage::SetStretch(bool v) {
    if (v == m_stretch) {
        return;
    }
    m_stretch = v;
    Invalidate();
}

void TImage::SetCenter(bool v) {
    if (v == m_center) {
        return;
    }
    m_center = v;
    Invalidate();
}

void TImage::SetTransparent(bool v) {
    if (v == m_transparent) {
        return;
    }
    m_transparent = v;
    TGraphic* g = m_picture->Graphic();
    if (g != nullptr && !g->KeepsOwnTransparency()) {
        g->SetTransparent(v);
    }
    Invalidate();
}

void TImage::SetAutoSize(bool v) {
    if (v == m_autoSize) {
        return;
    }
    m_autoSize = v;
    PictureChanged();
}

bool TImage::CanAutoSize(int& newWidth, int& newHeight) {
    if (m_picture->Width() > 0 && m_picture->Height() > 0) {
        if (m_align == alNone || m_align == alLeft || m_align == alRight) {
            newWidth = m_picture->Width();
        }
        if (m_align == alNone || m_align == alTop || m_align == alBottom) {
            newHeight = m_picture->Height();
        }
    }
    return true;
}

void TImage::PictureChanged() {
    TGraphic* g = m_picture->Graphic();
    if (g != nullptr && !g->KeepsOwnTransparency() && g->Transparent() != m_transparent) {
        // A new picture takes the image's transparency; the graphic reports
        // that change, which brings us back here to size and repaint.
        g->SetTransparent(m_transparent);
        return;
    }
    if (m_autoSize && m_picture->Width() > 0 && m_picture->Height() > 0) {
        SetBounds(m_left, m_top, m_picture->Width(), m_picture->Height());
    }
    Invalidate();
}

void TImage::Paint() {
    const TGraphic* g = m_picture->Graphic();
    if (g == nullptr || g->Empty()) {
        return;
    }
    TRect dest;
    if (m_stretch) {
        dest = ClientRect();
    } else if (m_center) {
        dest = Bounds((m_width - g->Width()) / 2, (m_height - g->Height()) / 2, g->Width(), g->Height());
    } else {
        dest = Bounds(0, 0, g->Width(), g->Height());
    }
    Canvas().StretchDraw(dest, g);
}

}  // namespace kx
