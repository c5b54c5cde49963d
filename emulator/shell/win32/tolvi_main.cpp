// Tolvi's entry point. For now the program opens its main window on a freshly defaulted session
// record; the document, frame and view arrive with the application framework.
#include <windows.h>

#include "engine/screen_planes.h"
#include "shell/record_defaults.h"
#include "shell/session_record.h"
#include "win32_platform.h"

namespace {

Win32Platform win32Platform;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        FreeScreenBuffers();
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    SetPlatform(&win32Platform);
    if (!SetRecordDefaults(*Rec, true, false, AllocScreenBuffers, SessionTranslateTables))
        return 1;

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "TolviMainFrame";
    if (!RegisterClassA(&windowClass))
        return 1;

    HWND frame = CreateWindowA(windowClass.lpszClassName, "Tolvi", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                               CW_USEDEFAULT, 800, 600, nullptr, nullptr, instance, nullptr);
    if (!frame)
        return 1;
    ShowWindow(frame, showCommand);
    UpdateWindow(frame);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
