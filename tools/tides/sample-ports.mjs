// Builds data/sample/tides/ports.txt, the text form read by tidewrite, from
// the harmonic constants of the public tide database (npm package
// @neaps/tide-database). Run: npm install && node sample-ports.mjs
//
// Heights are centimetres above the station's chart datum, stored in tenths
// (millimetres): each amplitude is metres x 1000, and the constant term Z0 is
// the mean sea level above chart datum. Phases are the database's Greenwich
// phase lags (the predictor evaluates them against UTC), in tenths of a degree.
//
// A database constituent is kept when one row of the tide library's table has
// the same multipliers of tau, s, h, p, N and p1 (its phase lag converted to
// the row's equilibrium argument); the others are listed as left out.
import { stationsById } from "@neaps/tide-database";
import { constituents } from "@neaps/tide-predictor";
import { writeFileSync } from "node:fs";
import { fileURLToPath } from "node:url";

// The library's table: tau, s, h, p, N, p1 and quarter turns, where tau is
// counted from h - s at midnight (the database's tau adds 180 degrees).
const rows = [
  [0, 0, 0, 0, 0, 0, 0], [0, 0, 1, 0, 0, 0, 0], [0, 0, 2, 0, 0, 0, 0], [0, 1, 0, -1, 0, 0, 0],
  [0, 2, -2, 0, 0, 0, 0], [0, 2, 0, 0, 0, 0, 0], [1, -2, 0, 1, 0, 0, -1], [1, -2, 2, -1, 0, 0, -1],
  [1, -1, 0, 0, 0, 0, -1], [1, -1, 2, 0, 0, 0, 1], [1, 0, 0, 0, 0, 0, 1], [1, 0, 2, -1, 0, 0, 1],
  [1, 1, -3, 0, 0, 1, -1], [1, 1, -2, 0, 0, 0, -1], [1, 1, -1, 0, 0, 0, 2], [1, 1, 0, 0, 0, 0, 1],
  [1, 1, 1, 0, 0, -1, 1], [1, 1, 2, 0, 0, 0, 1], [1, 2, -2, 1, 0, 0, 1], [1, 2, 0, -1, 0, 0, 1],
  [2, -2, 0, 0, 0, 0, 0], [2, -2, 0, 2, 0, 0, 0], [2, -2, 2, 0, 0, 0, 0], [2, -1, -2, 1, 0, 0, 0],
  [2, -1, -1, 1, 0, 1, 0], [2, -1, 0, 1, 0, 0, 0], [2, -1, 2, -1, 0, 0, 0], [2, 0, -2, 0, 0, 0, 2],
  [2, 0, -1, 0, 0, 0, 0], [2, 0, 0, 0, 0, 0, 0], [2, 0, 1, 0, 0, 0, 0], [2, 0, 2, 0, 0, 0, 0],
  [2, 1, -2, 1, 0, 0, 2], [2, 1, 0, -1, 0, 0, 2], [2, 2, -4, 0, 0, 0, 0], [2, 2, -3, 0, 0, 1, 0],
  [2, 2, -2, 0, 0, 0, 0], [2, 2, -1, 0, 0, -1, 2], [2, 2, 0, 0, 0, 0, 0], [3, -2, 0, 1, 0, 0, -1],
  [3, -1, 0, 0, 0, 0, -1], [3, -1, 2, 0, 0, 0, 1], [3, 0, 0, 0, 0, 0, 2], [3, 1, -2, 0, 0, 0, -1],
  [3, 1, -2, 0, 0, 0, -1], [3, 1, 0, 0, 0, 0, 1], [3, 2, 0, -1, 0, 0, 1], [4, -2, 0, 0, 0, 0, 0],
  [4, -2, 2, 0, 0, 0, 0], [4, -1, 0, 1, 0, 0, 0], [4, -1, 2, -1, 0, 0, 0], [4, 0, -2, 0, 0, 0, 0],
  [4, 0, 0, 0, 0, 0, 0], [4, 0, 2, 0, 0, 0, 0], [4, 1, -2, 1, 0, 0, 0], [4, 1, 0, -1, 0, 0, 0],
  [4, 2, -2, 0, 0, 0, 0], [4, 2, 0, 0, 0, 0, 0], [6, -2, 0, 0, 0, 0, 0], [6, -2, 2, 0, 0, 0, 0],
  [6, -1, -2, 1, 0, 0, 0], [6, -1, 0, 1, 0, 0, 0], [6, -1, 2, -1, 0, 0, 0], [6, 0, -2, 0, 0, 0, 0],
  [6, 0, 0, 0, 0, 0, 0], [6, 1, -2, 1, 0, 0, 0], [6, 1, 0, -1, 0, 0, 0], [6, 2, -2, 0, 0, 0, 0],
  [6, 2, 0, 0, 0, 0, 0],
];

