// The Document against real files: positioned transfers, opening, reloading,
// saving and the save question.
#include "document/document.h"

#include "dump/dump_text.h"
#include "dump/render.h"
#include "resources/resource.h"
#include "search/search.h"
#include "tests/windows/linux_side.h"
#include "tests/windows/support.h"

#include <cstring>
#include <functional>

namespace {

constexpr uint32_t NOT_TOUCHED = 0xDEADBEEF;

class FileTransferTest : public testing::Test {
protected:
    void SetUp() override
    {
        path_ = folder_.Write("hundred.bin", CountingBytes(100));
        handle_ = FileOpen(path_.c_str(), &size_);
        ASSERT_NE(handle_, nullptr);
    }
    void TearDown() override { CloseHandle(handle_); }

    TempFolder folder_;
    std::string path_;
    HANDLE handle_ = nullptr;
    uint32_t size_ = 0;
};

TEST_F(FileTransferTest, ReadIsClippedAtTheSize)
{
    EXPECT_EQ(size_, 100u);
    uint8_t buffer[32] = {};
    uint32_t count = NOT_TOUCHED;
    ASSERT_TRUE(FileReadAt(handle_, size_, 90, buffer, sizeof buffer, &count));
    EXPECT_EQ(count, 10u);
    EXPECT_EQ(buffer[0], 90);
    EXPECT_EQ(buffer[9], 99);
}

TEST_F(FileTransferTest, WriteIsClippedAndNeverExtendsTheFile)
{
    uint8_t buffer[32];
    std::memset(buffer, 0xEE, sizeof buffer);
    uint32_t count = NOT_TOUCHED;
    ASSERT_TRUE(FileWriteAt(handle_, size_, 90, buffer, sizeof buffer, &count));
    EXPECT_EQ(count, 10u);
    CloseHandle(handle_);
    handle_ = nullptr;

    std::vector<uint8_t> expected = CountingBytes(100);
    std::memset(expected.data() + 90, 0xEE, 10);
    EXPECT_EQ(ReadWholeFile(path_), expected);
}

TEST_F(FileTransferTest, TransfersAtOrPastTheEndAreRefused)
{
    uint8_t buffer[4] = {};
    for (uint32_t offset : {100u, 101u, 0xFFFFFFFFu}) {
        uint32_t count = NOT_TOUCHED;
        EXPECT_FALSE(FileReadAt(handle_, size_, offset, buffer, sizeof buffer, &count)) << offset;
        EXPECT_FALSE(FileWriteAt(handle_, size_, offset, buffer, sizeof buffer, &count)) << offset;
        EXPECT_EQ(count, NOT_TOUCHED);
    }
    uint32_t count = NOT_TOUCHED;
    EXPECT_FALSE(FileReadAt(nullptr, size_, 0, buffer, sizeof buffer, &count));
    EXPECT_EQ(count, NOT_TOUCHED);
    EXPECT_EQ(FileSize64(path_), 100u);
}

TEST(FileOpen, SizeOfAPathThatNamesNoFile)
{
    TempFolder folder;
    uint32_t size = 0;
    EXPECT_EQ(FileOpen(folder.File("missing.bin").c_str(), &size), nullptr);
    EXPECT_EQ(size, 0xFFFFFFFFu);
}

using DocumentTest = MainWindowTest;

TEST_F(DocumentTest, EmptyFileShowsTheHeaderOnly)
{
    TempFolder folder;
    OpenDocument(window_, folder.Write("empty.bin", {}).c_str());
    ASSERT_NE(document.fileHandle, nullptr);
    EXPECT_EQ(document.fileSize, 0u);
    EXPECT_EQ(document.scrollShift, 0u);
    EXPECT_EQ(document.topOffset, 0u);
    EXPECT_EQ(document.validCount, 0u);
    int low = -1, high = -1;
    GetScrollRange(GetDlgItem(window_, IDC_SCROLL), SB_CTL, &low, &high);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 1);
    EXPECT_EQ(ViewText(window_).size(), LINE_LENGTH);
    EXPECT_EQ(WindowText(window_), "empty.bin - VUKO");
}

TEST_F(DocumentTest, SmallFileIsReadWhole)
{
    TempFolder folder;
    OpenDocument(window_, folder.Write("small.bin", CountingBytes(300)).c_str());
    EXPECT_EQ(document.validCount, 300u);
    EXPECT_EQ(std::memcmp(document.windowBuffer, CountingBytes(300).data(), 300), 0);
}

