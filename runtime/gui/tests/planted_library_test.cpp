// A DLL that the system library tests put beside their program, where a
// planted copy of a system DLL would lie.
#include <windows.h>

extern "C" __declspec(dllexport) int PlantedLibraryMark() { return 0x51; }
