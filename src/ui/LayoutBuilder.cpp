#include "ui/LayoutBuilder.h"

#include "ui/SubclassChain.h"

#include <commctrl.h>
#include <algorithm>
#include <cmath>

namespace kes {
namespace {

constexpr DWORD commonControlClasses = 0x4139; // list-view, tab, up-down, progress, date, standard
constexpr int mapUnits = 400;
constexpr float fallbackScale = 2.0f;
constexpr int baseHeight = 8;     // one text line, layout units
constexpr BYTE balticCharset = 186;

constexpr int checkBoxExtra = 10; // room for the box when the width comes from the text
constexpr int buttonExtra = 12;

// Fonts made here when a dialog had none; controls keep them until the process ends.
std::vector<GdiObject<HFONT>>& createdFonts()
{
    static std::vector<GdiObject<HFONT>> fonts;
    return fonts;
}

HFONT keepCreatedFont(HFONT font)
{
    if (font)
        createdFonts().emplace_back(font);
    return font;
}

// Pixels to layout units, rounded up. With the classic two pixels a unit this is half the
// pixel size; at other scales a text still fits the control made for it.
int unitsRoundedUp(int pixels, float scale)
{
    return static_cast<int>(std::ceil(static_cast<float>(pixels) / scale - 1e-4f));
}

} // namespace

LayoutBuilder::LayoutBuilder(HWND dialog, HINSTANCE instance) : dialog_(dialog), dc_(dialog), instance_(instance)
{
    if (!instance_)
        instance_ = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog_, GWLP_HINSTANCE));

    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = commonControlClasses;
    InitCommonControlsEx(&icc);

    const HWND parent = GetParent(dialog_);
    RECT units{0, 0, mapUnits, mapUnits};
    if (MapDialogRect(parent ? parent : dialog_, &units)) {
        scaleX_ = static_cast<float>(units.right) / mapUnits;
        scaleY_ = static_cast<float>(units.bottom) / mapUnits;
    } else {
        scaleX_ = scaleY_ = fallbackScale;
    }

    if (parent) {
        font_ = reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0));
        SendMessageW(dialog_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    } else {
        font_ = reinterpret_cast<HFONT>(SendMessageW(dialog_, WM_GETFONT, 0, 0));
    }
    if (!font_) {
        font_ = keepCreatedFont(CreateFontW(static_cast<int>(scaleY_ * baseHeight), 0, 0, 0, FW_NORMAL, FALSE,
                                            FALSE, FALSE, balticCharset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                            DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Sans Serif"));
    }

    dcFont_.emplace(dc_.get(), font_);
}

void LayoutBuilder::startBlock(int x, int y)
{
    rowStartX_ = left_ = right_ = x;
    rowY_ = y;
    atRowStart_ = true;
}

void LayoutBuilder::newRow(int step)
{
    rowY_ += step;
    left_ = right_ = rowStartX_;
    atRowStart_ = true;
}

void LayoutBuilder::newRowBelowTall(int extra)
{
    rowY_ = tallNextRowY_ + extra;
    left_ = right_ = rowStartX_;
    atRowStart_ = true;
}

void LayoutBuilder::gap(int units)
{
    left_ += units;
    right_ = left_;
}

void LayoutBuilder::reserveWidth(int units)
{
    right_ = left_ + units;
}

SIZE LayoutBuilder::textExtent(const std::wstring& text, HFONT font) const
{
    SIZE size{0, 0};
    if (!dc_.get())
        return size;
    SelectedObject override(dc_.get(), font);
    GetTextExtentPoint32W(dc_.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

LayoutRect LayoutBuilder::nextRect(const std::wstring& text, int height, int extraWidth, bool tall,
                                   HFONT font) const
{
    int h = height;
    if (font) {
        const int lineHeight = textExtent(L"Ńg", font).cy;
        h = static_cast<int>(static_cast<float>((h / baseHeight) * lineHeight) / scaleY_) + h % baseHeight;
    }
    LayoutRect r{left_, 0, 0, h};
    if (tall) {
        r.top = rowY_ - (h < baseHeight ? 8 : 10);
        r.width = right_ - left_ + extraWidth;
        return r;
    }
    const int d = h < baseHeight ? 0 : (h - baseHeight) / 2;
    r.top = rowY_ - baseHeight - d;
    if (right_ == left_) {
        const SIZE extent = textExtent(text, font);
        r.width = unitsRoundedUp(extent.cx, scaleX_) + extraWidth;
        r.height = std::max(unitsRoundedUp(extent.cy, scaleY_), h);
    } else {
        r.width = right_ - left_;
    }
    return r;
}

HWND LayoutBuilder::create(const wchar_t* className, const ControlSpec& desc, DWORD style, DWORD exStyle,
                           int height, int extraWidth, bool tall)
{
    const LayoutRect r = nextRect(desc.text, height, extraWidth, tall, desc.font);
    if (tall)
        tallNextRowY_ = lineStep_ + r.top + r.height;

    const int x = static_cast<int>(r.left * multX_ * scaleX_);
    const int y = static_cast<int>(r.top * multY_ * scaleY_);
    const int w = static_cast<int>(r.width * multWidth_ * scaleX_);
    const int h = static_cast<int>(r.height * multHeight_ * scaleY_);

    const int id = desc.id == nextControlId ? lastId_ + 1 : desc.id;
    lastId_ = id;

    HWND control = CreateWindowExW(exStyle, className, desc.text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                                   dialog_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    if (control) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(desc.font ? desc.font : font_), FALSE);
        if (desc.font)
            MoveWindow(control, x, y, w, h, FALSE);
        for (WNDPROC filter : desc.filters)
            subclass(control, filter, nullptr);
    }
    contentRight_ = std::max(contentRight_, r.left + r.width);
    contentBottom_ = std::max(contentBottom_, r.top + r.height);
    lastControl_ = control;

    if (!tall && right_ == left_)
        right_ = left_ + r.width;
    left_ = right_;
    requestedStyle_ = 0;
    atRowStart_ = false;
    leftAlign_ = false;
    return control;
}

HWND LayoutBuilder::addLabel(const ControlSpec& desc)
{
    DWORD style;
    if (desc.styleGiven)
        style = static_cast<DWORD>(desc.style);
    else if (requestedStyle_ & SS_RIGHT)
        style = static_cast<DWORD>(requestedStyle_);
    else if (atRowStart_ || leftAlign_)
        style = SS_LEFT | static_cast<DWORD>(requestedStyle_ & ~SS_TYPEMASK);
    else
        style = SS_CENTER | static_cast<DWORD>(requestedStyle_ & ~SS_TYPEMASK);
    return create(L"Static", desc, style, 0, baseHeight, 0, false);
}

namespace {
DWORD extraBits(const ControlSpec& desc, int requested)
{
    return static_cast<DWORD>(desc.styleGiven ? desc.style : requested);
}
} // namespace

HWND LayoutBuilder::addCheckBox(const ControlSpec& desc)
{
    return create(L"Button", desc, BS_AUTOCHECKBOX | WS_TABSTOP | extraBits(desc, requestedStyle_), 0, baseHeight,
                  checkBoxExtra, false);
}

HWND LayoutBuilder::addToggleButton(const ControlSpec& desc)
{
    return create(L"Button", desc, BS_CHECKBOX | BS_PUSHLIKE | WS_TABSTOP | extraBits(desc, requestedStyle_), 0, 12,
                  buttonExtra, false);
}

HWND LayoutBuilder::addLargeButton(const ControlSpec& desc)
{
    const DWORD bits = extraBits(desc, requestedStyle_);
    HWND button = create(L"Button", desc, WS_TABSTOP | bits, 0, 14, buttonExtra, false);
    if ((bits & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
        SendMessageW(dialog_, DM_SETDEFID, static_cast<WPARAM>(lastId_), 0);
    return button;
}

HWND LayoutBuilder::addButton(const ControlSpec& desc)
{
    const DWORD bits = extraBits(desc, requestedStyle_);
    HWND button = create(L"Button", desc, WS_TABSTOP | bits, 0, 12, buttonExtra, false);
    if ((bits & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
        SendMessageW(dialog_, DM_SETDEFID, static_cast<WPARAM>(lastId_), 0);
    return button;
}

HWND LayoutBuilder::addTextEdit(const ControlSpec& desc)
{
    return create(L"Edit", desc, ES_AUTOHSCROLL | WS_TABSTOP | extraBits(desc, requestedStyle_), WS_EX_CLIENTEDGE, 12,
                  0, false);
}

HWND LayoutBuilder::addDigitsEdit(const ControlSpec& desc)
{
    return create(L"Edit", desc,
                  ES_NUMBER | ES_RIGHT | ES_AUTOHSCROLL | WS_TABSTOP | extraBits(desc, requestedStyle_),
                  WS_EX_CLIENTEDGE, 12, 0, false);
}

HWND LayoutBuilder::addSignedEdit(const ControlSpec& desc)
{
    return create(L"Edit", desc, ES_RIGHT | ES_AUTOHSCROLL | WS_TABSTOP | extraBits(desc, requestedStyle_),
                  WS_EX_CLIENTEDGE, 12, 0, false);
}

HWND LayoutBuilder::addReadOnlyEdit(const ControlSpec& desc)
{
    return create(L"Edit", desc, ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP | extraBits(desc, requestedStyle_),
                  WS_EX_CLIENTEDGE, 12, 0, false);
}

HWND LayoutBuilder::addMultiLineEdit(const ControlSpec& desc)
{
    const DWORD kind = desc.lines < 2 ? ES_AUTOHSCROLL | WS_TABSTOP : ES_MULTILINE | WS_VSCROLL | WS_TABSTOP;
    return create(L"Edit", desc, kind | extraBits(desc, requestedStyle_), WS_EX_CLIENTEDGE,
                  baseHeight * desc.lines + 4, 0, true);
}

HWND LayoutBuilder::addDropDownList(const ControlSpec& desc)
{
    return create(L"ComboBox", desc, CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP,
                  0, baseHeight * desc.lines + 14, 0, true);
}

} // namespace kes