TEST_F(DocumentTest, NearTheEndReadsAndSavesOnlyWhatIsLeft)
{
    TempFolder folder;
    const std::string path = folder.Write("tail.bin", CountingBytes(0x10005));
    OpenDocument(window_, path.c_str());
    document.topOffset = 0x10000;
    ReloadWindow();
    ASSERT_EQ(document.validCount, 5u);
    std::memset(document.windowBuffer, 0xAA, WINDOW_SIZE); // edits past the valid bytes too
    NoteEdited(0, WINDOW_SIZE);
    EXPECT_TRUE(SaveWindow());
    EXPECT_FALSE(document.modified);

    std::vector<uint8_t> expected = CountingBytes(0x10005);
    std::memset(expected.data() + 0x10000, 0xAA, 5);
    CloseDocument();
    EXPECT_EQ(ReadWholeFile(path), expected);
}

TEST_F(DocumentTest, ReopeningTheOpenFileStartsAtOffsetZero)
{
    TempFolder folder;
    const std::string path = folder.Write("again.bin", CountingBytes(0x1000));
    OpenDocument(window_, path.c_str());
    document.topOffset = 0x800;
    ReloadWindow();
    OpenDocument(window_, path.c_str());
    ASSERT_NE(document.fileHandle, nullptr);
    EXPECT_EQ(document.topOffset, 0u);
    EXPECT_EQ(document.validCount, 0x1000u);
    EXPECT_EQ(document.windowBuffer[0x10], 0x10);
}

TEST_F(DocumentTest, PathThatNamesNoFileLeavesTheOldDumpAndTheProductTitle)
{
    TempFolder folder;
    OpenDocument(window_, folder.Write("first.bin", CountingBytes(64)).c_str());
    const std::string dump = ViewText(window_);
    OpenDocument(window_, folder.File("missing.bin").c_str());
    EXPECT_EQ(document.fileHandle, nullptr);
    EXPECT_EQ(document.fileSize, 0xFFFFFFFFu);
    EXPECT_EQ(WindowText(window_), "VUKO");
    EXPECT_EQ(ViewText(window_), dump);
}

TEST_F(DocumentTest, NewFileWithNothingToReadShowsNoBytesOfThePreviousFile)
{
    TempFolder folder;
    OpenDocument(window_, folder.Write("full.bin", CountingBytes(0x2000)).c_str());
    const std::string emptyPath = folder.Write("empty.bin", {});
    OpenDocument(window_, emptyPath.c_str());
    EXPECT_EQ(document.validCount, 0u);
    EXPECT_EQ(ViewText(window_).size(), LINE_LENGTH);
    EXPECT_TRUE(SaveWindow());
    EXPECT_EQ(FileSize64(emptyPath), 0u);
}

TEST_F(DocumentTest, RefusedReloadLeavesNothingToShowOrSave)
{
    TempFolder folder;
    const std::string path = folder.Write("data.bin", CountingBytes(0x100));
    OpenDocument(window_, path.c_str());
    document.topOffset = 0x200; // past the end: the read is refused
    ReloadWindow();
    EXPECT_EQ(document.validCount, 0u);
    document.topOffset = 0x80;  // a save here must not write the bytes of offset 0
    EXPECT_TRUE(SaveWindow());
    CloseDocument();
    EXPECT_EQ(ReadWholeFile(path), CountingBytes(0x100));
}

TEST_F(DocumentTest, ReadOnlyFallbackShowsAndAFailedSaveIsReported)
{
    TempFolder folder;
    const std::string path = folder.Write("held.bin", CountingBytes(64));
    // A second opener that shares reading only: the read-write open is refused.
    HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    OpenDocument(window_, path.c_str());
    ASSERT_NE(document.fileHandle, nullptr);
    EXPECT_EQ(document.validCount, 64u);
    EXPECT_NE(ViewText(window_).find(" 00000030  30 31 32"), std::string::npos);

    EditByte(0, 0xFF);
    {
        BoxAnswer answer(IDOK);
        SaveAndReport(window_);
        EXPECT_TRUE(answer.answered());
        EXPECT_EQ(answer.title(), "\x8f\xe3\x8f\x91\x82\xab\x95\xdb\x91\xb6");     // 上書き保存
        EXPECT_EQ(answer.text(),
                  "\x95\xdb\x91\xb6\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd"); // 保存できませんでした
    }
    EXPECT_TRUE(document.modified); // the next move asks again
    EXPECT_EQ(document.windowBuffer[0], 0xFF); // the edit stays in the window
    CloseHandle(holder);
    CloseDocument();
    EXPECT_EQ(ReadWholeFile(path), CountingBytes(64));
}

