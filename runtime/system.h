// What the runtime needs from the operating system, one implementation per
// system (runtime/posix, runtime/win32), chosen when the build is configured.
#pragma once

#include <cstdint>
#include <string>

namespace rt::system {

// --- Modules (the late binder) ----------------------------------------------

using ModuleHandle = void*;

// A module the process has loaded already, with a reference of its own so
// that functions found in it stay valid; null when it is not loaded.
ModuleHandle ReferencePresentModule(const std::string& name);
// Loads `name`; null when it cannot be loaded.
ModuleHandle LoadModule(const std::string& name);
void ReleaseModule(ModuleHandle module);
// The export `name`, or the export with ordinal `ordinal` when `byOrdinal`;
// null when there is none (systems without ordinals find none).
void* FindExport(ModuleHandle module, const std::string& name);
void* FindExportByOrdinal(ModuleHandle module, unsigned ordinal);

// --- The process ------------------------------------------------------------

// The system's message box with an error icon, for the fatal-error message
// before the program installs a reporter of its own (code-page-936 texts).
// Linux has none: nothing is shown.
void ShowErrorBox(const std::string& text, const std::string& caption);
// True on the thread that started the process.
bool OnMainThread();
// For a thread that must do nothing more while another one ends the process.
[[noreturn]] void WaitForever();
// Freed blocks of a megabyte or more are given back to the system at once.
void ReturnLargeBlocks();
// `codeAddress` as an offset into its loaded module.
std::uintptr_t ModuleOffset(const void* codeAddress);

}  // namespace rt::system
