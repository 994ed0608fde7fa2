#pragma once
// Programming the module: sixteen configuration blocks, one per timer tick, then a closing
// tick, behind the shell's modal progress window. Each step writes its block and reads it
// back in the same tick (BlockExchange.h); a block the module does not hold as sent fails the
// step like a failed write.
//
// Split with the shell:
//   "Programuj" after validation -> startProgramming() (step counter = 1), then the shell
//   opens its progress window modally on the main window; while that window's modal loop
//   runs, each WM_TIMER reaches tick(), which calls runProgrammingStep(). The steps move
//   the bar and finally close the window through the ProgrammingUi the shell installed.
#include "link/Frame.h"

#include <windows.h>

#include <cstdint>

namespace kes {

// The progress window as programming sees it. The shell implements advance() as
// PBM_DELTAPOS 1 to the bar (1007) and close() as WM_USER + 3 to the window.
struct ProgrammingUi {
    virtual ~ProgrammingUi() = default;
    virtual void advance() = 0;
    virtual void close() = 0;
};

// Not owned; null (the default) means nobody watches the job.
void setProgrammingUi(ProgrammingUi* ui);

constexpr std::int32_t noProgramming = 0;
constexpr std::int32_t lastBlockStep = 16;
constexpr std::int32_t closingStep = 17;  // sends nothing, only closes the progress window

// 0: no job; 1..17: the next step to run.
extern std::int32_t programmingStepCounter;

void startProgramming();
// The write message of step 1..16 (block step - 1) from the window's settings as they are now.
// At a user's step, a PODSŁUCH right clears the CLIP right beside it in the window.
Frame stepMessage(std::int32_t step);
bool programmingPending();
// One step; on failure the window closes and the error box is owned by `dialog`.
void runProgrammingStep(HWND dialog);

} // namespace kes
