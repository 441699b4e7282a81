// The loader tests' fixture modules: copies of them receive the quiz resources of each case.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
