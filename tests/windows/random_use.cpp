// random_use - a stateful random test of the whole program: starts the real
// vuko.exe on a file of its own and drives it, as a user would, through a
// random sequence of steps (edits by command and by click, saves, the save
// question answered either way, presses on the scroll bar, the wheel,
// jumps, searches with an edit nested in them, another program writing into
// the file, the file growing or shrinking, replaced by a new file or
// deleted and made anew, opening it again, also for reading only,
// minimising and restoring the window, keys in the view). A model holds
// exactly the bytes the user saved and what the other program wrote; after
// every step the file on disk must be the model's, and the view must show
// the model's window bytes from its header line. The model is the user's:
// the rules it holds the program to are listed in docs/design.md.
//
//   random_use VUKO_EXE WORK_FOLDER SEED STEPS
//
// Every box the program opens must be the one the model expects, and is
// answered as the step planned. The seed decides everything: a run prints
// it and replays from it. A failure prints the steps that led to it, what
// differs and the program's windows. Exits 0 when every step held.
#include "document/scroll_offsets.h"
#include "document/wheel_steps.h"
#include "dump/dump_text.h"
#include "resources/resource.h"
#include "search/chunk_walk.h"
#include "search/compare.h"
#include "tests/windows/linux_side.h"
#include "tests/windows/waiting.h"

#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr uint32_t WINDOW_BYTES = 32768;

std::vector<std::string> steps; // what was done, for the failure's log

[[noreturn]] void Fail(const char* format, ...);
std::string ViewDiffers();

void Step(const char* format, ...)
{
    char line[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    steps.push_back(line);
}

// ---------------------------------------------------------------------------
// The model: the file as it must be on disk, and the program's window.

struct Model {
    std::vector<uint8_t> disk; // the bytes of the file that the path names, as they must be
    // Once another program replaced the file (a new file renamed over the
    // name, or the file deleted and made anew), the program holds the old
    // one, which nobody else can reach: these are its bytes. Until the file
    // is opened again, every read is from it and no save may write.
    bool replaced = false;
    std::vector<uint8_t> orphan;
    uint32_t size = 0;         // the size the program took at opening
    bool readOnly = false;     // opened for reading only: every write fails
    uint32_t top = 0;
    std::vector<uint8_t> window;     // validCount bytes, with the edits
    std::vector<bool> edited = std::vector<bool>(WINDOW_BYTES);
    std::vector<uint8_t> pattern;
    int32_t wheelRest = 0;

    uint32_t Valid() const { return static_cast<uint32_t>(window.size()); }
    // The file the program holds open.
    const std::vector<uint8_t>& Held() const { return replaced ? orphan : disk; }
    // Unsaved edits: exactly then a move asks the save question.
    bool Modified() const { return std::find(edited.begin(), edited.end(), true) != edited.end(); }
    // The runs of edited bytes of the window, as window indexes [start, end).
    std::vector<std::pair<uint32_t, uint32_t>> EditedRuns() const
    {
        std::vector<std::pair<uint32_t, uint32_t>> runs;
        for (uint32_t i = 0; i < Valid(); ++i) {
            if (!edited[i])
                continue;
            const uint32_t start = i;
            while (i < Valid() && edited[i])
                ++i;
            runs.emplace_back(start, i);
        }
        return runs;
    }

    // The program reads the window at top: as much as the file it holds has
    // now, within the size taken at opening. Edits are dropped.
    void Reload()
    {
        const std::vector<uint8_t>& held = Held();
        const uint64_t end = std::min<uint64_t>({uint64_t{top} + WINDOW_BYTES, size, held.size()});
        window.assign(held.begin() + std::min<uint64_t>(top, end), held.begin() + end);
        edited.assign(WINDOW_BYTES, false);
    }
    // A scroll to line: the window is read there only when the top moves.
    void ScrollTo(uint32_t line)
    {
        if (line == top)
            return;
        top = line;
        Reload();
    }
    // A new open starts with no edits, whatever the last file had.
    void Open(bool forReadingOnly)
    {
        size = disk.size() > 0xFFFFFFFF ? 0xFFFFFFFF : static_cast<uint32_t>(disk.size());
        readOnly = forReadingOnly;
        replaced = false;
        orphan.clear();
        top = 0;
        Reload();
    }
    // Bytes an edit at index shows, as many as limit.
    uint32_t Shown(uint32_t index, uint32_t limit) const
    {
        if (top >= size || index >= Valid() || index >= size - top)
            return 0;
        return std::min({size - top - index, Valid() - index, limit});
    }
    void Store(uint32_t index, const std::vector<uint8_t>& bytes)
    {
        const uint32_t room = index < Valid() ? Valid() - index : 0;
        const uint32_t count = std::min<uint32_t>(room, static_cast<uint32_t>(bytes.size()));
        for (uint32_t i = 0; i < count; ++i) {
            window[index + i] = bytes[i];
            edited[index + i] = true;
        }
    }
    // A save: each run of edited bytes at its offset, in order, each cut at
    // the file's present end; the first one cut or refused ends the save
    // and keeps what was not written. Returns whether all were written. A
    // save of edits into a file that the path no longer names writes
    // nothing and fails: it would reach no file the user can open.
    bool Save()
    {
        if (replaced && Modified())
            return false;
        for (uint32_t start = 0; start < Valid();) {
            if (!edited[start]) {
                ++start;
                continue;
            }
            uint32_t end = start;
            while (end < Valid() && edited[end])
                ++end;
            const uint64_t offset = uint64_t{top} + start;
            const uint64_t room = disk.size() > offset ? disk.size() - offset : 0;
            const uint32_t count = readOnly ? 0 : static_cast<uint32_t>(std::min<uint64_t>(end - start, room));
            for (uint32_t i = 0; i < count; ++i) {
                disk[offset + i] = window[start + i];
                edited[start + i] = false;
            }
            if (count < end - start)
                return false;
            start = end;
        }
        return true;
    }
};

// ---------------------------------------------------------------------------
// The program and its boxes, across the process boundary.

struct Program {
    PROCESS_INFORMATION process = {};
    HWND main = nullptr;
    HWND view = nullptr;
    HWND bar = nullptr;
    DWORD thread = 0;
};
Program vuko;

std::string Text(HWND window)
{
    char text[40000];
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_NORMAL, WAIT_MS, &length))
        Fail("the program does not answer WM_GETTEXT");
    return std::string(text, std::min<size_t>(length, sizeof text - 1));
}

std::string Utf8(const std::string& ansi)
{
    wchar_t wide[4096];
    const int n = MultiByteToWideChar(932, 0, ansi.data(), static_cast<int>(ansi.size()), wide, 4096);
    char utf8[12288];
    const int m = WideCharToMultiByte(CP_UTF8, 0, wide, n, utf8, sizeof utf8, nullptr, nullptr);
    return std::string(utf8, m);
}

std::string Ansi932(const wchar_t* text)
{
    char ansi[512];
    const int n = WideCharToMultiByte(932, 0, text, -1, ansi, sizeof ansi, nullptr, nullptr);
    return std::string(ansi, n > 0 ? n - 1 : 0);
}

