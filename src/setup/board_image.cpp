#include "setup/board_image.h"

#include <cmath>

#include "platform/application.h"
#include "platform/description_props.h"
#include "platform/form.h"
#include "platform/menus.h"
#include "setup/board_highlight.h"

namespace kx {

TBoardImage::TBoardImage(TComponent* AOwner) : TCustomPanel(AOwner), m_picture(std::make_unique<TPicture>()) {
    m_width = 105;
    m_height = 105;
    ApplyGeometry();
    m_autoSize = true;
    m_bevelOuter = bvNone;
    m_picture->OnChange = [this](TObject*) { PictureChanged(); };
    // Tab reaches the board; its circles are then chosen with the arrow keys.
    m_tabStop = true;
    m_widget->setFocusPolicy(Qt::StrongFocus);
    SetAccessibleName("Board photograph");
}

TBoardImage::~TBoardImage() {
    Destroying();
    m_picture->OnChange = nullptr;
}

void TBoardImage::Notification(TComponent* comp, TOperation op) {
    TCustomPanel::Notification(comp, op);
    if (op == TOperation::opRemove) {
        if (comp == m_first)
            m_first = nullptr;
        if (comp == m_menu)
            m_menu = nullptr;
        if (comp == m_focusGroup)
            m_focusGroup = nullptr;
    }
}

void TBoardImage::SetFirst(TBoardHighlight* first) {
    m_first = first;
    if (first != nullptr)
        FreeNotification(first);
}

void TBoardImage::SetMenu(TMainMenu* menu) {
    m_menu = menu;
    if (menu != nullptr)
        FreeNotification(menu);
}

void TBoardImage::SetScale(bool v) {
    if (v == m_scale)
        return;
    m_scale = v;
    PictureChanged();
}

void TBoardImage::SetCenter(bool v) {
    if (v == m_center)
        return;
    m_center = v;
    PictureChanged();
}

void TBoardImage::SetStretch(bool v) {
    if (v == m_stretch)
        return;
    m_stretch = v;
    PictureChanged();
}

void TBoardImage::SetTransparent(bool v) {
    if (v == m_transparent)
        return;
    m_transparent = v;
    PictureChanged();
}

void TBoardImage::SetPicture(const TPicture* picture) {
    m_picture->Assign(picture);
}

void TBoardImage::PictureChanged() {
    const int pw = m_picture->Width();
    const int ph = m_picture->Height();
    if (pw > 0 && ph > 0) {
        const double ratio = static_cast<double>(ph) / static_cast<double>(pw);
        m_aspectRatio = std::isfinite(ratio) ? ratio : 1.0;
        if (m_autoSize) {
            SetBounds(m_left, m_top, pw, ph);
        }
    }
    if (TGraphic* g = m_picture->Graphic()) {
        if (!g->KeepsOwnTransparency()) {
            g->SetTransparent(m_transparent);
        }
        SetOpaque(!g->Transparent() && (m_stretch || (g->Width() >= m_width && g->Height() >= m_height)));
        if (DoPaletteChange() && m_drawing) {
            Repaint();
        }
    } else {
        SetOpaque(false);
    }
    if (!m_drawing) {
        Invalidate();
    }
}

bool TBoardImage::DoPaletteChange() {
    TGraphic* g = m_picture->Graphic();
    if (!Visible() || InState(csLoading) || g == nullptr || !g->PaletteModified()) {
        return false;
    }
    if (g->Palette() == nullptr) {
        g->SetPaletteModified(false);
        return false;
    }
    TForm* form = GetParentForm(this);
    if (form != nullptr && form->Active() && form->HandleAllocated()) {
        // Only palette-based displays care; the form realises its palette.
        form->Perform(WM_QUERYNEWPALETTE, 0, 0);
        g->SetPaletteModified(false);
        return true;
    }
    return false;
}

TRect TBoardImage::DestRect() const {
    if (m_stretch) {
        return {0, 0, ClientWidth(), ClientHeight()};
    }
    const int pw = m_picture->Width();
    const int ph = m_picture->Height();
    if (m_center) {
        return Bounds((m_width - pw) / 2, (m_height - ph) / 2, pw, ph);
    }
    return Bounds(0, 0, pw, ph);
}

void TBoardImage::Paint() {
    if (!m_designPosKnown) {
        m_designLeft = m_left;
        m_designTop = m_top;
        m_designPosKnown = true;
    }
    const bool designing = InState(csDesigning);
    if (m_centerOnForm && !designing && m_parent != nullptr) {
        SetLeft((m_parent->Width() - m_width) / 2);
        SetTop((m_parent->Height() - m_height) / 2);
    }
    if (designing && m_scale) {
        SetHeight(static_cast<int>(std::nearbyint(m_width * m_aspectRatio)));
    }
    const bool saved = m_drawing;
    m_drawing = true;
    struct Restore {
        bool& flag;
        bool value;
        ~Restore() { flag = value; }
    } restore{m_drawing, saved};
    if (designing) {
        Canvas().DashedFrame(ClientRect());
    }
    Canvas().StretchDraw(DestRect(), m_picture->Graphic());
}

bool TBoardImage::CanAutoSize(int& newWidth, int& newHeight) {
    if (InState(csDesigning) && (m_picture->Width() <= 0 || m_picture->Height() <= 0)) {
        return true;
    }
    if (m_align == alNone || m_align == alLeft || m_align == alRight) {
        newWidth = m_picture->Width();
    }
    if (m_align == alNone || m_align == alTop || m_align == alBottom) {
        newHeight = m_picture->Height();
    }
    return true;
}

void* TBoardImage::GetPalette() const {
    const TGraphic* g = m_picture->Graphic();
    return g != nullptr ? g->Palette() : nullptr;
}

void TBoardImage::WndProc(TMessage& message) {
    if (message.Msg != WM_STARTTOUR) {
        TCustomPanel::WndProc(message);
        return;
    }
    // Enter, click and leave on the first circle: its popup opens and stays
    // pinned, the first stop of the tour.
    if (m_first == nullptr) {
        return;
    }
    m_first->Perform(CM_MOUSEENTER, message.WParam, message.LParam);
    if (m_first != nullptr) {
        m_first->Click();
    }
    if (m_first != nullptr) {
        m_first->Perform(CM_MOUSELEAVE, message.WParam, message.LParam);
    }
    message.Result = 0;
}

void RegisterBoardImageClass(TClassRegistry& r) {
    using namespace props;
    TClassInfo& c = r.Register("TBoardImage", "TControl", [](TComponent* o) { return new TBoardImage(o); });
    c.Properties["First"] =
        Reference<TBoardImage, TBoardHighlight>([](TBoardImage& t, TBoardHighlight* h) { t.SetFirst(h); });
    c.Properties["Menu"] =
        Reference<TBoardImage, TMainMenu>([](TBoardImage& t, TMainMenu* m) { t.SetMenu(m); });
    c.Properties["CenterOnForm"] = Bool<TBoardImage>([](TBoardImage& t, bool v) { t.SetCenterOnForm(v); });
    c.Properties["Scale"] = Bool<TBoardImage>([](TBoardImage& t, bool v) { t.SetScale(v); });
    c.Properties["AutoSize"] = Bool<TBoardImage>([](TBoardImage& t, bool v) { t.SetAutoSize(v); });
    c.Properties["Center"] = Bool<TBoardImage>([](TBoardImage& t, bool v) { t.SetCenter(v); });
    c.Properties["Stretch"] = Bool<TBoardImage>([](TBoardImage& t, bool v) { t.SetStretch(v); });
    c.Properties["Transparent"] = Bool<TBoardImage>([](TBoardImage& t, bool v) { t.SetTransparent(v); });
    c.Properties["Picture"] = [](TComponent& t, const TJson& v, TReadContext& ctx) {
        prop::Picture(v, ctx, *Target<TBoardImage>(t, ctx).Picture());
    };
}

}  // namespace kx
