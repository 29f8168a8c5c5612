#include "platform/description.h"

#include <climits>

#include "platform/form.h"
#include "platform/graphics.h"
#include "platform/menus.h"

namespace kx {

TClassInfo& TClassRegistry::Register(const std::string& name, const std::string& parent,
                                     std::function<TComponent*(TComponent*)> create) {
    auto info = std::make_unique<TClassInfo>();
    info->Name = name;
    info->Parent = parent;
    info->Create = std::move(create);
    TClassInfo& ref = *info;
    m_classes[name] = std::move(info);
    return ref;
}

const TClassInfo* TClassRegistry::Find(const std::string& name) const {
    auto it = m_classes.find(name);
    return it == m_classes.end() ? nullptr : it->second.get();
}

const TPropertySetter* TClassRegistry::FindProperty(const TClassInfo& cls,
                                                    const std::string& property) const {
    for (const TClassInfo* c = &cls; c != nullptr; c = c->Parent.empty() ? nullptr : Find(c->Parent)) {
        auto it = c->Properties.find(property);
        if (it != c->Properties.end()) {
            return &it->second;
        }
    }
    return nullptr;
}

const std::function<void(TComponent&, TComponent&)>* TClassRegistry::FindAddChild(
    const TClassInfo& cls) const {
    for (const TClassInfo* c = &cls; c != nullptr; c = c->Parent.empty() ? nullptr : Find(c->Parent)) {
        if (c->AddChild) {
            return &c->AddChild;
        }
    }
    return nullptr;
}

TComponent* TReadContext::FindComponent(const std::string& name) const {
    if (!name.empty() && name == m_root.Name()) {
        return &m_root;
    }
    return m_root.FindComponent(name);
}

TNotifyEvent TReadContext::Handler(const std::string& name) const {
    auto it = m_handlers.find(name);
    if (it == m_handlers.end()) {
        Fail("names the handler \"" + name + "\", which the main window does not have");
    }
    return it->second;
}

std::vector<unsigned char> TReadContext::Asset(const std::string& name) const {
    if (!m_assets) {
        Fail("names the picture \"" + name + "\", but no pictures come with this description");
    }
    try {
        return m_assets(name);
    } catch (const std::exception& e) {
        Fail("picture \"" + name + "\": " + e.what());
    }
}

void TReadContext::Fail(const std::string& what) const {
    std::string where = m_component.empty() ? std::string("the description") : m_component;
    if (!m_property.empty()) {
        where += "." + m_property;
    }
    throw EDescriptionError("Board description, " + where + ": " + what);
}

namespace prop {

int Int(const TJson& v, TReadContext& ctx) {
    if (!v.is_number_integer()) {
        ctx.Fail("expected a whole number, found " + v.dump());
    }
    if (v.is_number_unsigned()) {
        const auto u = v.get<std::uint64_t>();
        if (u > static_cast<std::uint64_t>(INT_MAX)) {
            ctx.Fail("number " + v.dump() + " is out of range");
        }
        return static_cast<int>(u);
    }
    const auto i = v.get<std::int64_t>();
    if (i < INT_MIN || i > INT_MAX) {
        ctx.Fail("number " + v.dump() + " is out of range");
    }
    return static_cast<int>(i);
}

bool Bool(const TJson& v, TReadContext& ctx) {
    if (!v.is_boolean()) {
        ctx.Fail("expected true or false, found " + v.dump());
    }
    return v.get<bool>();
}

std::string String(const TJson& v, TReadContext& ctx) {
    if (!v.is_string()) {
        ctx.Fail("expected a string, found " + v.dump());
    }
    return v.get<std::string>();
}

std::vector<std::string> Strings(const TJson& v, TReadContext& ctx) {
    if (!v.is_array()) {
        ctx.Fail("expected a list of strings, found " + v.dump());
    }
    std::vector<std::string> out;
    for (const TJson& e : v) {
        if (!e.is_string()) {
            ctx.Fail("expected a list of strings, found the element " + e.dump());
        }
        out.push_back(e.get<std::string>());
    }
    return out;
}

TColor Color(const TJson& v, TReadContext& ctx) {
    if (v.is_number_integer()) {
        const auto i = v.get<std::int64_t>();
        if (i < INT32_MIN || i > static_cast<std::int64_t>(UINT32_MAX)) {
            ctx.Fail("colour " + v.dump() + " is out of range");
        }
        return static_cast<TColor>(static_cast<std::uint32_t>(i));
    }
    static const std::vector<std::pair<const char*, TColor>> names = {{"clBlack", clBlack},
                                                                      {"clMaroon", clMaroon},
                                                                      {"clGreen", clGreen},
                                                                      {"clNavy", clNavy},
                                                                      {"clGray", clGray},
                                                                      {"clSilver", clSilver},
                                                                      {"clRed", clRed},
                                                                      {"clLime", clLime},
                                                                      {"clYellow", clYellow},
                                                                      {"clBlue", clBlue},
                                                                      {"clFuchsia", clFuchsia},
                                                                      {"clAqua", clAqua},
                                                                      {"clWhite", clWhite},
                                                                      {"clBtnFace", clBtnFace},
                                                                      {"clWindow", clWindow},
                                                                      {"clWindowText", clWindowText},
                                                                      {"clBtnShadow", clBtnShadow},
                                                                      {"clBtnText", clBtnText},
                                                                      {"clGrayText", clGrayText},
                                                                      {"clBtnHighlight", clBtnHighlight}};
    return Enum<TColor>(v, ctx, names);
}

TAnchors Anchors(const TJson& v, TReadContext& ctx) {
    TAnchors a = 0;
    for (const std::string& s : Strings(v, ctx)) {
        if (s == "akLeft")
            a |= akLeft;
        else if (s == "akTop")
            a |= akTop;
        else if (s == "akRight")
            a |= akRight;
        else if (s == "akBottom")
            a |= akBottom;
        else
            ctx.Fail("unknown anchor \"" + s + "\"");
    }
    return a;
}

TNotifyEvent Event(const TJson& v, TReadContext& ctx) {
    if (v.is_null()) {
        return nullptr;
    }
    return ctx.Handler(String(v, ctx));
}

void Picture(const TJson& v, TReadContext& ctx, TPicture& target) {
    const std::string name = String(v, ctx);
    const std::vector<unsigned char> bytes = ctx.Asset(name);
    try {
        target.LoadFromBytes(bytes);
    } catch (const std::exception& e) {
        ctx.Fail("picture \"" + name + "\" cannot be read: " + e.what());
    }
}

}  // namespace prop

namespace {

struct Reader {
    const TClassRegistry& registry;
    TReadContext& ctx;
    std::vector<TComponent*> created;

