// input_box.cpp - the input box behind every prompt.
#include "ui/input_box.h"

#include "resources/instance.h"
#include "resources/resource.h"

#include <initializer_list>

InputBoxState inputBox;

namespace {

void InitBox(HWND box)
{
    SendMessageA(box, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconA(instanceHandle, NAME_ICON)));
    const WPARAM font = reinterpret_cast<WPARAM>(inputBox.boxFont);
    SendMessageA(box, WM_SETFONT, font, FALSE);
    for (int id : {IDC_PROMPT, IDC_INPUT, IDC_OK, IDC_CANCEL})
        SendDlgItemMessageA(box, id, WM_SETFONT, font, FALSE);
    inputBox.boxResult = false;
    SetWindowTextA(box, inputBox.boxTitle);
    SetDlgItemTextA(box, IDC_PROMPT, inputBox.boxLabel);
    SetDlgItemTextA(box, IDC_INPUT, inputBox.boxText);
}

uint32_t HandBack(const char* chars, uint32_t length, char* back)
{
    wchar_t wide[HANDED_BACK_MOST];
    const int units =
        MultiByteToWideChar(CP_ACP, 0, chars, static_cast<int>(length), wide, HANDED_BACK_MOST);
    const int bytes = units > 0
        ? WideCharToMultiByte(CP_ACP, 0, wide, units, back, HANDED_BACK_MOST, nullptr, nullptr)
        : 0;
    if (bytes > 0)
        return static_cast<uint32_t>(bytes);
    for (uint32_t i = 0; i < length; ++i)
        back[i] = chars[i]; // as it is, when the code page cannot convert it
    return length;
}

// Copies the field into the caller's buffer, never more than it holds.
void TakeAnswer(HWND box)
{
    const int length = GetWindowTextLengthA(GetDlgItem(box, IDC_INPUT));
    unsigned limit = static_cast<unsigned>(length < 0 ? 0 : length) + 1;
    if (limit > inputBox.boxCapacity)
        limit = inputBox.boxCapacity;
    if (limit > 0 &&
        GetDlgItemTextA(box, IDC_INPUT, inputBox.boxText, static_cast<int>(limit)) == 0)
        inputBox.boxText[0] = '\0';
    inputBox.boxResult = true;
}

} // namespace

const BoxCharacters& InputBoxCharacters()
{
    static const BoxCharacters characters = [] {
        BoxCharacters made = {};
        for (int byte = 0; byte < 256; ++byte)
            made.leadByte[byte] = IsDBCSLeadByte(static_cast<BYTE>(byte)) != 0;
        made.handBack = HandBack;
        return made;
    }();
    return characters;
}

bool ShowInputBox(HWND owner, const char* title, const char* label, char* text, unsigned capacity)
{
    inputBox.boxFont = reinterpret_cast<HFONT>(SendMessageA(owner, WM_GETFONT, 0, 0));
    inputBox.boxResult = false;
    inputBox.boxTitle = title;
    inputBox.boxLabel = label;
    inputBox.boxText = text;
    inputBox.boxCapacity = capacity;
    DialogBoxParamA(instanceHandle, NAME_INPUTBOX, owner, InputBoxProc, 0);
    return inputBox.boxResult;
}

INT_PTR CALLBACK InputBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: InitBox(box); break;
    case WM_COMMAND:
        // Enter and Escape arrive as ids 1 and 2 and are ignored: only the
        // box's own buttons end it.
        if (LOWORD(wParam) == IDC_OK) {
            TakeAnswer(box);
            SendMessageA(box, WM_CLOSE, 0, 0);
        } else if (LOWORD(wParam) == IDC_CANCEL) {
            SendMessageA(box, WM_CLOSE, 0, 0);
        }
        break;
    case WM_CLOSE: EndDialog(box, 0); break;
    default: break;
    }
    return 0;
}
