#include "fw_command_target.h"

bool FwCommandTarget::UpdateCommand(int id, FwCmdUI& ui) const
{
    if (!Handles(id))
        return false;
    ui.id = id;
    ui.enabled = commands_.count(id) > 0;
    const auto update = updates_.find(id);
    if (update != updates_.end())
        update->second(ui);
    return true;
}

bool FwCommandTarget::RunCommand(int id) const
{
    const auto found = commands_.find(id);
    if (found == commands_.end())
        return false;
    found->second();
    return true;
}
