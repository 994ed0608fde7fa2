#pragma once
// The last programming job that succeeded: when, through which interface, the settings it wrote,
// and whether the module in hand is the one it wrote them into, so the configuration report can
// say whether the window shows what that module holds.
#include "model/Settings.h"
#include "protocol/ModuleImage.h"

#include <windows.h>

#include <string>

namespace kes {

struct ProgrammingRecord {
    bool done = false;
    SYSTEMTIME when{};             // local time
    std::string interfaceSerial;
    ModuleImage written;           // the sixteen blocks as written and read back
    bool moduleInHand = false;     // the module answering now was recognised as the one written
};

extern ProgrammingRecord lastProgramming;

// Called when a programming job has written and read back all sixteen blocks.
void noteProgrammingSucceeded(const ModuleImage& written);

enum class ProgrammedState {
    Never,             // no programming succeeded since the program started
    OtherModule,       // the last one wrote another module than the one in hand
    OtherInterface,    // the last one went through another interface than the open one
    EditedSince,       // programming the window now would write other settings
    AsProgrammed,      // the window shows what the module in hand was programmed with
};

// Compared with the open interface (serial, empty when none is open) and the settings shown.
ProgrammedState programmedState(const std::string& openSerial, const Settings& shown);

} // namespace kes
