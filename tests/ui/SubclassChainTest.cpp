#include "ui/SubclassChain.h"

#include "UiTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT probe = WM_APP + 7;
constexpr UINT next = WM_APP + 8; // a message after the stopped one
std::vector<std::string> seen;
std::vector<WPARAM> baseArguments;

LRESULT CALLBACK baseProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == probe) {
        seen.push_back("base");
        baseArguments.push_back(wp);
        return 100;
    }
    if (m == next) {
        seen.push_back("base next");
        return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
}

LRESULT CALLBACK first(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == probe)
        seen.push_back("first");
    if (m == next)
        seen.push_back("first next");
    (void)w;
    (void)lp;
    (void)wp;
    return 1;
}

LRESULT CALLBACK second(HWND, UINT m, WPARAM, LPARAM)
{
    if (m == probe)
        seen.push_back("second");
    return 2;
}

LRESULT CALLBACK stopper(HWND w, UINT m, WPARAM, LPARAM)
{
    if (m == probe) {
        seen.push_back("stopper");
        kes::stopChain(w);
        return 7;
    }
    return 0;
}

LRESULT CALLBACK doubler(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == probe) {
        seen.push_back("doubler");
        return kes::forward(w, m, wp * 2, lp) + 1;
    }
    return kes::forward(w, m, wp, lp);
}

void* dataSeen = nullptr;
LRESULT CALLBACK dataReader(HWND w, UINT m, WPARAM, LPARAM)
{
    if (m == probe)
        dataSeen = kes::chainData(w);
    return 0;
}

class SubclassChain : public ::testing::Test {
protected:
    void SetUp() override
    {
        seen.clear();
        baseArguments.clear();
        WNDCLASSW wc{};
        wc.lpfnWndProc = &baseProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QuellmoChainTest";
        RegisterClassW(&wc);
        window = CreateWindowExW(0, L"QuellmoChainTest", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override
    {
        if (IsWindow(window))
            DestroyWindow(window);
    }
    HWND window = nullptr;
};

TEST_F(SubclassChain, NewestRunsFirstAndTheBaseProcedureLast)
{
    kes::subclass(window, &first, nullptr);
    kes::subclass(window, &second, nullptr);
    const LRESULT result = SendMessageW(window, probe, 0, 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"second", "first", "base"}));
    EXPECT_EQ(result, 100) << "the result is the last entry's";
}

TEST_F(SubclassChain, StopFlagKeepsTheMessageFromLaterEntries)
{
    kes::subclass(window, &first, nullptr);
    kes::subclass(window, &stopper, nullptr);
    EXPECT_EQ(SendMessageW(window, probe, 0, 0), 7);
    EXPECT_EQ(seen, (std::vector<std::string>{"stopper"}));
    // The flag belongs to one message only: the stopper lets the next one through.
    seen.clear();
    SendMessageW(window, next, 0, 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"first next", "base next"}));
}

TEST_F(SubclassChain, ForwardRunsTheRestOnceWithTheChangedMessage)
{
    kes::subclass(window, &first, nullptr);
    kes::subclass(window, &doubler, nullptr);
    const LRESULT result = SendMessageW(window, probe, 21, 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"doubler", "first", "base"}));
    EXPECT_EQ(baseArguments, (std::vector<WPARAM>{42}));
    EXPECT_EQ(result, 101) << "forward returns the rest's result; the forwarding entry's own is final";
}

TEST_F(SubclassChain, SubclassingTwiceReplacesTheDataAndReturnsTheOldOne)
{
    int a = 1, b = 2;
    EXPECT_EQ(kes::subclass(window, &dataReader, &a), nullptr);
    EXPECT_EQ(kes::subclass(window, &dataReader, &b), &a);
    SendMessageW(window, probe, 0, 0);
    EXPECT_EQ(dataSeen, &b);
    EXPECT_EQ(seen, (std::vector<std::string>{"base"})) << "the procedure is in the chain once";
}

TEST_F(SubclassChain, DestroyRestoresTheBaseProcedureAndFreesTheChain)
{
    const std::size_t before = kes::liveChainCount();
    const LONG_PTR original = GetWindowLongPtrW(window, GWLP_WNDPROC);
    kes::subclass(window, &first, nullptr);
    EXPECT_EQ(kes::liveChainCount(), before + 1);
    EXPECT_NE(GetWindowLongPtrW(window, GWLP_WNDPROC), original);
    EXPECT_NE(GetWindowLongPtrW(window, GWLP_USERDATA), 0);

    SendMessageW(window, WM_DESTROY, 0, 0); // the chain's clean-up, with the window still there to inspect
    EXPECT_EQ(kes::liveChainCount(), before);
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), original);
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_USERDATA), 0);
    seen.clear();
    SendMessageW(window, probe, 0, 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"base"}));
}

TEST_F(SubclassChain, DestroyingTheWindowInsideItsOwnMessageIsSafe)
{
    struct Local {
        static LRESULT CALLBACK destroyer(HWND w, UINT m, WPARAM wp, LPARAM lp)
        {
            if (m == probe) {
                DestroyWindow(w);
                return 5;
            }
            return kes::forward(w, m, wp, lp);
        }
    };
    const std::size_t before = kes::liveChainCount();
    kes::subclass(window, &first, nullptr);
    kes::subclass(window, &Local::destroyer, nullptr);
    SendMessageW(window, probe, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(kes::liveChainCount(), before);
}

} // namespace
