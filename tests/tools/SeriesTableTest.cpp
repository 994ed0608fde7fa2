// The series table as spreadsheets save it: hand-written bytes in UTF-8, Windows-1250 and UTF-16,
// every separator and quoting, every refusal with its message, and each row validated on a copy
// of the template.
#include "tools/SeriesTable.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// "label=value" for each filled cell, "|" between cells, a line a row.
std::wstring render(const kes::SeriesTable& table)
{
    std::wstring out;
    for (const auto& row : table.rows) {
        std::wstring line;
        for (const kes::TableValue& v : row) {
            std::wstring value = v.text;
            if (v.setting->kind == kes::SettingKind::Check)
                value = v.checked ? L"tak" : L"nie";
            else if (v.setting->kind == kes::SettingKind::List)
                value = v.setting->items->at(static_cast<std::size_t>(v.item));
            line += (line.empty() ? L"" : L"|") + v.setting->label + L"=" + value;
        }
        out += line + L"\n";
    }
    return out;
}

std::wstring joined(const std::vector<std::wstring>& lines)
{
    std::wstring out;
    for (const auto& l : lines)
        out += l + L"\n";
    return out;
}

// A spreadsheet's "Unicode text": the signature FF FE, then each unit low byte first.
std::string utf16(const wchar_t* text)
{
    std::string bytes = "\xFF\xFE";
    for (const wchar_t* c = text; *c; ++c) {
        bytes += static_cast<char>(*c & 0xFF);
        bytes += static_cast<char>((*c >> 8) & 0xFF);
    }
    return bytes;
}

struct Loads {
    const char* name;
    std::string bytes;
    const wchar_t* rows;
};

// Headers and texts with Polish letters, in the bytes each encoding gives them.
const Loads loads[] = {
    {"UTF-8 with signature, semicolons",
     "\xEF\xBB\xBF" "Kod dost\xC4\x99pu;U\xC5\xBCytkownik 1 \xE2\x80\x93 telefon\r\nAB12;+48600100200\r\n",
     L"Kod dostępu=AB12|Użytkownik 1 – telefon=+48600100200\n"},
    {"Windows-1250 with a plain hyphen",
     "Kod dost\xEApu;U\xBFytkownik 1 - telefon;IN-1 - nazwa\r\nAB12;+48600100200;\xA3\xF3" "d\x9F\r\n",
     L"Kod dostępu=AB12|Użytkownik 1 – telefon=+48600100200|IN-1 – nazwa=Łódź\n"},
    {"UTF-8 without signature, commas, a quoted comma",
     "Kod dost\xC4\x99pu,IN-1 \xE2\x80\x93 nazwa\r\nAB12,\"Brama, wjazd\"\r\n",
     L"Kod dostępu=AB12|IN-1 – nazwa=Brama, wjazd\n"},
    {"tabs, line feeds, any case and spaces in the header",
     "  kod DOST\xC4\x98PU \tin-1  \xE2\x80\x93  NAZWA\nAB12\tDrzwi\n",
     L"Kod dostępu=AB12|IN-1 – nazwa=Drzwi\n"},
    {"quoted cells with doubled quotes and separators",
     "\"Kod dost\xC4\x99pu\";\"IN-1 \xE2\x80\x93 SMS ON \xE2\x80\x93 tre\xC5\x9B\xC4\x87\"\r\n"
     "\"AB12\";\"Drzwi \"\"A\"\";B\"\r\n",
     L"Kod dostępu=AB12|IN-1 – SMS ON – treść=Drzwi \"A\";B\n"},
    {"check boxes and lists by their texts, empty cells keep the template",
     "IN-1;TEMP;POWER;IN-2;OUT-1;U\xC5\xBCytkownik 2;IN-1 - rodzaj wej\xC5\x9B" "cia;U\xC5\xBCytkownik 2 - powiadamianie\r\n"
     "tak;NIE;1;0;x;X; nc gnd ;clip+sms\r\n"
     ";;;;;;;\r\n"
     "nie;;;;;;NO PLUS;\r\n",
     L"IN-1=tak|TEMP=nie|POWER=tak|IN-2=nie|OUT-1=tak|Użytkownik 2=tak|IN-1 – rodzaj wejścia=NC GND|"
     L"Użytkownik 2 – powiadamianie=CLIP+SMS\n"
     L"\n"
     L"IN-1=nie|IN-1 – rodzaj wejścia=NO PLUS\n"},
    {"rows of empty cells at the end are no rows",
     "Kod dost\xC4\x99pu;TEMP \xE2\x80\x93 max [C]\r\nAB12;-5\r\n;\r\n;\r\n\r\n",
     L"Kod dostępu=AB12|TEMP – max [C]=-5\n"},
    {"carriage returns alone, no line break after the last row",
     "Kod dost\xC4\x99pu;IN-1 \xE2\x80\x93 Pobudzenie [s]\rAB12;30\rCD34;7",
     L"Kod dostępu=AB12|IN-1 – Pobudzenie [s]=30\nKod dostępu=CD34|IN-1 – Pobudzenie [s]=7\n"},
    {"UTF-16 with signature, tabs", utf16(L"Kod dostępu\tPOWER - max [V]\r\nABł1\t14\r\n"),
     L"Kod dostępu=ABł1|POWER – max [V]=14\n"},
};

