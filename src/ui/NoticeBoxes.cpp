#include "ui/NoticeBoxes.h"

#include "support/MessageBox.h"

namespace kes {
namespace {

class Boxes final : public NoticeSink {
public:
    void show(HWND owner, Notice notice, const std::wstring& text) override
    {
        const BoxStyle style = boxStyle(notice);
        showMessageBox(owner, text, style.caption, style.type);
    }
    void play(Sound sound) override { MessageBeep(soundType(sound)); }
};

} // namespace

BoxStyle boxStyle(Notice notice)
{
    switch (notice) {
    case Notice::JobFailed:
        return {L"Błąd", MB_ICONERROR};
    case Notice::SettingsFaults:
        return {L"Błędy w ustawieniach", MB_OK | MB_ICONWARNING};
    case Notice::TableFaults:
        return {L"Błędy w tabeli", MB_OK | MB_ICONWARNING};
    case Notice::TableWarnings:
        return {L"Ostrzeżenia w tabeli", MB_OK | MB_ICONWARNING};
    case Notice::FileNotRead:
        return {L"Błąd odczytu pliku", MB_OK | MB_ICONERROR};
    case Notice::FileNotWritten:
        break;
    }
    return {L"Błąd zapisu pliku", MB_OK | MB_ICONERROR};
}

UINT soundType(Sound sound)
{
    switch (sound) {
    case Sound::TextReceived:
        return MB_ICONASTERISK;
    case Sound::ModuleDone:
        return MB_OK;
    case Sound::ModuleFailed:
        break;
    }
    return MB_ICONHAND;
}

NoticeSink& noticeBoxes()
{
    static Boxes boxes;
    return boxes;
}

} // namespace kes
