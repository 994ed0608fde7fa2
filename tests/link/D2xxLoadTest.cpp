#include "link/D2xx.h"
#include "link/UsbLink.h"
#include "support/ScopedWin.h"
#include "support/ProgramFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(D2xxLibrary, MissingLibraryGivesAnEmptyTableAndAClosedLink)
{
    kes::D2xxLibrary library(L"no-such-d2xx-library.dll");
    EXPECT_FALSE(library.loaded());
    EXPECT_FALSE(library.api().valid());
    kes::UsbLink link(library.api());
    EXPECT_TRUE(link.findInterfaces().empty());
    EXPECT_FALSE(link.open(L"QLV30001"));
    EXPECT_FALSE(link.configure("QLV30001"));
    EXPECT_FALSE(link.isOpen());
    kes::Frame frame{};
    EXPECT_FALSE(link.sendFrame(frame));
    EXPECT_FALSE(link.queryFrame(frame, frame));
    EXPECT_FALSE(link.recover());
    link.close();
    EXPECT_EQ(link.lockFlag, 0);
}

TEST(D2xxLibrary, LibraryWithoutEveryExportCountsAsMissing)
{
    // Built beside the test with only the two listing functions exported.
    kes::D2xxLibrary library(L"partial_d2xx.dll");
    EXPECT_FALSE(library.loaded());
    kes::UsbLink link(library.api());
    EXPECT_TRUE(link.findInterfaces().empty());
    EXPECT_TRUE(GetModuleHandleW(L"partial_d2xx.dll") == nullptr);  // and it is not kept loaded
}

// Makes a folder current and the first on PATH for one test, as a folder the user works in.
class WorkingFolder {
public:
    explicit WorkingFolder(const std::wstring& folder)
    {
        wchar_t current[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, current);
        current_ = current;
        std::vector<wchar_t> path(32767, L'\0');
        path_.assign(path.data(), GetEnvironmentVariableW(L"PATH", path.data(), static_cast<DWORD>(path.size())));
        SetCurrentDirectoryW(folder.c_str());
        SetEnvironmentVariableW(L"PATH", (folder + L";" + path_).c_str());
    }
    ~WorkingFolder()
    {
        SetCurrentDirectoryW(current_.c_str());
        SetEnvironmentVariableW(L"PATH", path_.c_str());
    }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    std::wstring current_, path_;
};

TEST(D2xxLibrary, AnFtd2xxInTheCurrentFolderOrOnPathIsNotLoaded)
{
    // A complete D2XX library (the simulator's), planted where the ordinary search would take it.
    WorkingFolder planted(kes::executableFolder() + L"\\planted");
    ASSERT_TRUE(kes::LoadedLibrary(LoadLibraryW(L"FTD2XX.dll"))) << "the planted library is where a bare name finds it";
    ASSERT_EQ(GetModuleHandleW(L"FTD2XX.dll"), nullptr);

    kes::D2xxLibrary library;
    EXPECT_FALSE(library.loaded());
    EXPECT_EQ(GetModuleHandleW(L"FTD2XX.dll"), nullptr);
}

TEST(D2xxApi, ValidOnlyWithAllElevenEntries)
{
    kes::D2xxApi api;
    EXPECT_FALSE(api.valid());
    api.createDeviceInfoList = [](DWORD*) -> kes::FT_STATUS { return 0; };
    EXPECT_FALSE(api.valid());
}

} // namespace
