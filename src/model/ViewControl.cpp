#include "model/Fields.h"
#include "model/ValueText.h"

namespace kes {

namespace {

std::vector<std::vector<BoundControl>> parseGroups(std::initializer_list<int> sequence)
{
    std::vector<std::vector<BoundControl>> groups;
    auto it = sequence.begin();
    while (it != sequence.end() && *it != kEndOfList) {
        std::vector<BoundControl> group;
        for (; it != sequence.end() && *it != kEndOfList; ++it) {
            if (*it != kNoControl)
                group.push_back({*it, nullptr});
        }
        if (it != sequence.end())
            ++it;  // the group's end
        groups.push_back(std::move(group));
    }
    return groups;
}

void showGroup(const std::vector<BoundControl>& group, int command)
{
    for (const BoundControl& control : group)
        ShowWindow(control.handle, command);
}

} // namespace

template <class T>
ViewControl<T>::ViewControlInternal::ViewControlInternal(std::vector<Group> groups, T* value)
    : groups(std::move(groups)), value(value), defaultValue(*value)
{
}

template <class T>
void ViewControl<T>::ViewControlInternal::fetch()
{
    // The index has no control of its own to copy from.
}

template <class T>
void ViewControl<T>::ViewControlInternal::attach(HWND dialog)
{
    for (std::size_t i = 0; i < groups.size(); ++i) {
        for (BoundControl& control : groups[i])
            control.handle = GetDlgItem(dialog, control.id);
    }
    for (std::size_t i = 0; i < groups.size(); ++i)
        showGroup(groups[i], static_cast<T>(i) == *value ? SW_SHOW : SW_HIDE);
}

template <class T>
void ViewControl<T>::ViewControlInternal::writeValue(std::wostream& out)
{
    out << std::dec << *value;
}

template <class T>
void ViewControl<T>::ViewControlInternal::readValue(std::wistream& in)
{
    int index = 0;
    if (readDecimal(in, index))
        show(static_cast<T>(index));
}

template <class T>
void ViewControl<T>::ViewControlInternal::restoreDefault()
{
    show(defaultValue);
}

template <class T>
void ViewControl<T>::ViewControlInternal::show(T index)
{
    const auto exists = [this](T n) { return n >= 0 && static_cast<std::size_t>(n) < groups.size(); };
    if (exists(*value))
        showGroup(groups[static_cast<std::size_t>(*value)], SW_HIDE);
    *value = index;
    if (exists(index))
        showGroup(groups[static_cast<std::size_t>(index)], SW_SHOW);
}

template <class T>
ViewControl<T>::ViewControl(std::initializer_list<int> sequence)
    : impl_(std::make_unique<ViewControlInternal>(parseGroups(sequence), &value_))
{
}

template <class T>
ViewControl<T>::~ViewControl() = default;

template <class T>
void ViewControl<T>::show(T index)
{
    impl_->show(index);
}

template <class T>
void ViewControl<T>::attach(HWND dialog)
{
    impl_->attach(dialog);
}

template <class T>
void ViewControl<T>::attach(HWND dialog, T index)
{
    value_ = index;
    impl_->attach(dialog);
}

template class ViewControl<int>;

} // namespace kes
