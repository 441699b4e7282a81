// The record's brushes and fonts as real GDI objects.
#include "content/quiz_loader.h"
#include "content/quiz_text.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

COLORREF brushColour(HBRUSH brush) {
    LOGBRUSH description{};
    EXPECT_EQ(GetObjectA(brush, sizeof description, &description), int(sizeof description));
    EXPECT_EQ(description.lbStyle, UINT(BS_SOLID));
    return description.lbColor;
}

LOGFONTA fontOf(HFONT font) {
    LOGFONTA description{};
    EXPECT_EQ(GetObjectA(font, sizeof description, &description), int(sizeof description));
    return description;
}

TEST(QuizRecordGdi, ConstructionMakesTheBrushesAndFonts) {
    auto record = std::make_unique<QuizRecord>();
    struct Case {
        const char* name;
        HBRUSH brush;
        COLORREF colour;
    } brushes[] = {
        {"backgroundBrush", record->backgroundBrush, RGB(0x5A, 0x5F, 0x96)},
        {"wrongBrush", record->wrongBrush, RGB(255, 0, 0)},
        {"rightBrush", record->rightBrush, RGB(0, 255, 0)},
        {"anagramBrush", record->anagramBrush, RGB(255, 100, 0)},
        {"nearBrush", record->nearBrush, RGB(255, 203, 38)},
        {"questionTextBrush", record->questionTextBrush, RGB(255, 255, 192)},
    };
    for (const Case& c : brushes)
        EXPECT_EQ(brushColour(c.brush), c.colour) << c.name;

    LOGFONTA score = fontOf(record->scoreFont);
    EXPECT_EQ(score.lfHeight, 25);
    EXPECT_EQ(score.lfWeight, 400);
    EXPECT_EQ(score.lfItalic, 0);
    EXPECT_STREQ(score.lfFaceName, "");
    LOGFONTA title = fontOf(record->titleFont);
    EXPECT_EQ(title.lfHeight, -15);
    EXPECT_EQ(title.lfWeight, 700);
    EXPECT_NE(title.lfItalic, 0);
    EXPECT_EQ(title.lfUnderline, 0);
}

TEST(QuizRecordGdi, DestructionReleasesEveryObject) {
    auto record = std::make_unique<QuizRecord>();
    HBRUSH constructionBackground = record->backgroundBrush;
    loadQuiz(*record); // the default quiz replaces the background brush
    EXPECT_EQ(GetObjectType(constructionBackground), 0u) << "replaced brush leaked";
    EXPECT_EQ(brushColour(record->backgroundBrush), RGB(0x35, 0xCB, 0xA3));
    record->answerFont = createFont({.height = 15, .weight = 100});

    std::vector<HGDIOBJ> owned = {
        record->backgroundBrush, record->wrongBrush, record->rightBrush,
        record->anagramBrush,    record->nearBrush,  record->questionTextBrush,
        record->answerFont,      record->scoreFont,  record->titleFont};
    for (HGDIOBJ object : owned)
        ASSERT_NE(GetObjectType(object), 0u);
    record.reset();
    for (size_t i = 0; i < owned.size(); ++i)
        EXPECT_EQ(GetObjectType(owned[i]), 0u) << "object " << i << " still alive";
}

} // namespace
