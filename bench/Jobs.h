#pragma once
// The reading and programming jobs as the program runs them, driven here without a window.
#include "link/UsbLink.h"

// The whole reading job once; true when every block came back.
bool benchReadingJob(kes::UsbLink& link);
// The whole programming job, one step per 500 ms tick as the main window's timer gives them;
// true when all sixteen blocks were accepted.
bool benchProgrammingJob(kes::UsbLink& link);
