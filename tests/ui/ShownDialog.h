#pragma once
// A dialog of the program's class that, once shown and drawn as the user first sees it, runs
// whenShown() inside its own modal loop and ends: for the tests and benchmarks of what a dialog
// shows.
#include "ui/Dialog.h"

namespace uitest {

class ShownDialog : public kes::Dialog {
protected:
    using Dialog::Dialog;
    // What onInit would do.
    virtual void prepare() {}
    virtual void whenShown() = 0;

private:
    static constexpr UINT shownMessage = WM_APP;

    bool onInit() override
    {
        prepare();
        PostMessageW(window(), shownMessage, 0, 0);
        return true;
    }
    bool onMessage(UINT message, WPARAM, LPARAM) override
    {
        if (message != shownMessage)
            return false;
        ShowWindow(window(), SW_SHOW);
        RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        whenShown();
        end(IDOK);
        return true;
    }
};

} // namespace uitest
