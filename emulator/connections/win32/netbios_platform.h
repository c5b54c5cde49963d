// The platform's Netbios call (NETAPI32) behind the NetBIOS session: NCBs of the session are
// carried in the platform's own records, and completions come back through the post routine.
#pragma once

class NetbiosPlatform;

// The platform's Netbios call and the services around it.
NetbiosPlatform& Win32Netbios();

// Installs the NetBIOS transport over the platform's Netbios call as connection type 1.
void InstallWin32NetbiosTransport();
