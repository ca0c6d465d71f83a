#!/usr/bin/env python3
"""korvane-cli.exe under Wine against the simulated radio (reached through \\\\.\\COM1, which Wine maps to the
radio's link), judged against the Linux korvane-cli on the same radio: the same exit status, messages (the port's
name aside) and file bytes, for a read into a folder named in Chinese and a verified write."""

import argparse
import os
import shutil
import subprocess
import sys
import time

WINE_PORT = "\\\\.\\COM1"
failures = []


def wine_env(work):
    # A prefix takes Wine a minute to make: one kept beside the work folder serves every run.
    prefix = os.environ.get("WINEPREFIX") or os.path.join(os.path.dirname(work), "wineprefix")
    env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all")
    env.pop("DISPLAY", None)
    return env


def prepare_prefix(work, link):
    env = wine_env(work)
    subprocess.run(["wine", "reg", "add", "HKLM\\Software\\Wine\\Ports", "/v", "COM1", "/d", link, "/f"],
                   env=env, check=True, capture_output=True)
    # The port table is read when the Wine server starts: let this one end.
    subprocess.run(["wineserver", "-w"], env=env, check=True)


def compare(name, args, work, linux_cli, wine_cli, linux_port, outputs=()):
    """Runs args on both programs ("PORT" and "OUT/" filled in) and compares what they left."""
    results = {}
    for side, program, port, env in (("linux", [linux_cli], linux_port, None),
                                     ("wine", ["wine", wine_cli], WINE_PORT, wine_env(work))):
        out = os.path.join(work, side)
        words = [a.replace("PORT", port).replace("OUT/", out + "/") for a in args]
        started = time.monotonic()
        done = subprocess.run(program + words, env=env, capture_output=True, timeout=120)
        seconds = time.monotonic() - started
        text = (done.stdout + b"\x00" + done.stderr).decode("utf-8", "replace").replace("\r\n", "\n")
        files = {}
        for f in outputs:
            path = os.path.join(out, f)
            files[f] = open(path, "rb").read() if os.path.exists(path) else None
        results[side] = ((done.returncode, text.replace(port, "PORT").replace(out, "OUT")), files, seconds)
    (linux, lfiles, lsec), (wine, wfiles, wsec) = results["linux"], results["wine"]
    same = linux == wine and lfiles == wfiles
    print("%-34s %s  linux %.2f s  wine %.2f s  exit %d" % (name, "same" if same else "DIFFERENT", lsec, wsec, linux[0]))
    if not same:
        failures.append(name)
        print("  linux: %r\n  wine:  %r" % (linux, wine[:1] + (wine[1][-2000:],)))
        for f in outputs:
            if lfiles[f] != wfiles[f]:
                print("  %s differs (%s / %s bytes)" % (f, len(lfiles[f] or b""), len(wfiles[f] or b"")))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wine-cli", required=True)
    parser.add_argument("--linux-cli", required=True)
    parser.add_argument("--sim", required=True)
    parser.add_argument("--sample", required=True, help="a channel spreadsheet to make the input from")
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    work = os.path.abspath(args.work)
    shutil.rmtree(work, ignore_errors=True)
    for side in ("linux", "wine"):
        os.makedirs(os.path.join(work, side, "中文文件夹"))
    link = os.path.join(work, "com1")
    prepare_prefix(work, link)
    src = os.path.join(work, "input.rdw")
    subprocess.run([args.linux_cli, "import-csv", args.sample, "--model", "0", "-o", src],
                   check=True, capture_output=True)
    # The simulated radio on the link COM1 names; its first line (the device) says it is listening.
    radio = subprocess.Popen([args.sim, "--link", link, "--model", "0", "--older"], stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL)
    radio.stdout.readline()
    try:
        compare("read", ["read", "--port", "PORT", "-o", "OUT/中文文件夹/频道表.rdw"], work, args.linux_cli,
                args.wine_cli, link, ["中文文件夹/频道表.rdw"])
        compare("write --verify", ["write", "--yes", "--verify", "--port", "PORT", src], work, args.linux_cli,
                args.wine_cli, link)
    finally:
        radio.terminate()
        radio.wait()
    subprocess.run(["wineserver", "-k"], env=wine_env(work), capture_output=True)
    if failures:
        print("different: " + ", ".join(failures))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
