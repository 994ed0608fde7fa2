#pragma once
// The window's edits kept from an automatic reading job. A module that answers again after a
// loose connector is read into the window, which would lose every unsaved edit without a word:
// before each such reading, the window's settings are kept whenever they differ from what was
// last read, opened, saved or programmed.
#include "model/Settings.h"

namespace kes {

// The window now shows settings that are not the user's unsaved edits: it has just been read,
// opened, saved or programmed (and at start, its defaults).
void noteSettingsSettled();

// The window showed `before` until a file's settings were put in its place: kept as the edits,
// as before an automatic reading, when they were unsaved edits.
void noteSettingsReplaced(const Settings& before);

// The settings kept before the last automatic reading that found edits; null when none have been
// kept.
const Settings* keptEdits();

// A series runs: the window shows module after module, none of them the user's edits. What the
// window held at its start is kept whatever the readings and programming jobs of the series do;
// when it ends, the window (the module in hand) counts as settled.
void keepEditsThroughSeries(const Settings& atStart);
void seriesEnded();

// Following the automatic readings and programming jobs; stopping forgets what is kept.
void startKeepingEdits();
void stopKeepingEdits();

} // namespace kes
