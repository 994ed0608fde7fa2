// The list class on a real owner-data list view: the comparison's template with a test's rows,
// driven from inside the dialog's modal loop.
#include "ui/ReportList.h"

#include "CaseName.h"
#include "ShownDialog.h"
#include "TestClipboard.h"
#include "UiTestSupport.h"
#include "ui/ResourceIds.h"
#include "ui/WindowHelpers.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

const kes::ListCells heading{L"Moduł", L"Czas", L"Wynik"};

std::wstring cellText(std::size_t row, std::size_t column)
{
    return (column == 0 ? L"Brama " : column == 1 ? L"12:0" : L"wynik ") + std::to_wstring(row);
}

// Runs `inside` once the dialog shows its rows, then ends.
class ListDialog final : public uitest::ShownDialog {
public:
    ListDialog(std::size_t rows, std::function<void(ListDialog&)> inside)
        : ShownDialog(IDD_COMPARISON_DIALOG), rows_(rows), inside_(std::move(inside))
    {
        kes::setInstanceHandle(GetModuleHandleW(nullptr));
    }

    kes::ReportList list;
    int cellsAsked = 0;
    HWND copyButton() const { return item(IDC_COMPARISON_COPY); }

private:
    void prepare() override
    {
        list.attach(item(IDC_COMPARISON_LIST), {{heading[0].c_str(), 50}, {heading[1].c_str(), 25}, {heading[2].c_str(), 25}});
        addPart(list);
        list.setSource(rows_, [this](std::size_t row, std::size_t column) {
            ++cellsAsked;
            return cellText(row, column);
        });
        follow(IDC_COMPARISON_LIST, kes::Follow::Wider | kes::Follow::Taller);
        follow(IDC_COMPARISON_COPY, kes::Follow::Down);
        follow(IDCANCEL, kes::Follow::Right | kes::Follow::Down);
    }
    void whenShown() override { inside_(*this); }

    std::size_t rows_;
    std::function<void(ListDialog&)> inside_;
};

void run(std::size_t rows, std::function<void(ListDialog&)> inside)
{
    bool ran = false;
    ListDialog dialog(rows, [&](ListDialog& d) {
        ran = true;
        inside(d);
    });
    dialog.runModal(nullptr);
    EXPECT_TRUE(ran) << "the dialog did not run";
}

std::wstring lines(std::initializer_list<std::size_t> rows)
{
    std::wstring text = L"Moduł\tCzas\tWynik\r\n";
    for (std::size_t r : rows)
        text += cellText(r, 0) + L'\t' + cellText(r, 1) + L'\t' + cellText(r, 2) + L"\r\n";
    return text;
}

void select(HWND list, std::size_t row)
{
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
}

// A key as the list gets it with the Ctrl key held down or not.
void press(HWND list, WORD key, bool control)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
    SendMessageW(list, WM_KEYDOWN, key, 1);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

TEST(ReportList, TenThousandRowsAreCountedAtOnceAndOnlyTheShownCellsAreAsked)
{
    run(10000, [](ListDialog& d) {
        HWND list = d.list.handle();
        EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 10000);
        EXPECT_GT(d.cellsAsked, 0) << "the shown rows were drawn";
        EXPECT_LT(d.cellsAsked, 300) << "no more than a screenful";
        EXPECT_EQ(uitest::listCell(list, 9999, 2), L"wynik 9999");
    });
}

struct KeysCase {
    const char* name;
    std::vector<std::size_t> selected;
    std::vector<std::pair<WORD, bool>> keys;  // key, with Ctrl
    std::wstring copied;
    std::vector<std::size_t> selectedAfter;
};

const KeysCase keysCases[] = {
    {"Ctrl C with nothing selected copies every row", {}, {{'C', true}}, lines({0, 1, 2}), {}},
    {"Ctrl C copies the selected rows in their order", {2, 0}, {{'C', true}}, lines({0, 2}), {0, 2}},
    {"Ctrl Insert copies as Ctrl C does", {1}, {{VK_INSERT, true}}, lines({1}), {1}},
    {"Ctrl A selects every row", {1}, {{'A', true}, {'C', true}}, lines({0, 1, 2}), {0, 1, 2}},
    {"C alone copies nothing", {1}, {{'C', false}}, L"", {1}},
};

