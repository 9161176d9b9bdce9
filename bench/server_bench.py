#!/usr/bin/env python3
"""The server's benchmark: how many players one veldrisa-server process holds on this machine.

At each step a fresh server starts on loopback TLS with a scratch data folder, and veldrisa-bot
processes, started a few seconds apart, fill that many tables (ten players each, keys at a human
pace) for a while; the driver samples the server's resident memory (VmRSS, and VmHWM at the end)
and its CPU time from /proc, and gathers each bot process's JSON line (its keys' latencies, from
a key sent to the first answer received). It prints a Markdown table, then the most players held with the 99th
percentile at most --p99 ms, the memory at 200 tables, and the CPU per table-day.

    server_bench.py --server BIN --bot BIN [--steps 50,100,200,300,400,600,800] [--duration 120]
                    [--tables-per-bot 25] [--stagger 3] [--ramp 45] [--p99 50] [--all-steps]
"""

import argparse
import collections
import json
import math
import os
import resource
import signal
import socket
import subprocess
import sys
import tempfile
import time

PLAYERS_PER_TABLE = 10
TICKS = os.sysconf("SC_CLK_TCK")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def raise_open_files(needed):
    """Every connection is a descriptor in the server and one in a bot; children inherit this."""
    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    want = max(soft, needed)
    if hard != resource.RLIM_INFINITY and hard < want:
        try:
            resource.setrlimit(resource.RLIMIT_NOFILE, (want, want))
            return
        except (ValueError, OSError):
            sys.exit(f"server_bench: {needed} open files are needed and the limit is {hard}; "
                     "raise it (ulimit -Hn, as root) and run again")
    resource.setrlimit(resource.RLIMIT_NOFILE, (want, hard))


def cpu_seconds(pid):
    """utime + stime of the process, in seconds."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def memory_kib(pid):
    status = {}
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            key, _, value = line.partition(":")
            if key in ("VmRSS", "VmHWM"):
                status[key] = int(value.split()[0])
    return status


class Server:
    def __init__(self, binary, data):
        self.port = free_port()
        self.proc = subprocess.Popen([binary, "--address", "127.0.0.1", "--port", str(self.port), "--data", data],
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        said = self.proc.stdout.readline()
        if "escuchando" not in said:
            sys.exit("server_bench: the server did not start: " + said + self.proc.stderr.read())

    def stop(self):
        self.proc.send_signal(signal.SIGTERM)
        try:
            self.proc.wait(timeout=60)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()


def start_bot(binary, port, index, load, duration, logs):
    err = open(f"{logs}/bot-{index}.err", "w")
    return subprocess.Popen(
        [binary, "--server", f"127.0.0.1:{port}", "--load", str(load), "--pace", "human",
         "--duration", str(duration), "--seed", str(1 + index * 100000)],
        stdout=subprocess.PIPE, stderr=err, text=True)


def finish_bots(bots, timeout):
    """Each bot's JSON line, None for a bot that printed none."""
    reports = []
    deadline = time.monotonic() + timeout
    for bot in bots:
        try:
            out, _ = bot.communicate(timeout=max(1, deadline - time.monotonic()))
        except subprocess.TimeoutExpired:
            bot.kill()
            out, _ = bot.communicate()
        lines = [line for line in out.splitlines() if line.startswith("{")]
        reports.append(json.loads(lines[-1]) if lines else None)
    return reports


