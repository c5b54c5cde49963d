// See win32_3270_hooks.h.
#include "engine/win32/win32_3270_hooks.h"

#include "engine/ibm3270/view_hooks.h"
#include "session/session_record.h"
#include "engine/win32/win32_view_port.h"

namespace {

void Invalidate(ViewWindow window, int left, int top, int right, int bottom)
{
    const RECT r = {left, top, right, bottom};
    InvalidateRect(ViewHandle(window), &r, FALSE);
}

void Hide(ViewWindow window) { HideCaret(ViewHandle(window)); }
void Show(ViewWindow window) { ShowCaret(ViewHandle(window)); }
int Left(ViewWindow) { return Rec->LeftMargin; }
int Top(ViewWindow) { return Rec->TopMargin; }
void Beep(int soundType) { MessageBeep(static_cast<UINT>(soundType)); }
int Exec(const char* commandLine, int showMode) { return static_cast<int>(WinExec(commandLine, static_cast<UINT>(showMode))); }

}  // namespace

void Install3270ViewHooksWin32()
{
    ViewHooks3270 = Tn3270ViewHooks{&Invalidate, &Hide, &Show, &Left, &Top, &Beep, &Exec};
}
