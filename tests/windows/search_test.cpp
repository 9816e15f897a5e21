// The search on real files in the real main window, and the three pattern
// prompts.
#include "search/search.h"

#include "document/document.h"
#include "dump/dump_text.h"
#include "dump/render.h"
#include "resources/resource.h"
#include "search/chunk_walk.h"
#include "search/screen_pace.h"
#include "tests/windows/support.h"

#include <algorithm>
#include <cstring>

namespace {

class SearchTest : public MainWindowTest {
protected:
    // Opens a file of these bytes; fails when it did not open.
    testing::AssertionResult Open(std::vector<uint8_t> bytes, const char* name = "search.bin")
    {
        return WriteAndOpen(window_, folder_, name, bytes, path_);
    }
    void SetPattern(const std::string& bytes)
    {
        std::memcpy(SearchPattern.patternBytes, bytes.data(), bytes.size());
        SearchPattern.patternLength = static_cast<uint32_t>(bytes.size());
    }
    static std::vector<uint8_t> With(size_t size, std::initializer_list<std::pair<size_t, std::string>> at)
    {
        std::vector<uint8_t> bytes(size, 0);
        for (const auto& [offset, text] : at)
            std::memcpy(bytes.data() + offset, text.data(), text.size());
        return bytes;
    }
    // The texts of the message boxes that the search shows, and the view
    // text at the time of each; every box is answered with OK.
    struct Boxes {
        std::vector<std::string> captions, texts, views;
    };
    Boxes Run(int expectedBoxes, std::function<void()> search)
    {
        Boxes seen;
        std::vector<BoxScript::Step> steps;
        for (int k = 0; k < expectedBoxes; ++k) {
            steps.push_back([this, &seen](HWND box) {
                seen.captions.push_back(WindowText(box));
                seen.texts.push_back(WindowText(GetDlgItem(box, MESSAGE_BOX_TEXT)));
                seen.views.push_back(ViewText(window_));
                PostMessageA(box, WM_COMMAND, IDOK, 0);
            });
        }
        BoxScript script(steps);
        search();
        EXPECT_EQ(script.stepsRun(), expectedBoxes);
        return seen;
    }

    const std::string SEARCH = Ansi(L"検索");
    const std::string NOT_FOUND = Ansi(L"見つかりません");
    const std::string ABORTED = Ansi(L"中断しました");
    TempFolder folder_;
    std::string path_;
};

TEST_F(SearchTest, MatchBeyondTheFirstChunkMovesToItsLineWithoutAMessage)
{
    ASSERT_TRUE(Open(With(0x20000, {{0x12345, "VUKO"}})));
    SetPattern("VUKO");
    Run(0, [&] { RunSearch(window_); });
    EXPECT_EQ(document.topOffset, 0x12340u);
    EXPECT_FALSE(searchActive);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(document.windowBuffer) + 5, 4), "VUKO");
    EXPECT_EQ(ViewText(window_).substr(LINE_LENGTH, 10), " 00012340 ");
}

TEST_F(SearchTest, TheTopLineIsNotSearchedAndFindNextSkipsTheRestOfTheMatchLine)
{
    ASSERT_TRUE(Open(With(0x200, {{0x3, "ab"}, {0x43, "ab"}, {0x48, "ab"}, {0x100, "ab"}})));
    SetPattern("ab");
    RunSearch(window_);
    EXPECT_EQ(document.topOffset, 0x40u);
    RunSearch(window_);
    EXPECT_EQ(document.topOffset, 0x100u);
    const Boxes boxes = Run(1, [&] { RunSearch(window_); });
    EXPECT_EQ(boxes.texts, std::vector<std::string>{NOT_FOUND});
    EXPECT_EQ(document.topOffset, 0x100u);
}

TEST_F(SearchTest, NotFoundShowsProgressThenItsMessageThenTheDumpAgain)
{
    ASSERT_TRUE(Open(With(0x10000, {{0x3, "xyz"}})));
    SetPattern("xyz");
    const std::string dump = ViewText(window_);
    const Boxes boxes = Run(1, [&] { RunSearch(window_); });
    EXPECT_EQ(boxes.captions, std::vector<std::string>{SEARCH});
    EXPECT_EQ(boxes.texts, std::vector<std::string>{NOT_FOUND});
    EXPECT_EQ(boxes.views, std::vector<std::string>{SEARCH + "(0000E010)"}); // the third chunk
    EXPECT_EQ(ViewText(window_), dump);
    EXPECT_EQ(document.topOffset, 0u);
}

