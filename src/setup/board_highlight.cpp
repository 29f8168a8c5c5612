#include "setup/board_highlight.h"

#include <cmath>

#include "platform/application.h"
#include "platform/description_props.h"
#include "platform/menus.h"
#include "setup/board_image.h"
#include "setup/popup_form.h"
#include "setup/radio_panel.h"

namespace kx {

namespace {

struct TypeSettings {
    TColor ring;
    float idle;
    float lit;
    float active;
};

TypeSettings SettingsOf(THighlightType t) {
    switch (t) {
        case htOptions:
            return {clBlue, 0.25f, 0.5f, 1.0f};
        case htCalibration:
            return {clRed, 0.5f, 0.75f, 1.0f};
        case htSettings:
        default:
            return {clYellow, 0.5f, 0.75f, 1.0f};
    }
}

// Rounds to the nearest integer, a half going to the even neighbour, and keeps
// the result a colour channel.
int ChannelOf(double v) {
    const double r = std::nearbyint(v);
    return r < 0 ? 0 : (r > 255 ? 255 : static_cast<int>(r));
}

}  // namespace

void BlendRing(TBitmap& image, float strength, TColor ringColor, bool whiteCore) {
    const int w = image.Width();
    const int h = image.Height();
    if (w < 2 || h < 2) {
        return;  // no ring is defined for a circle this thin
    }
    // The ring is evaluated at every device pixel of the image. Logical pixel i maps to x = i * sx - 1,
    // that is its centre i + 0.5 maps there; a device pixel is mapped through its own centre, which
    // at ratio 1 is exactly the logical pixel.
    const double ratio = image.PixelRatio();
    auto logical = [ratio](int device) { return ratio == 1.0 ? device : (device + 0.5) / ratio - 0.5; };
    const TColor ring = ColorToRGB(ringColor);
    const double ringR = GetRValue(ring);
    const double ringG = GetGValue(ring);
    const double ringB = GetBValue(ring);
    // Every intermediate value is a 32-bit float, computed wider and rounded
    // when stored: that is what makes the looks exact.
    const float sx = static_cast<float>(2.0 / (w - 1));
    const float sy = static_cast<float>(2.0 / (h - 1));
    QImage& img = image.MutableImage();
    for (int j = 0; j < img.height(); ++j) {
        const float y = static_cast<float>(logical(j) * sy - 1.0);
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(j));
        for (int i = 0; i < img.width(); ++i) {
            const float x = static_cast<float>(logical(i) * sx - 1.0);
            const float d = static_cast<float>(static_cast<double>(x) * x + static_cast<double>(y) * y);
            if (d >= 1.0f) {
                continue;
            }
            double baseR = qRed(line[i]);
            double baseG = qGreen(line[i]);
            double baseB = qBlue(line[i]);
            float a;
            if (static_cast<double>(d) < 0.5929) {
                a = 0.16f;
            } else {
                a = static_cast<float>(1.0 - 8.0 * std::fabs(std::sqrt(static_cast<double>(d)) - 0.875));
                if (whiteCore) {
                    a = static_cast<float>(2.0 * a);
                    if (a > 1.0f) {
                        baseR = baseG = baseB = 255.0;
                        a = static_cast<float>(2.0 - a);
                    }
                }
            }
            a = static_cast<float>(static_cast<double>(a) * strength);
            const float b = static_cast<float>(1.0 - a);
            line[i] = qRgb(ChannelOf(baseR * b + ringR * a), ChannelOf(baseG * b + ringG * a),
                           ChannelOf(baseB * b + ringB * a));
        }
    }
}

std::string StripAmpersands(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (char ch : s) {
        if (ch != '&') {
            out += ch;
        }
    }
    return out;
}

std::string MakeIdentifier(const std::string& s) {
    auto isAlpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    auto isAlnum = [&](char c) { return isAlpha(c) || (c >= '0' && c <= '9'); };
    bool valid = s.empty() || isAlpha(s[0]);
    for (std::size_t i = 1; valid && i < s.size(); ++i) {
        valid = isAlnum(s[i]);
    }
    if (valid) {
        return s;
    }
    std::size_t start = 0;
    while (start < s.size() && !isAlpha(s[start])) {
        ++start;
    }
    std::string out;
    if (start < s.size()) {
        out += s[start];
        for (std::size_t i = start + 1; i < s.size(); ++i) {
            if (isAlnum(s[i])) {
                out += s[i];
            }
        }
    }
    return out;
}

