#pragma once
// Creates a dialog's controls at run time in flowing rows, in layout units (dialog units),
// with consecutive control IDs.
#include "support/ScopedWin.h"

#include <optional>
#include <string>
#include <vector>
#include <windows.h>

namespace kes {

constexpr int nextControlId = -2; // ControlSpec::id: the last ID used plus one

struct ControlSpec {
    int style = 0;            // replaces the builder's requested bits when styleGiven
    bool styleGiven = false;
    HFONT font = nullptr;     // font override for this control only
    std::vector<WNDPROC> filters; // subclass procedures, installed in this order
    std::wstring text;
    int id = nextControlId;
    int lines = 0;            // multi-line edits and drop-down lists

    ControlSpec() = default;
    ControlSpec(std::wstring caption, int controlId = nextControlId) : text(std::move(caption)), id(controlId) {}
};

struct LayoutRect {
    int left, top, width, height; // layout units
};

class LayoutBuilder {
public:
    // A null instance means the dialog's own (GWLP_HINSTANCE).
    explicit LayoutBuilder(HWND dialog, HINSTANCE instance = nullptr);
    LayoutBuilder(const LayoutBuilder&) = delete;
    LayoutBuilder& operator=(const LayoutBuilder&) = delete;

    HWND addLabel(const ControlSpec& desc);
    HWND addLabel(const std::wstring& text) { return addLabel(ControlSpec(text)); }
    HWND addCheckBox(const ControlSpec& desc);
    HWND addToggleButton(const ControlSpec& desc);
    HWND addLargeButton(const ControlSpec& desc);
    HWND addButton(const ControlSpec& desc);
    HWND addTextEdit(const ControlSpec& desc);
    HWND addDigitsEdit(const ControlSpec& desc);
    HWND addSignedEdit(const ControlSpec& desc);
    HWND addReadOnlyEdit(const ControlSpec& desc);
    HWND addMultiLineEdit(const ControlSpec& desc);
    HWND addDropDownList(const ControlSpec& desc);

    // Cursor.
    void startBlock(int x, int y);        // new left margin and row line
    void newRow(int step);                // the row line moves down by step, back to the margin
    void newRow() { newRow(lineStep_); }
    void newRowBelowTall(int extra);      // the row line below the last tall control, plus extra
    void gap(int units);                  // leaves units empty before the next control
    void reserveWidth(int units);         // the next control's width; 0 sizes it to its text
    void requestStyle(int bits) { requestedStyle_ = bits; }
    void alignLeftOnce() { leftAlign_ = true; }

    float scaleX() const { return scaleX_; }
    float scaleY() const { return scaleY_; }
    int left() const { return left_; }
    int right() const { return right_; }
    int rowY() const { return rowY_; }
    int lastId() const { return lastId_; }
    int contentRight() const { return contentRight_; }
    int contentBottom() const { return contentBottom_; }
    HWND lastControl() const { return lastControl_; }
    HFONT font() const { return font_; }

    // The rectangle the next single-line or tall control would get (exposed for tests).
    LayoutRect nextRect(const std::wstring& text, int height, int extraWidth, bool tall, HFONT font) const;

private:
    HWND create(const wchar_t* className, const ControlSpec& desc, DWORD style, DWORD exStyle, int height,
                int extraWidth, bool tall);
    SIZE textExtent(const std::wstring& text, HFONT font) const;

    HWND dialog_;
    WindowDc dc_;                           // released when the build ends
    std::optional<SelectedObject> dcFont_;  // the dialog font in dc_ while measuring
    HINSTANCE instance_;
    HFONT font_ = nullptr;
    float scaleX_ = 2.0f, scaleY_ = 2.0f;
    double multX_ = 1.0, multY_ = 1.0, multWidth_ = 1.0, multHeight_ = 1.0;
    int left_ = 10, right_ = 10, rowY_ = 7, rowStartX_ = 10, lineStep_ = 16;
    int contentRight_ = 0, contentBottom_ = 0;
    int tallNextRowY_ = 0;
    int lastId_ = 0;
    int requestedStyle_ = 0;
    bool atRowStart_ = true;
    bool leftAlign_ = false;
    HWND lastControl_ = nullptr;
};

} // namespace kes
