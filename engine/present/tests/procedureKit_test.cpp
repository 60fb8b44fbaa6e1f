// The procedure kit itself: what its fakes answer, how its geometry builders
// shape areas, what its matchers find in a recording, that its runner notices
// a procedure that leaves the layer's state changed, and its gallery.
#include "procedureKit.h"

#include "graphics/GraphicsPrimitives.h"
#include "graphics/GraphicsText.h"
#include "graphics/GraphicsFonts.h"
#include "procedures/Int1Procs.h"

#include <QImage>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

namespace {

TEST(KitAttributes, ValuesReadAsTheChartObjectsGiveThem) {
    kit::FakeObject o(1);
    o.set(kit::byteAttr(7, 3))
        .set(kit::wordAttr(116, 123))
        .set(kit::floatAttr(66, 2.5f))
        .set(kit::textAttr(87, "Name"))
        .set(kit::packedAttr(139, 4, -2, 3, "Ab"))
        .set(kit::listAttr(59, {3, 4}))
        .set(kit::rawAttr(78, aSTRING, {'a', 'b'})) // no zero
        .set(kit::rawAttr(82, aLIST, {5, 1}))       // shorter than its count
        .set(kit::rawAttr(139, aCMPLX, {1}));       // a second 139, shadowed
    struct Case {
        unsigned code;
        int size;
        std::vector<std::uint8_t> bytes;
    };
    float f = 123;
    std::vector<std::uint8_t> word(4);
    std::memcpy(word.data(), &f, 4);
    f = 2.5f;
    std::vector<std::uint8_t> floating(4);
    std::memcpy(floating.data(), &f, 4);
    const std::vector<Case> cases{
        {7, 1, {3}},
        {116, 4, word}, // the float of the stored whole number
        {66, 4, floating},
        {87, 5, {'N', 'a', 'm', 'e', 0}},
        {139, 6, {4, 0xFE, 3, 'A', 'b', 0}},
        {59, 3, {2, 3, 4}},
        {78, 2, {'a', 'b'}},
        {82, 2, {5, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        TGdbAttr* a = o.GetAttr(c.code);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->GetLabel(), int(c.code));
        EXPECT_EQ(a->GetValue(nullptr, 1), c.size);
        std::vector<std::uint8_t> out(16, 0xAA);
        EXPECT_EQ(a->GetValue(out.data(), 1), c.size);
        EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.begin() + c.size), c.bytes);
        EXPECT_EQ(out[std::size_t(c.size)], 0xAA) << "nothing past the value";
    }
    EXPECT_EQ(o.GetAttr(200), nullptr);

    // By reference: the stored bytes, which a procedure may rewrite in place.
    char* text = nullptr;
    EXPECT_EQ(o.GetAttr(87)->GetValue(&text, 0), int(sizeof text));
    text[0] = 'n';
    EXPECT_EQ(o.storedText(87), "name");
    EXPECT_EQ(o.storedText(139), "Ab");

    // The walk in order; one cursor serves it and GetAttr.
    std::vector<int> codes;
    for (TGdbAttr* a = o.FirstAttr(); a; a = o.NextAttr())
        codes.push_back(a->GetLabel());
    EXPECT_EQ(codes, (std::vector<int>{7, 116, 66, 87, 139, 59, 78, 82, 139}));
    EXPECT_EQ(o.GetAttr(7), o.GetAttr(66));
}

