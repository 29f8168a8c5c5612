// The board from the keyboard: one focus stop whose focus mark moves over the
// linked groups of circles, and Enter or Space to open a group's popup.

#include <algorithm>
#include <tuple>

#include <QPainter>
#include <QPen>

#include "platform/form.h"
#include "setup/board_highlight.h"
#include "setup/board_image.h"
#include "setup/popup_form.h"

namespace kx {

namespace {

// The menus stand as Settings, Calibration, Options; the keys follow them.
int TypeRank(THighlightType t) {
    switch (t) {
        case htSettings:
            return 0;
        case htCalibration:
            return 1;
        case htOptions:
        default:
            return 2;
    }
}

}  // namespace

std::vector<TBoardHighlight*> TBoardImage::FocusGroups() const {
    std::vector<TBoardHighlight*> groups;
    for (int i = 0; i < ControlCount(); ++i) {
        auto* c = dynamic_cast<TBoardHighlight*>(Controls(i));
        if (c == nullptr || !c->Visible()) {
            continue;
        }
        TBoardHighlight* leader = c->GroupLeader();
        if (std::find(groups.begin(), groups.end(), leader) == groups.end()) {
            groups.push_back(leader);
        }
    }
    // Groups without a menu entry (not painted yet, or untitled) follow those
    // of their type that have one; the rest keeps the order of creation.
    auto key = [](const TBoardHighlight* c) {
        const int menuIndex = c->MenuIndex();
        return std::make_tuple(TypeRank(c->HighlightType()), menuIndex < 0 ? 1 : 0, menuIndex);
    };
    std::stable_sort(groups.begin(), groups.end(),
                     [&](const TBoardHighlight* a, const TBoardHighlight* b) { return key(a) < key(b); });
    return groups;
}

std::vector<TControl*> TBoardImage::AccessibleChildList() const {
    std::vector<TControl*> list;
    for (TBoardHighlight* group : FocusGroups()) {
        if (group->AccessibleExposed()) {
            list.push_back(group);
        }
    }
    // Anything else drawn on the board that stands on the bus follows.
    for (TControl* c : TCustomPanel::AccessibleChildList()) {
        if (dynamic_cast<TBoardHighlight*>(c) == nullptr) {
            list.push_back(c);
        }
    }
    return list;
}

bool TBoardImage::FocusMarkVisible() const {
    return m_focusVisible && m_focusGroup != nullptr && Focused();
}

void TBoardImage::InvalidateGroup(TBoardHighlight* group) {
    if (group == nullptr) {
        return;
    }
    group->Invalidate();
    group->ForEachLinked([](TBoardHighlight* c) { c->Invalidate(); });
}

void TBoardImage::MoveFocusMark(TBoardHighlight* group) {
    if (group != m_focusGroup) {
        InvalidateGroup(m_focusGroup);
        m_focusGroup = group;
        if (group != nullptr) {
            FreeNotification(group);
        }
    }
    InvalidateGroup(m_focusGroup);
    if (m_focusGroup != nullptr && Focused()) {
        m_focusGroup->AccessibleNotify(acFocus);
    }
}

void TBoardImage::FocusGroup(TBoardHighlight* circle) {
    if (circle == nullptr || circle->Parent() != this) {
        return;
    }
    m_focusVisible = true;
    SetFocus();
    MoveFocusMark(circle->GroupLeader());
}

bool TBoardImage::KeyDown(int qtKey, TShiftState shift) {
    if ((shift & (ssCtrl | ssAlt)) != 0) {
        return false;
    }
    const std::vector<TBoardHighlight*> groups = FocusGroups();
    if (groups.empty()) {
        return false;
    }
    const auto n = static_cast<std::ptrdiff_t>(groups.size());
    auto current = std::find(groups.begin(), groups.end(), m_focusGroup) - groups.begin();
    const bool marked = current < n;
    switch (qtKey) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            current = marked ? (current + n - 1) % n : n - 1;
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            current = marked ? (current + 1) % n : 0;
            break;
        case Qt::Key_Home:
            current = 0;
            break;
        case Qt::Key_End:
            current = n - 1;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space: {
            if (!marked) {
                current = 0;
            }
            m_focusVisible = true;
            MoveFocusMark(groups[static_cast<std::size_t>(current)]);
            TBoardHighlight* group = m_focusGroup;
            group->Activate();
            // Once the popup the keyboard opened closes, the focus comes
            // back to this group.
            if (TPopupForm* popup = group->GroupPopup(); popup != nullptr && popup->Visible()) {
                popup->SetReturnFocus(true);
            }
            return true;
        }
        default:
            return false;
    }
    m_focusVisible = true;
    MoveFocusMark(groups[static_cast<std::size_t>(current)]);
    return true;
}

void TBoardImage::FocusChanged(bool focused, bool byKeyboard) {
    if (!focused) {
        // The mark shows again only when the keyboard brings the focus back.
        m_focusVisible = false;
        InvalidateGroup(m_focusGroup);
        if (m_focusGroup != nullptr) {
            m_focusGroup->AccessibleNotify(acStateChanged);
        }
        return;
    }
    if (byKeyboard) {
        m_focusVisible = true;
    }
    const std::vector<TBoardHighlight*> groups = FocusGroups();
    TBoardHighlight* group = m_focusGroup;
    if (std::find(groups.begin(), groups.end(), group) == groups.end()) {
        group = groups.empty() ? nullptr : groups.front();
    }
    MoveFocusMark(group);
}

void TBoardImage::PaintFocusMark(TCanvas& canvas, int width, int height) {
    QImage* surface = canvas.Surface();
    if (surface == nullptr || width < 6 || height < 6) {
        return;
    }
    const TRect clip = canvas.ClipRect();
    const TPoint origin = canvas.Origin();
    QPainter p(surface);
    p.translate(origin.X, origin.Y);
    p.setClipRect(clip.Left, clip.Top, clip.Width(), clip.Height());
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    const QRectF ring(2, 2, width - 4, height - 4);
    // White under black dashes: the mark holds on light and dark parts of
    // the photograph alike.
    p.setPen(QPen(Qt::white, 2));
    p.drawEllipse(ring);
    QPen dashes(Qt::black, 2);
    dashes.setDashPattern({3, 3});
    p.setPen(dashes);
    p.drawEllipse(ring);
}

}  // namespace kx
