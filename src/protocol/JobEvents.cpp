#include "protocol/JobEvents.h"

#include <algorithm>

namespace kes {
namespace {

std::vector<JobListener*>& listeners()
{
    static std::vector<JobListener*> all;
    return all;
}

} // namespace

void addJobListener(JobListener* listener)
{
    auto& all = listeners();
    if (listener && std::find(all.begin(), all.end(), listener) == all.end())
        all.push_back(listener);
}

void removeJobListener(JobListener* listener)
{
    auto& all = listeners();
    all.erase(std::remove(all.begin(), all.end(), listener), all.end());
}

const std::vector<JobListener*>& jobListeners() { return listeners(); }

} // namespace kes
