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

std::vector<float> Rect(const PageLayout& l) {
    return {l.left, l.top, l.right, l.bottom};
}

TEST(PageLayout, MarginsAndBands) {
    PageLayout l = LayoutMargins(12000, 15000, 10);
    EXPECT_EQ((std::vector<float>{l.marginX, l.marginY, l.limitRight, l.limitBottom}),
              (std::vector<float>{600, 750, 11400, 14250}));
    l = LayoutMargins(11906, 16838, 7);  // stored as floats
    EXPECT_EQ((std::vector<float>{l.marginX, l.marginY, l.limitRight, l.limitBottom}),
              (std::vector<float>{416.71f, 589.33f, 11489.29f, 16248.67f}));

    const PageLayout page = LayoutMargins(12000, 15000, 0);
    EXPECT_EQ(Rect(LayoutImageArea(page, true, 300, true, 200)),
              (std::vector<float>{0, 600, 12000, 14600}));
    EXPECT_EQ(Rect(LayoutImageArea(page, false, 300, true, 200)),
              (std::vector<float>{0, 0, 12000, 14600}));
    EXPECT_EQ(FooterLineTop(page, 200), 14800);
}

TEST(PageLayout, OnlyResizeOneChangesTheArea) {
    const PageLayout area = Area(600, 750, 11400, 14250);
    // clang-format off
    const std::tuple<int16_t, double, float, float> cases[] = {
        {1, 100, 11400, 14250}, {1, 50, 6000, 7500},   {1, 33.3, 4196.4f, 5245.5f},
        {-1, 50, 11400, 14250}, {-1, -50, 11400, 14250}};
    for (const auto& [resize, scale, right, bottom] : cases)
        EXPECT_EQ(Rect(LayoutResize(area, resize, scale)),
                  (std::vector<float>{600, 750, right, bottom}))
            << resize << " " << scale;
}

TEST(PageLayout, FitThenShareOfTheScreen) {
    const PageLayout area = Area(0, 600, 12000, 9600);  // 4:3, screen 1280 x 1024
    const std::tuple<float, float, int16_t, bool, float, float> cases[] = {
        {1280, 960, 1, false, 12000, 9600},   // equal ratios: height-limited, fills the area
        {1280, 1024, 0, false, 11250, 9600},  // full screen: no shrink
        {1280, 1024, 1, false, 11250, 9600},
        {640, 240, 0, true, 6000, 2850},  // half the screen's width: half the area's
        {640, 240, 1, true, 12000, 5100},
        {400, 1024, 0, false, 3515.625f, 9600},  // narrow but full height: k = 1
        {400, 512, 0, false, 3515.625f, 5100},
        {1600, 200, 0, true, 12000, 2100},  // wider than the screen
        {400, 2048, 0, false, 1757.8125f, 9600},  // taller than the screen: never enlarged
    };
    // clang-format on
    for (const auto& [pw, ph, stretch, widthLimited, right, bottom] : cases) {
        PageLayout fit = LayoutAspectFit(area, pw, ph);
        EXPECT_EQ(fit.widthLimited, widthLimited) << pw << "x" << ph;
        EXPECT_EQ(Rect(LayoutPartialCapture(fit, stretch, pw, ph, 1280, 1024)),
                  (std::vector<float>{0, 600, right, bottom}))
            << pw << "x" << ph << " stretch " << stretch;
    }
}

TEST(PageLayout, DivisionByZeroInvalidOperationAndOverflow) {
    const PageLayout area = Area(0, 0, 12000, 9000);
    const std::pair<std::function<void()>, long> cases[] = {
        {[&] { LayoutAspectFit(Area(0, 5, 100, 5), 640, 480); }, 11},
        {[&] { LayoutAspectFit(area, 0, 480); }, 11},
        {[&] { LayoutAspectFit(area, 640, 0); }, 11},
        {[&] { LayoutPartialCapture(LayoutAspectFit(area, 4, 6), 0, 4, 6, 1280, 0); }, 11},
        {[&] { LayoutMargins(NAN, 15000, 10); }, 5},
        {[&] { LayoutResize(area, 1, std::nan("")); }, 5},
        {[&] { LayoutImageArea(area, true, INFINITY, false, 0); }, 6},
        {[&] { LayoutMargins(INFINITY, 100, 10); }, 6},
        {[&] { LayoutResize(area, 1, 1e300); }, 6},
        // A header band taller than the page: nothing is fitted below it.
        {[&] {
             LayoutAspectFit(LayoutImageArea(LayoutMargins(12000, 9000, 0), true, 5000, false, 0),
                             640, 480);
         },
         5},
        {[&] { LayoutAspectFit(Area(0, 0, -100, 50), 640, 480); }, 5},
        {[&] { RequireDrawableArea(Area(0, 0, 0, 100)); }, 5},
        {[&] { RequireDrawableArea(Area(0, 100, 50, 10)); }, 5},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        try {
            cases[i].first();
            ADD_FAILURE() << "case " << i << ": no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), cases[i].second) << "case " << i;
        }
    }
}

// Stored values the dialog never offers: the picture stays on the page or
// the job is refused.
TEST(PageLayout, BordersOutsideAHundredAndScalesOfZeroOrLessAreRefused) {
    // clang-format off
    const std::tuple<int16_t, double, bool> cases[] = {
        {0, 100, true},   {30, 10, true},   {100, 50, true},  {0, 0.001, true},
        {-1, 100, false}, {101, 50, false}, {-30, 50, false}, {300, -50, false},
        {10, 0, false},   {10, -50, false}, {0, -0.0, false}, {10, -1e300, false},
    };
    // clang-format on
    for (const auto& [border, scale, drawn] : cases) {
        try {
            const PageLayout l = LayoutResize(
                LayoutImageArea(LayoutMargins(12000, 15000, border), false, 0, false, 0), 1, scale);
            EXPECT_TRUE(drawn) << border << " " << scale;
            EXPECT_TRUE(l.left >= 0 && l.top >= 0 && l.right <= 12000 && l.bottom <= 15000 &&
                        l.right >= l.left && l.bottom >= l.top)
                << border << " " << scale;
        } catch (const Error& e) {
            EXPECT_FALSE(drawn) << border << " " << scale;
            EXPECT_EQ(e.number(), 5) << border << " " << scale;
        }
    }
}

}  // namespace
}  // namespace orv
