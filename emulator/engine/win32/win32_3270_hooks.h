// The 3270 engine's view hooks over Win32: invalidating cells of the terminal view, its caret,
// the margins of the grid, the beep and starting programs.
#pragma once

// Installs the hooks into ViewHooks3270.
void Install3270ViewHooksWin32();
