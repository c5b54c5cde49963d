#include "dialogs/settings_value_tables.h"

namespace {

constexpr long kBaudRates[] = {110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 128000, 256000};
constexpr long kParities[] = {0, 2, 1, 3, 4};
constexpr long kStopBits[] = {0, 1, 2};
constexpr long kNetworks[] = {1, 2, 3, 4};
constexpr long kPlatforms[] = {1, 2, 5, 3, 4, 6, 7, 10, 8, 9};
constexpr long kCountries[] = {1, 32, 2, 45, 358, 33, 49, 31, 39, 47, 34, 46, 41, 44};
constexpr long kLanguages[] = {0, 49, 1, 34, 33, 39, 351, 358, 46};
constexpr long kEmulations[] = {11, 1, 2, 10, 3, 4, 5, 6, 7, 12, 8, 9};
constexpr long kCharsets[] = {1, 2, 3, 4};
constexpr long kModels3270[] = {16, 17, 18, 19, 20, 21, 22, 23};
constexpr long kNationalSets[] = {5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23};

template <std::size_t N>
constexpr SettingsValueTable Table(int baseId, const long (&values)[N])
{
    return {baseId, values, N};
}

}  // namespace

int SettingsValueTable::IndexOf(long value) const
{
    for (std::size_t i = 0; i < count; ++i)
        if (values[i] == value) return static_cast<int>(i);
    return -1;
}

long SettingsValueTable::ValueAt(int index, long keep) const
{
    return index >= 0 && static_cast<std::size_t>(index) < count ? values[index] : keep;
}

const SettingsValueTable kBaudRateTable = Table(800, kBaudRates);
const SettingsValueTable kParityTable = Table(816, kParities);
const SettingsValueTable kStopBitsTable = Table(832, kStopBits);
const SettingsValueTable kNetworkTable = Table(1250, kNetworks);
const SettingsValueTable kPlatformTable = Table(1360, kPlatforms);
const SettingsValueTable kCountryTable = Table(1306, kCountries);
const SettingsValueTable kLanguageTable = Table(1330, kLanguages);
const SettingsValueTable kEmulationTable = Table(1402, kEmulations);
const SettingsValueTable kCharsetTable = Table(1280, kCharsets);
const SettingsValueTable kModel3270Table = Table(1430, kModels3270);
const SettingsValueTable kNationalTable = Table(1284, kNationalSets);
