#include "link/UsbLink.h"

namespace kes {

UsbLink usbLink;

} // namespace kes
