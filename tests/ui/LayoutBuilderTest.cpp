#include "ui/LayoutBuilder.h"

#include "ui/SubclassChain.h"
#include "UiTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using kes::ControlSpec;
using kes::LayoutBuilder;

// Pixel width of a text in the font the builder uses, measured on our own DC.
SIZE measure(HWND window, HFONT font, const std::wstring& text)
{
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return size;
}

struct ScaleCase {
    const wchar_t* face; // null: a plain window, which MapDialogRect refuses
    WORD points;
    float scaleX, scaleY;
};

class Scale : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(Scale, ComesFromFourHundredDialogUnitsAndPlacesControlsInPixels)
{
    const ScaleCase& c = GetParam();
    uitest::TemplateDialog dialog(c.face, c.points);
    HWND plain = nullptr;
    HWND target = dialog.get();
    if (!c.face) {
        plain = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
        target = plain;
    }
    {
        LayoutBuilder b(target);
        EXPECT_FLOAT_EQ(b.scaleX(), c.scaleX);
        EXPECT_FLOAT_EQ(b.scaleY(), c.scaleY);
        b.startBlock(10, 30);
        b.reserveWidth(40);
        HWND label = b.addLabel(L"Etykieta");
        ASSERT_NE(label, nullptr);
        const RECT r = uitest::clientRectInParent(label);
        EXPECT_EQ(r.left, static_cast<LONG>(10 * c.scaleX));
        EXPECT_EQ(r.top, static_cast<LONG>((30 - 8) * c.scaleY));
        EXPECT_EQ(r.right - r.left, static_cast<LONG>(40 * c.scaleX));
        EXPECT_EQ(r.bottom - r.top, static_cast<LONG>(8 * c.scaleY));
        if (!c.face) {
            // No dialog font: one of our own, scale y x 8 pixels high.
            LOGFONTW lf{};
            ASSERT_TRUE(GetObjectW(b.font(), sizeof(lf), &lf));
            EXPECT_EQ(lf.lfHeight, 16);
            EXPECT_EQ(lf.lfCharSet, 186);
            EXPECT_STREQ(lf.lfFaceName, L"MS Sans Serif");
        }
    }
    if (plain)
        DestroyWindow(plain);
}

// "MS Sans Serif" as on Windows: 8 points map 400 units to 600 x 650 pixels, 10 points to 800 x 800.
INSTANTIATE_TEST_SUITE_P(LayoutBuilder, Scale,
                         ::testing::Values(ScaleCase{L"MS Sans Serif", 8, 1.5f, 1.625f},
                                           ScaleCase{L"MS Sans Serif", 10, 2.0f, 2.0f},
                                           ScaleCase{nullptr, 0, 2.0f, 2.0f}),
                         [](const auto& info) {
                             return info.param.face ? "points" + std::to_string(info.param.points) : std::string("noFont");
                         });

TEST(LayoutBuilder, ParentFontAndScaleWinOverTheDialogsOwn)
{
    uitest::TemplateDialog parent(L"MS Sans Serif", 10);
    uitest::TemplateDialog child(L"MS Sans Serif", 8, nullptr, parent.get());
    ASSERT_EQ(GetParent(child.get()), parent.get());
    LayoutBuilder b(child.get());
    EXPECT_FLOAT_EQ(b.scaleX(), 2.0f);
    EXPECT_FLOAT_EQ(b.scaleY(), 2.0f);
    const HFONT parentFont = reinterpret_cast<HFONT>(SendMessageW(parent.get(), WM_GETFONT, 0, 0));
    EXPECT_EQ(b.font(), parentFont);
    b.reserveWidth(20);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(b.addLabel(L"x"), WM_GETFONT, 0, 0)), parentFont);
}

int unitsFor(int pixels, float scale)
{
    int units = 0;
    while (units * scale < static_cast<float>(pixels))
        ++units;
    return units;
}

class TextSized : public ::testing::TestWithParam<WORD> {};

