#!/usr/bin/python3
"""Reads 3D export files with VTK's own legacy reader and checks them.

  vtkReadBack.py FILE EXPECTED [FILE EXPECTED ...]

For each FILE: VTK's vtkPolyDataReader reads it without a single warning (VTK
only warns when the point data do not match the declared count, and sets no
error code), the count of the header line "POINTS n double" equals the number
of point lines and VTK's number of points, and, unless EXPECTED is "-", the
points equal those of EXPECTED (one "x y z" per line, in any order): x and y
exactly, z within 0.05. Prints one line per file; exit status 1 on any failure.

Run with Debian's /usr/bin/python3, which has python3-vtk9.
"""
import sys

import vtk


def header_count(lines):
    if len(lines) < 5 or lines[:4] != ["# vtk DataFile Version 2.0", "Solvanor Output",
                                       "ASCII", "DATASET POLYDATA"]:
        raise ValueError("unexpected head lines")
    words = lines[4].split()
    if len(words) != 3 or words[0] != "POINTS" or words[2] != "double":
        raise ValueError("unexpected POINTS line: " + lines[4])
    return int(words[1])


def check(path, expected_path):
    with open(path, encoding="ascii") as f:
        lines = f.read().split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    declared = header_count(lines)
    body = lines[5:]
    if declared != len(body):
        return f"header count {declared}, point lines {len(body)}"

    # A fresh window per file: it keeps every message it was given.
    log = vtk.vtkStringOutputWindow()
    vtk.vtkOutputWindow.SetInstance(log)
    reader = vtk.vtkPolyDataReader()
    reader.SetFileName(path)
    reader.Update()
    warnings = log.GetOutput()
    if warnings:
        return "VTK: " + warnings.strip()
    points = reader.GetOutput().GetPoints()
    n = reader.GetOutput().GetNumberOfPoints()
    if n != declared:
        return f"VTK read {n} points, the header declares {declared}"
    if expected_path == "-":
        return None

    got = sorted(points.GetPoint(i) for i in range(n))
    with open(expected_path, encoding="ascii") as f:
        want = sorted(tuple(float(v) for v in l.split()) for l in f if l.strip())
    if len(want) != n:
        return f"{n} points, {len(want)} expected"
    for g, w in zip(got, want):
        if g[0] != w[0] or g[1] != w[1] or abs(g[2] - w[2]) > 0.05:
            return f"point {g} where {w} was expected"
    return None


def main(args):
    if len(args) % 2 or not args:
        print(__doc__, file=sys.stderr)
        return 2
    vtk.vtkLogger.SetStderrVerbosity(vtk.vtkLogger.VERBOSITY_OFF)
    failed = False
    for path, expected in zip(args[0::2], args[1::2]):
        try:
            problem = check(path, expected)
        except (OSError, ValueError) as e:
            problem = str(e)
        print(f"{path}: {problem or 'ok'}")
        failed = failed or problem is not None
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
