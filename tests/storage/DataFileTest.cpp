#include "storage/DataFile.h"

#include "model/Catalogue.h"
#include "storage/AtomicFile.h"
#include "storage/FileBuilder.h"
#include "storage/FileDialogs.h"
#include "storage/TestWindow.h"
#include "support/ScopedWin.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <sstream>

namespace {

using namespace testing_support;

constexpr std::size_t kRecords = 125;
const std::wstring kSig = L"\xFEFF";

class DataFile : public ::testing::Test {
protected:
    void save(const std::wstring& path)
    {
        FileDialogAnswer answer(path);
        kes::saveDataFile(window.handle());
    }
    void open(const std::wstring& path)
    {
        FileDialogAnswer answer(path);
        kes::openDataFile(window.handle());
    }
    // A configuration unlike the defaults, so that "unchanged" and "reset" differ.
    std::vector<std::wstring> distinctConfiguration(unsigned seed)
    {
        std::mt19937 rng(seed);
        randomConfiguration(rng);
        accessCode.setText(L"QQ" + std::to_wstring(seed % 100));
        return settingsSnapshot();
    }
    void expectFormatMessage(const std::wstring& path)
    {
        ASSERT_EQ(1u, boxes.boxes().size());
        const ShownBox& box = boxes.boxes()[0];
        EXPECT_EQ(L"Błędny format pliku: " + path, box.text);
        EXPECT_EQ(L"Błąd odczytu pliku", box.caption);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), box.type);
        EXPECT_EQ(window.handle(), box.owner);
    }

    TestWindow window;
    MessageBoxRecorder boxes;
    TempFolder folder;
};

std::wstring goldenPath(const wchar_t* name) { return std::wstring(QUELLMO_STORAGE_GOLDEN_DIR) + L"/" + name; }

TEST_F(DataFile, StartUpWindowIsSavedByteForByte)
{
    const std::wstring path = folder.file(L"startup.dat");
    save(path);
    const std::string bytes = readFileBytes(path);
    const std::string golden = readFileBytes(goldenPath(L"startup.dat"));
    ASSERT_EQ(536u, golden.size()) << "golden file missing";
    EXPECT_EQ(golden, bytes);
    // Past the signature, the start marker, accessCode and simPin: in1Enabled, in1Name, in1Wiring.
    const std::string example = "\x02" "0\x02\x02" "INPUT-1\x02\x02\x02" "0\x02";
    EXPECT_EQ(example, bytes.substr(18, example.size()));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DataFile, PolishLettersAreTwoByteSequencesAndComeBackUnchanged)
{
    in1Name.setText(L"łąka Żółw");
    const std::wstring path = folder.file(L"polish.dat");
    save(path);
    const std::string bytes = readFileBytes(path);
    EXPECT_NE(std::string::npos, bytes.find("\x02\xC5\x82\xC4\x85ka \xC5\xBB\xC3\xB3\xC5\x82w\x02\x02"));
    restoreDefaults();
    open(path);
    EXPECT_EQ(L"łąka Żółw", in1Name.getText());
}

struct NamedConfiguration {
    const char* name;
    std::function<void()> apply;
};

void forEachText(const std::function<std::wstring(kes::EditControl::EditControlInternal&)>& text)
{
    for (std::size_t i = 0; i < settingsBufor.size(); ++i)
        if (auto* edit = dynamic_cast<kes::EditControl::EditControlInternal*>(settingsBufor.at(i)))
            edit->setText(text(*edit));
}

