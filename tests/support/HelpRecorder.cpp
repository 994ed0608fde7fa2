// Stands in for a PDF viewer in the help launcher's tests: appends its command line, one line
// per start, to the file named by QUELLMO_RECORDER_OUT.
#include <windows.h>

#include <cstdio>

int wmain()
{
    wchar_t path[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"QUELLMO_RECORDER_OUT", path, MAX_PATH))
        return 2;
    FILE* out = _wfopen(path, L"ab");
    if (!out)
        return 3;
    const wchar_t* line = GetCommandLineW();
    std::fwrite(line, sizeof(wchar_t), wcslen(line), out);
    std::fwrite(L"\n", sizeof(wchar_t), 1, out);
    std::fclose(out);
    return 0;
}
