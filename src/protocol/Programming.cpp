#include "protocol/Programming.h"

#include "model/Fields.h"
#include "protocol/BlockExchange.h"
#include "protocol/JobFailure.h"
#include "protocol/JobEvents.h"
#include "protocol/ModuleImage.h"
#include "protocol/RecordFields.h"

namespace kes {

std::int32_t programmingStepCounter = noProgramming;

namespace {

ProgrammingUi*& installedUi()
{
    static ProgrammingUi* ui = nullptr;
    return ui;
}

constexpr std::int32_t inputsStep = 1;
constexpr std::int32_t alarmsStep = 2;
constexpr std::int32_t firstTextStep = 3;   // blocks 2..10
constexpr std::int32_t firstUserStep = 12;  // users 0..4, blocks 11..15

// What the running job has written and seen held, block by block.
ModuleImage& writtenImage()
{
    static ModuleImage image;
    return image;
}

Frame blockMessage(std::int32_t step)
{
    if (step == inputsStep)
        return encodeInputs(gatherInputs());
    if (step == alarmsStep)
        return encodeAlarms(gatherAlarms());
    if (step < firstUserStep) {
        const auto block = static_cast<std::uint8_t>(firstTextBlock + (step - firstTextStep));
        return encodeText(block, textField(block).getText());
    }
    const int user = step - firstUserStep;
    return encodeUser(user, gatherUser(user));
}

bool runBlockStep(std::int32_t step)
{
    const Frame message = blockMessage(step);
    if (!writeBlock(message))
        return false;
    writtenImage().put(message[blockOffset], message);
    return true;
}

} // namespace

void setProgrammingUi(ProgrammingUi* ui) { installedUi() = ui; }

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
            reportJobFailure(dialog, L"Błąd programowania modułu. Programowanie należy powtórzyć.");
    }
}

} // namespace kes
