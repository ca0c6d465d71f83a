#!/usr/bin/env python3
"""korvane-cli.exe under Wine against the simulated radio (reached through \\\\.\\COM1, which Wine maps to the
radio's link), judged against the Linux korvane-cli on the same radio: the same exit status, messages (the port's
name aside) and file bytes. Steps: files, older, newer, dropped (the radio drops mid-read)."""

import argparse
import contextlib
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


def run(command, env=None):
    started = time.monotonic()
    done = subprocess.run(command, env=env, capture_output=True, timeout=120)
    return done, time.monotonic() - started


def shown(done, port):
    text = (done.stdout + b"\x00" + done.stderr).decode("utf-8", "replace").replace("\r\n", "\n")
    return done.returncode, text.replace(port, "PORT")


def alike(linux, wine, hangup):
    """On a hang-up the Wine server lists its objects on standard error first: the program's words end it."""
    if linux == wine or not hangup:
        return linux == wine
    lout, lerr = linux[1].split("\x00")
    wout, werr = wine[1].split("\x00")
    return linux[0] == wine[0] and lout == wout and werr.endswith("\n" + lerr)


def compare(name, args, work, linux_cli, wine_cli, linux_port, outputs=(), hangup=False):
    """Runs args on both programs ("PORT" and "OUT/" filled in) and compares what they left."""
    results = {}
    for side, program, port, env in (("linux", [linux_cli], linux_port, None),
                                     ("wine", ["wine", wine_cli], WINE_PORT, wine_env(work))):
        out = os.path.join(work, side)
        os.makedirs(out, exist_ok=True)
        for f in outputs:
            if os.path.exists(os.path.join(out, f)):
                os.remove(os.path.join(out, f))
        words = [a.replace("PORT", port).replace("OUT/", out + "/") for a in args]
        done, seconds = run(program + words, env)
        files = {}
        for f in outputs:
            path = os.path.join(out, f)
            files[f] = open(path, "rb").read() if os.path.exists(path) else None
        results[side] = (shown(done, port), files, seconds, out)
    (linux, lfiles, lsec, lout), (wine, wfiles, wsec, wout) = results["linux"], results["wine"]
    linux = (linux[0], linux[1].replace(lout, "OUT"))
    wine = (wine[0], wine[1].replace(wout, "OUT"))
    same = alike(linux, wine, hangup) and lfiles == wfiles
    print("%-34s %s  linux %.2f s  wine %.2f s  exit %d" % (name, "same" if same else "DIFFERENT", lsec, wsec, linux[0]))
    if not same:
        failures.append(name)
        print("  linux: %r\n  wine:  %r" % (linux, wine[:1] + (wine[1][-2000:],)))
        for f in outputs:
            if lfiles[f] != wfiles[f]:
                print("  %s differs (%s / %s bytes)" % (f, len(lfiles[f] or b""), len(wfiles[f] or b"")))
    return linux


@contextlib.contextmanager
def with_radio(sim, options, work):
    """The simulated radio on the link COM1 names, listening, ended when the steps are done."""
    link = os.path.join(work, "com1")
    radio = subprocess.Popen([sim, "--link", link] + options, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    radio.stdout.readline()  # the device: the radio is listening
    try:
        yield link
    finally:
        radio.terminate()
        radio.wait()


def radio_steps(generation, args, work):
    src = os.path.join(work, "input.rdw")
    with with_radio(args.sim, ["--model", "0", "--" + generation], work) as link:
        c = lambda name, words, outputs=(): compare("%s: %s" % (generation, name), words, work, args.linux_cli,
                                                    args.wine_cli, link, outputs)
        c("read", ["read", "--port", "PORT", "-o", "OUT/r.rdw"], ["r.rdw"])
        c("write --verify", ["write", "--yes", "--verify", "--port", "PORT", src])
        c("probe", ["probe", "--port", "PORT"])
        c("diff radio:", ["diff", src, "radio:PORT"])


def dropped_steps(args, work):
    with with_radio(args.sim, ["--model", "2", "--newer", "--drop-after", "300"], work) as link:
        compare("newer, drops mid-read: read", ["read", "--port", "PORT", "-o", "OUT/d.rdw"], work,
                args.linux_cli, args.wine_cli, link, ["d.rdw"], hangup=True)


def file_steps(args, work):
    compare("save into a folder named in Chinese", ["new", "--model", "1", "-o", "OUT/中文文件夹/频道表.rdw"], work,
            args.linux_cli, args.wine_cli, "PORT", ["中文文件夹/频道表.rdw"])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wine-cli", required=True)
    parser.add_argument("--linux-cli", required=True)
    parser.add_argument("--sim", required=True)
    parser.add_argument("--sample", required=True, help="a channel spreadsheet to make the input from")
    parser.add_argument("--work", required=True)
    parser.add_argument("steps", nargs="*", default=["files", "older", "newer", "dropped"])
    args = parser.parse_args()
    work = os.path.abspath(args.work)
    shutil.rmtree(work, ignore_errors=True)
    for side in ("linux", "wine"):
        os.makedirs(os.path.join(work, side, "中文文件夹"))
    prepare_prefix(work, os.path.join(work, "com1"))
    subprocess.run([args.linux_cli, "import-csv", args.sample, "--model", "0", "-o", os.path.join(work, "input.rdw")],
                   check=True, capture_output=True)
    for step in args.steps:
        {"files": file_steps, "older": lambda a, w: radio_steps("older", a, w),
         "newer": lambda a, w: radio_steps("newer", a, w), "dropped": dropped_steps}[step](args, work)
    subprocess.run(["wineserver", "-k"], env=wine_env(work), capture_output=True)
    if failures:
        print("different: " + ", ".join(failures))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