TEST_F(SearchTest, LastLineOrEmptyFileIsNotFoundWithoutProgress)
{
    struct Case {
        const char* name;
        size_t size;
        uint32_t top;
    };
    for (const Case& c : {Case{"last line", 0x1005, 0x1000}, Case{"empty file", 0, 0}}) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Open(std::vector<uint8_t>(c.size, 'a'), c.name));
        document.topOffset = c.top;
        ReloadWindow();
        RenderView(window_);
        const std::string dump = ViewText(window_);
        SetPattern("a");
        const Boxes boxes = Run(1, [&] { RunSearch(window_); });
        EXPECT_EQ(boxes.texts, std::vector<std::string>{NOT_FOUND});
        EXPECT_EQ(boxes.views, std::vector<std::string>{dump});
    }
}

TEST_F(SearchTest, NoPatternOrNoFileDoesNothing)
{
    ASSERT_TRUE(Open(With(0x100, {})));
    Run(0, [&] { RunSearch(window_); });
    CloseDocument();
    SetPattern("a");
    Run(0, [&] { RunSearch(window_); });
}

class LongSearchTest : public SearchTest {
protected:
    // A sparse file of 1 GiB of zeros: a search through it takes long
    // enough for anything posted before it to arrive in its pump.
    void SetUp() override
    {
        SearchTest::SetUp();
        path_ = MakeSparseFile(folder_.File("long.bin"), 0x40000000);
        ASSERT_NE(path_, "");
        OpenDocument(window_, path_.c_str());
        SetPattern("absent");
    }
    void TearDown() override
    {
        SearchTest::TearDown();
        DeleteFileA(path_.c_str());
    }
};

TEST_F(LongSearchTest, AbortExitAndCloseRequestEndItAsAbortedAndTheWindowStays)
{
    const NamedMessage cases[] = {
        {"abort command", WM_COMMAND, MAKEWPARAM(CMD_FIND_ABORT, 0)},
        {"close request", WM_CLOSE, 0},
        {"exit command", WM_COMMAND, MAKEWPARAM(CMD_EXIT, 0)},
    };
    for (const NamedMessage& c : cases) {
        SCOPED_TRACE(c.name);
        PostMessageA(window_, c.message, c.wParam, 0);
        const Boxes boxes = Run(1, [&] { RunSearch(window_); });
        EXPECT_EQ(boxes.captions, std::vector<std::string>{SEARCH});
        EXPECT_EQ(boxes.texts, std::vector<std::string>{ABORTED});
        EXPECT_EQ(boxes.views, std::vector<std::string>{SEARCH + "(00000010)"});
        EXPECT_TRUE(IsWindow(window_));
        EXPECT_NE(document.fileHandle, nullptr);
        EXPECT_FALSE(searchActive);
        EXPECT_EQ(ViewText(window_).substr(LINE_LENGTH, 10), " 00000000 ");
    }
}

TEST_F(LongSearchTest, NestedFindNextEndsTheOuterSearchAsAborted)
{
    // The nested search starts at the same line, ends as not found at the
    // end of the file... too long for a test: it is stopped by an abort
    // posted behind it, so it ends as aborted; the outer one then too.
    PostMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_FIND_NEXT, 0), 0);
    PostMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_FIND_ABORT, 0), 0);
    const Boxes boxes = Run(2, [&] { RunSearch(window_); });
    EXPECT_EQ(boxes.texts, (std::vector<std::string>{ABORTED, ABORTED}));
    EXPECT_FALSE(searchActive);
}

TEST_F(LongSearchTest, DropOfAMissingFileEndsTheScanAtOnceAsNotFound)
{
    // The drop leaves no file open: the scan must not go on with failed
    // reads to the 4 GiB limit; it ends after the chunk before the drop.
    PostMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({folder_.File("missing.bin")})), 0);
    const Boxes boxes = Run(1, [&] { RunSearch(window_); });
    EXPECT_EQ(boxes.texts, std::vector<std::string>{NOT_FOUND});
    EXPECT_EQ(boxes.views, std::vector<std::string>{SEARCH + "(00000010)"});
    EXPECT_EQ(document.fileHandle, nullptr);
    EXPECT_EQ(WindowText(window_), "VUKO");
    EXPECT_FALSE(searchActive);
}

TEST_F(LongSearchTest, QuitMessageInThePumpEndsTheSearchAndIsKeptForTheMainLoop)
{
    // Taken by the pump, a quit message would be lost and the program would
    // never end; it is put back and the search stops without a message.
    PostQuitMessage(7);
    Run(0, [&] { RunSearch(window_); });
    EXPECT_FALSE(searchActive);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
}

