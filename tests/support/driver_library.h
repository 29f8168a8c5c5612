#pragma once

// Checks the driver library tests share: whether the process holds the
// library, and whether CTest started the suite with the variant it expects.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "driver/quordev.h"

namespace kx::test {

// The handle of the driver library if this process has it loaded, without
// loading it or changing its reference count.
inline void* LoadedDriver() {
    void* handle = dlopen(DriverLibraryName, RTLD_NOW | RTLD_NOLOAD);
    if (handle != nullptr) {
        dlclose(handle);
    }
    return handle;
}

// Checks that the environment CTest prepares for a suite is in place, so that a
// wrongly started run fails with a reason instead of testing the wrong thing.
inline void ExpectSearchPathEndsWith(const std::string& folder) {
    const char* path = std::getenv("LD_LIBRARY_PATH");
    ASSERT_NE(path, nullptr) << "run this suite through ctest, which sets LD_LIBRARY_PATH";
    const std::string value = path;
    ASSERT_TRUE(value.size() >= folder.size() &&
                value.compare(value.size() - folder.size(), folder.size(), folder) == 0)
        << "LD_LIBRARY_PATH is '" << value << "', expected the test drivers' folder '" << folder << "'";
}

}  // namespace kx::test
