// A document site without a window: records what the document asks of its frame.
#pragma once

#include <string>
#include <vector>

#include "document.h"

class FakeSite : public FwDocumentSite {
public:
    std::string FrameTitle() override { return title; }
    void SetFrameTitle(const std::string& text) override
    {
        title = text;
        ++titleChanges;
    }
    void UpdateAllViews() override { ++viewUpdates; }
    void AddToRecentFiles(const std::string& path) override { recent.push_back(path); }
    void SetStatusText(int pane, const std::string& text) override { status.push_back(std::to_string(pane) + ":" + text); }
    void SetWaitCursor(bool) override {}
    void PostCommand(int command) override { commands.push_back(command); }
    int AskSaveChanges(const std::string& name) override
    {
        asked.push_back(name);
        return answer;
    }
    std::string AskSavePath(const std::string& proposal) override
    {
        proposals.push_back(proposal);
        return savePath;
    }

    std::string title;
    int titleChanges = 0;
    int viewUpdates = 0;
    int answer = 7;
    std::string savePath;  // the name the file dialog gives, "" for Cancel
    std::vector<std::string> recent, status, asked, proposals;
    std::vector<int> commands;
};
