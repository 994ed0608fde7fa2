#include "ui/SubclassChain.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace kes {
namespace {

struct Entry {
    WNDPROC procedure;
    void* data;
};

// One message being dispatched; nested when a procedure sends to its own window.
struct Frame {
    std::size_t current = 0;
    bool stop = false;
    bool forwarded = false;
};

struct Chain {
    HWND window = nullptr;
    std::vector<Entry> entries; // base procedure last
    std::vector<Frame*> frames;
    bool dead = false;          // destroyed while a dispatch was still running
};

LRESULT CALLBACK dispatcher(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Owns every chain; whatever is left at exit is unhooked (if the window still exists) and freed.
class ChainList {
public:
    ~ChainList()
    {
        for (auto& chain : chains_)
            unhook(*chain);
    }
    Chain* create(HWND window)
    {
        chains_.push_back(std::make_unique<Chain>());
        chains_.back()->window = window;
        return chains_.back().get();
    }
    void remove(Chain* chain)
    {
        chains_.erase(std::remove_if(chains_.begin(), chains_.end(),
                                     [chain](const std::unique_ptr<Chain>& c) { return c.get() == chain; }),
                      chains_.end());
    }
    std::size_t size() const { return chains_.size(); }

    static void unhook(Chain& chain)
    {
        if (chain.dead || chain.entries.empty() || !IsWindow(chain.window))
            return;
        SetWindowLongPtrW(chain.window, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(chain.entries.back().procedure));
        SetWindowLongPtrW(chain.window, GWLP_USERDATA, 0);
        chain.dead = true;
    }

private:
    std::vector<std::unique_ptr<Chain>> chains_;
};

ChainList& chainList()
{
    static ChainList list;
    return list;
}

void refreshFrame(HWND window)
{
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
}

Chain* chainOf(HWND window)
{
    if (!window || GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&dispatcher))
        return nullptr;
    return reinterpret_cast<Chain*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT runFrom(Chain& chain, Frame& frame, std::size_t first, HWND window, UINT message, WPARAM wParam,
                LPARAM lParam)
{
    LRESULT result = 0;
    for (std::size_t i = first; i < chain.entries.size(); ++i) {
        frame.current = i;
        frame.stop = false;
        frame.forwarded = false;
        result = CallWindowProcW(chain.entries[i].procedure, window, message, wParam, lParam);
        if (frame.stop || frame.forwarded)
            break;
    }
    return result;
}

LRESULT CALLBACK dispatcher(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Chain* chain = reinterpret_cast<Chain*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!chain)
        return DefWindowProcW(window, message, wParam, lParam);
    Frame frame;
    chain->frames.push_back(&frame);
    const LRESULT result = runFrom(*chain, frame, 0, window, message, wParam, lParam);
    chain->frames.pop_back();
    if (message == WM_DESTROY && !chain->dead) {
        ChainList::unhook(*chain);
        refreshFrame(window);
    }
    if (chain->dead && chain->frames.empty())
        chainList().remove(chain);
    return result;
}

Frame* currentFrame(HWND window)
{
    Chain* chain = chainOf(window);
    if (!chain) {
        // After WM_DESTROY unhooked the window the slot is 0; a dead chain cannot be reached.
        return nullptr;
    }
    return chain->frames.empty() ? nullptr : chain->frames.back();
}

} // namespace

void* subclass(HWND window, WNDPROC procedure, void* data)
{
    if (!window || !procedure || !IsWindow(window))
        return nullptr;
    Chain* chain = chainOf(window);
    void* old = nullptr;
    if (!chain) {
        chain = chainList().create(window);
        chain->entries.push_back(
            {reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)), nullptr});
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(chain));
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&dispatcher));
    }
    auto found = std::find_if(chain->entries.begin(), chain->entries.end(),
                              [procedure](const Entry& e) { return e.procedure == procedure; });
    if (found != chain->entries.end()) {
        old = found->data;
        found->data = data;
    } else {
        chain->entries.insert(chain->entries.begin(), Entry{procedure, data});
        // A dispatch under way keeps pointing at the entry it is running.
        for (Frame* f : chain->frames)
            ++f->current;
    }
    refreshFrame(window);
    return old;
}

LRESULT forward(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Chain* chain = chainOf(window);
    Frame* frame = currentFrame(window);
    if (!chain || !frame)
        return 0;
    const std::size_t self = frame->current;
    Frame inner;
    chain->frames.push_back(&inner);
    const LRESULT result = runFrom(*chain, inner, self + 1, window, message, wParam, lParam);
    chain->frames.pop_back();
    frame->current = self;
    frame->forwarded = true;
    return result;
}

void stopChain(HWND window)
{
    if (Frame* frame = currentFrame(window))
        frame->stop = true;
}

void* chainData(HWND window)
{
    Chain* chain = chainOf(window);
    Frame* frame = currentFrame(window);
    if (!chain || !frame || frame->current >= chain->entries.size())
        return nullptr;
    return chain->entries[frame->current].data;
}

std::size_t liveChainCount()
{
    return chainList().size();
}

} // namespace kes