// A search through ten chunks whose clock advances by a set number of
// milliseconds at every read; each read notes the view text it finds. At
// FAST_BLOCK_MS or more a read, every read fills a single chunk.
class PacedSearchTest : public SearchTest {
protected:
    void SetUp() override
    {
        SearchTest::SetUp();
        ASSERT_TRUE(Open(With(0x40000, {}))); // chunks at 0x10 + k * 0x7000, k = 0 to 9
        SetPattern("absent");
        fileCalls.read = NotingRead;
        searchClock = [] { return clockMs_; };
        clockMs_ = 1000;
        msPerRead_ = 0;
        abortAtRead_ = -1;
        paceWindow_ = window_;
        viewsAtReads_.clear();
    }
    static BOOL WINAPI NotingRead(HANDLE file, void* buffer, DWORD count, DWORD* done, OVERLAPPED* overlapped)
    {
        if (static_cast<int>(viewsAtReads_.size()) == abortAtRead_)
            PostMessageA(paceWindow_, WM_COMMAND, MAKEWPARAM(CMD_FIND_ABORT, 0), 0);
        viewsAtReads_.push_back(ViewText(paceWindow_));
        clockMs_ += msPerRead_;
        if (slowWindow_ != nullptr)
            PostMessageA(slowWindow_, WM_APP, 0, 0);
        return ReadFile(file, buffer, count, done, overlapped);
    }
    std::string Progress(int chunk) const
    {
        char text[16];
        wsprintfA(text, "(%08X)", 0x10 + chunk * SEARCH_STEP);
        return SEARCH + text;
    }
    // The view text that each read after the first one finds when the
    // progress was shown after the given chunks.
    std::vector<std::string> ViewsAtReads(const std::vector<int>& shownAfter, int reads) const
    {
        std::vector<std::string> views;
        size_t next = 0;
        std::string view;
        for (int read = 1; read < reads; ++read) {
            while (next < shownAfter.size() && shownAfter[next] < read)
                view = Progress(shownAfter[next++]);
            views.push_back(view);
        }
        return views;
    }

    static inline std::vector<std::string> viewsAtReads_;
    static inline uint64_t clockMs_;
    static inline uint64_t msPerRead_;
    static inline int abortAtRead_;
    static inline HWND paceWindow_;
    static inline HWND slowWindow_; // gets a slow message at every read, when there
};

TEST_F(PacedSearchTest, ProgressAndPumpRunAfterTheFirstChunkThenEveryThirtyMilliseconds)
{
    struct Case {
        uint64_t msPerRead;
        std::vector<int> shownAfter; // chunks after which the progress was shown
        int reads;
    };
    const Case cases[] = {
        // A stopped clock: only the first chunk's. Every read is fast:
        // chunk 0 alone, then blocks of 2 and 4 chunks, then chunks 7 and
        // 8, the last one short of a whole chunk where the file ends, and
        // the last chunk, 9, alone.
        {0, {0}, 5},
        {10, {0, 3, 6, 9}, 10},
        {29, {0, 2, 4, 6, 8}, 10},
        {30, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.msPerRead << " ms a chunk");
        viewsAtReads_.clear();
        msPerRead_ = c.msPerRead;
        const std::string dump = ViewText(window_);
        const Boxes boxes = Run(1, [&] { RunSearch(window_); });
        EXPECT_EQ(boxes.texts, std::vector<std::string>{NOT_FOUND});
        // Behind the message, the last chunk searched, shown or not.
        EXPECT_EQ(boxes.views, std::vector<std::string>{Progress(9)});
        ASSERT_EQ(viewsAtReads_.size(), static_cast<size_t>(c.reads));
        EXPECT_EQ(viewsAtReads_[0], dump);
        EXPECT_EQ(std::vector<std::string>(viewsAtReads_.begin() + 1, viewsAtReads_.end()),
                  ViewsAtReads(c.shownAfter, c.reads));
    }
}

// Time that passes only inside the pump (each read posts a message whose
// handling takes 40 ms) counts from the end of the screen work: the pump
// after the first chunk is the only one, and the progress is shown once.
// The reads are fast: blocks grow as with a stopped clock.
TEST_F(PacedSearchTest, TimeSpentInThePumpIsNotCountedAsScanTime)
{
    WNDCLASSA kind = {};
    kind.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_APP)
            clockMs_ += 40;
        return DefWindowProcA(window, message, wParam, lParam);
    };
    kind.hInstance = GetModuleHandleA(nullptr);
    kind.lpszClassName = "VukoTestSlowMessage";
    RegisterClassA(&kind);
    slowWindow_ = CreateWindowExA(0, kind.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  kind.hInstance, nullptr);
    ASSERT_NE(slowWindow_, nullptr);
    const Boxes boxes = Run(1, [&] { RunSearch(window_); });
    DestroyWindow(slowWindow_);
    slowWindow_ = nullptr;
    EXPECT_EQ(boxes.texts, std::vector<std::string>{NOT_FOUND});
    ASSERT_EQ(viewsAtReads_.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(viewsAtReads_.begin() + 1, viewsAtReads_.end()), ViewsAtReads({0}, 5));
}

