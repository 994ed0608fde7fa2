#include "ui/ProgramVersion.h"

#define QUELLMO_WIDEN2(text) L##text
#define QUELLMO_WIDEN(text) QUELLMO_WIDEN2(text)

namespace kes {

const wchar_t* programVersion()
{
    return QUELLMO_WIDEN(QUELLMO_VERSION);
}

} // namespace kes
