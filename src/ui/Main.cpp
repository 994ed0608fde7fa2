// Start-up placeholder until the main dialog exists.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    MessageBoxW(nullptr, L"Quellmo PC", L"Quellmo PC", MB_OK);
    return 0;
}
