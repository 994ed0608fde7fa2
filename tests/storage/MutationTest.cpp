#include "storage/DataFile.h"

#include "model/Catalogue.h"
#include "storage/FileBuilder.h"
#include "storage/TestWindow.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <psapi.h>
#include <random>
#include <sstream>

namespace {

using namespace testing_support;

// What a reader that keeps to the rules must make of a file, worked out here on our own:
// strict UTF-8, the framing by position, the kinds of the fields.
enum class Verdict { Ignored, Refused, Loaded };

struct Expectation {
    Verdict verdict = Verdict::Refused;
    std::vector<std::wstring> values;  // Loaded: the value text of each record present
};

enum class Kind { Text, Flag, Index };

struct Field {
    Kind kind;
    int maxLength;  // Text
    int items;      // Index
};

std::vector<Field> fieldsOfSettings()
{
    std::vector<Field> fields;
    for (std::size_t i = 0; i < settingsBufor.size(); ++i) {
        auto* c = settingsBufor.at(i);
        if (auto* e = dynamic_cast<kes::EditControl::EditControlInternal*>(c))
            fields.push_back({Kind::Text, e->maxLength, 0});
        else if (auto* l = dynamic_cast<kes::ComboboxControl<int>::ComboboxControlInternal*>(c))
            fields.push_back({Kind::Index, 0, static_cast<int>(l->items.size())});
        else
            fields.push_back({Kind::Flag, 0, 0});
    }
    return fields;
}

// Strict decoding; stops before the first malformed, overlong, surrogate or out-of-range
// sequence, and before U+FFFF, which a wide stream here cannot tell from its end.
std::wstring decodeStrictly(const std::string& bytes, std::size_t from)
{
    std::wstring out;
    std::size_t i = from;
    while (i < bytes.size()) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        int n = 0;
        unsigned long c = 0;
        if (b < 0x80) { n = 1; c = b; }
        else if (b >= 0xC2 && b <= 0xDF) { n = 2; c = b & 0x1F; }
        else if (b >= 0xE0 && b <= 0xEF) { n = 3; c = b & 0x0F; }
        else if (b >= 0xF0 && b <= 0xF4) { n = 4; c = b & 0x07; }
        else break;
        if (i + n > bytes.size())
            break;
        bool ok = true;
        for (int k = 1; k < n; ++k) {
            const unsigned char t = static_cast<unsigned char>(bytes[i + k]);
            if ((t & 0xC0) != 0x80) { ok = false; break; }
            c = (c << 6) | (t & 0x3F);
        }
        if (!ok || (n == 3 && c < 0x800) || (n == 4 && (c < 0x10000 || c > 0x10FFFF)) ||
            (c >= 0xD800 && c <= 0xDFFF) || c == 0xFFFF)
            break;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (c >> 10));
            out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<wchar_t>(c);
        }
        i += static_cast<std::size_t>(n);
    }
    return out;
}

std::optional<std::wstring> parseIndex(const std::wstring& text, int items)
{
    if (text.empty() || text.size() > 11)
        return std::nullopt;
    const std::size_t from = text[0] == L'-' ? 1 : 0;
    if (from == text.size())
        return std::nullopt;
    long long v = 0;
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            return std::nullopt;
        v = v * 10 + (text[i] - L'0');
    }
    if (from)
        v = -v;
    if (v < -1 || v >= items)
        return std::nullopt;
    return std::to_wstring(v);
}

Expectation expectationFor(const std::string& bytes, const std::vector<Field>& fields)
{
    Expectation e;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") != 0 || bytes.size() < 3) {
        e.verdict = Verdict::Ignored;
        return e;
    }
    const std::wstring text = decodeStrictly(bytes, 3);
    std::size_t p = text.find(L'\x0003');
    if (p == std::wstring::npos)
        return e;
    ++p;
    const auto next = [&](wchar_t& c) {
        if (p >= text.size())
            return false;
        c = text[p++];
        return true;
    };
    bool ended = false;
    for (const Field& f : fields) {
        wchar_t c = 0;
        if (!next(c))
            return e;
        if (c == L'\x0003') {
            ended = true;
            break;
        }
        if (c != L'\x0002')
            return e;
        std::wstring value;
        while (next(c) && c != L'\x0002')
            value += c;
        if (c != L'\x0002' || value.find(L'\x0003') != std::wstring::npos)
            return e;
        if (f.kind == Kind::Flag) {
            if (value != L"0" && value != L"1")
                return e;
        } else if (f.kind == Kind::Index) {
            const auto canonical = parseIndex(value, f.items);
            if (!canonical)
                return e;
            value = *canonical;
        }
        if (f.kind == Kind::Text && !(next(c) && c == L'\x0002'))
            return e;
        e.values.push_back(value);
    }
    if (!ended && text.find(L'\x0003', p) == std::wstring::npos)
        return e;
    e.verdict = Verdict::Loaded;
    return e;
}

