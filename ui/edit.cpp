// edit.cpp - click editing in the view and the two edit commands.
#include "ui/edit.h"

#include "document/document.h"
#include "dump/codecs.h"
#include "dump/dump_text.h"
#include "dump/render.h"
#include "resources/instance.h"
#include "resources/resource.h"
#include "ui/edit_answer.h"
#include "ui/input_box.h"

#include <windowsx.h>

#include <cstring>

HWND pressedWindow;

namespace {

// How one kind of edit shows the bytes and reads the answer back.
struct EditKind {
    bool hex;           // pairs and ParseHexBytes, or text and StoreTextAnswer
    uint32_t shownMost; // bytes shown in the box, at most
    UINT title;
};
constexpr EditKind HEX_EDIT = {true, 8, STR_EDIT_HEX_TITLE};
constexpr EditKind TEXT_AT_CARET = {false, 16, STR_EDIT_TEXT_TITLE};
constexpr EditKind TEXT_AT_TOP = {false, 8, STR_EDIT_TEXT_TITLE};

WNDPROC viewProcedure; // the edit control's own procedure, under ViewProc

// Shows the bytes from window index on in the input box and stores the
// answer there; sets modified and renders when a byte was stored.
void EditBytes(HWND mainWindow, uint32_t index, const EditKind& kind)
{
    if (document.fileHandle == nullptr)
        return; // also after a failed open, while a stale dump may show
    const uint32_t shown = EditShownCount(document.fileSize, document.topOffset,
                                          document.validCount, index, kind.shownMost);
    if (shown == 0)
        return;
    char title[TEXT_BUFFER_SIZE];
    char label[TEXT_BUFFER_SIZE];
    char text[TEXT_BUFFER_SIZE];
    LoadText(kind.title, title, sizeof title);
    FormatHexNumber(label, static_cast<int32_t>(document.topOffset + index), 8);
    uint8_t* first = document.windowBuffer + index;
    if (kind.hex)
        FormatHexBytes(text, first, shown);
    else
        FormatPrintable(text, first, shown);

    const DocumentStamp stamp = TakeStamp();
    if (!ShowInputBox(mainWindow, title, label, text, sizeof text))
        return;
    // The box ran a message loop: store only into the window it was shown
    // for (not into another file opened meanwhile, which may get the same
    // handle value back), and never at or beyond the bytes that hold file
    // data.
    if (!StillCurrent(stamp))
        return;
    const uint32_t room = EditRoom(document.validCount, index);
    const uint32_t stored = kind.hex
        ? ParseHexBytes(text, first, room)
        : StoreTextAnswer(text, shown, InputBoxCharacters(), first, room);
    if (stored == 0)
        return;
    NoteEdited(index, stored);
    RenderView(mainWindow);
}

// Ends a click that a movement notice or a release reported over
// endedOver: edits at the caret when the press and the end both were on
// the view. The press is forgotten before the box opens, so nothing that
// happens while it is open can start a second edit for the same click.
void EndClick(HWND mainWindow, HWND endedOver)
{
    const bool onView = pressedWindow != nullptr && pressedWindow == endedOver &&
        endedOver == GetDlgItem(mainWindow, IDC_VIEW);
    pressedWindow = nullptr;
    if (onView)
        EditAtCaret(mainWindow);
}

// The view's procedure: the edit control handles every message first, so
// that a release has placed the caret or ended a selection before the
// click ends. The wheel is the main window's: it moves through the file,
// never through the view's own text. The view always shows its text from
// the header line: whatever scrolled it (a key that moved the caret below
// the last line shown, a selection dragged down, the caret kept in sight
// as the dialog gave the view the focus back), it is scrolled back at
// once. And the dialog must not select the whole text when it gives the
// view the focus, as it does for an edit control that asks for it.
LRESULT CALLBACK ViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSEWHEEL)
        return SendMessageA(GetParent(view), message, wParam, lParam);
    LRESULT result = CallWindowProcA(viewProcedure, view, message, wParam, lParam);
    if (message == WM_GETDLGCODE)
        result &= ~static_cast<LRESULT>(DLGC_HASSETSEL);
    const LRESULT firstLine = CallWindowProcA(viewProcedure, view, EM_GETFIRSTVISIBLELINE, 0, 0);
    if (firstLine > 0)
        CallWindowProcA(viewProcedure, view, EM_LINESCROLL, 0, -firstLine);
    if (message == WM_LBUTTONUP) {
        // The view holds the pointer captured, so the point may lie outside.
        RECT client;
        GetClientRect(view, &client);
        const POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        EndClick(GetParent(view), PtInRect(&client, point) ? view : nullptr);
    }
    return result;
}

