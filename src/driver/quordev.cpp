#include "driver/quordev.h"

#include <array>
#include <type_traits>

#include "platform/dynamic_library.h"

namespace kx {

namespace {

bool g_driverAvailable = false;

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

}  // namespace

void LoadDriverLibrary() {
    if (g_driverAvailable) {
        return;
    }
    // The handle is deliberately dropped and the library never unloaded: the
    // references point into it for the rest of the run. Loading an already
    // loaded library again only raises its reference count.
    void* module = LoadLibraryA(DriverLibraryName);
    if (module == nullptr) {
        return;
    }
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
}

}  // namespace kx
