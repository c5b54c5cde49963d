// The session document: the configuration of one Tolvi session. It keeps the setting strings
// that are not record fields, the keyboard tables and the changed marks of the per-emulation
// files; it sets the defaults, opens and saves the configuration with its data files, applies the
// command line once and builds the window title.
//
// Window-free: the window it shows in is reached through the framework document's site.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "session/key_tables.h"
#include "document.h"
#include "session/document_strings.h"
#include "session/session_record.h"
#include "session/translate_tables.h"

class CZolexDoc : public FwDocument {
public:
    CZolexDoc();
    ~CZolexDoc() override;

    // ---- Framework hooks.
    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;
    void SetTitle(const char* title) override;
    bool CanCloseFrame() override;
    bool SaveModified() override;
    // Saving under a new name writes the data files under it too.
    bool SaveDocumentAs(const std::string& path) override;

    // Defaults of the record and the strings; the session's data files when no start-up
    // configuration is pending. 1 or 0 (no memory for the screen).
    int InitDefaults();
    // The configuration file: write 1 writes it, 0 reads it. 1 success, 0 failure.
    int SerializeConfigFile(const std::string& file, bool write);
    // The command-line options, once. 0 done, -1 failed (StartupFailed set).
    int ApplyCommandLine();
    // After the emulation or platform changed: offers the emulation's default key files and
    // buttons (message 67). After the country or character set changed: the default translate
    // tables (message 68). 1 loaded, 0 declined.
    int OfferEmulationDefaults();
    int OfferTranslateDefaults();
    // The window title text from the settings and the stored configuration title.
    std::string BuildTitleText() const;

    // ---- Per-emulation data files (results are C-runtime error numbers, 0 on success).
    // Names: defaultFile true gives the emulation's default in the program folder.
    std::string GetKeyDefFileName(bool defaultFile) const;
    std::string GetKeyMapFileName(bool defaultFile) const;
    std::string GetTranslateFileName(bool defaultFile) const;
    std::string GetButtonFileName(bool defaultFile) const;
    std::string GetDynHotspotFileName(bool defaultFile) const;
    std::string GetHotScreenFileName(bool defaultFile) const;

    int LoadKeyDefFile(KeyDefTable& table, bool defaultFile);
    int SaveKeyDefFile(const std::string& file);
    int LoadKeyMapFile(KeyMap& map, bool defaultFile);
    int SaveKeyMapFile(const std::string& file);
    int LoadTranslateTables(uint8_t* outgoing, uint8_t* incoming, bool defaultFile);
    int SaveTranslateTables(const std::string& file);
    int InstallButtonFile(bool defaultFile, bool announce);
    int DefineTerminalKey(const std::string& name, const std::string& text);
    void RefreshHotspotStrings();
    // The name of terminal printer 1, 2 or 3 (document strings Printer1-3); empty for any other
    // number. Host-controlled printing prints there.
    std::string GetPrinterName(int printer) const;

    // ---- State.
    DocumentStrings strings;
    bool HotOptionGiven = false;
    KeyMap keyMap;
    KeyDefTable keyDefs;
    int HotspotsChanged = 0, KeyMapChanged = 0, KeyDefChanged = 0, TranslateChanged = 0,
        ButtonsChanged = 0;
    int docWidth = 800, docHeight = 168;

    // The record and tables the document works on (the session's by default; tests use their own).
    SettingsRecord* record;
    TranslateTables* tables;

private:
    int OpenForReading(const std::string& sessionName, const std::string& defaultName,
                       std::FILE** file, std::string& opened, int openMessage);
    void ReloadEmulationDefaults();
    void LoadSessionDataFiles();

    std::string storedTitle_;
};

// The one session document (none before start-up creates it).
CZolexDoc* GetSessionDoc();
void SetSessionDoc(CZolexDoc* doc);
