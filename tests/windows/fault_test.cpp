// Faults injected into the file calls of the Document, and a file that
// another program shortens while it is open: nothing shown or saved that
// was not read at that offset, failed saves reported, no file made longer.
#include "document/document.h"

#include "dump/dump_text.h"
#include "dump/render.h"
#include "resources/resource.h"
#include "search/search.h"
#include "tests/windows/support.h"

#include <cstring>
#include <functional>

namespace {

// What the injected calls do: the n-th call of a kind (counted from 1)
// fails, or a read or write transfers at most a given count.
struct Plan {
    int failSeek = 0, failRead = 0, failWrite = 0, failSize = 0;
    DWORD readAtMost = 0xFFFFFFFF, writeAtMost = 0xFFFFFFFF;
    int seeks = 0, reads = 0, writes = 0, sizes = 0;
    LONGLONG position = 0;                             // of the last seek that succeeded
    std::vector<std::pair<LONGLONG, DWORD>> written;   // offset and count of each write
};
Plan plan;

BOOL WINAPI Seek(HANDLE file, LARGE_INTEGER distance, PLARGE_INTEGER out, DWORD method)
{
    if (++plan.seeks == plan.failSeek)
        return FALSE;
    plan.position = distance.QuadPart;
    return SetFilePointerEx(file, distance, out, method);
}

BOOL WINAPI Read(HANDLE file, LPVOID buffer, DWORD count, LPDWORD done, LPOVERLAPPED overlapped)
{
    if (++plan.reads == plan.failRead)
        return FALSE;
    return ReadFile(file, buffer, count < plan.readAtMost ? count : plan.readAtMost, done, overlapped);
}

BOOL WINAPI Write(HANDLE file, LPCVOID buffer, DWORD count, LPDWORD done, LPOVERLAPPED overlapped)
{
    if (++plan.writes == plan.failWrite)
        return FALSE;
    const DWORD n = count < plan.writeAtMost ? count : plan.writeAtMost;
    plan.written.emplace_back(plan.position, n);
    return WriteFile(file, buffer, n, done, overlapped);
}

BOOL WINAPI Size(HANDLE file, PLARGE_INTEGER size)
{
    if (++plan.sizes == plan.failSize)
        return FALSE;
    return GetFileSizeEx(file, size);
}

class FaultTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        fileCalls = {Seek, Read, Write, Size};
        plan = Plan();
        path_ = folder_.Write("faults.bin", CountingBytes(0x10000));
        OpenDocument(window_, path_.c_str());
        ASSERT_NE(document.fileHandle, nullptr);
        plan = Plan();
    }
    // Moves to a new top line as a scroll does: reload and render.
    void MoveTo(uint32_t top)
    {
        document.topOffset = top;
        ReloadWindow();
        RenderView(window_);
    }
    // Saves with the warning answered; returns whether it was shown.
    bool SaveReported()
    {
        BoxAnswer answer(IDOK);
        SaveAndReport(window_);
        if (answer.answered()) {
            EXPECT_EQ(answer.text(), Ansi(L"保存できませんでした"));
        }
        return answer.answered();
    }
    // Writes a byte as another program would, through a handle of its own.
    bool WriteBehind(uint32_t offset, uint8_t byte)
    {
        HANDLE other = nullptr;
        if (!DuplicateHandle(GetCurrentProcess(), document.fileHandle, GetCurrentProcess(), &other,
                             0, FALSE, DUPLICATE_SAME_ACCESS))
            return false;
        DWORD written = 0;
        const bool ok = SetFilePointer(other, static_cast<LONG>(offset), nullptr, FILE_BEGIN) == offset &&
                        WriteFile(other, &byte, 1, &written, nullptr) && written == 1;
        CloseHandle(other);
        return ok;
    }
    std::vector<uint8_t> OnDisk()
    {
        CloseDocument();
        return ReadWholeFile(path_);
    }

    TempFolder folder_;
    std::string path_;
};

TEST_F(FaultTest, FailedSeekOrReadShowsAndSavesNothing)
{
    struct Case {
        const char* name;
        int Plan::*fail;
    };
    for (const Case& c : {Case{"seek", &Plan::failSeek}, Case{"read", &Plan::failRead}}) {
        SCOPED_TRACE(c.name);
        plan = Plan();
        plan.*c.fail = 1;
        MoveTo(0x4000);
        EXPECT_EQ(document.validCount, 0u);
        EXPECT_EQ(ViewText(window_).size(), LINE_LENGTH); // the header alone
        EXPECT_FALSE(SaveReported());                    // nothing to save
        EXPECT_TRUE(plan.written.empty());
    }
    EXPECT_EQ(OnDisk(), CountingBytes(0x10000));
}

