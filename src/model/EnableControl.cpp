#include "model/Fields.h"
#include "model/ValueText.h"

namespace kes {

using Internal = EnableControl::EnableControlInternal;

Internal::EnableControlInternal(bool* value, Dependents dependents)
    : value(value), dependents(std::move(dependents))
{
}

void Internal::fetch()
{
    // The value has no control of its own to copy from.
}

void Internal::attach(HWND dialog)
{
    dependents.attach(dialog);
    dependents.apply(*value);
}

void Internal::writeValue(std::wostream& out)
{
    writeBoolDigit(out, *value);
}

void Internal::readValue(std::wistream& in)
{
    bool enabled = false;
    if (readBoolDigit(in, enabled))
        setEnabled(enabled);
}

void Internal::restoreDefault()
{
    setEnabled(defaultValue);
}

void Internal::setEnabled(bool enabled)
{
    *value = enabled;
    dependents.apply(enabled);
}

EnableControl::EnableControl(ControlBufor* registry, std::initializer_list<int> dependents)
    : impl_(std::make_unique<EnableControlInternal>(&value_, Dependents::fromList(dependents)))
{
    if (registry)
        registry->add(impl_.get());
}

EnableControl::~EnableControl() = default;

void EnableControl::setEnabled(bool enabled)
{
    impl_->setEnabled(enabled);
}

void EnableControl::attach(HWND dialog)
{
    impl_->attach(dialog);
}

void EnableControl::attach(HWND dialog, bool enabled)
{
    value_ = enabled;
    impl_->attach(dialog);
}

} // namespace kes
