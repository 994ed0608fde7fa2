#include "storage/FileDialogs.h"

#include "support/ScopedWin.h"
#include "support/TrustedLibrary.h"

#include <array>
#include <cwctype>
#include <utility>

namespace kes {
namespace {

constexpr std::size_t kPathChars = 260;
constexpr wchar_t kDescription[] = L"Data file (*.dat)";
constexpr wchar_t kDefaultExtension[] = L"dat";

struct SharedRecord {
    OPENFILENAMEW record{};
    bool prepared = false;
    std::wstring filter;  // description, NUL, pattern, NUL, NUL
    std::array<wchar_t, kPathChars> file{};
    std::array<wchar_t, kPathChars> fileTitle{};
};

SharedRecord& shared()
{
    static SharedRecord s;
    return s;
}

// The common dialog library is loaded when a dialog is first shown: most runs never
// show one, and loading it with the program costs every start.
class DialogLibrary {
public:
    using DialogCall = BOOL(WINAPI*)(LPOPENFILENAMEW);

    DialogLibrary() : module_(loadTrustedLibrary(L"comdlg32.dll")) {}

    // Shows the dialog; false when the user cancels or the library is not there.
    bool show(FileDialogKind kind, OPENFILENAMEW& record) const
    {
        const auto call = exportedFunction<DialogCall>(
            module_.get(), kind == FileDialogKind::Save ? "GetSaveFileNameW" : "GetOpenFileNameW");
        return call && call(&record) != 0;
    }

private:
    LoadedLibrary module_;
};

FileDialogFunction& replacement()
{
    static FileDialogFunction fn;
    return fn;
}

bool isPatternChar(wchar_t c)
{
    return c == L'*' || c == L'.' || (c < 0x80 && std::iswalnum(static_cast<wint_t>(c)));
}

} // namespace

std::wstring filterPattern(const std::wstring& description)
{
    std::wstring result;
    std::size_t i = 0;
    while ((i = description.find(L'*', i)) != std::wstring::npos) {
        std::size_t end = i;
        while (end < description.size() && isPatternChar(description[end]))
            ++end;
        if (!result.empty())
            result += L';';
        result.append(description, i, end - i);
        i = end;
    }
    return result;
}

void prepareFileDialogs(HWND dialog)
{
    SharedRecord& s = shared();
    if (s.prepared)
        return;
    s.filter = kDescription;
    s.filter += L'\0';
    s.filter += filterPattern(kDescription);
    s.filter += L'\0';
    s.filter += L'\0';

    OPENFILENAMEW& r = s.record;
    r = OPENFILENAMEW{};
    r.lStructSize = sizeof(OPENFILENAMEW);
    r.hwndOwner = dialog;
    r.lpstrFilter = s.filter.c_str();
    r.lpstrCustomFilter = nullptr;
    r.nFilterIndex = 0;
    r.lpstrFile = s.file.data();
    r.nMaxFile = static_cast<DWORD>(s.file.size());
    r.lpstrFileTitle = s.fileTitle.data();
    r.nMaxFileTitle = static_cast<DWORD>(s.fileTitle.size());
    r.lpstrInitialDir = nullptr;
    r.lpstrTitle = nullptr;
    r.lpstrDefExt = kDefaultExtension;
    s.prepared = true;
}

const OPENFILENAMEW& fileDialogRecord() { return shared().record; }

std::optional<std::wstring> askForDataFile(FileDialogKind kind)
{
    SharedRecord& s = shared();
    if (!s.prepared)
        return std::nullopt;
    OPENFILENAMEW& r = s.record;
    r.Flags = kind == FileDialogKind::Save ? OFN_OVERWRITEPROMPT
                                           : OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    bool chosen = false;
    if (const auto& fn = replacement()) {
        chosen = fn(kind, r);
    } else {
        static const DialogLibrary library;
        chosen = library.show(kind, r);
    }
    // The buffer is ours; make sure it ends within its size whatever the dialog left.
    s.file.back() = L'\0';
    if (!chosen || s.file[0] == L'\0')
        return std::nullopt;
    return std::wstring(s.file.data());
}

namespace {

// A dialog on a record of its own: one filter from the description.
std::optional<std::wstring> askWithOwnRecord(HWND owner, FileDialogKind kind, const std::wstring& description,
                                             const wchar_t* defaultExtension, const std::wstring& proposedName,
                                             DWORD flags)
{
    std::wstring filter = description;
    filter += L'\0';
    filter += filterPattern(description);
    filter += L'\0';
    filter += L'\0';
    std::array<wchar_t, kPathChars> file{};
    proposedName.copy(file.data(), file.size() - 1);

    OPENFILENAMEW r{};
    r.lStructSize = sizeof(OPENFILENAMEW);
    r.hwndOwner = owner;
    r.lpstrFilter = filter.c_str();
    r.nFilterIndex = 1;
    r.lpstrFile = file.data();
    r.nMaxFile = static_cast<DWORD>(file.size());
    r.lpstrDefExt = defaultExtension;
    r.Flags = flags;
    bool chosen = false;
    if (const auto& fn = replacement()) {
        chosen = fn(kind, r);
    } else {
        static const DialogLibrary library;
        chosen = library.show(kind, r);
    }
    file.back() = L'\0';
    if (!chosen || file[0] == L'\0')
        return std::nullopt;
    return std::wstring(file.data());
}

} // namespace

std::optional<std::wstring> askForSavePath(HWND owner, const std::wstring& description,
                                           const wchar_t* defaultExtension, const std::wstring& proposedName,
                                           ExistingFile existing)
{
    const DWORD confirm = existing == ExistingFile::ConfirmReplacing ? OFN_OVERWRITEPROMPT : 0;
    return askWithOwnRecord(owner, FileDialogKind::Save, description, defaultExtension, proposedName,
                            confirm | OFN_PATHMUSTEXIST);
}

std::optional<std::wstring> askForOpenPath(HWND owner, const std::wstring& description)
{
    return askWithOwnRecord(owner, FileDialogKind::Open, description, nullptr, std::wstring(),
                            OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST);
}

FileDialogFunction setFileDialogFunction(FileDialogFunction fn)
{
    return std::exchange(replacement(), std::move(fn));
}

} // namespace kes
