#pragma once
// UTF-8 conversion for the data file's wide streams, done by the platform's code-page
// functions. A wchar_t is one UTF-16 unit, so a four-byte sequence stands for two units.
// U+FFFF is read as an error: a wide stream here cannot tell it from its own end.
#include <cstddef>
#include <cwchar>
#include <locale>
#include <string>

namespace kes {

template <class Elem>
class codecvt_utf8;

template <>
class codecvt_utf8<wchar_t> : public std::codecvt<wchar_t, char, std::mbstate_t> {
public:
    explicit codecvt_utf8(std::size_t refs = 0);

    // Length of the sequence a byte starts: 1 to 4, or 0 for a byte that starts none.
    static int sequenceLength(unsigned char lead);

protected:
    ~codecvt_utf8() override;

    bool do_always_noconv() const noexcept override;
    int do_max_length() const noexcept override;
    int do_encoding() const noexcept override;
    result do_in(state_type& state, const extern_type* from, const extern_type* fromEnd,
                 const extern_type*& fromNext, intern_type* to, intern_type* toEnd,
                 intern_type*& toNext) const override;
    result do_out(state_type& state, const intern_type* from, const intern_type* fromEnd,
                  const intern_type*& fromNext, extern_type* to, extern_type* toEnd,
                  extern_type*& toNext) const override;
    result do_unshift(state_type& state, extern_type* to, extern_type* toEnd,
                      extern_type*& toNext) const override;
    int do_length(state_type& state, const extern_type* from, const extern_type* end,
                  std::size_t max) const override;
};

// The classic locale with the converter above in place of its wide/byte conversion.
std::locale utf8Locale();

// Whole-text conversion through the facet; false when the facet reports an error.
bool encodeUtf8(const std::wstring& text, std::string& bytes);

} // namespace kes