const NamedConfiguration kDataFileRoundTripTableCases[] = {
        NamedConfiguration{"empty_texts", [] { forEachText([](auto&) { return std::wstring(); }); }},
    NamedConfiguration{"polish_letters",
                       [] {
                           forEachText([](auto& e) {
                               std::wstring t = L"ąćęłńóśżźĄĆĘŁŃÓŚŻŹ";
                               return e.maxLength ? t.substr(0, static_cast<std::size_t>(e.maxLength)) : t;
                           });
                       }},
    NamedConfiguration{"everything_on_last_items",
                       [] {
                           for (std::size_t i = 0; i < settingsBufor.size(); ++i) {
                               auto* c = settingsBufor.at(i);
                               if (auto* b = dynamic_cast<kes::OptionControl::OptionControlInternal*>(c))
                                   b->setChecked(true);
                               else if (auto* e = dynamic_cast<kes::EnableControl::EnableControlInternal*>(c))
                                   e->setEnabled(true);
                               else if (auto* l = dynamic_cast<kes::ComboboxControl<int>::ComboboxControlInternal*>(c))
                                   l->setSelection(static_cast<int>(l->items.size()) - 1);
                           }
                       }},
    NamedConfiguration{"no_list_selection", [] {
                           in1Wiring.setSelection(-1);
                           in2Wiring.setSelection(-1);
                           for (auto& n : userNotify)
                               n.setSelection(-1);
                       }}};

TEST_F(DataFile, RoundTripsGiveBackEveryField)
{
    for (const NamedConfiguration& param : kDataFileRoundTripTableCases) {
        SCOPED_TRACE(param.name);
        restoreDefaults();
        boxes.clear();
        param.apply();
        const auto before = settingsSnapshot();
        const std::wstring path = folder.file(L"round.dat");
        save(path);
        restoreDefaults();
        ASSERT_NE(before, settingsSnapshot());
        open(path);
        EXPECT_EQ(before, settingsSnapshot());
        EXPECT_TRUE(boxes.boxes().empty());
    }
}

TEST_F(DataFile, SavedAndReopenedRandomConfigurationsMatchFieldForField)
{
    constexpr int kConfigurations = 300;
    const std::wstring path = folder.file(L"property.dat");
    std::mt19937 rng(20261208);
    int matched = 0;
    for (int i = 0; i < kConfigurations; ++i) {
        randomConfiguration(rng);
        const auto saved = settingsSnapshot();
        save(path);
        randomConfiguration(rng);
        open(path);
        const auto loaded = settingsSnapshot();
        EXPECT_EQ(saved, loaded) << "configuration " << i;
        matched += saved == loaded;
    }
    EXPECT_TRUE(boxes.boxes().empty());
    std::cout << "RELIABILITY data_file_round_trips " << matched << std::endl;
    RecordProperty("round_trips", matched);
}

TEST_F(DataFile, WriterLeavesRecordAndFrameMarksOutOfTexts)
{
    SetWindowTextW(window.control(ids::in1Name), L"A\x0002" L"B\x0003" L"C");
    SetWindowTextW(window.control(ids::tempName), L"\x0003\x0003");
    ASSERT_EQ(std::wstring(L"A\x0002" L"B\x0003" L"C"), in1Name.getText());
    auto expected = settingsSnapshot();
    expected[3] = L"ABC\x0002";
    expected[37] = L"\x0002";
    const std::wstring path = folder.file(L"marks.dat");
    save(path);
    EXPECT_EQ(dataFile(expected), readFileBytes(path));
    restoreDefaults();
    open(path);
    EXPECT_EQ(expected, settingsSnapshot());
    EXPECT_TRUE(boxes.boxes().empty());
}

struct LengthCase {
    const char* name;
    std::size_t records;  // taken from the saved configuration
    std::wstring extra;   // further records after them
};

const LengthCase kDataFileLengthTableCases[] = {
    LengthCase{"only_markers", 0, L""}, LengthCase{"one_record", 1, L""},
    LengthCase{"general_settings_only", 45, L""},
    LengthCase{"one_short", 124, L""},
    LengthCase{"exact", kRecords, L""},
    LengthCase{"newer_with_more", kRecords,
               L"\x0002" L"future\x0002\x0002\x0002" L"1\x0002\x0002" L"7\x0002"}};

