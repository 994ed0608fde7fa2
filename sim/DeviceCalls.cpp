// The D2XX calls as the library answers them: the device list, handles on the interfaces, the
// port's settings and the bytes through the chip.
#include "Device.h"

#include <algorithm>
#include <cstring>

namespace qlvsim {

namespace {

constexpr ULONG ftOk = 0;
constexpr ULONG ftDeviceNotFound = 2;
constexpr DWORD ftInvalidHandle = 1;
constexpr DWORD ftOpenBySerial = 0x1;
constexpr DWORD ftOpenByDescription = 0x2;
constexpr DWORD purgeTx = 4;
constexpr DWORD purgeRx = 8;
constexpr DWORD deviceType232R = 5;
constexpr DWORD deviceId = 0x04036001;
constexpr DWORD flagOpened = 0x1;

} // namespace

Simulator::Handle* Simulator::findHandle(void* handle)
{
    auto found = handles_.find(reinterpret_cast<std::uintptr_t>(handle));
    if (found == handles_.end()) {
        lastErrorNoHandle_ = ftInvalidHandle;
        return nullptr;
    }
    if (found->second->closed) {
        ++callsOnClosed_;
        return nullptr;
    }
    return found->second.get();
}

// A handle whose interface was unplugged fails every call with the unplugged code.
Simulator::Handle* Simulator::liveHandle(void* value)
{
    Handle* handle = findHandle(value);
    if (handle && handle->dead) {
        handle->lastError = errorUnplugged;
        return nullptr;
    }
    return handle;
}

ULONG Simulator::createDeviceInfoList(DWORD* count)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    update();
    ++deviceListings_;
    listed_.clear();
    for (std::size_t i = 0; i < devices_.size(); ++i)
        if (devices_[i]->info.plugged)
            listed_.push_back(i);
    if (count)
        *count = static_cast<DWORD>(listed_.size());
    return ftOk;
}

ULONG Simulator::getDeviceInfoDetail(DWORD index, DWORD* flags, DWORD* type, DWORD* id, DWORD* locId,
                                     void* serial, void* description, void** handle)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    if (index >= listed_.size())
        return ftDeviceNotFound;
    const Device& d = *devices_[listed_[index]];
    if (flags)
        *flags = (d.info.openElsewhere || d.openHandle) ? flagOpened : 0;
    if (type)
        *type = deviceType232R;
    if (id)
        *id = deviceId;
    if (locId)
        *locId = 0x1000 + static_cast<DWORD>(listed_[index]);
    if (serial) {
        char* out = static_cast<char*>(serial);
        std::memset(out, 0, 64);
        std::strncpy(out, d.info.serial.c_str(), 63);
    }
    if (description) {
        char* out = static_cast<char*>(description);
        std::memset(out, 0, 64);
        std::strncpy(out, d.info.description.c_str(), 63);
    }
    if (handle)
        *handle = reinterpret_cast<void*>(d.openHandle);
    return ftOk;
}

void* Simulator::createFile(const char* name, DWORD access, DWORD share, DWORD creation, DWORD flags)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    (void)access;
    (void)share;
    (void)creation;
    update();
    const std::int64_t now = time_.nowNs();
    if (!devices_.empty() && devices_[0]->faults.openFailures > 0) {
        --devices_[0]->faults.openFailures;
        lastErrorNoHandle_ = errorIo;
        record(Direction::Event, {}, "open failed (fault)", now);
        return INVALID_HANDLE_VALUE;
    }
    const std::string wanted = name ? name : "";
    for (std::size_t i = 0; i < devices_.size(); ++i) {
        Device& d = *devices_[i];
        const bool matches = (flags & ftOpenBySerial) ? d.info.serial == wanted
                             : (flags & ftOpenByDescription) ? d.info.description == wanted
                                                            : false;
        if (!matches || !d.info.plugged)
            continue;
        if (d.info.openElsewhere || d.openHandle) {
            lastErrorNoHandle_ = errorIo;
            record(Direction::Event, {}, "open refused, in use: " + d.info.serial, now);
            return INVALID_HANDLE_VALUE;
        }
        const std::uintptr_t value = nextHandle_;
        nextHandle_ += 0x10;
        auto handle = std::make_unique<Handle>();
        handle->device = i;
        handles_[value] = std::move(handle);
        d.openHandle = value;
        d.clearLine();
        record(Direction::Event, {}, "open " + d.info.serial, now);
        return reinterpret_cast<void*>(value);
    }
    lastErrorNoHandle_ = ftDeviceNotFound;
    record(Direction::Event, {}, "open failed, not found: " + wanted, now);
    return INVALID_HANDLE_VALUE;
}

BOOL Simulator::closeHandle(void* value)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    Handle* handle = findHandle(value);
    if (!handle)
        return FALSE;
    handle->closed = true;
    Device& d = *devices_[handle->device];
    if (d.openHandle == reinterpret_cast<std::uintptr_t>(value)) {
        d.openHandle = 0;
        d.clearLine();
    }
    record(Direction::Event, {}, handle->dead ? "close (unplugged handle)" : "close", time_.nowNs());
    return TRUE;
}

