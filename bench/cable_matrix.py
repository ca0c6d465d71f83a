#!/usr/bin/env python3
"""Reads, writes (with --verify) and reads back a simulated radio through each misbehaviour of a
real cable, for both generations and models 0 and 1, and prints one row per condition.

Each run is judged against the same run on a clean line: "ok" when it succeeds with the same
bytes, "failed" when it ends with a message and changes nothing, "WRONG" when it claims success
with other bytes. Usage: bench/cable_matrix.py BUILD_DIR [ROUNDS]
"""
import concurrent.futures, os, subprocess, sys, tempfile, time

build = os.path.abspath(sys.argv[1])
rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 2
cli = os.path.join(build, "cli", "korvane-cli")
sim = os.path.join(build, "sim", "korvane-radio-sim")
here = os.path.dirname(os.path.abspath(__file__))
varied = os.path.join(here, "..", "tests", "data", "csv", "varied_model0.rdw")

CONDITIONS = [
    ("clean line", []),
    ("16 ms bursts, 0-8 ms jitter", ["--bursts", "16", "--jitter", "8"]),
    ("1 ms bursts, 0-20 ms jitter", ["--bursts", "1", "--jitter", "20"]),
    ("stray 00 before the first answer", ["--stray", "0"]),
    ("stray FF before the first answer", ["--stray", "0xFF"]),
    ("stray 00 as the port opens", ["--stray-at-open", "0"]),
    ("stray FF as the port opens", ["--stray-at-open", "0xFF"]),
    ("only the first answer 85 ms late", ["--late-first", "85"]),
    ("only the first answer 150 ms late", ["--late-first", "150"]),
    ("every answer 79 ms late", ["--late", "79"]),
    ("every answer 85 ms late", ["--late", "85"]),
    ("every answer 150 ms late", ["--late", "150"]),
]


def run(args, cwd, timeout=60):
    start = time.monotonic()
    try:
        p = subprocess.run(args, cwd=cwd, capture_output=True, text=True, timeout=timeout)
        return p.returncode, p.stdout + p.stderr, time.monotonic() - start
    except subprocess.TimeoutExpired:
        return None, "HANG", time.monotonic() - start


def session(model, generation, options, folder):
    """read, write --verify, read back: each step's (exit, bytes or None, seconds)."""
    radio = subprocess.Popen([sim, "--model", str(model), "--" + generation] + options,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    device = radio.stdout.readline().strip()
    steps = []
    try:
        for name, args in (("read", ["read", "--port", device, "-o", "r.rdw"]),
                           ("write", ["write", "--port", device, "--yes", "--verify", f"../m{model}.rdw"]),
                           ("back", ["read", "--port", device, "-o", "b.rdw"])):
            out = os.path.join(folder, name[0] + ".rdw")
            if os.path.exists(out):
                os.remove(out)
            code, text, seconds = run([cli] + [a.replace(name[0] + ".rdw", out) for a in args], folder)
            data = open(out, "rb").read() if name != "write" and os.path.exists(out) else None
            if name == "write":
                data = "校验通过" in text
            steps.append((code, data, seconds, text.strip().splitlines()[-1:] if text.strip() else []))
    finally:
        radio.terminate()
        radio.wait()
    return steps


def judge(step, clean):
    code, data, _, _ = step
    if code is None:
        return "HANG"
    if code == 0:
        return "ok" if data == clean[1] else "WRONG"
    return "failed"


def main():
    root = tempfile.mkdtemp(prefix="cable-matrix-")
    subprocess.run([cli, "export-csv", varied, "-o", os.path.join(root, "v.csv")], check=True)
    for m in (0, 1):
        subprocess.run([cli, "import-csv", os.path.join(root, "v.csv"), "--model", str(m), "-o",
                        os.path.join(root, f"m{m}.rdw")], check=True, capture_output=True)
    jobs = {}
    with concurrent.futures.ThreadPoolExecutor(max_workers=4) as pool:
        for ci, (_, options) in enumerate(CONDITIONS):
            for generation in ("older", "newer"):
                for model in (0, 1):
                    for r in range(rounds if ci else 1):
                        folder = os.path.join(root, f"c{ci}-{generation}-{model}-{r}")
                        os.makedirs(folder)
                        jobs[(ci, generation, model, r)] = pool.submit(session, model, generation, options, folder)
    results = {k: f.result() for k, f in jobs.items()}
    print(f"| condition | older radio (models 0, 1) | newer radio (models 0, 1) |")
    print("|---|---|---|")
    for ci, (name, _) in enumerate(CONDITIONS):
        cells = []
        for generation in ("older", "newer"):
            tally = {}
            for model in (0, 1):
                clean = results[(0, generation, model, 0)]
                for r in range(rounds if ci else 1):
                    steps = results[(ci, generation, model, r)]
                    for s, c, label in zip(steps, clean, ("read", "write", "read-back")):
                        verdict = judge(s, c)
                        tally.setdefault((label, verdict), []).append(s[2] - c[2])
            parts = []
            for (label, verdict), extra in sorted(tally.items()):
                parts.append(f"{label} {verdict} x{len(extra)} ({1000 * sum(extra) / len(extra):+.0f} ms)")
            cells.append("; ".join(parts))
        print(f"| {name} | {cells[0]} | {cells[1]} |")
    bad = [k for k, steps in results.items() for s, c in zip(steps, results[(0, k[1], k[2], 0)])
           if judge(s, c) in ("WRONG", "HANG")]
    for k in bad:
        print("WRONG or HANG:", CONDITIONS[k[0]][0], k[1:], [s[3] for s in results[k]])
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