TEST_F(DataFile, OlderAndNewerFilesLoadWithDefaultsForMissingRecords)
{
    for (const LengthCase& param : kDataFileLengthTableCases) {
        SCOPED_TRACE(param.name);
        boxes.clear();
        restoreDefaults();
        const auto defaults = settingsSnapshot();
        const auto saved = distinctConfiguration(7);
        std::vector<std::wstring> values(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(param.records));
        const std::wstring path = folder.file(L"length.dat");
        std::string bytes = dataFile(values);
        bytes.insert(bytes.size() - 1, utf8(param.extra));
        ASSERT_TRUE(writeFileBytes(path, bytes));
        distinctConfiguration(8);
        open(path);
        auto expected = defaults;
        std::copy(values.begin(), values.end(), expected.begin());
        EXPECT_EQ(expected, settingsSnapshot());
        EXPECT_TRUE(boxes.boxes().empty());
    }
}

TEST_F(DataFile, HeaderCharactersBeforeTheStartMarkerAreIgnored)
{
    const auto saved = distinctConfiguration(11);
    const std::wstring path = folder.file(L"header.dat");
    ASSERT_TRUE(writeFileBytes(path, dataFile(saved, L"Quellmo PC nagłówek \x0001\x0002 1.0")));
    distinctConfiguration(12);
    open(path);
    EXPECT_EQ(saved, settingsSnapshot());
    EXPECT_TRUE(boxes.boxes().empty());
}

struct SignatureCase {
    const char* name;
    std::string start;  // in place of EF BB BF
};

const SignatureCase kDataFileSignatureTableCases[] = {
    SignatureCase{"none", ""}, SignatureCase{"two_bytes", "\xEF\xBB"},
    SignatureCase{"last_byte_wrong", "\xEF\xBB\xBE"},
    SignatureCase{"utf16_mark", "\xFF\xFE"},
    SignatureCase{"plain_text", "abc"}};

TEST_F(DataFile, FilesWithoutTheSignatureAreIgnoredSilently)
{
    for (const SignatureCase& param : kDataFileSignatureTableCases) {
        SCOPED_TRACE(param.name);
        boxes.clear();
        const auto other = distinctConfiguration(21);
        const auto before = distinctConfiguration(22);
        const std::wstring path = folder.file(L"nosig.dat");
        ASSERT_TRUE(writeFileBytes(path, param.start + dataFile(other).substr(3)));
        open(path);
        EXPECT_EQ(before, settingsSnapshot());
        EXPECT_TRUE(boxes.boxes().empty());
    }
}

TEST_F(DataFile, EmptyFileIsIgnoredSilently)
{
    const auto before = distinctConfiguration(31);
    const std::wstring empty = folder.file(L"empty.dat");
    ASSERT_TRUE(writeFileBytes(empty, ""));
    open(empty);
    EXPECT_EQ(before, settingsSnapshot());
    EXPECT_TRUE(boxes.boxes().empty());
}

// Holds a file open with no sharing, as another program may.
class ExclusiveHold {
public:
    explicit ExclusiveHold(const std::wstring& path)
        : handle_(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    bool held() const { return static_cast<bool>(handle_); }

private:
    kes::KernelHandle handle_;
};

TEST_F(DataFile, FilesThatCannotBeOpenedAreReportedAndLoadNothing)
{
    for (const bool locked : {true, false}) {
        SCOPED_TRACE(locked ? "locked by another program" : "gone since it was chosen");
        boxes.clear();
        const auto other = distinctConfiguration(33);
        const auto before = distinctConfiguration(34);
        const std::wstring path = folder.file(L"unreadable.dat");
        ASSERT_TRUE(writeFileBytes(path, dataFile(other)));
        std::unique_ptr<ExclusiveHold> hold;
        if (locked) {
            hold = std::make_unique<ExclusiveHold>(path);
            ASSERT_TRUE(hold->held());
        } else {
            ASSERT_TRUE(DeleteFileW(path.c_str()));
        }
        open(path);
        EXPECT_EQ(before, settingsSnapshot());
        ASSERT_EQ(1u, boxes.boxes().size());
        const ShownBox& box = boxes.boxes()[0];
        EXPECT_EQ(L"Nie można otworzyć pliku: " + path, box.text);
        EXPECT_EQ(L"Błąd odczytu pliku", box.caption);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), box.type);
        EXPECT_EQ(window.handle(), box.owner);
    }
}

