// The registry's stream form: exact characters written, and every rule of reading it back.
#include "TestWindow.h"

#include "model/Fields.h"
#include "CaseName.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

using namespace testing_model;

namespace {

constexpr int kName = 201;
constexpr int kBox = 202;
constexpr int kList = 203;
constexpr int kNote = 204;
constexpr int kDep = 205;

// Five fields of every stored kind on real controls, in this registration order.
class StreamForm : public ::testing::Test {
protected:
    StreamForm()
        : name(L"INPUT-1", &registry, kName, 15),
          box(&registry, kBox),
          list(&registry, kList, {L"NO PLUS", L"NO GND", L"NC PLUS", L"NC GND"}),
          available(&registry, {kDep, kes::kEndOfList, kes::kEndOfList}),
          note(L"", &registry, kNote, 0)
    {
        window.add(kName, ControlKind::Edit);
        window.add(kBox, ControlKind::CheckBox);
        window.add(kList, ControlKind::DropDown);
        window.add(kNote, ControlKind::Edit);
        window.add(kDep, ControlKind::CheckBox);
        registry.attachAll(window.hwnd());
    }

    std::wstring written()
    {
        std::wostringstream out;
        registry.writeAll(out);
        return out.str();
    }

    void read(const std::wstring& data)
    {
        std::wistringstream in(data);
        registry.readAll(in);
    }

    // A state different from every default.
    void setNonDefault()
    {
        name.setText(L"KEEP");
        box.setChecked(true);
        list.setSelection(3);
        available.setEnabled(true);
        note.setText(L"kept");
    }

    void expectNonDefault()
    {
        EXPECT_EQ(name.getText(), L"KEEP");
        EXPECT_TRUE(box.isChecked());
        EXPECT_EQ(list.getSelection(), 3);
        EXPECT_TRUE(available.isEnabled());
        EXPECT_EQ(note.getText(), L"kept");
    }

