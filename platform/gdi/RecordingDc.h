// The recording backend: a device context that draws nothing and writes one log
// line per drawing call, so that tests of drawing procedures can compare what was
// drawn without pixels.
//
// Line forms (points in device pixels after mapping; colours as drawn, before
// palette resolution: "p<n>" for palette index n, "#rrggbb" otherwise):
//   Polyline pen=<pen> rop=<rop> (x,y) (x,y) ...
//   Polygon  pen=<pen> brush=<brush> rop=<rop> fill=alt|winding (x,y) ...
//   Rectangle|RoundRect|Ellipse pen=<pen> brush=<brush> rop=<rop> [l,t,r,b] [corner=w,h]
//   Arc pen=<pen> rop=<rop> [l,t,r,b] (start) (end);  Pie also has brush=<brush>
//   FillRect brush=<brush> [l,t,r,b]
//   Pixels <colour> (x,y) ...          consecutive pixels of one colour share a line
//   Blit <op> [x,y,w,h] from (sx,sy) [mirror-x] [mirror-y] [mono]
//   TextOut font="<face>"/<height>/<weight>[/italic][/underline] <colour> (x,y)
//           align=left|center|right,top|bottom|baseline [bk=<colour>]
//           [opaque=[l,t,r,b]] [clip=[l,t,r,b]] text="<text>"
//                                     one line per text call: the reference point,
//                                     the text colour, the background colour when
//                                     the background mode is opaque, and the
//                                     Windows-1252 text with bytes outside 0x20 to
//                                     0x7E, '"' and '\' written as \xHH
// A pen is "null" or "solid|dot/<width>/<colour>"; a brush is "null",
// "solid/<colour>", "hatch<n>/<colour>" or "pattern/<16 hex digits>", and a
// pattern brush (or a hatch or dot under an opaque background) adds
// " text=<colour> bk=<colour>" after it (a hatch " bk=<colour>"); a dotted pen
// under an opaque background adds " bk=<colour>" before the coordinates. Raster
// operations: copy, mask, merge, xor, not. `note` adds lines of the layer above.
#pragma once

#include "gdi/Dc.h"

#include <string>

namespace gdi {

class RecordingDc : public Dc {
  public:
    // A context for a picture of width x height pixels (its capabilities).
    RecordingDc(int width, int height, bool monochrome = false);

    // Every line so far, each ending in '\n'.
    std::string log() const;
    void clearLog();
    // Adds a line of the caller's own (for operations drawn above this layer).
    void note(const std::string& line);

    DeviceCaps caps() const override { return caps_; }
    XY pictureSize() const override { return {caps_.horzRes, caps_.vertRes}; }
    bool isMonochrome() const override { return mono_; }

    // The text form of a colour as the log writes it.
    static std::string colourText(Colour c);

  protected:
    void render(const Shape& shape) override;
    void renderPixel(int x, int y, Colour c) override;
    Colour readPixel(int x, int y) const override;
    bool renderBlit(const BlitArea& area, const Dc& src, BlitOp op) override;
    void renderText(const TextRun& run) override;

  private:
    void flushPixels() const;
    std::string penText() const;
    std::string brushText(const Brush& b) const;

    DeviceCaps caps_;
    bool mono_;
    mutable std::string log_;
    mutable std::string pixelLine_;
    Colour pixelColour_ = 0;
};

} // namespace gdi
