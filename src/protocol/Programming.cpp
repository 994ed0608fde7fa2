#include "protocol/Programming.h"

#include "model/Fields.h"
#include "protocol/BlockExchange.h"
#include "protocol/ProgrammingRecord.h"
#include "protocol/RecordFields.h"
#include "support/MessageBox.h"

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

bool runBlockStep(std::int32_t step)
{
    if (step == inputsStep)
        return writeInputs(gatherInputs());
    if (step == alarmsStep)
        return writeAlarms(gatherAlarms());
    if (step < firstUserStep) {
        const auto block = static_cast<std::uint8_t>(firstTextBlock + (step - firstTextStep));
        return writeText(block, textField(block).getText());
    }
    const int user = step - firstUserStep;
    return writeUser(user, gatherUser(user));
}

} // namespace

void setProgrammingUi(ProgrammingUi* ui) { installedUi() = ui; }

void startProgramming() { programmingStepCounter = 1; }

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
    }
    // A counter outside 1..17 cannot come from startProgramming; end the job rather than run on.
    const std::int32_t next = (step >= 1 && step < closingStep) ? step + 1 : closingStep + 1;
    programmingStepCounter = next;
    if (next == closingStep + 1 || !ok) {
        if (ui)
            ui->close();
        programmingStepCounter = noProgramming;
        if (ok)
            noteProgrammingSucceeded();
        if (!ok)
            showMessageBox(dialog, L"Błąd programowania modułu. Programowanie należy powtórzyć.", L"Błąd",
                           MB_ICONERROR);
    }
}

} // namespace kes