// The snapshot a load of these values leaves. With a window, a control shows a text up
// to its first NUL; without one the field keeps the text it was given.
std::vector<std::wstring> loadedSnapshot(const Expectation& e, const std::vector<Field>& fields,
                                         const std::vector<std::wstring>& defaults, bool window)
{
    std::vector<std::wstring> result = defaults;
    for (std::size_t i = 0; i < e.values.size(); ++i) {
        std::wstring v = e.values[i];
        if (fields[i].kind == Kind::Text) {
            if (fields[i].maxLength > 0 && v.size() > static_cast<std::size_t>(fields[i].maxLength))
                v.resize(static_cast<std::size_t>(fields[i].maxLength));
            if (window)
                v = v.c_str();
            v += L'\x0002';
        }
        result[i] = v;
    }
    return result;
}

std::string mutate(std::string bytes, std::mt19937& rng, int& operation)
{
    static const std::string invalid[] = {"\x80", "\xC3(", "\xE2\x82", "\xF8", "\xFF", "\xED\xA0\x80",
                                          "\xC0\xAF", "\xF4\x90\x80\x80", "\xEF\xBF\xBF"};
    const auto position = [&](std::size_t extra) {
        return std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1 + extra)(rng);
    };
    operation = std::uniform_int_distribution<int>(0, 6)(rng);
    switch (operation) {
    case 0:  // bit flips
        for (int k = std::uniform_int_distribution<int>(1, 3)(rng); k > 0; --k)
            bytes[position(0)] ^= static_cast<char>(1 << std::uniform_int_distribution<int>(0, 7)(rng));
        break;
    case 1:  // truncation
        bytes.resize(std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(rng));
        break;
    case 2:  // inserted bytes
        for (int k = std::uniform_int_distribution<int>(1, 4)(rng); k > 0; --k)
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(position(1)),
                         static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng)));
        break;
    case 3:  // deleted bytes
        bytes.erase(position(0), std::uniform_int_distribution<std::size_t>(1, 4)(rng));
        break;
    case 4:  // invalid UTF-8
        bytes.insert(position(1), invalid[std::uniform_int_distribution<std::size_t>(0, std::size(invalid) - 1)(rng)]);
        break;
    case 5:  // a stray mark
        bytes.insert(position(1), 1, std::uniform_int_distribution<int>(0, 1)(rng) ? '\x02' : '\x03');
        break;
    default: {  // a changed digit: flags and list indices
        const std::size_t at = bytes.find_first_of("0123456789", position(0));
        if (at != std::string::npos)
            bytes[at] = static_cast<char>('0' + std::uniform_int_distribution<int>(0, 9)(rng));
        break;
    }
    }
    return bytes;
}

int casesFromEnvironment(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    const int n = value ? std::atoi(value) : 0;
    return n > 0 ? n : fallback;
}

struct Tally {
    int cases = 0;
    std::map<Verdict, int> verdicts;
};

