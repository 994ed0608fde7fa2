// The data file as a settings value's text, with no window: written as "Zapisz" writes it, read
// onto a value with the file's own rules.
#include "storage/DataFile.h"

#include "model/Catalogue.h"
#include "storage/TestWindow.h"
#include "storage/Utf8Codecvt.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(SettingsFile, TheDefaultValueIsTheStartUpWindowsFile)
{
    std::string bytes;
    ASSERT_TRUE(kes::encodeUtf8(L"\xFEFF" + kes::recordsOf(kes::Settings()), bytes));
    EXPECT_EQ(bytes, testing_support::readFileBytes(std::wstring(QUELLMO_STORAGE_GOLDEN_DIR) + L"/startup.dat"));
}

TEST(SettingsFile, ReadOntoAValue)
{
    kes::Settings base;
    base.accessCode = L"QQQQ";
    base.simPin = L"1111";
    base.in1Name = L"Brama";

    // A shorter file: what it lacks takes the defaults, not the base's values; texts are cut to
    // their fields.
    kes::Settings read = base;
    std::wistringstream shorter(L"\xFEFF\x03\x02" L"ABCDEF\x02\x02\x02\x02\x02\x02" L"1\x02\x03");
    ASSERT_TRUE(kes::readDataFile(shorter, read));
    EXPECT_EQ(read.accessCode, L"ABCD");
    EXPECT_EQ(read.simPin, L"");
    EXPECT_TRUE(read.in1Enabled);
    EXPECT_EQ(read.in1Name, L"INPUT-1");

    // A damaged framing changes nothing.
    kes::Settings kept = base;
    std::wistringstream damaged(L"\xFEFF\x03\x02" L"9\x02");
    EXPECT_THROW(kes::readDataFile(damaged, kept), kes::ControlBufor::BadFormatInFile);
    EXPECT_TRUE(kept == base);
}

} // namespace
