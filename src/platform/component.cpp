#include "platform/component.h"

#include <algorithm>
#include <stdexcept>

namespace kx {

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner != nullptr) {
        AOwner->InsertComponent(this);
    }
}

TComponent::~TComponent() {
    Destroying();
    DestroyComponents();
    if (m_owner != nullptr) {
        m_owner->RemoveComponent(this);
    }
}

void TComponent::Destroying() {
    if (m_removalNotified) {
        return;
    }
    m_state |= csDestroying;
    m_removalNotified = true;
    NotifyRemoval();
}

void TComponent::NotifyRemoval() {
    // Everybody who asked, and every component of the same owner, hears that
    // this one goes, so plain non-owning references can be cleared.
    std::vector<TComponent*> told;
    auto tell = [&](TComponent* c) {
        if (c == nullptr || c == this || std::find(told.begin(), told.end(), c) != told.end()) {
            return;
        }
        told.push_back(c);
        c->Notification(this, TOperation::opRemove);
    };
    const std::vector<TComponent*> listeners = m_freeNotifies;
    for (TComponent* c : listeners) {
        tell(c);
        c->RemoveFreeNotification(this);
    }
    m_freeNotifies.clear();
    if (m_owner != nullptr) {
        tell(m_owner);
    }
}

void TComponent::Notification(TComponent* comp, TOperation op) {
    if (op == TOperation::opRemove && comp != nullptr) {
        auto it = std::find(m_freeNotifies.begin(), m_freeNotifies.end(), comp);
        if (it != m_freeNotifies.end()) {
            m_freeNotifies.erase(it);
        }
    }
    // An owner passes the news on to everything it owns.
    const std::vector<TComponent*> owned = m_components;
    for (TComponent* c : owned) {
        if (c != comp && std::find(m_components.begin(), m_components.end(), c) != m_components.end()) {
            c->Notification(comp, op);
        }
    }
}

void TComponent::SetName(const std::string& name) {
    if (name == m_name) {
        return;
    }
    if (!name.empty() && m_owner != nullptr) {
        TComponent* other = m_owner->FindComponent(name);
        if (other != nullptr && other != this) {
            throw std::invalid_argument("A component named " + name + " already exists");
        }
    }
    m_name = name;
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) {
        return nullptr;
    }
    for (TComponent* c : m_components) {
        if (c->m_name == name) {
            return c;
        }
    }
    return nullptr;
}

void TComponent::SetLoading(bool loading) {
    if (loading) {
        m_state |= csLoading;
    } else {
        m_state &= static_cast<TComponentState>(~csLoading);
    }
}

void TComponent::SetDesigning(bool designing) {
    if (designing) {
        m_state |= csDesigning;
    } else {
        m_state &= static_cast<TComponentState>(~csDesigning);
    }
}

void TComponent::InsertComponent(TComponent* c) {
    if (c == nullptr || c->m_owner == this) {
        return;
    }
    if (c->m_owner != nullptr) {
        c->m_owner->RemoveComponent(c);
    }
    m_components.push_back(c);
    c->m_owner = this;
}

void TComponent::RemoveComponent(TComponent* c) {
    auto it = std::find(m_components.begin(), m_components.end(), c);
    if (it != m_components.end()) {
        m_components.erase(it);
        c->m_owner = nullptr;
    }
}

void TComponent::FreeNotification(TComponent* other) {
    if (other == nullptr || other == this) {
        return;
    }
    if (std::find(other->m_freeNotifies.begin(), other->m_freeNotifies.end(), this) ==
        other->m_freeNotifies.end()) {
        other->m_freeNotifies.push_back(this);
    }
    if (std::find(m_freeNotifies.begin(), m_freeNotifies.end(), other) == m_freeNotifies.end()) {
        m_freeNotifies.push_back(other);
    }
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    auto it = std::find(m_freeNotifies.begin(), m_freeNotifies.end(), other);
    if (it != m_freeNotifies.end()) {
        m_freeNotifies.erase(it);
    }
}

void TComponent::Free() {
    delete this;
}

void TComponent::DestroyComponents() {
    // Last created first; each one takes itself out of the list as it goes.
    while (!m_components.empty()) {
        TComponent* c = m_components.back();
        m_components.pop_back();
        c->m_owner = nullptr;
        delete c;
    }
}

}  // namespace kx
