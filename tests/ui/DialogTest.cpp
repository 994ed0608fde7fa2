// The dialog base under Wine: a handler that throws ends its dialog through the program's
// fault report, and nothing of the exception reaches Windows.
#include "ui/SingleDialog.h"

#include "CaseName.h"
#include "UiTestSupport.h"
#include "support/MessageBox.h"
#include "ui/ResourceIds.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

enum class Handler { Init, Command, DrawItem, Cancel, Notify, Timer, Size, Message, Refresh };

// Throws from the chosen handler, reached by a message the dialog posts itself (a refresh: by
// the ticks of the main window, which the test stands in for).
class ThrowingDialog final : public kes::SingleDialog {
public:
    explicit ThrowingDialog(Handler throwing) : SingleDialog(IDD_DIAGNOSTICS_DIALOG), throwing_(throwing) {}

    bool thrown = false;
    int handlersAfterThrow = 0;

private:
    bool onInit() override
    {
        drawn_.CtlType = ODT_STATIC;
        drawn_.CtlID = IDC_DIAGNOSTICS_FIRST_CHART;
        notified_ = {item(IDC_DIAGNOSTICS_SUMMARY), IDC_DIAGNOSTICS_SUMMARY, static_cast<UINT>(NM_CLICK)};
        const struct {
            UINT message;
            WPARAM wParam;
            LPARAM lParam;
        } reaching[] = {{WM_NULL, 0, 0},
                        {WM_COMMAND, MAKEWPARAM(IDC_DIAGNOSTICS_COPY, BN_CLICKED), 0},
                        {WM_DRAWITEM, IDC_DIAGNOSTICS_FIRST_CHART, reinterpret_cast<LPARAM>(&drawn_)},
                        {WM_CLOSE, 0, 0},
                        {WM_NOTIFY, IDC_DIAGNOSTICS_SUMMARY, reinterpret_cast<LPARAM>(&notified_)},
                        {WM_TIMER, 7, 0},
                        {WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200)},
                        {WM_APP, 0, 0},
                        {WM_NULL, 0, 0}};
        const auto& r = reaching[static_cast<int>(throwing_)];
        PostMessageW(window(), r.message, r.wParam, r.lParam);
        at(Handler::Init);
        return true;
    }
    bool onCommand(int, int) override { return at(Handler::Command); }
    bool onDrawItem(const DRAWITEMSTRUCT&) override { return at(Handler::DrawItem); }
    bool onNotify(const NMHDR&, LRESULT&) override { return at(Handler::Notify); }
    bool onTimer(UINT_PTR) override { return at(Handler::Timer); }
    void onSize(int, int) override { at(Handler::Size); }
    bool onMessage(UINT message, WPARAM, LPARAM) override { return message == WM_APP && at(Handler::Message); }
    void refresh() override { at(Handler::Refresh); }
    void onCancel() override
    {
        at(Handler::Cancel);
        end(IDCANCEL);
    }

    bool at(Handler handler)
    {
        if (thrown)
            ++handlersAfterThrow;
        if (handler == throwing_ && !thrown) {
            thrown = true;
            throw std::runtime_error("a handler failed");
        }
        return true;
    }

    Handler throwing_;
    DRAWITEMSTRUCT drawn_{};
    NMHDR notified_{};
};

struct FaultCase {
    const char* name;
    Handler throwing;
};

class DialogFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(DialogFault, EndsTheDialogAndReportsTheProgramFault)
{
    ThrowingDialog dialog(GetParam().throwing);
    std::vector<std::wstring> boxes;
    auto previous = kes::setMessageBoxFunction([&](HWND, const std::wstring& text, const std::wstring& caption,
                                                   UINT type) {
        boxes.push_back(caption + L": " + text + ((type & MB_ICONERROR) == MB_ICONERROR ? L" (błąd)" : L""));
        // The box's loop goes on delivering the dialog's messages: no handler may see them.
        if (HWND window = dialog.window()) {
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_DIAGNOSTICS_COPY, BN_CLICKED), 0);
            SendMessageW(window, WM_CLOSE, 0, 0);
        }
        return IDOK;
    });
    // Should the dialog stay open, end it so that the run goes on to say so.
    bool timedOut = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    uitest::ThreadTicks guard;
    guard.start([&] {
        kes::SingleDialog::refreshAll();
        if (std::chrono::steady_clock::now() > deadline && dialog.window()) {
            timedOut = true;
            EndDialog(dialog.window(), 0);
        }
    });

    const INT_PTR result = dialog.runAlone(nullptr);

    guard.stop();
    kes::setMessageBoxFunction(previous);
    EXPECT_FALSE(timedOut);
    EXPECT_TRUE(dialog.thrown);
    EXPECT_EQ(result, kes::Dialog::endedByFault);
    EXPECT_EQ(boxes, std::vector<std::wstring>{L"Błąd: Błąd w programie (błąd)"});
    EXPECT_EQ(dialog.handlersAfterThrow, 0);
    EXPECT_EQ(dialog.window(), nullptr) << "the window is gone when runModal returns";
}

INSTANTIATE_TEST_SUITE_P(Handlers, DialogFault,
                         ::testing::Values(FaultCase{"onInit", Handler::Init}, FaultCase{"onCommand", Handler::Command},
                                           FaultCase{"onDrawItem", Handler::DrawItem},
                                           FaultCase{"onCancel", Handler::Cancel}, FaultCase{"onNotify", Handler::Notify},
                                           FaultCase{"onTimer", Handler::Timer}, FaultCase{"onSize", Handler::Size},
                                           FaultCase{"onMessage", Handler::Message},
                                           FaultCase{"refresh after a tick", Handler::Refresh}),
                         casename::ByName());

} // namespace
