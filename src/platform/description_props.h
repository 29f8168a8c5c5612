#pragma once

// Building blocks for registering published properties with the description
// reader: each wraps a setter of a component class and the value reader for
// the property's kind.

#include "platform/description.h"

namespace kx::props {

template <typename T>
T& Target(TComponent& c, TReadContext& ctx) {
    auto* t = dynamic_cast<T*>(&c);
    if (t == nullptr) {
        ctx.Fail("the property does not belong to a " + std::string(c.ClassName()));
    }
    return *t;
}

template <typename T, typename F>
TPropertySetter Int(F f) {
    return [f](TComponent& c, const TJson& v, TReadContext& ctx) { f(Target<T>(c, ctx), prop::Int(v, ctx)); };
}

template <typename T, typename F>
TPropertySetter Bool(F f) {
    return
        [f](TComponent& c, const TJson& v, TReadContext& ctx) { f(Target<T>(c, ctx), prop::Bool(v, ctx)); };
}

template <typename T, typename F>
TPropertySetter String(F f) {
    return
        [f](TComponent& c, const TJson& v, TReadContext& ctx) { f(Target<T>(c, ctx), prop::String(v, ctx)); };
}

template <typename T, typename F>
TPropertySetter Strings(F f) {
    return [f](TComponent& c, const TJson& v, TReadContext& ctx) {
        f(Target<T>(c, ctx), prop::Strings(v, ctx));
    };
}

template <typename T, typename F>
TPropertySetter Color(F f) {
    return
        [f](TComponent& c, const TJson& v, TReadContext& ctx) { f(Target<T>(c, ctx), prop::Color(v, ctx)); };
}

template <typename T, typename E, typename F>
TPropertySetter Enum(std::vector<std::pair<const char*, E>> values, F f) {
    return [f, values](TComponent& c, const TJson& v, TReadContext& ctx) {
        f(Target<T>(c, ctx), prop::Enum<E>(v, ctx, values));
    };
}

template <typename T, typename R, typename F>
TPropertySetter Reference(F f) {
    return [f](TComponent& c, const TJson& v, TReadContext& ctx) {
        T* target = &Target<T>(c, ctx);
        prop::Reference<R>(v, ctx, [f, target](R* r) { f(*target, r); });
    };
}

template <typename T, typename F>
TPropertySetter Event(F f) {
    return
        [f](TComponent& c, const TJson& v, TReadContext& ctx) { f(Target<T>(c, ctx), prop::Event(v, ctx)); };
}

// Accepted and ignored: properties that only matter to a form designer.
inline TPropertySetter Ignored() {
    return [](TComponent&, const TJson&, TReadContext&) {};
}

}  // namespace kx::props
