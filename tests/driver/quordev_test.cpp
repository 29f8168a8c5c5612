// The driver binding against real libraries. Each suite needs the dynamic
// linker's search path set up for it by CTest (see CMakeLists.txt beside this
// file) and runs each of its tests in a fresh process, so a library loaded by
// one test is never seen by another.

#include "driver/quordev.h"
#include "support/driver_library.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using kx::DriverLibraryName;
using kx::test::ExpectSearchPathEndsWith;
using kx::test::LoadedDriver;

std::int32_t FortyTwo() {
    return 42;
}
void Marker() {}

// The exported names, written out independently of the binding's own table, with
// the reference each one must end up in.
struct TExpectedEntry {
    const char* Name;
    void* (*Read)();
};

template <auto& Reference>
void* ReadReference() {
    return reinterpret_cast<void*>(Reference);
}

const TExpectedEntry ExpectedEntries[] = {
    {"GetNumCards", &ReadReference<kx::GetNumCards>},
    {"QueryCardInfo", &ReadReference<kx::QueryCardInfo>},
    {"QueryBARBase", &ReadReference<kx::QueryBARBase>},
    {"WaitForIRQ", &ReadReference<kx::WaitForIRQ>},
    {"COSWaitForIRQ", &ReadReference<kx::COSWaitForIRQ>},
    {"WDGHandleIRQ", &ReadReference<kx::WDGHandleIRQ>},
    {"AbortRequest", &ReadReference<kx::AbortRequest>},
    {"CloseCard", &ReadReference<kx::CloseCard>},
    {"WDGInit", &ReadReference<kx::WDGInit>},
    {"WDGSetTimeout", &ReadReference<kx::WDGSetTimeout>},
    {"WDGSetResetDuration", &ReadReference<kx::WDGSetResetDuration>},
    {"WDGPet", &ReadReference<kx::WDGPet>},
    {"WDGReadTemp", &ReadReference<kx::WDGReadTemp>},
    {"WDGReadStatus", &ReadReference<kx::WDGReadStatus>},
    {"WDGStart", &ReadReference<kx::WDGStart>},
    {"WDGStop", &ReadReference<kx::WDGStop>},
    {"EmergencyReboot", &ReadReference<kx::EmergencyReboot>},
    {"InPortB", &ReadReference<kx::InPortB>},
    {"OutPortB", &ReadReference<kx::OutPortB>},
    {"InPort", &ReadReference<kx::InPort>},
    {"OutPort", &ReadReference<kx::OutPort>},
    {"InPortL", &ReadReference<kx::InPortL>},
    {"OutPortL", &ReadReference<kx::OutPortL>},
    {"InPortDWord", &ReadReference<kx::InPortDWord>},
    {"OutPortDWord", &ReadReference<kx::OutPortDWord>},
    {"RelInPortB", &ReadReference<kx::RelInPortB>},
    {"RelOutPortB", &ReadReference<kx::RelOutPortB>},
    {"RelInPort", &ReadReference<kx::RelInPort>},
    {"RelOutPort", &ReadReference<kx::RelOutPort>},
    {"RelInPortL", &ReadReference<kx::RelInPortL>},
    {"RelOutPortL", &ReadReference<kx::RelOutPortL>},
    {"RelInPortDWord", &ReadReference<kx::RelInPortDWord>},
    {"RelOutPortDWord", &ReadReference<kx::RelOutPortDWord>},
};

// Drops every reference the process holds on the driver library, which unloads
// it, and returns how many references there were: one per successful load. The
// binding's references dangle afterwards, so this ends a test.
int ReleaseDriverReferences() {
    int references = 0;
    while (void* handle = dlopen(DriverLibraryName, RTLD_NOW | RTLD_NOLOAD)) {
        dlclose(handle);
        dlclose(handle);
        ++references;
        if (references > 100) {
            break;
        }
    }
    kx::ResetDriverBindingForTesting();
    return references;
}

class DriverBindingTest : public ::testing::Test {
protected:
    void SetUp() override { kx::ResetDriverBindingForTesting(); }
    void TearDown() override { kx::ResetDriverBindingForTesting(); }
};

class NoDriverLibrary : public DriverBindingTest {
protected:
    void SetUp() override {
        DriverBindingTest::SetUp();
        ExpectSearchPathEndsWith("drivers/none");
    }
};

TEST_F(NoDriverLibrary, LoadReturnsQuietlyWithEverythingEmpty) {
    kx::LoadDriverLibrary();
    kx::LoadDriverLibrary();

    EXPECT_FALSE(kx::DriverAvailable());
    for (const TExpectedEntry& entry : ExpectedEntries) {
        EXPECT_EQ(entry.Read(), nullptr) << entry.Name;
    }
    EXPECT_EQ(kx::DriverCardCount(), 0);
}

TEST_F(NoDriverLibrary, FailedLoadLeavesReferencesAsTheyWere) {
    kx::GetNumCards = &FortyTwo;
    kx::WDGPet = &Marker;

    kx::LoadDriverLibrary();

    EXPECT_EQ(kx::GetNumCards, &FortyTwo);
    EXPECT_EQ(kx::WDGPet, &Marker);
    EXPECT_EQ(kx::RelOutPortDWord, nullptr);
    EXPECT_FALSE(kx::DriverAvailable());
}

class CorruptDriverLibrary : public DriverBindingTest {
protected:
    void SetUp() override {
        DriverBindingTest::SetUp();
        ExpectSearchPathEndsWith("drivers/corrupt");
    }
};

