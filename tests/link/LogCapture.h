#pragma once
// Collects the debug log's lines while alive.
#include "support/DebugLog.h"

#include <string>
#include <vector>

namespace linktest {

class LogCapture {
public:
    LogCapture() { previous_ = kes::setDebugLogSink(&LogCapture::sink); lines().clear(); }
    ~LogCapture() { kes::setDebugLogSink(previous_); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    static std::vector<std::wstring>& lines()
    {
        static std::vector<std::wstring> captured;
        return captured;
    }
    static std::size_t count(const std::wstring& line)
    {
        std::size_t n = 0;
        for (const auto& l : lines())
            n += l == line ? 1 : 0;
        return n;
    }

private:
    static void sink(const wchar_t* line) { lines().push_back(line); }
    kes::DebugLogSink previous_ = nullptr;
};

} // namespace linktest
