/* A library for the declared-command tests: one stdcall export by name and ordinal, one cdecl. */
#include <windows.h>

__declspec(dllexport) unsigned __stdcall TovAddTwo(unsigned a, unsigned b) {
    return a + b;
}

__declspec(dllexport) unsigned __cdecl TovCdeclAddTwo(unsigned a, unsigned b) {
    return a + b;
}
