#!/usr/bin/python3
"""Checks the RMC sentences that the navigation program sent back to the replay.

    check_nmea_out.py --run DIR --term EPOCH LOG

DIR holds nmea-out.log and replay.json as tools/nmea/replay_pty.py leaves
them; EPOCH is the time (seconds since 1970) at which the program was sent
SIGTERM; LOG is the log that was replayed. Passes (status 0) when:
  - every RMC line of nmea-out.log is accepted by pynmea2, checksum included;
  - from the program's first possible fix (the log's second fix group, the
    first one only primes) to SIGTERM, no 2 s pass without an RMC;
  - every RMC with a position gives the log's position at the same UTC time
    within 0.001 minutes of arc.
Prints what it found; each failure on a line of its own.
"""
import argparse
import json
import os
import sys

import pynmea2

TOLERANCE_MINUTES = 0.001
MAX_GAP = 2.0


def minutes(value, hemisphere, negative):
    """'6023.8498', 'N' -> signed minutes of arc (60 * 60 + 23.8498)."""
    degrees_width = 2 if hemisphere in "NS" else 3
    m = int(value[:degrees_width]) * 60 + float(value[degrees_width:])
    return -m if hemisphere == negative else m


def log_positions(path):
    """UTC time (hhmmss) -> (latitude, longitude) in minutes, from the log's
    accepted GGA and RMC sentences with a position."""
    positions = {}
    with open(path, "rb") as f:
        for raw in f.read().splitlines():
            text = raw.decode("latin-1").strip()
            try:
                m = pynmea2.parse(text, check=True)
            except (pynmea2.ParseError, ValueError, AttributeError, TypeError):
                continue
            if m.sentence_type not in ("GGA", "RMC") or not m.lat or not m.lon:
                continue
            key = text.split(",")[1][:6]
            positions[key] = (minutes(m.lat, m.lat_dir, "S"), minutes(m.lon, m.lon_dir, "W"))
    return positions


def group_offsets(path):
    """The log's seconds, in order of the groups that carry a position."""
    seconds = []
    for key in sorted(log_positions(path)):
        seconds.append(int(key[:2]) * 3600 + int(key[2:4]) * 60 + int(key[4:6]))
    return seconds


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--run", required=True)
    parser.add_argument("--term", type=float, required=True)
    parser.add_argument("log")
    args = parser.parse_args()
    with open(os.path.join(args.run, "replay.json")) as f:
        replay = json.load(f)
    if replay.get("started_epoch") is None:
        print("the program never opened the port")
        return 1
    speed = float(replay["speed"])
    positions = log_positions(args.log)
    seconds = group_offsets(args.log)
    first_fix = (seconds[1] - seconds[0]) / speed if len(seconds) > 1 else 0.0
    end = args.term - replay["started_epoch"]

    failures = []
    times = []
    checked = 0
    for at, text in replay["received"]:
        if not text.startswith("$") or text[3:6] != "RMC":
            continue
        try:
            m = pynmea2.parse(text, check=True)
        except (pynmea2.ParseError, ValueError, AttributeError, TypeError) as e:
            failures.append("refused by pynmea2: %r (%s)" % (text, e))
            continue
        times.append(at)
        if not m.lat or not m.lon:
            continue
        key = text.split(",")[1][:6]
        if key not in positions:
            failures.append("no position in the log at %s: %r" % (key, text))
            continue
        lat = minutes(m.lat, m.lat_dir, "S")
        lon = minutes(m.lon, m.lon_dir, "W")
        want_lat, want_lon = positions[key]
        if abs(lat - want_lat) > TOLERANCE_MINUTES or abs(lon - want_lon) > TOLERANCE_MINUTES:
            failures.append("position off by %.4f' %.4f' at %s: %r"
                            % (lat - want_lat, lon - want_lon, key, text))
        checked += 1

    marks = [first_fix] + [t for t in times if t > first_fix] + [end]
    gaps = [(b - a, a) for a, b in zip(marks, marks[1:])]
    worst = max(gaps) if gaps else (0.0, 0.0)
    if worst[0] > MAX_GAP:
        failures.append("%.1f s without an RMC from %.1f s after the port opened" % worst)
    print("RMC: %d received, %d positions compared, longest gap %.1f s (%.1f s to %.1f s)"
          % (len(times), checked, worst[0], first_fix, end))
    for f in failures[:20]:
        print(f)
    if len(failures) > 20:
        print("... and %d more" % (len(failures) - 20))
    return 1 if failures or not times else 0


if __name__ == "__main__":
    sys.exit(main())
