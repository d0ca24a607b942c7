// tavrix.exe: the editor window on Windows.
#include <windows.h>

#include <commctrl.h>

#include "ui/win32/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);

    tavrix::win32::MainWindow window(instance);
    if (!window.open(show_command)) {
        MessageBoxW(nullptr, L"No se pudo crear la ventana de Tavrix.", L"Tavrix",
                    MB_OK | MB_ICONERROR);
        return 1;
    }
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (window.preprocess(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
