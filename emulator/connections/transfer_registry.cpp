// The installed transfer libraries and transfer host.
#include "connections/transfer_host.h"
#include "connections/transfer_libraries.h"

namespace {

TransferLibraries* libraries = nullptr;
TransferHost quietHost;
TransferHost* host = &quietHost;

}  // namespace

TransferLibraries* InstalledTransferLibraries() { return libraries; }
void InstallTransferLibraries(TransferLibraries* installed) { libraries = installed; }

TransferHost& XferHost() { return *host; }
void SetTransferHost(TransferHost* installed) { host = installed ? installed : &quietHost; }
