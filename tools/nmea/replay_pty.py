#!/usr/bin/python3
"""Plays an NMEA log as a GPS receiver on a pseudo-terminal.

    replay_pty.py [--run DIR] [--speed X] [--loop] [LOG]

Opens a pseudo-terminal pair, puts the slave side in raw mode and links it as
DIR/gps (DIR defaults to the current folder), so a program can open DIR/gps as
its serial port. The log (default: the project's sample departure from
Bergen) is written in fix groups: a group starts at each sentence whose UTC
time differs from the group's, and takes every following sentence without a
time (VTG, depth, wind, garbage). Groups are paced by their UTC times, one
second of log time per second divided by the speed factor; the signal loss
keeps its pace, since its sentences still carry times.

The clock starts when a program first holds the port (it opens serial lines
exclusively), so it sees the log from its first fix however long its start
took. While no program holds the port, what the receiver sends falls on the
floor, as on a real line. Everything the program sends back is copied into
DIR/nmea-out.log as it comes, so the program's writes never block.

At the end of the log it starts over with --loop; otherwise it keeps the line
open and goes on copying. SIGTERM or SIGINT ends it: DIR/gps is removed, a
summary goes to standard output and DIR/replay.json (the groups and fixes
sent, the arrival time of every line received, in seconds since the clock
started), and the exit status is 0.

Python standard library only.
"""
import argparse
import errno
import fcntl
import json
import os
import re
import select
import signal
import struct
import sys
import termios
import time
import tty

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_LOG = os.path.normpath(
    os.path.join(HERE, "..", "..", "data", "sample", "nmea", "bergen_departure.nmea"))

# Sentences whose UTC time field is the first one; GLL has it sixth.
TIME_FIELD = {"GGA": 1, "RMC": 1, "ZDA": 1, "GNS": 1, "GLL": 5}
TIME_RE = re.compile(rb"^(\d{2})(\d{2})(\d{2}(?:\.\d+)?)$")
# Linux: whether the terminal is in exclusive mode, _IOR('T', 0x40, int).
TIOCGEXCL = 0x80045440
DAY = 86400.0


def utc_seconds(line):
    """The UTC time of a sentence in seconds of the day, or None."""
    body = line.split(b"*", 1)[0]
    fields = body.split(b",")
    if not fields[0].startswith(b"$") or len(fields[0]) != 6:
        return None
    index = TIME_FIELD.get(fields[0][3:6].decode("ascii", "replace"))
    if index is None or index >= len(fields):
        return None
    m = TIME_RE.match(fields[index])
    if not m:
        return None
    h, mi, s = int(m.group(1)), int(m.group(2)), float(m.group(3))
    if h > 23 or mi > 59 or s >= 61:
        return None
    return h * 3600 + mi * 60 + s


def has_fix(line):
    """True for a GGA with a fix quality above 0 or an RMC reported valid."""
    fields = line.split(b"*", 1)[0].split(b",")
    kind = fields[0][3:6]
    if kind == b"GGA" and len(fields) > 6:
        return fields[6] not in (b"", b"0") and fields[2] != b""
    if kind == b"RMC" and len(fields) > 3:
        return fields[2] == b"A" and fields[3] != b""
    return False


def read_groups(path):
    """The log as a list of (offset in seconds from its first group, bytes, fix)."""
    with open(path, "rb") as f:
        lines = f.read().splitlines(keepends=True)
    groups = []
    current_time = None
    offset = 0.0
    for line in lines:
        t = utc_seconds(line)
        if not groups or (t is not None and t != current_time):
            if t is not None and current_time is not None:
                step = t - current_time
                if step < -DAY / 2:
                    step += DAY  # past midnight
                # A clock that steps back inside the day (a receiver's reset,
                # two logs joined) sends the group at once rather than a day on.
                offset += max(step, 0.0)
            if t is not None:
                current_time = t
            groups.append([offset, bytearray(), False])
        groups[-1][1] += line
        groups[-1][2] = groups[-1][2] or has_fix(line)
    return [(o, bytes(b), fix) for o, b, fix in groups]


