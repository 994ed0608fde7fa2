#include "ui/MainWindowLayout.h"

#include "model/Catalogue.h"
#include "ui/ResourceIds.h"
#include "UiTestSupport.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

enum class Kind { Label, Check, Indicator, Button, LargeButton, Edit, Number, Signed, ReadOnly, TextBox, List };

struct Expected {
    int id;
    Kind kind;
    std::wstring caption;
    int x;
    int width; // 0: from the text
    int rowY;
};

// The whole window, in creation order.
std::vector<Expected> expectedControls()
{
    std::vector<Expected> e;
    int id = 10001;
    auto add = [&](Kind k, std::wstring caption, int x, int width, int rowY) {
        e.push_back({id++, k, std::move(caption), x, width, rowY});
    };
    add(Kind::Label, L"Kod dostępu", 5, 45, 15);
    add(Kind::Edit, L"", 50, 30, 15);
    add(Kind::Label, L"Kod PIN karty SIM", 100, 60, 15);
    add(Kind::Number, L"", 160, 30, 15);
    for (int input = 0; input < 2; ++input) {
        const int y = 31 + 16 * input;
        add(Kind::Check, input == 0 ? L"IN-1" : L"IN-2", 5, 35, y);
        add(Kind::Edit, L"", 40, 40, y);
        add(Kind::List, L"", 85, 42, y); // widened for "NO PLUS"
        add(Kind::Label, L"Pobudzenie [s]", 125, 50, y);
        add(Kind::Number, L"", 175, 28, y); // widened for five digits
        add(Kind::Check, L"SMS ON", 210, 40, y);
        add(Kind::Edit, L"", 250, 50, y);
        add(Kind::Check, L"SMS OFF", 310, 41, y);
        add(Kind::Edit, L"", 350, 50, y);
    }
    add(Kind::Check, L"OUT-1", 5, 35, 63);
    add(Kind::Edit, L"", 40, 40, 63);
    add(Kind::Check, L"sterowanie wejściem 1", 85, 90, 63);
    add(Kind::Check, L"czasowo [s]", 180, 50, 63);
    add(Kind::Number, L"", 230, 28, 63);
    add(Kind::Label, L"Sterowanie SMS-ami:", 330, 0, 63);
    add(Kind::Check, L"sterowanie CLIP", 35, 65, 79);
    add(Kind::Check, L"tylko użytkownicy", 100, 65, 79);
    add(Kind::Check, L"czasowo [s]", 165, 50, 79);
    add(Kind::Number, L"", 215, 28, 79);
    add(Kind::Check, L"tylko użytkownicy", 330, 64, 79);
    add(Kind::Check, L"OUT-2", 5, 35, 95);
    add(Kind::Edit, L"", 40, 40, 95);
    add(Kind::Check, L"sterowanie wejściem 2", 85, 90, 95);
    add(Kind::Check, L"czasowo [s]", 180, 50, 95);
    add(Kind::Number, L"", 230, 28, 95);
    add(Kind::Check, L"sterowanie temperaturą", 35, 85, 111);
    add(Kind::Check, L"TEMP", 5, 35, 127);
    add(Kind::Edit, L"", 40, 40, 127);
    add(Kind::Check, L"SMS ON", 85, 40, 127);
    add(Kind::Check, L"SMS OFF", 125, 41, 127);
    add(Kind::Label, L"max [C]", 165, 30, 127);
    add(Kind::Signed, L"", 195, 20, 127);
    add(Kind::Label, L"min [C]", 215, 30, 127);
    add(Kind::Signed, L"", 245, 20, 127);
    // "POWER" takes 11 more units; the voltage limits after it move right by as much.
    add(Kind::Check, L"POWER", 5, 36, 143);
    add(Kind::Label, L"max [V]", 41, 30, 143);
    add(Kind::Number, L"", 71, 20, 143);
    add(Kind::Label, L"min [V]", 91, 30, 143);
    add(Kind::Number, L"", 121, 20, 143);
    add(Kind::Label, L"OUT", 160, 20, 143);
    add(Kind::Label, L"TEMP", 180, 20, 143);
    add(Kind::Label, L"PWR", 200, 20, 143);
    add(Kind::Label, L"CLIP", 220, 20, 143);
    add(Kind::Label, L"PODSŁUCH", 240, 40, 143);
    add(Kind::Label, L"POSŁANIEC", 280, 40, 143);
    add(Kind::Label, L"UPRAWNIENIA CZAS. [h]", 320, 90, 143);
    for (int u = 0; u < 5; ++u) {
        const int y = 159 + 16 * u;
        add(Kind::Check, L"Użytkownik " + std::to_wstring(u + 1), 5, 55, y);
        add(Kind::Edit, L"", 60, 50, y);
        add(Kind::List, L"", 115, 46, y);
        add(Kind::Check, L"", 167, 20, y);
        add(Kind::Check, L"", 187, 20, y);
        add(Kind::Check, L"", 207, 20, y);
        add(Kind::Check, L"", 227, 20, y);
        add(Kind::Check, L"", 257, 30, y);
        add(Kind::Check, L"", 297, 30, y);
        add(Kind::Check, L"", 339, 20, y);
        add(Kind::Number, L"", 359, 25, y);
    }
    add(Kind::Label, L"Status", 5, 30, 242);
    add(Kind::ReadOnly, L"", 35, 80, 242);
    add(Kind::LargeButton, L"Otwórz", 130, 30, 242);
    add(Kind::LargeButton, L"Zapisz", 170, 30, 242);
    add(Kind::LargeButton, L"Pomoc", 210, 30, 242);
    add(Kind::LargeButton, L"Zamknij", 290, 40, 242);
    add(Kind::LargeButton, L"Programuj", 350, 40, 242);
    const std::pair<const wchar_t*, Kind> column[] = {{L"Operator", Kind::ReadOnly}, {L"Poziom", Kind::ReadOnly},
                                                      {L"POWER", Kind::ReadOnly},    {L"OUT-1", Kind::Indicator},
                                                      {L"OUT-2", Kind::Indicator},   {L"IN-1", Kind::Indicator},
                                                      {L"IN-2", Kind::Indicator},    {L"TEMP", Kind::ReadOnly}};
    const int columnRows[] = {15, 31, 47, 71, 87, 111, 127, 143};
    for (int r = 0; r < 8; ++r) {
        add(Kind::Label, column[r].first, 410, 30, columnRows[r]);
        const int width = column[r].second == Kind::Indicator ? 15 : r == 1 ? 28 : 25; // "100 %"
        add(column[r].second, L"", 440, width, columnRows[r]);
    }
    add(Kind::Label, L"Tel.", 410, 15, 167);
    add(Kind::Edit, L"", 425, 100, 167);
    add(Kind::Button, L"Wyślij CLIP / USSD", 530, 70, 167);
    add(Kind::TextBox, L"", 410, 160, 191);
    add(Kind::Button, L"Usuń", 575, 25, 191);
    add(Kind::Button, L"Wyślij SMS", 470, 60, 237); // 20 units below the text box's bottom (217)
    return e;
}

