#include "gdi/RecordingDc.h"

#include <gtest/gtest.h>

namespace gdi {
namespace {

TEST(RecordingDc, LogsEachDrawingCallWithItsToolsAndMappedPoints) {
    RecordingDc dc(200, 100);
    dc.setMapping(Mapping::yUp(100, 50));
    dc.setPen(Pen{PenStyle::Solid, 3, paletteIndex(14)});
    dc.moveTo(0, 0);
    dc.lineTo(10, 20);
    const XY tri[] = {{0, 0}, {10, 0}, {5, 8}};
    dc.setPen(Pen::null());
    dc.setBrush(Brush::patterned({0x88, 0, 0x22, 0, 0x88, 0, 0x22, 0}));
    dc.setTextColour(kWhite);
    dc.setBkColour(kBlack);
    dc.setRop2(Rop2::Mask);
    dc.setPolyFillMode(FillMode::Winding);
    dc.polygon(tri);
    dc.setRop2(Rop2::Copy);
    dc.setPen(Pen{PenStyle::Dot, 1, rgb(1, 2, 3)});
    dc.setBrush(Brush::null());
    dc.ellipse(-5, 5, 5, -5);
    dc.setBrush(Brush::hatched(Hatch::Cross, paletteIndex(2)));
    dc.setBkMode(BkMode::Transparent);
    dc.pie(-10, 10, 10, -10, {10, 0}, {0, 10});
    dc.fillRect(0, 0, 4, 4, Brush::solid(paletteIndex(9)));
    EXPECT_EQ(dc.log(),
              "Polyline pen=solid/3/p14 rop=copy (100,50) (110,30)\n"
              "Polygon pen=null brush=pattern/8800220088002200 text=#ffffff bk=#000000 rop=mask "
              "fill=winding (100,50) (110,50) (105,42)\n"
              "Ellipse pen=dot/1/#010203 brush=null rop=copy bk=#000000 [95,45,105,55]\n"
              "Pie pen=dot/1/#010203 brush=hatch4/p2 rop=copy [90,40,110,60] (110,50) (100,40)\n"
              "FillRect brush=solid/p9 [100,46,104,50]\n");
    dc.clearLog();
    EXPECT_EQ(dc.log(), "");
}

TEST(RecordingDc, GathersRunsOfPixelsAndLogsTransfers) {
    RecordingDc dc(50, 50);
    dc.setPixel(1, 2, paletteIndex(3));
    dc.setPixel(2, 2, paletteIndex(3));
    dc.setPixel(3, 2, paletteIndex(4));
    RecordingDc glyph(8, 8, true);
    EXPECT_TRUE(dc.blit(5, 6, 8, 8, glyph, 0, 0, BlitOp::And));
    dc.setPixel(9, 9, paletteIndex(4));
    dc.note("Text hello");
    const Region clip = Region::rectangle(0, 0, 10, 10);
    dc.setClipRegion(&clip);
    dc.setPixel(20, 20, paletteIndex(5)); // clipped away
    EXPECT_EQ(dc.getPixel(1, 2), kInvalidColour);
    EXPECT_EQ(dc.log(), "Pixels p3 (1,2) (2,2)\n"
                        "Pixels p4 (3,2)\n"
                        "Blit and [5,6,8,8] from (0,0) mono\n"
                        "Pixels p4 (9,9)\n"
                        "Text hello\n");
    EXPECT_EQ(dc.caps().horzRes, 50);
    EXPECT_EQ(glyph.caps().bitsPerPixel, 1);
}

} // namespace
} // namespace gdi
