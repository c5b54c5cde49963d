// The recent-file entries of a File menu: one item per file, commands firstId, firstId + 1, ...,
// placed with a separator of their own just before the item `beforeId` (Exit).
#pragma once

#include <windows.h>

#include "recent_files.h"

void FwUpdateRecentFileMenu(HMENU fileMenu, const FwRecentFileList& list, UINT firstId, UINT beforeId);
