// The document of our application framework: a path, a title and a modified mark, with the hooks
// a program overrides. Window-free: what a document needs of its frame it asks the site that the
// frame installs (none until a window exists).
#pragma once

#include <string>

// What a document may ask of the window that shows it.
class FwDocumentSite {
public:
    virtual ~FwDocumentSite() = default;
    virtual std::string FrameTitle() = 0;
    virtual void SetFrameTitle(const std::string& text) = 0;
    virtual void UpdateAllViews() = 0;
    virtual void AddToRecentFiles(const std::string& path) = 0;
    virtual void SetStatusText(int pane, const std::string& text) = 0;
    virtual void SetWaitCursor(bool on) = 0;
    virtual void PostCommand(int command) = 0;
    // "Save changes to <title>?": 6 yes, 7 no, 2 cancel (the platform's answer values).
    virtual int AskSaveChanges(const std::string& title) = 0;
    // The name to save the document under, proposing `proposal`; empty when the user cancels.
    virtual std::string AskSavePath(const std::string& proposal) = 0;
};

class FwDocument {
public:
    virtual ~FwDocument() = default;

    // File/New: an untitled, unmodified document.
    virtual bool OnNewDocument();
    virtual bool OnOpenDocument(const std::string& path);
    virtual bool OnSaveDocument(const std::string& path);
    virtual void SetTitle(const char* title);
    virtual bool IsModified() const { return modified_; }
    virtual void SetModifiedFlag(bool modified = true) { modified_ = modified; }
    // Whether the frame may close; by default after SaveModified.
    virtual bool CanCloseFrame() { return SaveModified(); }
    // Whether the document may be dropped: an unmodified one may; a modified one asks whether to
    // save it first (Yes saves, No drops the changes, Cancel keeps the document).
    virtual bool SaveModified();
    // File/Save: into the document's file; an untitled document asks for a name first, as File/Save
    // As does. False when nothing was saved.
    bool DoFileSave();
    // File/Save As: asks for a name, then saves under it (SaveDocumentAs). False when cancelled or
    // not saved.
    bool DoSaveAs();
    // Saving under a name the user chose.
    virtual bool SaveDocumentAs(const std::string& path) { return OnSaveDocument(path); }

    const std::string& GetPathName() const { return path_; }
    // Sets the path and, as title, its file-name part; optionally enters it in the recent files.
    void SetPathName(const std::string& path, bool addToRecent = true);
    const std::string& GetTitle() const { return title_; }

    void SetSite(FwDocumentSite* site) { site_ = site; }
    FwDocumentSite* Site() const { return site_; }

protected:
    // Keeps the title without showing it, for a document that builds the frame's title itself.
    void KeepTitle(const std::string& title) { title_ = title; }

private:
    std::string path_;
    std::string title_;
    bool modified_ = false;
    FwDocumentSite* site_ = nullptr;
};