TEST_F(PacedSearchTest, AbortDuringTheScanIsHandledAtTheNextPump)
{
    // Posted during the fifth read; with 10 ms a chunk the pump after the
    // first chunk is followed by those after the fourth and the seventh.
    msPerRead_ = 10;
    abortAtRead_ = 4;
    const Boxes boxes = Run(1, [&] { RunSearch(window_); });
    EXPECT_EQ(boxes.texts, std::vector<std::string>{ABORTED});
    EXPECT_EQ(boxes.views, std::vector<std::string>{Progress(6)});
    EXPECT_EQ(viewsAtReads_.size(), 7u);
    EXPECT_FALSE(searchActive);
}

// What happens at the search's reads, counted from 1.
struct ReadFault {
    int failRead = 0;              // this read fails
    int shortRead = 0;             // this read gets at most 0x100 bytes
    int pumpAfterRead = 0;         // the clock moves on: a pump follows this chunk
    bool scrollInThatPump = false; // with a scroll waiting for it, which reads the file elsewhere
};

// A search from the top through chunks at 0x10 + k * 0x7000 of a file of
// random bytes below 0xF0, with the file calls noted and faults injected.
// The clock stands still unless a case moves it, so every read is fast and
// the only pump is the one after the first chunk: chunk 0 is read alone,
// then chunks 1 and 2 in one block after a seek, then the blocks carry the
// overlap of the block before and read only the rest, with no seek, 4 and
// then 8 chunks at a time, until a pump, a short or a failed read.
class CarriedOverlapTest : public SearchTest {
protected:
    static constexpr uint32_t SIZE = 0x39010; // chunk 8 holds the overlap of chunk 7 alone
    static uint32_t Chunk(int k) { return 0x10 + static_cast<uint32_t>(k) * SEARCH_STEP; }

    using Fault = ReadFault;
    // One read as the file saw it: whether a seek came before it, where the
    // file position stood, and how many bytes were asked for.
    struct Read {
        bool seeked;
        uint32_t at;
        uint32_t count;
        friend bool operator==(const Read&, const Read&) = default;
        friend std::ostream& operator<<(std::ostream& out, const Read& r)
        {
            return out << (r.seeked ? "seek, " : "") << std::hex << r.at << "+" << r.count;
        }
    };
    // The read of a block of chunks chunks from chunk k on: whole after a
    // seek, or after the carried overlap with none; up to the file's end.
    static Read Whole(int k, uint32_t chunks) { return Clipped({true, Chunk(k), chunks * SEARCH_STEP + SEARCH_OVERLAP}); }
    static Read Carried(int k, uint32_t chunks) { return Clipped({false, Chunk(k) + SEARCH_OVERLAP, chunks * SEARCH_STEP}); }
    static Read Clipped(Read r) { return {r.seeked, r.at, std::min(r.count, SIZE - r.at)}; }

    void SetUp() override
    {
        SearchTest::SetUp();
        searchClock = [] { return clockMs_; };
        carryWindow_ = window_;
    }
    static std::vector<uint8_t> RandomBytes(size_t size, uint32_t seed)
    {
        std::vector<uint8_t> bytes(size);
        for (uint8_t& b : bytes) {
            seed = seed * 1103515245 + 12345;
            b = static_cast<uint8_t>((seed >> 16) % 0xF0);
        }
        return bytes;
    }
    // A pattern of length bytes from 0xF0 up, which the random bytes never hold.
    static std::string Marker(uint32_t length, int variant = 0)
    {
        std::string pattern(length, '\0');
        for (uint32_t i = 0; i < length; ++i)
            pattern[i] = static_cast<char>(0xF0 + (i * 7 + static_cast<uint32_t>(variant)) % 16);
        return pattern;
    }
    // Opens bytes, then searches from the top with the calls noted and
    // fault applied; returns the top offset at the end, or NOT_FOUND_TOP
    // when the search ended with a message.
    static constexpr uint32_t NOT_FOUND_TOP = 0xFFFFFFFF;
    uint32_t Search(const std::vector<uint8_t>& bytes, const std::string& pattern, const Fault& fault)
    {
        fileCalls = StartFileCalls();
        EXPECT_TRUE(Open(bytes, "carry.bin"));
        SetPattern(pattern);
        fault_ = fault;
        reads_.clear();
        seeked_ = false;
        clockMs_ = 1000;
        fileCalls.seek = NotingSeek;
        fileCalls.read = NotingRead;
        std::vector<std::string> boxes;
        BoxScript script({[&](HWND box) {
            boxes.push_back(WindowText(GetDlgItem(box, MESSAGE_BOX_TEXT)));
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }});
        RunSearch(window_);
        fileCalls = StartFileCalls();
        const uint32_t top = boxes.empty() ? document.topOffset : NOT_FOUND_TOP;
        ResetDocument();
        return top;
    }

