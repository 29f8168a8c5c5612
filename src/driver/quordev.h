#pragma once

// Run-time binding of the board maker's driver library. The program starts and
// works without the library; when it is present, LoadDriverLibrary looks up its
// entry points and stores them in the references below, which stay empty for
// every name the library does not export.
//
// Everything here is used from the user-interface thread only.

#include <chrono>
#include <cstdint>

namespace kx {

// Looked for by this bare name through the platform's library search, never by
// a path.
inline constexpr char DriverLibraryName[] = "QUORDEV.dll";

// The number of installed cards. The library may report 0 or a negative number;
// both mean that no card is installed.
using TGetNumCards = std::int32_t (*)();

// Every other entry point. This program never calls them and does not know their
// argument lists, so they are kept untyped, like the address GetProcAddress
// returns; code that wants to call one must cast it to the driver's real
// signature first.
using TDriverProc = void (*)();

// The driver's entry points, empty until a load finds them. They are global so
// that code outside this binding can call the driver through them.
inline TGetNumCards GetNumCards = nullptr;
inline TDriverProc QueryCardInfo = nullptr;
inline TDriverProc QueryBARBase = nullptr;
inline TDriverProc WaitForIRQ = nullptr;
inline TDriverProc COSWaitForIRQ = nullptr;
inline TDriverProc WDGHandleIRQ = nullptr;
inline TDriverProc AbortRequest = nullptr;
inline TDriverProc CloseCard = nullptr;
inline TDriverProc WDGInit = nullptr;
inline TDriverProc WDGSetTimeout = nullptr;
inline TDriverProc WDGSetResetDuration = nullptr;
inline TDriverProc WDGPet = nullptr;
inline TDriverProc WDGReadTemp = nullptr;
inline TDriverProc WDGReadStatus = nullptr;
inline TDriverProc WDGStart = nullptr;
inline TDriverProc WDGStop = nullptr;
inline TDriverProc EmergencyReboot = nullptr;
inline TDriverProc InPortB = nullptr;
inline TDriverProc OutPortB = nullptr;
inline TDriverProc InPort = nullptr;
inline TDriverProc OutPort = nullptr;
inline TDriverProc InPortL = nullptr;
inline TDriverProc OutPortL = nullptr;
inline TDriverProc InPortDWord = nullptr;
inline TDriverProc OutPortDWord = nullptr;
inline TDriverProc RelInPortB = nullptr;
inline TDriverProc RelOutPortB = nullptr;
inline TDriverProc RelInPort = nullptr;
inline TDriverProc RelOutPort = nullptr;
inline TDriverProc RelInPortL = nullptr;
inline TDriverProc RelOutPortL = nullptr;
inline TDriverProc RelInPortDWord = nullptr;
inline TDriverProc RelOutPortDWord = nullptr;

// How long a child process is given to load the library and count the cards
// before the library is taken for hung.
inline constexpr std::chrono::milliseconds DriverProbeDeadline{2000};

// Loads the driver library and looks up all of its entry points. Does nothing
// once a load has found them all. When the library cannot be loaded the
// references keep whatever they held; when some names are missing, the ones
// found are stored, the rest are emptied, and the next call tries again.
//
// Before the library's code runs in this process, a child process loads it
// and calls GetNumCards. When the child crashes, or has not finished within
// DriverProbeDeadline, or the file is there but is no loadable library, the
// library is treated as missing: nothing is loaded, and one line on the error
// stream says what happened. A library that crashed or hung is not tried
// again in this run. A library that is simply not there is reported nowhere.
void LoadDriverLibrary();

// True after a load that found every entry point.
bool DriverAvailable();

// Loads the library if needed and asks it how many cards are installed. Gives 0
// when the library or its GetNumCards entry point is missing, and also when the
// driver reports a negative number, so callers can loop over the result as is.
std::int32_t DriverCardCount();

// Test seam: empties every reference and clears DriverAvailable and every
// verdict on the library, as at program start. A library loaded earlier stays
// loaded. The program itself never calls this.
void ResetDriverBindingForTesting();

}  // namespace kx
