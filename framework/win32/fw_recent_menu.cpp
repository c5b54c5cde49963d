#include "fw_recent_menu.h"

namespace {

int PositionOf(HMENU menu, UINT id)
{
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i)
        if (GetMenuItemID(menu, i) == id) return i;
    return -1;
}

bool IsSeparator(HMENU menu, int position)
{
    return position >= 0 && position < GetMenuItemCount(menu) &&
           (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_SEPARATOR) != 0;
}

}  // namespace

void FwUpdateRecentFileMenu(HMENU fileMenu, const FwRecentFileList& list, UINT firstId, UINT beforeId)
{
    if (!fileMenu) return;
    // Take out the old entries and the separator that follows them.
    const UINT lastId = firstId + static_cast<UINT>(list.Capacity());
    int first = -1;
    for (int i = GetMenuItemCount(fileMenu) - 1; i >= 0; --i) {
        const UINT id = GetMenuItemID(fileMenu, i);
        if (id >= firstId && id < lastId) {
            DeleteMenu(fileMenu, static_cast<UINT>(i), MF_BYPOSITION);
            first = i;
        }
    }
    if (first >= 0 && IsSeparator(fileMenu, first)) DeleteMenu(fileMenu, static_cast<UINT>(first), MF_BYPOSITION);

    const auto& files = list.Files();
    int at = PositionOf(fileMenu, beforeId);
    if (files.empty() || at < 0) return;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string text = FwRecentFileList::MenuText(i, files[i], 30);
        InsertMenuA(fileMenu, static_cast<UINT>(at++), MF_BYPOSITION | MF_STRING,
                    firstId + static_cast<UINT>(i), text.c_str());
    }
    InsertMenuA(fileMenu, static_cast<UINT>(at), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}
