// tavrix.exe: the editor window on Windows.
#include <windows.h>

#include <commctrl.h>

#include "ui/win32/command_line.h"
#include "ui/win32/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show_command) {
    const std::vector<std::string> arguments = tavrix::win32::program_arguments();
    const tavrix::win32::CommandLine command = tavrix::win32::read_command_line(arguments);
    if (const std::optional<int> status = tavrix::win32::answer_without_window(command))
        return *status;

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
    window.start(std::get<tavrix::win32::OpenWindow>(command).session);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (window.preprocess(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