// The enabled dialog box of the program that its main window owns, or null.
HWND OpenBox()
{
    struct Search {
        HWND owner;
        HWND found;
    } search = {vuko.main, nullptr};
    EnumThreadWindows(
        vuko.thread,
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* s = reinterpret_cast<Search*>(parameter);
            char name[16] = "";
            GetClassNameA(window, name, sizeof name);
            if (std::string(name) == "#32770" && window != s->owner && IsWindowVisible(window) &&
                IsWindowEnabled(window) && GetWindow(window, GW_OWNER) == s->owner) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string Windows()
{
    std::string list;
    EnumThreadWindows(
        vuko.thread,
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* out = reinterpret_cast<std::string*>(parameter);
            char name[64] = "";
            GetClassNameA(window, name, sizeof name);
            char line[256];
            std::snprintf(line, sizeof line, "  window %p class %s visible %d enabled %d title \"", (void*)window,
                          name, IsWindowVisible(window), IsWindowEnabled(window));
            *out += line + Utf8(Text(window)) + "\"";
            if (HWND message = GetDlgItem(window, MESSAGE_BOX_TEXT))
                *out += " message \"" + Utf8(Text(message)) + "\"";
            if (HWND field = GetDlgItem(window, IDC_INPUT); field && std::string(name) == "#32770")
                *out += " field \"" + Utf8(Text(field)) + "\"";
            *out += "\n";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&list));
    return list;
}

// A box and what it says: its title and its message or field.
struct Box {
    HWND window;
    std::string title;
    std::string message; // a message box's text
    bool input;          // the input box: it has a field
};

Box WaitForBox(const char* what)
{
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = OpenBox()) != nullptr; })) {
        DWORD code = 0;
        GetExitCodeProcess(vuko.process.hProcess, &code);
        Fail("waited %lu s for %s; the program %s", WAIT_MS / 1000, what,
             code == STILL_ACTIVE ? "runs" : "has ended");
    }
    Box b = {box, Text(box), "", GetDlgItem(box, IDC_INPUT) != nullptr};
    if (HWND message = GetDlgItem(box, MESSAGE_BOX_TEXT))
        b.message = Text(message);
    return b;
}

// Presses a button of the box and waits until the box is gone, so that the
// program has left the box's loop when this returns.
void Press(const Box& box, int button)
{
    PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    if (!WaitFor([&] { return !IsWindow(box.window); }))
        Fail("the box \"%s\" stays open after button %d", Utf8(box.title).c_str(), button);
}

void SetField(const Box& box, int id, const std::string& text)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(GetDlgItem(box.window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_NORMAL, WAIT_MS, &result))
        Fail("cannot set the text of control %d", id);
}

// Waits until the program has finished what it was doing: it handles a
// message sent to its main window, and then no box of it is open.
void Settle()
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(vuko.main, WM_NULL, 0, 0, SMTO_NORMAL, WAIT_MS, &result))
        Fail("the program does not answer");
    if (HWND box = OpenBox())
        Fail("a box that was not expected is open: \"%s\" \"%s\"", Utf8(Text(box)).c_str(),
             GetDlgItem(box, MESSAGE_BOX_TEXT) ? Utf8(Text(GetDlgItem(box, MESSAGE_BOX_TEXT))).c_str() : "");
}

// Sends a message that must open no box; fails when the program does not
// come back (a box it opened waits for an answer).
void SendSettled(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, WAIT_MS, &result))
        Fail("the program did not come back from message %#x", message);
    Settle();
}

// Waits until the program has handled every message posted to it so far,
// when none of them opens a box: a selection posted behind them shows in
// the view once they are done (messages sent are handled before those
// posted, so a sent one alone cannot tell).
void Flush()
{
    // The selection as start and end packed in the result.
    const auto selection = [] {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(vuko.view, EM_GETSEL, 0, 0, SMTO_NORMAL, WAIT_MS, &result);
        return static_cast<DWORD>(result);
    };
    const DWORD mark = selection() == MAKELONG(2, 3) ? MAKELONG(2, 4) : MAKELONG(2, 3);
    PostMessageA(vuko.view, EM_SETSEL, LOWORD(mark), HIWORD(mark));
    if (!WaitFor([&] {
            Settle();
            return selection() == mark;
        }))
        Fail("the program does not get to the messages posted to it");
}

// Waits until a search that handled messages in its pump has ended on the
// match the model expects, with no box: until then a mark that Flush posts
// may be handled in the pump and wiped out when the match is shown.
void MatchShown()
{
    if (!WaitFor([] {
            Settle();
            return ViewDiffers().empty();
        }))
        Fail("the search does not end on its match: %s", ViewDiffers().c_str());
}

// Hands a message to the program: posted when a box of it will come and be
// answered (the program finishes its work after the last one), else sent,
// so that it has done all of its work when this returns.
void Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool boxComes)
{
    if (boxComes)
        PostMessageA(window, message, wParam, lParam);
    else
        SendSettled(window, message, wParam, lParam);
}

void Command(UINT id, bool boxComes = true)
{
    Deliver(vuko.main, WM_COMMAND, MAKEWPARAM(id, 0), 0, boxComes);
}

// A message to post.
struct Posted {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Posts messages so that all of them wait in the queue when the program
// takes the first: its thread is held meanwhile. So they are handled one
// after the other, however late this driver gets to the last one, with no
// input (a move of the real pointer) between them, and a search that the
// first starts finds the others in its first pump.
void PostTogether(std::initializer_list<Posted> messages)
{
    HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, vuko.thread);
    if (thread == nullptr || SuspendThread(thread) == static_cast<DWORD>(-1))
        Fail("cannot hold the program's thread (error %lu)", GetLastError());
    for (const Posted& m : messages)
        PostMessageA(m.window, m.message, m.wParam, m.lParam);
    ResumeThread(thread);
    CloseHandle(thread);
}

void PostTogether(UINT search, UINT during)
{
    PostTogether({{vuko.main, WM_COMMAND, MAKEWPARAM(search, 0), 0}, {vuko.main, WM_COMMAND, MAKEWPARAM(during, 0), 0}});
}

// A click on the view with the caret at caret, as the platform reports it:
// the press notice, the caret the press places, the movement notice after
// the release.
void Click(WPARAM caret)
{
    const WPARAM view = reinterpret_cast<WPARAM>(vuko.view);
    PostTogether({{vuko.main, WM_SETCURSOR, view, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)},
                  {vuko.view, EM_SETSEL, caret, static_cast<LPARAM>(caret)},
                  {vuko.main, WM_SETCURSOR, view, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)}});
}

// Waits until a search that the last box let go on has ended: a message
// the program handles while it searches (in its pump) finds the progress
// text in the view; the end shows the dump, or a box.
void Finish()
{
    const std::string progress = Ansi932(L"検索(");
    if (!WaitFor([&] {
            Settle();
            return Text(vuko.view).compare(0, progress.size(), progress) != 0;
        }))
        Fail("the search does not end");
}

// ---------------------------------------------------------------------------
// The run.

std::mt19937 random;
Model model;
std::string path; // the file the program edits
uint32_t linesPerNotch = 3;

uint32_t Pick(uint32_t n) { return n == 0 ? 0 : static_cast<uint32_t>(random() % n); }
bool Chance(uint32_t percent) { return Pick(100) < percent; }

