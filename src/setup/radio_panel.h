#pragma once

#include "platform/win_control.h"

namespace kx {

class TClassRegistry;

using TRadioPanelChangeEvent = std::function<void(TObject* Sender)>;

// The explanatory panel of a highlight: live controls and the text lines that
// explain one feature. It waits, hidden, on the main window until the popup of
// a circle that names it takes it in; from then on it lives in that popup.
class TRadioPanel : public TCustomPanel {
public:
    KX_CLASS(TRadioPanel)

    explicit TRadioPanel(TComponent* AOwner);
    ~TRadioPanel() override;

    bool RadioEnabled() const { return m_radioEnabled; }
    void SetRadioEnabled(bool v) { m_radioEnabled = v; }
    // The explanatory text, one paragraph per string; setting copies.
    const TStrings& Lines() const { return m_lines; }
    void SetLines(const TStrings& lines) { m_lines = lines; }
    int MemoHeight() const { return m_memoHeight; }
    void SetMemoHeight(int v) { m_memoHeight = v; }
    // The anchors the panel takes once its popup holds it.
    TAnchors FinalAnchors() const { return m_finalAnchors; }
    void SetFinalAnchors(TAnchors a);
    bool Placed() const { return m_placed; }
    // Called by the popup that takes the panel in.
    void SetPlaced(bool v) { m_placed = v; }
    bool DesignHidden() const { return m_designHidden; }

    TRadioPanelChangeEvent OnRadioChange;  // kept, never raised
    TNotifyEvent OnActivate;               // handed to the popup
    TNotifyEvent OnDeactivate;             // handed to the popup

    void Paint() override;

protected:
    // A radio panel never shows a caption.
    void CaptionChanged() override {}

private:
    bool m_radioEnabled = false;
    TStrings m_lines;
    int m_memoHeight = 58;
    bool m_designHidden = false;
    TAnchors m_finalAnchors = AnchorsLeftTop;
    bool m_placed = false;
};

void RegisterRadioPanelClass(TClassRegistry& registry);

}  // namespace kx