    static BOOL WINAPI NotingSeek(HANDLE file, LARGE_INTEGER distance, PLARGE_INTEGER out, DWORD method)
    {
        seeked_ = true;
        return SetFilePointerEx(file, distance, out, method);
    }
    // Notes the search's reads; those of the window (a scroll's, the
    // match's) only end what a seek before them began.
    static BOOL WINAPI NotingRead(HANDLE file, void* buffer, DWORD count, DWORD* done, OVERLAPPED* overlapped)
    {
        const bool seeked = seeked_;
        seeked_ = false;
        if (buffer == document.windowBuffer)
            return ReadFile(file, buffer, count, done, overlapped);
        LARGE_INTEGER at = {}, none = {};
        SetFilePointerEx(file, none, &at, FILE_CURRENT);
        reads_.push_back({seeked, static_cast<uint32_t>(at.QuadPart), count});
        const int n = static_cast<int>(reads_.size());
        if (n == fault_.pumpAfterRead) {
            clockMs_ += SCREEN_INTERVAL_MS;
            if (fault_.scrollInThatPump)
                PostMessageA(carryWindow_, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
        }
        if (n == fault_.failRead)
            return FALSE;
        return ReadFile(file, buffer, n == fault_.shortRead ? std::min<DWORD>(count, 0x100) : count, done,
                        overlapped);
    }

    static inline Fault fault_;
    static inline std::vector<Read> reads_;
    static inline bool seeked_;
    static inline uint64_t clockMs_;
    static inline HWND carryWindow_;
};

TEST_F(CarriedOverlapTest, PatternsAtTheSeamsOfBlocksAndChunksAreFoundAfterTheExpectedReads)
{
    struct Case {
        const char* name;
        std::vector<std::pair<uint32_t, int>> planted; // offset and variant of each copy of the pattern
        uint32_t length;
        Fault fault;
        uint32_t found; // NOT_FOUND_TOP: not found
        std::vector<Read> reads;
    };
    const uint32_t P1 = Chunk(1), P2 = Chunk(2), P3 = Chunk(3), P6 = Chunk(6);
    const Read first = Whole(0, 1), pair = Whole(1, 2), four = Carried(3, 4), last = Carried(7, 8);
    const Case cases[] = {
        {"across the carried overlap and the bytes read after it", {{P3 + 0xFFE, 0}}, 4, {}, P3 + 0xFFE,
         {first, pair, four}},
        {"wholly in the carried overlap", {{P3 + 0x10, 0}}, 0x100, {}, P3 + 0x10, {first, pair, four}},
        {"the longest pattern, the whole carried overlap", {{P3, 0}}, PATTERN_CAPACITY, {}, P3, {first, pair, four}},
        {"the longest pattern, one byte after the overlap", {{P3 + 1, 0}}, PATTERN_CAPACITY, {}, P3 + 1,
         {first, pair, four}},
        {"a block's first chunk, its last compared position", {{P1 + 0x6FFF, 0}}, 2, {}, P1 + 0x6FFF,
         {first, pair}},
        {"the longest, from a block's first chunk into its second", {{P1 + 0x6FFF, 0}}, PATTERN_CAPACITY, {},
         P1 + 0x6FFF, {first, pair}},
        {"a block's last chunk, its last compared position", {{P2 + 0x6FFF, 0}}, 2, {}, P2 + 0x6FFF,
         {first, pair}},
        {"the longest, at a carried block's last compared position", {{P6 + 0x6FFF, 0}}, PATTERN_CAPACITY, {},
         P6 + 0x6FFF, {first, pair, four}},
        // A short read ends its block with the chunk it ends in: the
        // chunks after it are read again, one alone first.
        {"a chunk after the one where a short read ended", {{P2 + 0x10, 0}}, 8, {.shortRead = 2}, P2 + 0x10,
         {first, pair, Whole(2, 1)}},
        {"the chunk after that, carried again", {{P3 + 0x30, 0}}, 8, {.shortRead = 2}, P3 + 0x30,
         {first, pair, Whole(2, 1), Carried(3, 2)}},
        // A failed read loses its first chunk, carried bytes as well, as a
        // failed read of a whole chunk does; the others are read again.
        {"the chunk after one whose read failed", {{P1 + 0x10, 0}, {P2 + 0x30, 0}, {P3 + 0x30, 0}}, 8,
         {.failRead = 2}, P2 + 0x30, {first, pair, Whole(2, 1)}},
        {"the chunk after one whose carried read failed", {{P3 + 0x30, 0}, {Chunk(4) + 0x30, 0}}, 8,
         {.failRead = 3}, Chunk(4) + 0x30, {first, pair, four, Whole(4, 1)}},
        // A pump (here one that a slow read made due) drops what the buffer
        // carries; that read also makes the next block smaller.
        {"a pump between blocks", {{P3 + 0xFFE, 0}}, 4, {.pumpAfterRead = 2}, P3 + 0xFFE, {first, pair, Whole(3, 1)}},
        {"a pump in which a scroll read the file elsewhere", {{P3 + 0xFFE, 0}}, 4,
         {.pumpAfterRead = 2, .scrollInThatPump = true}, P3 + 0xFFE, {first, pair, Whole(3, 1)}},
        {"at the end of the file, in the overlap that the last chunk holds alone", {{SIZE - 6, 0}}, 6, {},
         SIZE - 6, {first, pair, four, last}},
        {"a file that ends with only the first part of the pattern", {{SIZE - 2, 0}}, 3, {}, NOT_FOUND_TOP,
         {first, pair, four, last}},
        {"absent", {}, 5, {}, NOT_FOUND_TOP, {first, pair, four, last}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes = RandomBytes(SIZE, 20);
        const std::string pattern = Marker(c.length);
        for (const auto& [offset, variant] : c.planted) {
            const std::string copy = Marker(c.length, variant);
            std::copy(copy.begin(), copy.begin() + std::min<size_t>(copy.size(), SIZE - offset),
                      bytes.begin() + offset);
        }
        const uint32_t expected = c.found == NOT_FOUND_TOP ? NOT_FOUND_TOP : c.found & ~15u;
        EXPECT_EQ(Search(bytes, pattern, c.fault), expected)
            << "pattern of " << c.length << " bytes, the reads: " << testing::PrintToString(reads_);
        EXPECT_EQ(reads_, c.reads);
    }
}

// Patterns of random lengths at random seams of carried chunks, with a
// random failed read or pump, are found where a plain scan of the file's
// bytes finds them first; the positions of the first chunk of a read that
// failed are not examined.
TEST_F(CarriedOverlapTest, RandomPatternsAtTheSeamsAreFoundWhereAPlainScanFindsThem)
{
    uint32_t seed = 7;
    const auto next = [&seed](uint32_t below) {
        seed = seed * 1103515245 + 12345;
        return (seed >> 8) % below;
    };
    const uint32_t lengths[] = {1, 2, 3, 4, 15, 16, 17, 255, 4095, 4096};
    for (int trial = 0; trial < 40; ++trial) {
        const uint32_t length = next(3) == 0 ? 1 + next(PATTERN_CAPACITY) : lengths[next(10)];
        const uint32_t seams[] = {0, SEARCH_OVERLAP - length, SEARCH_OVERLAP, SEARCH_STEP - 1, SEARCH_STEP - length,
                                  SEARCH_CHUNK - length};
        const uint32_t at = std::min(Chunk(1 + static_cast<int>(next(8))) + seams[next(6)] + next(3),
                                     SIZE - 1);
        std::vector<uint8_t> bytes = RandomBytes(SIZE, seed);
        const std::string pattern = Marker(length);
        std::copy(pattern.begin(), pattern.begin() + std::min<size_t>(length, SIZE - at), bytes.begin() + at);
        // A copy short of its last byte just before, across the overlap.
        const uint32_t decoy = at > 0x1010 ? at - 0x1000 : 0;
        if (decoy != 0 && length > 1)
            std::copy(pattern.begin(), pattern.end() - 1, bytes.begin() + decoy);
        Fault fault;
        const int kind = static_cast<int>(next(3));
        if (kind == 1)
            fault.failRead = 2 + static_cast<int>(next(3));
        else if (kind == 2)
            fault.pumpAfterRead = 2 + static_cast<int>(next(3));
        // The first chunks of reads 2, 3 and 4 (see the class).
        constexpr int FIRST_CHUNK_OF_READ[] = {-1, 0, 1, 3, 7};
        const int lost = kind == 1 ? FIRST_CHUNK_OF_READ[fault.failRead] : -1;
        // The plain scan, from the line after the top one.
        uint32_t expected = NOT_FOUND_TOP;
        for (uint32_t p = 0x10; p + length <= SIZE; ++p) {
            const int chunk = static_cast<int>((p - 0x10) / SEARCH_STEP);
            if (chunk == lost)
                continue;
            if (std::memcmp(bytes.data() + p, pattern.data(), length) == 0) {
                expected = p & ~15u;
                break;
            }
        }
        SCOPED_TRACE(testing::Message() << "trial " << trial << ": " << length << " bytes at " << std::hex << at
                                        << ", read " << std::dec << fault.failRead << " fails, pump after read "
                                        << fault.pumpAfterRead);
        EXPECT_EQ(Search(bytes, pattern, fault), expected) << "the reads: " << testing::PrintToString(reads_);
    }
}

// The positions at each end of a chunk's compare: from top 0 the first
// chunk compares 0x10 to 0x700F, the second from 0x7010 on; a pattern
// across the overlap is found as well. The match moves the view, no box.
TEST_F(SearchTest, MatchAtEitherEndOfAChunksCompareIsFound)
{
    for (const size_t at : {size_t{0x10}, size_t{0x700E}, size_t{0x700F}, size_t{0x7010}, size_t{0x7FFE},
                            size_t{0xE00F}, size_t{0xFFFC}}) {
        SCOPED_TRACE(testing::Message() << "pattern at " << std::hex << at);
        ASSERT_TRUE(Open(With(0x10000, {{at, "VUKO"}})));
        SetPattern("VUKO");
        std::vector<std::string> boxes;
        BoxScript script({[&](HWND box) {
            boxes.push_back(WindowText(GetDlgItem(box, MESSAGE_BOX_TEXT)));
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }});
        RunSearch(window_);
        EXPECT_EQ(boxes, std::vector<std::string>{});
        EXPECT_EQ(document.topOffset, at & ~size_t{15});
        ResetDocument();
    }
}

TEST_F(SearchTest, NestedSearchThatFindsEndsTheOuterOneAsAborted)
{
    ASSERT_TRUE(Open(With(0x40000, {{0x30000, "late"}})));
    SetPattern("late");
    // The nested find-next, handled in the first pump, finds the pattern.
    PostMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_FIND_NEXT, 0), 0);
    const Boxes boxes = Run(1, [&] { RunSearch(window_); });
    EXPECT_EQ(boxes.texts, std::vector<std::string>{ABORTED});
    EXPECT_EQ(document.topOffset, 0x30000u);
}

