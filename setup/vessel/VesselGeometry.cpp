#include "vessel/VesselGeometry.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

std::int32_t wrap(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

int held(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

// Round to nearest, ties to even (the default rounding mode).
int nearest(double value) {
    return static_cast<int>(std::nearbyint(value));
}

} // namespace

TVesselFields VesselFieldsFromRecord(const TGenereltRec& g) {
    TVesselFields f;
    f.Length = held(std::int64_t{g.Stem} + g.Stern);
    f.Width = held(std::int64_t{g.Port} + g.Starboard);
    f.EchoY = g.Sounder;
    f.X = g.Starboard;
    f.Y = g.Stem;
    return f;
}

void VesselRecordFromFields(const TVesselFields& f, const TVesselEdits& edits, TGenereltRec& g) {
    if (edits.Y) g.Stem = f.Y;
    if (edits.Length || edits.Y) g.Stern = wrap(std::int64_t{f.Length} - f.Y);
    if (edits.X) g.Starboard = f.X;
    if (edits.Width || edits.X) g.Port = wrap(std::int64_t{f.Width} - f.X);
    if (edits.EchoY) g.Sounder = f.EchoY;
}

std::int32_t VesselFileSounder(std::int32_t stem, std::int32_t sounder) {
    return wrap(std::int64_t{stem} - sounder);
}

TVesselFields VesselFieldChanged(TVesselFields f, TVesselField changed, bool focused) {
    switch (changed) {
    case TVesselField::X:
        if (focused && f.X != 0 && f.Width < f.X) f.Width = f.X;
        break;
    case TVesselField::Y:
        if (focused && f.Y != 0 && f.Length < f.Y) f.Length = f.Y;
        break;
    case TVesselField::EchoY:
        if (focused && f.EchoY != 0 && f.Length < f.EchoY) f.Length = f.EchoY;
        break;
    case TVesselField::Length:
        if (f.Length == 0)
            f.Y = 0;
        else if (f.Length < f.Y)
            f.Y = f.Length;
        break;
    case TVesselField::Width:
        if (f.Width == 0)
            f.X = 0;
        else if (f.Width < f.X)
            f.X = f.Width;
        break;
    }
    return f;
}

std::optional<int> CrossCentreX(const TVesselFields& f, int w) {
    if (f.Width == 0) return std::nullopt;
    return std::clamp(nearest(w - double(f.X) * w / f.Width), 0, w);
}

std::optional<int> CrossCentreY(const TVesselFields& f, int h) {
    if (f.Length == 0) return std::nullopt;
    return std::clamp(nearest(double(f.Y) * h / f.Length), 0, h);
}

std::optional<int> SounderCentreY(const TVesselFields& f, int h) {
    if (f.Length == 0) return std::nullopt;
    return std::clamp(nearest(double(f.EchoY) * h / f.Length), 0, h);
}

int SounderCentreX(int w) {
    return nearest(w * 0.5);
}

std::optional<TVesselPick> PickAntenna(const TVesselFields& f, int px, int py, int w, int h) {
    if (px < 1 || px >= w || py < 1 || py >= h) return std::nullopt;
    return TVesselPick{nearest(double(f.Width) / w * (w - px)), nearest(double(f.Length) / h * py)};
}

std::optional<int> PickSounder(const TVesselFields& f, int py, int w, int h) {
    const int px = SounderCentreX(w);
    if (px < 1 || px >= w || py < 1 || py >= h) return std::nullopt;
    return nearest(double(f.Length) / h * py);
}
