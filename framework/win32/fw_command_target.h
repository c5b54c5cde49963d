// A link of the command route: command handlers and update handlers by command id. Frames route a
// command through the active view, its document, the frame and the application, in that order;
// the first link that handles the id runs it.
#pragma once

#include <functional>
#include <map>

#include "fw_frame.h"

class FwCommandTarget {
public:
    virtual ~FwCommandTarget() = default;
    void OnCommand(int id, std::function<void()> handler) { commands_[id] = std::move(handler); }
    void OnUpdateCommand(int id, std::function<void(FwCmdUI&)> handler) { updates_[id] = std::move(handler); }
    // Whether this link has a handler or an update handler for the id.
    bool Handles(int id) const { return commands_.count(id) > 0 || updates_.count(id) > 0; }
    // Fills `ui` when this link handles the id (enabled when it has a command handler and no
    // update handler says otherwise); false when it does not.
    bool UpdateCommand(int id, FwCmdUI& ui) const;
    // Runs the handler; false when there is none.
    bool RunCommand(int id) const;

private:
    std::map<int, std::function<void()>> commands_;
    std::map<int, std::function<void(FwCmdUI&)>> updates_;
};
