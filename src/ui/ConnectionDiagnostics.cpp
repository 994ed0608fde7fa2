#include "ui/ConnectionDiagnostics.h"

#include "link/UsbLink.h"
#include "protocol/StatusHistory.h"
#include "support/DebugLogRing.h"
#include "support/ScopedWin.h"
#include "tools/AttachedInterfaceList.h"
#include "tools/LinkDiagnosis.h"
#include "ui/Clipboard.h"
#include "ui/LogBox.h"
#include "ui/ProgramVersion.h"
#include "ui/SingleDialog.h"
#include "ui/StatusCharts.h"
#include "ui/WindowHelpers.h"

#include <cstdint>
#include <cwchar>
#include <string>

namespace kes {
namespace {

constexpr wchar_t caption[] = L"Diagnostyka połączenia";
constexpr int chartCount = 3;
// Charts follow the clock even while no sample comes: redraw them every so many refreshes.
constexpr int refreshesPerChartRedraw = 10;

double linkNow()
{
    Clock& clock = usbLink.clock();
    return static_cast<double>(clock.now()) * clock.secondsPerCount();
}

// Everything the window shows but the charts, headed by the program and the time: "Kopiuj".
std::wstring textWithHeading(const LinkDiagnosis& diagnosis)
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t stamp[32] = {};
    swprintf(stamp, 32, L"%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
             now.wSecond);
    std::wstring text = L"Quellmo PC " + std::wstring(programVersion()) + L" – " + caption + L", " + stamp + L"\r\n";
    return text + diagnosisText(diagnosis);
}

class DiagnosticsDialog final : public SingleDialog {
public:
    DiagnosticsDialog() : SingleDialog(IDD_DIAGNOSTICS_DIALOG) {}

private:
    bool onInit() override;
    void refresh() override;
    bool onCommand(int id, int code) override;
    bool onDrawItem(const DRAWITEMSTRUCT& item) override;
    void drawChart(const DRAWITEMSTRUCT& item);
    void showSummary(const std::wstring& summary);

    AttachedInterfaceList interfaces_;
    std::wstring summaryShown_;
    std::uint64_t logRevision_ = ~std::uint64_t{0};
    std::uint64_t historyRevision_ = ~std::uint64_t{0};
    int refreshesSinceChartRedraw_ = 0;
};

bool DiagnosticsDialog::onInit()
{
    centerOnParent(window(), IDCANCEL);
    refresh();
    return false;  // the focus is on "Zamknij"
}

bool DiagnosticsDialog::onCommand(int id, int)
{
    if (id != diagnosticsCopyButton)
        return false;
    copyTextToClipboard(window(), textWithHeading(diagnoseLink(usbLink, interfaces_.current(usbLink))));
    return true;
}

bool DiagnosticsDialog::onDrawItem(const DRAWITEMSTRUCT& item)
{
    if (item.CtlID < diagnosticsFirstChart || item.CtlID >= diagnosticsFirstChart + chartCount)
        return false;
    drawChart(item);
    return true;
}

void DiagnosticsDialog::drawChart(const DRAWITEMSTRUCT& item)
{
    const auto chart = static_cast<StatusChart>(item.CtlID - diagnosticsFirstChart);
    const RECT& area = item.rcItem;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    // Drawn off screen first, so the chart never flickers while it is redrawn.
    MemoryDc memory(CreateCompatibleDC(item.hDC));
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(item.hDC, width, height));
    if (!memory || !bitmap)
        return;
    SelectedObject canvas(memory.get(), bitmap.get());
    SelectedObject font(memory.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
    const RECT local{0, 0, width, height};
    drawStatusChart(memory.get(), local, chart, statusHistory.samples(), linkNow());
    BitBlt(item.hDC, area.left, area.top, width, height, memory.get(), 0, 0, SRCCOPY);
}

// The summary is rewritten only when it changed, at the line the reader was on.
void DiagnosticsDialog::showSummary(const std::wstring& summary)
{
    if (summary == summaryShown_)
        return;
    summaryShown_ = summary;
    HWND edit = item(diagnosticsSummary);
    const LRESULT firstLine = SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    SetWindowTextW(edit, summary.c_str());
    SendMessageW(edit, EM_LINESCROLL, 0, firstLine);
}

void DiagnosticsDialog::refresh()
{
    const LinkDiagnosis diagnosis = diagnoseLink(usbLink, interfaces_.current(usbLink));
    showSummary(summaryText(diagnosis));
    if (debugLogRing().revision() != logRevision_) {
        logRevision_ = debugLogRing().revision();
        showLogText(item(diagnosticsLog), logText(diagnosis));
    }
    ++refreshesSinceChartRedraw_;
    const bool moved = refreshesSinceChartRedraw_ >= refreshesPerChartRedraw && statusHistory.size() > 0;
    if (statusHistory.revision() != historyRevision_ || moved) {
        historyRevision_ = statusHistory.revision();
        refreshesSinceChartRedraw_ = 0;
        for (int i = 0; i < chartCount; ++i)
            InvalidateRect(item(diagnosticsFirstChart + i), nullptr, FALSE);
    }
}

} // namespace

void showConnectionDiagnostics(HWND mainDialog)
{
    DiagnosticsDialog().runAlone(mainDialog);
}

HWND connectionDiagnosticsWindow()
{
    return SingleDialog::runningWindow<DiagnosticsDialog>();
}

} // namespace kes
