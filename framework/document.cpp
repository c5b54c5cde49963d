#include "document.h"

bool FwDocument::OnNewDocument()
{
    path_.clear();
    modified_ = false;
    SetTitle("Untitled");
    return true;
}

bool FwDocument::OnOpenDocument(const std::string&) { return true; }

bool FwDocument::OnSaveDocument(const std::string&)
{
    modified_ = false;
    return true;
}

void FwDocument::SetTitle(const char* title)
{
    title_ = title ? title : "";
    if (site_) site_->SetFrameTitle(title_);
}

void FwDocument::SetPathName(const std::string& path, bool addToRecent)
{
    path_ = path;
    const std::size_t separator = path.find_last_of("\\/");
    SetTitle(separator == std::string::npos ? path.c_str() : path.c_str() + separator + 1);
    if (addToRecent && site_) site_->AddToRecentFiles(path);
}

bool FwDocument::SaveModified()
{
    if (!modified_ || !site_) return true;
    switch (site_->AskSaveChanges(title_)) {
    case 6: return DoFileSave();
    case 7: return true;
    default: return false;
    }
}

bool FwDocument::DoFileSave()
{
    if (path_.empty()) return DoSaveAs();
    return OnSaveDocument(path_);
}

bool FwDocument::DoSaveAs()
{
    if (!site_) return false;
    const std::string path = site_->AskSavePath(path_.empty() ? title_ : path_);
    return !path.empty() && SaveDocumentAs(path);
}
