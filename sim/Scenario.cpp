// Scenario files: interfaces, the module's memory and status, faults, and a timeline of changes.
#include "Simulator.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

namespace qlvsim {

namespace {

std::string trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool parseBool(const std::string& value, bool& out)
{
    const std::string v = lower(value);
    if (v == "1" || v == "yes" || v == "true" || v == "on") {
        out = true;
        return true;
    }
    if (v == "0" || v == "no" || v == "false" || v == "off") {
        out = false;
        return true;
    }
    return false;
}

bool parseNumber(const std::string& value, double& out)
{
    if (value.empty())
        return false;
    char* end = nullptr;
    out = std::strtod(value.c_str(), &end);
    return end && *end == '\0';
}

bool parseInt(const std::string& value, long& out)
{
    double number = 0;
    if (!parseNumber(value, number))
        return false;
    out = static_cast<long>(number);
    return static_cast<double>(out) == number;
}

bool parseBlock(const std::string& value, Block& block)
{
    block.fill(0);
    if (value.rfind("text:", 0) == 0) {
        const std::string text = value.substr(5);
        if (text.size() >= blockBytes)
            return false;
        for (std::size_t i = 0; i < text.size(); ++i)
            block[i] = static_cast<std::uint8_t>(text[i]);
        return true;
    }
    std::istringstream in(value);
    std::string byte;
    std::size_t i = 0;
    while (in >> byte) {
        if (i >= blockBytes || byte.size() > 2)
            return false;
        char* end = nullptr;
        const unsigned long number = std::strtoul(byte.c_str(), &end, 16);
        if (!end || *end != '\0')
            return false;
        block[i++] = static_cast<std::uint8_t>(number);
    }
    return true;
}

bool setStatusKey(ModuleStatus& status, const std::string& key, const std::string& value)
{
    long number = 0;
    const std::string k = lower(key);
    if (k == "text") {
        status.text = value;
        return true;
    }
    if (k == "operator") {
        status.operatorName = value;
        return true;
    }
    if (k == "in1" || k == "in2" || k == "out1" || k == "out2") {
        bool state = false;
        if (!parseBool(value, state))
            return false;
        (k == "in1" ? status.in1 : k == "in2" ? status.in2 : k == "out1" ? status.out1 : status.out2) = state;
        return true;
    }
    if (!parseInt(value, number))
        return false;
    if (k == "temperature" && number >= -128 && number <= 127)
        status.temperature = static_cast<std::int8_t>(number);
    else if (k == "signal" && number >= -128 && number <= 127)
        status.signal = static_cast<std::int8_t>(number);
    else if (k == "supplyvolts" && number >= 0 && number <= 30)
        status.supplyReading = readingForVolts(static_cast<int>(number));
    else if (k == "supplyreading" && number >= 0 && number <= 0xFFFF)
        status.supplyReading = static_cast<std::uint16_t>(number);
    else
        return false;
    return true;
}

bool setModuleKey(Simulator& sim, std::size_t index, const std::string& key, const std::string& value)
{
    const std::string k = lower(key);
    if (k == "heldtext" || k == "hold") {
        sim.holdText(value, index);
        return true;
    }
    return setStatusKey(sim.status(index), key, value);
}

// "block0" .. "block15": the block's number, or -1.
long blockKey(const std::string& key)
{
    const std::string k = lower(key);
    long block = -1;
    if (k.rfind("block", 0) == 0 && parseInt(k.substr(5), block) && block >= 0 && block < static_cast<long>(blockCount))
        return block;
    return -1;
}

// A module kept by its name for the timeline to attach: status keys, its memory, storesWrongly.
bool setNamedModuleKey(Module& module, const std::string& key, const std::string& value)
{
    if (lower(key) == "storeswrongly")
        return parseBool(value, module.storesWrongly);
    const long block = blockKey(key);
    if (block >= 0)
        return parseBlock(value, module.memory[static_cast<std::size_t>(block)]);
    return setStatusKey(module.status, key, value);
}

using NamedModules = std::map<std::string, Module>;

bool setFaultKey(Faults& f, const std::string& key, const std::string& value)
{
    const std::string k = lower(key);
    if (k == "wrongstoresalways")
        return parseBool(value, f.wrongStoresAlways);
    if (k == "echoedreadsalways")
        return parseBool(value, f.echoedReadsAlways);
    double number = 0;
    if (!parseNumber(value, number))
        return false;
    const int count = static_cast<int>(number);
    struct Counter {
        const char* name;
        int Faults::*field;
    };
    static const Counter counters[] = {
        {"silentpolls", &Faults::silentPolls},       {"silentframes", &Faults::silentFrames},
        {"corruptreplies", &Faults::corruptReplies}, {"badcheckwords", &Faults::badCheckWords},
        {"wrongbyte0", &Faults::wrongByte0},         {"extrabytes", &Faults::extraBytes},
        {"extrabytecount", &Faults::extraByteCount}, {"missingbytes", &Faults::missingBytes},
        {"missingbytecount", &Faults::missingByteCount}, {"slowreplies", &Faults::slowReplies},
        {"writefailures", &Faults::writeFailures},   {"commerrorfailures", &Faults::commErrorFailures},
        {"commstatefailures", &Faults::commStateFailures}, {"openfailures", &Faults::openFailures},
        {"wrongstores", &Faults::wrongStores},       {"wrongstoreblock", &Faults::wrongStoreBlock},
        {"echoedreads", &Faults::echoedReads},
    };
    for (const Counter& c : counters)
        if (k == c.name) {
            f.*c.field = count;
            return true;
        }
    if (k == "slowdelayms")
        f.slowDelayMs = number;
    else if (k == "randomcorruptrate")
        f.randomCorruptRate = number;
    else if (k == "writefailurecode")
        f.writeFailureCode = static_cast<DWORD>(count);
    else if (k == "commerrorcode")
        f.commErrorCode = static_cast<DWORD>(count);
    else if (k == "commstatecode")
        f.commStateCode = static_cast<DWORD>(count);
    else
        return false;
    return true;
}

bool setLineKey(Simulator& sim, const std::string& key, const std::string& value)
{
    const std::string k = lower(key);
    double number = 0;
    if (!parseNumber(value, number) || number < 0)
        return false;
    if (k == "turnaroundms")
        sim.setTurnaroundMs(number);
    else if (k == "latencyms")
        sim.setLatencyMs(number);
    else if (k == "baud")
        sim.setBaud(static_cast<DWORD>(number));
    else if (k == "seed")
        sim.setSeed(static_cast<std::uint32_t>(number));
    else
        return false;
    return true;
}

bool setInterfaceKey(InterfaceInfo& info, const std::string& key, const std::string& value)
{
    const std::string k = lower(key);
    if (k == "description")
        info.description = value;
    else if (k == "serial")
        info.serial = value;
    else if (k == "openelsewhere")
        return parseBool(value, info.openElsewhere);
    else if (k == "plugged")
        return parseBool(value, info.plugged);
    else
        return false;
    return true;
}

// Checks a timeline action on a scratch simulator, so a typo is reported at load time.
bool actionIsValid(const std::string& verb, const std::string& key, const std::string& value)
{
    VirtualTime time;
    Simulator scratch(time);
    scratch.addInterface();
    if (verb == "set")
        return setModuleKey(scratch, 0, key, value);
    if (verb == "fault")
        return setFaultKey(scratch.faults(0), key, value);
    if (verb == "line")
        return setLineKey(scratch, key, value);
    if (verb == "openelsewhere") {
        bool state = false;
        return parseBool(key, state);
    }
    return verb == "unplug" || verb == "replug" || verb == "hold" || verb == "moduleoff" || verb == "moduleback";
}

bool addTimeline(Simulator& sim, std::size_t index, const std::string& line, const NamedModules& modules,
                 std::string& error)
{
    std::istringstream in(line);
    std::string when, verb, key;
    in >> when >> verb;
    verb = lower(verb);
    std::string rest;
    std::getline(in, rest);
    rest = trim(rest);
    std::string value;
    if (verb == "set" || verb == "fault" || verb == "line") {
        const auto space = rest.find_first_of(" \t");
        key = rest.substr(0, space);
        value = space == std::string::npos ? std::string() : trim(rest.substr(space));
    } else {
        key = rest;
        value = rest;
    }
    Module attached;
    if (verb == "attach") {
        // Named in a [module NAME] section above the timeline.
        const auto found = modules.find(lower(key));
        if (found == modules.end()) {
            error = "timeline: no module \"" + key + "\" defined above";
            return false;
        }
        attached = found->second;
    } else if (when.empty() || !actionIsValid(verb, key, value)) {
        error = "timeline: cannot read \"" + line + "\"";
        return false;
    }
    std::function<void()> action = [&sim, index, verb, key, value, attached]() {
        if (verb == "attach")
            sim.attachModule(attached, index);
        else if (verb == "unplug")
            sim.unplug(index);
        else if (verb == "replug")
            sim.replug(index);
        else if (verb == "hold")
            sim.holdText(value, index);
        else if (verb == "moduleoff")
            sim.takeModuleOff(index);
        else if (verb == "moduleback")
            sim.putModuleBack(index);
        else if (verb == "set")
            setModuleKey(sim, index, key, value);
        else if (verb == "fault")
            setFaultKey(sim.faults(index), key, value);
        else if (verb == "line")
            setLineKey(sim, key, value);
        else if (verb == "openelsewhere")
            parseBool(key, sim.interfaceInfo(index).openElsewhere);
    };
    if (when[0] == '#') {
        long frame = 0;
        if (!parseInt(when.substr(1), frame) || frame < 0) {
            error = "timeline: bad frame number in \"" + line + "\"";
            return false;
        }
        sim.atFrame(static_cast<std::uint64_t>(frame), action, index);
        return true;
    }
    std::string seconds = when;
    if (!seconds.empty() && (seconds.back() == 's' || seconds.back() == 'S'))
        seconds.pop_back();
    double at = 0;
    if (!parseNumber(seconds, at) || at < 0) {
        error = "timeline: bad time in \"" + line + "\"";
        return false;
    }
    sim.at(at, action, index);
    return true;
}

} // namespace

bool loadScenarioText(Simulator& sim, const std::string& text, std::string* error)
{
    std::istringstream in(text);
    std::string raw, section;
    std::string moduleName;  // of a [module NAME] section
    NamedModules modules;
    int number = 0;
    bool haveInterface = false;
    std::size_t index = 0;
    auto fail = [&](const std::string& message) {
        if (error)
            *error = "line " + std::to_string(number) + ": " + message;
        return false;
    };
    auto currentInterface = [&]() {
        if (!haveInterface) {
            index = sim.addInterface();
            haveInterface = true;
        }
        return index;
    };
    while (std::getline(in, raw)) {
        ++number;
        if (number == 1 && raw.rfind("\xEF\xBB\xBF", 0) == 0)
            raw.erase(0, 3);
        const std::string line = trim(raw);
        // '#' starts a comment everywhere but in the timeline, where it marks a frame count.
        if (line.empty() || line[0] == ';' || (line[0] == '#' && section != "timeline"))
            continue;
        if (line.front() == '[') {
            if (line.back() != ']')
                return fail("bad section header");
            section = lower(trim(line.substr(1, line.size() - 2)));
            if (section.rfind("module ", 0) == 0) {
                moduleName = trim(section.substr(7));
                modules[moduleName] = Module();
                section = "named module";
            } else if (section == "interface") {
                index = sim.addInterface(InterfaceInfo());
                haveInterface = true;
            } else if (section != "line" && section != "module" && section != "memory" && section != "faults" &&
                       section != "timeline") {
                return fail("unknown section [" + section + "]");
            }
            continue;
        }
        if (section == "timeline") {
            std::string message;
            if (!addTimeline(sim, currentInterface(), line, modules, message))
                return fail(message);
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            return fail("expected key=value");
        const std::string key = trim(line.substr(0, equals));
        const std::string value = trim(line.substr(equals + 1));
        bool ok = false;
        if (section == "line")
            ok = setLineKey(sim, key, value);
        else if (section == "interface")
            ok = setInterfaceKey(sim.interfaceInfo(index), key, value);
        else if (section == "module")
            ok = setModuleKey(sim, currentInterface(), key, value);
        else if (section == "named module")
            ok = setNamedModuleKey(modules[moduleName], key, value);
        else if (section == "faults")
            ok = setFaultKey(sim.faults(currentInterface()), key, value);
        else if (section == "memory") {
            const long block = blockKey(key);
            if (block >= 0)
                ok = parseBlock(value, sim.block(static_cast<std::size_t>(block), currentInterface()));
        }
        if (!ok)
            return fail("cannot use \"" + line + "\" in [" + section + "]");
    }
    return true;
}

bool loadScenario(Simulator& sim, const std::wstring& path, std::string* error)
{
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) {
        if (error)
            *error = "cannot open the scenario file";
        return false;
    }
    std::string text;
    char chunk[4096];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof(chunk), file)) > 0)
        text.append(chunk, got);
    std::fclose(file);
    return loadScenarioText(sim, text, error);
}

} // namespace qlvsim