// At two pixels a unit (10 points) that is half the text's width, rounded up.
TEST_P(TextSized, ALabelWithoutReservedWidthIsAsWideAsItsText)
{
    uitest::TemplateDialog dialog(L"MS Sans Serif", GetParam());
    LayoutBuilder b(dialog.get());
    b.startBlock(20, 40);
    const std::wstring text = L"Sterowanie SMS-ami:";
    const SIZE extent = measure(dialog.get(), b.font(), text);
    const int units = unitsFor(extent.cx, b.scaleX());
    HWND label = b.addLabel(text);
    EXPECT_EQ(b.left(), 20 + units);
    EXPECT_EQ(b.right(), 20 + units);
    const RECT r = uitest::clientRectInParent(label);
    // Where the window really is: at (20, 40 - 8) units, less than one unit wider than its text.
    EXPECT_EQ(r.left, static_cast<LONG>(20 * b.scaleX()));
    EXPECT_EQ(r.top, static_cast<LONG>(32 * b.scaleY()));
    EXPECT_LT(r.right - r.left, extent.cx + static_cast<LONG>(std::ceil(b.scaleX())));
    EXPECT_EQ(r.right - r.left, static_cast<LONG>(units * b.scaleX()));
    EXPECT_GE(r.right - r.left + 1, extent.cx) << "the text fits";
    EXPECT_EQ(r.bottom - r.top, static_cast<LONG>(std::max<int>(unitsFor(extent.cy, b.scaleY()), 8) * b.scaleY()));

    // A check box sized to its text gets 10 more units for the box.
    HWND check = b.addCheckBox(ControlSpec(L"IN-1"));
    const int checkUnits = unitsFor(measure(dialog.get(), b.font(), L"IN-1").cx, b.scaleX()) + 10;
    EXPECT_EQ(uitest::clientRectInParent(check).right - uitest::clientRectInParent(check).left,
              static_cast<LONG>(checkUnits * b.scaleX()));
    EXPECT_EQ(b.right(), 20 + units + checkUnits);
}

INSTANTIATE_TEST_SUITE_P(LayoutBuilder, TextSized, ::testing::Values(WORD{8}, WORD{10}),
                         [](const auto& info) { return "points" + std::to_string(info.param); });

struct KindCase {
    const char* name;
    std::function<HWND(LayoutBuilder&, ControlSpec)> add;
    int lines;
    const wchar_t* className;
    DWORD style;   // besides WS_CHILD | WS_VISIBLE
    DWORD exStyle; // of the bits we set
    int height;    // units
    int top;       // units, for the row line 100
    int extraWidth;
};

void PrintTo(const KindCase& c, std::ostream* os)
{
    *os << c.name;
}

class Kinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(Kinds, HaveTheirClassStylesAndRectangle)
{
    const KindCase& c = GetParam();
    uitest::TemplateDialog dialog(L"MS Sans Serif", 8);
    LayoutBuilder b(dialog.get());
    b.startBlock(10, 100);
    b.gap(10);
    b.reserveWidth(50);
    ControlSpec desc(L"", 300);
    desc.lines = c.lines;
    HWND control = c.add(b, desc);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(GetDlgCtrlID(control), 300);
    EXPECT_EQ(uitest::classOf(control), c.className);
    DWORD basic = WS_CHILD | WS_VISIBLE | c.style;
    if (std::wstring(c.className) == L"ComboBox")
        basic &= ~static_cast<DWORD>(WS_VSCROLL); // the list box takes the scroll bar over
    EXPECT_EQ(uitest::styleOf(control) & basic, basic) << std::hex << uitest::styleOf(control);
    if (std::wstring(c.className) == L"Button") { // BS_AUTOCHECKBOX holds every BS_CHECKBOX bit
        EXPECT_EQ(uitest::styleOf(control) & BS_TYPEMASK, c.style & BS_TYPEMASK);
    }
    if (std::wstring(c.className) == L"Edit" && !(c.style & ES_READONLY)) {
        EXPECT_EQ(uitest::styleOf(control) & ES_READONLY, 0u);
    }
    EXPECT_EQ(uitest::exStyleOf(control) & WS_EX_CLIENTEDGE, c.exStyle);
    const RECT r = uitest::clientRectInParent(control);
    EXPECT_EQ(r.left, static_cast<LONG>(20 * b.scaleX()));
    EXPECT_EQ(r.top, static_cast<LONG>(c.top * b.scaleY()));
    EXPECT_EQ(r.right - r.left, static_cast<LONG>((50 + c.extraWidth) * b.scaleX()));
    if (std::wstring(c.className) != L"ComboBox") { // a closed list shows its own height
        EXPECT_EQ(r.bottom - r.top, static_cast<LONG>(c.height * b.scaleY()));
    }
    EXPECT_EQ(b.contentBottom(), c.top + c.height);
    EXPECT_EQ(b.left(), 70);
}

