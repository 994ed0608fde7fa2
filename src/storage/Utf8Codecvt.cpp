#include "storage/Utf8Codecvt.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <windows.h>

namespace kes {
namespace {

using Facet = codecvt_utf8<wchar_t>;

constexpr int kMaxSequence = 4;
constexpr wchar_t kStreamEnd = static_cast<wchar_t>(0xFFFF);

// UTF-16 units a sequence of the given length stands for.
constexpr int unitsOf(int sequenceLength) { return sequenceLength == kMaxSequence ? 2 : 1; }

bool isHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The state keeps a high surrogate that ended one output call until the next one.
static_assert(sizeof(std::mbstate_t) >= sizeof(wchar_t), "the state holds one UTF-16 unit");

wchar_t pendingHalf(const std::mbstate_t& state)
{
    wchar_t unit = 0;
    std::memcpy(&unit, &state, sizeof unit);
    return isHighSurrogate(unit) ? unit : 0;
}

void setPendingHalf(std::mbstate_t& state, wchar_t unit) { std::memcpy(&state, &unit, sizeof unit); }

int clampToInt(std::ptrdiff_t n) { return static_cast<int>(std::min<std::ptrdiff_t>(n, INT_MAX)); }

// Bytes a UTF-16 unit (or pair, starting at p) takes in UTF-8; sets `units` to 1 or 2.
int encodedLength(const wchar_t* p, const wchar_t* end, int& units)
{
    units = 1;
    const wchar_t c = *p;
    if (c < 0x80)
        return 1;
    if (c < 0x800)
        return 2;
    if (isHighSurrogate(c) && p + 1 < end && isLowSurrogate(p[1])) {
        units = 2;
        return 4;
    }
    return 3;  // other units, and lone surrogates (written as U+FFFD)
}

// Converts whole sequences one at a time from `from`, stopping before the first one that
// is incomplete, malformed or does not fit. Returns the bytes consumed.
std::ptrdiff_t convertSequenceWise(const char* from, const char* fromEnd, wchar_t* to,
                                   wchar_t* toEnd, wchar_t*& toNext)
{
    const char* p = from;
    toNext = to;
    while (p < fromEnd) {
        const int n = Facet::sequenceLength(static_cast<unsigned char>(*p));
        if (n == 0 || fromEnd - p < n || toEnd - toNext < unitsOf(n))
            break;
        const int produced = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, p, n, toNext,
                                                 clampToInt(toEnd - toNext));
        if (produced <= 0 || toNext[0] == kStreamEnd)
            break;
        toNext += produced;
        p += n;
    }
    return p - from;
}

} // namespace

codecvt_utf8<wchar_t>::codecvt_utf8(std::size_t refs) : std::codecvt<wchar_t, char, std::mbstate_t>(refs) {}

codecvt_utf8<wchar_t>::~codecvt_utf8() = default;

int codecvt_utf8<wchar_t>::sequenceLength(unsigned char lead)
{
    if (lead <= 0x7F)
        return 1;
    if (lead <= 0xBF)
        return 0;
    if (lead <= 0xDF)
        return 2;
    if (lead <= 0xEF)
        return 3;
    if (lead <= 0xF7)
        return 4;
    return 0;
}

bool codecvt_utf8<wchar_t>::do_always_noconv() const noexcept { return false; }

int codecvt_utf8<wchar_t>::do_max_length() const noexcept { return kMaxSequence; }

int codecvt_utf8<wchar_t>::do_encoding() const noexcept { return 0; }

std::codecvt_base::result codecvt_utf8<wchar_t>::do_in(state_type&, const extern_type* from,
                                                       const extern_type* fromEnd,
                                                       const extern_type*& fromNext, intern_type* to,
                                                       intern_type* toEnd, intern_type*& toNext) const
{
    fromNext = from;
    toNext = to;
    if (from == fromEnd)
        return ok;
    const int first = sequenceLength(static_cast<unsigned char>(*from));
    if (first == 0)
        return error;
    if (fromEnd - from < first || toEnd - to < unitsOf(first))
        return partial;

    SetLastError(0);
    const int produced = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, from, clampToInt(fromEnd - from),
                                             to, clampToInt(toEnd - to));
    if (produced > 0) {
        // U+FFFF doubles as the end of a wide stream here, so it must never reach one:
        // it stops the conversion like a malformed sequence.
        const int kept = static_cast<int>(std::find(to, to + produced, kStreamEnd) - to);
        if (kept == 0)
            return error;
        // Find the bytes behind the units kept.
        const char* p = from;
        int covered = 0;
        while (covered < kept && p < fromEnd) {
            const int n = sequenceLength(static_cast<unsigned char>(*p));
            if (n == 0 || fromEnd - p < n)
                return error;
            covered += unitsOf(n);
            p += n;
        }
        if (covered != kept)
            return error;
        fromNext = p;
        toNext = to + kept;
        return fromNext == fromEnd ? ok : partial;
    }

    const DWORD failure = GetLastError();
    if (failure != ERROR_INSUFFICIENT_BUFFER && failure != ERROR_NO_UNICODE_TRANSLATION)
        return error;
    // Too little room, or a sequence that is cut off or malformed somewhere in the input:
    // deliver what comes before it. The caller meets the bad sequence again at the front
    // next time, with more bytes behind it if the file has them.
    fromNext = from + convertSequenceWise(from, fromEnd, to, toEnd, toNext);
    return partial;
}

