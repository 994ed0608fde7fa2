#pragma once
// The program's reading and programming jobs, driven here without a window: the bound fields fall
// back to their own values, and message boxes are counted instead of shown.

// The whole reading job once; true when it showed no error box.
bool benchReadingJob();
// The whole programming job, one step per 500 ms tick as the main window's timer gives them
// (the first tick 500 ms after the start); true when all sixteen blocks were accepted.
// longestStepMs, when given, receives the longest step: a block's write and its read-back.
bool benchProgrammingJob(double* longestStepMs = nullptr);