TBoardHighlight::TBoardHighlight(TComponent* AOwner)
    : TGraphicControl(AOwner),
      m_idleImage(std::make_unique<TBitmap>()),
      m_activeImage(std::make_unique<TBitmap>()),
      m_litImage(std::make_unique<TBitmap>()) {
    m_width = 65;
    m_height = 65;
    ApplyTypeSettings();
}

TBoardHighlight::~TBoardHighlight() {
    Destroying();
    *m_alive = false;
}

void TBoardHighlight::Notification(TComponent* comp, TOperation op) {
    TGraphicControl::Notification(comp, op);
    if (op != TOperation::opRemove) {
        return;
    }
    if (comp == m_radioPanel)
        m_radioPanel = nullptr;
    if (comp == m_popup)
        m_popup = nullptr;
    if (comp == m_boardMenu)
        m_boardMenu = nullptr;
}

void TBoardHighlight::ApplyTypeSettings() {
    const TypeSettings s = SettingsOf(m_highlightType);
    m_ringColor = s.ring;
    m_idleStrength = s.idle;
    m_litStrength = s.lit;
    m_activeStrength = s.active;
}

void TBoardHighlight::SetHighlightType(THighlightType t) {
    if (t == m_highlightType) {
        return;
    }
    m_highlightType = t;
    ApplyTypeSettings();
    Invalidate();
}

void TBoardHighlight::SetTitle(const std::string& title) {
    if (title == m_title) {
        return;
    }
    m_title = title;
    m_plainTitle = StripAmpersands(title);
    m_titleIdent = MakeIdentifier(title);
}

void TBoardHighlight::SetRadioPanel(TRadioPanel* panel) {
    if (panel == m_radioPanel) {
        return;
    }
    if (panel == nullptr) {
        m_radioPanel = nullptr;
        return;
    }
    if (m_parent != nullptr) {
        // A panel is shared only within a linked group.
        for (int i = 0; i < m_parent->ControlCount(); ++i) {
            auto* other = dynamic_cast<TBoardHighlight*>(m_parent->Controls(i));
            if (other != nullptr && other != this && IsExactly<TBoardHighlight>(other) &&
                other->m_radioPanel == panel &&
                (other->m_title != m_title || other->m_highlightType != m_highlightType)) {
                return;
            }
        }
    }
    m_radioPanel = panel;
    FreeNotification(panel);
}

bool TBoardHighlight::IsLinkedTo(const TBoardHighlight* other) const {
    if (other == nullptr || m_parent == nullptr || !IsExactly<TBoardImage>(m_parent)) {
        return false;
    }
    return other->m_parent == m_parent && IsExactly<TBoardHighlight>(this) &&
           IsExactly<TBoardHighlight>(other) && other->m_title == m_title &&
           other->m_highlightType == m_highlightType;
}

void TBoardHighlight::ForEachLinked(const std::function<void(TBoardHighlight*)>& f) {
    TWinControl* parent = m_parent;
    if (parent == nullptr || !IsExactly<TBoardImage>(parent)) {
        return;
    }
    const int n = parent->ControlCount();
    for (int i = 0; i < n && i < parent->ControlCount(); ++i) {
        auto* c = dynamic_cast<TBoardHighlight*>(parent->Controls(i));
        if (c != nullptr && IsLinkedTo(c)) {
            f(c);
        }
    }
}

void TBoardHighlight::RenderImages() {
    const int w = m_width;
    const int h = m_height;
    struct Look {
        TBitmap* image;
        float strength;
        bool whiteCore;
    };
    const Look looks[] = {{m_idleImage.get(), m_idleStrength, false},
                          {m_activeImage.get(), m_activeStrength, true},
                          {m_litImage.get(), m_litStrength, false}};
    for (const Look& look : looks) {
        // The looks hold device pixels, so that the ring stays smooth on a high-density screen.
        look.image->SetPixelRatio(Canvas().Ratio());
        look.image->SetSize(w, h);
        // What lies under the circle now: the photograph and any circle
        // painted there before this one.
        look.image->Canvas().CopyFrom(0, 0, w, h, Canvas(), 0, 0);
        BlendRing(*look.image, look.strength, m_ringColor, look.whiteCore);
    }
}

void TBoardHighlight::FirstPaintSetup() {
    RenderImages();
    if (m_parent != nullptr && IsExactly<TBoardImage>(m_parent)) {
        m_boardMenu = static_cast<TBoardImage*>(m_parent)->Menu();
        if (m_boardMenu != nullptr) {
            FreeNotification(m_boardMenu);
        }
        AddMenuEntry();
    } else {
        m_boardMenu = nullptr;
    }
}

