#pragma once

#include "common/unique_resource.h"

#include <windows.h>

#include <string>

namespace setip::vendor {

// How a vendor library given by its bare name is found. Either way only two folders are searched, the program's
// own and then the system folder, never the current folder or PATH, so that a planted DLL cannot get in.
enum class LibrarySearch {
    loaderFlags,  // the loader searches them itself: Windows 8 on, and Windows 7 with update KB2533623
    fullPath,     // the program finds the file there and loads it by its full path: an un-updated Windows 7
};

// The way this system's loader allows.
LibrarySearch librarySearchOfSystem();

// The full path of a bare file name in the program's folder or else the system folder, or empty when neither has it.
std::wstring installedPathOf(const std::wstring& fileName);

// A loaded DLL, unloaded when this goes.
using LoadedLibrary = UniqueResource<PointerHandleTraits<HMODULE, ::FreeLibrary>>;

// Loads a DLL by bare name from those two folders, or by its path; throws PrinterFailure saying why it cannot.
LoadedLibrary loadLibrary(const std::wstring& fileName, LibrarySearch search = librarySearchOfSystem());

}  // namespace setip::vendor