// A damaged file: built from a valid one by a change to its text or bytes.
struct DamageCase {
    const char* name;
    std::function<std::string(std::vector<std::wstring> values)> build;
};

std::string withBytesAt(std::vector<std::wstring> values, std::size_t field, const std::string& bytes)
{
    // A private-use character marks the place; its three bytes are then replaced.
    values[field] = L"\xE000" + values[field];
    std::string file = dataFile(values);
    const auto at = file.find("\xEE\x80\x80");
    return file.replace(at, 3, bytes);
}

std::string cutAfter(std::vector<std::wstring> values, std::size_t bytesToDrop)
{
    std::string file = dataFile(values);
    return file.substr(0, file.size() - bytesToDrop);
}

const DamageCase kDataFileDamageTableCases[] = {
        DamageCase{"empty_after_signature", [](auto) { return std::string("\xEF\xBB\xBF"); }},
    DamageCase{"no_start_marker", [](auto) { return std::string("\xEF\xBB\xBF" "abc\x02" "0\x02"); }},
    DamageCase{"start_marker_only", [](auto) { return std::string("\xEF\xBB\xBF\x03"); }},
    DamageCase{"flag_not_a_digit", [](auto v) { v[2] = L"2"; return dataFile(v); }},
    DamageCase{"flag_two_digits", [](auto v) { v[2] = L"01"; return dataFile(v); }},
    DamageCase{"list_index_out_of_range", [](auto v) { v[4] = L"4"; return dataFile(v); }},
    DamageCase{"list_index_below_none", [](auto v) { v[4] = L"-2"; return dataFile(v); }},
    DamageCase{"list_index_not_a_number", [](auto v) { v[4] = L"x"; return dataFile(v); }},
    DamageCase{"list_index_empty", [](auto v) { v[4] = L""; return dataFile(v); }},
    DamageCase{"list_index_too_long", [](auto v) { v[4] = L"999999999999"; return dataFile(v); }},
    DamageCase{"text_not_closed", [](auto v) { v[3].pop_back(); return dataFile(v); }},
    DamageCase{"record_not_closed_late", [](auto v) { v[100] += L"x"; return dataFile(v); }},
    DamageCase{"garbage_where_a_record_starts",
               [](auto v) {
                   std::string f = dataFile(v);
                   const auto at = f.find("\x02\x02\x02" "0\x02");  // the end of in1Name, then in1Wiring
                   return f.insert(at + 3, "X");
               }},
    DamageCase{"cut_inside_records", [](auto v) { return cutAfter(v, 200); }},
    DamageCase{"cut_before_end_marker", [](auto v) { return cutAfter(v, 1); }},
    DamageCase{"cut_inside_last_record", [](auto v) { return cutAfter(v, 3); }},
    DamageCase{"malformed_utf8_in_text", [](auto v) { return withBytesAt(v, 3, "\xC3("); }},
    DamageCase{"stray_continuation_byte", [](auto v) { return withBytesAt(v, 50, "\x80"); }},
    DamageCase{"cut_sequence_in_text", [](auto v) { return withBytesAt(v, 120, "\xE2\x82"); }},
    DamageCase{"overlong_encoding", [](auto v) { return withBytesAt(v, 3, "\xC0\x80"); }},
    DamageCase{"encoded_surrogate", [](auto v) { return withBytesAt(v, 3, "\xED\xA0\x80"); }},
    DamageCase{"stream_end_character", [](auto v) { return withBytesAt(v, 3, "\xEF\xBF\xBF"); }},
    DamageCase{"end_marker_inside_text", [](auto v) { v[124] = L"1\x0003" + v[124]; return dataFile(v); }}};