const std::vector<KindCase> kinds = {
    {"label", [](LayoutBuilder& b, ControlSpec s) { return b.addLabel(s); }, 0, L"Static", 0, 0, 8, 92, 0},
    {"check", [](LayoutBuilder& b, ControlSpec s) { return b.addCheckBox(s); }, 0, L"Button",
     BS_AUTOCHECKBOX | WS_TABSTOP, 0, 8, 92, 0},
    {"toggle", [](LayoutBuilder& b, ControlSpec s) { return b.addToggleButton(s); }, 0, L"Button",
     BS_CHECKBOX | BS_PUSHLIKE | WS_TABSTOP, 0, 12, 90, 0},
    {"large", [](LayoutBuilder& b, ControlSpec s) { return b.addLargeButton(s); }, 0, L"Button", WS_TABSTOP, 0, 14,
     89, 0},
    {"button", [](LayoutBuilder& b, ControlSpec s) { return b.addButton(s); }, 0, L"Button", WS_TABSTOP, 0, 12, 90,
     0},
    {"text", [](LayoutBuilder& b, ControlSpec s) { return b.addTextEdit(s); }, 0, L"Edit",
     ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 12, 90, 0},
    {"digits", [](LayoutBuilder& b, ControlSpec s) { return b.addDigitsEdit(s); }, 0, L"Edit",
     ES_NUMBER | ES_RIGHT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 12, 90, 0},
    {"signed", [](LayoutBuilder& b, ControlSpec s) { return b.addSignedEdit(s); }, 0, L"Edit",
     ES_RIGHT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 12, 90, 0},
    {"readonly", [](LayoutBuilder& b, ControlSpec s) { return b.addReadOnlyEdit(s); }, 0, L"Edit",
     ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 12, 90, 0},
    {"multiline", [](LayoutBuilder& b, ControlSpec s) { return b.addMultiLineEdit(s); }, 4, L"Edit",
     ES_MULTILINE | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 36, 90, 0},
    {"singleline", [](LayoutBuilder& b, ControlSpec s) { return b.addMultiLineEdit(s); }, 1, L"Edit",
     ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 12, 90, 0},
    {"list", [](LayoutBuilder& b, ControlSpec s) { return b.addDropDownList(s); }, 3, L"ComboBox",
     CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP, 0, 38, 90, 0},
};

INSTANTIATE_TEST_SUITE_P(LayoutBuilder, Kinds, ::testing::ValuesIn(kinds),
                         [](const ::testing::TestParamInfo<KindCase>& info) { return std::string(info.param.name); });

TEST(LayoutBuilder, AutomaticIdsFollowTheLastIdUsed)
{
    uitest::TemplateDialog dialog(L"MS Sans Serif", 8);
    LayoutBuilder b(dialog.get());
    std::vector<int> got;
    got.push_back(GetDlgCtrlID(b.addLabel(ControlSpec(L"a", 10001))));
    for (int i = 0; i < 5; ++i)
        got.push_back(GetDlgCtrlID(b.addCheckBox(ControlSpec(L"b"))));
    got.push_back(GetDlgCtrlID(b.addTextEdit(ControlSpec(L"", 500))));
    got.push_back(GetDlgCtrlID(b.addButton(ControlSpec(L"c"))));
    EXPECT_EQ(got, (std::vector<int>{10001, 10002, 10003, 10004, 10005, 10006, 500, 501}));
    EXPECT_EQ(b.lastId(), 501);
}

struct AlignCase {
    const char* name;
    std::function<void(LayoutBuilder&)> before; // what happens before the label
    DWORD alignment;
};

void PrintTo(const AlignCase& c, std::ostream* os)
{
    *os << c.name;
}

class LabelAlignment : public ::testing::TestWithParam<AlignCase> {};

TEST_P(LabelAlignment, FollowsRowStartRequestAndFlag)
{
    uitest::TemplateDialog dialog(L"MS Sans Serif", 8);
    LayoutBuilder b(dialog.get());
    GetParam().before(b);
    b.reserveWidth(30);
    HWND label = b.addLabel(L"x");
    EXPECT_EQ(uitest::styleOf(label) & SS_TYPEMASK, GetParam().alignment);
}

const std::vector<AlignCase> alignments = {
    {"row_start", [](LayoutBuilder&) {}, SS_LEFT},
    {"new_row", [](LayoutBuilder& b) { b.addLabel(L"a"); b.newRow(); }, SS_LEFT},
    {"after_control", [](LayoutBuilder& b) { b.addLabel(L"a"); }, SS_CENTER},
    {"left_flag", [](LayoutBuilder& b) { b.addLabel(L"a"); b.alignLeftOnce(); }, SS_LEFT},
    {"left_flag_is_one_shot", [](LayoutBuilder& b) { b.alignLeftOnce(); b.addLabel(L"a"); }, SS_CENTER},
    {"right_requested", [](LayoutBuilder& b) { b.requestStyle(SS_RIGHT); }, SS_RIGHT},
    {"request_cleared", [](LayoutBuilder& b) { b.requestStyle(SS_RIGHT); b.addLabel(L"a"); }, SS_CENTER},
};

