#pragma once

#include <string>

#include "platform/win_control.h"

class QPushButton;

namespace kx {

// A push button (a Qt push button). Default: Enter clicks it; Cancel: Esc
// clicks it.
class TButton : public TWinControl {
public:
    KX_CLASS(TButton)

    explicit TButton(TComponent* AOwner);

    bool Default() const { return m_default; }
    void SetDefault(bool v);
    bool Cancel() const { return m_cancel; }
    void SetCancel(bool v) { m_cancel = v; }

    QPushButton* Button() const;

protected:
    void CaptionChanged() override;

private:
    bool m_default = false;
    bool m_cancel = false;
};

}  // namespace kx
