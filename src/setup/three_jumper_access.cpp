// The jumper as a screen reader hears it: what it is, named after the labels
// at its ends, and where its cap sits.

#include <cmath>
#include <limits>

#include "platform/label.h"
#include "platform/win_control.h"
#include "setup/three_jumper.h"

namespace kx {

namespace {

struct TEndPoint {
    double X;
    double Y;
};

}  // namespace

std::string TThreeJumper::EndLabel(int pin) const {
    if (m_parent == nullptr || (pin != 1 && pin != 3)) {
        return {};
    }
    // The middle of each end of the jumper, in the parent's coordinates. In
    // the unturned drawing pin 1 is at the left; the orientation turns it.
    const double l = m_left;
    const double t = m_top;
    const double r = m_left + m_width;
    const double b = m_top + m_height;
    const TEndPoint left{l, (t + b) / 2};
    const TEndPoint right{r, (t + b) / 2};
    const TEndPoint top{(l + r) / 2, t};
    const TEndPoint bottom{(l + r) / 2, b};
    TEndPoint pin1 = left;
    TEndPoint pin3 = right;
    switch (m_orientation) {
        case otDown:
            pin1 = right;
            pin3 = left;
            break;
        case otLeft:
            pin1 = bottom;
            pin3 = top;
            break;
        case otRight:
            pin1 = top;
            pin3 = bottom;
            break;
        case otUp:
        default:
            break;
    }
    const TEndPoint near = pin == 1 ? pin1 : pin3;
    const TEndPoint far = pin == 1 ? pin3 : pin1;
    auto distance = [](const TEndPoint& p, const TControl* c) {
        const double cx = c->Left() + c->Width() / 2.0;
        const double cy = c->Top() + c->Height() / 2.0;
        return std::hypot(cx - p.X, cy - p.Y);
    };
    // A label counts when it stands nearer this end than the other and
    // within twice the jumper's length of it.
    const double reach = 2.0 * std::max(m_width, m_height);
    const TLabel* best = nullptr;
    double bestDistance = std::numeric_limits<double>::max();
    for (int i = 0; i < m_parent->ControlCount(); ++i) {
        const auto* label = dynamic_cast<const TLabel*>(m_parent->Controls(i));
        if (label == nullptr || !label->Visible() || label->AccessibleName().empty()) {
            continue;
        }
        const double d = distance(near, label);
        if (d < reach && d < distance(far, label) && d < bestDistance) {
            best = label;
            bestDistance = d;
        }
    }
    return best != nullptr ? best->AccessibleName() : std::string();
}

std::string TThreeJumper::AccessibleName() const {
    if (!m_accessibleName.empty()) {
        return m_accessibleName;
    }
    const std::string one = EndLabel(1);
    const std::string three = EndLabel(3);
    if (!one.empty() && !three.empty()) {
        return one + "/" + three + " jumper";
    }
    return "Jumper";
}

std::string TThreeJumper::AccessibleDescription() const {
    const std::string own = TControl::AccessibleDescription();
    std::string where;
    switch (m_jumperState) {
        case jsLeft: {
            const std::string side = EndLabel(1);
            where = "cap on pins 1 and 2" + (side.empty() ? std::string() : ", " + side + " side");
            break;
        }
        case jsRight: {
            const std::string side = EndLabel(3);
            where = "cap on pins 2 and 3" + (side.empty() ? std::string() : ", " + side + " side");
            break;
        }
        case jsOpen:
        default:
            where = "no cap";
            break;
    }
    return own.empty() ? where : where + ". " + own;
}

void TThreeJumper::DoAccessibleAction() {
    if (m_enabled) {
        Click();
    }
}

}  // namespace kx