    void SetProperties(TComponent& target, const TClassInfo& cls, const TJson& node) {
        if (!node.contains("properties")) {
            return;
        }
        const TJson& props = node["properties"];
        if (!props.is_object()) {
            ctx.m_property.clear();
            ctx.Fail("\"properties\" must be an object");
        }
        for (auto it = props.begin(); it != props.end(); ++it) {
            ctx.m_property = it.key();
            const TPropertySetter* setter = registry.FindProperty(cls, it.key());
            if (setter == nullptr) {
                ctx.Fail("a " + cls.Name + " has no property \"" + it.key() + "\"");
            }
            try {
                (*setter)(target, it.value(), ctx);
            } catch (const EDescriptionError&) {
                throw;
            } catch (const std::exception& e) {
                ctx.Fail(e.what());
            }
        }
        ctx.m_property.clear();
    }

    void Children(TComponent& parent, const TClassInfo& parentClass, const TJson& node) {
        if (!node.contains("children")) {
            return;
        }
        const TJson& children = node["children"];
        if (!children.is_array()) {
            ctx.Fail("\"children\" must be a list");
        }
        for (const TJson& child : children) {
            Component(parent, parentClass, child);
        }
    }

    void Component(TComponent& parent, const TClassInfo& parentClass, const TJson& node) {
        ctx.m_property.clear();
        if (!node.is_object()) {
            ctx.Fail("a child must be an object, found " + node.dump());
        }
        const std::string name =
            node.contains("name") && node["name"].is_string() ? node["name"].get<std::string>() : "";
        ctx.m_component = name.empty() ? "a child of " + parent.Name() : name;
        if (name.empty()) {
            ctx.Fail("has no name");
        }
        if (!node.contains("class") || !node["class"].is_string()) {
            ctx.Fail("has no class");
        }
        const std::string className = node["class"].get<std::string>();
        const TClassInfo* cls = registry.Find(className);
        if (cls == nullptr || !cls->Create) {
            ctx.Fail("unknown class \"" + className + "\"");
        }
        if (ctx.FindComponent(name) != nullptr) {
            ctx.Fail("the name is used twice");
        }
        const auto* add = registry.FindAddChild(parentClass);
        if (add == nullptr) {
            ctx.Fail("a " + parentClass.Name + " cannot hold children");
        }
        TComponent* c = cls->Create(&ctx.Root());
        created.push_back(c);
        c->SetLoading(true);
        c->SetName(name);
        try {
            (*add)(parent, *c);
        } catch (const EDescriptionError&) {
            throw;
        } catch (const std::exception& e) {
            ctx.Fail(e.what());
        }
        SetProperties(*c, *cls, node);
        Children(*c, *cls, node);
        ctx.m_component = name;
    }
};

}  // namespace

void ReadDescription(TForm& root, const std::string& json, const TClassRegistry& registry,
                     const THandlerTable& handlers, TAssetLoader assets) {
    TReadContext ctx(root, handlers, std::move(assets));
    TJson doc;
    try {
        doc = TJson::parse(json);
    } catch (const std::exception& e) {
        throw EDescriptionError(std::string("Board description: not valid JSON: ") + e.what());
    }
    if (!doc.is_object() || !doc.contains("class") || !doc["class"].is_string()) {
        throw EDescriptionError("Board description: the top must be an object with a \"class\"");
    }
    const std::string rootClass = doc["class"].get<std::string>();
    const TClassInfo* cls = registry.Find(rootClass);
    if (cls == nullptr) {
        throw EDescriptionError("Board description: unknown class \"" + rootClass + "\" of the main window");
    }
    if (rootClass != root.ClassName()) {
        throw EDescriptionError("Board description: the main window is a " + std::string(root.ClassName()) +
                                ", not a " + rootClass);
    }
    Reader reader{registry, ctx, {}};
    root.SetLoading(true);
    try {
        if (doc.contains("name")) {
            root.SetName(prop::String(doc["name"], ctx));
        }
        ctx.m_component = root.Name();
        reader.SetProperties(root, *cls, doc);
        reader.Children(root, *cls, doc);
        ctx.m_property.clear();
        for (auto& fixup : ctx.m_fixups) {
            fixup();
        }
    } catch (...) {
        root.SetLoading(false);
        for (TComponent* c : reader.created) {
            c->SetLoading(false);
        }
        throw;
    }
    root.SetLoading(false);
    for (TComponent* c : reader.created) {
        c->SetLoading(false);
    }
    root.Loaded();
    for (TComponent* c : reader.created) {
        c->Loaded();
    }
}

}  // namespace kx
