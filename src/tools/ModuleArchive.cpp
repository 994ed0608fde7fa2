#include "tools/ModuleArchive.h"

#include "link/UsbLink.h"
#include "model/SettingsView.h"
#include "protocol/ModuleText.h"
#include "protocol/Notices.h"
#include "protocol/SettingsBlocks.h"
#include "protocol/Supervision.h"
#include "storage/ArchiveFolder.h"
#include "storage/DataFile.h"

#include <utility>

namespace kes {
namespace {

ArchiveMoment systemMoment()
{
    ArchiveMoment now;
    GetSystemTime(&now.utc);
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &now.utc, &now.local))
        GetLocalTime(&now.local);
    return now;
}

// The module's text from the last status the tick received.
std::wstring moduleTextNow()
{
    const auto& status = supervision.lastGoodStatus;
    return status ? widenText(status->values.moduleText) : std::wstring();
}

} // namespace

std::wstring archiveFaultText(const std::wstring& folder)
{
    return L"Nie można zapisać archiwum modułów: " + folder;
}

ModuleArchive::ModuleArchive(ArchiveClock clock) : clock_(std::move(clock)) {}

// Until its reading has ended, the module that starts answering may be any module.
void ModuleArchive::beforeAutomaticReading() { inHand_.reset(); }

void ModuleArchive::automaticReadingEnded(bool complete, const ModuleImage& read)
{
    if (complete)
        reading(read, windowSettings());  // as "Zapisz" would write the window now
}

void ModuleArchive::moduleImageRead(const ModuleImage& read)
{
    Settings settings = settingsIn(read);  // as an automatic reading would show it
    fitToFields(settings);
    reading(read, settings);
}

void ModuleArchive::reading(const ModuleImage& read, const Settings& settings)
{
    if (programmed_ && programmed_->interfaceSerial == usbLink.serialNumber && sameSettings(read, programmed_->image)) {
        inHand_ = programmed_;
        return;
    }
    if (kept_ && sameSettings(read, kept_->image)) {
        inHand_ = kept_;
        return;
    }
    // Not written: the next reading of it tries again.
    kept_ = write(ArchiveKind::Read, settings, read, std::wstring());
    inHand_ = kept_;
}

void ModuleArchive::programmingEnded(bool succeeded, const ModuleImage& written)
{
    // The window holds the settings as programmed, the job's own rewrites included.
    const std::wstring previous = inHand_ ? inHand_->entry : std::wstring();
    auto entry = write(succeeded ? ArchiveKind::Programmed : ArchiveKind::Failed, windowSettings(), written, previous);
    // After a failure nobody knows what the module holds.
    inHand_.reset();
    if (!succeeded)
        return;
    programmed_ = std::move(entry);
    inHand_ = programmed_;
}

std::optional<ModuleArchive::Archived> ModuleArchive::write(ArchiveKind kind, const Settings& settings,
                                                            const ModuleImage& image, const std::wstring& previous)
{
    const ArchiveMoment now = clock_ ? clock_() : systemMoment();
    ArchiveEntryHeader header;
    header.utc = now.utc;
    header.local = now.local;
    header.kind = kind;
    header.interfaceSerial = widenText(usbLink.serialNumber);
    header.moduleText = moduleTextNow();
    header.previous = previous;
    const std::wstring folder = archiveFolder();
    const auto entry = writeArchiveEntry(folder, header, recordsOf(settings));
    if (!entry) {
        unwritable_ = folder;
        return std::nullopt;
    }
    ++entriesWritten_;
    return Archived{*entry, image, usbLink.serialNumber};
}

void ModuleArchive::tellFaultOnce(HWND owner)
{
    if (!unwritable_ || told_)
        return;
    told_ = true;
    tellUser(owner, Notice::FileNotWritten, archiveFaultText(*unwritable_));
}

ModuleArchive& moduleArchive()
{
    static ModuleArchive archive;
    return archive;
}

void startArchivingModules() { addJobListener(&moduleArchive()); }

void stopArchivingModules()
{
    removeJobListener(&moduleArchive());
    moduleArchive() = ModuleArchive();
}

} // namespace kes
