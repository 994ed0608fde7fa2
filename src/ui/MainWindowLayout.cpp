#include "ui/MainWindowLayout.h"

#include "ui/InputFilters.h"
#include "ui/LayoutBuilder.h"

#include <string>

namespace kes {
namespace {

constexpr int firstSettingsId = 10001;
constexpr int firstStatusId = 10122;
constexpr int listLines = 3;
constexpr int textBoxLines = 4;
constexpr int sectionStep = 24;     // one and a half rows
constexpr int belowTextBox = 4;     // extra room under the message box
constexpr int userCount = 5;
constexpr int timeRoom = 3; // a time of five digits

class Rows {
public:
    explicit Rows(LayoutBuilder& b) : b_(b) {}

    void label(int gap, int width, const std::wstring& text, int id = nextControlId)
    {
        place(gap, width);
        b_.addLabel(ControlSpec(text, id));
        placed();
    }
    void check(int gap, int width, const std::wstring& text)
    {
        place(gap, width);
        b_.addCheckBox(ControlSpec(text));
        placed();
    }
    void edit(int gap, int width)
    {
        place(gap, width);
        b_.addTextEdit(ControlSpec());
        placed();
    }
    void number(int gap, int width)
    {
        place(gap, width);
        b_.addDigitsEdit(ControlSpec());
        placed();
    }
    void signedNumber(int gap, int width)
    {
        place(gap, width);
        ControlSpec desc;
        desc.filters.push_back(&signedNumberFilter);
        b_.addSignedEdit(desc);
        placed();
    }
    void readOnly(int gap, int width)
    {
        place(gap, width);
        b_.addReadOnlyEdit(ControlSpec());
        placed();
    }
    void list(int gap, int width)
    {
        place(gap, width);
        ControlSpec desc;
        desc.lines = listLines;
        b_.addDropDownList(desc);
        placed();
    }
    void indicator(int gap, int width)
    {
        place(gap, width);
        b_.addToggleButton(ControlSpec());
        placed();
    }
    void button(int gap, int width, const std::wstring& text)
    {
        place(gap, width);
        b_.addButton(ControlSpec(text));
        placed();
    }
    void largeButton(int gap, int width, const std::wstring& text)
    {
        place(gap, width);
        b_.addLargeButton(ControlSpec(text));
        placed();
    }
    void textBox(int gap, int width)
    {
        place(gap, width);
        ControlSpec desc;
        desc.lines = textBoxLines;
        desc.filters.push_back(&smsTextFilter);
        desc.filters.push_back(&escapeKeyFilter);
        b_.addMultiLineEdit(desc);
        placed();
    }

