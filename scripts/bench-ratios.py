#!/usr/bin/env python3
"""Prints the peer benchmarks as a table of MB/s and ratios.

Peer benchmarks are named Peer/<operation>/<page>/<implementation>, where the
implementation is "charsetkit" for the library and a peer's name otherwise
(icu, iconv, uchardet, memchr, ...). Feed this script the JSON that
charsetkit_bench writes with --benchmark_out=FILE --benchmark_out_format=json;
with --benchmark_repetitions the median of the repetitions is used, or with
--best the fastest repetition of each benchmark (steadier where the machine's
speed drifts while the benchmarks run: a slowdown only ever lowers a run).

    charsetkit_bench --benchmark_filter='^Peer/' --benchmark_repetitions=5 \
        --benchmark_enable_random_interleaving=true \
        --benchmark_out=peers.json --benchmark_out_format=json
    python3 scripts/bench-ratios.py [--best] peers.json
"""
import json
import sys
from collections import OrderedDict


def main(argv):
    args = argv[1:]
    best = "--best" in args
    args = [a for a in args if a != "--best"]
    if len(args) != 1:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    with open(args[0], encoding="utf-8") as f:
        report = json.load(f)
    rows = OrderedDict()  # (operation, page) -> {implementation: MB/s}
    medians = not best and any(b.get("aggregate_name") == "median" for b in report["benchmarks"])
    for b in report["benchmarks"]:
        if medians and b.get("aggregate_name") != "median":
            continue
        if best and b.get("run_type") == "aggregate":
            continue
        name = b.get("run_name", b["name"])
        parts = name.split("/")
        if len(parts) < 4 or parts[0] != "Peer" or "bytes_per_second" not in b:
            continue
        op, page, impl = parts[1], parts[2], parts[3]
        speeds = rows.setdefault((op, page), OrderedDict())
        speeds[impl] = max(speeds.get(impl, 0.0), b["bytes_per_second"] / 1e6)
    print("| operation | page | charsetkit MB/s | peers MB/s | ratios |")
    print("|---|---|---|---|---|")
    for (op, page), impls in rows.items():
        own = impls.get("charsetkit")
        peers = [(k, v) for k, v in impls.items() if k != "charsetkit"]
        peer_text = ", ".join(f"{k} {v:.0f}" for k, v in peers)
        ratio_text = ", ".join(f"{own / v:.2f} x {k}" for k, v in peers if own and v)
        own_text = f"{own:.0f}" if own else "-"
        print(f"| {op} | {page} | {own_text} | {peer_text} | {ratio_text} |")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
