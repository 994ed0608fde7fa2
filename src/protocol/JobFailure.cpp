#include "protocol/JobFailure.h"

#include "support/MessageBox.h"

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
        showMessageBox(dialog, message, L"Błąd", MB_ICONERROR);
}

} // namespace kes