TEST_F(SearchTest, ModifiedWindowAsksTheSaveQuestionFirst)
{
    ASSERT_TRUE(Open(With(0x100, {{0x80, "key"}})));
    EditByte(0, 0x42);
    SetPattern("key");
    BoxAnswer answer(IDYES);
    RunSearch(window_);
    EXPECT_TRUE(answer.answered());
    EXPECT_EQ(answer.title(), Ansi(L"上書き保存"));
    EXPECT_EQ(document.topOffset, 0x80u);
    EXPECT_EQ(ReadWholeFile(path_)[0], 0x42);
}

TEST_F(SearchTest, DecimalAnswersStoreFourBytesLeastSignificantFirst)
{
    struct Case {
        const char* answer;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"-1", {0xFF, 0xFF, 0xFF, 0xFF}},
        {"4294967295", {0xFF, 0xFF, 0xFF, 0xFF}},
        {"258", {0x02, 0x01, 0x00, 0x00}},
        {"-2147483648", {0x00, 0x00, 0x00, 0x80}},
        {"12x", {0x00, 0x00, 0x00, 0x80}}, // refused: the pattern stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        BoxAnswer answer(IDC_OK, IDC_INPUT, c.answer);
        EnterDecimalPattern(window_);
        ASSERT_TRUE(answer.answered());
        EXPECT_EQ(SearchPattern.patternLength, 4u);
        EXPECT_EQ(std::vector<uint8_t>(SearchPattern.patternBytes, SearchPattern.patternBytes + 4), c.bytes);
    }
}

