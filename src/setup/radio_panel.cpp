#include "setup/radio_panel.h"

#include "platform/description_props.h"

namespace kx {

TRadioPanel::TRadioPanel(TComponent* AOwner) : TCustomPanel(AOwner) {
    m_bevelOuter = bvNone;
    m_anchors = AnchorsLeftTop;
    SetBounds(m_left, m_top, 194, 100);
    SetVisible(false);
}

TRadioPanel::~TRadioPanel() {
    Destroying();
}

void TRadioPanel::SetFinalAnchors(TAnchors a) {
    m_finalAnchors = a;
    if (m_placed) {
        SetAnchors(a);
    }
}

void TRadioPanel::Paint() {
    if (InState(csDesigning) && !m_designHidden) {
        SetVisible(false);
        m_designHidden = true;
    }
    TCustomPanel::Paint();
}

void RegisterRadioPanelClass(TClassRegistry& r) {
    using namespace props;
    TClassInfo& c =
        r.Register("TRadioPanel", "TCustomPanelProps", [](TComponent* o) { return new TRadioPanel(o); });
    c.Properties["RadioEnabled"] = Bool<TRadioPanel>([](TRadioPanel& t, bool v) { t.SetRadioEnabled(v); });
    c.Properties["Lines"] = Strings<TRadioPanel>([](TRadioPanel& t, const TStrings& v) { t.SetLines(v); });
    c.Properties["MemoHeight"] = Int<TRadioPanel>([](TRadioPanel& t, int v) { t.SetMemoHeight(v); });
    c.Properties["FinalAnchors"] = [](TComponent& t, const TJson& v, TReadContext& ctx) {
        Target<TRadioPanel>(t, ctx).SetFinalAnchors(prop::Anchors(v, ctx));
    };
    c.Properties["OnActivate"] = Event<TRadioPanel>([](TRadioPanel& t, TNotifyEvent e) { t.OnActivate = e; });
    c.Properties["OnDeactivate"] =
        Event<TRadioPanel>([](TRadioPanel& t, TNotifyEvent e) { t.OnDeactivate = e; });
    c.Properties["OnRadioChange"] =
        Event<TRadioPanel>([](TRadioPanel& t, TNotifyEvent e) { t.OnRadioChange = e; });
}

}  // namespace kx
