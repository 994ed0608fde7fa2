#include "storage/RecordFraming.h"

#include "model/Fields.h"

#include <limits>

namespace kes {
namespace {

constexpr wchar_t kRecord = ControlBufor::kRecordMark;
constexpr wchar_t kFrame = ControlBufor::kFrameMark;
// Stands for the end of a wide stream on this platform, so no record may hold it.
constexpr wchar_t kStreamEnd = static_cast<wchar_t>(0xFFFF);
// "-2147483648" is the longest index text.
constexpr std::size_t kMaxIndexChars = 11;

[[noreturn]] void damaged() { throw ControlBufor::BadFormatInFile(); }

using Traits = std::wistream::traits_type;

wchar_t nextChar(std::wistream& in)
{
    const auto c = in.get();
    if (!in || Traits::eq_int_type(c, Traits::eof()))
        damaged();
    return Traits::to_char_type(c);
}

void expect(std::wistream& in, wchar_t wanted)
{
    if (nextChar(in) != wanted)
        damaged();
}

std::wstring readText(std::wistream& in)
{
    std::wstring text;
    std::getline(in, text, kRecord);
    if (in.fail() || in.eof() || text.find(kFrame) != std::wstring::npos)
        damaged();
    return text;
}

std::wstring readFlag(std::wistream& in)
{
    const wchar_t c = nextChar(in);
    if (c != L'0' && c != L'1')
        damaged();
    return std::wstring(1, c);
}

std::wstring readIndex(std::wistream& in, int itemCount)
{
    std::wstring text;
    for (wchar_t c = nextChar(in); c != kRecord; c = nextChar(in)) {
        if (text.size() == kMaxIndexChars)
            damaged();
        text += c;
    }
    const bool negative = !text.empty() && text[0] == L'-';
    const std::size_t digitsFrom = negative ? 1 : 0;
    if (text.size() == digitsFrom)
        damaged();
    long long value = 0;
    for (std::size_t i = digitsFrom; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            damaged();
        value = value * 10 + (text[i] - L'0');
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        damaged();
    if (itemCount > 0 && (value < -1 || value >= itemCount))
        damaged();
    return std::to_wstring(value);
}

} // namespace

const std::vector<RecordSpec>& recordSpecs()
{
    static const std::vector<RecordSpec> specs = [] {
        std::vector<RecordSpec> all;
        for (const SettingsRecord& r : settingsRecords())
            all.push_back({r.kind, r.itemCount});
        return all;
    }();
    return specs;
}

std::vector<std::wstring> readRecords(std::wistream& in, const std::vector<RecordSpec>& specs)
{
    if (!in)
        damaged();
    in.ignore(std::numeric_limits<std::streamsize>::max(), Traits::to_int_type(kFrame));
    if (!in || in.eof())
        damaged();

    std::vector<std::wstring> values;
    values.reserve(specs.size());
    for (const RecordSpec& shape : specs) {
        const wchar_t start = nextChar(in);
        if (start == kFrame)
            return values;  // an older, shorter file: the rest take their defaults
        if (start != kRecord)
            damaged();
        switch (shape.kind) {
        case RecordKind::Text:
            values.push_back(readText(in));
            expect(in, kRecord);
            break;
        case RecordKind::Flag:
            values.push_back(readFlag(in));
            expect(in, kRecord);
            break;
        case RecordKind::Index:
            values.push_back(readIndex(in, shape.itemCount));  // takes the closing mark too
            break;
        }
    }
    // A newer, longer file: its further records are skipped up to the end marker.
    in.ignore(std::numeric_limits<std::streamsize>::max(), Traits::to_int_type(kFrame));
    if (!in || in.eof())
        damaged();
    return values;
}

std::wstring frameRecords(const std::vector<std::wstring>& values, const std::vector<RecordSpec>& specs)
{
    std::wstring text(1, kFrame);
    for (std::size_t i = 0; i < values.size() && i < specs.size(); ++i) {
        text += kRecord;
        text += values[i];
        if (specs[i].kind == RecordKind::Text)
            text += kRecord;
        text += kRecord;
    }
    text += kFrame;
    return text;
}

std::wstring withoutMarkers(const std::wstring& text)
{
    std::wstring clean;
    clean.reserve(text.size());
    for (wchar_t c : text)
        if (c != kRecord && c != kFrame && c != kStreamEnd)
            clean += c;
    return clean;
}

} // namespace kes