TEST(KitObjects, ChildrenClonesAndGeometryCalls) {
    auto aggregate = std::make_unique<kit::FakeObject>(185);
    aggregate->addChild(std::make_unique<kit::FakeObject>(17));
    aggregate->addChild(std::make_unique<kit::FakeObject>(86));
    aggregate->child(1).set(kit::listAttr(59, {3}));
    EXPECT_EQ(aggregate->HasChilds(), 1);
    EXPECT_EQ(aggregate->HasParent(), 0);
    EXPECT_EQ(aggregate->FirstChild()->GetLabel(), 17);
    EXPECT_EQ(aggregate->NextChild()->GetLabel(), 86);
    EXPECT_EQ(aggregate->NextChild(), nullptr);
    EXPECT_EQ(aggregate->ChildNumber(1)->HasParent(), 1);
    EXPECT_EQ(aggregate->ChildNumber(1)->GetParent(), aggregate.get());

    std::unique_ptr<GdbObject> copy(aggregate->clone());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->GetLabel(), 185);
    GdbObject* light = copy->ChildNumber(1);
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(light->GetParent(), copy.get());
    EXPECT_NE(light->GetAttr(59), nullptr);

    // Geometry: filled into the object given, counted with the clones' calls.
    aggregate->setGeometry(kit::point(4, 5));
    kit::View view;
    MapObject m(egtPoint, -1);
    EXPECT_EQ(copy->newMapObject(view.map(), view.rect(), &m), &m);
    EXPECT_EQ(aggregate->newMapObject(view.map(), view.rect(), &m), &m);
    EXPECT_EQ(m.type, egtPoint);
    EXPECT_EQ(m.bounds.left, 4);
    EXPECT_EQ(m.bounds.top, 5);
    EXPECT_EQ(aggregate->newMapObjectCalls(), 2);
    aggregate->noMapObject();
    EXPECT_EQ(aggregate->newMapObject(view.map(), view.rect(), &m), nullptr);
    aggregate->refuseClone();
    EXPECT_EQ(aggregate->clone(), nullptr);
}

TEST(KitGeometry, AreasRunClockwiseAndCarryTheirSegments) {
    // Given counter-clockwise and open: closed and turned.
    const kit::Geometry g = kit::area({{0, 0}, {40, 0}, {40, 40}, {0, 40}});
    ASSERT_EQ(g.parts.size(), 1u);
    ASSERT_EQ(g.parts[0].size(), 5u);
    EXPECT_EQ(g.parts[0].front().x, g.parts[0].back().x);
    EXPECT_EQ(g.parts[0].front().y, g.parts[0].back().y);
    EXPECT_EQ(g.extras, (std::vector<std::int32_t>{4, -1}));
    EXPECT_EQ(g.extraCount, 2);
    MapObject m(egtPoint, -1);
    g.fill(m);
    Point centre{0, 0};
    ASSERT_EQ(m.CentreOfGravity(centre), 1) << "the centre needs a clockwise ring";
    EXPECT_EQ(centre.x, 20);
    EXPECT_EQ(centre.y, 20);
    EXPECT_EQ(m.bounds.right, 40);

    const kit::Geometry s = kit::soundings({{1, 2}, {3, 4}}, {120, 35});
    s.fill(m);
    EXPECT_EQ(m.type, egtSoundings);
    EXPECT_EQ(m.partCount, 1);
    EXPECT_EQ(m.pointCounts[0], 2);
    EXPECT_EQ(m.extraCount, 0);
    EXPECT_EQ(m.extras[1], 35);
}

// Draws one of each kind of call the matchers know.
void drawSamples(TMapContext&) {
    GD_SelFont(35);
    GD_CharXY(3, 10, 20, 49);
    GD_SelFont(-1);
    GD_WriteXY(0, -30, -40, "Ab");
    std::vector<Point> line{{0, 0}, {20, 10}};
    GD_SetLineWidth(2);
    GD_Polyline(14, 2, line.data());
    GD_SetLineWidth(1);
    GD_DashPolyline(5, 0x0F0F, 2, line.data());
    std::vector<Point> square{{0, 0}, {0, 8}, {8, 8}, {8, 0}};
    GD_SetAreaPattern(8);
    GD_Polygon(24, 4, square.data());
    GD_SetAreaPattern(0);
    GD_Polygon(12, 4, square.data());
}

