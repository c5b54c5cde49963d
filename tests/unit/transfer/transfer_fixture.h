// The common set-up of the transfer tests: a cleared session record on a Telnet connection, the
// scripted libraries with a port to give, the scripted host, a sink transport and a view.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "connections/transfer_driver.h"
#include "session/session_record.h"
#include "transfer_fakes.h"

class TransferFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memset(Rec, 0, sizeof(SettingsRecord));
        Rec->ComType = kTelnet;
        Rec->AXferConfirmError = 1;
        Rec->KermitParms.PacketLength = 94;
        Calls().clear();
        Transfer() = TransferState{};
        libs = ScriptedLibraries{};
        host = ScriptedHost{};
        libs.Script("open", {3});
        InstallTransferLibraries(&libs);
        SetTransferHost(&host);
        SetTransport(kTelnet, &sink);
        SetConnectionView(&view);
    }
    void TearDown() override
    {
        InstallTransferLibraries(nullptr);
        SetTransferHost(nullptr);
        SetTransport(kTelnet, nullptr);
        SetConnectionView(nullptr);
    }

    ScriptedLibraries libs;
    ScriptedHost host;
    SinkTransport sink;
    WindowedView view;
};
