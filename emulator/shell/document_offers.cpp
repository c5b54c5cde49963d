// Offering an emulation's default data files after the emulation, platform or country changed.
#include "session/messages.h"
#include "engine/ibm3270/ebcdic_tables.h"
#include "engine/charsets.h"
#include "shell/record_defaults.h"
#include "shell/session_document.h"

namespace {

struct Named {
    int code;
    const char* name;
};

constexpr Named kTerminalNames[] = {
    {1, "DEC vt100"}, {2, "DEC vt220"}, {3, "Motorola tm220"}, {4, "SCO Console ansi"},
    {5, "V.4 Console at386"}, {6, "ANSI X3.64 uterm"}, {7, "Teletype dumb"}, {8, "WYSE 60 PC kbd"},
    {9, "WYSE 60 ASCII kbd"}, {10, "DEC vt320"}, {11, "ADDS viewpoint"}, {12, "WYSE 50"},
    {16, "IBM-3278-2"}, {17, "IBM-3278-3"}, {18, "IBM-3278-4"}, {19, "IBM-3278-5"},
    {20, "IBM-3279-2"}, {21, "IBM-3279-3"}, {22, "IBM-3279-4"}, {23, "IBM-3279-5"},
};

constexpr Named kPlatformNames[] = {
    {1, "SCO"}, {2, "AIX 3.2"}, {3, "UNIX V.4"}, {4, "Solaris"}, {5, "AIX 4"},
    {6, "DEC UNIX (OSF/1)"}, {7, "HP/UX"}, {8, "Other (V.4)"}, {9, "IBM Mainframe"}, {10, "Linux"},
};

constexpr Named kCountryNames[] = {
    {1, "United States"}, {2, "Canada (French)"}, {31, "Netherlands"}, {32, "Belgium"},
    {33, "France"}, {34, "Spain"}, {39, "Italy"}, {41, "Switzerland"}, {44, "United Kingdom"},
    {45, "Denmark"}, {46, "Sweden"}, {47, "Norway"}, {49, "Germany"}, {358, "Finland"},
};

template <std::size_t N>
std::string NameOf(const Named (&table)[N], int code)
{
    for (const Named& n : table) {
        if (n.code == code) return n.name;
    }
    return std::to_string(code);
}

std::string WithNames(int message, const std::string& first, const std::string& second)
{
    std::string text = MessageText(message);
    const std::size_t one = text.find("%1");
    if (one != std::string::npos) text.replace(one, 2, first);
    const std::size_t two = text.find("%2");
    if (two != std::string::npos) text.replace(two, 2, second);
    return text;
}

}  // namespace

int CZolexDoc::OfferEmulationDefaults()
{
    const SettingsRecord& rec = *record;
    const std::string terminal = NameOf(kTerminalNames, rec.TerminalFamily3270 ? rec.Terminal3270 : rec.Terminal);
    const std::string platform = NameOf(kPlatformNames, rec.Platform);
    if (Prompts().Ask(67, WithNames(67, terminal, platform), kMsgYesNo | kMsgIconQuestion) != kAnswerYes) return 0;
    LoadKeyDefFile(keyDefs, true);
    KeyDefChanged = 1;
    RefreshHotspotStrings();
    LoadKeyMapFile(keyMap, true);
    KeyMapChanged = 1;
    if (InstallButtonFile(true, true) != 0) ButtonsChanged = 1;
    if (Site()) Site()->UpdateAllViews();
    SetModifiedFlag(true);
    return 1;
}

int CZolexDoc::OfferTranslateDefaults()
{
    SettingsRecord& rec = *record;
    const std::string country = NameOf(kCountryNames, rec.Country);
    if (Prompts().Ask(68, WithNames(68, country, ""), kMsgYesNo | kMsgIconQuestion) != kAnswerYes) return 0;
    if (rec.TerminalFamily3270) {
        rec.Charset3270 = 4 + NationalSetForCountry(rec.Country);
        Build3270CodeTables(rec.Charset3270 - 5, CodeTableColumnForFont(rec.CurrentFont.CharSet));
    } else {
        LoadTranslateTables(tables->Outgoing, tables->Incoming, true);
        TranslateChanged = 1;
        SetModifiedFlag(true);
    }
    return 1;
}
