#!/usr/bin/env python3
"""Writes the sample track files of samples/: made-up hikes, the same on every run.

Each file has the six header lines GPS software writes, then one point line per sample
(latitude, longitude, altitude in feet, time of day) with CR LF line ends.
"""
import math
import pathlib
import random

HEADER = [
    "OziExplorer Track Point File Version 2.1",
    "WGS 84",
    "Altitude is in Feet",
    "Reserved 3",
    "0,2,255,{name},0,0,2,8421376",
    "0",
]
FEET_PER_METRE = 1 / 0.3048
DAY_NUMBER = 45123  # the date column; the program reads only the time of day


def clock(second):
    second %= 86400
    return f"{second // 3600:02d}:{second // 60 % 60:02d}:{second % 60:02d}"


def hike(seed, points, start, lat, lon, profile, stops, glitches):
    """profile(f) gives the altitude in metres at fraction f of the way; stops maps a point index
    to the seconds of rest before it; glitches lists indices whose altitude jumps by 40 m."""
    rng = random.Random(seed)
    heading = rng.uniform(0, 2 * math.pi)
    second = start
    lines = []
    for i in range(points):
        f = i / (points - 1)
        metres = profile(f) + rng.gauss(0, 0.6)
        if i in glitches:
            metres += 40
        feet = round(metres * FEET_PER_METRE)
        date = DAY_NUMBER + second / 86400
        lines.append(
            f"{lat:.6f},{lon:.6f},0,{feet},{date:.7f},{date_text()},{clock(second)}")
        gap = rng.choice((5, 6, 7, 8, 10)) + stops.get(i + 1, 0)
        # Slower uphill than down: about 3 to 5 km/h.
        rise = profile(min(1.0, f + 0.002)) - profile(f)  # metres over the next few samples
        kmh = min(6.0, max(2.0, 4.5 - 0.35 * rise + rng.gauss(0, 0.3)))
        km = kmh * (gap - stops.get(i + 1, 0)) / 3600
        heading += rng.gauss(0, 0.25)
        lat += km / 111.2 * math.cos(heading)
        lon += km / (111.32 * math.cos(math.radians(lat))) * math.sin(heading)
        second += gap
    return lines


def date_text():
    return "15-Jul-23"


def write(folder, name, title, lines):
    text = "".join(line + "\r\n" for line in [h.format(name=title) for h in HEADER] + lines)
    (folder / name).write_bytes(text.encode("cp1252"))


def main():
    folder = pathlib.Path(__file__).resolve().parent.parent / "samples"
    folder.mkdir(exist_ok=True)

    def sierra(f):
        # Up from 1180 m to a pass near 2050 m, a short drop and a second summit, then down.
        return (1180 + 870 * math.sin(min(f / 0.45, 1) * math.pi / 2) ** 2
                - 120 * math.exp(-((f - 0.55) / 0.05) ** 2)
                + 60 * math.exp(-((f - 0.65) / 0.04) ** 2)
                - 820 * max(0.0, (f - 0.7) / 0.3) ** 1.3)

    write(folder, "ruta-sierra.plt", "Ruta de la sierra",
          hike(7, 2000, 8 * 3600 + 12 * 60 + 5, 40.791204, -3.958311, sierra,
               stops={640: 540, 910: 1260, 1500: 185}, glitches={1203}))

    def paseo(f):
        return 640 + 45 * math.sin(f * math.pi * 2) + 30 * f

    write(folder, "paseo-corto.plt", "Paseo corto",
          hike(11, 320, 17 * 3600 + 40 * 60, 41.652110, -0.881935, paseo,
               stops={150: 300}, glitches=set()))


if __name__ == "__main__":
    main()
