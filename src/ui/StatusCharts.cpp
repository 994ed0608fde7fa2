#include "ui/StatusCharts.h"

#include "protocol/StatusScale.h"
#include "support/ScopedWin.h"

#include <algorithm>
#include <optional>
#include <string>

namespace kes {
namespace {

constexpr COLORREF background = RGB(255, 255, 255);
constexpr COLORREF frameColour = RGB(160, 160, 160);
constexpr COLORREF lineColour = RGB(0, 84, 166);
constexpr COLORREF textColour = RGB(64, 64, 64);
constexpr int margin = 3;

// The plotted value of a sample, or nothing when the module did not know it.
std::optional<int> valueOf(StatusChart chart, const StatusSample& s)
{
    switch (chart) {
    case StatusChart::Signal:
        return signalPercent(s.signalLevel);
    case StatusChart::Supply:
        if (s.supplyVolts < 0)
            return std::nullopt;
        return s.supplyVolts;
    case StatusChart::Temperature:
        return temperatureReading(s.temperature);
    }
    return std::nullopt;
}

const wchar_t* titleOf(StatusChart chart)
{
    switch (chart) {
    case StatusChart::Signal:
        return L"Poziom sygnału [%]";
    case StatusChart::Supply:
        return L"Zasilanie [V]";
    case StatusChart::Temperature:
        return L"Temperatura [C]";
    }
    return L"";
}

void text(HDC dc, int x, int y, const std::wstring& s, UINT align)
{
    SetTextAlign(dc, align);
    TextOutW(dc, x, y, s.c_str(), static_cast<int>(s.size()));
}

} // namespace

void drawStatusChart(HDC dc, const RECT& area, StatusChart chart, const std::vector<StatusSample>& samples,
                     double now)
{
    GdiObject<HBRUSH> fill(CreateSolidBrush(background));
    FillRect(dc, &area, fill.get());
    GdiObject<HPEN> framePen(CreatePen(PS_SOLID, 1, frameColour));
    {
        SelectedObject pen(dc, framePen.get());
        SelectedObject brush(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, area.left, area.top, area.right, area.bottom);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColour);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int lineHeight = metrics.tmHeight;

    // Value range of what is on the chart; at least a few units so a steady value sits mid-height.
    const double start = now - StatusHistory::spanSeconds;
    std::optional<int> low, high, last;
    for (const StatusSample& s : samples) {
        if (s.seconds < start)
            continue;
        if (const auto v = valueOf(chart, s)) {
            low = low ? std::min(*low, *v) : *v;
            high = high ? std::max(*high, *v) : *v;
            last = v;
        }
    }
    std::wstring title = titleOf(chart);
    title += last ? L": " + std::to_wstring(*last) : std::wstring(L": brak danych");
    text(dc, area.left + margin, area.top + margin, title, TA_LEFT | TA_TOP);
    text(dc, area.left + margin, area.bottom - margin, L"–15 min", TA_LEFT | TA_BOTTOM);
    text(dc, area.right - margin, area.bottom - margin, L"teraz", TA_RIGHT | TA_BOTTOM);
    if (!low)
        return;
    int bottomValue = *low;
    int topValue = *high;
    if (topValue - bottomValue < 4) {
        const int middle = (topValue + bottomValue) / 2;
        bottomValue = middle - 2;
        topValue = middle + 2;
    }
    text(dc, area.right - margin, area.top + margin, std::to_wstring(topValue), TA_RIGHT | TA_TOP);

    const int plotLeft = area.left + margin;
    const int plotRight = area.right - margin;
    const int plotTop = area.top + margin + lineHeight;
    const int plotBottom = area.bottom - margin - lineHeight;
    if (plotRight - plotLeft < 2 || plotBottom - plotTop < 2)
        return;
    text(dc, area.right - margin, plotBottom, std::to_wstring(bottomValue), TA_RIGHT | TA_BOTTOM);
    auto x = [&](double seconds) {
        return plotLeft + static_cast<int>((seconds - start) / StatusHistory::spanSeconds * (plotRight - plotLeft));
    };
    auto y = [&](int value) {
        return plotBottom - (value - bottomValue) * (plotBottom - plotTop) / (topValue - bottomValue);
    };

    GdiObject<HPEN> linePen(CreatePen(PS_SOLID, 2, lineColour));
    SelectedObject pen(dc, linePen.get());
    bool drawing = false;
    double previousSeconds = 0.0;
    for (const StatusSample& s : samples) {
        if (s.seconds < start)
            continue;
        const auto v = valueOf(chart, s);
        // A gap of more than a few polls (no answer) breaks the line.
        if (!v || (drawing && s.seconds - previousSeconds > 5.0)) {
            drawing = false;
            if (!v)
                continue;
        }
        if (drawing)
            LineTo(dc, x(s.seconds), y(*v));
        else {
            MoveToEx(dc, x(s.seconds), y(*v), nullptr);
            LineTo(dc, x(s.seconds) + 1, y(*v));
        }
        drawing = true;
        previousSeconds = s.seconds;
    }
}

} // namespace kes
