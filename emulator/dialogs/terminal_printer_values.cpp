#include "dialogs/terminal_printer_values.h"

#include <algorithm>
#include <cctype>

#include "dialogs/setting_text.h"

namespace {

constexpr int kCharsetSettings[] = {0, 3, 4};

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

template <typename Record>
auto& CharsetField(Record& rec, int printer)
{
    return printer == 0 ? rec.TermPrt1Xlate : printer == 1 ? rec.TermPrt2Xlate : rec.TermPrt3Xlate;
}

template <typename Record>
auto& DelayField(Record& rec, int printer)
{
    return printer == 0 ? rec.DelaySpool1 : printer == 1 ? rec.DelaySpool2 : rec.DelaySpool3;
}

template <typename Strings>
auto& NameField(Strings& strings, int printer)
{
    return printer == 0 ? strings.Printer1 : printer == 1 ? strings.Printer2 : strings.Printer3;
}

}  // namespace

int PrinterCharsetChoice(int stored)
{
    for (int i = 0; i < 3; ++i)
        if (kCharsetSettings[i] == stored) return i;
    return -1;
}

int PrinterCharsetSetting(int choice, int stored) { return choice >= 0 && choice < 3 ? kCharsetSettings[choice] : stored; }

TerminalPrinterValues TerminalPrinterValuesFrom(const SettingsRecord& rec, const DocumentStrings& strings)
{
    TerminalPrinterValues v;
    for (int i = 0; i < kTerminalPrinters; ++i) {
        v.name[i] = NameField(strings, i);
        v.charset[i] = PrinterCharsetChoice(CharsetField(rec, i));
        v.delaySpool[i] = DelayField(rec, i);
    }
    return v;
}

void StoreTerminalPrinterValues(const TerminalPrinterValues& v, SettingsRecord& rec, DocumentStrings& strings)
{
    for (int i = 0; i < kTerminalPrinters; ++i) {
        NameField(strings, i) = DocumentStringText(v.name[i]);
        CharsetField(rec, i) = PrinterCharsetSetting(v.charset[i], CharsetField(rec, i));
        DelayField(rec, i) = v.delaySpool[i];
    }
}

std::vector<std::string> PrinterNameChoices(const std::string& current, const std::string& defaultName,
                                            const std::vector<PrinterDevice>& devices)
{
    std::vector<std::string> names{defaultName};
    if (!current.empty() && !SameText(current, defaultName)) names.push_back(current);
    for (const PrinterDevice& device : devices) {
        const std::string entry = device.first + ", " + device.second.value_or("driver entry not found");
        const bool listed =
            std::any_of(names.begin(), names.end(), [&entry](const std::string& name) { return SameText(name, entry); });
        if (!listed) names.push_back(entry);
    }
    return names;
}
