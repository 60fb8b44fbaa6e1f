#include "gdi/RecordingDc.h"

#include <cstdio>

namespace gdi {
namespace {

const char* ropText(Rop2 r) {
    switch (r) {
    case Rop2::Copy:
        return "copy";
    case Rop2::Mask:
        return "mask";
    case Rop2::Merge:
        return "merge";
    case Rop2::Xor:
        return "xor";
    case Rop2::Not:
        return "not";
    }
    return "?";
}

const char* blitText(BlitOp op) {
    switch (op) {
    case BlitOp::Copy:
        return "copy";
    case BlitOp::And:
        return "and";
    case BlitOp::Paint:
        return "paint";
    case BlitOp::SrcInvert:
        return "srcinvert";
    case BlitOp::DstInvert:
        return "dstinvert";
    }
    return "?";
}

// " (x,y)"
std::string pointText(XY p) {
    char buf[32];
    std::snprintf(buf, sizeof buf, " (%d,%d)", int(p.x), int(p.y));
    return buf;
}

// " [a,b,c,d]"
std::string boxText(int a, int b, int c, int d) {
    char buf[64];
    std::snprintf(buf, sizeof buf, " [%d,%d,%d,%d]", a, b, c, d);
    return buf;
}

} // namespace

RecordingDc::RecordingDc(int width, int height, bool monochrome)
    : caps_(DeviceCaps::forScreen(width, height)), mono_(monochrome) {
    if (mono_) caps_.bitsPerPixel = 1;
}

std::string RecordingDc::colourText(Colour c) {
    char buf[16];
    if (isPaletteIndex(c))
        std::snprintf(buf, sizeof buf, "p%u", unsigned(c & 0xFFFFu));
    else
        std::snprintf(buf, sizeof buf, "#%02x%02x%02x", redOf(c), greenOf(c), blueOf(c));
    return buf;
}

std::string RecordingDc::log() const {
    flushPixels();
    return log_;
}

void RecordingDc::clearLog() {
    log_.clear();
    pixelLine_.clear();
}

void RecordingDc::note(const std::string& line) {
    flushPixels();
    log_ += line;
    log_ += '\n';
}

void RecordingDc::flushPixels() const {
    if (pixelLine_.empty()) return;
    log_ += pixelLine_;
    log_ += '\n';
    pixelLine_.clear();
}

std::string RecordingDc::penText() const {
    const Pen& p = pen();
    if (p.style == PenStyle::Null) return "null";
    std::string s = p.style == PenStyle::Dot && p.width <= 1 ? "dot/" : "solid/";
    s += std::to_string(p.width) + "/" + colourText(p.colour);
    return s;
}

std::string RecordingDc::brushText(const Brush& b) const {
    const std::string colours =
        " text=" + colourText(textColour()) + " bk=" + colourText(bkColour());
    switch (b.style) {
    case BrushStyle::Null:
        return "null";
    case BrushStyle::Solid:
        return "solid/" + colourText(b.colour);
    case BrushStyle::Hatched: {
        std::string s = "hatch" + std::to_string(int(b.hatch)) + "/" + colourText(b.colour);
        if (bkMode() == BkMode::Opaque) s += " bk=" + colourText(bkColour());
        return s;
    }
    case BrushStyle::Pattern: {
        char hex[17];
        for (int i = 0; i < 8; ++i)
            std::snprintf(hex + 2 * i, 3, "%02x", b.pattern[i]);
        return std::string("pattern/") + hex + colours;
    }
    }
    return "?";
}

void RecordingDc::render(const Shape& s) {
    flushPixels();
    std::string line;
    const std::string penWord = "pen=" + penText();
    const std::string rop = " rop=" + std::string(ropText(rop2()));
    switch (s.kind) {
    case Shape::Polyline:
        line = "Polyline " + penWord + rop;
        break;
    case Shape::Polygon:
        line = "Polygon " + penWord + " brush=" + brushText(brush()) + rop +
               " fill=" + (polyFillMode() == FillMode::Winding ? "winding" : "alt");
        break;
    case Shape::Rectangle:
        line = "Rectangle " + penWord + " brush=" + brushText(brush()) + rop;
        break;
    case Shape::RoundRect:
        line = "RoundRect " + penWord + " brush=" + brushText(brush()) + rop;
        break;
    case Shape::Ellipse:
        line = "Ellipse " + penWord + " brush=" + brushText(brush()) + rop;
        break;
    case Shape::Arc:
        line = "Arc " + penWord + rop;
        break;
    case Shape::Pie:
        line = "Pie " + penWord + " brush=" + brushText(brush()) + rop;
        break;
    case Shape::FillRect:
        line = "FillRect brush=" + brushText(s.fill);
        break;
    }
    if (s.kind != Shape::FillRect && pen().style == PenStyle::Dot && pen().width <= 1 &&
        bkMode() == BkMode::Opaque)
        line += " bk=" + colourText(bkColour());
    if (s.kind == Shape::Polyline || s.kind == Shape::Polygon) {
        for (const XY& p : s.points)
            line += pointText(p);
    } else {
        line += boxText(s.left, s.top, s.right, s.bottom);
        if (s.kind == Shape::RoundRect) {
            char buf[40];
            std::snprintf(buf, sizeof buf, " corner=%d,%d", s.cornerWidth, s.cornerHeight);
            line += buf;
        }
        if (s.kind == Shape::Arc || s.kind == Shape::Pie) {
            line += pointText(s.start);
            line += pointText(s.end);
        }
    }
    log_ += line;
    log_ += '\n';
}

void RecordingDc::renderPixel(int x, int y, Colour c) {
    if (!pixelLine_.empty() && c != pixelColour_) flushPixels();
    if (pixelLine_.empty()) {
        pixelLine_ = "Pixels " + colourText(c);
        pixelColour_ = c;
    }
    pixelLine_ += pointText({x, y});
}

Colour RecordingDc::readPixel(int, int) const {
    return kInvalidColour;
}

bool RecordingDc::renderBlit(const BlitArea& a, const Dc& src, BlitOp op) {
    flushPixels();
    log_ += "Blit ";
    log_ += blitText(op);
    log_ += boxText(a.x, a.y, a.width, a.height);
    log_ += " from";
    log_ += pointText({a.srcX, a.srcY});
    if (a.mirrorX) log_ += " mirror-x";
    if (a.mirrorY) log_ += " mirror-y";
    log_ += src.isMonochrome() ? " mono\n" : "\n";
    return true;
}

void RecordingDc::renderText(const TextRun& run) {
    flushPixels();
    const LogFont& lf = run.font->logFont();
    char head[96];
    std::snprintf(head, sizeof head, "/%d/%d", lf.height, lf.weight);
    std::string line = "TextOut font=\"" + lf.face + "\"" + head;
    if (lf.italic) line += "/italic";
    if (lf.underline) line += "/underline";
    line += " " + colourText(textColour());
    line += pointText(run.reference);
    const unsigned a = run.align;
    line += (a & TA_CENTER) == TA_CENTER ? " align=center"
            : (a & TA_RIGHT)             ? " align=right"
                                         : " align=left";
    line += (a & TA_BASELINE) == TA_BASELINE ? ",baseline" : (a & TA_BOTTOM) ? ",bottom" : ",top";
    if (bkMode() == BkMode::Opaque) line += " bk=" + colourText(bkColour());
    if (run.opaque)
        line += " opaque=" +
                boxText(run.opaque->left, run.opaque->top, run.opaque->right, run.opaque->bottom)
                    .substr(1);
    if (run.clip)
        line += " clip=" +
                boxText(run.clip->left, run.clip->top, run.clip->right, run.clip->bottom).substr(1);
    line += " text=\"";
    for (const char ch : run.text) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x20 || b > 0x7E || b == '"' || b == '\\') {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            line += hex;
        } else {
            line += ch;
        }
    }
    line += "\"\n";
    log_ += line;
}

} // namespace gdi
