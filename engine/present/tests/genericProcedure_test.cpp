// The generic procedure and the shared line element templates it and the
// other built-in procedures draw with.
#include "procedureKit.h"

#include "procedures/Int1Procs.h"
#include "procedures/LineElementTemplates.h"
#include "rendering/Renderers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Generic : public kit::ProcedureTest {};

TEST_F(Generic, GlyphAtTheCentreOfAnAreaAtThePointOfAPoint) {
    kit::FakeObject area(37);
    area.setGeometry(kit::area({{-40, -20}, {-40, 20}, {40, 20}, {40, -20}}));
    kit::Drawing d = kit::run(Int1ProcGeneric, area);
    EXPECT_TRUE(d.hasGlyph(35, 7, 2, {0, 0})) << d.log();
    EXPECT_EQ(d.calls().size(), 1u);

    // Counter-clockwise: no centre, nothing drawn.
    kit::FakeObject noCentre(37);
    noCentre.setGeometry(
        kit::areaWithSegments({{-40, -20}, {40, -20}, {40, 20}, {-40, 20}, {-40, -20}}, {4, -1}));
    EXPECT_TRUE(kit::run(Int1ProcGeneric, noCentre).calls().empty());

    kit::FakeObject point(150);
    point.setGeometry(kit::point(17, -23));
    d = kit::run(Int1ProcGeneric, point);
    EXPECT_TRUE(d.hasGlyph(35, 7, 2, {17, -23})) << d.log();

    kit::FakeObject nothing(150);
    nothing.setGeometry(kit::noGeometry());
    EXPECT_TRUE(kit::run(Int1ProcGeneric, nothing).calls().empty()) << "no position, no glyph";
}

// Another procedure that leaves its own counts and colours in the templates
// the generic procedure uses.
void recolours(TMapContext* context, GdbObject*, MapObject* geometry) {
    TLineMarker* t = LineElementTemplates.data();
    t[2].colour = 3;
    t[2].count = 7;
    t[41].colour = 4;
    t[41].count = 5;
    t[0].colour = 6;
    t[0].count = 30;
    TStyledLine s{0, 2, {&t[2], &t[41]}, &t[0]};
    prComplexLine(context, &s, geometry);
}

TEST_F(Generic, LineInMagentaWhateverTheTemplatesHeld) {
    kit::FakeObject other(120);
    other.setGeometry(kit::line({{-120, 0}, {120, 0}}));
    kit::run(recolours, other);

    kit::FakeObject line(69);
    line.setGeometry(kit::line({{-120, 0}, {120, 0}}));
    kit::Trace trace;
    const kit::Drawing d = kit::draw(line); // the procedure table as the library fills it
    ASSERT_EQ(trace.calls().size(), 1u) << trace.log();
    const RendererCall& c = trace.calls()[0];
    EXPECT_EQ(c.kind, RendererCallKind::ComplexLine);
    ASSERT_EQ(c.elements.size(), 2u);
    EXPECT_EQ(c.elements[0].kind, kMarkerStroke);
    EXPECT_EQ(c.elements[0].count, 100);
    EXPECT_EQ(c.elements[0].colour, 14);
    EXPECT_EQ(c.elements[0].character | c.elements[0].font << 8, 0x0F0F);
    EXPECT_EQ(c.elements[1].kind, kMarkerGlyph);
    EXPECT_EQ(c.elements[1].count, 1);
    EXPECT_EQ(c.elements[1].colour, 14);
    EXPECT_EQ(c.elements[1].character, 13);
    EXPECT_EQ(c.elements[1].font, 34);
    ASSERT_TRUE(c.hasEndMarker);
    EXPECT_EQ(c.endMarker.colour, 14);

    // The dash runs 100 pixels, then comes the glyph, both in colour 14.
    const std::vector<Point> dashes = d.dashPixels(14);
    ASSERT_FALSE(dashes.empty()) << d.log();
    for (const Point& p : dashes)
        EXPECT_EQ(p.y, 0);
    EXPECT_TRUE(d.dashPixels(3).empty());
    EXPECT_TRUE(d.hasGlyph(34, 13, 14, {-20, 0})) << d.log();
    EXPECT_TRUE(d.texts(34).size() >= 1u);
}

// ---------------------------------------------------------------- templates

class Templates : public kit::ProcedureTest {};

TEST_F(Templates, InitialContents) {
    struct Row {
        int index;
        std::int32_t kind;
        int flags, colour, character, font, count, size;
    };
    const Row rows[] = {
        {0, 1, 1, 0, 0, 0, 1, 1},       {1, 1, 1, 0, 0, 0, 1, 3},
        {2, 1, 1, 0, 0x0F, 0x0F, 1, 1}, {3, 1, 1, 0, 0x33, 0x33, 1, 1},
        {4, 1, 1, 0, 0x55, 0x55, 1, 1}, {5, 1, 1, 0, 0x0F, 0x0F, 1, 3},
        {6, 0, 1, 0, 0, 0, 1, 1},       {7, 3, 6, 0, 0, -1, 0, 0},
        {8, 3, 6, 0, 0, 0, 0, 0},       {9, 2, 0, 0, 1, 36, 1, 1},
        {11, 2, 16, 0, 3, 36, 1, 4},    {14, 2, 33, 0, 6, 36, 1, 1},
        {15, 2, 1, 0, 7, 36, 1, 4},     {16, 2, 0, 0, 8, 36, 1, 4},
        {20, 2, 33, 0, 12, 36, 1, 1},   {21, 2, 0, 0, 13, 36, 1, 1},
        {30, 2, 16, 0, 22, 36, 1, 4},   {31, 2, 0, 0, 23, 36, 1, 4},
        {33, 2, 1, 0, 25, 36, 1, 4},    {34, 2, 6, 14, 5, 34, 1, 1},
        {38, 2, 6, 0, 7, 34, 1, 1},     {41, 2, 6, 2, 13, 34, 1, 1},
        {44, 2, 6, 2, 16, 34, 1, 1},    {45, 4, 0, 0, 7, 35, 1, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.index);
        const TLineMarker& t = LineElementTemplates[static_cast<std::size_t>(r.index)];
        EXPECT_EQ(t.kind, r.kind);
        EXPECT_EQ(t.flags, r.flags);
        EXPECT_EQ(t.colour, r.colour);
        EXPECT_EQ(t.character, r.character);
        EXPECT_EQ(t.font, r.font);
        EXPECT_EQ(t.count, r.count);
        EXPECT_EQ(t.size, r.size);
        EXPECT_EQ(t.text, nullptr);
    }
    LineElementTemplates[2].count = 99;
    kit::resetDrawingState();
    EXPECT_EQ(LineElementTemplates[2].count, 1) << "the kit's reset restores them";
}

