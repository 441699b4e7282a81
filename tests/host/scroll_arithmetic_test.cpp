#include "board/scroll_arithmetic.h"

#include <gtest/gtest.h>

namespace {

// The board 900 pixels high in a window of 300: range 0..898, page 299 (the system then stops
// the position at 600).
ScrollBarState tallBoardAt(int position) {
    ScrollBarState bar;
    bar.maximum = 898;
    bar.page = 299;
    bar.position = position;
    return bar;
}

TEST(ScrollArithmetic, RangesFromContentAndWindow) {
    ScrollRange tall = scrollRangeFor(900, 300);
    EXPECT_EQ(tall.maximum, 898);
    EXPECT_EQ(tall.page, 299);
    EXPECT_FALSE(tall.fits);
    // A content that fits: the page outgrows the range and the position goes back to 0.
    ScrollRange small = scrollRangeFor(830, 900);
    EXPECT_EQ(small.maximum, 828);
    EXPECT_EQ(small.page, 829);
    EXPECT_TRUE(small.fits);
    EXPECT_TRUE(scrollRangeFor(300, 300).fits);
}

TEST(ScrollArithmetic, VerticalRequests) {
    struct Case {
        const char* name;
        int request;
        int position;
        int target;
        int expected; // before the system's own limit of maximum - page + 1
    } cases[] = {
        {"line down", 1, 0, 0, 310},
        {"second line down", 1, 310, 0, 620},
        {"line up", 0, 310, 0, 0},
        {"line up past the top", 0, 100, 0, 0},
        {"page down", 3, 100, 0, 399},
        {"page up", 2, 500, 0, 201},
        {"top", 6, 500, 0, 0},
        {"bottom asks for the maximum", 7, 0, 0, 898},
        {"thumb track", 5, 0, 0, 123},
        {"thumb position changes nothing", 4, 200, 0, 200},
        {"end scroll changes nothing", 8, 200, 0, 200},
        {"wheel down", ScrollCodeWheelDown, 200, 0, 250},
        {"wheel up", ScrollCodeWheelUp, 200, 0, 150},
        {"wheel up at the top", ScrollCodeWheelUp, 20, 0, 0},
        {"to target", ScrollCodeToTarget, 0, 450, 450},
        {"negative target goes to the top", ScrollCodeToTarget, 300, -360, 0},
        {"target past the end", ScrollCodeToTarget, 0, 5000, 898},
        {"unknown request", 77, 42, 0, 42},
    };
    for (const Case& c : cases) {
        ScrollBarState bar = tallBoardAt(c.position);
        bar.trackPosition = 123;
        EXPECT_EQ(verticalScrollTarget(c.request, bar, c.target), c.expected) << c.name;
    }
}

TEST(ScrollArithmetic, HorizontalLineStepIsOnePixel) {
    ScrollBarState bar;
    bar.maximum = 968;
    bar.page = 500;
    bar.position = 10;
    bar.trackPosition = 77;
    EXPECT_EQ(horizontalScrollTarget(0, bar), 9);
    EXPECT_EQ(horizontalScrollTarget(1, bar), 11);
    EXPECT_EQ(horizontalScrollTarget(2, bar), 0);
    EXPECT_EQ(horizontalScrollTarget(3, bar), 510);
    EXPECT_EQ(horizontalScrollTarget(5, bar), 77);
    EXPECT_EQ(horizontalScrollTarget(4, bar), 10);
    EXPECT_EQ(horizontalScrollTarget(6, bar), 10) << "the top is a vertical request only";
}

TEST(ScrollArithmetic, OnlyWholeWheelNotchesScroll) {
    EXPECT_EQ(wheelRequest(120), ScrollCodeWheelUp);
    EXPECT_EQ(wheelRequest(-120), ScrollCodeWheelDown);
    for (int delta : {0, 60, -60, 240, -240, 121, 119})
        EXPECT_EQ(wheelRequest(delta), 0) << delta;
}

TEST(ScrollArithmetic, EmptyContentStaysAtZero) {
    ScrollBarState bar; // a range of 0..-2 from a content of 0
    bar.maximum = -2;
    EXPECT_EQ(verticalScrollTarget(1, bar, 0), 0);
    EXPECT_EQ(verticalScrollTarget(7, bar, 0), 0);
}

} // namespace
