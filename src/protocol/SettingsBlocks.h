#pragma once
// Between a Settings value and the module's blocks: encoding one block from a value as programming
// sends it, decoding one block onto a value as reading shows it, and the sixteen at once.
#include "model/Settings.h"
#include "protocol/ConfigRecords.h"
#include "protocol/ModuleImage.h"

#include <cstdint>
#include <string>

namespace kes {

constexpr std::uint8_t firstTextBlock = static_cast<std::uint8_t>(ConfigBlock::In1Name);
constexpr std::uint8_t lastTextBlock = static_cast<std::uint8_t>(ConfigBlock::In2SmsOffText);

// The text of text block 2..10.
using SettingsText = std::wstring Settings::*;
SettingsText textOfBlock(std::uint8_t block);

// The write message of the block for the value, as programming sends it: numbers as the edits
// read them, output 1 sent as not following when it is timed, a user's CLIP right not sent beside
// PODSŁUCH.
Frame encodeBlock(std::uint8_t block, const Settings& settings);

// The reply's block onto the value, every setting of the block as reading puts it into the window
// (numbers as the edits show them, no number for a disabled user), but whole: fitToFields gives
// what the window would show of it.
void decodeBlock(std::uint8_t block, const Frame& reply, Settings& settings);

// Programming sends no CLIP right beside PODSŁUCH, and clears it in the window at the user's step.
// True when the user's CLIP right was cleared.
bool dropClipBesideListen(UserSettings& user);
// The settings as programming leaves them in the window.
Settings asProgrammed(Settings settings);

// The sixteen write messages' data that programming would send for the value.
ModuleImage imageOf(const Settings& settings);

// The blocks decoded onto the defaults and tidied as a reading tidies the window (not fitted).
Settings settingsIn(const ModuleImage& image);

// The reading's tidy-up on a value: the output boxes that the blocks do not carry worked out from
// the boxes under them, then every availability rule.
void tidyAfterReading(Settings& settings);

} // namespace kes
