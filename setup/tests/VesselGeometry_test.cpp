#include "vessel/VesselGeometry.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

TEST(VesselGeometry, RecordAndFieldsMapOntoEachOther) {
    TGenereltRec g;
    g.Stem = 8;
    g.Stern = 12;
    g.Starboard = 2;
    g.Port = 4;
    g.Sounder = 5;
    EXPECT_EQ(VesselFieldsFromRecord(g), (TVesselFields{20, 6, 2, 8, 5}));
    EXPECT_EQ(VesselFileSounder(g.Stem, g.Sounder), 3);
    // A sounder behind the antenna: 12 m from the bow, the antenna at 8 m.
    EXPECT_EQ(VesselFileSounder(8, 12), -4);

    TGenereltRec back;
    VesselRecordFromFields({20, 6, 2, 8, 5}, {true, true, true, true, true}, back);
    EXPECT_EQ(std::to_string(back.Stem) + " " + std::to_string(back.Stern) + " " +
                  std::to_string(back.Starboard) + " " + std::to_string(back.Port) + " " +
                  std::to_string(back.Sounder),
              "8 12 2 4 5");

    // Only what an edited field decides is written: a length the field could
    // not show (2008 held at 1000) stays when only the antenna moved sideways.
    TGenereltRec wide = g;
    wide.Stern = 2000;
    TVesselFields shown = VesselFieldsFromRecord(wide);
    shown.Length = 1000;
    shown.X = 3;
    VesselRecordFromFields(shown, {.X = true}, wide);
    EXPECT_EQ(wide.Stern, 2000);
    EXPECT_EQ(wide.Starboard, 3);
    EXPECT_EQ(wide.Port, 3);
}

TEST(VesselGeometry, EditsPushTheLengthAndWidthOnlyFromTheKeyboard) {
    struct Case {
        const char* name;
        TVesselFields before;
        TVesselField changed;
        bool focused;
        TVesselFields after;
    } cases[] = {
        {"typed 25 from the bow raises the length",
         {20, 6, 2, 25, 5},
         TVesselField::Y,
         true,
         {25, 6, 2, 25, 5}},
        {"the same 25 from a pick does not",
         {20, 6, 2, 25, 5},
         TVesselField::Y,
         false,
         {20, 6, 2, 25, 5}},
        {"typed 7 from starboard widens",
         {20, 6, 7, 8, 5},
         TVesselField::X,
         true,
         {20, 7, 7, 8, 5}},
        {"a sounder typed beyond the stern lengthens",
         {20, 6, 2, 8, 30},
         TVesselField::EchoY,
         true,
         {30, 6, 2, 8, 30}},
        {"a shorter length takes the antenna with it",
         {5, 6, 2, 8, 5},
         TVesselField::Length,
         false,
         {5, 6, 2, 5, 5}},
        {"length 0 puts the antenna at the bow",
         {0, 6, 2, 8, 5},
         TVesselField::Length,
         false,
         {0, 6, 2, 0, 5}},
        {"width 0 puts the antenna at starboard",
         {20, 0, 2, 8, 5},
         TVesselField::Width,
         false,
         {20, 0, 0, 8, 5}},
        {"a narrower width takes the antenna with it",
         {20, 1, 2, 8, 5},
         TVesselField::Width,
         true,
         {20, 1, 1, 8, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(VesselFieldChanged(c.before, c.changed, c.focused), c.after);
    }
}

TEST(VesselGeometry, MarksAndPicksOnThePicture) {
    constexpr int w = 58, h = 142;
    const TVesselFields boat{20, 6, 2, 8, 5};
    EXPECT_EQ(CrossCentreX(boat, w), 39); // 58 - 2 x 58 / 6 = 38.67
    EXPECT_EQ(CrossCentreY(boat, h), 57); // 8 x 142 / 20 = 56.8
    EXPECT_EQ(SounderCentreY(boat, h), 36);
    EXPECT_EQ(SounderCentreX(w), 29);
    // No width or no length: no position (nothing is divided by 0).
    EXPECT_EQ(CrossCentreX({20, 0, 2, 8, 5}, w), std::nullopt);
    EXPECT_EQ(CrossCentreY({0, 6, 2, 8, 5}, h), std::nullopt);
    EXPECT_EQ(SounderCentreY({0, 6, 2, 8, 5}, h), std::nullopt);
    // An antenna outside the boat (loaded so) stays on the picture.
    EXPECT_EQ(CrossCentreX({20, 6, 9, 8, 5}, w), 0);

    struct Pick {
        const char* name;
        TVesselFields fields;
        int px, py;
        std::optional<TVesselPick> antenna;
    } picks[] = {
        {"the bow's starboard corner", boat, 57, 1, TVesselPick{0, 0}},
        {"the stern's port corner", boat, 1, 141, TVesselPick{6, 20}},
        {"the middle", boat, 29, 71, TVesselPick{3, 10}},
        {"ties go to even: 0.5", {20, 29, 0, 0, 0}, 57, 71, TVesselPick{0, 10}},
        {"ties go to even: 2.5", {20, 29, 0, 0, 0}, 53, 71, TVesselPick{2, 10}},
        {"ties go to even: 1.5", {20, 29, 0, 0, 0}, 55, 71, TVesselPick{2, 10}},
        {"on the left edge", boat, 0, 50, std::nullopt},
        {"on the top edge", boat, 20, 0, std::nullopt},
        {"right of the boat", boat, 58, 50, std::nullopt},
        {"below the boat", boat, 20, 142, std::nullopt},
        {"far outside (a drag)", boat, -40, 400, std::nullopt},
    };
    for (const Pick& p : picks) {
        SCOPED_TRACE(p.name);
        EXPECT_EQ(PickAntenna(p.fields, p.px, p.py, w, h), p.antenna);
    }
    EXPECT_EQ(PickSounder(boat, 71, w, h), 10);
    EXPECT_EQ(PickSounder(boat, 142, w, h), std::nullopt);
    EXPECT_EQ(PickSounder(boat, 0, w, h), std::nullopt);
    // A pick and the mark it moves agree.
    const TVesselPick moved = *PickAntenna(boat, 29, 71, w, h);
    EXPECT_EQ(CrossCentreX({20, 6, moved.X, moved.Y, 5}, w), 29);
    EXPECT_EQ(CrossCentreY({20, 6, moved.X, moved.Y, 5}, h), 71);
}

} // namespace
