// The main of every test program. A run passes only when every case the program holds ran to its
// end and passed; only then does it print the closing line that run-gtest.sh looks for. A filter
// left in the environment, a skipped or disabled case, or a process that ends before its last case
// can therefore never pass on silence.
// Each run also has a LOCALAPPDATA of its own, inherited by the programs it starts: the module
// archive its jobs write never meets another run's, nor the prefix's own.
#include "OwnLocalAppData.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

namespace {

// The cases that ended and passed, counted here rather than trusted to the run's own totals.
class PassedCases final : public testing::EmptyTestEventListener {
public:
    void OnTestEnd(const testing::TestInfo& info) override
    {
        if (info.result()->Passed())  // false for a skipped case
            passed_.insert(&info);
    }
    bool has(const testing::TestInfo* info) const { return passed_.count(info) != 0; }

private:
    std::set<const testing::TestInfo*> passed_;
};

int casesNotPassed(const testing::UnitTest& unit, const PassedCases& passed)
{
    int missing = 0;
    for (int s = 0; s < unit.total_test_suite_count(); ++s) {
        const testing::TestSuite& suite = *unit.GetTestSuite(s);
        for (int t = 0; t < suite.total_test_count(); ++t)
            if (!passed.has(suite.GetTestInfo(t)))
                ++missing;
    }
    return missing;
}

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();

    const harness::OwnLocalAppData localAppData;
    testing::UnitTest& unit = *testing::UnitTest::GetInstance();
    auto* passed = new PassedCases;  // owned by the listener list from here on
    unit.listeners().Append(passed);
    const int result = RUN_ALL_TESTS();

    const int total = unit.total_test_count();
    const int missing = casesNotPassed(unit, *passed);
    if (result != 0 || missing != 0 || total == 0) {
        std::printf("quellmo: %d of %d cases did not run or did not pass\n", missing, total);
        std::fflush(stdout);
        return 1;
    }
    std::printf("quellmo: all %d cases ran and passed\n", total);
    std::fflush(stdout);
    return 0;
}
