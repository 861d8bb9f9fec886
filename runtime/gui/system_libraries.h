// Windows DLLs that the programs load at run time instead of naming them in
// their import table. The system's loader resolves imported DLLs before any
// of our code runs and, for every DLL that is not one of the system's known
// DLLs, looks in the program's own folder first: a DLL planted beside the
// installer (a download folder) would be loaded in place of the system's.
// So the installer imports known DLLs only, and the others come from here,
// from the system folder and nowhere else.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace gui {

// Loads the Windows DLL NAME from the system folder, never from the
// program's folder or the current one. Throws rt::Exception naming the DLL
// when the system has none.
HMODULE LoadSystemLibrary(const wchar_t* name);

// The address of FUNCTION in MODULE (the DLL LIBRARY). Throws rt::Exception
// naming both when the DLL lacks it.
void* SystemFunction(HMODULE module, const wchar_t* library, const char* function);

// The functions of the common controls that the framework and the skin
// engine call, with the system's own signatures and calling convention.
struct TCommonControlsApi {
  decltype(&::InitCommonControlsEx) InitCommonControlsEx;
  decltype(&::ImageList_Create) ImageList_Create;
  decltype(&::ImageList_Destroy) ImageList_Destroy;
  decltype(&::ImageList_AddMasked) ImageList_AddMasked;
  decltype(&::ImageList_GetImageCount) ImageList_GetImageCount;
  decltype(&::ImageList_GetIconSize) ImageList_GetIconSize;
  decltype(&::ImageList_Draw) ImageList_Draw;
  decltype(&::ImageList_DrawEx) ImageList_DrawEx;
  decltype(&::SetWindowSubclass) SetWindowSubclass;
  decltype(&::RemoveWindowSubclass) RemoveWindowSubclass;
  decltype(&::DefSubclassProc) DefSubclassProc;
};

// Loaded and resolved whole on first use, so that a missing function shows
// at start-up and not on the first click that needs it.
const TCommonControlsApi& CommonControls();

// Loads every library above. Programs call it first, inside their start-up
// error handling: a system that lacks one is told so before any window.
void LoadSystemLibraries();

}  // namespace gui
