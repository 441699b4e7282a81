// The resources of the built player: what a quiz executable's windows are made from.
#include "resources/quiz_resource_ids.h"
#include "resources/resource_ids.h"
#include "tests/windows/test_files.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class PlayerResources : public testing::Test {
  protected:
    void SetUp() override {
        player = LoadLibraryExA((executableFolder() + "plimo.exe").c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(player, nullptr) << "error " << GetLastError();
    }
    void TearDown() override {
        if (player)
            FreeLibrary(player);
    }

    std::vector<uint8_t> resourceBytes(LPCSTR type, int id) {
        HRSRC found = FindResourceA(player, MAKEINTRESOURCEA(id), type);
        if (!found)
            return {};
        auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(player, found)));
        return {data, data + SizeofResource(player, found)};
    }

    HMODULE player = nullptr;
};

// Reads a DLGTEMPLATE with no controls field by field.
struct DialogTemplate {
    DWORD style, extendedStyle;
    WORD controls;
    short x, y, width, height;
    WORD menu, windowClass, title, pointSize;
    std::wstring face;
};

DialogTemplate readDialog(const std::vector<uint8_t>& bytes) {
    DialogTemplate dialog{};
    size_t at = 0;
    auto take = [&](auto& value) {
        if (at + sizeof value <= bytes.size())
            memcpy(&value, bytes.data() + at, sizeof value);
        at += sizeof value;
    };
    take(dialog.style);
    take(dialog.extendedStyle);
    take(dialog.controls);
    take(dialog.x);
    take(dialog.y);
    take(dialog.width);
    take(dialog.height);
    take(dialog.menu);
    take(dialog.windowClass);
    take(dialog.title);
    take(dialog.pointSize);
    for (wchar_t c = 0; (take(c), c != 0 && at <= bytes.size());)
        dialog.face.push_back(c);
    return dialog;
}

TEST_F(PlayerResources, PaneTemplates) {
    struct Case {
        int id;
        DWORD style;
    } cases[] = {{IDD_BOARD, 0x40B00040}, {IDD_HEADER, 0x40800040}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        std::vector<uint8_t> bytes = resourceBytes(RT_DIALOG, c.id);
        ASSERT_FALSE(bytes.empty());
        DialogTemplate dialog = readDialog(bytes);
        EXPECT_EQ(dialog.style, c.style);
        EXPECT_EQ(dialog.extendedStyle, 0u);
        EXPECT_EQ(dialog.controls, 0);
        EXPECT_EQ(dialog.x, 0);
        EXPECT_EQ(dialog.y, 0);
        EXPECT_EQ(dialog.width, 86);
        EXPECT_EQ(dialog.height, 100);
        EXPECT_EQ(dialog.menu, 0);
        EXPECT_EQ(dialog.windowClass, 0);
        EXPECT_EQ(dialog.title, 0);
        EXPECT_EQ(dialog.pointSize, 8);
        EXPECT_EQ(dialog.face, L"MS Sans Serif");
    }
}

TEST_F(PlayerResources, ButtonIconsAreTwoColour32By32) {
    for (int id : {IDI_PLAY, IDI_STOP}) {
        SCOPED_TRACE(id);
        HICON icon = static_cast<HICON>(
            LoadImageA(player, MAKEINTRESOURCEA(id), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        EXPECT_TRUE(info.fIcon);
        // A monochrome icon has no colour bitmap: its mask holds both halves.
        EXPECT_EQ(info.hbmColor, nullptr);
        BITMAP mask{};
        GetObjectA(info.hbmMask, sizeof mask, &mask);
        EXPECT_EQ(mask.bmWidth, 32);
        EXPECT_EQ(mask.bmHeight, 64);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    EXPECT_NE(resourceBytes(RT_GROUP_ICON, IDI_APP).size(), 0u) << "application icon";
}

TEST_F(PlayerResources, LinkCursorIsAHandWithItsHotSpotOnTheFingertip) {
    HCURSOR cursor = static_cast<HCURSOR>(
        LoadImageA(player, MAKEINTRESOURCEA(IDC_LINK_CURSOR), IMAGE_CURSOR, 0, 0, 0));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 6u);
    EXPECT_EQ(info.yHotspot, 0u);
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DestroyCursor(cursor);
}

TEST_F(PlayerResources, PlayerCarriesNoQuiz) {
    EXPECT_TRUE(resourceBytes("PATCH", IDR_QUIZ_TEXT).empty());
    EXPECT_TRUE(resourceBytes("PATCH", IDR_QUIZ_CODES).empty());
}

} // namespace
