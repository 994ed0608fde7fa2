#pragma once
// Several window procedures filtering one window's messages, newest first, the window's own
// procedure last. The chain lives in the window's GWLP_USERDATA slot, which it therefore owns.
#include <cstddef>
#include <windows.h>

namespace kes {

// Puts procedure in front of the window's chain (creating the chain on first use). When the
// procedure is already in the chain only its data pointer is replaced; the old one is returned.
void* subclass(HWND window, WNDPROC procedure, void* data);

// Called by a chain entry: runs the entries after it with the given message and returns their
// result. The dispatcher does not run those entries a second time.
LRESULT forward(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Called by a chain entry: the entries after it do not see the current message.
void stopChain(HWND window);

// The data pointer of the entry that is running now (null outside a dispatch).
void* chainData(HWND window);

// Chains still alive in the process; every chain is removed at its window's WM_DESTROY.
std::size_t liveChainCount();

} // namespace kes
