#!/usr/bin/python3
"""What an engineer would write instead of ventora-calc, for tool_throughput.sh to compare with: a
plain Python loop over the same request lines that sizes with Debian's python3-fluids (API 520 gas
area, fluids.safety_valve.API520_A_g): json.loads each line, one sizing, json.dumps each answer.

Its answers are not ventora-calc's (one API area per line, whatever the request asks): it is the
cost of the loop a user would run, not a second implementation. Run with the system Python, which
has the package (python3-fluids).
"""
import json
import sys

from fluids.safety_valve import API520_A_g


def value(req, key, default):
    v = req.get(key)
    try:
        return float(v)
    except (TypeError, ValueError):
        return default


def main():
    out = sys.stdout
    with open(sys.argv[1], encoding="utf-8") as lines:
        for number, line in enumerate(lines, 1):
            req = json.loads(line)
            # Set pressure (gauge MPa) to the relieving pressure in Pa absolute, as the regulation
            # forms it for gas: 1.1·Ps + 0.1.
            P1 = (1.1 * value(req, "Ps", value(req, "p_b", 1.0)) + 0.1) * 1e6
            m = value(req, "vessel_ws", 10000.0) / 3600.0
            try:
                A = API520_A_g(m=m, T=value(req, "T", 300.0), Z=value(req, "Z", 1.0),
                               MW=value(req, "M", 29.0), k=value(req, "k", 1.4), P1=P1,
                               P2=value(req, "Po", 0.1) * 1e6, Kd=0.975) * 1e6
                answer = {"line": number, "calc": req.get("calc"), "api520_area": A}
            except (ValueError, ZeroDivisionError) as why:
                answer = {"line": number, "error": str(why)}
            out.write(json.dumps(answer, ensure_ascii=False))
            out.write("\n")


if __name__ == "__main__":
    main()