    TestWindow window;
    kes::ControlBufor registry;
    kes::EditControl name;
    kes::OptionControl box;
    kes::ComboboxControl<int> list;
    kes::EnableControl available;
    kes::EditControl note;
};

const std::wstring kDefaults = L"\x03"
                               L"\x02INPUT-1\x02\x02"
                               L"\x02"
                               L"0\x02"
                               L"\x02"
                               L"0\x02"
                               L"\x02"
                               L"0\x02"
                               L"\x02\x02\x02"
                               L"\x03";

TEST_F(StreamForm, WritesEveryRecordExactly)
{
    EXPECT_EQ(written(), kDefaults);
    name.setText(L"Wejście ł");
    box.setChecked(true);
    list.setSelection(2);
    available.setEnabled(true);
    note.setText(L"x");
    EXPECT_EQ(written(), std::wstring(L"\x03\x02Wejście ł\x02\x02\x02"
                                      L"1\x02\x02"
                                      L"2\x02\x02"
                                      L"1\x02\x02x\x02\x02\x03"));
    SendMessageW(window.item(kList), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_NE(written().find(L"\x02-1\x02"), std::wstring::npos);
}

TEST_F(StreamForm, WritesNothingIntoAFailedStream)
{
    std::wostringstream out;
    out.setstate(std::ios_base::failbit);
    registry.writeAll(out);
    out.clear();
    EXPECT_EQ(out.str(), L"");
}

TEST_F(StreamForm, RoundTripGivesEveryValueBackIncludingEmptyTexts)
{
    name.setText(L"");
    box.setChecked(true);
    list.setSelection(1);
    available.setEnabled(true);
    note.setText(L"żółć");
    const std::wstring saved = written();
    read(kDefaults);
    ASSERT_EQ(written(), kDefaults);
    read(saved);
    EXPECT_EQ(name.getText(), L"");
    EXPECT_TRUE(box.isChecked());
    EXPECT_EQ(list.getSelection(), 1);
    EXPECT_TRUE(available.isEnabled());
    EXPECT_TRUE(enabled(window.item(kDep)));
    EXPECT_EQ(note.getText(), L"żółć");
}

TEST_F(StreamForm, ReadsNothingFromAFailedStream)
{
    setNonDefault();
    std::wistringstream in(kDefaults);
    in.setstate(std::ios_base::failbit);
    EXPECT_NO_THROW(registry.readAll(in));
    expectNonDefault();
}

struct UnmarkedCase {
    const char* name;
    const wchar_t* data;
};

class StreamWithoutStartMarker : public StreamForm, public ::testing::WithParamInterface<UnmarkedCase> {};

TEST_P(StreamWithoutStartMarker, ThrowsAndKeepsEveryValue)
{
    setNonDefault();
    EXPECT_THROW(read(GetParam().data), kes::ControlBufor::BadFormatInFile);
    expectNonDefault();
}

INSTANTIATE_TEST_SUITE_P(Streams, StreamWithoutStartMarker,
                         ::testing::Values(UnmarkedCase{"empty", L""}, UnmarkedCase{"headerOnly", L"header only"},
                                           UnmarkedCase{"recordsOnly", L"\x02INPUT-1\x02\x02\x02"
                                                                       L"0\x02"}),
                         casename::ByName());

TEST(BadFormatInFile, SaysWhatIsWrong)
{
    EXPECT_STREQ(kes::ControlBufor::BadFormatInFile().what(), "Stary format pliku lub bledny plik");
}

// Each case starts from a non-default state; "keep" means the field kept it.
struct ReadCase {
    const char* what;
    std::wstring data;
    std::wstring name;
    bool box;
    int list;
    bool available;
    std::wstring note;
};

void PrintTo(const ReadCase& c, std::ostream* os)
{
    *os << c.what;
}

class ReadBack : public StreamForm, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadBack, FollowsTheRecordRules)
{
    const ReadCase& c = GetParam();
    setNonDefault();
    read(c.data);
    EXPECT_EQ(name.getText(), c.name) << c.what;
    EXPECT_EQ(box.isChecked(), c.box) << c.what;
    EXPECT_EQ(list.getSelection(), c.list) << c.what;
    EXPECT_EQ(available.isEnabled(), c.available) << c.what;
    EXPECT_EQ(note.getText(), c.note) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Records, ReadBack,
    ::testing::Values(
        ReadCase{"only the markers: every field takes its default", L"\x03\x03", L"INPUT-1", false, 0, false, L""},
        ReadCase{"a header before the start marker is ignored",
                 L"any header\x03\x02N\x02\x02\x02"
                 L"0\x02\x02"
                 L"1\x02\x02"
                 L"0\x02\x02n\x02\x02\x03",
                 L"N", false, 1, false, L"n"},
        ReadCase{"fewer records: the rest take defaults", L"\x03\x02N\x02\x02\x02"
                                                          L"1\x02\x03",
                 L"N", true, 0, false, L""},
        ReadCase{"more records: the extra ones are skipped",
                 L"\x03\x02N\x02\x02\x02"
                 L"0\x02\x02"
                 L"2\x02\x02"
                 L"1\x02\x02n\x02\x02\x02"
                 L"9\x02\x03",
                 L"N", false, 2, true, L"n"},
        ReadCase{"no record mark: that field and every later one take defaults",
                 L"\x03\x02N\x02\x02X\x02"
                 L"1\x02\x03",
                 L"N", false, 0, false, L""},
        ReadCase{"a bool other than 0 or 1 stops reading there",
                 L"\x03\x02N\x02\x02\x02"
                 L"7\x02\x02"
                 L"2\x02\x03",
                 L"N", true, 3, true, L"kept"},
        ReadCase{"a missing number stops reading there",
                 L"\x03\x02N\x02\x02\x02"
                 L"0\x02\x02\x02\x02"
                 L"1\x02\x03",
                 L"N", false, 3, true, L"kept"},
        ReadCase{"a record not ending in the mark stops reading there",
                 L"\x03\x02N\x02\x02\x02"
                 L"0x\x02\x02"
                 L"2\x02\x03",
                 L"N", false, 3, true, L"kept"},
        ReadCase{"the end inside a text: that text is shown, later fields keep", L"\x03\x02Nam", L"Nam", true, 3,
                 true, L"kept"},
        ReadCase{"the end between records: later fields keep", L"\x03\x02N\x02\x02", L"N", true, 3, true,
                 L"kept"}),
    [](const auto& info) { return casename::clean(info.param.what); });

TEST_F(StreamForm, ReadingStopsRightAfterTheEndMarker)
{
    std::wistringstream in(kDefaults + L"tail");
    registry.readAll(in);
    std::wstring rest;
    std::getline(in, rest);
    EXPECT_EQ(rest, L"tail");
}

TEST_F(StreamForm, LoadingReappliesTheDependents)
{
    read(L"\x03\x02N\x02\x02\x02"
         L"0\x02\x02"
         L"0\x02\x02"
         L"1\x02\x03");
    EXPECT_TRUE(enabled(window.item(kDep)));
    read(L"\x03\x03");
    EXPECT_FALSE(enabled(window.item(kDep)));
}

} // namespace
