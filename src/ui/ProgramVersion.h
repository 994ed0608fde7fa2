#pragma once
// The program's version, as its version resource gives it.

namespace kes {

const wchar_t* programVersion();

} // namespace kes