const std::string QUESTION = Ansi932(L"変更内容を保存しますか?");
const std::string FAILED = Ansi932(L"保存できませんでした");
const std::string NOT_FOUND = Ansi932(L"見つかりません");
const std::string HEX_EDIT = Ansi932(L"16進数で編集");
const std::string TEXT_EDIT = Ansi932(L"文字列で編集");

void Expect(const Box& box, const std::string& title, const std::string& message, const char* what)
{
    if (box.title != title || (!message.empty() && box.message != message))
        Fail("expected %s (\"%s\" \"%s\"), saw \"%s\" \"%s\"", what, Utf8(title).c_str(), Utf8(message).c_str(),
             Utf8(box.title).c_str(), Utf8(box.message).c_str());
}

// The save question before a move, when the model holds unsaved edits:
// answered Yes, No or Escape. No and Escape drop the edits at once, whether
// the move then changes anything or not. Returns whether the move goes
// ahead.
bool AnswerSaveQuestion()
{
    if (!model.Modified())
        return true;
    const Box box = WaitForBox("the save question");
    Expect(box, Ansi932(L"上書き保存"), QUESTION, "the save question");
    const uint32_t answer = Pick(5);
    if (answer == 0) {
        // The Escape key, as the box's own key handling turns it into a
        // command: it answers No.
        Step("  save question: Escape");
        model.Reload();
        PostMessageA(box.window, WM_KEYDOWN, VK_ESCAPE, 1);
        if (!WaitFor([&] { return !IsWindow(box.window); }))
            Fail("the save question stays open after Escape");
        return true;
    }
    if (answer < 3) {
        Step("  save question: No");
        model.Reload();
        Press(box, IDNO);
        return true;
    }
    Step("  save question: Yes");
    Press(box, IDYES);
    if (model.Save())
        return true;
    Step("  the save fails");
    const Box failed = WaitForBox("the failed-save box");
    Expect(failed, Ansi932(L"上書き保存"), FAILED, "the failed-save box");
    Press(failed, IDOK);
    return false;
}

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::string Hex(const std::vector<uint8_t>& bytes)
{
    std::string text;
    char pair[4];
    for (uint8_t byte : bytes) {
        std::snprintf(pair, sizeof pair, "%02X ", byte);
        text += pair;
    }
    return text;
}

// A text answer with one character of the field, k, typed over, or one
// typed before it, or typed over with a '.' after it (the field "A." for 41
// 01 answered "Z.." gives 5A 2E 01: the dot left alone keeps its byte, the
// one typed is a dot). The characters before k and from k on (after k, when
// typed over) are left alone and keep the very bytes they showed. What the
// user means where the answer could be read two ways is not tried: a
// character typed before one like it, or a dot typed after one typed over a
// dot. Returns false when the field's characters are not the shown ones
// one for one (a byte the box cannot show may come back as nothing).
bool TypeInTheMiddle(const std::string& field, const std::vector<uint8_t>& before,
                     const std::vector<uint32_t>& starts, const std::vector<std::string>& typed, std::string& answer,
                     std::vector<uint8_t>& meant)
{
    std::vector<std::string> characters;
    for (const char* c = field.c_str(); *c != '\0';) {
        const char* next = CharNextExA(932, c, 0);
        characters.emplace_back(c, next);
        c = next;
    }
    if (characters.empty() || characters.size() != starts.size())
        return false;
    const uint32_t count = static_cast<uint32_t>(characters.size());
    const uint32_t k = Pick(count);
    const auto join = [&](uint32_t from, uint32_t to) {
        std::string text;
        for (uint32_t i = from; i < to; ++i)
            text += characters[i];
        return text;
    };
    const auto bytesFrom = [&](uint32_t character) {
        return character < count ? before.begin() + starts[character] : before.end();
    };
    std::vector<std::string> others; // what may be typed that differs from character k
    for (const std::string& t : typed) {
        if (t != characters[k])
            others.push_back(t);
    }
    const std::string t = others[Pick(static_cast<uint32_t>(others.size()))];
    std::string put = t;
    uint32_t resumeAt = k + 1; // the first character left alone after the typed ones
    switch (Pick(3)) {
    case 0:
        Step("  character %u typed over", k);
        break;
    case 1:
        Step("  a character typed before character %u", k);
        resumeAt = k;
        break;
    default:
        if (characters[k] == ".") {
            Step("  character %u typed over", k);
            break;
        }
        Step("  character %u typed over, a dot typed after it", k);
        put += ".";
        break;
    }
    answer = join(0, k) + put + join(resumeAt, count);
    meant.assign(before.begin(), bytesFrom(k));
    meant.insert(meant.end(), put.begin(), put.end());
    meant.insert(meant.end(), bytesFrom(resumeAt), before.end());
    return true;
}

// Answers an edit box that shows `shown` bytes of the window from index:
// sets its field and presses OK (or Cancel), and stores in the model what
// the user meant.
void AnswerEdit(bool hex, uint32_t index, uint32_t shown, bool mustStore = false)
{
    const Box box = WaitForBox("an edit box");
    Expect(box, hex ? HEX_EDIT : TEXT_EDIT, "", "an edit box");
    if (!box.input)
        Fail("the edit box has no field");
    // The box must be for the byte the user chose.
    char label[16];
    std::snprintf(label, sizeof label, "%08X", model.top + index);
    if (Text(GetDlgItem(box.window, IDC_PROMPT)) != label)
        Fail("the edit box is for %s, the user chose %s", Text(GetDlgItem(box.window, IDC_PROMPT)).c_str(), label);
    if (!mustStore && Chance(8)) {
        Step("  Cancel");
        Press(box, IDC_CANCEL);
        return;
    }
    const std::vector<uint8_t> before(model.window.begin() + index, model.window.begin() + index + shown);
    std::string answer;
    std::vector<uint8_t> meant;
    if (hex) {
        const uint32_t count = Chance(15) ? shown : Pick(11) + (mustStore ? 1 : 0);
        if (count == shown && Chance(50)) {
            meant = before;
        } else {
            for (uint32_t i = 0; i < count; ++i)
                meant.push_back(static_cast<uint8_t>(random()));
        }
        answer = Hex(meant);
    } else {
        const std::string field = Text(GetDlgItem(box.window, IDC_INPUT));
        // The shown characters as the box had them: a lead byte and the byte
        // after it are one (a byte below 0x20 is shown as a dot, never a
        // lead byte).
        std::vector<uint32_t> starts;
        for (uint32_t i = 0; i < shown;) {
            starts.push_back(i);
            const uint8_t asShown = before[i] < 0x20 ? '.' : before[i];
            i += IsDBCSLeadByteEx(932, asShown) && i + 1 < shown ? 2 : 1;
        }
        const size_t firstLength = field.empty() ? 0 : CharNextExA(932, field.c_str(), 0) - field.c_str();
        const std::vector<std::string> typed = {"Q", "z", ".", "\x83\x41", "\x88\x9f"}; // ア, 亜
        switch (Pick(5)) {
        case 0: // left alone
            answer = field;
            meant = before;
            break;
        case 1: { // the first character typed over
            const std::string first = typed[Pick(static_cast<uint32_t>(typed.size()))];
            answer = field.empty() ? first : first + field.substr(firstLength);
            if (field.empty() || first == field.substr(0, firstLength)) {
                meant = field.empty() ? Bytes(first) : before; // left as it was
            } else {
                meant = Bytes(first);
                const uint32_t rest = starts.size() > 1 ? starts[1] : shown;
                meant.insert(meant.end(), before.begin() + rest, before.end());
            }
            break;
        }
        case 2: { // letters added after the shown ones
            const std::string added = Chance(50) ? "xy" : "\x83\x41z";
            answer = field + added;
            meant = before;
            const std::vector<uint8_t> more = Bytes(added);
            meant.insert(meant.end(), more.begin(), more.end());
            break;
        }
        case 3:
            if (!TypeInTheMiddle(field, before, starts, typed, answer, meant)) {
                answer = field;
                meant = before;
            }
            break;
        default: { // only the first characters kept
            uint32_t keep = Pick(static_cast<uint32_t>(starts.size()) + 1);
            const char* end = field.c_str();
            for (uint32_t k = 0; k < keep && *end != '\0'; ++k)
                end = CharNextExA(932, end, 0);
            answer.assign(field.c_str(), end);
            const uint32_t bytes = keep < starts.size() ? starts[keep] : shown;
            meant.assign(before.begin(), before.begin() + bytes);
            break;
        }
        }
    }
    Step("  answer \"%s\", meant %s", Utf8(answer).c_str(), Hex(meant).c_str());
    SetField(box, IDC_INPUT, answer);
    Press(box, IDC_OK);
    model.Store(index, meant);
}