class SeriesTableLoads : public ::testing::TestWithParam<Loads> {};

TEST_P(SeriesTableLoads, EveryFilledCellInItsField)
{
    const kes::TableReading read = kes::readSeriesTable(GetParam().bytes);
    ASSERT_TRUE(read.table.has_value()) << joined(read.faults);
    EXPECT_EQ(render(*read.table), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(Spreadsheets, SeriesTableLoads, ::testing::ValuesIn(loads), casename::ByName());

struct Refusal {
    const char* name;
    std::string bytes;
    const wchar_t* faults;
};

const Refusal refusals[] = {
    {"unknown column", "Kod dostepu;TEMP\r\nAB12;tak\r\n", L"Kolumna \"Kod dostepu\": nieznana kolumna\n"},
    {"column twice", "TEMP;temp\r\ntak;nie\r\n", L"Kolumna \"temp\": powtórzona kolumna\n"},
    {"values under no header", "TEMP;\r\ntak;x\r\n", L"Kolumna 2: brak nazwy kolumny\n"},
    {"check box", "TEMP\r\nmo\xC5\xBC" "e\r\n",
     L"Wiersz 1, kolumna \"TEMP\": nieczytelna wartość \"może\" (tak/nie, 1/0 lub x)\n"},
    {"list item", "TEMP;IN-2 - rodzaj wej\xC5\x9B" "cia\r\ntak;NO\r\n",
     L"Wiersz 1, kolumna \"IN-2 – rodzaj wejścia\": nieczytelna wartość \"NO\" (NO PLUS, NO GND, NC PLUS, NC GND)\n"},
    {"numbers", "IN-1 - Pobudzenie [s];POWER - min [V];U\xC5\xBCytkownik 3 - UPRAWNIENIA CZAS. [h] - liczba godzin\r\n"
                "5s;12,5;-2\r\n",
     L"Wiersz 1, kolumna \"IN-1 – Pobudzenie [s]\": nieczytelna wartość \"5s\" (liczba całkowita)\n"
     L"Wiersz 1, kolumna \"POWER – min [V]\": nieczytelna wartość \"12,5\" (liczba całkowita)\n"
     L"Wiersz 1, kolumna \"Użytkownik 3 – UPRAWNIENIA CZAS. [h] – liczba godzin\": nieczytelna wartość \"-2\" "
     L"(liczba całkowita)\n"},
    {"longer than the field", "IN-1 - nazwa;Kod PIN karty SIM\r\nBrama wjazdowa 2;12345\r\n",
     L"Wiersz 1, kolumna \"IN-1 – nazwa\": wartość \"Brama wjazdowa 2\" dłuższa niż 15 znaków\n"
     L"Wiersz 1, kolumna \"Kod PIN karty SIM\": wartość \"12345\" dłuższa niż 4 znaki\n"},
    {"line break inside a quoted name", "IN-1 - nazwa\r\n\"Brama\r\nwjazd\"\r\n",
     L"Wiersz 1, kolumna \"IN-1 – nazwa\": niedozwolony znak w wartości \"Brama\r\nwjazd\"\n"},
    {"more cells than columns", "TEMP;POWER\r\ntak;tak;tak\r\n", L"Wiersz 1: więcej komórek niż kolumn\n"},
    {"quote never closed", "TEMP;IN-1 - nazwa\r\ntak;\"Brama\r\n", L"Wiersz 1: cudzysłów bez zamknięcia\n"},
    {"header alone", "TEMP;POWER\r\n;\r\n", L"Tabela nie zawiera żadnego wiersza pod nagłówkiem.\n"},
    {"empty file", "", L"Tabela nie zawiera żadnego wiersza pod nagłówkiem.\n"},
    {"broken UTF-8 after its signature", "\xEF\xBB\xBFTEMP\r\n\xC5\r\n",
     L"Tabela nie jest poprawnym tekstem (UTF-8, UTF-16 lub Windows-1250).\n"},
    {"a code and a PIN that lost their leading zeros", "Kod dost\xC4\x99pu;Kod PIN karty SIM\r\n12;123\r\n0;0123\r\n",
     L"Wiersz 1, kolumna \"Kod dostępu\": 12 – arkusz usuwa zera z początku liczb; sformatuj kolumnę jako tekst\n"
     L"Wiersz 1, kolumna \"Kod PIN karty SIM\": 123 – arkusz usuwa zera z początku liczb; sformatuj kolumnę jako tekst\n"
     L"Wiersz 2, kolumna \"Kod dostępu\": 0 – arkusz usuwa zera z początku liczb; sformatuj kolumnę jako tekst\n"},
    {"quote never closed in the header", "TEMP;\"IN-1\r\ntak\r\n", L"Nagłówek: cudzysłów bez zamknięcia\n"},
    {"two rows of the same values, as the log would hold them", "TEMP;IN-1\r\ntak;nie\r\n\r\n1;0\r\n",
     L"Wiersz 3: te same wartości co wiersz 1\n"},
    {"every fault in file order", "TEMP;Nazwa;POWER\r\ntak;x;tak\r\n1;;??\r\n",
     L"Kolumna \"Nazwa\": nieznana kolumna\n"
     L"Wiersz 2, kolumna \"POWER\": nieczytelna wartość \"??\" (tak/nie, 1/0 lub x)\n"},
};

class SeriesTableRefuses : public ::testing::TestWithParam<Refusal> {};

TEST_P(SeriesTableRefuses, WholeWithEveryFaultNamed)
{
    const kes::TableReading read = kes::readSeriesTable(GetParam().bytes);
    EXPECT_FALSE(read.table.has_value());
    EXPECT_EQ(joined(read.faults), GetParam().faults);
}

INSTANTIATE_TEST_SUITE_P(Spreadsheets, SeriesTableRefuses, ::testing::ValuesIn(refusals), casename::ByName());

// The defaults with input 1 switched on and named: a template validation passes.
kes::Settings templateSettings()
{
    kes::Settings settings;
    settings.in1Enabled = true;
    settings.in1Name = L"Drzwi";
    return settings;
}

TEST(SeriesTableRows, EachRowIsValidatedOnTheTemplateAndListedByNumber)
{
    const kes::TableReading read = kes::readSeriesTable(
        "Kod dost\xC4\x99pu;U\xC5\xBCytkownik 1;U\xC5\xBCytkownik 1 - telefon;IN-1 - nazwa\r\n"
        "AB12;tak;+48600100200;\r\n"
        "ab12;tak;600;\r\n"
        ";;;   \r\n"
        "CD34;;;\r\n");
    ASSERT_TRUE(read.table.has_value()) << joined(read.faults);

    const kes::PreparedRows rows = kes::prepareRows(&*read.table, templateSettings());

    EXPECT_EQ(joined(rows.faults), L"Wiersz 2: Błędny kod dostępu.\n"
                                   L"Wiersz 2: Błędny numer telefonu użytkownika nr 1.\n");
    EXPECT_TRUE(rows.rows.empty()) << "nothing of a refused table is kept";
}

TEST(SeriesTableRows, RowsThatPassHoldTheTemplateWithTheRowAndValidationsRewrites)
{
    const kes::TableReading read = kes::readSeriesTable(
        "Kod dost\xC4\x99pu;IN-1 - nazwa;IN-2;U\xC5\xBCytkownik 2;U\xC5\xBCytkownik 2 - telefon\r\n"
        "AB12;\xC5\x81\xC3\xB3" "d\xC5\xBA;tak;tak;+48600100200\r\n"
        ";;;;\r\n"
        "CD34;;;;\r\n");
    ASSERT_TRUE(read.table.has_value()) << joined(read.faults);

    const kes::PreparedRows rows = kes::prepareRows(&*read.table, templateSettings());

    ASSERT_TRUE(rows.faults.empty()) << joined(rows.faults);
    ASSERT_EQ(rows.rows.size(), 3u);
    const kes::Settings& first = rows.rows[0];
    EXPECT_EQ(first.accessCode, L"AB12");
    EXPECT_EQ(first.in1Name, L"Lodz") << "names are folded as Programuj folds them";
    EXPECT_EQ(first.in2Name, L"INPUT-2");
    EXPECT_TRUE(first.in2Enabled);
    EXPECT_TRUE(first.users[1].active);
    EXPECT_EQ(first.users[1].phone, L"+48600100200");
    EXPECT_TRUE(first.users[1].rightListenAvailable) << "rights of a user switched on by the row are offered";

    const kes::Settings& second = rows.rows[1];
    EXPECT_EQ(second.accessCode, L"WKTR") << "a row of empty cells is the template alone";
    EXPECT_EQ(second.in1Name, L"Drzwi");
    EXPECT_FALSE(second.in2Enabled);
    EXPECT_FALSE(second.users[1].active);
}

} // namespace
