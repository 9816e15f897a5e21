// Sparse files of 3 GiB and of 4 GiB and more (seen as 0xFFFFFFFF bytes):
// the program moves, searches, edits and saves in them; then
// the whole file is checked, to see that exactly the edited byte changed and
// that the size stayed: every run of data that the file system keeps is read
// back with the platform's own calls, and the holes between them, which
// read as zeros, must hold no byte that should not be zero.
#include "document/document.h"
#include "document/scroll.h"
#include "resources/resource.h"
#include "search/search.h"
#include "tests/windows/support.h"
#include "ui/edit.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

class HugeFiles : public MainWindowTest {
protected:
    void TearDown() override
    {
        MainWindowTest::TearDown();
        if (!path_.empty())
            DeleteFileA(path_.c_str());
    }
    // Makes the sparse file of size with the marker at markerAt and opens
    // it; fails saying which step did not work.
    testing::AssertionResult Make(uint64_t size, uint64_t markerAt)
    {
        size_ = size;
        marker_ = markerAt;
        path_ = MakeSparseFile(folder_.File("huge.bin"), size);
        if (path_.empty())
            return testing::AssertionFailure() << "cannot make a sparse file of " << size << " bytes";
        if (!WriteAt(path_, markerAt, MARKER))
            return testing::AssertionFailure() << "cannot write the marker at " << markerAt << " of " << path_;
        return OpenFile(window_, path_);
    }
    void Scroll(unsigned code) { SendMessageA(window_, WM_VSCROLL, MAKEWPARAM(code, 0), 0); }
    // Jumps to text; fails when no jump box came.
    testing::AssertionResult Jump(const char* text)
    {
        BoxAnswer answer(IDC_OK, IDC_INPUT, text);
        JumpToAddress(window_);
        if (!answer.answered())
            return testing::AssertionFailure() << "no box to jump to " << text;
        return testing::AssertionSuccess();
    }
    // Edits the bytes at the top to pairs and saves; fails when no box came,
    // the edit did not mark the window modified or the save did not clear it.
    testing::AssertionResult EditTop(const char* pairs)
    {
        BoxAnswer answer(IDC_OK, IDC_INPUT, pairs);
        EditHexAtTop(window_);
        if (!answer.answered())
            return testing::AssertionFailure() << "no box to edit the top bytes";
        if (document.modified != 1)
            return testing::AssertionFailure() << "modified is " << document.modified << " after the edit " << pairs;
        SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_SAVE, 0), 0);
        if (document.modified != 0)
            return testing::AssertionFailure() << "modified is " << document.modified << " after the save";
        return testing::AssertionSuccess();
    }
    // Searches for the marker, which lies 4 bytes into its line: the window
    // then holds it there.
    void SearchMarker()
    {
        std::memcpy(SearchPattern.patternBytes, MARKER.data(), MARKER.size());
        SearchPattern.patternLength = static_cast<uint32_t>(MARKER.size());
        RunSearch(window_);
        EXPECT_EQ(std::memcmp(document.windowBuffer + 4, MARKER.data(), MARKER.size()), 0);
    }
    // The byte expected at offset: zero but for the marker and the edited
    // byte.
    uint8_t Expected(uint64_t offset, uint64_t edited, uint8_t value) const
    {
        if (offset == edited)
            return value;
        if (offset >= marker_ && offset < marker_ + MARKER.size())
            return MARKER[offset - marker_];
        return 0;
    }
    // Checks the whole file as it is on disk: returns the offset of the first
    // wrong byte, or size. A byte in a hole is zero; a byte in a run of data
    // is read.
    uint64_t FirstWrongByte(uint64_t edited, uint8_t value)
    {
        CloseDocument();
        EXPECT_EQ(FileSize64(path_), size_);
        std::vector<DataExtent> extents;
        uint64_t unixSize = 0;
        std::string error;
        if (!ListDataExtents(path_, extents, unixSize, error)) {
            ADD_FAILURE() << error;
            return 0;
        }
        EXPECT_EQ(unixSize, size_);
        uint64_t data = 0;
        for (const DataExtent& extent : extents)
            data += extent.end - extent.start;
        if (data > (64u << 20)) {
            std::printf("note: the file system keeps %llu MiB of the file as data, not as holes: all of it is read\n",
                        static_cast<unsigned long long>(data >> 20));
        }
        // Bytes that are not zero, in order: none may fall in a hole.
        std::vector<uint64_t> notZero = {edited};
        for (size_t i = 0; i < MARKER.size(); ++i)
            notZero.push_back(marker_ + i);
        std::sort(notZero.begin(), notZero.end());
        const auto firstNotZeroIn = [&](uint64_t from, uint64_t to) {
            for (uint64_t offset : notZero) {
                if (offset >= from && offset < to)
                    return offset;
            }
            return to;
        };

        HANDLE file = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
        std::vector<uint8_t> block(1 << 20);
        uint64_t at = 0; // every byte before is right
        for (const DataExtent& extent : extents) {
            EXPECT_TRUE(extent.start >= at && extent.start < extent.end && extent.end <= size_)
                << "data extent " << extent.start << "-" << extent.end << " after " << at;
            if (const uint64_t wrong = firstNotZeroIn(at, extent.start); wrong < extent.start) {
                CloseHandle(file);
                return wrong;
            }
            for (at = extent.start; at < extent.end;) {
                const DWORD count = static_cast<DWORD>(std::min<uint64_t>(block.size(), extent.end - at));
                LARGE_INTEGER position;
                position.QuadPart = static_cast<LONGLONG>(at);
                DWORD read = 0;
                if (!SetFilePointerEx(file, position, nullptr, FILE_BEGIN) ||
                    !ReadFile(file, block.data(), count, &read, nullptr) || read != count) {
                    ADD_FAILURE() << "cannot read " << count << " bytes at " << at;
                    CloseHandle(file);
                    return at;
                }
                for (DWORD i = 0; i < count; ++i, ++at) {
                    if (block[i] != Expected(at, edited, value)) {
                        CloseHandle(file);
                        return at;
                    }
                }
            }
        }
        CloseHandle(file);
        return firstNotZeroIn(at, size_);
    }

    const std::vector<uint8_t> MARKER = {'V', 'U', 'K', 'O', 0x8D, 0x5F};
    TempFolder folder_;
    std::string path_;
    uint64_t size_ = 0, marker_ = 0;
};