TEST_F(DocumentTest, SaveWithNoDocumentClearsTheFlagAndSaysNothing)
{
    document.modified = true;
    BoxAnswer answer(IDOK);
    SaveAndReport(window_);
    EXPECT_FALSE(answer.answered());
    EXPECT_FALSE(document.modified);
}

// No (and Escape, which the box turns into No) drops the edit at once: the
// window and the view show the file's byte again, and no later save can
// write the declined byte.
TEST_F(DocumentTest, SaveQuestionYesWritesNoDropsTheEdit)
{
    TempFolder folder;
    const std::string path = folder.Write("ask.bin", CountingBytes(32));
    struct Case {
        int button;
        SaveAnswer outcome;
        uint8_t shown; // in the window and the view after the answer
        uint8_t onDisk;
    };
    for (const Case& c : {Case{IDNO, SaveAnswer::Dropped, 0x00, 0x00}, Case{IDCANCEL, SaveAnswer::Dropped, 0x00, 0x00},
                          Case{IDYES, SaveAnswer::Saved, 0x77, 0x77}}) {
        SCOPED_TRACE(c.button);
        OpenDocument(window_, path.c_str());
        EditByte(0, 0x77);
        RenderView(window_);
        BoxAnswer answer(c.button);
        EXPECT_EQ(PromptSave(window_), c.outcome);
        EXPECT_TRUE(answer.answered());
        EXPECT_EQ(answer.text(), "\x95\xcf\x8d\x58\x93\xe0\x97\x65\x82\xf0\x95\xdb\x91\xb6\x82\xb5"
                                 "\x82\xdc\x82\xb7\x82\xa9?"); // 変更内容を保存しますか?
        EXPECT_FALSE(document.modified);
        EXPECT_EQ(document.windowBuffer[0], c.shown);
        char pair[4];
        wsprintfA(pair, "%02X ", c.shown);
        EXPECT_EQ(ViewText(window_).substr(LINE_LENGTH + 11, 3), pair);
        SaveAndReport(window_); // writes nothing more
        CloseDocument();
        EXPECT_EQ(ReadWholeFile(path)[0], c.onDisk);
    }
}

// Opening a file starts with no edits and the flag clear, whatever the
// previous file had: the new file's first move asks nothing.
TEST_F(DocumentTest, OpeningAFileStartsUnmodified)
{
    TempFolder folder;
    const std::string first = folder.Write("first.bin", CountingBytes(0x200));
    const std::string second = folder.Write("second.bin", CountingBytes(0x200));
    for (const std::string& next : {second, folder.File("missing.bin")}) {
        SCOPED_TRACE(next);
        ASSERT_TRUE(OpenFile(window_, first));
        EditByte(0, 0x77);
        OpenDocument(window_, next.c_str());
        EXPECT_FALSE(document.modified);
        BoxAnswer answer(IDYES);
        SendMessageA(window_, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
        SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_SAVE, 0), 0);
        EXPECT_FALSE(answer.answered());
    }
    CloseDocument();
    EXPECT_EQ(ReadWholeFile(first), CountingBytes(0x200));
    EXPECT_EQ(ReadWholeFile(second), CountingBytes(0x200));
}

