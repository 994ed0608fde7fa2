#include "model/Fields.h"
#include "model/ValueText.h"

namespace kes {

template <class T>
ComboboxControl<T>::ComboboxControlInternal::ComboboxControlInternal(int id, T* value,
                                                                     std::vector<std::wstring> items)
    : id(id), value(value), defaultValue(*value), items(std::move(items))
{
}

template <class T>
void ComboboxControl<T>::ComboboxControlInternal::fetch()
{
    SetLastError(0);
    const LRESULT index = SendMessageW(handle, CB_GETCURSEL, 0, 0);
    if (GetLastError() == 0)
        *value = static_cast<T>(index);
}

template <class T>
void ComboboxControl<T>::ComboboxControlInternal::attach(HWND dialog)
{
    handle = GetDlgItem(dialog, id);
    SendMessageW(handle, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& item : items)
        SendMessageW(handle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    if (items.empty())
        return;
    SendMessageW(handle, CB_SETCURSEL, static_cast<WPARAM>(*value), 0);
}

template <class T>
void ComboboxControl<T>::ComboboxControlInternal::writeValue(std::wostream& out)
{
    out << std::dec << getSelection();
}

template <class T>
void ComboboxControl<T>::ComboboxControlInternal::readValue(std::wistream& in)
{
    int index = 0;
    if (readDecimal(in, index))
        setSelection(static_cast<T>(index));
}

template <class T>
void ComboboxControl<T>::ComboboxControlInternal::restoreDefault()
{
    setSelection(defaultValue);
}

template <class T>
T ComboboxControl<T>::ComboboxControlInternal::getSelection() const
{
    SetLastError(0);
    const LRESULT index = SendMessageW(handle, CB_GETCURSEL, 0, 0);
    if (GetLastError() != 0)
        return *value;
    return static_cast<T>(index);
}

template <class T>
void ComboboxControl<T>::ComboboxControlInternal::setSelection(T index)
{
    SetLastError(0);
    SendMessageW(handle, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (GetLastError() != 0)
        *value = index;
}

template <class T>
ComboboxControl<T>::ComboboxControl(ControlBufor* registry, int id, std::vector<std::wstring> items)
    : impl_(std::make_unique<ComboboxControlInternal>(id, &value_, std::move(items)))
{
    if (registry)
        registry->add(impl_.get());
}

template <class T>
ComboboxControl<T>::~ComboboxControl() = default;

template <class T>
T ComboboxControl<T>::getSelection() const
{
    return impl_->getSelection();
}

template <class T>
void ComboboxControl<T>::setSelection(T index)
{
    impl_->setSelection(index);
}

template <class T>
void ComboboxControl<T>::attach(HWND dialog)
{
    impl_->attach(dialog);
}

template <class T>
void ComboboxControl<T>::fetch()
{
    impl_->fetch();
}

template class ComboboxControl<int>;

} // namespace kes