TEST_F(DataFile, DamagedFilesLoadNothingAndReportTheFormat)
{
    for (const DamageCase& param : kDataFileDamageTableCases) {
        SCOPED_TRACE(param.name);
        boxes.clear();
        const auto other = distinctConfiguration(41);
        const auto before = distinctConfiguration(42);
        ASSERT_NE(other, before);
        const std::wstring path = folder.file(L"damaged.dat");
        ASSERT_TRUE(writeFileBytes(path, param.build(other)));
        open(path);
        EXPECT_EQ(before, settingsSnapshot());
        expectFormatMessage(path);
    }
}

struct SaveFailureCase {
    const char* name;
    std::function<std::wstring(TempFolder&)> prepare;  // returns the path to save to
    bool failHalfWay;
};

const std::string kOldContents = "old contents \xC5\x82 that must survive";

const SaveFailureCase kDataFileSaveFailureTableCases[] = {
    SaveFailureCase{"read_only_target",
                    [](TempFolder& f) {
                        const std::wstring p = f.file(L"locked.dat");
                        writeFileBytes(p, kOldContents);
                        SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_READONLY);
                        return p;
                    },
                    false},
    SaveFailureCase{"missing_folder",
                    [](TempFolder& f) { return f.file(L"no-such-folder\\new.dat"); }, false},
    SaveFailureCase{"write_fails_half_way",
                    [](TempFolder& f) {
                        const std::wstring p = f.file(L"half.dat");
                        writeFileBytes(p, kOldContents);
                        return p;
                    },
                    true}};

TEST_F(DataFile, FailedSavesLeaveTheOldFileAndSaySo)
{
    for (const SaveFailureCase& param : kDataFileSaveFailureTableCases) {
        SCOPED_TRACE(param.name);
        boxes.clear();
        const std::wstring path = param.prepare(folder);
        const std::string old = readFileBytes(path);
        const auto filesBefore = folder.names();
        kes::FileWriteFunction previous;
        if (param.failHalfWay)
            previous = kes::setFileWriteFunction([](HANDLE file, const char* data, DWORD size) {
                DWORD written = 0;
                WriteFile(file, data, size / 2, &written, nullptr);
                return false;
            });
        distinctConfiguration(51);
        save(path);
        kes::setFileWriteFunction(previous);

        EXPECT_EQ(old, readFileBytes(path));
        EXPECT_EQ(filesBefore, folder.names()) << "no temporary file may stay behind";
        ASSERT_EQ(1u, boxes.boxes().size());
        EXPECT_EQ(L"Nie można zapisać pliku: " + path, boxes.boxes()[0].text);
        EXPECT_EQ(L"Błąd zapisu pliku", boxes.boxes()[0].caption);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), boxes.boxes()[0].type);
        EXPECT_EQ(window.handle(), boxes.boxes()[0].owner);
    }
}

