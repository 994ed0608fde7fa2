#pragma once
// Bound fields: global objects that keep one setting each, tied by control ID to the
// main dialog. While the dialog exists its controls hold the live values; the bound
// variable is the fallback before attach and after the window is gone.
#include <exception>
#include <initializer_list>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

namespace kes {

// Control-ID list markers used by the field constructors.
constexpr int kEndOfList = -2;  // ends a list (or a group; at the start of a group, the sequence)
constexpr int kNoControl = -3;  // adds no control, so a view group can be empty

// The five operations every field hands to its registry, in this slot order.
// Deliberately no virtual destructor: each field deletes its implementation through
// the concrete type, and nobody deletes through this interface.
class InterfaceControl {
public:
    virtual void fetch() = 0;
    virtual void attach(HWND dialog) = 0;
    virtual void writeValue(std::wostream& out) = 0;
    virtual void readValue(std::wistream& in) = 0;
    virtual void restoreDefault() = 0;

protected:
    InterfaceControl() = default;
    ~InterfaceControl() = default;
    InterfaceControl(const InterfaceControl&) = default;
    InterfaceControl& operator=(const InterfaceControl&) = default;
};

// Ordered, non-owning list of the fields registered in it, in construction order.
class ControlBufor {
public:
    class BadFormatInFile : public std::exception {
    public:
        const char* what() const noexcept override;
    };

    static constexpr wchar_t kRecordMark = L'\x0002';
    static constexpr wchar_t kFrameMark = L'\x0003';

    ControlBufor() = default;
    ControlBufor(const ControlBufor&) = delete;
    ControlBufor& operator=(const ControlBufor&) = delete;

    void add(InterfaceControl* control);
    void attachAll(HWND dialog);
    // Start marker, one record per field (record mark, value, record mark), end marker.
    // Nothing is written into a failed stream.
    void writeAll(std::wostream& out);
    // Reads that form back. Nothing is read from a failed stream; throws
    // BadFormatInFile when no start marker comes before the end of the stream.
    void readAll(std::wistream& in);

    std::size_t size() const { return controls_.size(); }
    InterfaceControl* at(std::size_t index) const { return controls_.at(index); }

private:
    std::vector<InterfaceControl*> controls_;
};

// (control ID, handle) of a control whose enabled or visible state a field drives.
struct BoundControl {
    int id;
    HWND handle;
};

// Enabled-state dependents shared by OptionControl and EnableControl: the first
// `onCount` are enabled when the value is true, the rest when it is false.
struct Dependents {
    std::vector<BoundControl> controls;
    std::size_t onCount = 0;

    // Parses "on IDs, -2, off IDs, -2"; a missing terminator ends the list.
    static Dependents fromList(std::initializer_list<int> ids);
    void attach(HWND dialog);
    void apply(bool value, bool ownerEnabled = true) const;
};

class EditControl {
public:
    class EditControlInternal : public InterfaceControl {
    public:
        EditControlInternal(std::wstring* value, std::wstring defaultText, int id, int maxLength);
        void fetch() override;
        void attach(HWND dialog) override;
        void writeValue(std::wostream& out) override;
        void readValue(std::wistream& in) override;
        void restoreDefault() override;

        void attach(HWND dialog, const std::wstring& text);
        std::wstring getText() const;
        void setText(const std::wstring& text);

        std::wstring* value;
        std::wstring defaultText;
        int id;
        HWND handle = nullptr;
        int maxLength;  // 0: no limit of the field's own
    };

    EditControl(const std::wstring& defaultText, ControlBufor* registry, int id, int maxLength);
    ~EditControl();
    EditControl(const EditControl&) = delete;
    EditControl& operator=(const EditControl&) = delete;

    std::wstring getText() const;
    void setText(const std::wstring& text);  // cut to the maximum length
    int getInt() const;                      // 0 when no 32-bit number leads the text
    void setInt(int value);
    double getDouble() const;                // full stop as decimal point; 0 on failure
    void setDouble(double value);            // fixed, one digit after the point
    void attach(HWND dialog);
    void attach(HWND dialog, const std::wstring& text);
    void fetch();

    InterfaceControl& control() { return *impl_; }
    int id() const { return impl_->id; }
    int maxLength() const { return impl_->maxLength; }
    HWND handle() const { return impl_->handle; }
    const std::wstring& defaultText() const { return impl_->defaultText; }
    const std::wstring& boundValue() const { return value_; }

private:
    std::wstring value_;
    std::unique_ptr<EditControlInternal> impl_;
};

class OptionControl {
public:
    class OptionControlInternal : public InterfaceControl {
    public:
        OptionControlInternal(bool* value, int id, Dependents dependents);
        void fetch() override;
        void attach(HWND dialog) override;
        void writeValue(std::wostream& out) override;
        void readValue(std::wistream& in) override;
        void restoreDefault() override;

