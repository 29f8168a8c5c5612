#include "driver/quordev.h"

#include <array>
#include <iostream>
#include <type_traits>

#include "platform/dynamic_library.h"
#include "platform/library_probe.h"

namespace kx {

namespace {

bool g_driverAvailable = false;
// Set once the library has been loaded into this process: from then on its
// code runs here anyway, and trying it out again in a child proves nothing.
bool g_loadedHere = false;
// Set when a trial showed the library crashing or hanging: it is never
// loaded in this run, and the trial, which costs up to its deadline, is not
// repeated.
bool g_refused = false;
// Whether the user has been told why the library is not used.
bool g_reported = false;

// Stores an address from the library into one reference, converted to that
// reference's type. POSIX and Win32 both guarantee that an exported function's
// address survives the trip through void*.
template <auto& Reference>
void Store(void* address) {
    Reference = reinterpret_cast<std::remove_reference_t<decltype(Reference)>>(address);
}

struct TEntryPoint {
    const char* Name;
    void (*Assign)(void* address);
};

// The exported names, in the order in which they are looked up.
constexpr std::array<TEntryPoint, 33> EntryPoints{{
    {"GetNumCards", &Store<GetNumCards>},
    {"QueryCardInfo", &Store<QueryCardInfo>},
    {"QueryBARBase", &Store<QueryBARBase>},
    {"WaitForIRQ", &Store<WaitForIRQ>},
    {"COSWaitForIRQ", &Store<COSWaitForIRQ>},
    {"WDGHandleIRQ", &Store<WDGHandleIRQ>},
    {"AbortRequest", &Store<AbortRequest>},
    {"CloseCard", &Store<CloseCard>},
    {"WDGInit", &Store<WDGInit>},
    {"WDGSetTimeout", &Store<WDGSetTimeout>},
    {"WDGSetResetDuration", &Store<WDGSetResetDuration>},
    {"WDGPet", &Store<WDGPet>},
    {"WDGReadTemp", &Store<WDGReadTemp>},
    {"WDGReadStatus", &Store<WDGReadStatus>},
    {"WDGStart", &Store<WDGStart>},
    {"WDGStop", &Store<WDGStop>},
    {"EmergencyReboot", &Store<EmergencyReboot>},
    {"InPortB", &Store<InPortB>},
    {"OutPortB", &Store<OutPortB>},
    {"InPort", &Store<InPort>},
    {"OutPort", &Store<OutPort>},
    {"InPortL", &Store<InPortL>},
    {"OutPortL", &Store<OutPortL>},
    {"InPortDWord", &Store<InPortDWord>},
    {"OutPortDWord", &Store<OutPortDWord>},
    {"RelInPortB", &Store<RelInPortB>},
    {"RelOutPortB", &Store<RelOutPortB>},
    {"RelInPort", &Store<RelInPort>},
    {"RelOutPort", &Store<RelOutPort>},
    {"RelInPortL", &Store<RelInPortL>},
    {"RelOutPortL", &Store<RelOutPortL>},
    {"RelInPortDWord", &Store<RelInPortDWord>},
    {"RelOutPortDWord", &Store<RelOutPortDWord>},
}};

// Tries the library out in a child process; true when it may be loaded here.
// A library that crashes or hangs while loading or counting the cards would
// take the whole program with it, so it is treated as missing, with one line
// on the error stream saying why.
bool DriverLibraryIsSafe() {
    const TLibraryProbeResult probe = ProbeLibrary(DriverLibraryName, "GetNumCards", DriverProbeDeadline);
    switch (probe.Outcome) {
        case TProbeOutcome::Sound:
            return true;
        case TProbeOutcome::Missing:
            // The usual case without the driver installed; nothing to report.
            return false;
        case TProbeOutcome::CrashedLoading:
        case TProbeOutcome::CrashedInCall:
        case TProbeOutcome::HungLoading:
        case TProbeOutcome::HungInCall:
            g_refused = true;
            break;
        case TProbeOutcome::NotLoadable:
        case TProbeOutcome::ProbeFailed:
            break;
    }
    if (!g_reported) {
        g_reported = true;
        std::cerr << "kx7040-setup: driver library " << DescribeProbe(DriverLibraryName, "GetNumCards", probe)
                  << "; continuing without it" << std::endl;
    }
    return false;
}

}  // namespace

void LoadDriverLibrary() {
    if (g_driverAvailable || g_refused) {
        return;
    }
    if (!g_loadedHere && !DriverLibraryIsSafe()) {
        return;
    }
    // The handle is deliberately dropped and the library never unloaded: the
    // references point into it for the rest of the run. Loading an already
    // loaded library again only raises its reference count.
    void* module = LoadLibraryA(DriverLibraryName);
    if (module == nullptr) {
        return;
    }
    g_loadedHere = true;
    bool allFound = true;
    for (const TEntryPoint& entry : EntryPoints) {
        void* address = GetProcAddress(module, entry.Name);
        entry.Assign(address);
        allFound = allFound && address != nullptr;
    }
    g_driverAvailable = allFound;
}

bool DriverAvailable() {
    return g_driverAvailable;
}

std::int32_t DriverCardCount() {
    LoadDriverLibrary();
    if (GetNumCards == nullptr) {
        return 0;
    }
    const std::int32_t count = GetNumCards();
    return count > 0 ? count : 0;
}

void ResetDriverBindingForTesting() {
    for (const TEntryPoint& entry : EntryPoints) {
        entry.Assign(nullptr);
    }
    g_driverAvailable = false;
    g_loadedHere = false;
    g_refused = false;
    g_reported = false;
}

}  // namespace kx
