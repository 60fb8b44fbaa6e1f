#!/usr/bin/python3
"""Checks the navigation program's NMEA output with an independent parser
(Debian's python3-nmea2).

Usage: nmea_output_check.py SENTENCES [RECEIVED]

SENTENCES: lines "name<TAB>sentence<TAB>key=value key=value ...", written by
the route tests; every sentence must parse with its checksum checked and give
the listed values. Keys:
  RMC: time (HHMMSS) status lat lon (signed degrees) speed course date (DDMMYY)
       var vardir
  RMB: status xte steer origin dest dlat dlon (signed degrees) range bearing
       speed arrival
  APB: status xte steer arrival perp legbearing legtype dest bearing type
RECEIVED: raw bytes a serial line received; every line must be a whole
sentence that parses with its checksum checked.
Exit status 0 when everything agrees, 1 otherwise (each disagreement printed).
"""
import sys

import pynmea2

NUMERIC = {"lat", "lon", "speed", "course", "var", "xte", "dlat", "dlon", "range", "bearing",
           "legbearing"}


def degrees(value, hemisphere, width):
    """ddmm.mmm (width digits of degrees) and its letter as signed degrees."""
    d = int(value[:width]) + float(value[width:]) / 60.0
    return -d if hemisphere in ("S", "W") else d


def fields(msg):
    kind = msg.sentence_type
    if kind == "RMC":
        return {
            "time": msg.timestamp.strftime("%H%M%S"),
            "status": msg.status,
            "lat": msg.latitude,
            "lon": msg.longitude,
            "speed": msg.spd_over_grnd,
            "course": msg.true_course,
            "date": msg.datestamp.strftime("%d%m%y"),
            "var": float(msg.mag_variation),
            "vardir": msg.mag_var_dir,
        }
    if kind == "RMB":
        return {
            "status": msg.status,
            "xte": float(msg.cross_track_error),
            "steer": msg.cte_correction_dir,
            "origin": msg.origin_waypoint_id,
            "dest": msg.dest_waypoint_id,
            "dlat": degrees(msg.dest_lat, msg.dest_lat_dir, 2),
            "dlon": degrees(msg.dest_lon, msg.dest_lon_dir, 3),
            "range": float(msg.dest_range),
            "bearing": float(msg.dest_true_bearing),
            "speed": float(msg.dest_velocity),
            "arrival": msg.arrival_alarm,
        }
    if kind == "APB":
        return {
            "status": msg.status_gen,
            "xte": float(msg.cross_track_err_mag),
            "steer": msg.dir_steer,
            "arrival": msg.arr_circle_entered,
            "perp": msg.perp_passed,
            "legbearing": float(msg.bearing_to_dest),
            "legtype": msg.bearing_type,
            "dest": msg.dest_waypoint_id,
            "bearing": float(msg.bearing_pres_dest),
            "type": msg.bearing_pres_dest_type,
        }
    raise ValueError("unexpected sentence " + kind)


def check_table(path):
    failures = 0
    count = 0
    with open(path) as f:
        for line in f:
            line = line.rstrip("\n")
            if not line:
                continue
            name, sentence, expected = line.split("\t")
            count += 1
            try:
                got = fields(pynmea2.parse(sentence, check=True))
            except Exception as e:  # a parse or checksum failure
                print("%s: %s: %s" % (name, sentence, e))
                failures += 1
                continue
            for pair in expected.split():
                key, want = pair.split("=", 1)
                have = got[key]
                if key in NUMERIC:
                    ok = abs(float(have) - float(want)) <= 2e-6 + 1e-9 * abs(float(want))
                else:
                    ok = str(have) == want
                if not ok:
                    print("%s: %s: %s is %r, want %s" % (name, sentence, key, have, want))
                    failures += 1
    if count == 0:
        print("%s: no sentences" % path)
        failures += 1
    return failures


def check_received(path):
    failures = 0
    with open(path, "rb") as f:
        data = f.read()
    if not data.endswith(b"\r\n"):
        print("%s: does not end with a whole sentence" % path)
        failures += 1
    lines = data.split(b"\r\n")[:-1]
    if not lines:
        print("%s: nothing received" % path)
        failures += 1
    for raw in lines:
        text = raw.decode("ascii")
        try:
            fields(pynmea2.parse(text, check=True))
        except Exception as e:
            print("%s: %r: %s" % (path, text, e))
            failures += 1
    return failures


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__)
        return 2
    failures = check_table(sys.argv[1])
    if len(sys.argv) == 3:
        failures += check_received(sys.argv[2])
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