// The database writes the phase term with the opposite sign, counts tau from
// midnight + 180 degrees and multiplies -N. Row d is the database's
// constituent c when the first six multipliers agree (N negated); the
// equilibrium arguments then differ by a whole number of quarter turns,
// (d7 - 2 d1 - c7) x 90 degrees, which is added to the phase lag.
function rowOf(name) {
  const c = constituents[name.toUpperCase()]?.coefficients;
  if (!c) return null;
  const row = rows.findIndex(
    (d) =>
      d[0] === c[0] && d[1] === c[1] && d[2] === c[2] && d[3] === c[3] && d[4] === -c[4] &&
      d[5] === c[5],
  );
  if (row < 0) return null;
  const d = rows[row];
  return { row, shift: ((((d[6] - 2 * d[0] - c[6]) * 90) % 360) + 360) % 360 };
}

// Ports of the sample chart's coast and a few of other regimes. zone: hours
// to subtract from UTC for the port's standard time.
const ports = [
  { number: 1, id: "kartverket/BGO", name: "Bergen", zone: -1 },
  { number: 2, id: "kartverket/SVG", name: "Stavanger", zone: -1 },
  { number: 3, id: "kartverket/MAY", name: "Måløy", zone: -1 },
  { number: 4, id: "kartverket/AES", name: "Ålesund", zone: -1 },
  { number: 5, id: "kartverket/TRD", name: "Trondheim", zone: -1 },
  { number: 6, id: "kartverket/TOS", name: "Tromsø", zone: -1 },
  { number: 7, id: "ticon/liverpool_gladstone_dock-liv-gbr-bodc", name: "Liverpool", zone: 0 },
  { number: 8, id: "noaa/1612340", name: "Honolulu", zone: 10 },
  { number: 9, id: "noaa/8729840", name: "Pensacola", zone: 6 },
];

const lines = [
  "# Sample tide ports, built by tools/tides/sample-ports.mjs from the public tide",
  "# database (npm @neaps/tide-database 0.10.20260924); see data/README.md.",
  "# port <number> <lat min> <lon min> <zone h> <name>; <row> <phase 0.1 deg> <amplitude mm>",
];
for (const p of ports) {
  const s = stationsById.get(p.id);
  if (!s) throw new Error(`station ${p.id} missing`);
  const lat = Math.round(s.latitude * 60);
  const lon = Math.round(s.longitude * 60);
  lines.push("");
  lines.push(`# ${p.id}: ${s.source?.name}, licence ${s.license?.type}`);
  lines.push(`port ${p.number} ${lat} ${lon} ${p.zone} ${p.name}`);
  const z0 = s.datums.MSL - (s.datums[s.chart_datum] ?? 0);
  lines.push(`0 0 ${Math.round(z0 * 1000)} # Z0 (mean sea level above ${s.chart_datum})`);
  const used = new Set([0]);
  const left = [];
  for (const c of s.harmonic_constituents) {
    const match = rowOf(c.name);
    if (!match || used.has(match.row)) {
      left.push(c.name);
      continue;
    }
    const row = match.row;
    used.add(row);
    const phase = Math.round(((((c.phase + match.shift) % 360) + 360) % 360) * 10) % 3600;
    const amplitude = Math.round(c.amplitude * 1000);
    if (amplitude > 65535) throw new Error(`${p.name} ${c.name}: amplitude too large`);
    // The comment names the constituent and any quarter turns added.
    const note = match.shift ? ` +${match.shift}` : "";
    if (amplitude > 0) lines.push(`${row} ${phase} ${amplitude} # ${c.name.toUpperCase()}${note}`);
  }
  lines.push(`# left out: ${left.join(" ")}`);
}
const out = fileURLToPath(new URL("../../data/sample/tides/ports.txt", import.meta.url));
// Names are stored as Windows-1252 bytes, like every text of the data files.
writeFileSync(out, Buffer.from(lines.join("\n") + "\n", "latin1"));
console.log(`wrote ${out}`);
