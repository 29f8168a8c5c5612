#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/object.h"

namespace kx {

enum TComponentStateBit : std::uint8_t {
    csLoading = 1,     // being read from a board description
    csDesigning = 2,   // being edited in a form designer (never in this program)
    csDestroying = 4,  // its destruction has begun
};
using TComponentState = std::uint8_t;

enum class TOperation { opInsert, opRemove };

class TComponent;

// A component belongs to an owner, which destroys it. Components are found
// again by Name among their owner's components.
class TComponent : public TObject {
public:
    KX_CLASS(TComponent)

    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* Owner() const { return m_owner; }
    const std::string& Name() const { return m_name; }
    // Names must be unique among the owner's components; a clash throws.
    void SetName(const std::string& name);
    std::intptr_t Tag() const { return m_tag; }
    void SetTag(std::intptr_t tag) { m_tag = tag; }

    int ComponentCount() const { return static_cast<int>(m_components.size()); }
    TComponent* Components(int index) const { return m_components.at(index); }
    // Exact, case-sensitive lookup among the owned components.
    TComponent* FindComponent(const std::string& name) const;
    template <typename T>
    T* Find(const std::string& name) const {
        return dynamic_cast<T*>(FindComponent(name));
    }

    TComponentState ComponentState() const { return m_state; }
    bool InState(TComponentState s) const { return (m_state & s) != 0; }
    void SetLoading(bool loading);
    void SetDesigning(bool designing);

    // Called once the board description has set every property and resolved
    // every reference.
    virtual void Loaded() {}

    // Moves a component to another owner.
    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);

    // Asks to be told (through Notification) when other is destroyed, for
    // references that do not own.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Destroys the component; equivalent to delete, provided for symmetry with
    // the owner-based lifetime.
    void Free();

    // Destroys every owned component, last created first.
    void DestroyComponents();

protected:
    // opRemove: comp is being destroyed; clear every reference to it.
    virtual void Notification(TComponent* comp, TOperation op);
    // Marks the component as being destroyed and tells everybody who holds a
    // reference. Destructors of derived classes call it first.
    void Destroying();

private:
    void NotifyRemoval();

    TComponent* m_owner = nullptr;
    std::string m_name;
    std::intptr_t m_tag = 0;
    std::vector<TComponent*> m_components;
    std::vector<TComponent*> m_freeNotifies;
    TComponentState m_state = 0;
    bool m_removalNotified = false;
};

}  // namespace kx
