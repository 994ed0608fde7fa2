#include "model/Fields.h"
#include "model/ValueText.h"

namespace kes {

using Internal = OptionControl::OptionControlInternal;

namespace {
WPARAM checkState(bool checked)
{
    return checked ? BST_CHECKED : BST_UNCHECKED;
}
} // namespace

Internal::OptionControlInternal(bool* value, int id, Dependents dependents)
    : value(value), id(id), dependents(std::move(dependents))
{
}

void Internal::applyDependents(bool checked) const
{
    if (dependents.controls.empty())
        return;
    // A disabled box disables its whole branch, whatever its check state.
    dependents.apply(checked, IsWindowEnabled(handle) != FALSE);
}

void Internal::fetch()
{
    SetLastError(0);
    const LRESULT state = SendMessageW(handle, BM_GETCHECK, 0, 0);
    if (GetLastError() != 0)
        return;
    const bool checked = state == BST_CHECKED;
    applyDependents(checked);
    *value = checked;
}

void Internal::attach(HWND dialog)
{
    handle = GetDlgItem(dialog, id);
    SendMessageW(handle, BM_SETCHECK, checkState(*value), 0);
    dependents.attach(dialog);
    applyDependents(*value);
}

void Internal::writeValue(std::wostream& out)
{
    writeBoolDigit(out, isChecked());
}

void Internal::readValue(std::wistream& in)
{
    bool checked = false;
    if (readBoolDigit(in, checked))
        setChecked(checked);
}

void Internal::restoreDefault()
{
    setChecked(defaultValue);
}

bool Internal::isChecked() const
{
    SetLastError(0);
    const LRESULT state = SendMessageW(handle, BM_GETCHECK, 0, 0);
    if (GetLastError() != 0)
        return *value;
    const bool checked = state == BST_CHECKED;
    applyDependents(checked);
    return checked;
}

bool Internal::checkedNow() const
{
    SetLastError(0);
    const LRESULT state = SendMessageW(handle, BM_GETCHECK, 0, 0);
    return GetLastError() != 0 ? *value : state == BST_CHECKED;
}

void Internal::setChecked(bool checked)
{
    SetLastError(0);
    SendMessageW(handle, BM_SETCHECK, checkState(checked), 0);
    if (GetLastError() != 0)
        *value = checked;
    else
        applyDependents(checked);
}

OptionControl::OptionControl(ControlBufor* registry, int id, std::initializer_list<int> dependents)
    : impl_(std::make_unique<OptionControlInternal>(&value_, id, Dependents::fromList(dependents)))
{
    if (registry)
        registry->add(impl_.get());
}

OptionControl::~OptionControl() = default;

bool OptionControl::isChecked() const
{
    return impl_->isChecked();
}

bool OptionControl::checkedNow() const
{
    return impl_->checkedNow();
}

void OptionControl::setChecked(bool checked)
{
    impl_->setChecked(checked);
}

void OptionControl::restrictChecked(bool allowed)
{
    impl_->setChecked(impl_->isChecked() && allowed);
}

void OptionControl::attach(HWND dialog)
{
    impl_->attach(dialog);
}

void OptionControl::fetch()
{
    impl_->fetch();
}

} // namespace kes