TEST_F(FaultTest, ShortReadShowsAndSavesOnlyTheBytesRead)
{
    plan.readAtMost = 100;
    MoveTo(0x4000);
    EXPECT_EQ(document.validCount, 100u);
    const std::string text = ViewText(window_);
    ASSERT_EQ(text.size(), 8 * LINE_LENGTH); // 6 full lines and one of 4 bytes
    EXPECT_EQ(text.substr(7 * LINE_LENGTH, 24), " 00004060  60 61 62 63  ");

    std::memset(document.windowBuffer, 0xEE, WINDOW_SIZE);
    NoteEdited(0, WINDOW_SIZE);
    EXPECT_FALSE(SaveReported());
    ASSERT_EQ(plan.written.size(), 1u);
    EXPECT_EQ(plan.written[0], (std::pair<LONGLONG, DWORD>{0x4000, 100}));
    std::vector<uint8_t> expected = CountingBytes(0x10000);
    std::memset(expected.data() + 0x4000, 0xEE, 100);
    EXPECT_EQ(OnDisk(), expected);
}

TEST_F(FaultTest, ReadOfNothingShowsNoStaleBytes)
{
    MoveTo(0x100);
    ASSERT_EQ(document.validCount, WINDOW_SIZE);
    plan.readAtMost = 0;
    MoveTo(0x200);
    EXPECT_EQ(document.validCount, 0u);
    EXPECT_EQ(ViewText(window_).size(), LINE_LENGTH);
}

