#!/usr/bin/env python3
"""Draws the program's pictures as SVG and renders the PNG sizes.

zentrova.svg: twenty particles on a tetrahelix (each turned 131.8 degrees
about the axis from the one before), seen slightly from above, in the three
group colours on black. groups.svg: the three groups as three joined dots.
Run from this folder; the PNGs need ImageMagick's convert.
"""
import math
import subprocess

COLOURS = ["#ffff00", "#ff00ff", "#00ffff"]


def icon_svg(size=256):
    n = 20
    turn = math.radians(131.8)
    rise = 1.0 / (n - 1)
    tilt = math.radians(28)
    pts = []
    for k in range(n):
        a = k * turn
        x, y, z = math.cos(a), math.sin(a), -1.0 + 2.0 * k * rise
        # tilt about the x axis, then project orthographically
        y2 = y * math.cos(tilt) - z * math.sin(tilt)
        z2 = y * math.sin(tilt) + z * math.cos(tilt)
        pts.append((k, x, y2, z2))
    c = size / 2.0
    scale = size * 0.36
    parts = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" viewBox="0 0 {size} {size}">',
             f'<rect width="{size}" height="{size}" rx="{size*0.12:.1f}" fill="#000000"/>']
    for (k, x, y, z), (_, x2, y2, z2) in zip(pts, pts[1:]):
        parts.append(f'<line x1="{c+scale*x:.1f}" y1="{c-scale*z:.1f}" x2="{c+scale*x2:.1f}" '
                     f'y2="{c-scale*z2:.1f}" stroke="#606060" stroke-width="{size/128:.1f}"/>')
    for k, x, y, z in sorted(pts, key=lambda p: p[2], reverse=True):
        r = size * (0.030 + 0.014 * (1 - y))
        parts.append(f'<circle cx="{c+scale*x:.1f}" cy="{c-scale*z:.1f}" r="{r:.1f}" '
                     f'fill="{COLOURS[k % 3]}" stroke="#000000" stroke-width="{size/256:.1f}"/>')
    parts.append('</svg>')
    return "\n".join(parts) + "\n"


def groups_svg(size=66):
    c = size / 2.0
    r = size * 0.32
    pts = [(c + r * math.cos(math.radians(a)), c - r * math.sin(math.radians(a))) for a in (90, 210, 330)]
    parts = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" viewBox="0 0 {size} {size}">',
             f'<rect width="{size}" height="{size}" fill="#000080"/>']
    for i in range(3):
        (x1, y1), (x2, y2) = pts[i], pts[(i + 1) % 3]
        parts.append(f'<line x1="{x1:.1f}" y1="{y1:.1f}" x2="{x2:.1f}" y2="{y2:.1f}" stroke="#c0c0c0" stroke-width="2"/>')
    for (x, y), colour in zip(pts, COLOURS):
        parts.append(f'<circle cx="{x:.1f}" cy="{y:.1f}" r="{size*0.12:.1f}" fill="{colour}"/>')
    parts.append('</svg>')
    return "\n".join(parts) + "\n"


if __name__ == "__main__":
    with open("zentrova.svg", "w") as f:
        f.write(icon_svg())
    with open("groups.svg", "w") as f:
        f.write(groups_svg())
    for px in (32, 64, 128):
        subprocess.run(["convert", "-background", "none", "-density", "96", "zentrova.svg",
                        "-resize", f"{px}x{px}", f"zentrova-{px}.png"], check=True)
    subprocess.run(["convert", "groups.svg", "groups.png"], check=True)
