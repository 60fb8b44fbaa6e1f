#!/usr/bin/python3
"""Writes data/sample/nmea/bergen_departure.nmea: a recorded-style NMEA log of
a vessel leaving Bergen harbour (Vaagen) and running north-west up
Byfjorden, one second per GGA + VTG + RMC group, with an echo sounder's DBT
every other second, a wind instrument's MWV every second, a few corrupted
sentences and a 20-second loss of the GPS signal.

Synthetic, for demonstration and tests; not for navigation. Deterministic:
the same file comes out every run.
"""
import datetime
import math
import os
import random

START = datetime.datetime(2026, 6, 12, 8, 0, 0)
DURATION = 600           # seconds
LOSS = range(300, 320)   # seconds without a GPS fix
# Route: alongside in Vaagen, out past Nordnes, then up Byfjorden.
ROUTE = [(60.3975, 5.3205), (60.4005, 5.3130), (60.4030, 5.3040), (60.4100, 5.2920),
         (60.4250, 5.2720), (60.4450, 5.2500), (60.4650, 5.2350)]
METRES_PER_DEGREE = 111120.0
VARIATION = 1.0          # degrees east

rng = random.Random(1969)


def checksum(body):
    x = 0
    for ch in body:
        x ^= ord(ch)
    return "%02X" % x


def sentence(body):
    return "$%s*%s\r\n" % (body, checksum(body))


def speed_at(t):
    """Knots: alongside, harbour speed, then fjord speed."""
    if t < 15:
        return 0.0
    if t < 75:
        return 6.0 * (t - 15) / 60.0
    if t < 180:
        return 6.0
    if t < 240:
        return 6.0 + 8.0 * (t - 180) / 60.0
    return 14.0


def leg_lengths():
    out = []
    for (a, b), (c, d) in zip(ROUTE, ROUTE[1:]):
        dn = (c - a) * METRES_PER_DEGREE
        de = (d - b) * METRES_PER_DEGREE * math.cos(math.radians(a))
        out.append(math.hypot(dn, de))
    return out


def position_at(distance):
    """Latitude, longitude and course (degrees true) after distance metres."""
    legs = leg_lengths()
    for i, length in enumerate(legs):
        (a, b), (c, d) = ROUTE[i], ROUTE[i + 1]
        if distance <= length or i == len(legs) - 1:
            f = min(distance / length, 1.0)
            dn = (c - a) * METRES_PER_DEGREE
            de = (d - b) * METRES_PER_DEGREE * math.cos(math.radians(a))
            course = math.degrees(math.atan2(de, dn)) % 360
            return a + (c - a) * f, b + (d - b) * f, course
        distance -= length
    raise AssertionError


def ddmm(value, width):
    value = abs(value)
    degrees = int(value)
    minutes = (value - degrees) * 60
    return "%0*d%07.4f" % (width, degrees, minutes)


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    out_dir = os.path.join(root, "data", "sample", "nmea")
    os.makedirs(out_dir, exist_ok=True)
    lines = []
    distance = 0.0
    depth = 12.0
    for t in range(DURATION):
        now = START + datetime.timedelta(seconds=t)
        knots = speed_at(t)
        distance += knots * 1852 / 3600
        lat, lon, course = position_at(distance)
        # A receiver's scatter of about a metre.
        lat += rng.gauss(0, 0.8) / METRES_PER_DEGREE
        lon += rng.gauss(0, 0.8) / (METRES_PER_DEGREE * math.cos(math.radians(lat)))
        cog = (course + rng.gauss(0, 0.8)) % 360 if knots > 0.5 else 0.0
        hms = now.strftime("%H%M%S") + ".00"
        dmy = now.strftime("%d%m%y")
        if t in LOSS:
            lines.append(sentence("GPGGA,%s,,,,,0,00,,,M,,M,," % hms))
            lines.append(sentence("GPVTG,,T,,M,,N,,K,N"))
            lines.append(sentence("GPRMC,%s,V,,,,,,,%s,,,N" % (hms, dmy)))
        else:
            ns = "N" if lat >= 0 else "S"
            ew = "E" if lon >= 0 else "W"
            sats = 9 + int(2 * math.sin(t / 97.0))
            lines.append(sentence("GPGGA,%s,%s,%s,%s,%s,1,%02d,0.9,%.1f,M,41.2,M,," %
                                  (hms, ddmm(lat, 2), ns, ddmm(lon, 3), ew, sats,
                                   12.0 + rng.gauss(0, 0.3))))
            lines.append(sentence("GPVTG,%05.1f,T,%05.1f,M,%.1f,N,%.1f,K,A" %
                                  (cog, (cog - VARIATION) % 360, knots, knots * 1.852)))
            lines.append(sentence("GPRMC,%s,A,%s,%s,%s,%s,%.1f,%05.1f,%s,%.1f,E,A" %
                                  (hms, ddmm(lat, 2), ns, ddmm(lon, 3), ew, knots, cog, dmy,
                                   VARIATION)))
        if t % 2 == 0:
            # Shallow in the harbour, deepening into the fjord.
            target = 14.0 if t < 180 else min(14.0 + (t - 180) * 0.6, 160.0)
            depth += (target - depth) * 0.2 + rng.gauss(0, 0.2)
            lines.append(sentence("SDDBT,%.1f,f,%.1f,M,%.1f,F" %
                                  (depth / 0.3048, depth, depth / 1.8288)))
        angle = (315 - course + rng.gauss(0, 4)) % 360 if knots > 0 else 315.0
        lines.append(sentence("WIMWV,%05.1f,R,%.1f,N,A" % (angle, 8.0 + knots * 0.6)))

        # Corrupted sentences, as a real line delivers them now and then.
        if t == 120:
            body = "GPGGA,%s,6123.000,N,00619.000,E,1,09,0.9,12.0,M,41.2,M,," % hms
            lines.append("$%s*%s\r\n" % (body, "00" if checksum(body) != "00" else "01"))
        if t == 200:
            lines.append(sentence("GPRMC,%s,A,6124.0000,N,00520.0000,E,14.0,330.0,%s,1.0,E,A"
                                  % (hms, dmy))[:30])
        if t == 260:
            lines.append("\x00\xff~~garbage~~\r\n")
        if t == 400:
            lines.append("$GPGGA," + "9" * 90 + "\r\n")
        if t == 450:
            lines.append("$GPGGA,%s,6023.000,N,00519.000,E,1,09,0.9,12.0,M,41.2,M,,*7\r\n" % hms)
    path = os.path.join(out_dir, "bergen_departure.nmea")
    tmp = path + ".tmp"
    with open(tmp, "w", encoding="latin-1", newline="") as f:
        f.write("".join(lines))
    os.replace(tmp, path)


if __name__ == "__main__":
    main()
