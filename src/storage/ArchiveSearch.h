#pragma once
// Finding archive entries by what an installer remembers: a name, a text, a phone number.
// Every word of a query must occur in the entry, Polish letters and case aside. A phone
// number is found however either side writes it: "601 234 567", "601-234-567",
// "+48 601 234 567" and "48601234567" all find "+48601234567" and "601234567".
#include <optional>
#include <string>
#include <vector>

namespace kes {

// The settings an entry is found by. The PIN is never among them.
struct ArchiveSearchFields {
    std::wstring accessCode;
    std::vector<std::wstring> names;     // IN-1, IN-2, OUT-1, OUT-2, TEMP
    std::vector<std::wstring> smsTexts;  // IN-1 ON, IN-1 OFF, IN-2 ON, IN-2 OFF
    std::vector<std::wstring> phones;    // the active users'
    std::wstring user1Phone;             // as the window shows it: empty while user 1 is off
};

// Taken from a data file's records (from the start marker on); nothing when their framing is
// damaged. Records an older, shorter file lacks give the fields' defaults, as opening it does.
std::optional<ArchiveSearchFields> archiveSearchFields(const std::wstring& records);

// What a query is matched against.
struct ArchiveSearchText {
    std::wstring text;    // folded texts, one a line
    std::wstring phones;  // each phone's digits in national form, one a line
};

ArchiveSearchText archiveSearchText(const std::wstring& moduleText, const std::wstring& interfaceSerial,
                                    const ArchiveSearchFields& fields);

// Lower case, Polish letters as their base letters: "Łąka" gives "laka".
std::wstring foldForSearch(const std::wstring& text);

// A phone number's digits without the Polish country code: "+48 601-234-567", "0048601234567"
// and "48601234567" give "601234567"; other numbers keep every digit.
std::wstring nationalDigits(const std::wstring& phone);

class ArchiveQuery {
public:
    explicit ArchiveQuery(const std::wstring& query);

    // An empty query matches everything.
    bool matches(const ArchiveSearchText& entry) const;

private:
    // A run of words made only of digits, "+" and "-" is a phone number first (its national
    // digits found in one of the entry's phones), else the run as written in a text.
    struct Term {
        std::wstring phone;
        std::vector<std::wstring> words;
    };
    std::vector<Term> terms_;
};

} // namespace kes
