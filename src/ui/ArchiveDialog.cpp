#include "ui/ArchiveDialog.h"

#include "model/SettingsView.h"
#include "storage/ArchiveFolder.h"
#include "storage/ArchiveListing.h"
#include "storage/AtomicFile.h"
#include "storage/DataFile.h"
#include "storage/FileBytes.h"
#include "storage/FileDialogs.h"
#include "support/HelpLauncher.h"
#include "support/MessageBox.h"
#include "tools/ArchiveComparison.h"
#include "tools/KeptEdits.h"
#include "tools/ModuleArchive.h"
#include "tools/OpenedDataFile.h"
#include "ui/ComparisonDialog.h"
#include "ui/ReportList.h"
#include "ui/ResourceIds.h"
#include "ui/SingleDialog.h"
#include "ui/WindowHelpers.h"

#include <set>
#include <vector>

namespace kes {
namespace {

constexpr wchar_t caption[] = L"Archiwum modułów";
constexpr wchar_t copyFilter[] = L"Data file (*.dat)";
constexpr wchar_t copyExtension[] = L"dat";
constexpr wchar_t damagedText[] = L"uszkodzony";

enum Column : std::size_t { TimeColumn, KindColumn, ModuleColumn, InterfaceColumn, PhoneColumn, In1Column, FileColumn };

std::wstring fileNameOf(const std::wstring& relativePath)
{
    return relativePath.substr(relativePath.find_last_of(L'\\') + 1);
}

// The access code and the PIN are never among them.
std::wstring cellOf(const ArchiveEntrySummary& entry, std::size_t column)
{
    switch (column) {
    case TimeColumn:
        return archiveTimeText(entry.header.local);
    case KindColumn:
        return entry.damaged ? damagedText : archiveKindText(entry.header.kind);
    case ModuleColumn:
        return entry.header.moduleText;
    case InterfaceColumn:
        return entry.header.interfaceSerial;
    case PhoneColumn:
        return entry.user1Phone;
    case In1Column:
        return entry.in1Name;
    default:
        return fileNameOf(entry.relativePath);
    }
}

class ArchiveDialog final : public SingleDialog {
public:
    explicit ArchiveDialog(HWND mainDialog) : SingleDialog(IDD_ARCHIVE_DIALOG), mainDialog_(mainDialog) {}

private:
    bool onInit() override;
    bool onCommand(int id, int code) override;
    bool onNotify(const NMHDR& header, LRESULT& result) override;
    // After every tick: the module may have come or gone, a job may have written an entry.
    void refresh() override;
    void followSize();

    // The archive read again, the selection kept where its entries are still there.
    void relist();
    void applySearch();
    void showCounts();
    void updateButtons();
    void select(const std::set<std::wstring>& paths);

    std::vector<const ArchiveEntrySummary*> selected() const;
    std::wstring pathOf(const ArchiveEntrySummary& entry) const { return folder_ + L'\\' + entry.relativePath; }
    std::optional<ArchivedSettings> readSelected(const ArchiveEntrySummary& entry);

    void load();
    void compareWithWindow();
    void compareWithModule();
    void compareSelected();
    void saveAs();
    void deleteSelected();

