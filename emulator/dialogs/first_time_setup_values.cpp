#include "dialogs/first_time_setup_values.h"

#include "dialogs/terminal_settings_values.h"
#include "engine/charsets.h"

namespace {

constexpr long kFirstModel = 16;

int32_t Chosen(long value, int32_t keep) { return value != 0 ? static_cast<int32_t>(value) : keep; }

}  // namespace

FirstTimeLists FirstTimeListsFor(bool family3270, const SettingsRecord& rec)
{
    if (family3270)
        return {{&kPlatformTable, kMainframePlatform},
                {&kModel3270Table, kFirstModel},
                {&kNationalTable, NationalSetForCountry(rec.Country) + 4}};
    return {{&kPlatformTable, rec.Platform}, {&kEmulationTable, rec.Terminal}, {&kCharsetTable, rec.Charset}};
}

FirstTimeSetupValues FirstTimeValuesFrom(const SettingsRecord& rec)
{
    FirstTimeSetupValues v;
    v.family3270 = rec.TerminalFamily3270 ? 1 : 0;
    const FirstTimeLists lists = FirstTimeListsFor(v.family3270 != 0, rec);
    v.platform = lists.platform.selected;
    v.terminal = lists.terminal.selected;
    v.charset = lists.charset.selected;
    return v;
}

FirstTimeChanges StoreFirstTimeValues(const FirstTimeSetupValues& v, SettingsRecord& rec)
{
    FirstTimeChanges changes;
    rec.TerminalFamily3270 = v.family3270 ? 1 : 0;
    const int32_t platform = Chosen(v.platform, rec.Platform);
    if (v.family3270) {
        changes.emulationFiles = true;
        rec.Platform = platform;
        rec.Terminal3270 = Chosen(v.terminal, rec.Terminal3270);
        rec.Charset3270 = Chosen(v.charset, rec.Charset3270);
        rec.MaxRows = 24;
        return changes;
    }
    const int32_t terminal = Chosen(v.terminal, rec.Terminal);
    const int32_t charset = Chosen(v.charset, rec.Charset);
    changes.emulationFiles = platform != rec.Platform || terminal != rec.Terminal;
    changes.translateTables = charset != rec.Charset;
    rec.Platform = platform;
    rec.Terminal = terminal;
    rec.Charset = charset;
    rec.MaxRows = RowsChoiceForEmulation(terminal) ? 25 : 24;
    return changes;
}
