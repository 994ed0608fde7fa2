#pragma once
// A test window, the program's usbLink on the simulator (virtual time), and the seams
// (the user's notices, progress window, main timer) replaced by recorders.
#include "ModuleWindow.h"
#include "SimHarness.h"

#include "link/UsbLink.h"
#include "protocol/ConfigRecords.h"
#include "protocol/Notices.h"
#include "protocol/Programming.h"
#include "protocol/Supervision.h"
#include "ui/NoticeBoxes.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace protocol_tests {

struct ShownBox {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};

struct RecordingProgress final : kes::ProgrammingUi {
    int advances = 0;
    int closes = 0;
    void advance() override { ++advances; }
    void close() override { ++closes; }
};

struct RecordingTimer final : kes::MainTimer {
    int stops = 0;
    int starts = 0;
    void stop(HWND) override { ++stops; }
    void start(HWND) override { ++starts; }
};

inline void resetProtocolGlobals()
{
    kes::programmingStepCounter = kes::noProgramming;
    kes::out1Clicked = kes::out2Clicked = kes::clipClicked = kes::smsClicked = false;
    kes::supervision = kes::SupervisionState();
    kes::UsbLink& l = kes::usbLink;
    l.responding = false;
    l.temperature = -1000;
    l.moduleText.clear();
    l.in1State = l.in2State = l.out1State = l.out2State = false;
    l.operatorName.clear();
    l.signalLevel = -1;
    l.supplyVolts = -1;
    l.requestOut1Toggle = l.requestOut2Toggle = l.requestClip = l.requestSms = false;
    l.outNumber.clear();
    l.outSmsText.clear();
    l.replyWaiting = false;
}

inline qlvsim::Block dataOf(const kes::Frame& frame)
{
    qlvsim::Block b{};
    std::copy(frame.begin() + 2, frame.begin() + 28, b.begin());
    return b;
}

// What the user is told, as the program's boxes and sounds would show it.
struct RecordingNotices final : kes::NoticeSink {
    std::vector<ShownBox> boxes;
    std::vector<UINT> beeps;
    void show(HWND owner, kes::Notice notice, const std::wstring& text) override
    {
        const kes::BoxStyle style = kes::boxStyle(notice);
        boxes.push_back({owner, text, style.caption, style.type});
    }
    void play(kes::Sound sound) override { beeps.push_back(kes::soundType(sound)); }
};

class ProtocolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProtocolGlobals();
        h.attachGlobalLink();
        window = std::make_unique<ModuleWindow>();
        previousNotices = kes::setNoticeSink(&notices);
        kes::setProgrammingUi(&progress);
        kes::setMainTimer(&timer);
    }

    void TearDown() override
    {
        kes::setNoticeSink(previousNotices);
        kes::setProgrammingUi(nullptr);
        kes::setMainTimer(nullptr);
        window.reset();
        resetProtocolGlobals();
    }

    HWND dialog() const { return window->hwnd(); }
    bool connect() { return h.connect(kes::usbLink); }
    // One timer period: the tick, then the rest of the 500 ms.
    void tickOnce()
    {
        const double start = h.nowMs();
        kes::tick(dialog());
        const double used = h.nowMs() - start;
        if (used < 500.0)
            h.advanceMs(500.0 - used);
    }
    std::size_t framesWithCommand(std::uint8_t command)
    {
        std::size_t n = 0;
        for (const auto& e : h.sim.journal())
            if (e.direction == qlvsim::Direction::HostToModule && e.bytes.size() == 30 && e.bytes[0] == command)
                ++n;
        return n;
    }
    void fillModuleMemory(std::uint8_t value)
    {
        for (std::size_t b = 0; b < qlvsim::blockCount; ++b)
            h.sim.block(b).fill(value);
    }

    harness::SimHarness h;
    std::unique_ptr<ModuleWindow> window;
    RecordingNotices notices;
    std::vector<ShownBox>& boxes = notices.boxes;
    std::vector<UINT>& beeps = notices.beeps;
    RecordingProgress progress;
    RecordingTimer timer;
    kes::NoticeSink* previousNotices = nullptr;
};

} // namespace protocol_tests
