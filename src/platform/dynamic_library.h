#pragma once

// Loading a dynamic library while the program runs and looking up what it
// exports, with the contract of the Win32 calls of the same names. Neither call
// throws or prints: a caller that can do without the library just tests the
// result for nullptr.

namespace kx {

// Loads the library fileName and returns its handle, or nullptr when it cannot
// be found or is not a loadable library. A bare file name is looked for through
// the platform's standard library search only, so a file of that name that merely
// lies in the current directory is not taken. A null or empty name fails rather
// than handing back the program itself. The handle stays valid for the rest of
// the run unless the caller unloads the library by other means.
void* LoadLibraryA(const char* fileName);

// The address that module itself, not a library it depends on, exports under
// the exact, case-sensitive name; nullptr when the name is missing there, or
// module or name is nullptr.
void* GetProcAddress(void* module, const char* name);

}  // namespace kx
