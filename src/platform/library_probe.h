#pragma once

// Trying a dynamic library out in a child process before the program itself
// loads it. A library runs its own code while it is being loaded, and a call
// into it runs more; when that code crashes or never returns, only the child
// is lost, and the program learns what happened instead of sharing the fate.

#include <chrono>
#include <cstdint>
#include <string>

namespace kx {

enum class TProbeOutcome : std::uint8_t {
    Sound,           // loaded, and the function (when exported) returned
    Missing,         // no library of that name on the search path
    NotLoadable,     // found, but not a library the platform can load
    CrashedLoading,  // the child died while the library was being loaded
    CrashedInCall,   // the child died inside the function
    HungLoading,     // loading had not finished by the deadline
    HungInCall,      // the function had not returned by the deadline
    ProbeFailed,     // no child could be started
};

struct TLibraryProbeResult {
    TProbeOutcome Outcome = TProbeOutcome::ProbeFailed;
    // The signal that ended the child, for the two Crashed outcomes; 0 when
    // the child exited on its own without reporting (also counted a crash).
    int Signal = 0;
    // Whether the library exports the function; meaningful once it loaded.
    bool FunctionFound = false;
    // What the function returned, when it did.
    std::int32_t Result = 0;
    // The loader's or the system's own words, when it gave any.
    std::string Detail;
    // How long the probe waited before it gave up on a hung child.
    std::chrono::milliseconds Deadline{0};
};

// Loads fileName in a child process, through the same library search as
// LoadLibraryA, and, when the library exports functionName, calls it there as
// a function without arguments that returns a 32-bit integer. Waits at most
// deadline for the child, then kills it. Never throws; the program's own state
// is left untouched. Where the platform offers no child processes of this
// kind, reports Sound without trying.
TLibraryProbeResult ProbeLibrary(const char* fileName, const char* functionName,
                                 std::chrono::milliseconds deadline);

// A few words for the user about a probe that did not come back Sound, naming
// the library, e.g. "QUORDEV.dll crashed while loading (signal 11)".
std::string DescribeProbe(const std::string& fileName, const std::string& functionName,
                          const TLibraryProbeResult& result);

}  // namespace kx
