#include "model/Fields.h"

#include <commctrl.h>

namespace kes {

namespace {
// The common control classes the main window needs registered before attach.
constexpr DWORD kCommonControlClasses = ICC_NATIVEFNTCTL_CLASS;
} // namespace

const char* ControlBufor::BadFormatInFile::what() const noexcept
{
    return "Stary format pliku lub bledny plik";
}

void ControlBufor::add(InterfaceControl* control)
{
    controls_.push_back(control);
}

void ControlBufor::attachAll(HWND dialog)
{
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = kCommonControlClasses;
    InitCommonControlsEx(&icc);
    for (InterfaceControl* control : controls_)
        control->attach(dialog);
}

void ControlBufor::writeAll(std::wostream& out)
{
    if (!out)
        return;
    out.put(kFrameMark);
    for (InterfaceControl* control : controls_) {
        out.put(kRecordMark);
        control->writeValue(out);
        out.put(kRecordMark);
    }
    out.put(kFrameMark);
}

void ControlBufor::readAll(std::wistream& in)
{
    if (!in)
        return;
    using traits = std::wistream::traits_type;
    for (;;) {
        const auto c = in.get();
        if (traits::eq_int_type(c, traits::eof()))
            throw BadFormatInFile();
        if (traits::to_char_type(c) == kFrameMark)
            break;
    }
    for (InterfaceControl* control : controls_) {
        const auto c = in.get();
        if (!in)
            continue;  // a failed stream leaves this and every later field as it is
        if (traits::to_char_type(c) == kRecordMark) {
            control->readValue(in);
            const auto end = in.get();
            if (!in || traits::to_char_type(end) != kRecordMark)
                in.setstate(std::ios_base::failbit);
        } else {
            // Not a record: the field takes its default and the character is met again.
            in.putback(traits::to_char_type(c));
            control->restoreDefault();
        }
    }
    for (;;) {
        const auto c = in.get();
        if (!in || traits::to_char_type(c) == kFrameMark)
            break;
    }
}

} // namespace kes
