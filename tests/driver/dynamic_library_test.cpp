// The platform's library loading, run with the complete test driver on the
// search path (see CMakeLists.txt beside this file).

#include "platform/dynamic_library.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

constexpr char LibraryName[] = "QUORDEV.dll";

TEST(DynamicLibrary, LoadsByBareNameThroughTheSearchPath) {
    void* module = kx::LoadLibraryA(LibraryName);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(module, dlopen(LibraryName, RTLD_NOW | RTLD_NOLOAD));
}

TEST(DynamicLibrary, NoNameLoadsNothing) {
    // dlopen would hand back the program itself for either of these.
    EXPECT_EQ(kx::LoadLibraryA(nullptr), nullptr);
    EXPECT_EQ(kx::LoadLibraryA(""), nullptr);
}

TEST(DynamicLibrary, MissingLibraryGivesNull) {
    EXPECT_EQ(kx::LoadLibraryA("NOSUCHDRIVER.dll"), nullptr);
}

TEST(DynamicLibrary, LookupMatchesExactNamesInThatModuleOnly) {
    void* module = kx::LoadLibraryA(LibraryName);
    ASSERT_NE(module, nullptr);
    ASSERT_NE(dlsym(module, "strlen"), nullptr) << "the test driver should depend on the C library";

    struct Case {
        const char* Label;
        void* Module;
        const char* Name;
        bool Found;
    };
    const Case cases[] = {
        {"exported name", module, "GetNumCards", true},
        {"other case", module, "getnumcards", false},
        {"name prefix", module, "GetNumCard", false},
        {"not exported", module, "NoSuchEntry", false},
        // Exported by the C library, not by the module: a lookup must not fall
        // through to the rest of the process.
        {"name from another library", module, "strlen", false},
        {"null module", nullptr, "strlen", false},
        {"null name", module, nullptr, false},
    };
    for (const Case& c : cases) {
        void* address = kx::GetProcAddress(c.Module, c.Name);
        EXPECT_EQ(address != nullptr, c.Found) << c.Label;
    }
    EXPECT_EQ(kx::GetProcAddress(module, "GetNumCards"), dlsym(module, "GetNumCards"));
}

}  // namespace
