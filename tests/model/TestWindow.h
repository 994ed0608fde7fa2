#pragma once
// A hidden top-level window carrying real controls under the IDs the fields use.
#include <string>
#include <windows.h>

namespace testing_model {

enum class ControlKind { Edit, CheckBox, PushLike, DropDown, Button, Label };

class TestWindow {
public:
    TestWindow();
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND add(int id, ControlKind kind, const wchar_t* text = L"");
    HWND hwnd() const { return hwnd_; }
    HWND item(int id) const { return GetDlgItem(hwnd_, id); }
    void destroy();

private:
    HWND hwnd_ = nullptr;
};

// Every control of the main window from 10001 to 10143, of the kind its field needs.
void addCatalogueControls(TestWindow& window);

// Attaches everything in the order the dialog's initialisation does.
void attachCatalogue(HWND dialog);
// Puts every field of the catalogue back to its default while no window is attached.
void resetCatalogue();

bool enabled(HWND control);
bool shown(HWND control);  // own WS_VISIBLE: the test window itself stays hidden
bool checked(HWND control);
std::wstring text(HWND control);
int selection(HWND control);
// What a click does to an automatic check box before the program sees the command.
void toggle(HWND control);

} // namespace testing_model