void EditByCommand(bool hex)
{
    const uint32_t shown = model.Shown(0, 8);
    Step("%s edit at the top (%u shown)", hex ? "hex" : "text", shown);
    Command(hex ? CMD_EDIT_HEX : CMD_EDIT_TEXT, shown > 0);
    if (shown > 0)
        AnswerEdit(hex, 0, shown);
}

void EditByClick(bool hex)
{
    const uint32_t lines = (std::min(model.Shown(0, VIEW_BYTES), VIEW_BYTES) + 15) / 16;
    if (lines == 0) {
        Step("(no click: the view shows no bytes)");
        return;
    }
    const uint32_t line = Pick(lines);
    const uint32_t onLine = std::min<uint32_t>(16, model.Shown(line * 16, 16));
    uint32_t byte = Pick(onLine);
    // The control counts characters: in the character column, those that the
    // cells before the chosen one make (UTF-16 units, as the control holds
    // them), from a cell that begins a character.
    uint32_t column = 11 + 3 * byte;
    if (!hex) {
        char cells[17] = "";
        for (uint32_t i = 0; i < onLine; ++i)
            cells[i] = static_cast<char>(model.window[line * 16 + i] < 0x20 ? '.' : model.window[line * 16 + i]);
        uint32_t start = 0;
        for (uint32_t i = 0; i < onLine; i += IsDBCSLeadByteEx(932, static_cast<uint8_t>(cells[i])) ? 2 : 1) {
            if (i <= byte)
                start = i;
        }
        byte = start;
        wchar_t units[32];
        column = 60 + (byte == 0 ? 0 : MultiByteToWideChar(932, 0, cells, static_cast<int>(byte), units, 32));
    }
    const uint32_t index = line * 16 + byte;
    const uint32_t shown = model.Shown(index, hex ? 8 : 16);
    Step("click on the %s of byte %u (%u shown)", hex ? "pair" : "character", index, shown);
    DWORD_PTR lineStart = 0;
    SendMessageTimeoutA(vuko.view, EM_LINEINDEX, line + 1, 0, SMTO_NORMAL, WAIT_MS, &lineStart);
    const WPARAM caret = lineStart + column;
    Click(caret);
    if (shown > 0)
        AnswerEdit(hex, index, shown);
    else
        Flush();
}

// A letter typed into the view, then a click on a pair. The view takes
// typed text only while its whole text fits in it (it does not scroll by
// itself), so the letter may be refused and leave the text as it was; the
// click then edits at once. When the letter went in, the click only puts
// the dump back.
void TypeThenClick()
{
    if (model.Shown(0, 1) == 0) {
        Step("(no typing: the view shows no bytes)");
        return;
    }
    DWORD_PTR lineStart = 0;
    SendMessageTimeoutA(vuko.view, EM_LINEINDEX, 1, 0, SMTO_NORMAL, WAIT_MS, &lineStart);
    const std::string before = Text(vuko.view);
    SendSettled(vuko.view, EM_SETSEL, lineStart + 1, lineStart + 1);
    SendSettled(vuko.view, WM_CHAR, 'x', 1);
    const bool changed = Text(vuko.view) != before;
    Step("type a letter into the view (%s), then click on byte 0", changed ? "it shows" : "refused");
    Click(lineStart + 11);
    if (changed) {
        Flush(); // the click only puts the dump back; no box comes
        return;
    }
    AnswerEdit(true, 0, model.Shown(0, 8));
}

// Another program shortens the file to just below or inside the edited
// bytes, so that the save that comes next is cut short.
void ShrinkIntoTheEdits()
{
    const auto runs = model.EditedRuns();
    if (runs.empty() || model.replaced)
        return;
    const auto [start, end] = runs[Pick(static_cast<uint32_t>(runs.size()))];
    const uint64_t to = uint64_t{model.top} + start + Pick(end - start) - (Chance(30) ? std::min<uint32_t>(start, 1) : 0);
    if (to >= model.disk.size())
        return;
    Step("another program makes the file %llX bytes long, into the edits", static_cast<unsigned long long>(to));
    if (!SetLengthFromLinux(path, to))
        Fail("could not set the file's length from Linux");
    model.disk.resize(to);
}

void SaveCommand()
{
    if (Chance(25))
        ShrinkIntoTheEdits();
    Step("save command");
    const bool saved = model.Save();
    Command(CMD_SAVE, !saved);
    if (!saved) {
        Step("  the save fails");
        const Box box = WaitForBox("the failed-save box");
        Expect(box, Ansi932(L"上書き保存"), FAILED, "the failed-save box");
        Press(box, IDOK);
    }
}

