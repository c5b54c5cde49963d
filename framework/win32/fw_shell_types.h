// Registers a document type with the shell for the current user: the extension names the file
// type, and the type's open command starts the program with the file. No print commands.
#pragma once

#include <string>

struct FwShellFileType {
    const char* extension;  // ".wcf"
    const char* typeId;     // "TolviSession"
    const char* typeName;   // "Tolvi session"
    // With an application name, the shell opens files in a running program by DDE (topic
    // "System", [open("path")]; see FwShellOpen) before it starts a new one.
    const char* ddeApplication = nullptr;
};

// Returns false when a registry value could not be written.
bool FwRegisterShellFileType(const FwShellFileType& type, const std::string& programPath);