// A save that fails is reported and loses nothing: the bytes it did not
// write stay edited, the flag stays set, and the next save writes exactly
// them, never anything elsewhere.
TEST_F(FaultTest, FailedOrShortWriteIsReportedAndKeepsWhatItDidNotWrite)
{
    using Writes = std::vector<std::pair<LONGLONG, DWORD>>;
    struct Case {
        const char* name;
        int failSeek, failWrite, failSize;
        DWORD writeAtMost;
        Writes failing; // what the failing save wrote
        Writes next;    // what the next save wrote
    };
    const Writes all = {{0x8000, 1}, {0x8010, 16}};
    const Case cases[] = {
        {"seek fails", 1, 0, 0, 0xFFFFFFFF, {}, all},
        {"write fails", 0, 1, 0, 0xFFFFFFFF, {}, all},
        {"size query fails", 0, 0, 1, 0xFFFFFFFF, {}, all},
        {"second write fails", 0, 2, 0, 0xFFFFFFFF, {{0x8000, 1}}, {{0x8010, 16}}},
        {"write comes back short", 0, 0, 0, 10, {{0x8000, 1}, {0x8010, 10}}, {{0x801A, 6}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MoveTo(0x8000);
        plan = Plan();
        plan.failSeek = c.failSeek;
        plan.failWrite = c.failWrite;
        plan.failSize = c.failSize;
        plan.writeAtMost = c.writeAtMost;
        EditByte(0, 0x11);
        std::memset(document.windowBuffer + 0x10, 0x11, 16); // more than the short write takes
        NoteEdited(0x10, 16);
        EXPECT_TRUE(SaveReported());
        EXPECT_TRUE(document.modified);
        EXPECT_EQ(plan.written, c.failing);
        EXPECT_EQ(document.windowBuffer[0], 0x11); // the edits stay in the window

        plan = Plan();
        EXPECT_FALSE(SaveReported());
        EXPECT_FALSE(document.modified);
        EXPECT_EQ(plan.written, c.next);
    }
    std::vector<uint8_t> expected = CountingBytes(0x10000);
    expected[0x8000] = 0x11;
    std::memset(expected.data() + 0x8010, 0x11, 16);
    EXPECT_EQ(OnDisk(), expected);
}

// A save writes each run of edited bytes at its offset, in offset order, and
// nothing between them (so a byte that another program wrote there stays);
// nothing when nothing was edited. A failed save keeps the runs for the
// next, a successful one forgets them.
TEST_F(FaultTest, SaveWritesTheEditedRunsOnly)
{
    using Writes = std::vector<std::pair<LONGLONG, DWORD>>;
    MoveTo(0x4000);
    EXPECT_FALSE(SaveReported());
    EXPECT_EQ(plan.written, Writes{}) << "nothing edited";

    EditByte(9, 0x99);
    EditByte(2, 0x22);
    EditByte(3, 0x33);
    ASSERT_TRUE(WriteBehind(0x4005, 'x')); // between the edits
    EXPECT_FALSE(SaveReported());
    EXPECT_EQ(plan.written, (Writes{{0x4002, 2}, {0x4009, 1}})) << "bytes 2 to 3, and 9";
    EXPECT_FALSE(SaveReported());
    EXPECT_EQ(plan.written, (Writes{{0x4002, 2}, {0x4009, 1}})) << "saved already";

    EditByte(0x10, 0x10 ^ 0xFF);
    plan.failWrite = plan.writes + 1;
    EXPECT_TRUE(SaveReported());
    EXPECT_EQ(plan.written, (Writes{{0x4002, 2}, {0x4009, 1}})) << "the failed write";
    EXPECT_FALSE(SaveReported());
    EXPECT_EQ(plan.written, (Writes{{0x4002, 2}, {0x4009, 1}, {0x4010, 1}})) << "written by the next save";

    std::vector<uint8_t> expected = CountingBytes(0x10000);
    expected[0x4002] = 0x22;
    expected[0x4003] = 0x33;
    expected[0x4005] = 'x';
    expected[0x4009] = 0x99;
    expected[0x4010] = 0x10 ^ 0xFF;
    EXPECT_EQ(OnDisk(), expected);
}

// No to the save question drops the edits at once, also before moves that
// then change nothing: no later save writes a byte the user declined, and
// an edit made afterwards is saved alone.
TEST_F(FaultTest, EditsDeclinedByNoAreNeverWritten)
{
    using Writes = std::vector<std::pair<LONGLONG, DWORD>>;
    const auto no = [](HWND box) { PostMessageA(box, WM_COMMAND, IDNO, 0); };
    const auto cancel = [](HWND box) { PostMessageA(box, WM_COMMAND, IDC_CANCEL, 0); };
    const auto ok = [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); };
    struct Case {
        const char* name;
        std::function<void(HWND)> move; // at offset 0, a move that moves nothing
        std::vector<BoxScript::Step> steps;
    };
    const Case cases[] = {
        {"line up", [](HWND w) { SendMessageA(w, WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0), 0); }, {no}},
        {"wheel back", [](HWND w) { SendMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0); }, {no}},
        {"cancelled jump", [](HWND w) { SendMessageA(w, WM_COMMAND, MAKEWPARAM(CMD_JUMP, 0), 0); }, {no, cancel}},
        {"search not found", [](HWND w) { SendMessageA(w, WM_COMMAND, MAKEWPARAM(CMD_FIND_NEXT, 0), 0); },
         {no, ok}},
    };
    std::memcpy(SearchPattern.patternBytes, "\xEE\xEE\xEE", 3);
    SearchPattern.patternLength = 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MoveTo(0);
        plan = Plan();
        EditByte(5, 0x55);
        RenderView(window_);
        {
            BoxScript script(c.steps);
            c.move(window_);
            EXPECT_EQ(script.stepsRun(), static_cast<int>(c.steps.size()));
        }
        EXPECT_EQ(document.topOffset, 0u);
        EXPECT_FALSE(document.modified);
        EXPECT_EQ(ViewText(window_).substr(LINE_LENGTH, 29), " 00000000  00 01 02 03 04 05 ");
        EXPECT_FALSE(SaveReported());
        EXPECT_EQ(plan.written, Writes{});

        EditByte(6, 0x66);
        EXPECT_FALSE(SaveReported());
        EXPECT_EQ(plan.written, (Writes{{6, 1}}));
        ASSERT_TRUE(WriteBehind(6, 0x06)); // as it was, for the next case
    }
    std::memset(&SearchPattern, 0, sizeof SearchPattern);
    EXPECT_EQ(OnDisk(), CountingBytes(0x10000));
}