// One press on the scroll bar, delivered as the control delivers it: its
// requests (one for a click, several for a drag of the thumb or an arrow
// held down), then its end notice. Only the first request can ask the save
// question: the bar sends nothing more until it is answered. After a failed
// save the rest of the press asks nothing and moves nothing; after No or a
// save that went through, it moves as it would have. The end notice moves
// nothing and asks nothing.
void ScrollBarPress()
{
    const uint32_t shift = ScrollShiftFor(model.size);
    const auto anyPosition = [&] { return Pick(ScrollMaximum(model.size, shift) + 1); };
    struct Request {
        unsigned code;
        uint32_t position;
    };
    std::vector<Request> requests;
    std::string what;
    switch (Pick(9)) {
    case 0: case 1: case 2: case 3: { // a click or a hold on an arrow or a page area
        static const unsigned codes[] = {SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN};
        static const char* names[] = {"line up", "line down", "page up", "page down"};
        const uint32_t which = Pick(4);
        const uint32_t repeats = Chance(75) ? 1 : 2 + Pick(4);
        requests.assign(repeats, Request{codes[which], 0});
        what = std::string(names[which]) + " x" + std::to_string(repeats);
        break;
    }
    case 4: case 5: { // a drag of the thumb
        const uint32_t moves = 1 + Pick(4);
        for (uint32_t i = 0; i < moves; ++i)
            requests.push_back({SB_THUMBTRACK, anyPosition()});
        requests.push_back({SB_THUMBPOSITION, requests.back().position});
        what = "thumb dragged to " + std::to_string(requests.back().position);
        break;
    }
    case 6:
        requests.push_back({SB_TOP, 0});
        what = "top";
        break;
    case 7:
        requests.push_back({SB_BOTTOM, anyPosition()});
        what = "bottom";
        break;
    default:
        what = "the end notice alone";
        break;
    }
    Step("scroll bar: %s", what.c_str());
    bool refused = false;
    for (size_t i = 0; i < requests.size(); ++i) {
        const Request& r = requests[i];
        const bool asks = i == 0 && model.Modified();
        Deliver(vuko.main, WM_VSCROLL, MAKEWPARAM(r.code, r.position), reinterpret_cast<LPARAM>(vuko.bar), asks);
        if (asks && !AnswerSaveQuestion())
            refused = true;
        if (refused)
            continue;
        model.ScrollTo(NewTopOffset(model.top, model.size, shift, r.code, r.position));
    }
    SendSettled(vuko.main, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), reinterpret_cast<LPARAM>(vuko.bar));
}

void Wheel()
{
    const int delta = (Chance(50) ? 1 : -1) * static_cast<int>(40 * (1 + Pick(6)));
    Step("wheel %d", delta);
    const WheelSteps wheel = StepsForWheel(&model.wheelRest, delta, linesPerNotch);
    Deliver(vuko.main, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), MAKELPARAM(10, 10),
            model.Modified() && wheel.count > 0);
    if (wheel.count == 0 || !AnswerSaveQuestion())
        return;
    const uint32_t shift = ScrollShiftFor(model.size);
    uint32_t top = model.top;
    for (uint32_t i = 0; i < wheel.count; ++i)
        top = NewTopOffset(top, model.size, shift, wheel.code, 0);
    model.ScrollTo(top);
}

void Jump()
{
    const uint32_t target = Chance(20) ? model.size + Pick(100) : Pick(model.size + 1);
    char text[16];
    std::snprintf(text, sizeof text, "%X", target);
    Step("jump to %s", text);
    Command(CMD_JUMP);
    if (!AnswerSaveQuestion())
        return;
    const Box box = WaitForBox("the jump box");
    if (!box.input)
        Fail("the jump box has no field");
    SetField(box, IDC_INPUT, text);
    Press(box, IDC_OK);
    model.top = LineInFile(target, model.size);
    model.Reload();
}

// Where the search finds the pattern from the line after the top line, or
// -1: within the size taken at opening and the present end of the file the
// program holds.
int64_t Match()
{
    const std::vector<uint8_t>& held = model.Held();
    const uint64_t end = std::min<uint64_t>(model.size, held.size());
    const size_t n = model.pattern.size();
    for (uint64_t p = (uint64_t{model.top} + 16) & ~uint64_t{15}; p + n <= end; ++p) {
        if (std::equal(model.pattern.begin(), model.pattern.end(), held.begin() + p))
            return static_cast<int64_t>(p);
    }
    return -1;
}

// The end of a search that went ahead: the match moves the view (after the
// question when an edit was made meanwhile), or "not found".
void SearchEnds(int64_t match)
{
    Step("  %s", match < 0 ? "not found" : ("found at " + std::to_string(match)).c_str());
    if (match < 0) {
        const Box box = WaitForBox("the not-found box");
        Expect(box, Ansi932(L"検索"), NOT_FOUND, "the not-found box");
        Press(box, IDOK);
        return;
    }
    if (!AnswerSaveQuestion())
        return;
    model.top = static_cast<uint32_t>(match) & ~uint32_t{15};
    model.Reload();
}

// A marker: MARKER_LENGTH bytes from MARKER_LOWEST up, which no piece of
// the file holds (the other program plants them only as markers).
constexpr size_t MARKER_LENGTH = 8;
constexpr uint8_t MARKER_LOWEST = 0xF0;

void MakeAMarkerThePattern()
{
    model.pattern.clear();
    for (size_t i = 0; i < MARKER_LENGTH; ++i)
        model.pattern.push_back(static_cast<uint8_t>(MARKER_LOWEST + Pick(16)));
}

bool PatternIsAMarker()
{
    return model.pattern.size() == MARKER_LENGTH &&
           std::all_of(model.pattern.begin(), model.pattern.end(), [](uint8_t b) { return b >= MARKER_LOWEST; });
}

// Another program writes the pattern beyond the first chunk of a search
// from the top line, where the file has room.
void PlantBeyondTheFirstChunk()
{
    const uint64_t from = ((uint64_t{model.top} + 16) & ~uint64_t{15}) + SEARCH_STEP;
    const uint64_t end = std::min<uint64_t>(model.size, model.disk.size());
    if (model.replaced || from + MARKER_LENGTH >= end)
        return;
    const uint32_t at = static_cast<uint32_t>(from + Pick(static_cast<uint32_t>(end - from - MARKER_LENGTH)));
    Step("another program writes the marker %s at %X, beyond the first chunk", Hex(model.pattern).c_str(), at);
    if (!WriteFromLinux(path, at, model.pattern))
        Fail("could not write into the file from Linux");
    std::copy(model.pattern.begin(), model.pattern.end(), model.disk.begin() + at);
}

// A pattern of bytes that no piece of the file holds, so that a search
// runs through the whole first chunk and pumps: planted beyond that chunk,
// or (a quarter of the time) nowhere.
void FarPattern()
{
    MakeAMarkerThePattern();
    if (!Chance(25))
        PlantBeyondTheFirstChunk();
}

// The pattern entered through the hex prompt, then the search for it.
void SearchHexForThePattern()
{
    Step("search hex %s", Hex(model.pattern).c_str());
    Command(CMD_FIND_HEX);
    const Box box = WaitForBox("the search box");
    if (!box.input)
        Fail("the search box has no field");
    SetField(box, IDC_INPUT, Hex(model.pattern));
    Press(box, IDC_OK);
    if (!AnswerSaveQuestion())
        return;
    SearchEnds(Match());
}

void NewPattern()
{
    if (Chance(50)) {
        FarPattern();
        return;
    }
    model.pattern.clear();
    const uint32_t length = 1 + Pick(4);
    if (Chance(70) && model.disk.size() > length) {
        const uint32_t at = Pick(static_cast<uint32_t>(model.disk.size() - length));
        model.pattern.assign(model.disk.begin() + at, model.disk.begin() + at + length);
    } else {
        for (uint32_t i = 0; i < length; ++i)
            model.pattern.push_back(static_cast<uint8_t>(random()));
    }
}

void SearchHex()
{
    NewPattern();
    SearchHexForThePattern();
}

