#pragma once

#include <string>
#include <vector>

#include "platform/win_control.h"

class QLabel;
class QStatusBar;

namespace kx {

struct TStatusPanel {
    std::string Text;
    int Width = 50;
    TBevelCut Bevel = bvLowered;
};

// The status bar at the bottom of a window (a Qt status bar), filled with its
// Color, its panels' text in a colour that reads on it.
class TStatusBar : public TWinControl {
public:
    KX_CLASS(TStatusBar)

    explicit TStatusBar(TComponent* AOwner);

    const std::vector<TStatusPanel>& Panels() const { return m_panels; }
    void AddPanel(const TStatusPanel& panel);
    void SetPanelText(int index, const std::string& text);
    bool SimplePanel() const { return m_simplePanel; }
    void SetSimplePanel(bool v) { m_simplePanel = v; }

    QStatusBar* Bar() const;

protected:
    void ColorChanged() override;

private:
    std::vector<TStatusPanel> m_panels;
    std::vector<QLabel*> m_labels;
    bool m_simplePanel = false;
};

}  // namespace kx
