// Driver libraries that crash or hang, tried out in a child process before the
// binding loads them: each must leave the test process alive, the binding as
// if no library were there, and one line on the error stream saying what
// happened. Every suite runs with its variant on the search path (see
// CMakeLists.txt beside this file), each test in a process of its own.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "driver/quordev.h"
#include "platform/library_probe.h"
#include "support/driver_library.h"

namespace {

using kx::DriverLibraryName;
using kx::test::ExpectSearchPathEndsWith;
using kx::test::LoadedDriver;

void ExpectNothingBound() {
    EXPECT_FALSE(kx::DriverAvailable());
    EXPECT_EQ(kx::GetNumCards, nullptr);
    EXPECT_EQ(kx::QueryCardInfo, nullptr);
    EXPECT_EQ(kx::RelOutPortDWord, nullptr);
    EXPECT_EQ(LoadedDriver(), nullptr) << "the library was loaded into the program";
}

// Loads through the binding twice and returns what went to the error stream.
std::string LoadTwiceCapturingErrors() {
    ::testing::internal::CaptureStderr();
    kx::LoadDriverLibrary();
    kx::LoadDriverLibrary();
    const std::int32_t cards = kx::DriverCardCount();
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(cards, 0);
    return errors;
}

struct HostileCase {
    const char* Folder;
    const char* Message;  // the whole line on the error stream
    bool Logs = true;     // whether the library notes each trial
};

// How many times the hostile library was tried: it appends a byte to this
// file each time, just before it misbehaves.
class TryLog {
public:
    TryLog() : m_path(::testing::TempDir() + "quordev-tries-" + std::to_string(getpid())) {
        std::remove(m_path.c_str());
        setenv("FAKE_QUORDEV_LOG", m_path.c_str(), 1);
    }
    ~TryLog() {
        unsetenv("FAKE_QUORDEV_LOG");
        std::remove(m_path.c_str());
    }
    long Tries() const {
        std::ifstream in(m_path, std::ios::binary | std::ios::ate);
        return in ? static_cast<long>(in.tellg()) : 0;
    }

private:
    std::string m_path;
};

void CheckRefused(const HostileCase& c) {
    kx::ResetDriverBindingForTesting();
    ExpectSearchPathEndsWith(c.Folder);
    TryLog log;
    const std::string errors = LoadTwiceCapturingErrors();
    ExpectNothingBound();
    // One line, however often the binding is asked, and one trial: a library
    // that crashed or hung is not tried again in the same run.
    EXPECT_EQ(errors, std::string(c.Message) + "\n");
    if (c.Logs) {
        EXPECT_EQ(log.Tries(), 1);
    }
    kx::ResetDriverBindingForTesting();
}

TEST(CrashingOnLoadDriverLibrary, IsRefusedAndTheProgramGoesOn) {
    CheckRefused({"drivers/crash_on_load",
                  "kx7040-setup: driver library QUORDEV.dll crashed while loading (signal 11); continuing "
                  "without it"});
}

TEST(CrashingCountDriverLibrary, IsRefusedAndTheProgramGoesOn) {
    CheckRefused({"drivers/crash_in_count",
                  "kx7040-setup: driver library QUORDEV.dll crashed in GetNumCards (signal 11); continuing "
                  "without it"});
}

TEST(HangingCountDriverLibrary, IsRefusedAfterTheDeadlineAndNotTriedAgain) {
    CheckRefused({"drivers/hang_in_count",
                  "kx7040-setup: driver library QUORDEV.dll did not return from GetNumCards within 2000 ms; "
                  "continuing without it"});
}

TEST(TruncatedDriverLibrary, IsRefusedAndTheProgramGoesOn) {
    CheckRefused({"drivers/truncated",
                  "kx7040-setup: driver library QUORDEV.dll crashed while loading (signal 7); continuing "
                  "without it",
                  false});
}

TEST(CorruptDriverLibraryReport, IsReportedOnceAsNotLoadable) {
    kx::ResetDriverBindingForTesting();
    ExpectSearchPathEndsWith("drivers/corrupt");
    const std::string errors = LoadTwiceCapturingErrors();
    ExpectNothingBound();
    EXPECT_EQ(errors.rfind("kx7040-setup: driver library QUORDEV.dll is not a loadable library (", 0), 0u)
        << errors;
    EXPECT_NE(errors.find("; continuing without it\n"), std::string::npos) << errors;
    EXPECT_EQ(errors.find('\n'), errors.size() - 1) << "more than one line: " << errors;
}

TEST(NoDriverLibraryReport, MissingLibraryIsReportedNowhere) {
    kx::ResetDriverBindingForTesting();
    ExpectSearchPathEndsWith("drivers/none");
    EXPECT_EQ(LoadTwiceCapturingErrors(), "");
    ExpectNothingBound();
}

TEST(CountlessDriverLibrary, IsLoadedWithTheOtherNamesAndCountsNoCard) {
    kx::ResetDriverBindingForTesting();
    ExpectSearchPathEndsWith("drivers/no_count");
    EXPECT_EQ(LoadTwiceCapturingErrors(), "");
    EXPECT_FALSE(kx::DriverAvailable());
    EXPECT_EQ(kx::GetNumCards, nullptr);
    void* driver = LoadedDriver();
    ASSERT_NE(driver, nullptr) << "a library without GetNumCards is still sound and loaded";
    EXPECT_EQ(reinterpret_cast<void*>(kx::QueryCardInfo), dlsym(driver, "QueryCardInfo"));
    EXPECT_EQ(reinterpret_cast<void*>(kx::RelOutPortDWord), dlsym(driver, "RelOutPortDWord"));
}

// The probe itself, against the complete library and names that do not exist.
TEST(LibraryProbe, ReportsWhatTheFunctionReturnedWithoutLoadingHere) {
    ExpectSearchPathEndsWith("drivers/complete");
    const kx::TLibraryProbeResult sound =
        kx::ProbeLibrary(DriverLibraryName, "GetNumCards", std::chrono::milliseconds(2000));
    EXPECT_EQ(sound.Outcome, kx::TProbeOutcome::Sound);
    EXPECT_TRUE(sound.FunctionFound);
    EXPECT_EQ(sound.Result, 3);
    EXPECT_EQ(LoadedDriver(), nullptr) << "the probe loaded the library into the program";

    const kx::TLibraryProbeResult noFunction =
        kx::ProbeLibrary(DriverLibraryName, "NoSuchEntry", std::chrono::milliseconds(2000));
    EXPECT_EQ(noFunction.Outcome, kx::TProbeOutcome::Sound);
    EXPECT_FALSE(noFunction.FunctionFound);

    const kx::TLibraryProbeResult missing =
        kx::ProbeLibrary("NOSUCHDRIVER.dll", "GetNumCards", std::chrono::milliseconds(2000));
    EXPECT_EQ(missing.Outcome, kx::TProbeOutcome::Missing);
    EXPECT_EQ(kx::ProbeLibrary("", "GetNumCards", std::chrono::milliseconds(2000)).Outcome,
              kx::TProbeOutcome::Missing);
}

}  // namespace