// A move that asked the save question, when Yes fails to save: the failure
// is reported, nothing moves, the edit stays on screen and the flag stays
// set, so the same move asks again; No then drops the edit and moves. A
// failed save command leaves the next move asking too.
TEST_F(FaultTest, FailedSaveKeepsTheEditAndTheMoveThatAskedDoesNotHappen)
{
    const std::string SAVE_QUESTION = Ansi(L"変更内容を保存しますか?");
    const std::string SAVE_FAILED = Ansi(L"保存できませんでした");
    using Step = BoxScript::Step;
    // Records a message box's text and presses one of its buttons.
    const auto press = [](std::vector<std::string>& seen, int button) -> Step {
        return [&seen, button](HWND box) {
            seen.push_back(WindowText(GetDlgItem(box, MESSAGE_BOX_TEXT)));
            PostMessageA(box, WM_COMMAND, button, 0);
        };
    };
    struct Case {
        const char* name;
        std::function<void(HWND)> move;
        Step afterNo; // a box the move opens after the question, or none
        uint32_t movedTo;
    };
    const Step jumpTo100 = [](HWND box) {
        SetDlgItemTextA(box, IDC_INPUT, "100");
        PostMessageA(box, WM_COMMAND, IDC_OK, 0);
    };
    const Case cases[] = {
        {"line scroll",
         [](HWND w) {
             SendMessageA(w, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
             SendMessageA(w, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0); // the press ends
         },
         nullptr, 0x10},
        {"wheel", [](HWND w) { SendMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0); },
         nullptr, 0x30},
        {"jump", [](HWND w) { SendMessageA(w, WM_COMMAND, MAKEWPARAM(CMD_JUMP, 0), 0); }, jumpTo100, 0x100},
        {"find next", [](HWND w) { SendMessageA(w, WM_COMMAND, MAKEWPARAM(CMD_FIND_NEXT, 0), 0); }, nullptr, 0x40},
    };
    SearchPattern.patternBytes[0] = 0x40;
    SearchPattern.patternBytes[1] = 0x41;
    SearchPattern.patternLength = 2;
    for (const Case& c : cases) {
        for (const bool byCommand : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.name << (byCommand ? ", after a failed save command" : ""));
            MoveTo(0);
            EditByte(0, 0xEE);
            RenderView(window_);
            plan = Plan();
            plan.failWrite = 1;
            std::vector<std::string> seen;
            if (byCommand) {
                ASSERT_TRUE(SaveReported());
            } else {
                BoxScript script({press(seen, IDYES), press(seen, IDOK)});
                c.move(window_);
                EXPECT_EQ(seen, (std::vector<std::string>{SAVE_QUESTION, SAVE_FAILED}));
            }
            EXPECT_EQ(document.topOffset, 0u);
            EXPECT_TRUE(document.modified);
            EXPECT_EQ(ViewText(window_).substr(LINE_LENGTH, 14), " 00000000  EE ");

            seen.clear();
            std::vector<Step> steps = {press(seen, IDNO)};
            if (c.afterNo)
                steps.push_back(c.afterNo);
            {
                BoxScript script(steps);
                c.move(window_);
                EXPECT_EQ(script.stepsRun(), static_cast<int>(steps.size()));
            }
            EXPECT_EQ(seen, std::vector<std::string>{SAVE_QUESTION});
            EXPECT_EQ(document.topOffset, c.movedTo);
            EXPECT_FALSE(document.modified);
            EXPECT_EQ(plan.written.size(), 0u);
        }
    }
    std::memset(&SearchPattern, 0, sizeof SearchPattern);
    EXPECT_EQ(OnDisk(), CountingBytes(0x10000));
}

TEST_F(FaultTest, FileShortenedByAnotherProgramIsNeverMadeLongerAgain)
{
    fileCalls = StartFileCalls(); // the real calls
    MoveTo(0x8000);
    ASSERT_EQ(document.validCount, 0x8000u);
    std::memset(document.windowBuffer, 0x77, WINDOW_SIZE);
    NoteEdited(0, WINDOW_SIZE);
    ASSERT_TRUE(ShrinkFile(path_, 0x9000));

    // The save writes up to the present end and reports the rest.
    EXPECT_TRUE(SaveReported());
    EXPECT_EQ(FileSize64(path_), 0x9000u);

    // Reading beyond the new end shows nothing of the old window.
    MoveTo(0xC000);
    EXPECT_EQ(document.validCount, 0u);
    EXPECT_EQ(ViewText(window_).size(), LINE_LENGTH);
    EXPECT_FALSE(SaveReported());

    std::vector<uint8_t> expected = CountingBytes(0x9000);
    std::memset(expected.data() + 0x8000, 0x77, 0x1000);
    EXPECT_EQ(OnDisk(), expected);
}

} // namespace
