#pragma once
// What stands between the program and the module, in plain Polish: the D2XX library, the
// interfaces attached, the link's state with its reason, the link's counters and the last
// lines of its log. Read from the link and the library each time; keeps nothing itself.
#include "link/LinkCounters.h"
#include "link/UsbLink.h"

#include <string>
#include <vector>

namespace kes {

enum class LinkCondition {
    NoLibrary,      // FTD2XX.dll missing or incomplete
    NoInterface,    // no QLV-3 USB attached
    HeldElsewhere,  // attached, but open in another program
    CannotOpen,     // attached and free, but opening it failed
    Settling,       // open, waiting out the settling time
    Recovering,     // open, the module answered until lately, recovery under way
    ModuleSilent,   // open, no module answers
    Answering,
};

struct InterfaceEntry {
    std::wstring description;
    std::wstring serial;
    bool qlv = false;            // described as a QLV-3 USB
    bool inUse = false;          // the one this program holds
    bool heldElsewhere = false;  // open, not by this program
};

struct LinkDiagnosis {
    bool libraryFound = false;
    std::wstring libraryPath;
    std::wstring libraryVersion;  // empty when the library does not report one
    std::vector<InterfaceEntry> interfaces;
    LinkCondition condition = LinkCondition::NoLibrary;
    LinkCounters counters;
    std::vector<std::wstring> logLines;  // oldest first
};

// With the interfaces listed now, or with a list the caller keeps (AttachedInterfaceList).
LinkDiagnosis diagnoseLink(UsbLink& link);
LinkDiagnosis diagnoseLink(UsbLink& link, const std::vector<AttachedInterface>& attached);

// Each run of one line repeated becomes the line once, followed by " (×N)".
std::vector<std::wstring> collapseRepeatedLines(const std::vector<std::wstring>& lines);

std::wstring conditionText(LinkCondition condition);
// Library, interfaces, state and counters; lines end in CR LF.
std::wstring summaryText(const LinkDiagnosis& diagnosis);
// The log lines, repeats collapsed, CR LF after each.
std::wstring logText(const LinkDiagnosis& diagnosis);
// Both, under their headings: what "Kopiuj" puts on the clipboard.
std::wstring diagnosisText(const LinkDiagnosis& diagnosis);

} // namespace kes