// A stamp taken before a message loop tells afterwards whether the window
// is still the one it was taken for: not after a move, nor after any open,
// even of the same file; edits and saves leave it current.
TEST_F(DocumentTest, AStampStaysCurrentUntilTheTopLineMovesOrAFileIsOpened)
{
    TempFolder folder;
    const std::string path = folder.Write("stamp.bin", CountingBytes(0x200));
    const std::string other = folder.Write("other.bin", CountingBytes(0x200));
    struct Case {
        const char* name;
        std::function<void()> meanwhile;
        bool current;
    };
    const Case cases[] = {
        {"nothing", [] {}, true},
        {"an edit, then its save", [] { EditByte(3, 0x41); EXPECT_TRUE(SaveWindow()); }, true},
        {"a move back to the same line", [&] { MoveTopLine(window_, 0); }, true},
        {"a move to the next line", [&] { MoveTopLine(window_, 0x10); }, false},
        {"the same file opened again", [&] { OpenDocument(window_, path.c_str()); }, false},
        {"another file opened", [&] { OpenDocument(window_, other.c_str()); }, false},
        {"a file that is not there", [&] { OpenDocument(window_, folder.File("missing.bin").c_str()); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(OpenFile(window_, path));
        const DocumentStamp stamp = TakeStamp();
        EXPECT_TRUE(StillCurrent(stamp));
        c.meanwhile();
        EXPECT_EQ(StillCurrent(stamp), c.current);
    }
    CloseDocument();
}

// A drop handled while the save question is open (the box's own loop hands
// it on) takes away the window that was asked about: whatever the answer,
// the move that asked does not happen, neither in the file dropped nor with
// none open. No jump box opens, no search runs, nothing scrolls, and the
// file asked about keeps its bytes (the open dropped the edit, as an open
// does).
TEST_F(DocumentTest, AMoveWhoseFileWentAwayWhileTheSaveQuestionWasOpenDoesNotHappen)
{
    TempFolder folder;
    const std::string asked = folder.Write("asked.bin", CountingBytes(0x2000));
    const std::string other = folder.Write("other.bin", CountingBytes(0x2000));
    const std::string missing = folder.File("missing.bin");
    std::memcpy(SearchPattern.patternBytes, "\x10\x11\x12", 3); // at 0x10, 0x110, ... in both files
    SearchPattern.patternLength = 3;
    const NamedMessage moves[] = {
        {"jump", WM_COMMAND, MAKEWPARAM(CMD_JUMP, 0)},
        {"find next", WM_COMMAND, MAKEWPARAM(CMD_FIND_NEXT, 0)},
        {"page down", WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0)},
    };
    for (const NamedMessage& move : moves) {
        for (const std::string& dropped : {other, missing}) {
            for (const int button : {IDYES, IDNO}) {
                SCOPED_TRACE(testing::Message() << move.name << ", " << dropped << " dropped, answer " << button);
                ASSERT_TRUE(OpenFile(window_, asked));
                EditByte(0, 0x77);
                RenderView(window_);
                std::vector<std::string> boxes;
                BoxScript script({[&](HWND box) {
                                      boxes.push_back(WindowText(GetDlgItem(box, MESSAGE_BOX_TEXT)));
                                      SendMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({dropped})), 0);
                                      PostMessageA(box, WM_COMMAND, button, 0);
                                  },
                                  [&](HWND box) { // a box that must not come
                                      boxes.push_back(WindowText(box));
                                      PostMessageA(box, WM_CLOSE, 0, 0);
                                  }});
                SendMessageA(window_, move.message, move.wParam, 0);
                if (move.message == WM_VSCROLL) // the press ends, as the bar ends it
                    SendMessageA(window_, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
                EXPECT_EQ(boxes, std::vector<std::string>{Ansi(L"変更内容を保存しますか?")});
                const bool opened = dropped == other;
                EXPECT_EQ(document.fileHandle != nullptr, opened);
                EXPECT_EQ(WindowText(window_), opened ? "other.bin - VUKO" : "VUKO");
                EXPECT_EQ(document.topOffset, 0u);
                if (opened) {
                    EXPECT_EQ(ViewText(window_).substr(LINE_LENGTH, 9), " 00000000");
                }
                EXPECT_FALSE(document.modified);
                CloseDocument();
                EXPECT_EQ(ReadWholeFile(asked), CountingBytes(0x2000));
                EXPECT_EQ(ReadWholeFile(other), CountingBytes(0x2000));
            }
        }
    }
}

