#pragma once
// Simulated QLV-3 USB interfaces with a Quellmo module behind each, on the D2XX calls the program
// makes. Used as a static library by tests (virtual time, full control from C++) and built as a
// drop-in FTD2XX.dll (real time, controlled by a scenario file; see README.md).
//
// Time: every call first brings the simulation up to the time source's "now"; under VirtualTime
// nothing happens between calls unless the test (or the link's sleep) advances the time, so runs
// are deterministic.
#include <windows.h>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <vector>

namespace qlvsim {

constexpr std::size_t frameBytes = 30;
constexpr std::size_t blockCount = 16;
constexpr std::size_t blockBytes = 26;  // bytes 2..27 of a block frame
constexpr std::size_t smsBytes = 160;
using Bytes = std::vector<std::uint8_t>;
using Block = std::array<std::uint8_t, blockBytes>;

constexpr DWORD errorIo = 4;          // FT_IO_ERROR
constexpr DWORD errorUnplugged = 5;   // what FT_W32_GetLastError reports on a dead handle
constexpr std::int64_t nsPerMs = 1000000;
constexpr std::int64_t nsPerSecond = 1000000000;

// The sim's own clock seam, in nanoseconds.
class TimeSource {
public:
    virtual ~TimeSource() = default;
    virtual std::int64_t nowNs() = 0;
};

class RealTime final : public TimeSource {
public:
    RealTime();
    std::int64_t nowNs() override;

private:
    std::int64_t start_ = 0;
    std::int64_t frequency_ = 1;
};

// Stands still until advanced.
class VirtualTime final : public TimeSource {
public:
    std::int64_t nowNs() override { return now_; }
    void advanceNs(std::int64_t ns) { now_ += ns; }
    void advanceMs(double ms) { now_ += static_cast<std::int64_t>(ms * static_cast<double>(nsPerMs)); }

private:
    std::int64_t now_ = 0;
};

// Byte-level check word of a 30-byte frame: byte 28 XOR of even bytes 0..26, 29 of odd bytes 1..27.
void sealFrame(std::uint8_t* frame);
bool frameSealed(const std::uint8_t* frame);

struct InterfaceInfo {
    std::string description = "Quorvaltenique USB";
    std::string serial = "QLV30001";
    bool openElsewhere = false;  // listed with the "open" flag; opening it fails
    bool plugged = true;
};

// The module's live status, as the status reply reports it.
struct ModuleStatus {
    std::int8_t temperature = 22;
    std::string text = "Quellmo GSM";   // at most 12 characters fit before the zero byte
    bool in1 = false;
    bool in2 = false;
    bool out1 = false;
    bool out2 = false;
    std::uint16_t supplyReading = 442;  // ADC value; 442 reads as 13 V
    std::int8_t signal = 20;            // 0..31, 99 = unknown
    std::string operatorName = "Plus";  // at most 9 characters (bytes 19..27)
};

// Smallest ADC reading the program shows as `volts`, nudged into the middle of its range.
std::uint16_t readingForVolts(int volts);
int voltsForReading(std::uint16_t reading);

// A module as it can be attached behind an interface: what it holds and shows, and whether it
// stores every block write wrongly (as Faults::wrongStoresAlways, but going with the module).
struct Module {
    ModuleStatus status;
    std::array<Block, blockCount> memory{};
    bool storesWrongly = false;
};

struct SmsRecord {
    std::string number;
    std::string text;
};

// Each fault counts down as it strikes; 0 switches it off. Which byte a corruption hits comes
// from the simulator's seeded generator.
struct Faults {
    int silentPolls = 0;         // status polls left unanswered
    int silentFrames = 0;        // frames of any command left unanswered
    int corruptReplies = 0;      // a payload byte changed after sealing: the check word no longer fits
    int badCheckWords = 0;       // the check word itself wrong
    int wrongByte0 = 0;          // status replies with byte 0 = 2, correctly sealed
    int extraBytes = 0;          // replies followed by extraByteCount more bytes
    int extraByteCount = 1;
    int missingBytes = 0;        // replies cut short by missingByteCount bytes
    int missingByteCount = 1;
    int slowReplies = 0;         // replies delayed by slowDelayMs on top of the turnaround
    double slowDelayMs = 300.0;
    int writeFailures = 0;       // FT_W32_WriteFile calls that fail ...
    DWORD writeFailureCode = errorIo;  // ... with this FT_W32_GetLastError code (5 also kills the handle)
    int commErrorFailures = 0;   // FT_W32_ClearCommError calls that fail
    DWORD commErrorCode = errorIo;
    int commStateFailures = 0;   // FT_W32_GetCommState calls that fail
    DWORD commStateCode = errorIo;
    int openFailures = 0;        // FT_W32_CreateFile calls that fail
    double randomCorruptRate = 0.0;  // every reply: this probability of one changed byte
    // Block writes stored wrongly, as if the frame had come with a flip the check word cannot
    // see: bit 0 of data bytes 0 and 2 (frame bytes 2 and 4), a field in every block's layout.
    // The write is echoed as stored. wrongStores counts down; wrongStoresAlways never stops.
    int wrongStores = 0;
    bool wrongStoresAlways = false;
    int wrongStoreBlock = -1;        // only writes of this block; -1: any block
    // Reads of a block answered with the echo of that block's last write, as a late reply to the
    // write would look: byte 0 = 2, the data as sent (not as stored), correctly sealed. A block
    // not written since the module was attached is read as usual and leaves the count alone. echoedReads counts down;
    // echoedReadsAlways never stops.
    int echoedReads = 0;
    bool echoedReadsAlways = false;
};

// The flip a wrong store makes, on a block's 26 data bytes.
void flipStored(Block& block);

enum class Direction { HostToModule, ModuleToHost, Event };

struct JournalEntry {
    std::int64_t timeNs = 0;
    Direction direction = Direction::Event;
    Bytes bytes;          // the frame as it travelled (replies with their faults applied)
    std::string note;     // events: "open", "close", "unplug", "replug", "purge", "partial", "no reply" ...
};

// One timed or frame-counted action of a scenario.
struct TimelineAction {
    bool byFrame = false;
    std::int64_t atNs = 0;       // when !byFrame: simulation time
    std::uint64_t atFrame = 0;   // when byFrame: after this many frames received from the host
    std::size_t interfaceIndex = 0;
    std::function<void()> run;
    bool done = false;
};

class Simulator {
public:
    explicit Simulator(TimeSource& time);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // --- Interfaces -------------------------------------------------------------------------
    std::size_t addInterface(const InterfaceInfo& info = InterfaceInfo());
    std::size_t interfaceCount() const;
    InterfaceInfo& interfaceInfo(std::size_t index);
    void unplug(std::size_t index = 0);   // every handle on it dies (error 5)
    void replug(std::size_t index = 0);
    bool isOpen(std::size_t index = 0) const;  // open by the program
    int openHandles() const;                   // handles not yet closed, dead ones included
    int callsOnClosedHandles() const;          // any call made with a handle after it was closed
    std::uint64_t deviceListings() const;      // FT_CreateDeviceInfoList calls: each a USB round trip