TEST_F(CorruptDriverLibrary, FileThatIsNoLibraryCountsAsMissing) {
    kx::GetNumCards = &FortyTwo;

    kx::LoadDriverLibrary();

    EXPECT_FALSE(kx::DriverAvailable());
    EXPECT_EQ(kx::GetNumCards, &FortyTwo);
    EXPECT_EQ(LoadedDriver(), nullptr);

    kx::GetNumCards = nullptr;
    EXPECT_EQ(kx::DriverCardCount(), 0);
    EXPECT_FALSE(kx::DriverAvailable());
}

class CompleteDriverLibrary : public DriverBindingTest {
protected:
    void SetUp() override {
        DriverBindingTest::SetUp();
        ExpectSearchPathEndsWith("drivers/complete");
    }
};

TEST_F(CompleteDriverLibrary, EveryReferenceHoldsTheEntryPointOfItsName) {
    kx::LoadDriverLibrary();

    ASSERT_TRUE(kx::DriverAvailable());
    void* driver = LoadedDriver();
    ASSERT_NE(driver, nullptr);
    for (const TExpectedEntry& entry : ExpectedEntries) {
        void* exported = dlsym(driver, entry.Name);
        ASSERT_NE(exported, nullptr) << entry.Name;
        EXPECT_EQ(entry.Read(), exported) << entry.Name;
    }
}

TEST_F(CompleteDriverLibrary, CardCountComesFromTheDriver) {
    EXPECT_EQ(kx::DriverCardCount(), 3);
    EXPECT_TRUE(kx::DriverAvailable());
}

TEST_F(CompleteDriverLibrary, FurtherCallsNeitherLookUpNorLoadAgain) {
    kx::LoadDriverLibrary();
    ASSERT_TRUE(kx::DriverAvailable());

    // A lookup would overwrite these with the library's addresses again.
    kx::GetNumCards = &FortyTwo;
    kx::RelOutPortDWord = nullptr;
    kx::LoadDriverLibrary();
    EXPECT_EQ(kx::DriverCardCount(), 42);
    EXPECT_EQ(kx::RelOutPortDWord, nullptr);
    EXPECT_TRUE(kx::DriverAvailable());

    EXPECT_EQ(ReleaseDriverReferences(), 1) << "the library was loaded more than once";
}

class PartialDriverLibrary : public DriverBindingTest {
protected:
    void SetUp() override {
        DriverBindingTest::SetUp();
        ExpectSearchPathEndsWith("drivers/partial");
    }
};

TEST_F(PartialDriverLibrary, FoundEntryPointsAreUsableAndOnlyTheMissingOneIsEmpty) {
    kx::LoadDriverLibrary();

    EXPECT_FALSE(kx::DriverAvailable());
    void* driver = LoadedDriver();
    ASSERT_NE(driver, nullptr);
    for (const TExpectedEntry& entry : ExpectedEntries) {
        EXPECT_EQ(entry.Read(), dlsym(driver, entry.Name)) << entry.Name;
    }
    EXPECT_EQ(kx::RelOutPortDWord, nullptr);
    EXPECT_NE(kx::RelInPortDWord, nullptr);
    EXPECT_EQ(kx::DriverCardCount(), 2);
}

TEST_F(PartialDriverLibrary, EachFurtherCallLoadsAndLooksUpAgain) {
    kx::LoadDriverLibrary();
    ASSERT_FALSE(kx::DriverAvailable());
    const kx::TGetNumCards driverCount = kx::GetNumCards;
    const kx::TDriverProc driverQuery = kx::QueryCardInfo;

    // The next lookup stores found and missing names alike, so all three go
    // back to what the library exports.
    kx::GetNumCards = nullptr;
    kx::QueryCardInfo = &Marker;
    kx::RelOutPortDWord = &Marker;
    kx::LoadDriverLibrary();

    EXPECT_EQ(kx::GetNumCards, driverCount);
    EXPECT_EQ(kx::QueryCardInfo, driverQuery);
    EXPECT_EQ(kx::RelOutPortDWord, nullptr);
    EXPECT_FALSE(kx::DriverAvailable());

    EXPECT_EQ(ReleaseDriverReferences(), 2) << "each call after an incomplete load loads the library";
}

class NegativeCountDriverLibrary : public DriverBindingTest {
protected:
    void SetUp() override {
        DriverBindingTest::SetUp();
        ExpectSearchPathEndsWith("drivers/negative");
    }
};

TEST_F(NegativeCountDriverLibrary, NegativeCountMeansNoCard) {
    EXPECT_EQ(kx::DriverCardCount(), 0);
    EXPECT_TRUE(kx::DriverAvailable());
    ASSERT_NE(kx::GetNumCards, nullptr);
    EXPECT_EQ(kx::GetNumCards(), -1);
}

class DriverLibraryInWorkingDirectory : public DriverBindingTest {};

TEST_F(DriverLibraryInWorkingDirectory, IsNotPickedUpOffTheSearchPath) {
    const char* path = std::getenv("LD_LIBRARY_PATH");
    ASSERT_TRUE(path != nullptr && *path == '\0')
        << "run this suite through ctest with an empty LD_LIBRARY_PATH";

    kx::LoadDriverLibrary();
    EXPECT_FALSE(kx::DriverAvailable());
    EXPECT_EQ(kx::GetNumCards, nullptr);
    EXPECT_EQ(kx::DriverCardCount(), 0);

    // Only now, so that the load above could not find it already in memory: the
    // file in the working directory is a valid driver, which a lookup there would
    // have taken.
    void* local = dlopen("./QUORDEV.dll", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(local, nullptr) << "the working directory holds no loadable QUORDEV.dll";
    EXPECT_NE(dlsym(local, "RelOutPortDWord"), nullptr);
}

}  // namespace