// Another program replaces the open file (a new file renamed over its name)
// or deletes it (and perhaps makes a new one of that name) while it is open:
// the name no longer leads to the file held open. A save then fails and
// says so, writes neither file, and keeps the edit and the flag; the move
// that asked does not happen. Opened again, the new file saves as usual.
TEST_F(DocumentTest, SaveFailsWhenThePathNoLongerNamesTheOpenFile)
{
    TempFolder folder;
    const std::string SAVE_FAILED = Ansi(L"保存できませんでした");
    const std::vector<uint8_t> theirs(0x300, 0xCC);
    enum How { RENAMED_OVER, DELETED_AND_MADE_ANEW, DELETED };
    for (const How how : {RENAMED_OVER, DELETED_AND_MADE_ANEW, DELETED}) {
        SCOPED_TRACE(how);
        const std::string path = folder.Write("replaced.bin", CountingBytes(0x200));
        ASSERT_TRUE(OpenFile(window_, path));
        EditByte(0, 0x77);
        RenderView(window_);
        if (how == DELETED) {
            ASSERT_TRUE(StartLinuxProgram("/bin/rm -f \"" + UnixFileName(path) + "\""));
            ASSERT_TRUE(WaitFor([&] { return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES; }));
        } else {
            ASSERT_TRUE(ReplaceFromLinux(path, theirs, how == RENAMED_OVER));
        }
        {
            BoxAnswer answer(IDOK);
            EXPECT_EQ(SaveAndReport(window_), 0);
            EXPECT_TRUE(answer.answered());
            EXPECT_EQ(answer.text(), SAVE_FAILED);
        }
        {
            std::vector<std::string> seen;
            BoxScript script({[&](HWND box) {
                                  seen.push_back(WindowText(GetDlgItem(box, MESSAGE_BOX_TEXT)));
                                  PostMessageA(box, WM_COMMAND, IDYES, 0);
                              },
                              [&](HWND box) {
                                  seen.push_back(WindowText(GetDlgItem(box, MESSAGE_BOX_TEXT)));
                                  PostMessageA(box, WM_COMMAND, IDOK, 0);
                              }});
            SendMessageA(window_, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
            SendMessageA(window_, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
            EXPECT_EQ(seen, (std::vector<std::string>{Ansi(L"変更内容を保存しますか?"), SAVE_FAILED}));
        }
        EXPECT_EQ(document.topOffset, 0u);
        EXPECT_TRUE(document.modified);
        EXPECT_EQ(ViewText(window_).substr(LINE_LENGTH, 14), " 00000000  77 ");
        uint8_t held = 0xFF; // the old file, which only the program still reaches
        ASSERT_TRUE(FileReadAt(document.fileHandle, document.fileSize, 0, &held, 1, nullptr));
        EXPECT_EQ(held, 0x00);

        if (how == DELETED) {
            EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
            CloseDocument();
            continue;
        }
        EXPECT_EQ(ReadWholeFile(path), theirs);
        ASSERT_TRUE(OpenFile(window_, path)); // drops the edit, asks nothing
        EXPECT_FALSE(document.modified);
        EditByte(1, 0x11);
        EXPECT_TRUE(SaveWindow());
        CloseDocument();
        std::vector<uint8_t> expected = theirs;
        expected[1] = 0x11;
        EXPECT_EQ(ReadWholeFile(path), expected);
        DeleteFileA(path.c_str());
    }
}

TEST_F(DocumentTest, SaveKeepsWhatAnotherHandleWroteMeanwhile)
{
    TempFolder folder;
    const std::string path = folder.Write("shared.bin", CountingBytes(0x200));
    OpenDocument(window_, path.c_str());
    ASSERT_NE(document.fileHandle, nullptr);

    // Another handle on the open file writes after the window was read.
    HANDLE other = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), document.fileHandle, GetCurrentProcess(),
                                &other, 0, FALSE, DUPLICATE_SAME_ACCESS));
    ASSERT_TRUE(SetFilePointer(other, 0x64, nullptr, FILE_BEGIN) == 0x64);
    DWORD written = 0;
    const uint8_t theirs[] = {0xEE, 0xEE, 0xEE, 0xEE};
    ASSERT_TRUE(WriteFile(other, theirs, sizeof theirs, &written, nullptr));
    CloseHandle(other);

    // The user edits byte 0 through the hexadecimal edit command and saves.
    {
        BoxAnswer answer(IDC_OK, IDC_INPUT, "77");
        SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_EDIT_HEX, 0), 0);
        ASSERT_TRUE(answer.answered());
    }
    ASSERT_EQ(document.windowBuffer[0], 0x77);
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_SAVE, 0), 0);
    CloseDocument();

    std::vector<uint8_t> expected = CountingBytes(0x200);
    expected[0] = 0x77;
    std::memset(expected.data() + 0x64, 0xEE, 4);
    const std::vector<uint8_t> onDisk = ReadWholeFile(path);
    EXPECT_EQ(onDisk, expected) << "at 0x64: " << std::hex << int(onDisk.at(0x64)) << " "
                                << int(onDisk.at(0x65)) << " " << int(onDisk.at(0x66)) << " "
                                << int(onDisk.at(0x67)) << ", at 0: " << int(onDisk.at(0));
}

