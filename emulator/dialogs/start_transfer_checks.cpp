#include "dialogs/start_transfer_checks.h"

#include "dialogs/transfer_protocol_settings.h"

namespace {

bool EndsInSeparator(const std::string& path) { return !path.empty() && (path.back() == '\\' || path.back() == '/'); }

TransferFileCheck Refuse(const std::string& message) { return {TransferFileCheck::kRefuse, message}; }

}  // namespace

std::string StartTransferCaption(int protocol) { return std::string("Async protocol is: ") + AsyncProtocolName(protocol); }

StartTransferButtons StartTransferButtonsFor(int protocol, bool transferRunning, bool configAllowed, bool asyncLocked)
{
    const bool kermit = protocol == kProtocolKermit;
    return {kermit, kermit && !transferRunning, transferRunning, configAllowed && !asyncLocked};
}

TransferFileCheck CheckSendFile(const std::string& path, TransferFileProbe& probe)
{
    if (!path.empty() && probe.Readable(path)) return {};
    return Refuse("File " + path + ": not available");
}

TransferFileCheck CheckReceiveFile(const std::string& path, int protocol, TransferFileProbe& probe)
{
    // A folder alone (or nothing) leaves the name to the sender, which the X-Modem family cannot
    // tell.
    if (ProtocolCarriesNoFileName(protocol) && (path.empty() || EndsInSeparator(path)))
        return Refuse("Specify full receive filename");
    if (path.empty()) return {};
    if (EndsInSeparator(path)) {
        if (probe.IsDirectory(path)) return {};
        return Refuse("Directory " + path + ": must exist");
    }
    if (!probe.Exists(path)) return {};
    if (!probe.Writable(path)) return Refuse("File " + path + ": has no write permission");
    if (probe.IsDirectory(path)) return Refuse(path + " is a Directory.");
    return {TransferFileCheck::kConfirm, "File " + path + ": exists, overwrite?"};
}

TransferFileCheck CheckRemoteFile(const std::string& remote)
{
    if (!remote.empty()) return {};
    return Refuse("Specify a remote file to get");
}