TEST_F(DataFile, SavingOverAnOldFileReplacesItWholeAndLeavesNothingElse)
{
    const std::wstring path = folder.file(L"over.dat");
    ASSERT_TRUE(writeFileBytes(path, std::string(5000, 'x')));
    const auto saved = distinctConfiguration(61);
    save(path);
    EXPECT_EQ(dataFile(saved), readFileBytes(path));
    EXPECT_EQ(std::vector<std::wstring>{L"over.dat"}, folder.names());
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DataFile, CancelledDialogsDoNothing)
{
    const auto before = distinctConfiguration(71);
    FileDialogAnswer cancel;
    kes::saveDataFile(window.handle());
    kes::openDataFile(window.handle());
    ASSERT_EQ(2u, cancel.asked().size());
    EXPECT_EQ(kes::FileDialogKind::Save, cancel.asked()[0].kind);
    EXPECT_EQ(static_cast<DWORD>(OFN_OVERWRITEPROMPT), cancel.asked()[0].flags);
    EXPECT_EQ(kes::FileDialogKind::Open, cancel.asked()[1].kind);
    EXPECT_EQ(static_cast<DWORD>(OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST), cancel.asked()[1].flags);
    EXPECT_EQ(before, settingsSnapshot());
    EXPECT_TRUE(folder.names().empty());
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DataFile, StreamFormsCarryTheSignatureAsItsCharacter)
{
    const auto saved = distinctConfiguration(81);
    std::wostringstream out;
    kes::writeDataFile(out);
    EXPECT_EQ(kSig + L"\x0003" + recordsOf(saved) + L"\x0003", out.str());

    distinctConfiguration(82);
    std::wistringstream in(out.str());
    kes::readDataFile(in);
    EXPECT_EQ(saved, settingsSnapshot());

    std::wostringstream failed;
    failed.setstate(std::ios_base::failbit);
    kes::writeDataFile(failed);
    EXPECT_TRUE(failed.str().empty());

    std::wistringstream unsigned_(out.str().substr(1));
    distinctConfiguration(83);
    const auto before = settingsSnapshot();
    kes::readDataFile(unsigned_);
    EXPECT_TRUE(unsigned_.fail());
    EXPECT_EQ(before, settingsSnapshot());

    std::wistringstream damaged(kSig + L"\x0003\x0002" L"9\x0002");
    EXPECT_THROW(kes::readDataFile(damaged), kes::ControlBufor::BadFormatInFile);
    EXPECT_EQ(before, settingsSnapshot());
}

TEST(FileDialogRecord, PreparedOnceWithTheSizesAndFilterOfThisPlatform)
{
    TestWindow first;
    TestWindow second;
    const OPENFILENAMEW& r = kes::fileDialogRecord();
    // Run alone (as CTest runs it) the record is fresh; after other tests it is already made.
    const bool fresh = r.lStructSize == 0;
    kes::prepareFileDialogs(first.handle());
    const HWND owner = r.hwndOwner;
    if (fresh) {
        EXPECT_EQ(first.handle(), owner);
    }
    kes::prepareFileDialogs(second.handle());
    EXPECT_EQ(owner, r.hwndOwner) << "prepared once only";
    EXPECT_EQ(sizeof(OPENFILENAMEW), r.lStructSize);
    ASSERT_NE(nullptr, r.lpstrFilter);
    const wchar_t expected[] = L"Data file (*.dat)\0*.dat\0";
    EXPECT_EQ(0, std::wmemcmp(expected, r.lpstrFilter, std::size(expected)));
    EXPECT_STREQ(L"dat", r.lpstrDefExt);
    EXPECT_EQ(260u, r.nMaxFile);
    EXPECT_EQ(260u, r.nMaxFileTitle);
    EXPECT_NE(nullptr, r.lpstrFile);
    EXPECT_NE(nullptr, r.lpstrFileTitle);
    EXPECT_EQ(nullptr, r.lpstrInitialDir);
    EXPECT_EQ(nullptr, r.lpstrCustomFilter);
    EXPECT_EQ(nullptr, r.lpstrTitle);
}

struct PatternCase {
    std::wstring description;
    std::wstring pattern;
};

void isTakenFromTheDescription(const PatternCase& param)
{
    EXPECT_EQ(param.pattern, kes::filterPattern(param.description));
}

const PatternCase kFilterPatternTableCases[] = {
    PatternCase{L"Data file (*.dat)", L"*.dat"},
    PatternCase{L"Pliki (*.dat, *.bak)", L"*.dat;*.bak"},
    PatternCase{L"Wszystkie (*.*)", L"*.*"},
    PatternCase{L"Kopie (*.d-t)", L"*.d"},
    PatternCase{L"Bez wzorca", L""}};

TEST(FilterPattern, IsTakenFromTheDescription)
{
    for (const PatternCase& param : kFilterPatternTableCases) {
        SCOPED_TRACE(param.description);
        isTakenFromTheDescription(param);
    }
}

} // namespace