TEST_F(DocumentTest, TitleKeepsADoubleByteCharacterWithA5CTrailByte)
{
    TempFolder folder;
    // 表 is 0x95 0x5C in code page 932: its trail byte is a backslash.
    const std::string name = "\x95\x5C.bin";
    OpenDocument(window_, folder.Write(name, {1, 2, 3}).c_str());
    ASSERT_NE(document.fileHandle, nullptr);
    EXPECT_EQ(WindowText(window_), name + " - VUKO");
}

TEST_F(DocumentTest, TitleOfABareNameAndOfANameTooLongForTheTitle)
{
    TempFolder folder;
    char previous[MAX_PATH];
    GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.path().c_str()));

    folder.Write("bare.bin", {1});
    OpenDocument(window_, "bare.bin");
    EXPECT_EQ(WindowText(window_), "bare.bin - VUKO");

    // 247 letters and 表: 249 bytes, one more than the title has room for
    // beside " - VUKO"; the double-byte character must go whole.
    // Created by its relative name: with the folder, its path is longer than
    // the ANSI file functions take.
    const std::string longName = std::string(247, 'a') + "\x95\x5C";
    HANDLE file = CreateFileA(longName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    OpenDocument(window_, longName.c_str());
    ASSERT_NE(document.fileHandle, nullptr);
    EXPECT_EQ(WindowText(window_), std::string(247, 'a') + " - VUKO");

    CloseDocument();
    DeleteFileA(longName.c_str());
    SetCurrentDirectoryA(previous);
}

// A sparse file of 8 GiB - 1 byte: the program sees the low 32 bits of its
// size, 0xFFFFFFFF, and reaches offsets from 2 GiB up only with a full
// unsigned seek.
class HugeFileTest : public MainWindowTest {
protected:
    static constexpr uint64_t SIZE = 0x1FFFFFFFFull;
    struct Marker {
        uint32_t offset;
        uint8_t bytes[4];
    };
    static constexpr Marker MARKERS[] = {
        {0x7FFFFFF0, {0x11, 0x22, 0x33, 0x44}},
        {0x80000010, {0x55, 0x66, 0x77, 0x88}},
        {0xFFFFFFF0, {0x99, 0xAA, 0xBB, 0xCC}},
    };

    void SetUp() override
    {
        MainWindowTest::SetUp();
        path_ = MakeSparseFile(folder_.File("huge.bin"), SIZE);
        ASSERT_NE(path_, "");
        for (const Marker& marker : MARKERS)
            ASSERT_TRUE(WriteAt(path_, marker.offset, std::vector<uint8_t>(marker.bytes, marker.bytes + 4)));
    }

    void TearDown() override
    {
        MainWindowTest::TearDown();
        DeleteFileA(path_.c_str());
    }

    TempFolder folder_;
    std::string path_;
};

TEST_F(HugeFileTest, MarkersAboveTwoGigabytesAreReadAndSavedInPlace)
{
    OpenDocument(window_, path_.c_str());
    ASSERT_NE(document.fileHandle, nullptr);
    ASSERT_EQ(document.fileSize, 0xFFFFFFFFu);
    EXPECT_EQ(document.scrollShift, 18u);

    for (const Marker& marker : MARKERS) {
        SCOPED_TRACE(testing::Message() << std::hex << marker.offset);
        document.topOffset = marker.offset;
        ReloadWindow();
        const uint32_t expected = marker.offset == 0xFFFFFFF0 ? 15 : WINDOW_SIZE;
        ASSERT_EQ(document.validCount, expected);
        EXPECT_EQ(std::memcmp(document.windowBuffer, marker.bytes, 4), 0);
    }

    document.topOffset = 0x80000010;
    ReloadWindow();
    EditByte(1, 0xE1);
    ASSERT_TRUE(SaveWindow());
    CloseDocument();

    EXPECT_EQ(ReadAt(path_, 0x80000010, 4), (std::vector<uint8_t>{0x55, 0xE1, 0x77, 0x88}));
    EXPECT_EQ(ReadAt(path_, 0x7FFFFFF0, 4), (std::vector<uint8_t>{0x11, 0x22, 0x33, 0x44}));
    EXPECT_EQ(ReadAt(path_, 0x10, 4), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(FileSize64(path_), SIZE);
}

} // namespace