    HWND mainDialog_;
    std::wstring folder_;
    ArchiveListing listing_;
    std::vector<std::size_t> shown_;  // the entries the search finds, places in listing_
    unsigned listedAfter_ = 0;        // the entries this run had written when the archive was listed
    ReportList list_;
};

bool ArchiveDialog::onInit()
{
    folder_ = archiveFolder();
    list_.attach(item(IDC_ARCHIVE_LIST), {{L"Czas", 14},
                                          {L"Rodzaj", 12},
                                          {L"Moduł", 11},
                                          {L"Interfejs", 8},
                                          {L"Użytkownik 1 – telefon", 18},
                                          {L"IN-1 – nazwa", 12},
                                          {L"Plik", 25}});
    list_.setSource(0, [this](std::size_t row, std::size_t column) {
        return cellOf(listing_.entries[shown_[row]], column);
    });
    addPart(list_);
    followSize();
    relist();
    centerOnParent(window(), IDC_ARCHIVE_SEARCH);
    return false;
}

void ArchiveDialog::followSize()
{
    follow(IDC_ARCHIVE_SEARCH, Follow::Wider);
    follow(IDC_ARCHIVE_LIST, Follow::Wider | Follow::Taller);
    for (int id : {IDC_ARCHIVE_COUNT, IDC_ARCHIVE_FOLDER})
        follow(id, Follow::Down | Follow::Wider);
    for (int id = IDC_ARCHIVE_LOAD; id <= IDC_ARCHIVE_DELETE; ++id)
        follow(id, Follow::Right);
    follow(IDCANCEL, Follow::Right | Follow::Down);
}

void ArchiveDialog::relist()
{
    std::set<std::wstring> chosen;
    for (const ArchiveEntrySummary* entry : selected())
        chosen.insert(entry->relativePath);
    listedAfter_ = moduleArchive().entriesWritten();
    listing_ = listArchive(folder_);
    applySearch();
    select(chosen);
}

void ArchiveDialog::applySearch()
{
    shown_ = searchArchive(listing_.entries, itemText(IDC_ARCHIVE_SEARCH));
    select({});
    list_.setCount(shown_.size());
    if (!shown_.empty())
        list_.showRow(0);
    showCounts();
    updateButtons();
}

void ArchiveDialog::select(const std::set<std::wstring>& paths)
{
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    SendMessageW(list_.handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED;
    for (std::size_t row = 0; row < shown_.size() && !paths.empty(); ++row)
        if (paths.count(listing_.entries[shown_[row]].relativePath))
            SendMessageW(list_.handle(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
}

void ArchiveDialog::showCounts()
{
    std::wstring counts = L"Wpisów w archiwum: " + countText(listing_.entries.size()) + L" (" +
                          sizeText(listing_.totalBytes) + L")";
    if (shown_.size() != listing_.entries.size())
        counts += L", znalezione: " + countText(shown_.size());
    setItemText(IDC_ARCHIVE_COUNT, counts);
    const auto& unwritable = moduleArchive().unwritableFolder();
    setItemText(IDC_ARCHIVE_FOLDER, unwritable ? archiveFaultText(*unwritable) : L"Folder archiwum: " + folder_);
}

std::vector<const ArchiveEntrySummary*> ArchiveDialog::selected() const
{
    std::vector<const ArchiveEntrySummary*> entries;
    for (std::size_t row : list_.selectedRows())
        if (row < shown_.size())
            entries.push_back(&listing_.entries[shown_[row]]);
    return entries;
}

void ArchiveDialog::updateButtons()
{
    const auto chosen = selected();
    bool intact = true;
    for (const ArchiveEntrySummary* entry : chosen)
        intact = intact && !entry->damaged;
    const bool one = chosen.size() == 1;
    enableItem(IDC_ARCHIVE_LOAD, one && intact);
    enableItem(IDC_ARCHIVE_COMPARE_WINDOW, one && intact);
    enableItem(IDC_ARCHIVE_COMPARE_MODULE, one && intact && moduleFreeToCompare());
    enableItem(IDC_ARCHIVE_COMPARE_SELECTED, chosen.size() == 2 && intact);
    enableItem(IDC_ARCHIVE_SAVE_AS, one);
    enableItem(IDC_ARCHIVE_SHOW_IN_FOLDER, one);
    enableItem(IDC_ARCHIVE_DELETE, !chosen.empty());
    // A button greyed under the keyboard focus would leave Tab and Enter nowhere to go.
    HWND focus = GetFocus();
    if (focus && GetParent(focus) == window() && !IsWindowEnabled(focus))
        SetFocus(item(IDC_ARCHIVE_LIST));
}

void ArchiveDialog::refresh()
{
    if (moduleArchive().entriesWritten() != listedAfter_) {
        relist();
        return;
    }
    // An entry that could not be written changes the fault line, not the list.
    updateButtons();
    showCounts();
}

bool ArchiveDialog::onCommand(int id, int code)
{
    switch (id) {
    case IDC_ARCHIVE_SEARCH:
        if (code == EN_CHANGE)
            applySearch();
        return true;
    case IDC_ARCHIVE_LOAD:
        load();
        return true;
    case IDC_ARCHIVE_COMPARE_WINDOW:
        compareWithWindow();
        return true;
    case IDC_ARCHIVE_COMPARE_MODULE:
        compareWithModule();
        return true;
    case IDC_ARCHIVE_COMPARE_SELECTED:
        compareSelected();
        return true;
    case IDC_ARCHIVE_SAVE_AS:
        saveAs();
        return true;
    case IDC_ARCHIVE_SHOW_IN_FOLDER:
        if (selected().size() == 1)
            showInFolder(pathOf(*selected().front()));
        return true;
    case IDC_ARCHIVE_DELETE:
        deleteSelected();
        return true;
    default:
        return false;
    }
}

bool ArchiveDialog::onNotify(const NMHDR& header, LRESULT&)
{
    if (header.idFrom == IDC_ARCHIVE_LIST && (header.code == LVN_ITEMCHANGED || header.code == LVN_ODSTATECHANGED))
        updateButtons();
    return false;
}

std::optional<ArchivedSettings> ArchiveDialog::readSelected(const ArchiveEntrySummary& entry)
{
    auto settings = readArchivedSettings(pathOf(entry));
    if (!settings)
        showMessageBox(window(), L"Błędny format pliku: " + pathOf(entry), L"Błąd odczytu pliku", MB_OK | MB_ICONERROR);
    return settings;
}

// As "Otwórz" with the entry's file; the window's unsaved edits can be had back (0x0125).
void ArchiveDialog::load()
{
    const auto chosen = selected();
    if (chosen.size() != 1)
        return;
    const Settings before = windowSettings();
    if (const auto path = openDataFileAt(window(), pathOf(*chosen.front()))) {
        noteSettingsReplaced(before);
        noteSettingsSettled();
        noteSettingsOpenedFrom(*path);
        end(IDOK);
    }
}

void ArchiveDialog::compareWithWindow()
{
    const auto chosen = selected();
    if (chosen.size() != 1)
        return;
    if (const auto entry = readSelected(*chosen.front()))
        showComparisonDialog(window(), compareEntryWithWindow(*entry, windowSettings()), L"Porównanie z oknem");
}

void ArchiveDialog::compareWithModule()
{
    const auto chosen = selected();
    if (chosen.size() != 1 || !moduleFreeToCompare())
        return;
    const auto entry = readSelected(*chosen.front());
    if (!entry)
        return;
    const auto module = readModuleToCompare(mainDialog_, window());
    if (!module)
        return;
    showComparisonDialog(window(), compareEntryWithModule(*entry, *module), L"Porównanie z modułem");
    refresh();
}

// The newer entry (higher in the list) on the left.
void ArchiveDialog::compareSelected()
{
    const auto chosen = selected();
    if (chosen.size() != 2)
        return;
    const auto newer = readSelected(*chosen[0]);
    const auto older = newer ? readSelected(*chosen[1]) : std::nullopt;
    if (older)
        showComparisonDialog(window(), compareEntries(*newer, *older), L"Porównanie wpisów archiwum");
}

void ArchiveDialog::saveAs()
{
    const auto chosen = selected();
    if (chosen.size() != 1)
        return;
    const std::wstring from = pathOf(*chosen.front());
    const auto to = askForSavePath(window(), copyFilter, copyExtension, fileNameOf(chosen.front()->relativePath));
    if (!to)
        return;
    const auto bytes = readFileBytesUpTo(from, maxArchiveEntryBytes);
    if (!bytes)
        showMessageBox(window(), L"Nie można otworzyć pliku: " + from, L"Błąd odczytu pliku", MB_OK | MB_ICONERROR);
    else if (!replaceFileContents(*to, *bytes))
        showMessageBox(window(), L"Nie można zapisać pliku: " + *to, L"Błąd zapisu pliku", MB_OK | MB_ICONERROR);
}

void ArchiveDialog::deleteSelected()
{
    // Taken before the question: ticks go on behind it and may list the archive again.
    std::vector<std::wstring> paths;
    for (const ArchiveEntrySummary* entry : selected())
        paths.push_back(entry->relativePath);
    if (paths.empty())
        return;
    const std::wstring question = paths.size() == 1
                                      ? L"Usunąć z archiwum wpis „" + fileNameOf(paths.front()) + L"”?"
                                      : L"Usunąć z archiwum zaznaczone wpisy (" + countText(paths.size()) + L")?";
    if (showMessageBox(window(), question, caption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    const std::vector<std::wstring> kept = deleteArchiveEntries(folder_, paths);
    relist();
    if (kept.empty())
        return;
    std::wstring names;
    for (const std::wstring& path : kept)
        names += L"\r\n" + fileNameOf(path);
    showMessageBox(window(), L"Nie można usunąć:" + names, caption, MB_OK | MB_ICONERROR);
}

} // namespace

std::wstring countText(std::uint64_t count)
{
    std::wstring digits = std::to_wstring(count);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, 1, L'\u00A0');
    return digits;
}

std::wstring sizeText(std::uint64_t bytes)
{
    constexpr std::uint64_t kilo = 1024, mega = kilo * kilo;
    if (bytes < mega)
        return countText((bytes + kilo - 1) / kilo) + L" kB";
    const std::uint64_t tenths = (bytes * 10 + mega / 2) / mega;
    return countText(tenths / 10) + L',' + std::to_wstring(tenths % 10) + L" MB";
}

void showArchiveDialog(HWND mainDialog)
{
    ArchiveDialog(mainDialog).runAlone(mainDialog);
}

} // namespace kes
