// The session's DDE server: service DdeServerServiceName with the session topic
// DdeServerTopicName, whose text items "tohost", "tohostx", "gettxt" and "txtret" let other
// applications send text to the host, run action strings and read the screen.
#pragma once

#include "connections/dde/win32/dde_library.h"

class DdeCommandItem : public CDDEStringItem {
public:
    void OnPoke() override;
};

class DdeCommandTopic : public CDDETopic {
public:
    BOOL Exec(const void* data, DWORD size) override;
};

class TerminalDdeServer : public CDDEServer {
public:
    BOOL OnCreate() override;
    void Status(const char* format, ...) override;

    DdeCommandItem& TxtRet() { return txtRet_; }

private:
    DdeCommandTopic topic_;
    DdeCommandItem toHost_;
    DdeCommandItem toHostX_;
    DdeCommandItem getTxt_;
    DdeCommandItem txtRet_;
};

// Creates the server when DdeServerEnable is on; the result tells whether Create succeeded (0
// when the setting is off).
int DdeServerStart();
// Shuts the server down and destroys it (the main window's destruction, the program's exit);
// nothing when none exists.
void ShutdownDdeServer();
// The server, or null.
TerminalDdeServer* SessionDdeServer();