// Byte index in the view text of the control's position. The control may
// count characters (UTF-16 units, as under Wine) rather than bytes; the
// line it reports is right either way. Where the line holds fewer
// characters than bytes, the column is walked over the line's characters in
// the ANSI code page, so that a double-byte character counts two.
uint32_t ViewBytePosition(HWND view, uint32_t position)
{
    const LRESULT line = SendMessageA(view, EM_LINEFROMCHAR, position, 0);
    const LRESULT lineStart = SendMessageA(view, EM_LINEINDEX, line, 0);
    if (line < 0 || lineStart < 0 || position < static_cast<uint32_t>(lineStart))
        return position;
    const uint32_t column = position - static_cast<uint32_t>(lineStart);

    // The line as bytes, and as many characters as the control counts in it.
    char text[TEXT_BUFFER_SIZE + 1];
    const WORD capacity = TEXT_BUFFER_SIZE; // EM_GETLINE reads it from the buffer
    std::memcpy(text, &capacity, sizeof capacity);
    LRESULT bytes = SendMessageA(view, EM_GETLINE, line, reinterpret_cast<LPARAM>(text));
    if (bytes < 0 || bytes > static_cast<LRESULT>(TEXT_BUFFER_SIZE))
        bytes = 0;
    text[bytes] = '\0';
    const LRESULT units = SendMessageA(view, EM_LINELENGTH, lineStart, 0);

    uint32_t byteColumn = column;
    if (units != bytes) {
        const char* p = text;
        for (uint32_t walked = 0; walked < column && *p != '\0'; ++walked)
            p = CharNextA(p);
        byteColumn = static_cast<uint32_t>(p - text);
    }
    return static_cast<uint32_t>(line) * LINE_LENGTH + byteColumn;
}

} // namespace

void NotePointerEvent(HWND mainWindow, HWND pointed, UINT message)
{
    if (message == WM_MOUSEMOVE)
        EndClick(mainWindow, pointed);
    else if (message == WM_LBUTTONDOWN)
        pressedWindow = pointed;
}

void WatchViewRelease(HWND mainWindow)
{
    viewProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        GetDlgItem(mainWindow, IDC_VIEW), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ViewProc)));
}

void ForgetPointerState()
{
    pressedWindow = nullptr;
    viewProcedure = nullptr;
}

void EditAtCaret(HWND mainWindow)
{
    if (document.fileHandle == nullptr)
        return;
    HWND view = GetDlgItem(mainWindow, IDC_VIEW);
    // Every render clears the view's modified flag. Keys set it, also those
    // that changed nothing (under Wine a letter that the view refuses, as it
    // does while it holds more lines than it shows), so the text itself
    // tells: when typing changed it, its positions no longer match the
    // dump, and the click puts the dump back and edits nothing.
    if (SendMessageA(view, EM_GETMODIFY, 0, 0)) {
        if (!ViewShowsDump(mainWindow)) {
            RenderView(mainWindow);
            return;
        }
        SendMessageA(view, EM_SETMODIFY, FALSE, 0);
    }
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(view, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const CaretChoice choice =
        ChooseByteAtCaret(ViewBytePosition(view, start), ViewBytePosition(view, end));
    if (choice.zone == ZONE_HEX)
        EditBytes(mainWindow, choice.index, HEX_EDIT);
    else if (choice.zone == ZONE_TEXT)
        EditBytes(mainWindow, choice.index, TEXT_AT_CARET);
}

void EditHexAtTop(HWND mainWindow)
{
    EditBytes(mainWindow, 0, HEX_EDIT);
}

void EditTextAtTop(HWND mainWindow)
{
    EditBytes(mainWindow, 0, TEXT_AT_TOP);
}
