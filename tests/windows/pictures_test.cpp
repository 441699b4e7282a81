// Pictures decoded from IMG resources and scaled into the 260 x 260 box.
#include "shell/pictures.h"

#include <gtest/gtest.h>

namespace {

TEST(Pictures, ScaledIntoTheBoxWithTheirProportions) {
    struct Case {
        int id;
        const char* what;
        int width, height; // 0: no bitmap
    } cases[] = {
        {401, "520 x 390 JPEG", 260, 195}, {402, "200 x 400 JPEG", 130, 260},
        {403, "100 x 100 JPEG", 260, 260}, {404, "1000 x 100 JPEG", 260, 26},
        {405, "260 x 260 JPEG", 260, 260}, {406, "40 x 30 BMP", 260, 195},
        {407, "a sound clip", 0, 0},       {499, "no resource", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HBITMAP bitmap = loadPictureResource(nullptr, c.id, "IMG", 260, 260);
        if (c.width == 0) {
            EXPECT_EQ(bitmap, nullptr);
            continue;
        }
        ASSERT_NE(bitmap, nullptr);
        BITMAP size{};
        ASSERT_TRUE(GetObjectA(bitmap, sizeof size, &size));
        EXPECT_EQ(size.bmWidth, c.width);
        EXPECT_EQ(size.bmHeight, c.height);
        EXPECT_TRUE(DeleteObject(bitmap));
    }
}

TEST(Pictures, ScaledColoursComeFromThePicture) {
    // The BMP is plain orange: a scaled copy must be orange too, not black or empty.
    HBITMAP bitmap = loadPictureResource(GetModuleHandleA(nullptr), 406, "IMG", 260, 260);
    ASSERT_NE(bitmap, nullptr);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    COLORREF centre = GetPixel(memory, 130, 97);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    EXPECT_NEAR(GetRValue(centre), 0xFF, 8);
    EXPECT_NEAR(GetGValue(centre), 0x80, 8);
    EXPECT_NEAR(GetBValue(centre), 0x00, 8);
}

TEST(Pictures, BytesThatAreNoPictureGiveNoBitmap) {
    const char garbage[] = "\xFF\xD8 definitely not a whole JPEG";
    EXPECT_EQ(decodePicture(garbage, sizeof garbage), nullptr);
    EXPECT_EQ(decodePicture(garbage, 0), nullptr);
    EXPECT_EQ(decodePicture(nullptr, 10), nullptr);
}

TEST(Pictures, DecodingWorksWhetherOrNotComIsAlreadyOpen) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    HBITMAP bitmap = loadPictureResource(nullptr, 402, "IMG", 260, 260);
    EXPECT_NE(bitmap, nullptr);
    DeleteObject(bitmap);
    CoUninitialize();
    // COM is balanced: the thread is back to no COM at all.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    CoUninitialize();
}

} // namespace
