// Stands in for a PDF viewer or a browser in the help launcher's tests: for each start, appends
// its arguments after its own name to the file named by QUELLMO_RECORDER_OUT, their count on
// one line and then one line each.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv)
{
    wchar_t path[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"QUELLMO_RECORDER_OUT", path, MAX_PATH))
        return 2;
    std::wstring record = std::to_wstring(argc - 1) + L"\n";
    for (int i = 1; i < argc; ++i)
        record += std::wstring(argv[i]) + L"\n";
    FILE* out = _wfopen(path, L"ab");
    if (!out)
        return 3;
    std::fwrite(record.data(), sizeof(wchar_t), record.size(), out);
    std::fclose(out);
    return 0;
}
