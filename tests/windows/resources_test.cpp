// The compiled resources: string table, menu, dialog templates and icon.
#include "app/main_window.h"
#include "resources/instance.h"
#include "resources/resource.h"
#include "tests/windows/support.h"

#include <cstdio>
#include <cstring>
#include <ostream>

namespace {

std::wstring LoadWide(UINT id)
{
    wchar_t buffer[512];
    const int length = LoadStringW(instanceHandle, id, buffer, 512);
    return std::wstring(buffer, length > 0 ? length : 0);
}

TEST(StringTable, EveryTextAndNothingElse)
{
    struct Case {
        UINT id;
        const wchar_t* text;
    };
    const Case cases[] = {
        {0, L"VUKO"},
        {10, L"上書き保存"},
        {11, L"変更内容を保存しますか?"},
        {12, L"保存できませんでした"},
        {20, L" アドレス  00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F  0123456789ABCDEF "},
        {21, L"16進数で編集"},
        {22, L"文字列で編集"},
        {30, L"移動"},
        {31, L"移動先を入力"},
        {40, L"検索"},
        {41, L"見つかりません"},
        {42, L"中断しました"},
        {43, L"16進数を入力"},
        {44, L"文字列を入力"},
        {45, L"10進数を入力"},
    };
    UINT next = 0;
    for (const Case& c : cases) {
        EXPECT_EQ(LoadWide(c.id), c.text) << "string " << c.id;
        for (; next < c.id; ++next)
            EXPECT_EQ(LoadWide(next), L"") << "string " << next << " should be absent";
        next = c.id + 1;
    }
    for (; next < 64; ++next)
        EXPECT_EQ(LoadWide(next), L"") << "string " << next << " should be absent";
}

TEST(StringTable, HeaderIsSeventySevenBytesInCodePage932)
{
    ASSERT_EQ(GetACP(), 932u) << "run under the ja_JP.UTF-8 locale";
    char header[256];
    EXPECT_EQ(LoadStringA(instanceHandle, STR_DUMP_HEADER, header, sizeof header), 77);
    EXPECT_EQ(std::strlen(header), 77u);
}

// A wide text in UTF-8, for the log.
std::string Utf8(const std::wstring& text)
{
    std::string utf8(text.size() * 3, '\0');
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(),
                                           static_cast<int>(utf8.size()), nullptr, nullptr);
    utf8.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return utf8;
}

// Flattens a menu into lines: "caption=id", "-" for a separator, and
// "caption{" ... "}" around a pop-up. Returns false, with a last line
// "item N unreadable", when an item cannot be read.
bool FlattenMenu(HMENU menu, std::wstring& out)
{
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t caption[128] = L"";
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = caption;
        info.cch = 128;
        if (!GetMenuItemInfoW(menu, i, TRUE, &info)) {
            out += L"item " + std::to_wstring(i) + L" unreadable\n";
            return false;
        }
        if (info.fType & MFT_SEPARATOR) {
            out += L"-\n";
        } else if (info.hSubMenu != nullptr) {
            out += caption + std::wstring(L"{\n");
            if (!FlattenMenu(info.hSubMenu, out))
                return false;
            out += L"}\n";
        } else {
            out += caption + (L"=" + std::to_wstring(info.wID)) + L"\n";
        }
    }
    return true;
}

TEST(Menu, EveryItemIdAndSeparator)
{
    HMENU menu = LoadMenuA(instanceHandle, NAME_MENU);
    ASSERT_NE(menu, nullptr);
    std::wstring flat;
    const bool read = FlattenMenu(menu, flat);
    DestroyMenu(menu);
    ASSERT_TRUE(read) << Utf8(flat);
    EXPECT_EQ(flat,
              L"ファイル(&F){\n"
              L"開く(&O)...=256\n上書き保存(&S)=257\n-\n終了(&X)=258\n}\n"
              L"編集(&E){\n"
              L"移動(&J)...=259\n-\n16進数で検索(&H)...=260\n文字列で検索(&S)...=261\n"
              L"次を検索(&N)=262\n検索を中断(&A)=263\n-\n"
              L"その他(&O){\n"
              L"フォント(&F)...=264\n10進数を入力(&I)...=265\n16進数で編集(&H)...=266\n"
              L"文字列で編集(&S)...=267\n}\n"
              L"}\n"
              L"ヘルプ(&H){\n"
              L"トピックの検索(&H)...=268\n-\nバージョン情報(&A)...=269\n}\n");
}