void TBoardHighlight::Paint() {
    if (!m_rendered) {
        FirstPaintSetup();
        m_rendered = true;
    } else if (m_idleImage->PixelRatio() != Canvas().Ratio()) {
        // The window went to a screen of another density. The looks are rendered again from what
        // lies beneath at the new resolution; each paint composes afresh, so that is the
        // photograph and the circles before this one, never this circle's old look.
        RenderImages();
    }
    const TBitmap* look = m_idleImage.get();
    if (m_popupActive && m_lit) {
        look = m_activeImage.get();
    } else if (m_popupActive != m_lit) {
        look = m_litImage.get();
    }
    Canvas().DrawImage(0, 0, look->Image());
    PaintFocusMarkIfFocused();
}

void TBoardHighlight::WndProc(TMessage& message) {
    switch (message.Msg) {
        case CM_MOUSEENTER:
            MouseEnterHandler(message.WParam);
            break;
        case CM_MOUSELEAVE:
            MouseLeaveHandler(message.WParam);
            break;
        default:
            TGraphicControl::WndProc(message);
            break;
    }
}

void TBoardHighlight::MouseEnterHandler(std::intptr_t p) {
    if (m_lit) {
        return;
    }
    m_lit = true;
    Invalidate();
    if (m_createPopup) {
        ShowPopup();
    }
    if (p == 1) {
        return;
    }
    ForEachLinked([](TBoardHighlight* c) { c->Perform(CM_MOUSEENTER, 1, 0); });
}

void TBoardHighlight::MouseLeaveHandler(std::intptr_t p) {
    if (!m_lit) {
        return;
    }
    if (m_popup != nullptr && !m_pinned) {
        const TPoint pos = Application != nullptr ? Application->CursorPos() : TPoint{};
        if (m_popup->BoundsRect().Contains(pos)) {
            // The pointer went into the popup: it stays until the pointer
            // leaves it.
            m_popup->SetCloseOnLeave(true);
            Pin();
        } else {
            m_popup->Close();
        }
    }
    if (p == 1) {
        return;
    }
    ForEachLinked([](TBoardHighlight* c) { c->Perform(CM_MOUSELEAVE, 1, 0); });
}

void TBoardHighlight::Click() {
    TGraphicControl::Click();
    Pin();
}

void TBoardHighlight::Pin() {
    if (m_popup != nullptr) {
        m_pinned = true;
        SetMenuCheck(true);
    }
    ForEachLinked([](TBoardHighlight* c) { c->PinAndFocus(); });
    NotifyGroupState();
}

void TBoardHighlight::PinAndFocus() {
    if (m_popup == nullptr) {
        return;
    }
    m_pinned = true;
    SetMenuCheck(true);
    m_popup->SetFocus();
}

void TBoardHighlight::SetPopupActive(bool Value, bool PassOn) {
    m_popupActive = Value;
    BringToFront();
    Invalidate();
    if (!PassOn || m_parent == nullptr || !IsExactly<TBoardImage>(m_parent)) {
        return;
    }
    // Each linked circle moves to the end as it is handled, so the bound
    // shrinks instead of the index advancing.
    TWinControl* parent = m_parent;
    int i = 0;
    int n = parent->ControlCount();
    while (i < n) {
        auto* c = dynamic_cast<TBoardHighlight*>(parent->Controls(i));
        if (c != nullptr && c != this && IsLinkedTo(c)) {
            c->SetPopupActive(Value, false);
            --n;
        } else {
            ++i;
        }
    }
}

void TBoardHighlight::Unlight() {
    m_lit = false;
    Invalidate();
}

void RegisterBoardHighlightClass(TClassRegistry& r) {
    using namespace props;
    TClassInfo& c =
        r.Register("TBoardHighlight", "TControl", [](TComponent* o) { return new TBoardHighlight(o); });
    c.Properties["CreatePopup"] =
        Bool<TBoardHighlight>([](TBoardHighlight& t, bool v) { t.SetCreatePopup(v); });
    c.Properties["HighlightType"] = Enum<TBoardHighlight, THighlightType>(
        {{"htOptions", htOptions}, {"htSettings", htSettings}, {"htCalibration", htCalibration}},
        [](TBoardHighlight& t, THighlightType v) { t.SetHighlightType(v); });
    c.Properties["RadioPanel"] = Reference<TBoardHighlight, TRadioPanel>(
        [](TBoardHighlight& t, TRadioPanel* p) { t.SetRadioPanel(p); });
    c.Properties["Title"] =
        String<TBoardHighlight>([](TBoardHighlight& t, const std::string& v) { t.SetTitle(v); });
}

}  // namespace kx
