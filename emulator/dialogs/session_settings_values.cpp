#include "dialogs/session_settings_values.h"

#include <climits>
#include <cstring>

namespace {

template <std::size_t N>
void StoreText(char (&field)[N], const std::string& text)
{
    const std::size_t n = text.copy(field, N - 1);
    std::memset(field + n, 0, N - n);
}

template <std::size_t N>
std::string TextOf(const char (&field)[N])
{
    return std::string(field, strnlen(field, N - 1));
}

std::string Cut(const std::string& text, std::size_t limit) { return text.substr(0, limit); }

using Pair = std::string DocumentStrings::*;
constexpr Pair kAutoHost[kAutoLoginPairs] = {&DocumentStrings::AutoHost0, &DocumentStrings::AutoHost1,
    &DocumentStrings::AutoHost2, &DocumentStrings::AutoHost3, &DocumentStrings::AutoHost4,
    &DocumentStrings::AutoHost5, &DocumentStrings::AutoHost6};
constexpr Pair kAutoUser[kAutoLoginPairs] = {&DocumentStrings::AutoUser0, &DocumentStrings::AutoUser1,
    &DocumentStrings::AutoUser2, &DocumentStrings::AutoUser3, &DocumentStrings::AutoUser4,
    &DocumentStrings::AutoUser5, &DocumentStrings::AutoUser6};

}  // namespace

AutoLoginValues AutoLoginValuesFrom(const SettingsRecord& rec, const DocumentStrings& strings)
{
    AutoLoginValues v;
    for (int i = 0; i < kAutoLoginPairs; ++i) {
        v.waitFor[i] = strings.*kAutoHost[i];
        v.reply[i] = strings.*kAutoUser[i];
    }
    v.enable = rec.AutoLogin;
    v.sendCr = rec.AutoLoginCR;
    v.sendWakeup = rec.SendWakeup;
    v.lockKeyboard = rec.LockKbdAutoLogin;
    v.blankScreen = rec.BlankAutoLogin;
    v.displayOn = TextOf(rec.EnableDisplay);
    return v;
}

void StoreAutoLoginValues(const AutoLoginValues& v, SettingsRecord& rec, DocumentStrings& strings)
{
    for (int i = 0; i < kAutoLoginPairs; ++i) {
        strings.*kAutoHost[i] = Cut(v.waitFor[i], kAutoLoginTextLimit);
        strings.*kAutoUser[i] = Cut(v.reply[i], kAutoLoginTextLimit);
    }
    rec.AutoLogin = v.enable;
    rec.AutoLoginCR = v.sendCr;
    rec.SendWakeup = v.sendWakeup;
    rec.LockKbdAutoLogin = v.lockKeyboard;
    rec.BlankAutoLogin = v.blankScreen;
    StoreText(rec.EnableDisplay, v.displayOn);
}

HostEnvValues HostEnvValuesFrom(const SettingsRecord& rec) { return {rec.UnixEnvEnable, TextOf(rec.UnixEnv)}; }

std::string HostEnvSettingText(const std::string& table)
{
    std::string text;
    for (std::size_t i = 0; i < table.size() && text.size() < kHostEnvLimit; ++i) {
        const char c = table[i];
        if (c == '\r' && i + 1 < table.size() && table[i + 1] == '\n') continue;  // CR LF is one break
        text += (c == '\r' || c == '\n') ? ' ' : c;
    }
    return text;
}

void StoreHostEnvValues(const HostEnvValues& v, SettingsRecord& rec)
{
    static_assert(sizeof(rec.UnixEnv) == kHostEnvLimit + 1, "the environment setting holds 255 bytes");
    rec.UnixEnvEnable = v.enable;
    StoreText(rec.UnixEnv, HostEnvSettingText(v.table));
}

FileTransferCmdValues FileTransferCmdValuesFrom(const SettingsRecord& rec, const DocumentStrings& strings)
{
    return {strings.FtpCommand, strings.FtpDirectory, rec.FtpEnable, rec.XferType};
}

void StoreFileTransferCmdValues(const FileTransferCmdValues& v, SettingsRecord& rec, DocumentStrings& strings)
{
    strings.FtpCommand = Cut(v.command, kFtpCommandLimit);
    strings.FtpDirectory = Cut(v.directory, kFtpCommandLimit);
    rec.FtpEnable = v.enable;
    if (v.protocol >= 0) rec.XferType = v.protocol;
}

MultimediaValues MultimediaValuesFrom(const SettingsRecord& rec)
{
    MultimediaValues v;
    v.errorReply = rec.MciErrorReply;
    v.okReply = rec.MciOkReply;
    v.dataReply = rec.MciDataReply;
    v.showError = rec.MciShowError;
    v.waitIfBusy = rec.MciWaitIfBusy < 0 ? 0u : static_cast<unsigned>(rec.MciWaitIfBusy);
    return v;
}

void StoreMultimediaValues(const MultimediaValues& v, SettingsRecord& rec)
{
    rec.MciErrorReply = v.errorReply;
    rec.MciOkReply = v.okReply;
    rec.MciDataReply = v.dataReply;
    rec.MciShowError = v.showError;
    rec.MciWaitIfBusy = v.waitIfBusy > static_cast<unsigned>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(v.waitIfBusy);
}