BOOL Simulator::getCommState(void* value, DCB* dcb)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    Handle* handle = liveHandle(value);
    if (!handle)
        return FALSE;
    Device& d = *devices_[handle->device];
    if (d.faults.commStateFailures > 0) {
        --d.faults.commStateFailures;
        handle->lastError = d.faults.commStateCode;
        return FALSE;
    }
    if (!dcb)
        return FALSE;
    *dcb = d.dcb;
    return TRUE;
}

BOOL Simulator::setCommState(void* value, DCB* dcb)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    Handle* handle = liveHandle(value);
    if (!handle)
        return FALSE;
    if (!dcb)
        return FALSE;
    devices_[handle->device]->dcb = *dcb;
    return TRUE;
}

BOOL Simulator::purgeComm(void* value, DWORD flags)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    Handle* handle = liveHandle(value);
    if (!handle)
        return FALSE;
    update();
    Device& d = *devices_[handle->device];
    const std::int64_t now = time_.nowNs();
    if (flags & purgeRx) {
        // What the chip already holds goes; bytes still on the wire arrive later.
        const std::size_t before = d.rxQueue.size() + d.toHost.size();
        d.rxQueue.clear();
        d.toHost.erase(std::remove_if(d.toHost.begin(), d.toHost.end(),
                                      [now](const Device::Timed& t) { return t.arrives <= now; }),
                       d.toHost.end());
        std::string note = "purge: " + std::to_string(before - d.toHost.size()) + " bytes dropped";
        if (!d.toHost.empty())
            note += ", " + std::to_string(d.toHost.size()) + " still on the wire";
        record(Direction::Event, {}, note, now);
    }
    if (flags & purgeTx) {
        const std::int64_t byteNs = byteTimeNs(d.dcb.BaudRate, bitsPerByte(d.dcb));
        d.toModule.erase(std::remove_if(d.toModule.begin(), d.toModule.end(),
                                        [&](const Device::Timed& t) { return t.arrives - byteNs > now; }),
                         d.toModule.end());
        if (d.toModule.empty())
            d.txFreeAt = std::min(d.txFreeAt, now);
    }
    return TRUE;
}

BOOL Simulator::clearCommError(void* value, DWORD* errors, COMSTAT* status)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    Handle* handle = liveHandle(value);
    if (!handle)
        return FALSE;
    Device& d = *devices_[handle->device];
    if (d.faults.commErrorFailures > 0) {
        --d.faults.commErrorFailures;
        handle->lastError = d.faults.commErrorCode;
        return FALSE;
    }
    update();
    if (errors)
        *errors = 0;
    if (status) {
        std::memset(status, 0, sizeof(*status));
        status->cbInQue = static_cast<DWORD>(d.rxQueue.size());
        status->cbOutQue = static_cast<DWORD>(d.toModule.size());
    }
    return TRUE;
}

BOOL Simulator::writeFile(void* value, const void* buffer, DWORD size, DWORD* written)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    if (written)
        *written = 0;
    Handle* handle = liveHandle(value);
    if (!handle)
        return FALSE;
    Device& d = *devices_[handle->device];
    if (d.faults.writeFailures > 0) {
        --d.faults.writeFailures;
        handle->lastError = d.faults.writeFailureCode;
        record(Direction::Event, {}, "write failed (fault)", time_.nowNs());
        return FALSE;
    }
    update();
    const std::int64_t now = time_.nowNs();
    const std::int64_t byteNs = byteTimeNs(d.dcb.BaudRate, bitsPerByte(d.dcb));
    const std::int64_t start = std::max(now, d.txFreeAt);
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    for (DWORD k = 0; k < size; ++k)
        d.toModule.push_back({start + static_cast<std::int64_t>(k + 1) * byteNs, 0, bytes[k]});
    d.txFreeAt = start + static_cast<std::int64_t>(size) * byteNs;
    handle->lastError = 0;
    if (written)
        *written = size;
    return TRUE;
}

BOOL Simulator::readFile(void* value, void* buffer, DWORD size, DWORD* read)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    if (read)
        *read = 0;
    Handle* handle = liveHandle(value);
    if (!handle)
        return FALSE;
    update();
    Device& d = *devices_[handle->device];
    auto* out = static_cast<std::uint8_t*>(buffer);
    DWORD count = 0;
    while (count < size && !d.rxQueue.empty()) {
        out[count++] = d.rxQueue.front();
        d.rxQueue.pop_front();
    }
    if (read)
        *read = count;
    handle->lastError = 0;
    return TRUE;
}

DWORD Simulator::getLastError(void* value)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    Handle* handle = findHandle(value);
    if (!handle)
        return lastErrorNoHandle_;
    return handle->dead ? errorUnplugged : handle->lastError;
}

ULONG Simulator::getLibraryVersion(DWORD* version)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    record(Direction::Event, {}, "library version", time_.nowNs());
    if (!version)
        return 6;  // FT_INVALID_PARAMETER
    *version = libraryVersion_;
    return 0;
}

} // namespace qlvsim
