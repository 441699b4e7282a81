// The loader tests' fixture module, with quiz resources of its own (quiz_fixture.rc).
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
