#include "link/D2xx.h"
#include "link/UsbLink.h"

#include <gtest/gtest.h>

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

TEST(D2xxApi, ValidOnlyWithAllElevenEntries)
{
    kes::D2xxApi api;
    EXPECT_FALSE(api.valid());
    api.createDeviceInfoList = [](DWORD*) -> kes::FT_STATUS { return 0; };
    EXPECT_FALSE(api.valid());
}

} // namespace
