/* A stand-in for the board maker's driver library, built in several variants
 * by the test suite. Every entry point returns a value of its own so that no
 * two of them can be folded into one address by the compiler or the linker;
 * the tests compare the binding's references with these addresses one by one.
 *
 * FAKE_QUORDEV_CARDS is what GetNumCards reports. With
 * FAKE_QUORDEV_WITHOUT_REL_OUT_PORT_DWORD the last entry point is left out,
 * with FAKE_QUORDEV_WITHOUT_GET_NUM_CARDS the first one.
 *
 * The hostile variants misbehave the way a broken driver can:
 * FAKE_QUORDEV_CRASH_ON_LOAD faults in the library's constructor, while it is
 * being loaded; FAKE_QUORDEV_CRASH_IN_COUNT faults in GetNumCards;
 * FAKE_QUORDEV_HANG_IN_COUNT never returns from it. */

#if defined(FAKE_QUORDEV_CRASH_ON_LOAD) || defined(FAKE_QUORDEV_CRASH_IN_COUNT) || \
    defined(FAKE_QUORDEV_HANG_IN_COUNT)
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

/* Appends one byte to the file named by FAKE_QUORDEV_LOG, if set, just before
 * misbehaving, so that a test can count how often the library was tried. */
static void NoteTry(void) {
    const char* path = getenv("FAKE_QUORDEV_LOG");
    if (path == 0) {
        return;
    }
    int fd = open(path, O_WRONLY | O_APPEND | O_CREAT, 0600);
    if (fd >= 0) {
        (void)!write(fd, "x", 1);
        close(fd);
    }
}
#endif

/* Read through a variable, so that the compiler cannot see the null pointer
 * and drop the access as undefined. */
static int* volatile NoWhere = 0;

#if defined(FAKE_QUORDEV_CRASH_ON_LOAD)
__attribute__((constructor)) static void CrashWhileLoading(void) {
    NoteTry();
    *NoWhere = 1;
}
#endif

#if defined(FAKE_QUORDEV_CRASH_IN_COUNT)
__attribute__((visibility("default"))) int GetNumCards(void) {
    NoteTry();
    return *NoWhere;
}
#elif defined(FAKE_QUORDEV_HANG_IN_COUNT)
__attribute__((visibility("default"))) int GetNumCards(void) {
    NoteTry();
    for (;;) {
        pause();
    }
}
#elif !defined(FAKE_QUORDEV_WITHOUT_GET_NUM_CARDS)
#define FAKE_ENTRY_GET_NUM_CARDS
#endif

#define FAKE_ENTRY(name, value)                             \
    __attribute__((visibility("default"))) int name(void) { \
        return value;                                       \
    }

#ifdef FAKE_ENTRY_GET_NUM_CARDS
FAKE_ENTRY(GetNumCards, FAKE_QUORDEV_CARDS)
#endif
FAKE_ENTRY(QueryCardInfo, 102)
FAKE_ENTRY(QueryBARBase, 103)
FAKE_ENTRY(WaitForIRQ, 104)
FAKE_ENTRY(COSWaitForIRQ, 105)
FAKE_ENTRY(WDGHandleIRQ, 106)
FAKE_ENTRY(AbortRequest, 107)
FAKE_ENTRY(CloseCard, 108)
FAKE_ENTRY(WDGInit, 109)
FAKE_ENTRY(WDGSetTimeout, 110)
FAKE_ENTRY(WDGSetResetDuration, 111)
FAKE_ENTRY(WDGPet, 112)
FAKE_ENTRY(WDGReadTemp, 113)
FAKE_ENTRY(WDGReadStatus, 114)
FAKE_ENTRY(WDGStart, 115)
FAKE_ENTRY(WDGStop, 116)
FAKE_ENTRY(EmergencyReboot, 117)
FAKE_ENTRY(InPortB, 118)
FAKE_ENTRY(OutPortB, 119)
FAKE_ENTRY(InPort, 120)
FAKE_ENTRY(OutPort, 121)
FAKE_ENTRY(InPortL, 122)
FAKE_ENTRY(OutPortL, 123)
FAKE_ENTRY(InPortDWord, 124)
FAKE_ENTRY(OutPortDWord, 125)
FAKE_ENTRY(RelInPortB, 126)
FAKE_ENTRY(RelOutPortB, 127)
FAKE_ENTRY(RelInPort, 128)
FAKE_ENTRY(RelOutPort, 129)
FAKE_ENTRY(RelInPortL, 130)
FAKE_ENTRY(RelOutPortL, 131)
FAKE_ENTRY(RelInPortDWord, 132)
#ifndef FAKE_QUORDEV_WITHOUT_REL_OUT_PORT_DWORD
FAKE_ENTRY(RelOutPortDWord, 133)
#endif