TEST(KitRecording, MatchersFindCallsInChartTerms) {
    const kit::Drawing d = kit::record(drawSamples);
    ASSERT_TRUE(kit::haveGuiApplication());
    EXPECT_TRUE(d.hasGlyph(35, 49, 3, {10, 20})) << d.log();
    EXPECT_FALSE(d.hasGlyph(35, 49, 4, {10, 20}));
    EXPECT_FALSE(d.hasGlyph(34, 49, 3, {10, 20}));
    EXPECT_TRUE(d.hasText(-1, "Ab", 0, {-30, -40})) << d.log();
    EXPECT_EQ(d.texts(35).size(), 1u);
    EXPECT_TRUE(d.hasSolidLine(14, 2, {{0, 0}, {20, 10}})) << d.log();
    EXPECT_TRUE(d.solidLines(14, 1).empty());
    const std::vector<Point> dashes = d.dashPixels(5);
    ASSERT_FALSE(dashes.empty()) << d.log();
    for (const Point& p : dashes)
        EXPECT_NEAR(p.y, p.x / 2.0, 1.0) << p.x << "," << p.y << " off the line";
    EXPECT_LT(dashes.size(), 20u) << "gaps of the dash";
    EXPECT_EQ(d.patternFills(24), 1) << d.log();
    EXPECT_EQ(d.solidFills(12), 1) << d.log();
    EXPECT_EQ(d.of("Polygon").size(), 3u);
}

void leaveWidthTwo(TMapContext*, GdbObject*, MapObject*) {
    GD_SetLineWidth(2);
}

TEST(KitRunner, NoticesAProcedureThatLeavesTheLayerChanged) {
    kit::resetDrawingState();
    kit::FakeObject o(120);
    EXPECT_NONFATAL_FAILURE(kit::run(leaveWidthTwo, o), "line width left by");
    kit::resetDrawingState();
    EXPECT_EQ(gdLineWidth(), 1);
    EXPECT_EQ(Int1CondSymbProcs[120], &Int1Proc120) << "the runner puts the table back";
}

void redSquare(TMapContext&) {
    std::vector<Point> square{{10, 10}, {10, 20}, {20, 20}, {20, 10}};
    GD_Polygon(3, 4, square.data());
}

TEST(KitRaster, PicturesAreInTheChartMapping) {
    kit::resetDrawingState();
    kit::Settings s;
    s.width = 64;
    s.height = 48;
    const QImage picture = kit::paint(redSquare, s);
    EXPECT_EQ(picture.size(), QSize(64, 48));
    EXPECT_EQ(kit::pixelAt(picture, {15, 15}), kit::chartRgb(3)) << "above and right of the centre";
    EXPECT_EQ(kit::pixelAt(picture, {-15, -15}), 0xFFF0F0F0u);
    EXPECT_EQ(picture.pixel(32 + 15, 24 - 15), kit::chartRgb(3));
    EXPECT_EQ(kit::pixelAt(picture, {100, 0}), 0u);
}

TEST(KitGallery, WritesLabelledCells) {
    kit::resetDrawingState();
    kit::Gallery gallery("kit-gallery", 64, 2);
    gallery.add("samples", drawSamples);
    gallery.add("one glyph", [](TMapContext&) {
        GD_SelFont(35);
        GD_CharXY(0, 0, 0, 49);
    });
    gallery.add("nothing", [](TMapContext&) {});
    const std::string path = gallery.write();
    ASSERT_FALSE(path.empty());
    const QImage sheet(QString::fromStdString(path));
    EXPECT_EQ(sheet.width(), 2 * 65 + 1);
    EXPECT_EQ(sheet.height(), 2 * (64 + 16 + 1) + 1);
    // The glyph's red and the line's magenta show in the first cell, in the
    // kit's palette.
    for (int colour : {3, 14}) {
        bool found = false;
        for (int y = 1; y < 65 && !found; ++y)
            for (int x = 1; x < 65 && !found; ++x)
                found = sheet.pixel(x, y) == kit::chartRgb(colour);
        EXPECT_TRUE(found) << "colour " << colour;
    }
}

} // namespace