void SearchText()
{
    static const char* words[] = {"abc", "VUKO", "\x83\x41\x83\x43", "\x88\x9f", "c\r", "zz"};
    const std::string text = std::string(words[Pick(6)]) + (Chance(30) ? words[Pick(6)] : "");
    // A line end cannot be typed into the box's one line: those words are
    // typed up to it.
    const std::string typed = text.substr(0, text.find('\r'));
    model.pattern.assign(typed.begin(), typed.end());
    Step("search text \"%s\"", Utf8(typed).c_str());
    Command(CMD_FIND_TEXT);
    const Box box = WaitForBox("the text search box");
    if (!box.input)
        Fail("the text search box has no field");
    SetField(box, IDC_INPUT, typed);
    Press(box, IDC_OK);
    if (!AnswerSaveQuestion())
        return;
    SearchEnds(Match());
}

void FindNext()
{
    Step("find next: %s", model.pattern.empty() ? "no pattern" : Hex(model.pattern).c_str());
    if (model.pattern.empty()) {
        SendSettled(vuko.main, WM_COMMAND, MAKEWPARAM(CMD_FIND_NEXT, 0), 0);
        return;
    }
    const int64_t match = Match();
    Command(CMD_FIND_NEXT, model.Modified() || match < 0);
    if (!AnswerSaveQuestion())
        return;
    SearchEnds(match);
}

// Whether find-next can be given a command behind it (what), and where the
// search will stop: at match (-1: not found), which lies in the first chunk
// or not. Not while the window is modified (the save question would come
// first) or without a pattern, and not when the top line is the last one:
// then there is nothing to search, and the not-found box would take the
// command in its own loop.
bool SearchWithCommandBehind(const char* what, int64_t& match, bool& inFirstChunk)
{
    const uint64_t first = (uint64_t{model.top} + 16) & ~uint64_t{15};
    const char* why = model.Modified()          ? "the window is modified"
                      : model.pattern.empty() ? "no pattern yet"
                      : first >= model.size   ? "the top line is the last one"
                                              : nullptr;
    if (why != nullptr) {
        Step("(no %s during a search: %s)", what, why);
        return false;
    }
    match = Match();
    inFirstChunk = match >= 0 && static_cast<uint64_t>(match) < first + SEARCH_STEP;
    Step("find next with %s behind it (match %lld, the %s comes %s)", what, static_cast<long long>(match), what,
         inFirstChunk ? "after the search" : "in the search");
    return true;
}

