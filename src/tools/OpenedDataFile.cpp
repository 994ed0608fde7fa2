#include "tools/OpenedDataFile.h"

#include "protocol/JobEvents.h"

namespace kes {
namespace {

class OpenedFile final : public JobListener {
public:
    void opened(const std::wstring& path)
    {
        path_ = path;
        addJobListener(this);
    }
    void beforeAutomaticReading() override { path_.clear(); }
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

OpenedFile& openedFile()
{
    static OpenedFile file;
    return file;
}

} // namespace

void noteSettingsOpenedFrom(const std::wstring& path) { openedFile().opened(path); }

const std::wstring& settingsOpenedFrom() { return openedFile().path(); }

} // namespace kes
