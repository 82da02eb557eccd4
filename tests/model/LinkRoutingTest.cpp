#include <gtest/gtest.h>

#include <vector>

#include "model/LinkRouting.h"

namespace {

using Points = std::vector<TPoint>;

// Pin centres that put the stub points exactly at O and I: an output's stub
// lies 6 pixels along its angle, an input's 6 pixels against its angle.
TPoint OutputCentreFor(TPoint o, int angle) {
    switch (angle) {
    case 0:
        return {o.x - 6, o.y};
    case 90:
        return {o.x, o.y - 6};
    case 180:
        return {o.x + 6, o.y};
    default:
        return {o.x, o.y + 6};
    }
}

TPoint InputCentreFor(TPoint i, int angle) {
    switch (angle) {
    case 0:
        return {i.x + 6, i.y};
    case 90:
        return {i.x, i.y + 6};
    case 180:
        return {i.x - 6, i.y};
    default:
        return {i.x, i.y - 6};
    }
}

struct Case {
    int outAngle;
    TPoint o;
    int inAngle;
    TPoint i;
    Points between; // the intermediate points, computed by hand
};

void ExpectRoute(const Case& c) {
    const TPoint co = OutputCentreFor(c.o, c.outAngle);
    const TPoint ci = InputCentreFor(c.i, c.inAngle);
    Points expected{co, c.o};
    expected.insert(expected.end(), c.between.begin(), c.between.end());
    expected.push_back(c.i);
    EXPECT_EQ(RouteSignalLink(co, c.outAngle, ci, c.inAngle), expected)
        << "output " << c.outAngle << " at O (" << c.o.x << ", " << c.o.y << "), input "
        << c.inAngle << " at I (" << c.i.x << ", " << c.i.y << ")";
}

TEST(LinkRoutingStubs, OutputsStepOutAlongTheirAngleAndInputsStepBackAgainstIt) {
    const TPoint co{50, 60}, ci{80, 90};
    EXPECT_EQ(RouteSignalLink(co, 0, ci, 0)[1], (TPoint{56, 60}));
    EXPECT_EQ(RouteSignalLink(co, 90, ci, 0)[1], (TPoint{50, 66}));
    EXPECT_EQ(RouteSignalLink(co, 180, ci, 0)[1], (TPoint{44, 60}));
    EXPECT_EQ(RouteSignalLink(co, 270, ci, 0)[1], (TPoint{50, 54}));
    EXPECT_EQ(RouteSignalLink(co, 0, ci, 0).back(), (TPoint{74, 90}));
    EXPECT_EQ(RouteSignalLink(co, 0, ci, 90).back(), (TPoint{80, 84}));
    EXPECT_EQ(RouteSignalLink(co, 0, ci, 180).back(), (TPoint{86, 90}));
    EXPECT_EQ(RouteSignalLink(co, 0, ci, 270).back(), (TPoint{80, 96}));
    EXPECT_EQ(RouteSignalLink(co, 0, ci, 0).front(), co);
}

TEST(LinkRoutingStubs, SlantedPinsGetStubsAndOneDirectPiece) {
    // 6 * cos 45 = 4.24: the stub rounds to 4 pixels on each axis.
    EXPECT_EQ(RouteSignalLink({0, 0}, 45, {100, 0}, 0),
              (Points{{0, 0}, {4, 4}, {94, 0}, {100, 0}}));
    EXPECT_EQ(RouteSignalLink({0, 0}, 0, {100, 50}, 135),
              (Points{{0, 0}, {6, 0}, {104, 46}, {100, 50}}));
}

TEST(LinkRoutingTable, OutputRightToInputFromTheLeft) {
    // ox < ix: step through the middle column, truncating the half width.
    ExpectRoute({0, {100, 100}, 0, {201, 150}, {{150, 100}, {150, 150}}});
    ExpectRoute({0, {99, 100}, 0, {100, 110}, {{99, 100}, {99, 110}}});
    // ox >= ix and dy 44 > 43: through the middle row.
    ExpectRoute({0, {200, 100}, 0, {100, 144}, {{200, 122}, {100, 122}}});
    // Upwards the half of -55 truncates to -27.
    ExpectRoute({0, {200, 150}, 0, {100, 95}, {{200, 123}, {100, 123}}});
    // dy 43: loop 62 pixels below the input (62.5 truncated).
    ExpectRoute({0, {200, 100}, 0, {100, 143}, {{200, 205}, {100, 205}}});
    ExpectRoute({0, {100, 100}, 0, {100, 110}, {{100, 172}, {100, 172}}});
}

TEST(LinkRoutingTable, OutputRightToInputFromTheRight) {
    ExpectRoute({0, {100, 100}, 180, {200, 143}, {{200, 100}}});
    ExpectRoute({0, {250, 100}, 180, {200, 143}, {{250, 143}}});
    ExpectRoute({0, {200, 100}, 180, {200, 143}, {{200, 143}}});
    // dy 42: round below the input, 65 pixels.
    ExpectRoute({0, {100, 100}, 180, {200, 142}, {{100, 207}, {200, 207}}});
}

TEST(LinkRoutingTable, OutputRightToInputFromAbove) {
    // ox < ix - 48: the middle column.
    ExpectRoute({0, {100, 100}, 90, {149, 200}, {{124, 100}, {124, 200}}});
    // ox = ix - 48 and dy > 42: a column 70 pixels right of O.
    ExpectRoute({0, {100, 100}, 90, {148, 200}, {{170, 100}, {170, 200}}});
    ExpectRoute({0, {100, 100}, 90, {148, 143}, {{170, 100}, {170, 143}}});
    // ox < ix with dy 42: the middle column again.
    ExpectRoute({0, {100, 100}, 90, {148, 142}, {{124, 100}, {124, 142}}});
    // ox >= ix: dy > 42 keeps the 70-pixel column, dy <= 42 passes 65 above I.
    ExpectRoute({0, {200, 100}, 90, {150, 200}, {{270, 100}, {270, 200}}});
    ExpectRoute({0, {200, 100}, 90, {150, 130}, {{200, 65}, {150, 65}}});
    ExpectRoute({0, {150, 100}, 90, {150, 142}, {{150, 77}, {150, 77}}});
}

TEST(LinkRoutingTable, OutputRightToInputFromBelow) {
    ExpectRoute({0, {100, 100}, 270, {149, 200}, {{124, 100}, {124, 200}}});
    ExpectRoute({0, {100, 100}, 270, {148, 200}, {{170, 100}, {170, 200}}});
    ExpectRoute({0, {100, 100}, 270, {148, 142}, {{124, 100}, {124, 142}}});
    ExpectRoute({0, {200, 100}, 270, {150, 200}, {{270, 100}, {270, 200}}});
    // The last step passes 65 below I.
    ExpectRoute({0, {200, 100}, 270, {150, 130}, {{200, 195}, {150, 195}}});
}

TEST(LinkRoutingTable, OutputLeftToInputFromTheLeft) {
    ExpectRoute({180, {200, 100}, 0, {100, 143}, {{100, 100}}});
    ExpectRoute({180, {100, 100}, 0, {150, 143}, {{100, 143}}});
    ExpectRoute({180, {200, 100}, 0, {100, 142}, {{200, 207}, {100, 207}}});
}

TEST(LinkRoutingTable, OutputLeftToInputFromTheRight) {
    // ix < ox: the half of -101 truncates to -50.
    ExpectRoute({180, {201, 100}, 180, {100, 150}, {{151, 100}, {151, 150}}});
    ExpectRoute({180, {100, 100}, 180, {200, 144}, {{100, 122}, {200, 122}}});
    ExpectRoute({180, {100, 100}, 180, {200, 143}, {{100, 205}, {200, 205}}});
}

TEST(LinkRoutingTable, OutputLeftToInputFromAbove) {
    ExpectRoute({180, {149, 100}, 90, {100, 200}, {{124, 100}, {124, 200}}});
    // ix + 48 = ox and dy > 42: a column 75 pixels left of O.
    ExpectRoute({180, {148, 100}, 90, {100, 200}, {{73, 100}, {73, 200}}});
    ExpectRoute({180, {148, 100}, 90, {100, 143}, {{73, 100}, {73, 143}}});
    ExpectRoute({180, {148, 100}, 90, {100, 142}, {{124, 100}, {124, 142}}});
    ExpectRoute({180, {100, 100}, 90, {150, 130}, {{100, 65}, {150, 65}}});
    ExpectRoute({180, {100, 100}, 90, {150, 200}, {{25, 100}, {25, 200}}});
}

TEST(LinkRoutingTable, OutputLeftToInputFromBelow) {
    ExpectRoute({180, {149, 100}, 270, {100, 200}, {{124, 100}, {124, 200}}});
    ExpectRoute({180, {148, 100}, 270, {100, 200}, {{73, 100}, {73, 200}}});
    ExpectRoute({180, {148, 100}, 270, {100, 142}, {{124, 100}, {124, 142}}});
    ExpectRoute({180, {100, 100}, 270, {150, 130}, {{100, 195}, {150, 195}}});
}

TEST(LinkRoutingTable, OutputDownToInputFromTheLeft) {
    // oy < iy - 26: the middle row.
    ExpectRoute({90, {100, 100}, 0, {200, 127}, {{100, 113}, {200, 113}}});
    // oy = iy - 26 and dx > 42: a row 40 pixels below O.
    ExpectRoute({90, {100, 100}, 0, {143, 126}, {{100, 140}, {143, 140}}});
    // oy < iy with dx 42: the middle row again.
    ExpectRoute({90, {100, 100}, 0, {142, 126}, {{100, 113}, {142, 113}}});
    // oy >= iy and dx <= 42: a column 65 left of I.
    ExpectRoute({90, {100, 200}, 0, {130, 150}, {{65, 200}, {65, 150}}});
    ExpectRoute({90, {100, 200}, 0, {143, 150}, {{100, 240}, {143, 240}}});
}

TEST(LinkRoutingTable, OutputDownToInputFromTheRight) {
    ExpectRoute({90, {100, 100}, 180, {200, 127}, {{100, 113}, {200, 113}}});
    ExpectRoute({90, {100, 100}, 180, {143, 126}, {{100, 140}, {143, 140}}});
    ExpectRoute({90, {100, 100}, 180, {142, 126}, {{100, 113}, {142, 113}}});
    // The last step passes 65 right of I.
    ExpectRoute({90, {100, 200}, 180, {130, 150}, {{195, 200}, {195, 150}}});
}

TEST(LinkRoutingTable, OutputDownToInputFromAbove) {
    ExpectRoute({90, {100, 100}, 90, {150, 201}, {{100, 150}, {150, 150}}});
    // oy >= iy and dx 44 > 43: the middle column.
    ExpectRoute({90, {100, 200}, 90, {144, 100}, {{122, 200}, {122, 100}}});
    // dx 43: a column 62 pixels right of I.
    ExpectRoute({90, {100, 200}, 90, {143, 100}, {{205, 200}, {205, 100}}});
}

TEST(LinkRoutingTable, OutputDownToInputFromBelow) {
    ExpectRoute({90, {100, 100}, 270, {143, 200}, {{100, 200}}});
    ExpectRoute({90, {100, 200}, 270, {143, 100}, {{143, 200}}});
    ExpectRoute({90, {100, 100}, 270, {142, 200}, {{207, 100}, {207, 200}}});
}

TEST(LinkRoutingTable, OutputUpToInputFromTheLeft) {
    // iy + 26 < oy: the middle row.
    ExpectRoute({270, {100, 127}, 0, {200, 100}, {{100, 113}, {200, 113}}});
    // iy + 26 = oy and dx > 42: a row 40 pixels above O.
    ExpectRoute({270, {100, 126}, 0, {143, 100}, {{100, 86}, {143, 86}}});
    ExpectRoute({270, {100, 126}, 0, {142, 100}, {{100, 113}, {142, 113}}});
    ExpectRoute({270, {100, 100}, 0, {130, 150}, {{65, 100}, {65, 150}}});
}

TEST(LinkRoutingTable, OutputUpToInputFromTheRight) {
    ExpectRoute({270, {100, 127}, 180, {200, 100}, {{100, 113}, {200, 113}}});
    ExpectRoute({270, {100, 126}, 180, {143, 100}, {{100, 86}, {143, 86}}});
    ExpectRoute({270, {100, 126}, 180, {142, 100}, {{100, 113}, {142, 113}}});
    ExpectRoute({270, {100, 100}, 180, {130, 150}, {{195, 100}, {195, 150}}});
}

TEST(LinkRoutingTable, OutputUpToInputFromAbove) {
    ExpectRoute({270, {100, 200}, 90, {143, 100}, {{100, 100}}});
    ExpectRoute({270, {100, 100}, 90, {143, 200}, {{143, 100}}});
    ExpectRoute({270, {100, 100}, 90, {142, 200}, {{207, 100}, {207, 200}}});
}

TEST(LinkRoutingTable, OutputUpToInputFromBelow) {
    // iy < oy: the half of -101 truncates to -50.
    ExpectRoute({270, {100, 201}, 270, {150, 100}, {{100, 151}, {150, 151}}});
    ExpectRoute({270, {100, 100}, 270, {144, 200}, {{122, 100}, {122, 200}}});
    ExpectRoute({270, {100, 100}, 270, {143, 200}, {{205, 100}, {205, 200}}});
}

TEST(LinkRoutingAngles, ReduceAngleKeepsDegreesInOneTurn) {
    EXPECT_EQ(ReduceAngle(0), 0);
    EXPECT_EQ(ReduceAngle(359), 359);
    EXPECT_EQ(ReduceAngle(360), 0);
    EXPECT_EQ(ReduceAngle(450), 90);
    EXPECT_EQ(ReduceAngle(-90), 270);
}

} // namespace