struct KindTraits {
    const wchar_t* className;
    DWORD style;  // must all be set
    DWORD absent; // must all be clear
    int height;   // units
};

KindTraits traits(Kind k)
{
    constexpr DWORD editBits = ES_AUTOHSCROLL | WS_TABSTOP;
    switch (k) {
    case Kind::Label: return {L"Static", 0, WS_TABSTOP, 8};
    case Kind::Check: return {L"Button", BS_AUTOCHECKBOX | WS_TABSTOP, BS_PUSHLIKE, 8};
    case Kind::Indicator: return {L"Button", BS_CHECKBOX | BS_PUSHLIKE | WS_TABSTOP, 0, 12};
    case Kind::Button: return {L"Button", WS_TABSTOP, BS_CHECKBOX | BS_AUTOCHECKBOX, 12};
    case Kind::LargeButton: return {L"Button", WS_TABSTOP, BS_CHECKBOX | BS_AUTOCHECKBOX, 14};
    case Kind::Edit: return {L"Edit", editBits, ES_NUMBER | ES_RIGHT | ES_READONLY | ES_MULTILINE, 12};
    case Kind::Number: return {L"Edit", editBits | ES_NUMBER | ES_RIGHT, ES_READONLY | ES_MULTILINE, 12};
    case Kind::Signed: return {L"Edit", editBits | ES_RIGHT, ES_NUMBER | ES_READONLY | ES_MULTILINE, 12};
    case Kind::ReadOnly: return {L"Edit", editBits | ES_READONLY, ES_NUMBER | ES_MULTILINE, 12};
    case Kind::TextBox: return {L"Edit", ES_MULTILINE | WS_VSCROLL | WS_TABSTOP, ES_READONLY, 36};
    case Kind::List: return {L"ComboBox", CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_TABSTOP, CBS_SORT, 38};
    }
    return {L"", 0, 0, 0};
}

