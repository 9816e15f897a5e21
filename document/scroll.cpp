// scroll.cpp - scroll-bar requests and the jump to a typed offset.
#include "document/scroll.h"

#include "document/document.h"
#include "document/scroll_math.h"
#include "dump/codecs.h"
#include "dump/render.h"
#include "resources/instance.h"
#include "resources/resource.h"
#include "ui/input_box.h"

void ScrollView(HWND window, unsigned code, unsigned position)
{
    if (document.fileHandle == nullptr)
        return;
    if (document.modified)
        PromptSave(window);
    if (code == SCROLL_END)
        return;
    const uint32_t top = NewTopOffset(document.topOffset, document.fileSize,
                                      document.scrollShift, code, position);
    if (top == document.topOffset)
        return;
    document.topOffset = top;
    ReloadWindow();
    RenderView(window);
}

void JumpToAddress(HWND window)
{
    if (document.fileHandle == nullptr)
        return;
    if (document.modified)
        PromptSave(window);

    char title[256];
    char label[256];
    char text[256];
    LoadText(STR_JUMP_TITLE, title, sizeof title);
    LoadText(STR_JUMP_LABEL, label, sizeof label);
    wsprintfA(text, "%08X", document.topOffset);
    if (!ShowInputBox(window, title, label, text, sizeof text))
        return;
    uint32_t target = 0;
    if (!ParseHexNumber(text, &target))
        return;
    document.topOffset = LineInFile(target, document.fileSize);
    ReloadWindow();
    RenderView(window);
}
