#pragma once

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/component.h"
#include "platform/types.h"

namespace kx {

class TForm;
class TPicture;

using TJson = nlohmann::ordered_json;

// A board description that cannot be applied. The message names the
// component and the property at fault.
class EDescriptionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TReadContext;

// Sets one property of a component from its value in the description.
using TPropertySetter = std::function<void(TComponent& target, const TJson& value, TReadContext& ctx)>;

// What the reader knows of a class: how to make one and its published
// properties. Parent names the class whose properties it inherits; a class
// without a factory only lends its properties.
struct TClassInfo {
    std::string Name;
    std::string Parent;
    std::function<TComponent*(TComponent* owner)> Create;
    std::map<std::string, TPropertySetter> Properties;
    // How a child is attached to a component of this class (controls get a
    // parent, menu items are added to their menu).
    std::function<void(TComponent& parent, TComponent& child)> AddChild;
};

class TClassRegistry {
public:
    TClassInfo& Register(const std::string& name, const std::string& parent,
                         std::function<TComponent*(TComponent*)> create = nullptr);
    const TClassInfo* Find(const std::string& name) const;
    // Looks through the class and the classes it inherits from.
    const TPropertySetter* FindProperty(const TClassInfo& cls, const std::string& property) const;
    const std::function<void(TComponent&, TComponent&)>* FindAddChild(const TClassInfo& cls) const;

private:
    std::map<std::string, std::unique_ptr<TClassInfo>> m_classes;
};

// The root form's published handlers, by name.
using THandlerTable = std::map<std::string, TNotifyEvent>;
// Returns the bytes of a picture stored with the description.
using TAssetLoader = std::function<std::vector<unsigned char>(const std::string& name)>;

class TReadContext {
public:
    TReadContext(TForm& root, const THandlerTable& handlers, TAssetLoader assets)
        : m_root(root), m_handlers(handlers), m_assets(std::move(assets)) {}

    TForm& Root() const { return m_root; }
    // A component of the description by name (the root included), or nullptr.
    TComponent* FindComponent(const std::string& name) const;
    // Runs after every component exists (for references).
    void Defer(std::function<void()> fixup) { m_fixups.push_back(std::move(fixup)); }
    TNotifyEvent Handler(const std::string& name) const;
    std::vector<unsigned char> Asset(const std::string& name) const;

    // Where the reader is, for messages: "BoardImage1.Stretch".
    std::string m_component;
    std::string m_property;
    [[noreturn]] void Fail(const std::string& what) const;

private:
    friend void ReadDescription(TForm&, const std::string&, const TClassRegistry&, const THandlerTable&,
                                TAssetLoader);
    TForm& m_root;
    const THandlerTable& m_handlers;
    TAssetLoader m_assets;
    std::vector<std::function<void()>> m_fixups;
};

// Applies a description to root: sets root's properties, creates every
// component (owned by root) with its properties in the order given, attaches
// children in order, resolves references and binds events after every
// component exists, then calls Loaded on everything. OnCreate is the
// caller's to run afterwards.
void ReadDescription(TForm& root, const std::string& json, const TClassRegistry& registry,
                     const THandlerTable& handlers, TAssetLoader assets);

// Value readers for property setters; each fails with a clear message.
namespace prop {
int Int(const TJson& v, TReadContext& ctx);
bool Bool(const TJson& v, TReadContext& ctx);
std::string String(const TJson& v, TReadContext& ctx);
std::vector<std::string> Strings(const TJson& v, TReadContext& ctx);
TColor Color(const TJson& v, TReadContext& ctx);
template <typename E>
E Enum(const TJson& v, TReadContext& ctx, const std::vector<std::pair<const char*, E>>& values) {
    const std::string s = String(v, ctx);
    for (const auto& [name, value] : values) {
        if (s == name) {
            return value;
        }
    }
    ctx.Fail("unknown value \"" + s + "\"");
}
// A set of anchor names.
TAnchors Anchors(const TJson& v, TReadContext& ctx);
// Reads a reference by name; the assignment runs once every component exists.
template <typename T>
void Reference(const TJson& v, TReadContext& ctx, std::function<void(T*)> assign) {
    if (v.is_null()) {
        assign(nullptr);
        return;
    }
    const std::string name = String(v, ctx);
    const std::string component = ctx.m_component;
    const std::string property = ctx.m_property;
    ctx.Defer([&ctx, name, component, property, assign] {
        ctx.m_component = component;
        ctx.m_property = property;
        TComponent* c = ctx.FindComponent(name);
        if (c == nullptr) {
            ctx.Fail("refers to \"" + name + "\", which does not exist");
        }
        T* t = dynamic_cast<T*>(c);
        if (t == nullptr) {
            ctx.Fail("refers to \"" + name + "\", a " + c->ClassName() + ", which is not of the right class");
        }
        assign(t);
    });
}
// Binds an event to a handler of the root form by name. The handler table is
// complete before reading starts, so this binds at once.
TNotifyEvent Event(const TJson& v, TReadContext& ctx);
// Loads a picture by asset name.
void Picture(const TJson& v, TReadContext& ctx, TPicture& target);
}  // namespace prop

// Registers the platform's own classes (forms, panels, standard controls,
// menus) with their published properties.
void RegisterPlatformClasses(TClassRegistry& registry);

}  // namespace kx
