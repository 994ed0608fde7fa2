#include "model/Fields.h"
#include "model/NumberText.h"
#include "model/ValueText.h"

namespace kes {

using Internal = EditControl::EditControlInternal;

Internal::EditControlInternal(std::wstring* value, std::wstring defaultText, int id, int maxLength)
    : value(value), defaultText(std::move(defaultText)), id(id), maxLength(maxLength)
{
}

void Internal::fetch()
{
    *value = getText();
}

void Internal::attach(HWND dialog)
{
    attach(dialog, *value);
}

void Internal::attach(HWND dialog, const std::wstring& text)
{
    handle = GetDlgItem(dialog, id);
    SendMessageW(handle, EM_LIMITTEXT, static_cast<WPARAM>(maxLength), 0);
    setText(text);
}

void Internal::writeValue(std::wostream& out)
{
    out << getText();
    out.put(kValueEnd);
}

void Internal::readValue(std::wistream& in)
{
    using traits = std::wistream::traits_type;
    std::wstring text;
    for (;;) {
        const auto c = in.get();
        if (traits::eq_int_type(c, traits::eof()) || traits::to_char_type(c) == kValueEnd)
            break;
        text.push_back(traits::to_char_type(c));
    }
    setText(text);
}

void Internal::restoreDefault()
{
    setText(defaultText);
}

std::wstring Internal::getText() const
{
    SetLastError(0);
    const int length = GetWindowTextLengthW(handle);
    if (length == 0 && GetLastError() != 0)
        return *value;
    if (length <= 0)
        return std::wstring();
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    SetLastError(0);
    const int copied = GetWindowTextW(handle, &buffer[0], length + 1);
    if (copied == 0 && GetLastError() != 0)
        buffer = value->substr(0, static_cast<std::size_t>(length));
    // The text ends at the first NUL, whatever the length said.
    return std::wstring(buffer.c_str());
}

void Internal::setText(const std::wstring& text)
{
    std::wstring shown = text;
    if (maxLength > 0 && shown.size() > static_cast<std::size_t>(maxLength))
        shown.resize(static_cast<std::size_t>(maxLength));
    if (SetWindowTextW(handle, shown.c_str()) == 0)
        *value = shown;
}

EditControl::EditControl(const std::wstring& defaultText, ControlBufor* registry, int id, int maxLength)
    : value_(defaultText), impl_(std::make_unique<EditControlInternal>(&value_, defaultText, id, maxLength))
{
    if (registry)
        registry->add(impl_.get());
}

EditControl::~EditControl() = default;

std::wstring EditControl::getText() const
{
    return impl_->getText();
}

void EditControl::setText(const std::wstring& text)
{
    impl_->setText(text);
}

int EditControl::getInt() const
{
    return intOf(getText());
}

void EditControl::setInt(int value)
{
    setText(intText(value));
}

double EditControl::getDouble() const
{
    return doubleOf(getText());
}

void EditControl::setDouble(double value)
{
    setText(doubleText(value));
}

void EditControl::attach(HWND dialog)
{
    impl_->attach(dialog);
}

void EditControl::attach(HWND dialog, const std::wstring& text)
{
    impl_->attach(dialog, text);
}

void EditControl::fetch()
{
    impl_->fetch();
}

} // namespace kes