void runMutations(int cases, unsigned seed, HWND owner, bool window, const wchar_t* fileName, Tally& tally)
{
    MessageBoxRecorder boxes;
    TempFolder folder;
    const std::wstring path = folder.file(fileName);
    const std::vector<Field> fields = fieldsOfSettings();
    restoreDefaults();
    const auto defaults = settingsSnapshot();

    // Valid files to start from: the start-up window and a few random configurations.
    std::mt19937 rng(seed);
    std::vector<std::string> bases;
    for (int i = 0; i < 5; ++i) {
        if (i > 0)
            randomConfiguration(rng);
        std::wostringstream text;
        kes::writeDataFile(text);
        bases.push_back(utf8(text.str()));
    }
    randomConfiguration(rng);
    accessCode.setText(L"ZZZZ");
    const auto before = settingsSnapshot();

    bool changed = false;
    for (int i = 0; i < cases; ++i) {
        const std::string& base = bases[static_cast<std::size_t>(i) % bases.size()];
        int operation = 0;
        const std::string bytes = mutate(base, rng, operation);
        ASSERT_TRUE(writeFileBytes(path, bytes));
        if (changed) {
            std::wistringstream restore(L"\xFEFF\x0003" + recordsOf(before) + L"\x0003");
            kes::readDataFile(restore);
            ASSERT_EQ(before, settingsSnapshot());
        }
        boxes.clear();
        {
            FileDialogAnswer answer(path);
            kes::openDataFile(owner);
        }
        const Expectation e = expectationFor(bytes, fields);
        const auto after = settingsSnapshot();
        ++tally.cases;
        ++tally.verdicts[e.verdict];
        const std::string where = "case " + std::to_string(i) + ", operation " + std::to_string(operation) +
                                  ", boxes " + std::to_string(boxes.boxes().size()) +
                                  (after == before ? ", unchanged" : ", changed");
        if (std::getenv("QUELLMO_KEEP_FAILED_MUTATION"))
            writeFileBytes(L"Z:\\tmp\\mutation-" + std::to_wstring(i) + L".dat", bytes);
        switch (e.verdict) {
        case Verdict::Ignored:
            ASSERT_TRUE(boxes.boxes().empty()) << where;
            ASSERT_EQ(before, after) << where;
            changed = false;
            break;
        case Verdict::Refused:
            ASSERT_EQ(1u, boxes.boxes().size()) << where;
            ASSERT_EQ(L"Błędny format pliku: " + path, boxes.boxes()[0].text) << where;
            ASSERT_EQ(before, after) << where;
            changed = false;
            break;
        case Verdict::Loaded:
            ASSERT_TRUE(boxes.boxes().empty()) << where;
            ASSERT_EQ(loadedSnapshot(e, fields, defaults, window), after) << where;
            changed = true;
            break;
        }
    }
}

void report(const char* name, const Tally& tally)
{
    std::cout << "RELIABILITY " << name << " " << tally.cases << std::endl;
    std::cout << "mutation cases: " << tally.cases << " (loaded " << tally.verdicts.at(Verdict::Loaded) << ", refused "
              << tally.verdicts.at(Verdict::Refused) << ", ignored " << tally.verdicts.at(Verdict::Ignored) << ")"
              << std::endl;
}

TEST(MutatedFiles, EveryOutcomeIsAFullLoadOrTheFormatMessageWithNothingChanged)
{
    // The fields work on their own values here (no window), so thousands of cases stay quick.
    Tally tally;
    runMutations(casesFromEnvironment("QUELLMO_MUTATION_CASES", 6000), 5, nullptr, false, L"mutated.dat", tally);
    ASSERT_FALSE(HasFatalFailure());
    for (const Verdict v : {Verdict::Loaded, Verdict::Refused, Verdict::Ignored})
        EXPECT_GT(tally.verdicts[v], 0) << "every outcome should be met";
    report("mutated_files", tally);
    RecordProperty("mutation_cases", tally.cases);
}

TEST(MutatedFiles, TheSameHoldsWithTheRealControls)
{
    TestWindow window;
    Tally tally;
    runMutations(casesFromEnvironment("QUELLMO_MUTATION_WINDOW_CASES", 500), 6, window.handle(), true,
                 L"mutated-window.dat", tally);
    ASSERT_FALSE(HasFatalFailure());
    for (const Verdict v : {Verdict::Loaded, Verdict::Refused})
        EXPECT_GT(tally.verdicts[v], 0);
    report("mutated_files_window", tally);
}

SIZE_T peakMemory()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return std::max(counters.PeakWorkingSetSize, counters.PeakPagefileUsage);
}

TEST(LargeFile, WithoutStartMarkerIsRefusedWithoutBeingHeldInMemory)
{
    constexpr std::size_t kSize = 50u << 20;
    TempFolder folder;
    const std::wstring path = folder.file(L"large.dat");
    {
        std::ofstream out(path.c_str(), std::ios::binary);
        out << "\xEF\xBB\xBF";
        const std::string chunk(1u << 20, 'A');
        for (std::size_t written = 0; written < kSize; written += chunk.size())
            out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        ASSERT_TRUE(out.good());
    }
    restoreDefaults();
    const auto before = settingsSnapshot();
    MessageBoxRecorder boxes;
    const SIZE_T peakBefore = peakMemory();
    {
        FileDialogAnswer answer(path);
        kes::openDataFile(nullptr);
    }
    const SIZE_T grown = peakMemory() - peakBefore;
    ASSERT_EQ(1u, boxes.boxes().size());
    EXPECT_EQ(L"Błędny format pliku: " + path, boxes.boxes()[0].text);
    EXPECT_EQ(before, settingsSnapshot());
    EXPECT_LT(grown, kSize / 4) << "peak memory grew by " << grown << " bytes";
    std::cout << "peak memory growth for a 50 MB file: " << grown << " bytes (peak before " << peakBefore << ")"
              << std::endl;
}

} // namespace
