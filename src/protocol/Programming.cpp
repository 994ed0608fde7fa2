#include "protocol/Programming.h"

#include "model/SettingsView.h"
#include "protocol/BlockExchange.h"
#include "protocol/JobEvents.h"
#include "protocol/ModuleImage.h"
#include "protocol/Notices.h"
#include "protocol/SettingsBlocks.h"

namespace kes {

std::int32_t programmingStepCounter = noProgramming;

namespace {

ProgrammingUi*& installedUi()
{
    static ProgrammingUi* ui = nullptr;
    return ui;
}

// Step n writes block n - 1: block 0, block 1, the texts (blocks 2..10), the users (11..15).
std::uint8_t blockOfStep(std::int32_t step) { return static_cast<std::uint8_t>(step - 1); }

// What the running job has written and seen held, block by block.
ModuleImage& writtenImage()
{
    static ModuleImage image;
    return image;
}

bool runBlockStep(std::int32_t step)
{
    const Frame message = stepMessage(step);
    if (!writeBlock(message))
        return false;
    writtenImage().put(message[blockOffset], message);
    return true;
}

} // namespace

void setProgrammingUi(ProgrammingUi* ui) { installedUi() = ui; }

Frame stepMessage(std::int32_t step)
{
    const std::uint8_t block = blockOfStep(step);
    Settings settings = windowSettings();
    if (block >= userBlock(0)) {
        if (dropClipBesideListen(settings.users[static_cast<std::size_t>(block - userBlock(0))]))
            showSettings(settings);
    }
    return encodeBlock(block, settings);
}

void startProgramming()
{
    writtenImage() = ModuleImage();
    programmingStepCounter = 1;
}

bool programmingPending() { return programmingStepCounter != noProgramming; }

void runProgrammingStep(HWND dialog)
{
    const std::int32_t step = programmingStepCounter;
    if (step == noProgramming)
        return;
    ProgrammingUi* ui = installedUi();

    bool ok = true;
    if (step >= 1 && step <= lastBlockStep) {
        ok = runBlockStep(step);
        if (ui)
            ui->advance();
        tellJobListeners([&](JobListener& l) { l.programmingStepEnded(step, ok); });
    }
    // A counter outside 1..17 cannot come from startProgramming; end the job rather than run on.
    const std::int32_t next = (step >= 1 && step < closingStep) ? step + 1 : closingStep + 1;
    programmingStepCounter = next;
    if (next == closingStep + 1 || !ok) {
        if (ui)
            ui->close();
        programmingStepCounter = noProgramming;
        const ModuleImage written = writtenImage();
        tellJobListeners([&](JobListener& l) { l.programmingEnded(ok, written); });
        if (!ok)
            tellUser(dialog, Notice::JobFailed, L"Błąd programowania modułu. Programowanie należy powtórzyć.");
    }
}

} // namespace kes
