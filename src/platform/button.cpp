#include "platform/button.h"

#include <QPushButton>

#include "platform/qt_bridge.h"

namespace kx {

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
    auto* b = new QPushButton();
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::StrongFocus);
    QObject::connect(b, &QPushButton::clicked, b, [this] { SafeCall([this] { Click(); }); });
    m_tabStop = true;
    m_width = 75;
    m_height = 25;
    SetWidget(b);
}

QPushButton* TButton::Button() const {
    return static_cast<QPushButton*>(m_widget.data());
}

void TButton::SetDefault(bool v) {
    if (v == m_default) {
        return;
    }
    m_default = v;
    if (m_widget != nullptr) {
        Button()->setDefault(v);
    }
}

void TButton::CaptionChanged() {
    if (m_widget != nullptr) {
        Button()->setText(QString::fromStdString(m_caption));
    }
}

}  // namespace kx
