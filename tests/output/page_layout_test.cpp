#include "output/page_layout.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>

#include "platform/error.h"

namespace orv {
namespace {

PageLayout Area(float left, float top, float right, float bottom) {
    PageLayout l;
    l.left = left, l.top = top, l.right = right, l.bottom = bottom;
    return l;
}

void ExpectRect(const PageLayout& l, float left, float top, float right, float bottom) {
    EXPECT_EQ(l.left, left);
    EXPECT_EQ(l.top, top);
    EXPECT_EQ(l.right, right);
    EXPECT_EQ(l.bottom, bottom);
}

TEST(PageLayoutMargins, HalfTheBorderOnEachSide) {
    struct Case {
        float w, h;
        int16_t border;
        float mx, my, r, b;
    } cases[] = {
        {12000, 15000, 10, 600, 750, 11400, 14250},
        {12000, 15000, 0, 0, 0, 12000, 15000},
        {11906, 16838, 7, 416.71f, 589.33f, 11489.29f, 16248.67f},
        {15840, 11520, 1, 79.2f, 57.6f, 15760.8f, 11462.4f},
        {12000, 15000, 200, 12000, 15000, 0, 0},
    };
    for (const auto& c : cases) {
        PageLayout l = LayoutMargins(c.w, c.h, c.border);
        EXPECT_EQ(l.marginX, c.mx) << c.border;
        EXPECT_EQ(l.marginY, c.my) << c.border;
        EXPECT_EQ(l.limitRight, c.r) << c.border;
        EXPECT_EQ(l.limitBottom, c.b) << c.border;
    }
}

TEST(PageLayoutImageArea, BandsAreTwoLinesTall) {
    const PageLayout page = LayoutMargins(12000, 15000, 0);
    struct Case {
        bool header, footer;
        float top, bottom;
    } cases[] = {
        {true, true, 600, 14600},
        {true, false, 600, 15000},
        {false, true, 0, 14600},
        {false, false, 0, 15000},
    };
    for (const auto& c : cases) {
        PageLayout l = LayoutImageArea(page, c.header, 300, c.footer, 200);
        ExpectRect(l, 0, c.top, 12000, c.bottom);
    }
    EXPECT_EQ(FooterLineTop(page, 200), 14800);
    PageLayout bordered = LayoutImageArea(LayoutMargins(12000, 15000, 10), true, 300, true, 200);
    ExpectRect(bordered, 600, 1350, 11400, 13850);
}

TEST(PageLayoutResize, OnlyResizeOneChangesTheArea) {
    const PageLayout area = Area(600, 750, 11400, 14250);
    struct Case {
        int16_t resize;
        double scale;
        float right, bottom;
    } cases[] = {
        {1, 100, 11400, 14250},      {1, 50, 6000, 7500},    {1, 150, 16800, 21000},
        {1, 33.3, 4196.4f, 5245.5f}, {-1, 50, 11400, 14250}, {2, 50, 11400, 14250},
        {0, 50, 11400, 14250},       {1, 0, 600, 750},
    };
    for (const auto& c : cases) {
        PageLayout l = LayoutResize(area, c.resize, c.scale);
        ExpectRect(l, 600, 750, c.right, c.bottom);
    }
}

TEST(PageLayoutFit, KeepsThePictureRatio) {
    const PageLayout area = Area(0, 600, 12000, 9600);  // 12000 x 9000, 4:3
    struct Case {
        float pw, ph;
        bool widthLimited;
        float right, bottom;
    } cases[] = {
        {1280, 960, false, 12000, 9600},  // equal ratio: height-limited, fills the area
        {800, 600, false, 12000, 9600},   {1600, 900, true, 12000, 7350},
        {1280, 1024, false, 11250, 9600}, {400, 600, false, 6000, 9600},
        {1000, 1, true, 12000, 612},
    };
    for (const auto& c : cases) {
        PageLayout l = LayoutAspectFit(area, c.pw, c.ph);
        EXPECT_EQ(l.widthLimited, c.widthLimited) << c.pw << "x" << c.ph;
        ExpectRect(l, 0, 600, c.right, c.bottom);
    }
}

TEST(PageLayoutPartialCapture, ShareOfTheScreen) {
    const PageLayout area = Area(0, 0, 12000, 9000);
    struct Case {
        float pw, ph;
        int16_t stretch;
        float right, bottom;
    } cases[] = {
        {1280, 1024, 0, 11250, 9000},  // full screen, height-limited: unchanged
        {1280, 1024, 1, 11250, 9000},
        {640, 240, 0, 6000, 2250},  // half the width, width-limited: half the area's width
        {640, 240, 1, 12000, 4500},
        {640, 240, -3, 12000, 4500},      // any nonzero value stretches
        {400, 1024, 0, 3515.625f, 9000},  // narrow but full height: k = 1
        {400, 512, 0, 3515.625f, 4500},   // height-limited: k = ph / SH
        {1600, 200, 0, 12000, 1500},      // wider than the screen: no shrink
    };
    for (const auto& c : cases) {
        PageLayout fit = LayoutAspectFit(area, c.pw, c.ph);
        PageLayout l = LayoutPartialCapture(fit, c.stretch, c.pw, c.ph, 1280, 1024);
        ExpectRect(l, 0, 0, c.right, c.bottom);
    }
}

TEST(PageLayoutErrors, DivisionByZeroInvalidOperationAndOverflow) {
    const float inf = INFINITY, nan = NAN;
    const PageLayout area = Area(0, 0, 12000, 9000);
    struct Case {
        const char* what;
        std::function<void()> step;
        long number;
    } cases[] = {
        {"area of zero height", [&] { LayoutAspectFit(Area(0, 5, 100, 5), 640, 480); }, 11},
        {"picture of zero width", [&] { LayoutAspectFit(area, 0, 480); }, 11},
        {"picture of zero height", [&] { LayoutAspectFit(area, 640, 0); }, 11},
        {"screen of zero height",
         [&] { LayoutPartialCapture(LayoutAspectFit(area, 400, 600), 0, 400, 600, 1280, 0); }, 11},
        {"page width not a number", [&] { LayoutMargins(nan, 15000, 10); }, 5},
        {"scale not a number", [&] { LayoutResize(area, 1, std::nan("")); }, 5},
        {"infinite line height", [&] { LayoutImageArea(area, true, inf, false, 0); }, 6},
        {"margin past the float range", [&] { LayoutMargins(FLT_MAX, 100, -100); }, 6},
        {"resize past the float range", [&] { LayoutResize(area, 1, 1e300); }, 6},
        {"infinite area", [&] { LayoutAspectFit(Area(-inf, 0, inf, 100), 640, 480); }, 6},
        {"empty image rectangle", [&] { RequireDrawableArea(Area(0, 0, 0, 100)); }, 5},
        {"inverted image rectangle", [&] { RequireDrawableArea(Area(0, 100, 50, 10)); }, 5},
    };
    for (const auto& c : cases) {
        try {
            c.step();
            ADD_FAILURE() << c.what << ": no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), c.number) << c.what;
        }
    }
    EXPECT_NO_THROW(RequireDrawableArea(Area(0, 0, 0.5f, 0.5f)));
}

}  // namespace
}  // namespace orv
