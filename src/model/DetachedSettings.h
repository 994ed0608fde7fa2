#pragma once
// Settings worked on apart from the window: for the scope's life every field of the settings
// registry is cut off from its control (and its dependents from theirs), so the fields'
// operations read and write their bound values alone, as before the window exists. Nothing is
// sent to the window, and the window's controls keep what they show. The bound values are put
// back when the scope ends.
//
//   { DetachedSettings scratch;  loadRecords(copy);  collectSettingsFaults();  gather... }
//   { DetachedSettings copy(DetachedSettings::Start::CopyOfWindow);  collectSettingsFaults(); ... }
//
// Nothing in the scope may pump messages: a tick run meanwhile would see the scratch values.
#include <memory>

namespace kes {

class DetachedSettings {
public:
    enum class Start {
        BoundValues,   // the fields start from their bound values
        CopyOfWindow,  // from what the controls hold, exactly (a data file's copy drops record marks)
    };

    explicit DetachedSettings(Start start = Start::BoundValues);
    ~DetachedSettings();
    DetachedSettings(const DetachedSettings&) = delete;
    DetachedSettings& operator=(const DetachedSettings&) = delete;

private:
    struct Saved;
    std::unique_ptr<Saved> saved_;
};

} // namespace kes