TEST_F(SearchTest, DecimalPromptShowsTheFirstFourStorageBytes)
{
    struct Case {
        std::string pattern;
        const char* shown;
    };
    const Case cases[] = {
        {"", "0"},
        {std::string("\x02\x01\x00\x00", 4), "258"},
        {"AB", "16961"},          // 41 42 and the 00 00 left behind
        {"\xFF\xFF\xFF\xFF", "-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        if (!c.pattern.empty())
            SetPattern(c.pattern);
        BoxAnswer answer(IDC_CANCEL, IDC_INPUT);
        EnterDecimalPattern(window_);
        EXPECT_EQ(answer.text(), c.shown);
        EXPECT_EQ(answer.title(), SEARCH);
    }
}

TEST_F(SearchTest, HexAnswerIsParsedUpToTheFirstUnusableCharacterAndSearched)
{
    ASSERT_TRUE(Open(With(0x100, {{0x90, "AB"}})));
    BoxAnswer answer(IDC_OK, IDC_INPUT, "41 42 zz", IDC_INPUT);
    EnterHexPattern(window_);
    EXPECT_EQ(answer.text(), ""); // no pattern yet
    EXPECT_EQ(SearchPattern.patternLength, 2u);
    EXPECT_EQ(document.topOffset, 0x90u);
}

TEST_F(SearchTest, TextPromptStoresTheAnswerBytesAndSearches)
{
    ASSERT_TRUE(Open(With(0x100, {{0x70, Ansi(L"日本")}})));
    SetPattern(std::string("a\x01", 2));
    BoxAnswer answer(IDC_OK, IDC_INPUT, Ansi(L"日本"), IDC_INPUT);
    EnterTextPattern(window_);
    EXPECT_EQ(answer.text(), "a.");
    EXPECT_EQ(SearchPattern.patternLength, 4u);
    EXPECT_EQ(document.topOffset, 0x70u);
}

TEST_F(SearchTest, TextPromptLeftAloneKeepsThePattern)
{
    struct Case {
        const char* name;
        std::string pattern;
        std::string after;   // the pattern after OK
        uint32_t found;      // where it is found
    };
    const Case cases[] = {
        {"a pair that is no character, 80 and FD", std::string("A\x81 B\x80\xFD" "C"),
         std::string("A\x81 B\x80\xFD" "C"), 0x90},
        {"a lead byte at the end", std::string("xy\x8F"), std::string("xy\x8F"), 0x50},
        {"a byte below 0x20 keeps its byte", std::string("a\x01" "b", 3), std::string("a\x01" "b", 3), 0x20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Open(With(0x100, {{0x20, std::string("a\x01" "b", 3)}, {0x50, "xy\x8F"},
                                      {0x60, "a.b"}, {0x90, "A\x81 B\x80\xFD" "C"}})));
        SetPattern(c.pattern);
        std::string field;
        std::vector<std::string> messages;
        BoxScript script({[&](HWND box) {
                              field = WindowText(GetDlgItem(box, IDC_INPUT));
                              PostMessageA(box, WM_COMMAND, IDC_OK, 0);
                          },
                          [&](HWND box) {
                              messages.push_back(WindowText(GetDlgItem(box, MESSAGE_BOX_TEXT)));
                              PostMessageA(box, WM_COMMAND, IDOK, 0);
                          }});
        EnterTextPattern(window_);
        const std::string pattern(reinterpret_cast<const char*>(SearchPattern.patternBytes),
                                  SearchPattern.patternLength);
        EXPECT_EQ(pattern, c.after) << "the box showed " << field;
        EXPECT_EQ(document.topOffset, c.found);
        EXPECT_EQ(messages, std::vector<std::string>{});
        CloseDocument();
    }
}

TEST_F(SearchTest, LongHexPatternReopensAsItsFirst170Bytes)
{
    std::string pattern(200, '\0');
    for (size_t k = 0; k < pattern.size(); ++k)
        pattern[k] = static_cast<char>(k);
    SetPattern(pattern);
    BoxAnswer answer(IDC_OK, IDC_INPUT);
    EnterHexPattern(window_); // no file open: stored, nothing searched
    EXPECT_EQ(answer.text().size(), 170u * 3 - 1);
    EXPECT_EQ(SearchPattern.patternLength, 170u);
    EXPECT_EQ(std::memcmp(SearchPattern.patternBytes, pattern.data(), 170), 0);
}

TEST_F(SearchTest, EmptyHexAnswerClearsThePatternAndSearchesNothing)
{
    ASSERT_TRUE(Open(With(0x100, {{0x20, "zz"}})));
    SetPattern("zz");
    BoxAnswer answer(IDC_OK, IDC_INPUT, "zz");
    EnterHexPattern(window_);
    EXPECT_EQ(SearchPattern.patternLength, 0u);
    EXPECT_EQ(document.topOffset, 0u);
}

} // namespace