TEST_F(HugeFiles, ThreeGigabytesScrollJumpSearchEditAndSaveAboveTwoGigabytes)
{
    ASSERT_TRUE(Make(0xC0000000, 0xA0001234));
    EXPECT_EQ(document.fileSize, 0xC0000000u);
    Scroll(SB_BOTTOM);
    EXPECT_EQ(document.topOffset, 0xBFFFFFF0u);
    ASSERT_TRUE(Jump("FFFFFF00")); // beyond the end: the last line
    EXPECT_EQ(document.topOffset, 0xBFFFFFF0u);
    ASSERT_TRUE(Jump("A0000000"));
    ASSERT_EQ(document.topOffset, 0xA0000000u);

    SearchMarker();
    ASSERT_EQ(document.topOffset, 0xA0001230u);

    ASSERT_TRUE(EditTop("E7"));
    EXPECT_EQ(FirstWrongByte(0xA0001230, 0xE7), 0xC0000000u);
}

// A file of 4 GiB or more is taken as 0xFFFFFFFF bytes: its first 4 GiB - 1
// bytes are shown, searched and edited at their true offsets, and nothing
// beyond them is touched.
TEST_F(HugeFiles, FourGigabytesAndMoreReachTheFirstFourGigabytesLessOne)
{
    for (const uint64_t size : {uint64_t{0x100000000}, uint64_t{0x140000000}, uint64_t{0x100000010}}) {
        SCOPED_TRACE(testing::Message() << "size " << std::hex << size);
        ASSERT_TRUE(Make(size, 0xFFFFFF04));
        EXPECT_EQ(document.fileSize, 0xFFFFFFFFu);
        EXPECT_EQ(document.scrollShift, 18u);
        Scroll(SB_BOTTOM);
        EXPECT_EQ(document.topOffset, 0xFFFFFFF0u);
        EXPECT_EQ(document.validCount, 15u); // up to 0xFFFFFFFE
        ASSERT_TRUE(Jump("FFFFF000"));
        ASSERT_EQ(document.topOffset, 0xFFFFF000u);

        SearchMarker();
        ASSERT_EQ(document.topOffset, 0xFFFFFF00u);

        ASSERT_TRUE(EditTop("5A"));
        EXPECT_EQ(FirstWrongByte(0xFFFFFF00, 0x5A), size);
        DeleteFileA(path_.c_str());
    }
}

} // namespace