    // --- Line -------------------------------------------------------------------------------
    void setTurnaroundMs(double ms);   // module's time from the last request byte to its first reply byte
    void setLatencyMs(double ms);      // the chip passes received bytes on every latency period (16 ms default)
    void setBaud(DWORD baud);          // the module's own rate; the port must be set to it to be understood
    std::size_t receiveQueue(std::size_t index = 0);  // what cbInQue reports now
    DCB portState(std::size_t index = 0);              // as the program last set it

    // --- Module -----------------------------------------------------------------------------
    ModuleStatus& status(std::size_t index = 0);
    Block& block(std::size_t number, std::size_t index = 0);
    std::vector<std::string>& clipNumbers(std::size_t index = 0);   // numbers of CLIP/USSD requests
    std::vector<SmsRecord>& smsSent(std::size_t index = 0);
    std::string smsBuffer(std::size_t index = 0);                   // the text chunks received so far
    void holdText(const std::string& text, std::size_t index = 0);  // sets the reply-waiting bit
    bool holdingText(std::size_t index = 0);
    std::uint64_t framesReceived(std::size_t index = 0);            // complete 30-byte frames from the host
    std::uint64_t statusPolls(std::size_t index = 0);

    // --- Modules behind an interface ---------------------------------------------------------
    // The interface stays attached and open; without a module nothing answers any frame.
    void takeModuleOff(std::size_t index = 0);
    void putModuleBack(std::size_t index = 0);                 // the same module, as it was
    void attachModule(const Module& module, std::size_t index = 0);  // another one in its place
    bool moduleAttached(std::size_t index = 0);

    // --- Faults and the timeline ------------------------------------------------------------
    Faults& faults(std::size_t index = 0);
    void setSeed(std::uint32_t seed);
    void at(double seconds, std::function<void()> action, std::size_t index = 0);
    void atFrame(std::uint64_t frame, std::function<void()> action, std::size_t index = 0);

    // --- Journal and state file -------------------------------------------------------------
    // Brought up to now first, like every other look at the simulation.
    const std::vector<JournalEntry>& journal()
    {
        update();
        return journal_;
    }
    void clearJournal() { journal_.clear(); }
    void setJournalFile(const std::wstring& path);   // appends one line an entry
    void setStateFile(const std::wstring& path);     // loads it when present; rewritten on every block write
    bool loadState(const std::wstring& path);
    bool saveState(const std::wstring& path) const;

    // Brings every interface up to the time source's now.
    void update();
    std::int64_t nowNs() { return time_.nowNs(); }
    std::recursive_mutex& mutex() { return mutex_; }

