// Sparse files of 5 GiB and 3 GiB: the program sees the low 32 bits of the
// size (1 GiB and 3 GiB) and moves, searches, edits and saves in them; the
// whole file is then read back with the platform's own calls to check that
// exactly the edited byte changed and that the size stayed.
#include "document/document.h"
#include "document/scroll.h"
#include "resources/resource.h"
#include "search/search.h"
#include "tests/windows/support.h"
#include "ui/edit.h"

#include <cstring>

namespace {

class HugeFiles : public MainWindowTest {
protected:
    void TearDown() override
    {
        MainWindowTest::TearDown();
        std::memset(&SearchPattern, 0, sizeof SearchPattern);
        if (!path_.empty())
            DeleteFileA(path_.c_str());
    }
    void Make(uint64_t size, uint64_t markerAt)
    {
        size_ = size;
        marker_ = markerAt;
        path_ = MakeSparseFile(folder_.File("huge.bin"), size);
        ASSERT_NE(path_, "");
        ASSERT_TRUE(WriteAt(path_, markerAt, MARKER));
        OpenDocument(window_, path_.c_str());
        ASSERT_NE(document.fileHandle, nullptr);
    }
    void Scroll(unsigned code) { SendMessageA(window_, WM_VSCROLL, MAKEWPARAM(code, 0), 0); }
    void Jump(const char* text)
    {
        BoxAnswer answer(IDC_OK, IDC_INPUT, text);
        JumpToAddress(window_);
        ASSERT_TRUE(answer.answered());
    }
    void EditTop(const char* pairs)
    {
        BoxAnswer answer(IDC_OK, IDC_INPUT, pairs);
        EditHexAtTop(window_);
        ASSERT_TRUE(answer.answered());
        ASSERT_EQ(document.modified, 1);
        SendMessageA(window_, WM_COMMAND, MAKEWPARAM(CMD_SAVE, 0), 0);
        ASSERT_EQ(document.modified, 0);
    }
    // Reads the whole file in blocks: zeros but for the marker and the
    // edited byte. Returns the offset of the first wrong byte, or size.
    uint64_t FirstWrongByte(uint64_t edited, uint8_t value)
    {
        CloseHandle(document.fileHandle);
        document.fileHandle = nullptr;
        EXPECT_EQ(FileSize64(path_), size_);
        HANDLE file = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        std::vector<uint8_t> block(1 << 20);
        const std::vector<uint8_t> zeros(block.size(), 0);
        uint64_t at = 0;
        for (DWORD read = 0; at < size_; at += read) {
            if (!ReadFile(file, block.data(), static_cast<DWORD>(block.size()), &read, nullptr) || read == 0)
                break;
            const bool special = (edited >= at && edited < at + read) ||
                                 (marker_ + MARKER.size() > at && marker_ < at + read);
            if (!special && std::memcmp(block.data(), zeros.data(), read) == 0)
                continue;
            for (DWORD i = 0; i < read; ++i) {
                const uint64_t offset = at + i;
                uint8_t expected = 0;
                if (offset == edited)
                    expected = value;
                else if (offset >= marker_ && offset < marker_ + MARKER.size())
                    expected = MARKER[offset - marker_];
                if (block[i] != expected) {
                    CloseHandle(file);
                    return offset;
                }
            }
        }
        CloseHandle(file);
        return at;
    }

    const std::vector<uint8_t> MARKER = {'V', 'U', 'K', 'O', 0x8D, 0x5F};
    TempFolder folder_;
    std::string path_;
    uint64_t size_ = 0, marker_ = 0;
};

TEST_F(HugeFiles, ThreeGigabytesScrollJumpSearchEditAndSaveAboveTwoGigabytes)
{
    Make(0xC0000000, 0xA0001234);
    EXPECT_EQ(document.fileSize, 0xC0000000u);
    Scroll(SB_BOTTOM);
    EXPECT_EQ(document.topOffset, 0xBFFFFFF0u);
    Jump("FFFFFF00"); // beyond the end: the last line
    EXPECT_EQ(document.topOffset, 0xBFFFFFF0u);
    Jump("A0000000");
    ASSERT_EQ(document.topOffset, 0xA0000000u);

    std::memcpy(SearchPattern.patternBytes, MARKER.data(), MARKER.size());
    SearchPattern.patternLength = static_cast<uint32_t>(MARKER.size());
    RunSearch(window_);
    ASSERT_EQ(document.topOffset, 0xA0001230u);
    EXPECT_EQ(std::memcmp(document.windowBuffer + 4, MARKER.data(), MARKER.size()), 0);

    EditTop("E7");
    EXPECT_EQ(FirstWrongByte(0xA0001230, 0xE7), 0xC0000000u);
}

TEST_F(HugeFiles, FiveGigabytesAreSeenAsTheirLowThirtyTwoBits)
{
    Make(0x140000000, 0x3FFFF000);
    EXPECT_EQ(document.fileSize, 0x40000000u);
    Scroll(SB_BOTTOM);
    EXPECT_EQ(document.topOffset, 0x3FFFFFF0u);
    Jump("FFFFFF00");
    EXPECT_EQ(document.topOffset, 0x3FFFFFF0u);
    EditTop("5A");
    EXPECT_EQ(FirstWrongByte(0x3FFFFFF0, 0x5A), 0x140000000u);
}

} // namespace