std::codecvt_base::result codecvt_utf8<wchar_t>::do_out(state_type& state, const intern_type* from,
                                                        const intern_type* fromEnd,
                                                        const intern_type*& fromNext, extern_type* to,
                                                        extern_type* toEnd, extern_type*& toNext) const
{
    fromNext = from;
    toNext = to;
    // The first half of a pair that ended the previous call.
    if (const wchar_t high = pendingHalf(state)) {
        if (from == fromEnd)
            return ok;
        const bool paired = isLowSurrogate(*from);
        const int bytes = paired ? 4 : 3;
        if (toEnd - to < bytes)
            return partial;
        const wchar_t pair[2] = {high, *from};
        const int produced = WideCharToMultiByte(CP_UTF8, 0, pair, paired ? 2 : 1, to, bytes, nullptr, nullptr);
        if (produced <= 0)
            return error;
        setPendingHalf(state, 0);
        to += produced;
        toNext = to;
        if (paired)
            fromNext = ++from;
    }
    if (from == fromEnd)
        return ok;
    if (to == toEnd)
        return partial;
    if (toEnd - to == 1) {
        if (*from >= 0x80)
            return partial;
        *to = static_cast<char>(*from);
        fromNext = from + 1;
        toNext = to + 1;
        return fromNext == fromEnd ? ok : partial;
    }

    // A high surrogate at the very end may be the first half of a pair whose second half
    // comes with the next call: it is taken into the state rather than written alone.
    const intern_type* end = fromEnd;
    if (isHighSurrogate(end[-1]))
        --end;
    // Take only as many units as the room holds.
    std::ptrdiff_t room = toEnd - to;
    const intern_type* fit = from;
    while (fit < end) {
        int units = 1;
        const int bytes = encodedLength(fit, end, units);
        if (bytes > room)
            break;
        room -= bytes;
        fit += units;
    }
    if (fit < end && fit == from)
        return partial;

    int produced = 0;
    if (fit > from) {
        SetLastError(0);
        produced = WideCharToMultiByte(CP_UTF8, 0, from, clampToInt(fit - from), to, clampToInt(toEnd - to),
                                       nullptr, nullptr);
        if (produced <= 0)
            return GetLastError() == ERROR_INSUFFICIENT_BUFFER ? partial : error;
    }

    // Count the units consumed by walking the bytes produced.
    std::ptrdiff_t consumed = 0;
    int walked = 0;
    while (walked < produced) {
        const int n = sequenceLength(static_cast<unsigned char>(to[walked]));
        if (n == 0)
            return error;
        walked += n;
        consumed += unitsOf(n);
    }
    if (walked != produced || consumed > fromEnd - from)
        return error;
    fromNext = from + consumed;
    toNext = to + produced;
    if (fromNext == end && end != fromEnd) {
        setPendingHalf(state, *end);
        fromNext = fromEnd;
    }
    return fromNext == fromEnd ? ok : partial;
}

std::codecvt_base::result codecvt_utf8<wchar_t>::do_unshift(state_type& state, extern_type* to,
                                                            extern_type* toEnd, extern_type*& toNext) const
{
    toNext = to;
    if (!pendingHalf(state))
        return ok;
    // A first half that never met its second: written as the replacement character.
    if (toEnd - to < 3)
        return partial;
    *toNext++ = '\xEF';
    *toNext++ = '\xBF';
    *toNext++ = '\xBD';
    setPendingHalf(state, 0);
    return ok;
}

int codecvt_utf8<wchar_t>::do_length(state_type&, const extern_type* from, const extern_type* end,
                                     std::size_t max) const
{
    const char* p = from;
    std::size_t units = 0;
    while (p < end) {
        const int n = sequenceLength(static_cast<unsigned char>(*p));
        if (n == 0 || end - p < n || units + unitsOf(n) > max)
            break;
        units += unitsOf(n);
        p += n;
    }
    return clampToInt(p - from);
}

std::locale utf8Locale() { return std::locale(std::locale::classic(), new codecvt_utf8<wchar_t>); }

bool encodeUtf8(const std::wstring& text, std::string& bytes)
{
    const std::locale locale = utf8Locale();
    const auto& facet = std::use_facet<std::codecvt<wchar_t, char, std::mbstate_t>>(locale);
    bytes.assign(text.size() * 3 + kMaxSequence, '\0');
    std::mbstate_t state{};
    const wchar_t* from = text.data();
    const wchar_t* const fromEnd = from + text.size();
    char* to = &bytes[0];
    char* const toEnd = to + bytes.size();
    while (from < fromEnd) {
        const wchar_t* fromNext = from;
        char* toNext = to;
        const auto r = facet.out(state, from, fromEnd, fromNext, to, toEnd, toNext);
        if (r == std::codecvt_base::error || (fromNext == from && toNext == to)) {
            bytes.clear();
            return false;
        }
        from = fromNext;
        to = toNext;
    }
    char* end = to;
    if (facet.unshift(state, to, toEnd, end) != std::codecvt_base::ok) {
        bytes.clear();
        return false;
    }
    bytes.resize(static_cast<std::size_t>(end - &bytes[0]));
    return true;
}

} // namespace kes
