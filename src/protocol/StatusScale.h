#pragma once
// What the module's status numbers mean as readings, for every place that shows them: the signal
// level on its 0-31 scale, where 99 and above mean "not known", and the temperature, which the
// module reports as -60 or below when it has no reading.
#include <cstdint>
#include <optional>

namespace kes {

constexpr std::int32_t fullSignalLevel = 31;
constexpr std::int32_t unknownSignalFrom = 99;
constexpr std::int32_t noTemperatureAtOrBelow = -60;

// Percent of full strength, truncated (15 gives 48); nothing when the module does not know it.
constexpr std::optional<int> signalPercent(std::int32_t signalLevel)
{
    if (signalLevel < 0 || signalLevel >= unknownSignalFrom)
        return std::nullopt;
    return static_cast<int>(signalLevel / static_cast<double>(fullSignalLevel) * 100.0);
}

// Degrees; nothing when the module has no reading.
constexpr std::optional<int> temperatureReading(std::int32_t temperature)
{
    if (temperature <= noTemperatureAtOrBelow)
        return std::nullopt;
    return static_cast<int>(temperature);
}

} // namespace kes
