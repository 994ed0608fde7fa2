#include "support/HelpLauncher.h"

#include "HelpRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(HelpLauncher, ProgramFolderIsTheExecutablesFolderWithoutTrailingBackslash)
{
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring expected(exe);
    expected.resize(expected.rfind(L'\\'));
    EXPECT_EQ(kes::programFolder, expected);
    EXPECT_NE(kes::programFolder.back(), L'\\');
}

TEST(HelpLauncher, AFolderIsThePathWithoutItsLastPartARootKeepsItsBackslash)
{
    const struct {
        const wchar_t* path;
        const wchar_t* folder;
    } paths[] = {{L"C:\\Program Files\\Quellmo\\quellmo-pc.exe", L"C:\\Program Files\\Quellmo"},
                 {L"C:\\quellmo-pc.exe", L"C:\\"},
                 {L"\\\\serwer\\udział\\quellmo-pc.exe", L"\\\\serwer\\udział"},
                 {L"quellmo-pc.exe", L""}};
    for (const auto& p : paths)
        EXPECT_EQ(kes::folderOfPath(p.path), p.folder) << p.folder;
}

std::wstring tempFolder()
{
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return folder;  // ends in a backslash
}

// A document in a folder of its own under the temporary folder, removed again afterwards.
class Document {
public:
    Document(const std::wstring& folder, const std::wstring& name) : folder_(tempFolder() + folder)
    {
        path_ = folder_ + L"\\" + name;
        CreateDirectoryW(folder_.c_str(), nullptr);
        if (FILE* file = _wfopen(path_.c_str(), L"wb"))
            std::fclose(file);
    }
    ~Document()
    {
        DeleteFileW(path_.c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    const std::wstring& path() const { return path_; }

private:
    std::wstring folder_, path_;
};

// The recorder's command for an association, the placeholders written after it.
std::wstring recorderWith(const std::wstring& placeholders)
{
    return L"\"" + helptest::recorderPath() + L"\" " + placeholders;
}

const std::wstring recorderCommand = recorderWith(L"\"%1\"");

// Wine's shell reads associations from the machine's classes only (Windows also from the user's).
const HKEY classesRoot = HKEY_LOCAL_MACHINE;

struct OpenCase {
    const char* name;
    std::wstring placeholders;  // of the open command, after the application
    std::wstring folder;
    std::wstring file;
};

void PrintTo(const OpenCase& c, std::ostream* os)
{
    *os << c.name;
}

class Opens : public ::testing::TestWithParam<OpenCase> {};

TEST_P(Opens, TheAssociatedApplicationGetsThePathWholeAsOneArgument)
{
    helptest::RecorderOutput recorder;
    const Document document(GetParam().folder, GetParam().file);
    const std::wstring command = recorderWith(GetParam().placeholders);
    helptest::Association a(classesRoot, L".qlmtest", L"QuellmoTest.Document", &command);
    ASSERT_TRUE(kes::openWithAssociatedApp(document.path()));
    std::vector<std::wstring> arguments;
    ASSERT_TRUE(recorder.waitForStart(arguments));
    EXPECT_EQ(arguments, std::vector<std::wstring>{document.path()});
}

INSTANTIATE_TEST_SUITE_P(
    HelpLauncher, Opens,
    ::testing::Values(
        OpenCase{"SpacesInFolderAndName", L"\"%1\"", L"Quellmo instrukcja test", L"instrukcja obsługi.qlmtest"},
        OpenCase{"PercentSignsInThePath", L"\"%1\"", L"Quellmo 100% %1 %s", L"raport %2.qlmtest"},
        // As browsers and viewers register themselves: the document, then any further arguments.
        OpenCase{"DocumentThenTheRest", L"\"%1\" %*", L"Quellmo raport test", L"raport modułu.qlmtest"},
        OpenCase{"LongNamePlaceholder", L"\"%L\"", L"Quellmo raport test", L"raport modułu.qlmtest"}),
    [](const ::testing::TestParamInfo<OpenCase>& info) { return std::string(info.param.name); });

struct Refusal {
    const char* name;
    bool withCommand;
    std::wstring command;
    std::wstring file;     // created in a folder with spaces
    bool created;
};

void PrintTo(const Refusal& c, std::ostream* os)
{
    *os << c.name;
}

class Refused : public ::testing::TestWithParam<Refusal> {};

TEST_P(Refused, StartsNothingShowsNothingAndReportsFalse)
{
    helptest::RecorderOutput recorder;
    const Refusal& c = GetParam();
    const Document document(L"Quellmo refused test", c.file);
    if (!c.created)
        DeleteFileW(document.path().c_str());
    helptest::Association a(classesRoot, L".qlmtest", L"QuellmoTest.Document", c.withCommand ? &c.command : nullptr);
    EXPECT_FALSE(kes::openWithAssociatedApp(document.path()));
    std::vector<std::wstring> arguments;
    EXPECT_FALSE(recorder.waitForStart(arguments, std::chrono::milliseconds(300)));
}

INSTANTIATE_TEST_SUITE_P(
    HelpLauncher, Refused,
    ::testing::Values(Refusal{"NoOpenCommand", false, L"", L"instrukcja.qlmtest", true},
                      Refusal{"ApplicationMissing", true, L"\"C:\\nowhere\\none.exe\" \"%1\"", L"instrukcja.qlmtest",
                              true},
                      Refusal{"DocumentMissing", true, recorderCommand, L"instrukcja.qlmtest", false},
                      Refusal{"ExtensionNobodyOpens", true, recorderCommand, L"instrukcja.qlmnone", true}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

} // namespace
