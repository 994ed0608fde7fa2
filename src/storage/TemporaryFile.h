#pragma once
// A file written under a temporary name: removed when the scope ends unless it was moved to its
// own name, so a failure part-way leaves nothing behind.
#include <windows.h>

#include <string>
#include <utility>

namespace kes {

class TemporaryFile {
public:
    explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
    ~TemporaryFile()
    {
        if (!path_.empty())
            DeleteFileW(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::wstring& path() const { return path_; }
    // It has its own name now: nothing to remove.
    void release() { path_.clear(); }

private:
    std::wstring path_;
};

} // namespace kes
