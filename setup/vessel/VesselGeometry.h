// The vessel on the General tab: five whole-metre fields, the distances from
// the GPS antenna that the configuration files keep, and where the antenna
// cross and the sounder mark stand on the plan picture of the boat.
//
// Fields: Length (0..1000), Width (0..500), X (antenna from the starboard
// side, 0..500), Y (antenna from the bow, 0..1000), EchoY (sounder from the
// bow, 0..1000). Record (TGenereltRec): Stem = Y, Stern = Length - Y,
// Starboard = X, Port = Width - X, Sounder = EchoY; the file's Sounder is
// Stem - Sounder, the distance from the antenna forward to the sounder.
//
// The picture is W x H pixels, bow up, starboard on the right. A pixel
// (px, py) of it lies X = Width / W x (W - px) metres from starboard and
// Y = Length / H x py metres from the bow; a mark is centred on the pixel of
// its metres, so a pick and the mark it moves agree. Rounding is to nearest,
// ties to even. Nothing here divides by a zero length or width: a mark whose
// divisor is 0 has no position and stays where it is.
//
// Example:
//   TVesselFields f = VesselFieldsFromRecord(g);              // 20, 6, 2, 8, 5
//   f.Y = 25;
//   f = VesselFieldChanged(f, TVesselField::Y, true);         // Length 25
//   std::optional<TVesselPick> p = PickAntenna(f, 29, 71, 58, 142);
#pragma once

#include "config/SetupData.h"

#include <cstdint>
#include <optional>

struct TVesselFields {
    int Length = 0;
    int Width = 0;
    int X = 0;
    int Y = 0;
    int EchoY = 0;
    bool operator==(const TVesselFields&) const = default;
};

enum class TVesselField { Length, Width, X, Y, EchoY };

// Which fields the user changed since the form showed them.
struct TVesselEdits {
    bool Length = false, Width = false, X = false, Y = false, EchoY = false;
};

// Record to fields: Length = Stem + Stern, Width = Port + Starboard, EchoY =
// Sounder, X = Starboard, Y = Stem (the form sets its fields in that order).
// Sums beyond the int range are held at its ends.
TVesselFields VesselFieldsFromRecord(const TGenereltRec& g);

// Fields to record, writing only what the edited fields decide: Stem (Y),
// Stern (Length or Y), Starboard (X), Port (Width or X), Sounder (EchoY).
// Distances are computed in 32 bits with wrap-around, as the files hold them.
void VesselRecordFromFields(const TVesselFields& f, const TVesselEdits& edits, TGenereltRec& g);

// The file's Sounder of a record: Stem - Sounder in 32 bits (a sounder behind
// the antenna gives a negative value).
std::int32_t VesselFileSounder(std::int32_t stem, std::int32_t sounder);

// The fields after `changed` took its new value. `focused`: the user types in
// that field (a value set by a pick on the picture never pushes another).
// - X, Y, EchoY: when focused and above the width (X) or length (Y, EchoY),
//   the width or length is raised to it.
// - Length: 0 sets Y to 0; otherwise Y above it is lowered to it.
// - Width: 0 sets X to 0; otherwise X above it is lowered to it.
TVesselFields VesselFieldChanged(TVesselFields f, TVesselField changed, bool focused);

// A pixel of the picture (W x H).
struct TPicturePoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TPicturePoint&) const = default;
};

// The centre of the antenna cross: x = round(W - X x W / Width), y =
// round(Y x H / Length), each held inside the picture; either is absent while
// its divisor is 0.
std::optional<int> CrossCentreX(const TVesselFields& f, int w);
std::optional<int> CrossCentreY(const TVesselFields& f, int h);
// The centre of the sounder mark on the centre line: y = round(EchoY x H /
// Length), held inside the picture; absent while the length is 0. Its x is
// round(W x 0.5).
std::optional<int> SounderCentreY(const TVesselFields& f, int h);
int SounderCentreX(int w);

// What a press or drag at picture pixel (px, py) sets: only a pixel with
// 1 <= px < W and 1 <= py < H is on the boat.
struct TVesselPick {
    int X = 0;
    int Y = 0;
    bool operator==(const TVesselPick&) const = default;
};
// The antenna: X = round(Width / W x (W - px)), Y = round(Length / H x py).
std::optional<TVesselPick> PickAntenna(const TVesselFields& f, int px, int py, int w, int h);
// The sounder (its x is fixed on the centre line): EchoY = round(Length / H x py).
std::optional<int> PickSounder(const TVesselFields& f, int py, int w, int h);
