// How long a list of 10,000 rows takes to show, from handing over the rows to the list drawn:
// the program's list (rows asked for as they are drawn) on the comparison's template, beside the
// same rows inserted one by one into an ordinary list view. Median of several runs, one
// "key value" line each:
//   list_rows, list_show_ms, inserted_show_ms
#include "ShownDialog.h"
#include "WallClock.h"
#include "ui/ReportList.h"
#include "ui/ResourceIds.h"
#include "ui/WindowHelpers.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr std::size_t rowCount = 10000;
constexpr int runs = 5;

std::vector<kes::ListCells> rows()
{
    std::vector<kes::ListCells> all;
    for (std::size_t r = 0; r < rowCount; ++r)
        all.push_back({L"2026-12-09 12:00:" + std::to_wstring(r % 60), L"Brama " + std::to_wstring(r), L"OK"});
    return all;
}

void drawNow(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// Shown, times both lists once and ends.
class BenchDialog final : public uitest::ShownDialog {
public:
    BenchDialog() : ShownDialog(IDD_COMPARISON_DIALOG) {}
    double listMs = 0;
    double insertedMs = 0;

private:
    kes::ReportList list_;

    void whenShown() override
    {
        timeList();
        timeInserted();
    }

    void timeList()
    {
        list_.attach(item(IDC_COMPARISON_LIST), {{L"Czas", 40}, {L"Moduł", 40}, {L"Wynik", 20}});
        addPart(list_);
        std::vector<kes::ListCells> all = rows();
        const double start = wallMs();
        list_.setRows(std::move(all));
        drawNow(list_.handle());
        listMs = wallMs() - start;
    }

    void timeInserted()
    {
        const RECT place = itemRect(IDC_COMPARISON_LIST);
        HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, place.left,
                                    place.top, place.right - place.left, place.bottom - place.top, window(), nullptr,
                                    kes::instanceHandle(), nullptr);
        const wchar_t* captions[] = {L"Czas", L"Moduł", L"Wynik"};
        for (int c = 0; c < 3; ++c) {
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.pszText = const_cast<wchar_t*>(captions[c]);
            column.cx = 150;
            SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
        }
        const std::vector<kes::ListCells> all = rows();
        const double start = wallMs();
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        for (std::size_t r = 0; r < all.size(); ++r) {
            LVITEMW row{};
            row.mask = LVIF_TEXT;
            row.iItem = static_cast<int>(r);
            row.pszText = const_cast<wchar_t*>(all[r][0].c_str());
            SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row));
            for (int c = 1; c < 3; ++c) {
                LVITEMW cell{};
                cell.iSubItem = c;
                cell.pszText = const_cast<wchar_t*>(all[r][static_cast<std::size_t>(c)].c_str());
                SendMessageW(list, LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&cell));
            }
        }
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        drawNow(list);
        insertedMs = wallMs() - start;
        DestroyWindow(list);
    }
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int wmain()
{
    kes::setInstanceHandle(GetModuleHandleW(nullptr));
    std::vector<double> list, inserted;
    for (int run = 0; run < runs; ++run) {
        BenchDialog dialog;
        if (dialog.runModal(nullptr) != IDOK) {
            std::fprintf(stderr, "list-bench: the dialog did not run\n");
            return 1;
        }
        list.push_back(dialog.listMs);
        inserted.push_back(dialog.insertedMs);
    }
    std::printf("list_rows %zu\n", rowCount);
    std::printf("list_show_ms %.1f\n", median(list));
    std::printf("inserted_show_ms %.1f\n", median(inserted));
    return 0;
}