// A dialog template as stored: the DLGTEMPLATE header and its items.
struct Item {
    DWORD style;
    short x, y, cx, cy;
    WORD id;
    std::wstring className; // a name, or "#<atom>" for a predefined class
    std::wstring text;
    bool operator==(const Item&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Item& item)
{
    char style[16];
    std::snprintf(style, sizeof style, "0x%08lX", static_cast<unsigned long>(item.style));
    return out << "{" << style << " " << item.x << "," << item.y << " " << item.cx << "x" << item.cy << " id "
               << item.id << " " << Utf8(item.className) << " \""
               << Utf8(item.text) << "\"}";
}
struct Template {
    DWORD style;
    short x, y, cx, cy;
    std::wstring menu, title, font;
    WORD points;
    std::vector<Item> items;
};

// Reads a name-or-ordinal field.
std::wstring ReadField(const WORD*& p)
{
    if (*p == 0xFFFF) {
        const std::wstring atom = L"#" + std::to_wstring(p[1]);
        p += 2;
        return atom;
    }
    std::wstring text(reinterpret_cast<const wchar_t*>(p));
    p += text.size() + 1;
    return text;
}

Template ReadTemplate(const char* name)
{
    Template t = {};
    HRSRC resource = FindResourceA(instanceHandle, name, MAKEINTRESOURCEA(5)); // RT_DIALOG
    EXPECT_NE(resource, nullptr) << name;
    if (resource == nullptr)
        return t;
    const auto* header = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(instanceHandle, resource)));
    t.style = header->style;
    t.x = header->x;
    t.y = header->y;
    t.cx = header->cx;
    t.cy = header->cy;
    const WORD* p = reinterpret_cast<const WORD*>(header + 1);
    t.menu = ReadField(p);
    ReadField(p); // window class: the dialog class
    t.title = ReadField(p);
    if (t.style & DS_SETFONT) {
        t.points = *p++;
        t.font = ReadField(p);
    }
    for (int i = 0; i < header->cdit; ++i) {
        p = reinterpret_cast<const WORD*>((reinterpret_cast<uintptr_t>(p) + 3) & ~uintptr_t{3});
        const auto* item = reinterpret_cast<const DLGITEMTEMPLATE*>(p);
        Item read = {item->style, item->x, item->y, item->cx, item->cy, item->id, L"", L""};
        p = reinterpret_cast<const WORD*>(item + 1);
        read.className = ReadField(p);
        read.text = ReadField(p);
        p += 1 + *p / sizeof(WORD); // creation data
        t.items.push_back(read);
    }
    return t;
}

// The predefined control classes, stored by name.
const wchar_t BUTTON[] = L"BUTTON";
const wchar_t EDIT[] = L"EDIT";
const wchar_t STATIC[] = L"STATIC";
const wchar_t SCROLLBAR[] = L"SCROLLBAR";

TEST(DialogTemplates, MainWindow)
{
    const Template t = ReadTemplate(NAME_DIALOG);
    EXPECT_EQ(t.style, 0x80CF1042u);
    EXPECT_EQ((std::vector<short>{t.x, t.y, t.cx, t.cy}), (std::vector<short>{0, 0, 256, 240}));
    EXPECT_EQ(t.title, L"VUKO");
    EXPECT_EQ(t.menu, L"MENU");
    EXPECT_EQ(t.points, 12);
    EXPECT_EQ(t.font, L"ＭＳ ゴシック");
    EXPECT_EQ(t.items, (std::vector<Item>{{0x50810084, 0, 0, 0, 0, IDC_VIEW, EDIT, L""},
                                          {0x50000001, 0, 0, 0, 0, IDC_SCROLL, SCROLLBAR, L""}}));
}

TEST(DialogTemplates, InputBox)
{
    const Template t = ReadTemplate(NAME_INPUTBOX);
    EXPECT_EQ(t.style, 0x80C80840u);
    EXPECT_EQ((std::vector<short>{t.cx, t.cy}), (std::vector<short>{160, 80}));
    EXPECT_EQ(t.title, L"");
    EXPECT_EQ(t.menu, L"");
    EXPECT_EQ(t.points, 9);
    EXPECT_EQ(t.font, L"ＭＳ Ｐゴシック");
    EXPECT_EQ(t.items, (std::vector<Item>{{0x50020000, 8, 8, 144, 20, IDC_PROMPT, STATIC, L""},
                                          {0x50810080, 8, 32, 144, 14, IDC_INPUT, EDIT, L""},
                                          {0x50010000, 68, 58, 40, 14, IDC_OK, BUTTON, L"OK"},
                                          {0x50010000, 112, 58, 40, 14, IDC_CANCEL, BUTTON, L"Cancel"}}));
}

TEST(DialogTemplates, HelpAndAbout)
{
    struct Case {
        const char* name;
        InfoBoxTexts shown;
    };
    const Case cases[] = {
        {NAME_HELP, HELP_BOX},
        {NAME_ABOUT, ABOUT_BOX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Template t = ReadTemplate(c.name);
        EXPECT_EQ(t.style, 0x80C808C0u);
        EXPECT_EQ((std::vector<short>{t.cx, t.cy}), (std::vector<short>{160, 80}));
        EXPECT_EQ(t.title, c.shown.title);
        EXPECT_EQ(t.points, 9);
        EXPECT_EQ(t.font, L"ＭＳ Ｐゴシック");
        EXPECT_EQ(t.items, (std::vector<Item>{{0x50020003, 8, 8, 18, 18, IDC_INFO_ICON, STATIC, L"ICON"},
                                              {0x50020000, 32, 8, 120, 32, IDC_INFO_TEXT, STATIC, c.shown.text},
                                              {0x50010000, 56, 60, 48, 14, IDC_OK, BUTTON, L"OK"}}));
    }
}

TEST(Icon, OneImageOf32By32In16Colours)
{
    HRSRC group = FindResourceA(instanceHandle, NAME_ICON, MAKEINTRESOURCEA(14)); // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(instanceHandle, group)));
    const WORD count = *reinterpret_cast<const WORD*>(dir + 4);
    ASSERT_EQ(count, 1);
    const BYTE* entry = dir + 6; // width, height, colour count, reserved, planes, bits
    EXPECT_EQ(entry[0], 32);
    EXPECT_EQ(entry[1], 32);
    EXPECT_EQ(entry[2], 16);
    EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), 4);
    EXPECT_NE(LoadIconA(instanceHandle, NAME_ICON), nullptr);
}

} // namespace