class Replay:
    def __init__(self, run, speed, loop, groups):
        self.run = run
        self.speed = speed
        self.loop = loop
        self.groups = groups
        self.link = os.path.join(run, "gps")
        self.stop = False
        self.groups_sent = 0
        self.fixes_sent = 0
        self.dropped = 0
        self.bytes_received = 0
        self.received = []  # (seconds since the clock started, sentence text)
        self.partial = b""
        self.started = None  # monotonic time of the clock's start
        self.started_epoch = None
        self.master, self.slave = os.openpty()
        tty.setraw(self.slave)
        fl = fcntl.fcntl(self.master, fcntl.F_GETFL)
        fcntl.fcntl(self.master, fcntl.F_SETFL, fl | os.O_NONBLOCK)
        self.name = os.ttyname(self.slave)
        self.out = open(os.path.join(run, "nmea-out.log"), "wb", buffering=0)
        self.can_probe = True
        # A signal's byte wakes the wait at once.
        self.wake_r, self.wake_w = os.pipe()
        for fd in (self.wake_r, self.wake_w):
            fcntl.fcntl(fd, fcntl.F_SETFL, fcntl.fcntl(fd, fcntl.F_GETFL) | os.O_NONBLOCK)

    def make_link(self):
        if os.path.lexists(self.link) and not os.path.islink(self.link):
            raise SystemExit("replay: %s exists and is not a link" % self.link)
        tmp = "%s.%d.tmp" % (self.link, os.getpid())
        os.symlink(self.name, tmp)
        os.replace(tmp, self.link)

    def remove_link(self):
        try:
            if os.readlink(self.link) == self.name:
                os.unlink(self.link)
        except OSError:
            pass

    def held(self):
        """True while a program holds the port (exclusive mode set)."""
        if not self.can_probe:
            return True
        try:
            got = fcntl.ioctl(self.slave, TIOCGEXCL, struct.pack("i", 0))
        except OSError:
            self.can_probe = False  # no way to tell: take the port as held
            return True
        return struct.unpack("i", got)[0] != 0

    def copy_back(self):
        while True:
            try:
                data = os.read(self.master, 4096)
            except BlockingIOError:
                return
            except OSError as e:
                if e.errno == errno.EIO:
                    return
                raise
            if not data:
                return
            self.out.write(data)
            self.bytes_received += len(data)
            now = self.elapsed()
            self.partial += data
            *lines, self.partial = self.partial.split(b"\n")
            for line in lines:
                self.received.append((round(now, 3), line.rstrip(b"\r").decode("latin-1")))

    def elapsed(self):
        return 0.0 if self.started is None else time.monotonic() - self.started

    def send(self, data):
        if not self.held():
            # Nobody listens: what was queued for the line is lost, as on a real port.
            termios.tcflush(self.slave, termios.TCIFLUSH)
        at = 0
        while at < len(data):
            try:
                at += os.write(self.master, data[at:])
            except BlockingIOError:
                # The line's queue is full: the program does not read. Drop the rest.
                self.dropped += len(data) - at
                termios.tcflush(self.slave, termios.TCIFLUSH)
                return

    def wait(self, until):
        """Copies what comes back until the monotonic time until, or a stop."""
        while not self.stop:
            left = until - time.monotonic()
            if left <= 0:
                return
            try:
                ready, _, _ = select.select([self.master, self.wake_r], [], [], left)
            except InterruptedError:
                continue
            if self.master in ready:
                self.copy_back()

    def wait_for_holder(self):
        while not self.stop and not self.held():
            self.wait(time.monotonic() + 0.02)
        self.started = time.monotonic()
        self.started_epoch = time.time()

    def play(self):
        self.wait_for_holder()
        lap = 0.0
        length = self.groups[-1][0] + 1.0 if self.groups else 1.0
        while not self.stop:
            for offset, data, fix in self.groups:
                self.wait(self.started + (lap + offset) / self.speed)
                if self.stop:
                    break
                self.send(data)
                self.groups_sent += 1
                self.fixes_sent += 1 if fix else 0
            if not self.loop:
                break
            lap += length
        while not self.stop:
            self.wait(time.monotonic() + 3600)

    def summary(self):
        kinds = {}
        for _, text in self.received:
            if text.startswith("$") and len(text) >= 6:
                kinds[text[3:6]] = kinds.get(text[3:6], 0) + 1
        return {
            "device": self.name,
            "speed": self.speed,
            "started_epoch": self.started_epoch,
            "seconds": round(self.elapsed(), 3),
            "groups_sent": self.groups_sent,
            "fixes_sent": self.fixes_sent,
            "bytes_dropped": self.dropped,
            "bytes_received": self.bytes_received,
            "received_by_type": kinds,
            "received": self.received,
        }


def main():
    parser = argparse.ArgumentParser(description="Plays an NMEA log on a pseudo-terminal.")
    parser.add_argument("log", nargs="?", default=DEFAULT_LOG)
    parser.add_argument("--run", default=".", help="folder of the link gps and the output log")
    parser.add_argument("--speed", type=float, default=1.0, help="log seconds per second")
    parser.add_argument("--loop", action="store_true", help="start over at the end")
    args = parser.parse_args()
    if not (args.speed > 0 and args.speed <= 10000):
        parser.error("--speed must lie above 0 and at most 10000")
    groups = read_groups(args.log)
    if not groups:
        parser.error("%s holds no sentences" % args.log)

    replay = Replay(os.path.abspath(args.run), args.speed, args.loop, groups)

    def stop(signum, frame):
        replay.stop = True

    signal.set_wakeup_fd(replay.wake_w)
    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    replay.make_link()
    print("replay: %d groups of %s on %s, linked as %s, speed %g%s"
          % (len(groups), args.log, replay.name, replay.link, args.speed,
             ", looping" if args.loop else ""), flush=True)
    try:
        replay.play()
    finally:
        replay.remove_link()
        replay.copy_back()
        s = replay.summary()
        with open(os.path.join(replay.run, "replay.json"), "w") as f:
            json.dump(s, f)
        kinds = ", ".join("%s %d" % kv for kv in sorted(s["received_by_type"].items()))
        print("replay: %d groups sent (%d with a fix) in %.1f s; received back %d bytes: %s"
              % (s["groups_sent"], s["fixes_sent"], s["seconds"], s["bytes_received"],
                 kinds or "nothing"), flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