class ReportListKeys : public ::testing::TestWithParam<KeysCase> {};

TEST_P(ReportListKeys, CopyAndSelectAsTheKeysSay)
{
    const KeysCase& c = GetParam();
    run(3, [&](ListDialog& d) {
        HWND list = d.list.handle();
        for (std::size_t row : c.selected)
            select(list, row);
        ASSERT_TRUE(uitest::emptyClipboard());
        for (const auto& [key, control] : c.keys)
            press(list, key, control);
        EXPECT_EQ(uitest::clipboardText(), c.copied);
        EXPECT_EQ(d.list.selectedRows(), c.selectedAfter);
    });
}

INSTANTIATE_TEST_SUITE_P(Keys, ReportListKeys, ::testing::ValuesIn(keysCases), casename::ByName());

struct FindCase {
    const char* name;
    const wchar_t* typed;
    UINT flags;
    int after;  // the row after which the search starts, -1 for the top
    int found;
};

// 25 rows: "Brama 1" begins rows 1 and 10 to 19.
const FindCase findCases[] = {
    {"the first row that begins so", L"brama 1", LVFI_PARTIAL | LVFI_STRING, -1, 1},
    {"round to the top when told to wrap", L"Brama 1", LVFI_PARTIAL | LVFI_STRING | LVFI_WRAP, 20, 1},
    {"not round without it", L"Brama 1", LVFI_PARTIAL | LVFI_STRING, 20, -1},
    {"nothing that begins so", L"Furtka", LVFI_PARTIAL | LVFI_STRING | LVFI_WRAP, -1, -1},
};

class ReportListFind : public ::testing::TestWithParam<FindCase> {};

// Typing in the list goes to the row whose first cell begins with what was typed.
TEST_P(ReportListFind, FindsTheRowByItsFirstCell)
{
    const FindCase& c = GetParam();
    run(25, [&](ListDialog& d) {
        LVFINDINFOW find{};
        find.flags = c.flags;
        find.psz = c.typed;
        EXPECT_EQ(SendMessageW(d.list.handle(), LVM_FINDITEMW, static_cast<WPARAM>(c.after),
                               reinterpret_cast<LPARAM>(&find)),
                  c.found);
    });
}

INSTANTIATE_TEST_SUITE_P(Typed, ReportListFind, ::testing::ValuesIn(findCases), casename::ByName());

TEST(ReportList, TheListAndItsColumnsFollowTheDialogsSize)
{
    run(3, [](ListDialog& d) {
        HWND window = GetParent(d.list.handle());
        const RECT list = uitest::clientRectInParent(d.list.handle());
        const RECT copy = uitest::clientRectInParent(d.copyButton());
        const RECT close = uitest::clientRectInParent(GetDlgItem(window, IDCANCEL));
        RECT frame{};
        GetWindowRect(window, &frame);
        MINMAXINFO limits{};
        SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        EXPECT_EQ(limits.ptMinTrackSize.x, frame.right - frame.left) << "no smaller than it opened";
        EXPECT_EQ(limits.ptMinTrackSize.y, frame.bottom - frame.top);

        SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + 200, frame.bottom - frame.top + 100,
                     SWP_NOMOVE | SWP_NOZORDER);

        const RECT wider = uitest::clientRectInParent(d.list.handle());
        EXPECT_EQ(wider.right - wider.left, list.right - list.left + 200);
        EXPECT_EQ(wider.bottom - wider.top, list.bottom - list.top + 100);
        const RECT copied = uitest::clientRectInParent(d.copyButton());
        EXPECT_EQ(copied.left, copy.left);
        EXPECT_EQ(copied.top, copy.top + 100);
        const RECT closed = uitest::clientRectInParent(GetDlgItem(window, IDCANCEL));
        EXPECT_EQ(closed.left, close.left + 200);
        EXPECT_EQ(closed.top, close.top + 100);
        // Half, a quarter and a quarter of the width that leaves room for the scroll bar.
        RECT client{};
        GetClientRect(d.list.handle(), &client);
        const int width = client.right - GetSystemMetrics(SM_CXVSCROLL);
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(SendMessageW(d.list.handle(), LVM_GETCOLUMNWIDTH, column, 0), width * (column ? 25 : 50) / 100)
                << column;
    });
}

} // namespace
