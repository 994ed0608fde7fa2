// The simulator's journal (in memory, and a line an entry in a file when asked) and the state
// file that keeps the modules' memory between runs.
#include "Device.h"

#include <cstdio>

namespace qlvsim {

void Simulator::record(Direction direction, const Bytes& bytes, const std::string& note, std::int64_t at)
{
    JournalEntry entry;
    entry.timeNs = at;
    entry.direction = direction;
    entry.bytes = bytes;
    entry.note = note;
    journal_.push_back(entry);
    if (journalFile_.empty())
        return;
    FILE* file = _wfopen(journalFile_.c_str(), L"ab");
    if (!file)
        return;
    const char* arrow = direction == Direction::HostToModule ? "PC>MOD" :
                        direction == Direction::ModuleToHost ? "MOD>PC" : "------";
    std::fprintf(file, "%12.3f ms %s", static_cast<double>(at) / static_cast<double>(nsPerMs), arrow);
    for (std::uint8_t b : bytes)
        std::fprintf(file, " %02X", b);
    if (!note.empty())
        std::fprintf(file, " %s", note.c_str());
    std::fputs("\n", file);
    std::fclose(file);
}

void Simulator::setJournalFile(const std::wstring& path)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    journalFile_ = path;
}

void Simulator::setStateFile(const std::wstring& path)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    stateFile_ = path;
    if (!path.empty())
        loadState(path);
}

bool Simulator::saveState(const std::wstring& path) const
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    const std::wstring temporary = path + L".tmp";
    FILE* file = _wfopen(temporary.c_str(), L"wb");
    if (!file)
        return false;
    std::fputs("# qlv-sim module memory: serial, block, 26 bytes\n", file);
    for (const auto& d : devices_)
        for (std::size_t b = 0; b < blockCount; ++b) {
            std::fprintf(file, "%s %u", d->info.serial.c_str(), static_cast<unsigned>(b));
            for (std::uint8_t byte : d->memory[b])
                std::fprintf(file, " %02X", byte);
            std::fputs("\n", file);
        }
    const bool written = std::fflush(file) == 0;
    std::fclose(file);
    // Replace in one step so that a crash never leaves half a state file.
    return written && MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool Simulator::loadState(const std::wstring& path)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return false;
    char line[512];
    while (std::fgets(line, sizeof(line), file)) {
        if (line[0] == '#')
            continue;
        char serial[80] = {};
        unsigned number = 0;
        int used = 0;
        if (std::sscanf(line, "%79s %u%n", serial, &number, &used) != 2 || number >= blockCount)
            continue;
        Block values{};
        const char* cursor = line + used;
        bool complete = true;
        for (auto& value : values) {
            unsigned byte = 0;
            int step = 0;
            if (std::sscanf(cursor, " %2x%n", &byte, &step) != 1) {
                complete = false;
                break;
            }
            value = static_cast<std::uint8_t>(byte);
            cursor += step;
        }
        if (!complete)
            continue;
        for (auto& d : devices_)
            if (d->info.serial == serial)
                d->memory[number] = values;
    }
    std::fclose(file);
    return true;
}

void Simulator::persist()
{
    if (!stateFile_.empty())
        saveState(stateFile_);
}

} // namespace qlvsim
