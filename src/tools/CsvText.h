#pragma once
// Text as spreadsheets save it: the file's encoding, the cell separator its header row uses, and
// records of cells quoted the way spreadsheets quote them ("a;b", doubled quotes, line breaks).
#include <string>
#include <vector>

namespace kes {

// UTF-16 LE with its signature, UTF-8 with or without its signature, else Windows-1250. False for
// bytes that claim an encoding and break it.
bool decodeSpreadsheetText(const std::string& bytes, std::wstring& text);

// ";", tab or ",": whichever the first line holds most of outside quotes (";" when it holds none).
wchar_t cellSeparator(const std::wstring& text);

struct CsvRecords {
    std::vector<std::vector<std::wstring>> records;
    bool unterminatedQuote = false;  // the last record ran to the end inside a quoted cell
};

// Records end at CR LF, LF or CR outside quotes; a line break at the very end ends no record.
CsvRecords splitCsv(const std::wstring& text, wchar_t separator);

} // namespace kes