int topOf(Kind k, int rowY)
{
    switch (traits(k).height) {
    case 8: return rowY - 8;
    case 14: return rowY - 11;
    default: return rowY - 10; // 12-high single-line controls, the text box and the lists
    }
}

INT_PTR CALLBACK layoutOnly(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        kes::buildMainWindow(dialog);
        return TRUE;
    }
    return FALSE;
}

class MainWindowLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN_DIALOG), nullptr,
                                    &layoutOnly, 0);
        ASSERT_NE(dialog, nullptr);
        RECT units{0, 0, 400, 400};
        ASSERT_TRUE(MapDialogRect(dialog, &units));
        scaleX = static_cast<float>(units.right) / 400;
        scaleY = static_cast<float>(units.bottom) / 400;
    }
    void TearDown() override { DestroyWindow(dialog); }
    HWND dialog = nullptr;
    float scaleX = 0, scaleY = 0;
};

// The template names no font: the system font's two pixels a unit, and a font of our own for the
// controls, 8 units high.
TEST_F(MainWindowLayout, TwoPixelsAUnitAndTheBuildersOwnFont)
{
    EXPECT_FLOAT_EQ(scaleX, 2.0f);
    EXPECT_FLOAT_EQ(scaleY, 2.0f);
    LOGFONTW font{};
    ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(dialog, 10001), WM_GETFONT, 0, 0)),
                           sizeof(font), &font));
    EXPECT_EQ(font.lfHeight, 16);
    EXPECT_EQ(font.lfCharSet, 186);
    EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
}

TEST_F(MainWindowLayout, HoldsExactlyTheTemplatesControlsAndTheDenseRunInCreationOrder)
{
    std::vector<int> got;
    for (HWND child : uitest::childrenOf(dialog))
        got.push_back(GetDlgCtrlID(child));
    std::vector<int> expected{IDC_MODULE_PICTURE, IDC_HIDDEN_BUTTON};
    for (int id = 10001; id <= 10143; ++id)
        expected.push_back(id);
    EXPECT_EQ(got, expected);
}

