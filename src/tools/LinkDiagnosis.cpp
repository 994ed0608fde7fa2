#include "tools/LinkDiagnosis.h"

#include "link/D2xx.h"
#include "link/UsbLink.h"
#include "protocol/ModuleText.h"
#include "support/DebugLogRing.h"

#include <string>

namespace kes {
namespace {

constexpr wchar_t newline[] = L"\r\n";

std::wstring interfaceLine(const InterfaceEntry& entry)
{
    std::wstring line = L"  " + (entry.description.empty() ? std::wstring(L"(bez opisu)") : entry.description) +
                        L", nr seryjny " + (entry.serial.empty() ? std::wstring(L"(brak)") : entry.serial);
    if (entry.inUse)
        line += L" – używany przez program";
    else if (entry.heldElsewhere)
        line += L" – zajęty przez inny program";
    else if (entry.qlv)
        line += L" – wolny";
    else
        line += L" – inne urządzenie";
    return line;
}

void counterLine(std::wstring& text, const wchar_t* label, std::uint64_t value)
{
    text += L"  ";
    text += label;
    text += L": " + std::to_wstring(value) + newline;
}

} // namespace

LinkDiagnosis diagnoseLink(UsbLink& link)
{
    return diagnoseLink(link, link.attachedInterfaces());
}

LinkDiagnosis diagnoseLink(UsbLink& link, const std::vector<AttachedInterface>& attachedList)
{
    LinkDiagnosis d;
    const D2xxApi& api = link.api();
    d.libraryFound = api.valid();
    d.libraryPath = libraryPath(api);
    d.libraryVersion = d.libraryFound ? api.libraryVersion : std::wstring();
    d.counters = link.counters;
    d.logLines = debugLogRing().lines();

    const std::wstring ownSerial = link.isOpen() ? widenText(link.serialNumber) : std::wstring();
    bool qlvHeld = false;
    bool qlvFree = false;
    for (const AttachedInterface& attached : attachedList) {
        InterfaceEntry entry;
        entry.description = attached.description;
        entry.serial = attached.serial;
        entry.qlv = narrowText(attached.description) == qlvDescription;
        entry.inUse = link.isOpen() && attached.serial == ownSerial;
        entry.heldElsewhere = attached.openFlag && !entry.inUse;
        if (entry.qlv) {
            qlvHeld = qlvHeld || entry.heldElsewhere;
            qlvFree = qlvFree || (!entry.heldElsewhere && !entry.inUse);
        }
        d.interfaces.push_back(entry);
    }

    if (!d.libraryFound)
        d.condition = LinkCondition::NoLibrary;
    else if (link.isOpen()) {
        // The recovery window can stay open while polls merely go unanswered (only a good reply
        // closes it), so it speaks for a failing link only while the module still counts as answering.
        if (!link.settled)
            d.condition = LinkCondition::Settling;
        else if (!link.responding)
            d.condition = LinkCondition::ModuleSilent;
        else
            d.condition = link.recoveryWatch.stopped ? LinkCondition::Answering : LinkCondition::Recovering;
    } else if (qlvFree)
        d.condition = LinkCondition::CannotOpen;
    else if (qlvHeld)
        d.condition = LinkCondition::HeldElsewhere;
    else
        d.condition = LinkCondition::NoInterface;
    return d;
}

std::wstring conditionText(LinkCondition condition)
{
    switch (condition) {
    case LinkCondition::NoLibrary:
        return L"Brak biblioteki FTD2XX.dll – zainstaluj sterownik QLV-3 USB";
    case LinkCondition::NoInterface:
        return L"Nie znaleziono interfejsu QLV-3 USB – podłącz go do portu USB komputera";
    case LinkCondition::HeldElsewhere:
        return L"Interfejs QLV-3 USB jest zajęty przez inny program – zamknij ten program";
    case LinkCondition::CannotOpen:
        return L"Interfejs QLV-3 USB jest podłączony, ale nie daje się otworzyć – odłącz go i podłącz ponownie";
    case LinkCondition::Settling:
        return L"Interfejs QLV-3 USB otwarty – trwa przygotowanie połączenia (7 s)";
    case LinkCondition::Recovering:
        return L"Połączenie z modułem zawodzi – trwa odzyskiwanie (do 10 s)";
    case LinkCondition::ModuleSilent:
        return L"Interfejs QLV-3 USB otwarty, ale moduł nie odpowiada – sprawdź przewód i zasilanie modułu";
    case LinkCondition::Answering:
        return L"Moduł odpowiada";
    }
    return {};
}

std::wstring summaryText(const LinkDiagnosis& d)
{
    std::wstring text = L"Biblioteka FTD2XX.dll: ";
    text += d.libraryFound ? L"znaleziona" : L"nie znaleziona";
    text += newline;
    if (!d.libraryPath.empty())
        text += L"  Plik: " + d.libraryPath + newline;
    if (d.libraryFound)
        text += L"  Wersja: " + (d.libraryVersion.empty() ? std::wstring(L"biblioteka jej nie podaje") : d.libraryVersion) +
                newline;

    text += L"Podłączone interfejsy:";
    text += newline;
    if (d.interfaces.empty())
        text += std::wstring(L"  (żaden)") + newline;
    for (const InterfaceEntry& entry : d.interfaces)
        text += interfaceLine(entry) + newline;

    text += L"Stan połączenia: " + conditionText(d.condition) + newline;

    text += L"Liczniki od uruchomienia programu:";
    text += newline;
    counterLine(text, L"wymiany ramek", d.counters.exchanges);
    counterLine(text, L"powtórzone próby", d.counters.retries);
    counterLine(text, L"błędne sumy kontrolne", d.counters.badCheckWords);
    counterLine(text, L"przekroczenia czasu", d.counters.timeouts);
    counterLine(text, L"odłączenia interfejsu", d.counters.unplugs);
    counterLine(text, L"odzyskania połączenia", d.counters.recoveries);
    return text;
}

std::vector<std::wstring> collapseRepeatedLines(const std::vector<std::wstring>& lines)
{
    std::vector<std::wstring> collapsed;
    for (std::size_t first = 0; first < lines.size();) {
        std::size_t next = first + 1;
        while (next < lines.size() && lines[next] == lines[first])
            ++next;
        const std::size_t count = next - first;
        collapsed.push_back(count == 1 ? lines[first] : lines[first] + L" (×" + std::to_wstring(count) + L")");
        first = next;
    }
    return collapsed;
}

std::wstring logText(const LinkDiagnosis& d)
{
    std::wstring text;
    for (const std::wstring& line : collapseRepeatedLines(d.logLines))
        text += line + newline;
    return text;
}

std::wstring diagnosisText(const LinkDiagnosis& d)
{
    std::wstring text = summaryText(d);
    text += L"Dziennik łącza (ostatnie wiersze):";
    text += newline;
    const std::wstring log = logText(d);
    text += log.empty() ? std::wstring(L"  (pusty)") + newline : log;
    return text;
}

} // namespace kes