// A dashed line of template 3 with count 40.
void writesCount(TMapContext* context, GdbObject*, MapObject* geometry) {
    LineElementTemplates[3].count = 40;
    LineElementTemplates[6].count = 20;
    TStyledLine s{0, 2, {&LineElementTemplates[3], &LineElementTemplates[6]}, nullptr};
    prComplexLine(context, &s, geometry);
}

// The same style without writing the counts.
void usesCount(TMapContext* context, GdbObject*, MapObject* geometry) {
    LineElementTemplates[3].colour = 5;
    TStyledLine s{0, 2, {&LineElementTemplates[3], &LineElementTemplates[6]}, nullptr};
    prComplexLine(context, &s, geometry);
}

TEST_F(Templates, ACountNotWrittenIsTheLastUsersCount) {
    kit::FakeObject line(120);
    line.setGeometry(kit::line({{-100, 0}, {100, 0}}));
    kit::run(writesCount, line);
    kit::Trace trace;
    const kit::Drawing d = kit::run(usesCount, line);
    ASSERT_EQ(trace.calls().size(), 1u);
    EXPECT_EQ(trace.calls()[0].elements.at(0).count, 40);
    EXPECT_EQ(trace.calls()[0].elements.at(1).count, 20);
    // Dashes over -100..-60, -40..0, 20..60 only.
    const std::vector<Point> dashes = d.dashPixels(5);
    ASSERT_FALSE(dashes.empty()) << d.log();
    for (const Point& p : dashes)
        EXPECT_TRUE((p.x >= -100 && p.x < -60) || (p.x >= -40 && p.x < 0) ||
                    (p.x >= 20 && p.x < 60) || (p.x >= 80 && p.x <= 100))
            << p.x;
}

// Labels a line with "12" in template 7, interrupted every 60 pixels when
// `interrupted`, and checks what the renderer saw.
void labelled(TMapContext* context, MapObject* geometry, bool interrupted) {
    char text[] = "12";
    TLineMarker* t = LineElementTemplates.data();
    TemplateText label(t[7], text);
    TemplateFlags flags(t[7], interrupted ? kMarkerInterrupted : t[7].flags);
    t[7].colour = 14;
    t[0].count = 60;
    t[0].colour = 6;
    TStyledLine s{0, 1, {&t[7]}, &t[0]};
    prComplexLine(context, &s, geometry);
}
void labelledLine(TMapContext* c, GdbObject*, MapObject* g) {
    labelled(c, g, false);
}
void interruptedLine(TMapContext* c, GdbObject*, MapObject* g) {
    labelled(c, g, true);
}
// Uses template 7 without giving it a text.
void textless(TMapContext* context, GdbObject*, MapObject* geometry) {
    TStyledLine s{0, 1, {&LineElementTemplates[7]}, nullptr};
    prComplexLine(context, &s, geometry);
}

TEST_F(Templates, TextTemplatesDrawOnlyWhileTheirUserRuns) {
    kit::FakeObject line(120);
    std::vector<Point> points;
    for (int x = -120; x <= 120; x += 10)
        points.push_back({x, 0});
    line.setGeometry(kit::line(points));

    EXPECT_TRUE(kit::run(textless, line).of("Text").empty()) << "before any user";
    const kit::Drawing d = kit::run(labelledLine, line);
    EXPECT_FALSE(d.texts(-1).empty()) << d.log();
    EXPECT_EQ(LineElementTemplates[7].text, nullptr);
    EXPECT_EQ(LineElementTemplates[7].character, 0);
    EXPECT_TRUE(kit::run(textless, line).of("Text").empty()) << "after the user returned";

    // A labelled line: its flags hold while it draws and are back afterwards.
    kit::Trace trace;
    const kit::Drawing i = kit::run(interruptedLine, line);
    ASSERT_EQ(trace.calls().size(), 1u);
    EXPECT_EQ(trace.calls()[0].elements.at(0).flags, kMarkerInterrupted);
    EXPECT_EQ(trace.calls()[0].elements.at(0).text, "12");
    EXPECT_GE(i.texts(-1).size(), 3u) << "labels every 60 pixels: " << i.log();
    EXPECT_FALSE(i.solidLines(6).empty());
    EXPECT_EQ(LineElementTemplates[7].flags, 6);
    EXPECT_EQ(LineElementTemplates[7].text, nullptr);
    EXPECT_EQ(LineElementTemplates[0].count, 60) << "counts stay as written";
}

} // namespace