def step(args, tables):
    load = os.getloadavg()[0]
    with tempfile.TemporaryDirectory(prefix="veldrisa-bench-") as scratch:
        data = f"{scratch}/data"
        os.mkdir(data)
        server = Server(args.server, data)
        children_before = resource.getrusage(resource.RUSAGE_CHILDREN)
        loads = [min(args.tables_per_bot, tables - start) for start in range(0, tables, args.tables_per_bot)]
        # The bot processes start one after another: thousands of TLS handshakes at once would
        # measure the burst, not the play.
        stagger = min(args.stagger, args.ramp / len(loads))
        window_from = stagger * (len(loads) - 1) + min(20.0, args.duration / 4)
        window_to = args.duration - 2
        if window_to - window_from < 10:
            sys.exit(f"server_bench: --duration {args.duration} leaves no steady state after the ramp; lengthen it")
        bots, rss, cpu_from, cpu_to, t_from, t_to = [], 0, None, None, None, None
        started = time.monotonic()
        while server.proc.poll() is None:
            elapsed = time.monotonic() - started
            while len(bots) < len(loads) and elapsed >= len(bots) * stagger:
                bots.append(start_bot(args.bot, server.port, len(bots), loads[len(bots)], args.duration, scratch))
            if elapsed >= window_to:
                break
            rss = max(rss, memory_kib(server.proc.pid)["VmRSS"])
            # The steady state: every table seated and playing, before the first bot's deadline.
            if elapsed >= window_from:
                cpu_to, t_to = cpu_seconds(server.proc.pid), time.monotonic()
                if cpu_from is None:
                    cpu_from, t_from = cpu_to, t_to
            time.sleep(0.5)
        alive = server.proc.poll() is None
        hwm = memory_kib(server.proc.pid)["VmHWM"] if alive else 0
        total_cpu = cpu_seconds(server.proc.pid) if alive else 0
        reports = finish_bots(bots, args.duration + args.ramp + 120)
        children_after = resource.getrusage(resource.RUSAGE_CHILDREN)
        server.stop()
        failed_bots = sum(1 for r in reports if r is None)
        said = collections.Counter(line for i in range(len(bots)) for line in open(f"{scratch}/bot-{i}.err"))
    good = [r for r in reports if r]
    window = (t_to - t_from) if t_from and t_to and t_to > t_from else 0
    server_cpu_rate = (cpu_to - cpu_from) / window if window else 0
    bots_cpu = (children_after.ru_utime + children_after.ru_stime -
                children_before.ru_utime - children_before.ru_stime)
    days = sum(r["days"] for r in good)
    row = {
        "tables": tables, "players": tables * PLAYERS_PER_TABLE,
        "connections": sum(r["connections"] for r in good),
        "games": sum(r["games_finished"] for r in good), "days": days,
        "keys": sum(r["keys"] for r in good), "errors": sum(r["errors"] for r in good) + failed_bots,
        # Percentiles do not add up across processes: the median of their medians, the worst of
        # their 95th and 99th percentiles (an upper bound for the whole), the worst of all.
        "p50": sorted(r["latency_ms"]["p50"] for r in good)[len(good) // 2] if good else 0,
        "p95": max((r["latency_ms"]["p95"] for r in good), default=0),
        "p99": max((r["latency_ms"]["p99"] for r in good), default=0),
        "max": max((r["latency_ms"]["max"] for r in good), default=0),
        "server_cpu": server_cpu_rate, "server_cpu_total": total_cpu, "bots_cpu": bots_cpu / args.duration,
        "rss": rss / 1024, "hwm": hwm / 1024, "load": load, "alive": alive,
        "table_day_cpu": server_cpu_rate / tables * 86400,
        "game_day_cpu": server_cpu_rate * args.duration / days if days else 0,
    }
    if failed_bots:
        print(f"    {failed_bots} bot processes printed no result", file=sys.stderr)
    for line, times in said.most_common(3):
        print(f"    the bots said {times} times: {line.strip()}", file=sys.stderr)
    return row


def held(row, args):
    return (row["alive"] and row["errors"] == 0 and row["p99"] <= args.p99 and
            row["connections"] >= row["players"])


def markdown(rows, args):
    lines = ["| Tables | Players | Connected | Games | Days | Keys | Errors | p50 ms | p95 ms | p99 ms | max ms "
             "| Server CPU | Bots' CPU | RSS MiB | HWM MiB | CPU s / table-24 h | CPU ms / game day | Load | Held |",
             "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|"]
    for r in rows:
        lines.append(
            f"| {r['tables']} | {r['players']} | {r['connections']} | {r['games']} | {r['days']} | {r['keys']} "
            f"| {r['errors']} | {r['p50']:.2f} | {r['p95']:.2f} | {r['p99']:.2f} | {r['max']:.1f} "
            f"| {100 * r['server_cpu']:.1f} % | {100 * r['bots_cpu']:.1f} % | {r['rss']:.1f} | {r['hwm']:.1f} "
            f"| {r['table_day_cpu']:.1f} | {1000 * r['game_day_cpu']:.1f} | {r['load']:.2f} "
            f"| {'yes' if held(r, args) else 'no'} |")
    return "\n".join(lines)


def summary(rows, args):
    best = max((r for r in rows if held(r, args)), key=lambda r: r["players"], default=None)
    said = [f"Most players held with p99 <= {args.p99:g} ms: "
            + (f"{best['players']} ({best['tables']} tables)." if best else "none of the steps.")]
    at200 = next((r for r in rows if r["tables"] == 200), None)
    if at200:
        said.append(f"At 2,000 players / 200 tables: resident memory {at200['rss']:.1f} MiB "
                    f"(peak {at200['hwm']:.1f} MiB), server CPU {100 * at200['server_cpu']:.1f} % of one core; "
                    f"{at200['table_day_cpu']:.1f} CPU s per table per 24 h at this pace, "
                    f"{1000 * at200['game_day_cpu']:.1f} CPU ms per game day played.")
    return "\n".join(said)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--server", required=True)
    parser.add_argument("--bot", required=True)
    parser.add_argument("--steps", default="50,100,200,300,400,600,800")
    parser.add_argument("--duration", type=int, default=120, help="seconds of play at each step")
    parser.add_argument("--tables-per-bot", type=int, default=25)
    parser.add_argument("--stagger", type=float, default=3, help="seconds between two bot processes' starts")
    parser.add_argument("--ramp", type=float, default=45, help="the most seconds all of them take to start")
    parser.add_argument("--p99", type=float, default=50)
    parser.add_argument("--all-steps", action="store_true", help="go on after a step that is not held")
    args = parser.parse_args()
    steps = [int(s) for s in args.steps.split(",")]
    raise_open_files(max(steps) * PLAYERS_PER_TABLE * 2 + 1024)
    print(f"veldrisa-server benchmark: {os.cpu_count()} cores, {args.duration} s a step, "
          f"{args.tables_per_bot} tables per bot process, load average {os.getloadavg()[0]:.2f} at the start",
          flush=True)
    rows = []
    for tables in steps:
        row = step(args, tables)
        rows.append(row)
        print(f"  {tables} tables: p99 {row['p99']:.2f} ms, {row['errors']} errors, server CPU "
              f"{100 * row['server_cpu']:.1f} %, RSS {row['rss']:.1f} MiB, load {row['load']:.2f}", flush=True)
        if not held(row, args) and not args.all_steps:
            break
    print()
    print(markdown(rows, args))
    print()
    print(summary(rows, args))
    return 0


if __name__ == "__main__":
    sys.exit(main())
