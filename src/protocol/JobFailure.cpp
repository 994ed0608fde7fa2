#include "protocol/JobFailure.h"

#include "protocol/Notices.h"

namespace kes {
namespace {

JobFailureSink*& installedSink()
{
    static JobFailureSink* sink = nullptr;
    return sink;
}

} // namespace

void setJobFailureSink(JobFailureSink* sink) { installedSink() = sink; }

void reportJobFailure(HWND dialog, const std::wstring& message)
{
    if (JobFailureSink* sink = installedSink())
        sink->jobFailed(dialog, message);
    else
        tellUser(dialog, Notice::JobFailed, message);
}

} // namespace kes
