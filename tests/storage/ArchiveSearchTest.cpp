#include "storage/ArchiveSearch.h"

#include "CaseName.h"
#include "storage/DataFile.h"

#include <gtest/gtest.h>

namespace {

TEST(ArchiveSearchFields, AreTheNamesTextsCodeAndActiveUsersPhonesButNeverThePin)
{
    kes::Settings s;
    int n = 0;
    for (std::wstring* text : {&s.accessCode, &s.simPin, &s.in1Name, &s.in2Name, &s.out1Name, &s.out2Name, &s.tempName,
                               &s.in1SmsOnText, &s.in1SmsOffText, &s.in2SmsOnText, &s.in2SmsOffText})
        *text = L"t" + std::to_wstring(++n);
    for (int u = 0; u < kes::settingsUsers; ++u) {
        s.users[u].phone = L"t" + std::to_wstring(++n);
        s.users[u].active = u != 2;
    }
    const auto fields = kes::archiveSearchFields(kes::recordsOf(s));
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(L"t1", fields->accessCode);
    EXPECT_EQ((std::vector<std::wstring>{L"t3", L"t4", L"t5", L"t6", L"t7"}), fields->names);
    EXPECT_EQ((std::vector<std::wstring>{L"t8", L"t9", L"t10", L"t11"}), fields->smsTexts);
    EXPECT_EQ((std::vector<std::wstring>{L"t12", L"t13", L"t15", L"t16"}), fields->phones);

    EXPECT_FALSE(kes::archiveSearchFields(L"\x3\x2" L"5\x2\x3").has_value());  // a flag where a text is
    const auto shorter = kes::archiveSearchFields(L"\x3\x2" L"KOD\x2\x2\x3");
    ASSERT_TRUE(shorter.has_value());
    EXPECT_EQ(L"KOD", shorter->accessCode);
    EXPECT_EQ(L"INPUT-1", shorter->names.at(0));  // missing records: the defaults
}

struct QueryCase {
    const char* name;
    std::wstring query;
    bool findsFirst;   // phones "+48601234567", "601 222 333", "0048 512-000-111", "+49151555", "+1234567890"
    bool findsSecond;  // phone "601234567" and nothing else of the first's
};

const QueryCase kQueryCases[] = {
    {"spaces", L"601 234 567", true, true},
    {"dashes", L"601-234-567", true, true},
    {"plus 48 and spaces", L"+48 601 234 567", true, true},
    {"48 without plus", L"48601234567", true, true},
    {"0048", L"0048601234567", true, true},
    {"part of a number", L"234 567", true, true},
    {"stored with spaces", L"+48601222333", true, false},
    {"stored with 0048 and dashes", L"512 000 111", true, false},
    {"foreign number", L"0049 151 555", true, false},
    {"other number", L"602 234 567", false, false},
    {"groups taken from different numbers", L"601 222 567", false, false},
    {"Polish letters folded in the query", L"ŁĄKA", true, false},
    {"Polish letters folded in the entry", L"laka", true, false},
    {"every word in any order", L"główna BRAMA", true, false},
    {"one word missing", L"brama xyz", false, false},
    {"module text with its number", L"brama 1", true, false},
    {"SMS text", L"alarm", true, false},
    {"access code", L"wktr", true, true},
    {"interface serial", L"ft1a2b", true, false},
    {"PIN never", L"4821", false, false},
    {"empty query", L"  ", true, true},
};

class ArchiveQueryTable : public ::testing::TestWithParam<QueryCase> {};

TEST_P(ArchiveQueryTable, FindsTheEntriesItNames)
{
    kes::ArchiveSearchFields first{L"WKTR",
                                   {L"Łąka", L"IN-2", L"OUT-1", L"OUT-2", L"TEMP"},
                                   {L"ALARM ON", L"", L"", L""},
                                   {L"+48601234567", L"601 222 333", L"0048 512-000-111", L"+49151555", L"+1234567890"},
                                   L"+48601234567"};
    kes::ArchiveSearchFields second{L"WKTR", {L"INPUT-1"}, {}, {L"601234567"}, L"601234567"};
    const kes::ArchiveQuery query(GetParam().query);
    EXPECT_EQ(GetParam().findsFirst, query.matches(kes::archiveSearchText(L"Brama Główna 1", L"FT1A2B3C", first)));
    EXPECT_EQ(GetParam().findsSecond, query.matches(kes::archiveSearchText(L"Furtka", L"QLV9", second)));
}

INSTANTIATE_TEST_SUITE_P(ArchiveSearch, ArchiveQueryTable, ::testing::ValuesIn(kQueryCases), casename::ByName());

} // namespace
