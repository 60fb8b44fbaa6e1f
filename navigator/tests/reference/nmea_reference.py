#!/usr/bin/python3
"""Writes nmea_reference.tsv: test sentences with the values the navigation
state must hold after each, as read by an independent NMEA library (Debian's
python3-nmea2).

One line per sentence: the sentence (with its checksum), a tab, then
key=value pairs separated by blanks. Keys:
  lat, lon        committed position, signed degrees (sentence fed twice)
  hour, minute, second, day, month, year   parsed time and date fields
  fix_valid, sats fix validity and satellite count
  sog, cog        speed over ground (knots), course over ground (degrees true)
  depth           metres
  wind_dir, wind_speed   degrees and metres per second, for a vessel at rest
                         heading north
Run from anywhere: navigator/tests/reference/nmea_reference.py
"""
import math
import os
import pynmea2

MAGNETIC_VARIATION = 1  # whole degrees east, the navigation program's default
KNOTS_TO_MS = 0.5144
KMH_TO_MS = 0.2778

BODIES = [
    "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
    "GNGGA,101530.00,6023.8520,N,00519.2310,E,2,12,0.7,12.3,M,41.2,M,1.0,0000",
    "GPGGA,235959.50,3351.1234,S,15112.5678,E,1,05,1.5,30.0,M,20.0,M,,",
    "GPGGA,000001,4043.6020,N,07400.1230,W,1,10,0.8,10.0,M,-34.0,M,,",
    "GPGGA,120000,0030.0000,S,17959.9990,W,1,04,2.0,0,M,0,M,,",
    "GPGLL,4916.45,N,12311.12,W,225444,A",
    "GPGLL,6024.1000,N,00517.9000,E,101531.00,A,A",
    "GPGLL,3751.65,S,14507.36,E,093000,V",
    "GPVTG,054.7,T,034.4,M,005.5,N,010.2,K",
    "GPVTG,359.9,T,358.9,M,12.25,N,22.69,K,A",
    "IIVTG,,T,010.0,M,3.0,N,5.6,K",
    "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W",
    "GNRMC,101532.00,A,6024.1200,N,00517.8800,E,11.8,315.2,101226,1.0,E,A",
    "GPRMC,225446,A,4916.45,N,12311.12,W,000.5,054.7,191194,020.3,E",
    "GPRMC,081836,V,3751.65,S,14507.36,E,000.0,360.0,130998,011.3,E",
    "SDDPT,12.6,0.5",
    "SDDPT,3.2,-0.4",
    "IIDPT,0.2,-0.5",
    "IIDBT,0036.41,f,0011.10,M,0006.07,F",
    "SDDBT,,f,,M,0010.0,F",
    "IIDBS,0042.0,f,0012.80,M,0007.00,F",
    "GPZDA,201530.00,04,07,2002,00,00",
    "GPZDA,000000,31,12,1999,,",
    "WIMWV,214.8,R,0.1,K,A",
    "IIMWV,045.0,T,10.5,N,A",
    "WIMWV,320.0,R,7.5,M,A",
    "IIVWR,045.0,L,12.6,N,6.5,M,23.3,K",
    "IIVWR,120.0,R,5.0,N,2.6,M,9.3,K",
]


def with_checksum(body):
    x = 0
    for ch in body:
        x ^= ord(ch)
    return "$%s*%02X" % (body, x)


def num(v):
    return float(v) if v not in (None, "") else 0.0


def time_keys(ts):
    return {"hour": ts.hour, "minute": ts.minute,
            "second": ts.second + ts.microsecond / 1e6}


def wind_at_rest(angle, relative, speed):
    """Direction and speed of the wind for a vessel at rest heading north."""
    if not relative:
        d = angle - 180
    else:
        x, y = speed * math.cos(math.radians(angle)), speed * math.sin(math.radians(angle))
        d = math.degrees(math.atan2(y, x))
    if d < 0:
        d += 360
    return {"wind_dir": d, "wind_speed": speed}


def expected(msg):
    t = msg.sentence_type
    e = {}
    if t in ("GGA", "GLL", "RMC"):
        e["lat"] = msg.latitude
        e["lon"] = msg.longitude
        e.update(time_keys(msg.timestamp))
    if t == "GGA":
        e["fix_valid"] = int(msg.gps_qual)
        e["sats"] = int(msg.num_sats)
    elif t == "GLL":
        e["fix_valid"] = 1 if msg.status == "A" else 0
        e["sats"] = 0
    elif t == "RMC":
        e["fix_valid"] = 1 if msg.status == "A" else 0
        e["sats"] = 0
        e["sog"] = num(msg.spd_over_grnd)
        e["cog"] = num(msg.true_course)
        d = msg.datestamp
        e.update({"day": d.day, "month": d.month, "year": d.year % 100})
    elif t == "VTG":
        true_track, mag_track = num(msg.true_track), num(msg.mag_track)
        if true_track > 0:
            cog = true_track
        elif mag_track > 0:
            cog = (mag_track + MAGNETIC_VARIATION) % 360
        else:
            cog = 0
        e["cog"] = cog
        e["sog"] = num(msg.spd_over_grnd_kts)
    elif t == "DPT":
        e["depth"] = max(0.0, num(msg.depth) + num(msg.offset))
    elif t in ("DBT", "DBS"):
        feet = num(msg.depth_feet)
        metres = num(msg.depth_meters if t == "DBT" else msg.depth_meter)
        fathoms = num(msg.depth_fathoms if t == "DBT" else getattr(msg, "depth_ fathoms"))
        e["depth"] = metres if metres else feet * 0.3048 if feet else fathoms * 1.8288
    elif t == "ZDA":
        e.update(time_keys(msg.timestamp))
        e.update({"day": int(msg.day), "month": int(msg.month), "year": int(msg.year)})
    elif t == "MWV":
        factor = {"M": 1.0, "N": KNOTS_TO_MS, "K": KMH_TO_MS}.get(msg.wind_speed_units, 1.0)
        e.update(wind_at_rest(num(msg.wind_angle), msg.reference == "R",
                              num(msg.wind_speed) * factor))
    elif t == "VWR":
        angle = num(msg.deg_r)
        if msg.l_r != "R":
            angle = 360 - angle
        e.update(wind_at_rest(angle, True, num(msg.wind_speed_ms)))
    return e


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "nmea_reference.tsv")
    lines = ["# sentence\texpected values (written by nmea_reference.py with pynmea2 %s)"
             % pynmea2.version]
    for body in BODIES:
        s = with_checksum(body)
        msg = pynmea2.parse(s, check=True)
        pairs = " ".join("%s=%.9g" % (k, v) for k, v in expected(msg).items())
        lines.append("%s\t%s" % (s, pairs))
    tmp = out + ".tmp"
    with open(tmp, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    os.replace(tmp, out)


if __name__ == "__main__":
    main()
