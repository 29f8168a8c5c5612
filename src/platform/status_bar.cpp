#include "platform/status_bar.h"

#include <QLabel>
#include <QStatusBar>

#include "platform/color_contrast.h"

namespace kx {

TStatusBar::TStatusBar(TComponent* AOwner) : TWinControl(AOwner) {
    auto* bar = new QStatusBar();
    bar->setSizeGripEnabled(true);
    bar->setFocusPolicy(Qt::NoFocus);
    m_align = alBottom;
    m_width = 185;
    m_height = 19;
    SetWidget(bar);
    bar->setAutoFillBackground(true);
    ColorChanged();
    FollowPaletteChanges(bar, [this] { ColorChanged(); });
}

void TStatusBar::ColorChanged() {
    TWinControl::ColorChanged();
    if (m_widget != nullptr) {
        // The panels are labels inside the bar and take its palette.
        SetWidgetColors(Bar(), m_color, QPalette::Window, QPalette::WindowText);
    }
}

QStatusBar* TStatusBar::Bar() const {
    return static_cast<QStatusBar*>(m_widget.data());
}

void TStatusBar::AddPanel(const TStatusPanel& panel) {
    m_panels.push_back(panel);
    auto* label = new QLabel(QString::fromStdString(panel.Text));
    label->setMinimumWidth(panel.Width);
    label->setFrameShape(panel.Bevel == bvNone ? QFrame::NoFrame : QFrame::Panel);
    label->setFrameShadow(panel.Bevel == bvRaised ? QFrame::Raised : QFrame::Sunken);
    if (panel.Bevel == bvNone) {
        // No frame around the panel either, whatever the style draws by default.
        Bar()->setStyleSheet("QStatusBar::item { border: 0px; }");
    }
    Bar()->addWidget(label);
    m_labels.push_back(label);
}

void TStatusBar::SetPanelText(int index, const std::string& text) {
    m_panels.at(static_cast<std::size_t>(index)).Text = text;
    m_labels.at(static_cast<std::size_t>(index))->setText(QString::fromStdString(text));
}

}  // namespace kx
