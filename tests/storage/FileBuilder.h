#pragma once
// Data files built byte by byte in the tests, independently of the writer under test.
#include <random>
#include <string>
#include <vector>

namespace testing_support {

// UTF-8 of a wide text by the platform's own call.
std::string utf8(const std::wstring& text);

// One record per value text as the field writers give them (a text's value already ends
// in U+0002): U+0002, value, U+0002.
std::wstring recordsOf(const std::vector<std::wstring>& values);

// Signature, header, start marker, records, end marker.
std::string dataFile(const std::vector<std::wstring>& values, const std::wstring& header = L"");

// A configuration of every settings field drawn from the generator, shown in the window:
// texts up to each field's maximum length (empty ones, Polish letters, a pair now and
// then), every check box and availability at random, list selections including none.
void randomConfiguration(std::mt19937& rng);

} // namespace testing_support