    // --- The D2XX calls, as the library would answer them -----------------------------------
    ULONG createDeviceInfoList(DWORD* count);
    ULONG getDeviceInfoDetail(DWORD index, DWORD* flags, DWORD* type, DWORD* id, DWORD* locId,
                              void* serial, void* description, void** handle);
    void* createFile(const char* name, DWORD access, DWORD share, DWORD creation, DWORD flags);
    BOOL closeHandle(void* handle);
    BOOL getCommState(void* handle, DCB* dcb);
    BOOL setCommState(void* handle, DCB* dcb);
    BOOL purgeComm(void* handle, DWORD flags);
    BOOL clearCommError(void* handle, DWORD* errors, COMSTAT* status);
    BOOL writeFile(void* handle, const void* buffer, DWORD size, DWORD* written);
    BOOL readFile(void* handle, void* buffer, DWORD size, DWORD* read);
    DWORD getLastError(void* handle);
    // FT_GetLibraryVersion (by name only, optional for the program): 0x00MMmmbb, "MM.mm.bb" in
    // hex. Each call is a journal event "library version".
    ULONG getLibraryVersion(DWORD* version);
    void setLibraryVersion(DWORD version) { libraryVersion_ = version; }
    DWORD libraryVersion() const { return libraryVersion_; }  // without a call

private:
    struct Device;
    struct Handle;
    Device& device(std::size_t index);
    Handle* findHandle(void* handle);
    Handle* liveHandle(void* handle);
    void advance(Device& device, std::int64_t now);
    void moduleReceives(Device& device, std::uint8_t byte, std::int64_t at);
    void answer(Device& device, const std::uint8_t* frame, std::int64_t at);
    void sendReply(Device& device, Bytes reply, std::int64_t at, bool statusReply);
    void runTimeline(std::int64_t now);
    void record(Direction direction, const Bytes& bytes, const std::string& note, std::int64_t at);
    void persist();

    TimeSource& time_;
    mutable std::recursive_mutex mutex_;
    std::vector<std::unique_ptr<Device>> devices_;
    std::map<std::uintptr_t, std::unique_ptr<Handle>> handles_;
    std::uintptr_t nextHandle_ = 0x5100;
    DWORD lastErrorNoHandle_ = 0;
    int callsOnClosed_ = 0;
    std::uint64_t deviceListings_ = 0;
    std::vector<std::size_t> listed_;  // devices of the last FT_CreateDeviceInfoList, by index
    std::vector<TimelineAction> timeline_;
    std::vector<JournalEntry> journal_;
    std::wstring journalFile_;
    std::wstring stateFile_;
    std::mt19937 random_{1};
    double turnaroundMs_ = 5.0;
    double latencyMs_ = 16.0;
    DWORD baud_ = 9600;
    DWORD libraryVersion_ = 0x00021228;
};

// The simulator the C entry points below answer for. The DLL build creates its own from the
// environment on first use; in the static library a test sets it (and resets it to nullptr).
Simulator* setActiveSimulator(Simulator* simulator);
Simulator* activeSimulator();

// Scenario files (see README.md). Returns false and a message on a line it cannot read.
bool loadScenario(Simulator& simulator, const std::wstring& path, std::string* error = nullptr);
bool loadScenarioText(Simulator& simulator, const std::string& text, std::string* error = nullptr);

} // namespace qlvsim

// D2XX entry points bound to the active simulator; the DLL exports them by the library's ordinals.
extern "C" {
ULONG WINAPI qlvsim_FT_CreateDeviceInfoList(DWORD* count);
ULONG WINAPI qlvsim_FT_GetDeviceInfoDetail(DWORD index, DWORD* flags, DWORD* type, DWORD* id, DWORD* locId,
                                           void* serial, void* description, void** handle);
void* WINAPI qlvsim_FT_W32_CreateFile(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                      DWORD creation, DWORD flags, HANDLE templateFile);
BOOL WINAPI qlvsim_FT_W32_CloseHandle(void* handle);
BOOL WINAPI qlvsim_FT_W32_GetCommState(void* handle, DCB* dcb);
BOOL WINAPI qlvsim_FT_W32_SetCommState(void* handle, DCB* dcb);
BOOL WINAPI qlvsim_FT_W32_PurgeComm(void* handle, DWORD flags);
BOOL WINAPI qlvsim_FT_W32_ClearCommError(void* handle, DWORD* errors, COMSTAT* status);
BOOL WINAPI qlvsim_FT_W32_WriteFile(void* handle, void* buffer, DWORD size, DWORD* written, OVERLAPPED* overlapped);
BOOL WINAPI qlvsim_FT_W32_ReadFile(void* handle, void* buffer, DWORD size, DWORD* read, OVERLAPPED* overlapped);
DWORD WINAPI qlvsim_FT_W32_GetLastError(void* handle);
ULONG WINAPI qlvsim_FT_GetLibraryVersion(DWORD* version);
}
