#pragma once
// The last programming job that succeeded: when, through which interface, and the settings
// it wrote, so the configuration report can say whether the window still shows them.
#include <windows.h>

#include <string>

namespace kes {

struct ProgrammingRecord {
    bool done = false;
    SYSTEMTIME when{};             // local time
    std::string interfaceSerial;
    std::wstring settings;         // the settings' stream form as programmed
};

extern ProgrammingRecord lastProgramming;

// Called once by the programming job when its last block has been written.
void noteProgrammingSucceeded();

// The settings as the window shows them now, in their stream form.
std::wstring currentSettingsForm();

enum class ProgrammedState {
    Never,             // no programming succeeded since the program started
    OtherInterface,    // the last one went through another interface than the open one
    EditedSince,       // the window's settings differ from what was programmed
    AsProgrammed,      // the window shows what was programmed
};

// Compared with the open interface (serial, empty when none is open) and the window now.
ProgrammedState programmedState(const std::string& openSerial);

} // namespace kes