        bool isChecked() const;
        bool checkedNow() const;
        void setChecked(bool checked);
        void applyDependents(bool checked) const;

        bool* value;
        bool defaultValue = false;
        int id;
        HWND handle = nullptr;
        Dependents dependents;
    };

    // dependents: IDs enabled when checked, -2, IDs enabled when unchecked, -2.
    OptionControl(ControlBufor* registry, int id,
                  std::initializer_list<int> dependents = {kEndOfList, kEndOfList});
    ~OptionControl();
    OptionControl(const OptionControl&) = delete;
    OptionControl& operator=(const OptionControl&) = delete;

    bool isChecked() const;  // also re-applies the dependents
    bool checkedNow() const;  // the same state, the dependents left as they are
    void setChecked(bool checked);
    void restrictChecked(bool allowed);  // can only clear the box
    void attach(HWND dialog);
    void fetch();

    InterfaceControl& control() { return *impl_; }
    int id() const { return impl_->id; }
    HWND handle() const { return impl_->handle; }
    const Dependents& dependents() const { return impl_->dependents; }
    bool boundValue() const { return value_; }

private:
    bool value_ = false;
    std::unique_ptr<OptionControlInternal> impl_;
};

class EnableControl {
public:
    class EnableControlInternal : public InterfaceControl {
    public:
        EnableControlInternal(bool* value, Dependents dependents);
        void fetch() override;
        void attach(HWND dialog) override;
        void writeValue(std::wostream& out) override;
        void readValue(std::wistream& in) override;
        void restoreDefault() override;

        void setEnabled(bool enabled);

        bool* value;
        bool defaultValue = false;
        Dependents dependents;
    };

    EnableControl(ControlBufor* registry, std::initializer_list<int> dependents);
    ~EnableControl();
    EnableControl(const EnableControl&) = delete;
    EnableControl& operator=(const EnableControl&) = delete;

    void setEnabled(bool enabled);
    bool isEnabled() const { return value_; }
    void attach(HWND dialog);
    void attach(HWND dialog, bool enabled);  // stores the value first

    InterfaceControl& control() { return *impl_; }
    const Dependents& dependents() const { return impl_->dependents; }
    bool boundValue() const { return value_; }

private:
    bool value_ = false;
    std::unique_ptr<EnableControlInternal> impl_;
};

template <class T>
class ComboboxControl {
public:
    class ComboboxControlInternal : public InterfaceControl {
    public:
        ComboboxControlInternal(int id, T* value, std::vector<std::wstring> items);
        void fetch() override;
        void attach(HWND dialog) override;
        void writeValue(std::wostream& out) override;
        void readValue(std::wistream& in) override;
        void restoreDefault() override;

        T getSelection() const;
        void setSelection(T index);

        int id;
        T* value;
        T defaultValue;
        HWND handle = nullptr;
        std::vector<std::wstring> items;
    };

    ComboboxControl(ControlBufor* registry, int id, std::vector<std::wstring> items);
    ~ComboboxControl();
    ComboboxControl(const ComboboxControl&) = delete;
    ComboboxControl& operator=(const ComboboxControl&) = delete;

    T getSelection() const;  // -1 when nothing is selected
    void setSelection(T index);
    void attach(HWND dialog);
    void fetch();

    InterfaceControl& control() { return *impl_; }
    int id() const { return impl_->id; }
    HWND handle() const { return impl_->handle; }
    const std::vector<std::wstring>& items() const { return impl_->items; }
    T defaultValue() const { return impl_->defaultValue; }
    T boundValue() const { return value_; }

private:
    T value_ = 0;
    std::unique_ptr<ComboboxControlInternal> impl_;
};

template <class T>
class ViewControl {
public:
    using Group = std::vector<BoundControl>;

    class ViewControlInternal : public InterfaceControl {
    public:
        ViewControlInternal(std::vector<Group> groups, T* value);
        void fetch() override;
        void attach(HWND dialog) override;
        void writeValue(std::wostream& out) override;
        void readValue(std::wistream& in) override;
        void restoreDefault() override;

        void show(T index);

        std::vector<Group> groups;
        T* value;
        T defaultValue;
    };

    // Groups of IDs, each ended by -2; a -2 at the start of a group ends the sequence;
    // -3 adds no control. Never registered.
    explicit ViewControl(std::initializer_list<int> sequence);
    ~ViewControl();
    ViewControl(const ViewControl&) = delete;
    ViewControl& operator=(const ViewControl&) = delete;

    void show(T index);
    void attach(HWND dialog);
    void attach(HWND dialog, T index);  // stores the index first

    InterfaceControl& control() { return *impl_; }
    const std::vector<Group>& groups() const { return impl_->groups; }
    T boundValue() const { return value_; }

private:
    T value_ = 0;
    std::unique_ptr<ViewControlInternal> impl_;
};

extern template class ComboboxControl<int>;
extern template class ViewControl<int>;

} // namespace kes
