#pragma once
// How the reading and programming jobs tell the user that they failed: by default the notice of a
// failed job (Notices.h), owned by the main dialog. A series of modules runs without boxes: its
// station takes the message instead, for its log.
#include <windows.h>

#include <string>

namespace kes {

class JobFailureSink {
public:
    virtual void jobFailed(HWND dialog, const std::wstring& message) = 0;

protected:
    JobFailureSink() = default;
    ~JobFailureSink() = default;
    JobFailureSink(const JobFailureSink&) = default;
    JobFailureSink& operator=(const JobFailureSink&) = default;
};

// Not owned; null (the default) brings the notice back.
void setJobFailureSink(JobFailureSink* sink);

// The notice, or the installed sink.
void reportJobFailure(HWND dialog, const std::wstring& message);

} // namespace kes