    // The next control is widened by units so that its own caption or items fit; the controls
    // after it keep their places.
    void widenNext(int units) { widen_ = units; }

private:
    void place(int gap, int width)
    {
        if (gap)
            b_.gap(gap);
        b_.reserveWidth(width + widen_);
    }
    void placed()
    {
        if (widen_)
            b_.gap(-widen_);
        widen_ = 0;
    }
    LayoutBuilder& b_;
    int widen_ = 0;
};

void inputRow(Rows& r, const wchar_t* name)
{
    r.check(0, 35, name);
    r.edit(0, 40);
    r.widenNext(2); // "NO PLUS"
    r.list(5, 40);
    r.label(0, 50, L"Pobudzenie [s]");
    r.widenNext(timeRoom);
    r.number(0, 25);
    r.check(10, 40, L"SMS ON");
    r.edit(0, 50);
    r.widenNext(1);
    r.check(10, 40, L"SMS OFF");
    r.edit(0, 50);
}

void outputRow(Rows& r, const wchar_t* name, const wchar_t* byInput)
{
    r.check(0, 35, name);
    r.edit(0, 40);
    r.check(5, 90, byInput);
    r.check(5, 50, L"czasowo [s]");
    r.widenNext(timeRoom);
    r.number(0, 25);
}

void leftBlock(LayoutBuilder& b, Rows& r)
{
    b.startBlock(5, 15);
    r.label(0, 45, L"Kod dostępu", firstSettingsId);
    r.edit(0, 30);
    r.label(20, 60, L"Kod PIN karty SIM");
    r.number(0, 30);

    b.newRow();
    inputRow(r, L"IN-1");
    b.newRow();
    inputRow(r, L"IN-2");

    b.newRow();
    outputRow(r, L"OUT-1", L"sterowanie wejściem 1");
    r.label(75, 0, L"Sterowanie SMS-ami:");
    b.newRow();
    r.check(30, 65, L"sterowanie CLIP");
    r.check(0, 65, L"tylko użytkownicy");
    r.check(0, 50, L"czasowo [s]");
    r.widenNext(timeRoom);
    r.number(0, 25);
    r.widenNext(4);
    r.check(90, 60, L"tylko użytkownicy");

    b.newRow();
    outputRow(r, L"OUT-2", L"sterowanie wejściem 2");
    b.newRow();
    r.widenNext(5);
    r.check(30, 80, L"sterowanie temperaturą");

    b.newRow();
    r.check(0, 35, L"TEMP");
    r.edit(0, 40);
    r.check(5, 40, L"SMS ON");
    r.widenNext(1);
    r.check(0, 40, L"SMS OFF");
    r.label(0, 30, L"max [C]");
    r.signedNumber(0, 20);
    r.label(0, 30, L"min [C]");
    r.signedNumber(0, 20);

    b.newRow();
    // "POWER" needs 36 units, which would run into the text of "max [V]": the voltage limits move
    // right by 11 units instead, into the gap before the column headings, which keep their places.
    constexpr int powerRoom = 11;
    r.check(0, 25 + powerRoom, L"POWER");
    r.label(0, 30, L"max [V]");
    r.number(0, 20);
    r.label(0, 30, L"min [V]");
    r.number(0, 20);
    r.label(30 - powerRoom, 20, L"OUT");
    r.label(0, 20, L"TEMP");
    r.label(0, 20, L"PWR");
    r.label(0, 20, L"CLIP");
    r.label(0, 40, L"PODSŁUCH");
    r.label(0, 40, L"POSŁANIEC");
    r.label(0, 90, L"UPRAWNIENIA CZAS. [h]");
}

void userRows(LayoutBuilder& b, Rows& r)
{
    for (int user = 0; user < userCount; ++user) {
        b.newRow();
        std::wstring caption = L"Użytkownik 1";
        caption.back() = static_cast<wchar_t>(L'1' + user);
        r.check(0, 55, caption);
        r.edit(0, 50);
        r.widenNext(1); // "CLIP+SMS"
        r.list(5, 45);
        r.check(7, 20, L"");  // OUT
        r.check(0, 20, L"");  // TEMP
        r.check(0, 20, L"");  // PWR
        r.check(0, 20, L"");  // CLIP
        r.check(10, 30, L""); // PODSŁUCH
        r.check(10, 30, L""); // POSŁANIEC
        r.check(12, 20, L""); // time-limited rights
        r.number(0, 25);
    }
}

void bottomRow(LayoutBuilder& b, Rows& r)
{
    b.startBlock(5, 242);
    r.label(0, 30, L"Status");
    r.readOnly(0, 80);
    r.largeButton(15, 30, L"Otwórz");
    r.largeButton(10, 30, L"Zapisz");
    r.largeButton(10, 30, L"Pomoc");
    r.largeButton(50, 40, L"Zamknij");
    r.largeButton(20, 40, L"Programuj");
}

void statusColumn(LayoutBuilder& b, Rows& r)
{
    b.startBlock(410, 15);
    r.label(0, 30, L"Operator", firstStatusId);
    r.readOnly(0, 25);
    b.newRow();
    r.label(0, 30, L"Poziom");
    r.widenNext(3); // "100 %"
    r.readOnly(0, 25);
    b.newRow();
    r.label(0, 30, L"POWER");
    r.readOnly(0, 25);

    b.newRow(sectionStep);
    r.label(0, 30, L"OUT-1");
    r.indicator(0, 15);
    b.newRow();
    r.label(0, 30, L"OUT-2");
    r.indicator(0, 15);

    b.newRow(sectionStep);
    r.label(0, 30, L"IN-1");
    r.indicator(0, 15);
    b.newRow();
    r.label(0, 30, L"IN-2");
    r.indicator(0, 15);
    b.newRow();
    r.label(0, 30, L"TEMP");
    r.readOnly(0, 25);

    b.newRow(sectionStep);
    r.label(0, 15, L"Tel.");
    r.edit(0, 100);
    r.button(5, 70, L"Wyślij CLIP / USSD");

    b.newRow(sectionStep);
    r.textBox(0, 160);
    r.button(5, 25, L"Usuń");

    b.newRowBelowTall(belowTextBox);
    r.button(60, 60, L"Wyślij SMS");
}

} // namespace

void buildMainWindow(HWND dialog, HINSTANCE instance)
{
    LayoutBuilder builder(dialog, instance);
    Rows rows(builder);
    leftBlock(builder, rows);
    userRows(builder, rows);
    bottomRow(builder, rows);
    statusColumn(builder, rows);
}

} // namespace kes