// Readies find-next for a search that reads on after its pump: the search
// does that only where it has not found the pattern yet, so a marker is
// planted anew beyond the first chunk (mostly; else it is nowhere or where
// it was), and it carries bytes from its first chunk only when that chunk
// is whole, so it starts from the top of the file when the top line is too
// far down. The edits are saved first: a search with edits asks first.
void ReadyASearchThatPumps()
{
    if (model.Modified())
        SaveCommand();
    if (!PatternIsAMarker()) {
        MakeAMarkerThePattern();
        SearchHexForThePattern(); // held nowhere yet: the view stays
    }
    if (!model.Modified() && uint64_t{model.top} + 16 + SEARCH_CHUNK + MARKER_LENGTH > std::min<uint64_t>(model.size, model.disk.size())) {
        Step("to the top of the file");
        SendSettled(vuko.main, WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
        SendSettled(vuko.main, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
        model.ScrollTo(0);
    }
    if (Chance(80))
        PlantBeyondTheFirstChunk();
}

// An edit command posted behind find-next: the search takes it in its pump
// after its first chunk, unless the match lies in that chunk, when it comes
// after the search.
void EditDuringSearch()
{
    if (Chance(60))
        ReadyASearchThatPumps();
    int64_t match = -1;
    bool editAfter = false;
    if (!SearchWithCommandBehind("hex edit", match, editAfter))
        return;
    PostTogether(CMD_FIND_NEXT, CMD_EDIT_HEX);
    if (editAfter) {
        SearchEnds(match);
        const uint32_t shown = model.Shown(0, 8);
        if (shown > 0)
            AnswerEdit(true, 0, shown, true);
        else
            Flush(); // no box came
        return;
    }
    const uint32_t shown = model.Shown(0, 8);
    if (shown > 0)
        AnswerEdit(true, 0, shown, true);
    const bool questionComes = model.Modified();
    SearchEnds(match);
    if (match >= 0 && !questionComes)
        MatchShown(); // no box came at the end
    Flush();
}

// A page down posted behind find-next: the search takes it in its pump
// after its first chunk (the view moves a page and the window is read
// there, so that the file position is not where the search's next read
// begins; a line down would leave it exactly there) and then goes on to
// its end; after a match in the first chunk it moves the view from the
// match.
void MoveDuringSearch()
{
    ReadyASearchThatPumps();
    int64_t match = -1;
    bool moveAfter = false;
    if (!SearchWithCommandBehind("page down", match, moveAfter))
        return;
    const auto pageDown = [] {
        model.ScrollTo(TopAfterRequests(model.top, model.size, ScrollShiftFor(model.size), SCROLL_PAGE_DOWN, 0, 1));
    };
    PostTogether({{vuko.main, WM_COMMAND, MAKEWPARAM(CMD_FIND_NEXT, 0), 0},
                  {vuko.main, WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0}});
    if (moveAfter) {
        SearchEnds(match);
        Flush();
        pageDown();
        return;
    }
    SearchEnds(match);
    if (match >= 0)
        MatchShown();
    Flush();
    if (match < 0)
        pageDown(); // the view stays where the page down took it
}

// The abort command posted behind find-next: handled in the search's pump
// after its first chunk, it ends the search with "aborted" where it is;
// after a match in the first chunk it stops nothing.
void AbortDuringSearch()
{
    int64_t match = -1;
    bool matchFirst = false;
    if (!SearchWithCommandBehind("abort command", match, matchFirst))
        return;
    PostTogether(CMD_FIND_NEXT, CMD_FIND_ABORT);
    if (matchFirst) {
        SearchEnds(match);
        Flush(); // no box came
        return;
    }
    const Box box = WaitForBox("the aborted box");
    Expect(box, Ansi932(L"検索"), Ansi932(L"中断しました"), "the aborted box");
    Press(box, IDOK);
}

// A signed 32-bit number as the pattern, its four bytes lowest first; it is
// searched for by find-next.
void EnterDecimal()
{
    const int32_t value = static_cast<int32_t>(random());
    Step("enter the decimal %d as the pattern", value);
    Command(CMD_ENTER_DECIMAL);
    const Box box = WaitForBox("the decimal box");
    if (!box.input)
        Fail("the decimal box has no field");
    SetField(box, IDC_INPUT, std::to_string(value));
    Press(box, IDC_OK);
    const uint32_t bits = static_cast<uint32_t>(value);
    model.pattern = {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits >> 16),
                     static_cast<uint8_t>(bits >> 24)};
}

// A byte of the file that lies right next to the edits: before a run,
// just past it, or between two runs. There a save that writes one byte too
// many or too few changes a byte that the model knows. -1 when the window
// holds no edit next to a byte of the file the path names.
int64_t NextToTheEdits()
{
    const auto runs = model.EditedRuns();
    if (runs.empty() || model.replaced)
        return -1;
    const size_t k = Pick(static_cast<uint32_t>(runs.size()));
    const auto [start, end] = runs[k];
    int64_t at = int64_t{model.top} + end; // just past the run
    const uint32_t where = Pick(3);
    if (where == 0 && start > 0)
        at = int64_t{model.top} + start - 1; // just before it
    else if (where == 1 && k + 1 < runs.size())
        at = int64_t{model.top} + end + Pick(runs[k + 1].first - end); // between it and the next
    return at < static_cast<int64_t>(model.disk.size()) ? at : -1;
}

void OtherProgramWrites()
{
    if (model.disk.empty())
        return;
    const int64_t beside = Chance(70) ? NextToTheEdits() : -1;
    const uint32_t count = beside >= 0 ? 1 : 1 + Pick(4);
    const uint32_t at = beside >= 0 ? static_cast<uint32_t>(beside) : Pick(static_cast<uint32_t>(model.disk.size()));
    std::vector<uint8_t> bytes;
    for (uint32_t i = 0; i < count && at + i < model.disk.size(); ++i)
        bytes.push_back(static_cast<uint8_t>(random()));
    if (beside >= 0) // a byte the program's window does not hold: a stray write of it shows
        bytes[0] = static_cast<uint8_t>(model.disk[at] ^ (1 + Pick(255)));
    Step("another program writes %s at %X%s", Hex(bytes).c_str(), at, beside >= 0 ? ", next to the edits" : "");
    if (!WriteFromLinux(path, at, bytes))
        Fail("could not write into the file from Linux");
    std::copy(bytes.begin(), bytes.end(), model.disk.begin() + at);
}

// Another program makes the file longer or shorter. A file under a few
// chunks grows by up to two of them, so that the shrinking steps do not
// leave the file for good too small for a search to read past its first
// chunk and pump.
void Resize()
{
    const size_t size = model.disk.size();
    const uint32_t growth = size < 3 * SEARCH_CHUNK ? 2 * SEARCH_CHUNK : 5000;
    const size_t to = Chance(50) ? size + 1 + Pick(growth) : size - std::min<size_t>(size, Pick(20000));
    Step("another program makes the file %zX bytes long", to);
    if (!SetLengthFromLinux(path, to))
        Fail("could not set the file's length from Linux");
    model.disk.resize(to, 0);
}

void Reopen()
{
    const bool readOnly = Chance(30);
    Step("open the file again%s", readOnly ? " for reading only" : "");
    Command(CMD_OPEN);
    const Box box = WaitForBox("the open dialog");
    SetField(box, 0x47C, path);
    if (readOnly)
        SendMessageTimeoutA(GetDlgItem(box.window, 0x410), BM_SETCHECK, BST_CHECKED, 0, SMTO_NORMAL, WAIT_MS, nullptr);
    Press(box, IDOK);
    model.Open(readOnly); // unsaved edits are dropped, and nothing is asked about them later
}

// Another program replaces the file, as an editor's save or sed -i does: it
// writes a new file and renames it over the name, or deletes the file and
// makes a new one of the same name. The program still holds the old file.
void OtherProgramReplaces()
{
    std::vector<uint8_t> bytes = model.disk;
    const uint32_t changes = 1 + Pick(8);
    for (uint32_t i = 0; i < changes && !bytes.empty(); ++i)
        bytes[Pick(static_cast<uint32_t>(bytes.size()))] = static_cast<uint8_t>(random());
    if (Chance(30))
        bytes.resize(bytes.size() + Pick(300) - std::min<size_t>(bytes.size(), 150), 0x5A);
    const bool rename = Chance(50);
    Step("another program %s (%zX bytes)", rename ? "renames a new file over the name" : "deletes the file and makes it anew",
         bytes.size());
    if (!ReplaceFromLinux(path, bytes, rename))
        Fail("could not replace the file from Linux");
    if (!model.replaced) {
        model.orphan = model.disk;
        model.replaced = true;
    }
    model.disk = bytes;
}

// The window minimised and restored, which hands the view the focus again.
void MinimiseAndRestore()
{
    Step("minimise and restore the window");
    SendSettled(vuko.main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    SendSettled(vuko.main, WM_SYSCOMMAND, SC_RESTORE, 0);
}

// Keys that move the caret in the view (they change no text): down the
// lines, a page down, to the end of a line, or to the end of the text as
// Ctrl+End takes it (the control's own caret move and scroll to it: a key
// sent from here cannot carry the Ctrl key's state).
void KeysInView()
{
    static const struct {
        UINT key;
        const char* name;
    } keys[] = {{VK_DOWN, "down"}, {VK_NEXT, "page down"}, {VK_END, "end"}, {VK_RIGHT, "right"}};
    if (Chance(20)) {
        Step("Ctrl+End in the view");
        DWORD_PTR length = 0;
        SendMessageTimeoutA(vuko.view, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, WAIT_MS, &length);
        SendSettled(vuko.view, EM_SETSEL, length, static_cast<LPARAM>(length));
        SendSettled(vuko.view, EM_SCROLLCARET, 0, 0);
        return;
    }
    const auto& k = keys[Pick(4)];
    const uint32_t times = 1 + Pick(40);
    Step("key %s x%u in the view", k.name, times);
    for (uint32_t i = 0; i < times; ++i)
        SendSettled(vuko.view, WM_KEYDOWN, k.key, 1);
}

// ---------------------------------------------------------------------------
// The checks after every step.

std::vector<uint8_t> OnDisk()
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        Fail("cannot read the file");
    std::vector<uint8_t> bytes(model.disk.size() + 65536);
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

// How the view differs from the model's window: its offset and the pairs of
// every dump line, which are ASCII whatever the bytes are, after the header
// line; empty when they agree.
std::string ViewDiffers()
{
    static char expected[VIEW_TEXT_SIZE];
    BuildViewText(expected, "", model.top, model.window.data(),
                  DumpByteCount(model.size, model.top, model.Valid()));
    // Lines are compared by their offset and pairs: the character column
    // comes back from the control as characters of the code page, which
    // need not be the bytes put there.
    const auto lines = [](const std::string& text) {
        std::vector<std::string> split;
        for (size_t at = 0; at < text.size();) {
            const size_t end = text.find("\r\n", at);
            split.push_back(text.substr(at, std::min<size_t>(58, (end == std::string::npos ? text.size() : end) - at)));
            at = end == std::string::npos ? text.size() : end + 2;
        }
        return split;
    };
    const std::vector<std::string> view = lines(Text(vuko.view));
    const std::vector<std::string> want = lines(expected);
    char what[512];
    if (view.size() != want.size()) {
        std::snprintf(what, sizeof what, "the view shows %zu lines, the model's window at %08X (%u bytes valid) %zu",
                      view.size(), model.top, model.Valid(), want.size());
        return what;
    }
    for (size_t l = 1; l < want.size(); ++l) {
        if (view[l] != want[l]) {
            std::snprintf(what, sizeof what,
                          "the view does not show the model's window at %08X (%u bytes valid):\n  view:     %s\n"
                          "  expected: %s",
                          model.top, model.Valid(), view[l].c_str(), want[l].c_str());
            return what;
        }
    }
    return {};
}

void Check()
{
    Finish();
    DWORD_PTR firstLine = 0;
    if (!SendMessageTimeoutA(vuko.view, EM_GETFIRSTVISIBLELINE, 0, 0, SMTO_NORMAL, WAIT_MS, &firstLine))
        Fail("the program does not answer EM_GETFIRSTVISIBLELINE");
    if (firstLine != 0)
        Fail("the view shows its text from line %lu, not from the header line", static_cast<unsigned long>(firstLine));
    const std::vector<uint8_t> disk = OnDisk();
    if (disk != model.disk) {
        std::string differences;
        int shown = 0;
        for (size_t i = 0; i < std::max(disk.size(), model.disk.size()) && shown < 16; ++i) {
            const int actual = i < disk.size() ? disk[i] : -1;
            const int expected = i < model.disk.size() ? model.disk[i] : -1;
            if (actual != expected) {
                char line[80];
                std::snprintf(line, sizeof line, "  at %zX: expected %02X, on disk %02X\n", i, expected, actual);
                differences += line;
                ++shown;
            }
        }
        Fail("the file on disk is not the model's (%zu bytes, expected %zu):\n%s", disk.size(),
             model.disk.size(), differences.c_str());
    }
    const std::string differs = ViewDiffers();
    if (!differs.empty())
        Fail("%s", differs.c_str());
}

void Fail(const char* format, ...)
{
    char message[16384];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(message, sizeof message, format, arguments);
    va_end(arguments);
    const auto taken = std::count_if(steps.begin(), steps.end(),
                                     [](const std::string& step) { return step.rfind("-- step ", 0) == 0; });
    std::fprintf(stderr, "random_use: FAILED in step %ld: %s\nsteps:\n", static_cast<long>(taken), message);
    for (const std::string& step : steps)
        std::fprintf(stderr, "  %s\n", step.c_str());
    std::fprintf(stderr, "windows of the program:\n%s", Windows().c_str());
    std::fflush(stderr);
    TerminateProcess(vuko.process.hProcess, 1);
    std::exit(1);
}

// The test file: text lines with CR LF, double-byte characters, control
// bytes and stretches of zeros, longer than a window and a search chunk.
std::vector<uint8_t> MakeFile()
{
    std::vector<uint8_t> bytes;
    const size_t size = 0x11000 + Pick(0x10000);
    static const char* pieces[] = {"VUKO ", "\x83\x41\x83\x43", "\r\n", "abc", "\x88\x9f\x88\xa0", "\x01\x02",
                                   "   ", "\x8f"};
    while (bytes.size() < size) {
        if (Chance(5)) {
            bytes.resize(bytes.size() + Pick(600), 0);
        } else {
            const char* piece = pieces[Pick(8)];
            bytes.insert(bytes.end(), piece, piece + std::strlen(piece));
        }
    }
    bytes.resize(size);
    return bytes;
}

std::string DosName(const std::string& unixName)
{
    using DosNameOf = LPWSTR(CDECL*)(LPCSTR);
    const auto dosName = reinterpret_cast<DosNameOf>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
    if (dosName == nullptr || unixName.empty() || unixName[0] != '/')
        return unixName;
    LPWSTR wide = dosName(unixName.c_str());
    char ansi[MAX_PATH * 2];
    WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, nullptr, nullptr);
    HeapFree(GetProcessHeap(), 0, wide);
    return ansi;
}

void Start(const std::string& exe)
{
    std::string commandLine = "\"" + exe + "\" \"" + path + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &vuko.process))
        Fail("cannot start %s (error %lu)", exe.c_str(), GetLastError());
    // Its own window: other runs may show a file of the same name.
    const auto findMain = [] {
        vuko.main = nullptr;
        EnumWindows(
            [](HWND window, LPARAM) -> BOOL {
                DWORD process = 0;
                GetWindowThreadProcessId(window, &process);
                char title[64] = "";
                GetWindowTextA(window, title, sizeof title);
                if (process != vuko.process.dwProcessId || std::strcmp(title, "random.bin - VUKO") != 0)
                    return TRUE;
                vuko.main = window;
                return FALSE;
            },
            0);
        return vuko.main != nullptr;
    };
    if (!WaitFor(findMain))
        Fail("no window \"random.bin - VUKO\" of the program appeared");
    vuko.thread = GetWindowThreadProcessId(vuko.main, nullptr);
    vuko.view = GetDlgItem(vuko.main, IDC_VIEW);
    vuko.bar = GetDlgItem(vuko.main, IDC_SCROLL);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: random_use VUKO_EXE WORK_FOLDER SEED STEPS\n");
        return 2;
    }
    const std::string exe = DosName(argv[1]);
    const std::string folder = DosName(argv[2]);
    const unsigned long seed = std::strtoul(argv[3], nullptr, 10);
    const unsigned long count = std::strtoul(argv[4], nullptr, 10);
    std::printf("random_use: seed %lu, %lu steps (replay: random_use VUKO_EXE WORK_FOLDER %lu %lu)\n", seed, count,
                seed, count);
    std::fflush(stdout);
    random.seed(seed);
    UINT lines = 3;
    if (SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0))
        linesPerNotch = lines;

    CreateDirectoryA(folder.c_str(), nullptr);
    path = folder + "\\random.bin";
    model.disk = MakeFile();
    {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        if (file == INVALID_HANDLE_VALUE ||
            !WriteFile(file, model.disk.data(), static_cast<DWORD>(model.disk.size()), &written, nullptr))
            Fail("cannot create %s", path.c_str());
        CloseHandle(file);
    }
    Start(exe);
    model.Open(false);
    Check();

    for (unsigned long i = 0; i < count; ++i) {
        Step("-- step %lu (top %X, %u bytes valid, %s, file %zX bytes)", i + 1, model.top, model.Valid(),
             model.Modified() ? "modified" : "not modified", model.disk.size());
        const uint32_t kind = Pick(100);
        if (kind < 14)
            EditByCommand(Chance(50));
        else if (kind < 30)
            EditByClick(Chance(50));
        else if (kind < 32)
            TypeThenClick();
        else if (kind < 42)
            SaveCommand();
        else if (kind < 56)
            ScrollBarPress();
        else if (kind < 62)
            Wheel();
        else if (kind < 68)
            Jump();
        else if (kind < 71)
            SearchHex();
        else if (kind < 73)
            SearchText();
        else if (kind < 76)
            FindNext();
        else if (kind < 79)
            EditDuringSearch();
        else if (kind < 81)
            MoveDuringSearch();
        else if (kind < 82)
            AbortDuringSearch();
        else if (kind < 83)
            EnterDecimal();
        else if (kind < 90)
            OtherProgramWrites();
        else if (kind < 92)
            Resize();
        else if (kind < 94)
            OtherProgramReplaces();
        else if (kind < 95)
            MinimiseAndRestore();
        else if (kind < 96)
            KeysInView();
        else
            Reopen();
        Check();
    }

    PostMessageA(vuko.main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(vuko.process.hProcess, WAIT_MS) != WAIT_OBJECT_0)
        Fail("the program did not end after the close request");
    DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
    std::printf("random_use: seed %lu: %lu passed, 0 failed\n", seed, count);
    return 0;
}
