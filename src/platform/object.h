#pragma once

#include <string>
#include <typeinfo>

namespace kx {

// Root of every class of the program. ClassName is the exact class name, used by
// the board description reader and by the "exactly of class" tests some
// components make.
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    virtual const char* ClassName() const { return "TObject"; }
};

// True when obj is of class T itself, not of a class derived from it.
template <typename T>
bool IsExactly(const TObject* obj) {
    return obj != nullptr && typeid(*obj) == typeid(T);
}

// True when obj is of class T or of a class derived from it.
template <typename T>
bool Is(const TObject* obj) {
    return dynamic_cast<const T*>(obj) != nullptr;
}

}  // namespace kx

// Declares the exact class name of a class; put it in the public part.
#define KX_CLASS(Name)                       \
    const char* ClassName() const override { \
        return #Name;                        \
    }