TEST_F(MainWindowLayout, EveryControlHasItsKindCaptionPositionAndWidth)
{
    const auto expected = expectedControls();
    ASSERT_EQ(expected.size(), 143u);
    ASSERT_EQ(expected.back().id, 10143);
    for (const Expected& c : expected) {
        SCOPED_TRACE(c.id);
        HWND control = GetDlgItem(dialog, c.id);
        ASSERT_NE(control, nullptr);
        const KindTraits t = traits(c.kind);
        EXPECT_EQ(uitest::classOf(control), t.className);
        const DWORD style = uitest::styleOf(control);
        EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | t.style), WS_CHILD | WS_VISIBLE | t.style) << std::hex << style;
        EXPECT_EQ(style & t.absent, 0u) << std::hex << style;
        if (std::wstring(t.className) == L"Button") { // BS_AUTOCHECKBOX holds every BS_CHECKBOX bit
            EXPECT_EQ(style & BS_TYPEMASK, t.style & BS_TYPEMASK);
        }
        const bool edit = std::wstring(t.className) == L"Edit";
        EXPECT_EQ((uitest::exStyleOf(control) & WS_EX_CLIENTEDGE) != 0, edit);
        if (!edit) {
            EXPECT_EQ(uitest::textOf(control), c.caption);
        }
        const RECT r = uitest::clientRectInParent(control);
        EXPECT_EQ(r.left, static_cast<LONG>(c.x * scaleX));
        EXPECT_EQ(r.top, static_cast<LONG>(topOf(c.kind, c.rowY) * scaleY));
        if (c.width) {
            EXPECT_EQ(r.right - r.left, static_cast<LONG>(c.width * scaleX));
        }
        if (c.kind != Kind::List && c.width) {
            EXPECT_EQ(r.bottom - r.top, static_cast<LONG>(t.height * scaleY));
        }
    }
}

TEST_F(MainWindowLayout, TheTemplateGivesThePictureAndTheHiddenButton)
{
    HWND picture = GetDlgItem(dialog, IDC_MODULE_PICTURE);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(uitest::styleOf(picture) & SS_TYPEMASK, static_cast<DWORD>(SS_BITMAP));
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    ASSERT_TRUE(GetObjectW(bitmap, sizeof(info), &info));
    EXPECT_EQ(info.bmWidth, 260);
    EXPECT_EQ(info.bmHeight, 295);
    RECT area{470, 5, 570, 105};
    MapDialogRect(dialog, &area);
    EXPECT_EQ(uitest::clientRectInParent(picture).left, area.left);
    // Shown at its own size, undistorted.
    EXPECT_EQ(uitest::clientRectInParent(picture).right, area.left + 260);
    EXPECT_EQ(uitest::clientRectInParent(picture).bottom, area.top + 295);

    HWND hidden = GetDlgItem(dialog, IDC_HIDDEN_BUTTON);
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(uitest::classOf(hidden), L"Button");
    EXPECT_EQ(uitest::textOf(hidden), L"");
    RECT r{200, 225, 250, 235};
    MapDialogRect(dialog, &r);
    EXPECT_EQ(uitest::clientRectInParent(hidden).left, r.left);
    EXPECT_EQ(uitest::clientRectInParent(hidden).top, r.top);

    wchar_t caption[64] = {};
    GetWindowTextW(dialog, caption, 64);
    EXPECT_STREQ(caption, L"Quellmo PC");
}

TEST_F(MainWindowLayout, TheBitmapResourceIsATrueColourPicture)
{
    HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(IDB_MODULE_PICTURE), RT_BITMAP);
    ASSERT_NE(resource, nullptr);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, resource)));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->biBitCount, 24);
    EXPECT_EQ(header->biWidth, 260);
    EXPECT_EQ(header->biHeight, 295);
}

TEST_F(MainWindowLayout, ListsKeepTheirItemsInInsertionOrder)
{
    settingsBufor.attachAll(dialog);
    struct ListCase {
        int id;
        std::vector<std::wstring> items;
    };
    const std::vector<std::wstring> wiring{L"NO PLUS", L"NO GND", L"NC PLUS", L"NC GND"};
    const std::vector<std::wstring> notify{L"- - -", L"CLIP", L"SMS", L"CLIP+SMS", L"SMS+CLIP"};
    const std::vector<ListCase> lists{{10007, wiring}, {10016, wiring}, {10062, notify}, {10106, notify}};
    for (const ListCase& list : lists) {
        SCOPED_TRACE(list.id);
        HWND combo = GetDlgItem(dialog, list.id);
        ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(list.items.size()));
        for (std::size_t i = 0; i < list.items.size(); ++i) {
            wchar_t text[32] = {};
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            EXPECT_EQ(text, list.items[i]);
        }
        EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
    }
}

