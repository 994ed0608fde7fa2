#include "support/HelpLauncher.h"

#include "HelpRecorder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TemplateCase {
    const char* name;
    std::wstring commandTemplate;
    std::wstring document;
    std::wstring commandLine;
};

void PrintTo(const TemplateCase& c, std::ostream* os)
{
    *os << c.name;
}

class CommandTemplates : public ::testing::TestWithParam<TemplateCase> {};

TEST_P(CommandTemplates, OnlyThePlaceholderIsReplaced)
{
    EXPECT_EQ(kes::buildCommandLine(GetParam().commandTemplate, GetParam().document), GetParam().commandLine);
}

const std::wstring manual = L"C:\\Program Files\\Quellmo\\instrukcja.pdf";
const std::wstring longFolder(600, L'a');

INSTANTIATE_TEST_SUITE_P(
    HelpLauncher, CommandTemplates,
    ::testing::Values(
        TemplateCase{"quoted_placeholder", L"\"C:\\Viewer\\view.exe\" \"%1\"", manual,
                     L"\"C:\\Viewer\\view.exe\" \"" + manual + L"\""},
        TemplateCase{"bare_placeholder", L"view.exe %1 /n", manual, L"view.exe " + manual + L" /n"},
        TemplateCase{"no_percent", L"\"C:\\Viewer\\view.exe\"", manual,
                     L"\"C:\\Viewer\\view.exe\"\"" + manual + L"\""},
        TemplateCase{"only_last_percent_counts", L"view.exe \"%1\" %L", manual, L"view.exe \"%1\" %L"},
        TemplateCase{"percent_at_the_end", L"view.exe %1 100%", manual, L"view.exe %1 100%"},
        TemplateCase{"format_sequences_stay_text", L"view%s%d%n.exe \"%1\"", manual,
                     L"view%s%d%n.exe \"" + manual + L"\""},
        TemplateCase{"percent_in_the_path", L"view.exe \"%1\"", L"C:\\100%\\%s%n%1.pdf",
                     L"view.exe \"C:\\100%\\%s%n%1.pdf\""},
        TemplateCase{"long_template", L"\"C:\\" + longFolder + L"\\view.exe\" \"%1\"", manual,
                     L"\"C:\\" + longFolder + L"\\view.exe\" \"" + manual + L"\""},
        TemplateCase{"long_path", L"view.exe \"%1\"", L"C:\\" + longFolder + L"\\instrukcja.pdf",
                     L"view.exe \"C:\\" + longFolder + L"\\instrukcja.pdf\""}),
    [](const ::testing::TestParamInfo<TemplateCase>& info) { return std::string(info.param.name); });

TEST(HelpLauncher, ProgramFolderIsTheExecutablesFolderWithoutTrailingBackslash)
{
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring expected(exe);
    expected.resize(expected.rfind(L'\\'));
    EXPECT_EQ(kes::programFolder, expected);
    EXPECT_NE(kes::programFolder.back(), L'\\');
}

class Launch : public ::testing::Test {
protected:
    const std::wstring document = L"C:\\Docs\\instrukcja.qlmtest";
    helptest::RecorderOutput recorder;
};

TEST_F(Launch, StartsTheAssociatedApplicationWithTheDocumentForThePlaceholder)
{
    const std::wstring command = L"\"" + helptest::recorderPath() + L"\" \"%1\"";
    helptest::Association a(HKEY_LOCAL_MACHINE, L".qlmtest", L"QuellmoTest.Document", &command);
    ASSERT_TRUE(kes::openWithAssociatedApp(document));
    EXPECT_EQ(recorder.waitForLine(), L"\"" + helptest::recorderPath() + L"\" \"" + document + L"\"");
}

TEST_F(Launch, ExpandsEnvironmentVariablesBeforeLookingForThePlaceholder)
{
    std::wstring folder = helptest::recorderPath();
    const std::wstring file = folder.substr(folder.rfind(L'\\'));
    folder.resize(folder.rfind(L'\\'));
    SetEnvironmentVariableW(L"QUELLMO_RECORDER_DIR", folder.c_str());
    const std::wstring command = L"\"%QUELLMO_RECORDER_DIR%" + file + L"\" \"%1\"";
    helptest::Association a(HKEY_LOCAL_MACHINE, L".qlmtest", L"QuellmoTest.Document", &command);
    ASSERT_TRUE(kes::openWithAssociatedApp(document));
    EXPECT_EQ(recorder.waitForLine(), L"\"" + helptest::recorderPath() + L"\" \"" + document + L"\"");
}

TEST_F(Launch, ATemplateWithoutPlaceholderGetsTheQuotedPathAppended)
{
    const std::wstring command = L"\"" + helptest::recorderPath() + L"\"";
    helptest::Association a(HKEY_LOCAL_MACHINE, L".qlmtest", L"QuellmoTest.Document", &command);
    ASSERT_TRUE(kes::openWithAssociatedApp(document));
    EXPECT_EQ(recorder.waitForLine(), command + L"\"" + document + L"\"");
}

TEST_F(Launch, APathWithPercentSignsAndLongerThanMaxPathArrivesWhole)
{
    const std::wstring odd = L"C:\\100% %s %n %1\\" + std::wstring(300, L'x') + L"\\instrukcja.qlmtest";
    const std::wstring command = L"\"" + helptest::recorderPath() + L"\" \"%1\"";
    helptest::Association a(HKEY_LOCAL_MACHINE, L".qlmtest", L"QuellmoTest.Document", &command);
    ASSERT_TRUE(kes::openWithAssociatedApp(odd));
    EXPECT_EQ(recorder.waitForLine(), L"\"" + helptest::recorderPath() + L"\" \"" + odd + L"\"");
}

struct Refusal {
    const char* name;
    HKEY root;
    bool withCommand;
    std::wstring command;
    std::wstring document;
};

void PrintTo(const Refusal& c, std::ostream* os)
{
    *os << c.name;
}

class Refused : public ::testing::TestWithParam<Refusal> {};

TEST_P(Refused, StartsNothingAndReportsFalse)
{
    helptest::RecorderOutput recorder;
    const Refusal& c = GetParam();
    helptest::Association a(c.root, L".qlmtest", L"QuellmoTest.Document", c.withCommand ? &c.command : nullptr);
    EXPECT_FALSE(kes::openWithAssociatedApp(c.document));
    EXPECT_EQ(recorder.waitForLine(std::chrono::milliseconds(300)), L"");
}

INSTANTIATE_TEST_SUITE_P(
    HelpLauncher, Refused,
    ::testing::Values(Refusal{"per_user_association_only", HKEY_CURRENT_USER, true,
                              L"\"" + helptest::recorderPath() + L"\" \"%1\"", L"C:\\Docs\\instrukcja.qlmtest"},
                      Refusal{"no_open_command", HKEY_LOCAL_MACHINE, false, L"", L"C:\\Docs\\instrukcja.qlmtest"},
                      Refusal{"no_extension", HKEY_LOCAL_MACHINE, true, L"\"" + helptest::recorderPath() + L"\" \"%1\"",
                              L"C:\\Docs\\instrukcja"},
                      Refusal{"other_extension", HKEY_LOCAL_MACHINE, true,
                              L"\"" + helptest::recorderPath() + L"\" \"%1\"", L"C:\\Docs\\instrukcja.qlmnone"},
                      Refusal{"program_missing", HKEY_LOCAL_MACHINE, true, L"\"C:\\nowhere\\none.exe\" \"%1\"",
                              L"C:\\Docs\\instrukcja.qlmtest"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

} // namespace