INSTANTIATE_TEST_SUITE_P(LayoutBuilder, LabelAlignment, ::testing::ValuesIn(alignments),
                         [](const ::testing::TestParamInfo<AlignCase>& info) { return std::string(info.param.name); });

TEST(LayoutBuilder, SpecStyleBitsReplaceTheAlignment)
{
    uitest::TemplateDialog dialog(L"MS Sans Serif", 8);
    LayoutBuilder b(dialog.get());
    ControlSpec desc(L"x");
    desc.style = SS_RIGHT | SS_NOPREFIX;
    desc.styleGiven = true;
    HWND label = b.addLabel(desc);
    EXPECT_EQ(uitest::styleOf(label) & (SS_TYPEMASK | SS_NOPREFIX), static_cast<DWORD>(SS_RIGHT | SS_NOPREFIX));
}

TEST(LayoutBuilder, TheRowBelowATallControlStartsUnderIt)
{
    uitest::TemplateDialog dialog(L"MS Sans Serif", 8);
    LayoutBuilder b(dialog.get());
    b.startBlock(410, 191);
    b.reserveWidth(160);
    ControlSpec desc;
    desc.lines = 4;
    b.addMultiLineEdit(desc); // top 181, 36 high
    b.reserveWidth(25);
    b.addButton(ControlSpec(L"Usuń"));
    b.newRowBelowTall(4);
    EXPECT_EQ(b.rowY(), 16 + 181 + 36 + 4);
    EXPECT_EQ(b.left(), 410);
}

TEST(LayoutBuilder, ADefaultPushButtonBecomesTheDialogsDefault)
{
    uitest::TemplateDialog dialog(L"MS Sans Serif", 8);
    LayoutBuilder b(dialog.get());
    b.requestStyle(BS_DEFPUSHBUTTON);
    b.addButton(ControlSpec(L"OK", 321));
    EXPECT_EQ(LOWORD(SendMessageW(dialog.get(), DM_GETDEFID, 0, 0)), 321);
}

TEST(LayoutBuilder, AFontOverrideScalesTheHeightAndAppliesToOneControl)
{
    uitest::TemplateDialog dialog(L"MS Sans Serif", 8);
    HFONT big = CreateFontW(-30, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
    {
        LayoutBuilder b(dialog.get());
        b.startBlock(10, 50);
        b.reserveWidth(40);
        ControlSpec desc;
        desc.font = big;
        HWND edit = b.addTextEdit(desc);
        const int lineHeight = measure(dialog.get(), big, L"Ńg").cy;
        const int h = static_cast<int>(static_cast<float>(1 * lineHeight) / b.scaleY()) + 4;
        const RECT r = uitest::clientRectInParent(edit);
        EXPECT_EQ(r.bottom - r.top, static_cast<LONG>(h * b.scaleY()));
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)), big);
        b.reserveWidth(40);
        HWND next = b.addTextEdit(ControlSpec());
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(next, WM_GETFONT, 0, 0)), b.font());
        EXPECT_EQ(uitest::clientRectInParent(next).bottom - uitest::clientRectInParent(next).top,
                  static_cast<LONG>(12 * b.scaleY()));
    }
    DestroyWindow(dialog.get());
    DeleteObject(big);
}

std::vector<int> order;
LRESULT CALLBACK filterA(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_APP)
        order.push_back(1);
    return kes::forward(w, m, wp, lp);
}
LRESULT CALLBACK filterB(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_APP)
        order.push_back(2);
    return kes::forward(w, m, wp, lp);
}

TEST(LayoutBuilder, SpecFiltersAreInstalledInListOrder)
{
    uitest::TemplateDialog dialog(L"MS Sans Serif", 8);
    LayoutBuilder b(dialog.get());
    ControlSpec desc;
    desc.filters = {&filterA, &filterB};
    HWND edit = b.addTextEdit(desc);
    order.clear();
    SendMessageW(edit, WM_APP, 0, 0);
    EXPECT_EQ(order, (std::vector<int>{2, 1})) << "the last installed runs first";
}

} // namespace