// Pixels a text needs in a control's font.
int textWidth(HWND control, const std::wstring& text)
{
    HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}

// What the control shows its text in, in pixels, as the control itself reports it.
int roomFor(HWND control, const std::wstring& text)
{
    const std::wstring cls = uitest::classOf(control);
    RECT client{};
    GetClientRect(control, &client);
    if (cls == L"ComboBox") {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        GetComboBoxInfo(control, &info);
        return info.rcItem.right - info.rcItem.left - 2; // the selection's focus frame
    }
    if (cls == L"Edit") {
        RECT format{};
        SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        return format.right - format.left - 1; // the caret after the last character
    }
    if (cls == L"Button" && (uitest::styleOf(control) & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
        // The box and its gap, as the control sizes itself for its own text.
        SIZE ideal{};
        SendMessageW(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
        return client.right - (ideal.cx - textWidth(control, text));
    }
    if (cls == L"Button") {
        SIZE ideal{};
        SendMessageW(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
        return client.right - (ideal.cx - textWidth(control, text));
    }
    return client.right;
}

TEST_F(MainWindowLayout, NoCaptionOrListItemIsCut)
{
    settingsBufor.attachAll(dialog);
    std::wstring cut;
    for (int id = 10001; id <= 10143; ++id) {
        HWND control = GetDlgItem(dialog, id);
        std::vector<std::wstring> texts;
        if (uitest::classOf(control) == L"ComboBox") {
            const auto count = SendMessageW(control, CB_GETCOUNT, 0, 0);
            for (LRESULT i = 0; i < count; ++i) {
                wchar_t item[64] = {};
                SendMessageW(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
                texts.push_back(item);
            }
        } else if (uitest::classOf(control) != L"Edit") {
            texts.push_back(uitest::textOf(control));
        }
        for (const std::wstring& text : texts) {
            const int need = textWidth(control, text), room = roomFor(control, text);
            if (need > room)
                cut += std::to_wstring(id) + L" \"" + text + L"\" needs " + std::to_wstring(need) + L" px, has " +
                       std::to_wstring(room) + L"\n";
        }
    }
    EXPECT_EQ(cut, L"");
}

// Values with a short limit fit at their full length; names, texts and phone numbers are longer than
// any box of their row could be and scroll within it.
TEST_F(MainWindowLayout, ShortValuesFitAtTheirFullLength)
{
    struct Value {
        int id;
        const wchar_t* text;
    };
    std::vector<Value> values{{10002, L"WKTR"},    {10004, L"8888"},  {10009, L"99999"}, {10018, L"99999"},
                              {10027, L"99999"},   {10032, L"99999"}, {10038, L"99999"}, {10045, L"-50"},
                              {10047, L"-50"},     {10050, L"30"},    {10052, L"30"},    {10116, L"podłącz QLV-3 USB"},
                              {10125, L"100 %"},   {10127, L"30 V"},  {10137, L"-50"}};
    for (int user = 0; user < 5; ++user)
        values.push_back({10070 + 11 * user, L"999"});
    std::wstring cut;
    for (const Value& v : values) {
        HWND control = GetDlgItem(dialog, v.id);
        const int need = textWidth(control, v.text), room = roomFor(control, v.text);
        if (need > room)
            cut += std::to_wstring(v.id) + L" \"" + v.text + L"\" needs " + std::to_wstring(need) + L" px, has " +
                   std::to_wstring(room) + L"\n";
    }
    EXPECT_EQ(cut, L"");
}

TEST_F(MainWindowLayout, FirstUsersTimeLimitedRightsAreHiddenTheOthersShown)
{
    settingsBufor.attachAll(dialog);
    firstUserTimeRightsView.attach(dialog, 0);
    for (int user = 0; user < 5; ++user) {
        for (int offset : {9, 10}) {
            HWND control = GetDlgItem(dialog, ids::userId(user, offset));
            EXPECT_EQ(IsWindowVisible(control) != FALSE, user != 0) << user << " " << offset;
        }
    }
}

} // namespace
