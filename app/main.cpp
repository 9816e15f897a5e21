// main.cpp - VUKO, a hex viewer and byte editor.
//
// The program is one GUI thread around a modeless dialog, the main window
// (app/), made from the DIALOG template in resources/. Its window procedure
// hands every message to the folder that owns the work:
//   document/  the one open file (the Document record): the 32 KiB window of
//              its bytes at topOffset, reading, saving and the save question,
//              scrolling and jumping;
//   dump/      the view text built from the window, and the text codecs;
//   search/    the search pattern and the chunked forward search;
//   ui/        the input box, in-place editing, font choice, Help and About.
// A scroll request travels: WM_VSCROLL -> ScrollView (document/) moves
// topOffset -> ReloadWindow reads the window -> RenderView (dump/) sets the
// thumb and the view text.
#include "app/command_line.h"
#include "app/main_window.h"
#include "document/document.h"
#include "resources/instance.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showState)
{
    instanceHandle = instance;
    HWND mainWindow = CreateMainWindow();
    if (mainWindow == nullptr)
        return 1;
    ShowWindow(mainWindow, showState);
    UpdateWindow(mainWindow);

    char path[PATH_BUFFER_SIZE];
    ExtractArgument(path, sizeof path, commandLine, 1);
    if (path[0] != '\0')
        OpenDocument(mainWindow, path);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
