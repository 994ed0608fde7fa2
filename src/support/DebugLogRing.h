#pragma once
// The last lines of the debug log, kept beside the debugger output so the program can show
// them itself (connection diagnostics). Bounded: the oldest line goes when a new one comes.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace kes {

class DebugLogRing {
public:
    static constexpr std::size_t capacity = 50;

    // One finished line; its final line feed is not kept.
    void add(const std::wstring& line);
    std::vector<std::wstring> lines() const;  // oldest first
    void clear();
    // Grows with every line added; lets a viewer redraw only when something came.
    std::uint64_t revision() const { return revision_; }

private:
    std::deque<std::wstring> lines_;
    std::uint64_t revision_ = 0;
};

// The program's ring, filled by every line the debug log stream sends.
DebugLogRing& debugLogRing();

} // namespace kes
