#pragma once
// What the jobs and the tools built on them tell the user, said at the very point they say it.
// The shell installs the sink that shows each as its message box or sound; with none installed
// nothing is shown. A series of modules runs without boxes: its station takes the failures of the
// jobs for its log and passes the rest on. Tests install their own.
#include <windows.h>

#include <string>

namespace kes {

enum class Notice {
    JobFailed,       // a reading or programming job failed: "Błąd", error icon
    SettingsFaults,  // validation's faults: "Błędy w ustawieniach", warning icon
    TableFaults,     // a series table's faults: "Błędy w tabeli", warning icon
    FileNotWritten,  // "Błąd zapisu pliku", error icon
    TableWarnings,   // a series table taken with warnings: "Ostrzeżenia w tabeli", warning icon
    FileNotRead,     // "Błąd odczytu pliku", error icon
};

enum class Sound {
    TextReceived,  // the module's text has been fetched
    ModuleDone,    // a module of a series is programmed
    ModuleFailed,  // a module of a series failed
};

class NoticeSink {
public:
    virtual void show(HWND owner, Notice notice, const std::wstring& text) = 0;
    virtual void play(Sound sound) = 0;

protected:
    NoticeSink() = default;
    ~NoticeSink() = default;
    NoticeSink(const NoticeSink&) = default;
    NoticeSink& operator=(const NoticeSink&) = default;
};

// Not owned; null shows nothing. Returns the sink installed before.
NoticeSink* setNoticeSink(NoticeSink* sink);

// To the installed sink.
void tellUser(HWND owner, Notice notice, const std::wstring& text);
void playSound(Sound sound);

} // namespace kes
