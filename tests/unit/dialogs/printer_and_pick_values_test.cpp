// The terminal printers' values and offered names, and the names "Pick a string" offers.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "dialogs/pick_string_values.h"
#include "dialogs/terminal_printer_values.h"

namespace {

constexpr const char* kDefault = "Windows Default Printer";

TEST(TerminalPrinterValues, StoredCharsetsShowAsTheThreeChoicesAndOthersAreKept)
{
    const struct {
        int stored, shown;
    } cases[] = {{0, 0}, {3, 1}, {4, 2}, {1, -1}, {2, -1}, {5, -1}, {-1, -1}};
    for (const auto& c : cases) {
        auto rec = std::make_unique<SettingsRecord>();
        std::memset(static_cast<void*>(rec.get()), 0, sizeof *rec);
        DocumentStrings strings;
        rec->TermPrt2Xlate = c.stored;
        TerminalPrinterValues v = TerminalPrinterValuesFrom(*rec, strings);
        EXPECT_EQ(v.charset[1], c.shown) << c.stored;
        StoreTerminalPrinterValues(v, *rec, strings);
        EXPECT_EQ(rec->TermPrt2Xlate, c.stored) << "kept on OK";
    }
    EXPECT_EQ(PrinterCharsetSetting(0, 4), 0);
    EXPECT_EQ(PrinterCharsetSetting(1, 0), 3);
    EXPECT_EQ(PrinterCharsetSetting(2, 0), 4);
}

TEST(TerminalPrinterValues, EachPrinterKeepsItsOwnValues)
{
    auto rec = std::make_unique<SettingsRecord>();
    std::memset(static_cast<void*>(rec.get()), 0, sizeof *rec);
    DocumentStrings strings;
    TerminalPrinterValues v;
    v.name[0] = "LPT1:", v.name[1] = kDefault, v.name[2] = "Office, WINSPOOL,Ne00:";
    v.charset[0] = 2, v.charset[1] = 0, v.charset[2] = 1;
    v.delaySpool[0] = 0, v.delaySpool[1] = 250, v.delaySpool[2] = 10000;
    StoreTerminalPrinterValues(v, *rec, strings);
    EXPECT_EQ(strings.Printer1, "LPT1:");
    EXPECT_EQ(strings.Printer2, kDefault);
    EXPECT_EQ(strings.Printer3, "Office, WINSPOOL,Ne00:");
    EXPECT_EQ(rec->TermPrt1Xlate, 4);
    EXPECT_EQ(rec->TermPrt2Xlate, 0);
    EXPECT_EQ(rec->TermPrt3Xlate, 3);
    EXPECT_EQ(rec->DelaySpool1, 0);
    EXPECT_EQ(rec->DelaySpool2, 250);
    EXPECT_EQ(rec->DelaySpool3, 10000);
}

TEST(TerminalPrinterValues, NameChoices)
{
    const std::string longValue(300, 'v');  // longer than any fixed buffer: listed whole
    const std::vector<PrinterDevice> devices = {
        {"Laser", std::string("WINSPOOL,LPT1:")},
        {"Broken", std::nullopt},
        {"Wide", longValue},
    };
    using Names = std::vector<std::string>;
    const Names all = {"Laser, WINSPOOL,LPT1:", "Broken, driver entry not found", "Wide, " + longValue};
    auto with = [&all](Names head) {
        head.insert(head.end(), all.begin(), all.end());
        return head;
    };
    EXPECT_EQ(PrinterNameChoices("", kDefault, devices), with({kDefault}));
    EXPECT_EQ(PrinterNameChoices("windows default PRINTER", kDefault, devices), with({kDefault}));
    EXPECT_EQ(PrinterNameChoices("LPT2:", kDefault, devices), with({kDefault, "LPT2:"}));
    // The current name is a device's entry already: listed once, in its place.
    EXPECT_EQ(PrinterNameChoices("laser, winspool,lpt1:", kDefault, devices),
              Names({kDefault, "laser, winspool,lpt1:", "Broken, driver entry not found", "Wide, " + longValue}));
    EXPECT_EQ(PrinterNameChoices("x", kDefault, {}), Names({kDefault, "x"}));
}

TEST(PickStringValues, PcKeysWithoutModifiersOrTerminalKeyNames)
{
    KeyMap map;
    auto add = [&map](uint16_t code, const char* name) {
        auto entry = std::make_unique<KeyMapEntry>();
        entry->SetName(name);
        entry->SetModifiers(code & kModifierBits);
        map.SetEntry(code, std::move(entry));
    };
    add(0x70, "F1");
    add(0x70 | kCtrlBit, "CtrlOnly");
    add(0x71 | kShiftBit, "ShiftOnly");
    add(0x72 | kAltBit, "AltOnly");
    add(0x73, "");
    add(0x124, "Home");  // extended key, no modifier
    KeyDefTable defs;
    defs.SetAt(std::make_unique<KeyDefEntry>("PF1", "<esc>OP"));
    defs.SetAt(std::make_unique<KeyDefEntry>("", "x"));
    defs.SetAt(std::make_unique<KeyDefEntry>("Do", "<esc>[29~"));

    EXPECT_EQ(PickStringChoices(&map, &defs, true), (std::vector<std::string>{"F1", "Home"}));
    EXPECT_EQ(PickStringChoices(&map, &defs, false), (std::vector<std::string>{"Do", "PF1"}));
    EXPECT_TRUE(PickStringChoices(nullptr, nullptr, true).empty());
    EXPECT_TRUE(PickStringChoices(nullptr, nullptr, false).empty());
}

}  // namespace
