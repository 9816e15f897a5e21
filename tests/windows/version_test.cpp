// The version resource of the built vuko.exe, read the way Windows reads it
// for a file's properties (GetFileVersionInfoA, VerQueryValueA), under the
// Japanese code page. The program is the one two folders above the test
// programs in the build tree, or the file that VUKO_EXE names (a Windows
// path), so that scripts/release can check the file it ships.
#include "tests/windows/support.h"

#include <winver.h>

namespace {

std::string ProgramPath()
{
    char path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("VUKO_EXE", path, sizeof path);
    if (length > 0 && length < sizeof path)
        return path;
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    for (int up = 0; up < 3; ++up)
        folder.erase(folder.find_last_of('\\'));
    return folder + "\\vuko.exe";
}

class VersionResource : public testing::Test {
protected:
    void SetUp() override
    {
        path_ = ProgramPath();
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(path_.c_str(), &ignored);
        ASSERT_NE(size, 0u) << path_ << " has no version resource (error " << GetLastError() << ")";
        data_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoA(path_.c_str(), 0, size, data_.data()));
    }

    // The value at subBlock and its length as VerQueryValueA reports it.
    const void* Query(const char* subBlock, UINT* length)
    {
        void* value = nullptr;
        *length = 0;
        if (!VerQueryValueA(data_.data(), subBlock, &value, length))
            return nullptr;
        return value;
    }

    // A string of the Japanese block, in the ANSI code page.
    std::string Text(const char* name)
    {
        const std::string subBlock = std::string("\\StringFileInfo\\041104B0\\") + name;
        UINT length = 0;
        const char* value = static_cast<const char*>(Query(subBlock.c_str(), &length));
        if (value == nullptr)
            return "(absent)";
        return value;
    }

    std::string path_;
    std::vector<char> data_;
};

TEST_F(VersionResource, FixedPartSaysTheProjectsVersionOfAnApplication)
{
    UINT length = 0;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(Query("\\", &length));
    ASSERT_NE(fixed, nullptr);
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    // major.minor in the high part, patch.0 in the low part
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(VUKO_VERSION_MINOR, VUKO_VERSION_MAJOR)));
    EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, VUKO_VERSION_PATCH)));
    EXPECT_EQ(fixed->dwProductVersionMS, static_cast<DWORD>(MAKELONG(VUKO_VERSION_MINOR, VUKO_VERSION_MAJOR)));
    EXPECT_EQ(fixed->dwProductVersionLS, static_cast<DWORD>(MAKELONG(0, VUKO_VERSION_PATCH)));
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u) << "no debug or pre-release flag";
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST_F(VersionResource, OneTranslationJapaneseInUnicode)
{
    UINT length = 0;
    const auto* pairs = static_cast<const WORD*>(Query("\\VarFileInfo\\Translation", &length));
    ASSERT_NE(pairs, nullptr);
    ASSERT_EQ(length, 2 * sizeof(WORD));
    EXPECT_EQ(pairs[0], 0x0411);
    EXPECT_EQ(pairs[1], 1200);
}

TEST_F(VersionResource, JapaneseStrings)
{
    ASSERT_EQ(GetACP(), 932u) << "run under the ja_JP.UTF-8 locale";
    EXPECT_EQ(Text("ProductName"), "VUKO");
    EXPECT_EQ(Text("ProductVersion"), VUKO_VERSION_TEXT);
    EXPECT_EQ(Text("FileVersion"), VUKO_VERSION_TEXT);
    EXPECT_EQ(Text("FileDescription"), Ansi(L"VUKO バイナリエディタ"));
    EXPECT_EQ(Text("CompanyName"), Ansi(L"VUKO の開発者"));
    EXPECT_EQ(Text("OriginalFilename"), "vuko.exe");
    EXPECT_EQ(Text("InternalName"), "vuko");
    EXPECT_EQ(Text("LegalCopyright"), "Copyright (c) 2026 the VUKO developers, MIT License");
}

} // namespace
