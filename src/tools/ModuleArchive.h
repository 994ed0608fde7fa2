#pragma once
// The module archive kept as the jobs run. Every complete reading of a module (the automatic one,
// a comparison's) becomes an entry "odczytany"; every programming job one "zaprogramowany" or
// "nieudany", holding the window's settings as programmed and, as "Poprzednio", the entry of what
// the module held before. A reading adds nothing when the module in hand, recognised as the kept
// copy recognises modules (by the settings it holds, or as the module this run programmed through
// the same interface), holds what this run last archived for it. Nothing is read from the
// archive: the first reading of a run is always an entry. An archive that cannot be written
// changes no job's result.
#include "model/Settings.h"
#include "protocol/JobEvents.h"
#include "protocol/ModuleImage.h"
#include "storage/ArchiveEntry.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace kes {

// One moment in UTC and in local time.
struct ArchiveMoment {
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
};
using ArchiveClock = std::function<ArchiveMoment()>;

// "Nie można zapisać archiwum modułów: <folder>".
std::wstring archiveFaultText(const std::wstring& folder);

class ModuleArchive final : public JobListener {
public:
    // Entries are stamped by the clock, the system's when none is given.
    explicit ModuleArchive(ArchiveClock clock = {});

    void beforeAutomaticReading() override;
    void automaticReadingEnded(bool complete, const ModuleImage& read) override;
    void moduleImageRead(const ModuleImage& read) override;
    void programmingEnded(bool succeeded, const ModuleImage& written) override;

    // How many entries this run has written: the archive's dialog lists again when it changes.
    unsigned entriesWritten() const { return entriesWritten_; }
    // The archive's folder once an entry could not be written in this run.
    const std::optional<std::wstring>& unwritableFolder() const { return unwritable_; }
    // The entry of the last programming job that succeeded, relative to the archive; empty when
    // there was none or it could not be written.
    std::wstring programmingEntry() const { return programmed_ ? programmed_->entry : std::wstring(); }

    // After a job: the first time in the run that an entry could not be written, the fault is told
    // to the user, owned by `owner`; never again.
    void tellFaultOnce(HWND owner);

private:
    struct Archived {
        std::wstring entry;  // relative to the archive
        ModuleImage image;
        std::string interfaceSerial;
    };

    void reading(const ModuleImage& read, const Settings& settings);
    std::optional<Archived> write(ArchiveKind kind, const Settings& settings, const ModuleImage& image,
                                  const std::wstring& previous);

    ArchiveClock clock_;
    std::optional<Archived> inHand_;      // what the module in hand holds, when it is known
    std::optional<Archived> kept_;        // the last module read that was not recognised
    std::optional<Archived> programmed_;  // the last programming job that succeeded
    unsigned entriesWritten_ = 0;
    std::optional<std::wstring> unwritable_;
    bool told_ = false;
};

// The program's archive: it follows the jobs between these two calls; stopping forgets the run.
ModuleArchive& moduleArchive();
void startArchivingModules();
void stopArchivingModules();

} // namespace kes
