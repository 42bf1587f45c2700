#!/usr/bin/env python3
"""Compares the relief-system figures of Ventora's core with python3-fluids, an independent
implementation: the Darcy friction factor, the bellows factors K_b and K_w of API 520 Part I, and
isothermal compressible flow in a line (end pressure, choking, start pressure).

Not a test: it needs python3-fluids (apt-get install python3-fluids).
    python3 bench/system_vs_fluids.py build/bench/system_figures
Prints the largest relative difference of each figure and where it occurs; exit status 1 when a
figure differs beyond what the two methods explain (listed below), 0 otherwise.
"""
import math
import subprocess
import sys

import fluids
from fluids import safety_valve as sv
from fluids.friction import Colebrook

ATM = 101325.0  # fluids' atmosphere, Pa; Ventora's is 0.1013 MPa: percentages are passed as such


class Core:
    def __init__(self, exe):
        self.p = subprocess.Popen([exe], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)

    def ask(self, *words):
        self.p.stdin.write(" ".join(repr(float(w)) if not isinstance(w, str) else w
                                    for w in words) + "\n")
        self.p.stdin.flush()
        return self.p.stdout.readline().split()

    def close(self):
        self.p.stdin.close()
        self.p.wait()


def rel(a, b):
    return abs(a - b) / abs(b) if b else abs(a - b)


def report(name, worst, limit):
    d, where = worst
    ok = d <= limit
    print(f"{name:46s} max rel. diff {d:.3e} at {where}  (allowed {limit:g}) {'ok' if ok else 'BEYOND'}")
    return ok


def main():
    core = Core(sys.argv[1] if len(sys.argv) > 1 else "build/bench/system_figures")
    ok = True
    print(f"python3-fluids {fluids.__version__}")

    # Friction factor: turbulent Colebrook (fluids solves it exactly with Lambert's W).
    worst = (0.0, "")
    for Re in [4000, 1e4, 3e4, 1e5, 3e5, 1e6, 3e6, 1e7, 1e8]:
        for eD in [0, 1e-6, 1e-5, 1e-4, 4.5e-4, 1e-3, 5e-3, 0.01, 0.05]:
            ours = float(core.ask("f", Re, eD)[0])
            theirs = Colebrook(Re, eD)
            d = rel(ours, theirs)
            if d > worst[0]:
                worst = (d, f"Re={Re:g}, eD={eD:g}: {ours:.10g} vs {theirs:.10g}")
    ok &= report("Darcy f, Colebrook, Re 4000..1e8", worst, 1e-9)
    # Laminar and the transition: ours 64/Re below 2000 and Colebrook from 2000 on; fluids'
    # friction_factor switches at 2040 (LAMINAR_TRANSITION_PIPE).
    rows = []
    for Re in [500, 1999, 2000, 2039, 2040, 3000, 3999]:
        ours = float(core.ask("f", Re, 1e-4)[0])
        theirs = fluids.friction_factor(Re, 1e-4)
        rows.append((Re, ours, theirs))
    print("Darcy f, laminar and transition (eD = 1e-4):  Re  ours  fluids.friction_factor")
    for Re, a, b in rows:
        print(f"    {Re:6g}  {a:.6f}  {b:.6f}  {'' if rel(a, b) < 1e-6 else 'differs: ' + format(rel(a, b), '.1%')}")

    # K_b (gas, 10 % overpressure) and K_w (liquid) against fluids' API520_B and API520_W, which
    # take absolute pressures: P_set = 1 MPa gauge, P_back = atm + p% of it.
    for name, q, fn, start in [("K_b", "kb", lambda pb: sv.API520_B(1e6 + ATM, pb), 30.0),
                               ("K_w", "kw", lambda pb: sv.API520_W(1e6 + ATM, pb), 15.0)]:
        worst = (0.0, "")
        ends = []
        p = 0.0
        while p <= 50.0 + 1e-9:
            ours = core.ask(q, p)[0]
            try:
                theirs = fn(ATM + p / 100.0 * 1e6)
            except ValueError:
                theirs = None
            if ours == "refused" or theirs is None:
                ends.append((p, ours, theirs))
            else:
                d = rel(float(ours), theirs)
                if d > worst[0]:
                    worst = (d, f"{p:.2f} %: {float(ours):.6f} vs {theirs:.6f}")
                if abs(p - start) < 0.05 or p > 49.6:
                    ends.append((p, ours, theirs))
            p = round(p + 0.01, 2)
        ok &= report(f"{name}, 0..50 % in 0.01 % steps", worst, 0.01)
        for p, a, b in [(50.01, core.ask(q, 50.01)[0], None)] + ends[-3:]:
            print(f"    {name} at {p:.2f} %: ours {a}, fluids {b}")
        if q == "kb":
            for p in [30.0, 30.01, 30.02, 30.03]:
                print(f"    K_b at {p:.2f} %: ours {core.ask(q, p)[0]}, fluids {fn(ATM + p / 100.0 * 1e6)}")

    # Isothermal line, end pressure from the inlet: fluids' isothermal_gas(rho, fd, P1, L, D, m)
    # with K = f·L/D carried as L (fittings folded into an equivalent length), ρ = P1/c².
    worst = (0.0, "")
    choke_rows = []
    D = 0.08
    A = math.pi / 4 * D * D
    for P1 in [0.2e6, 0.6e6, 1.2e6, 5e6]:
        for c2 in [86011.0, 250000.0]:
            for K in [0.5, 2.0, 10.0, 50.0]:
                for Ma in [0.05, 0.1, 0.2, 0.3, 0.5, 0.7]:
                    G = Ma * P1 / math.sqrt(c2)
                    rho = P1 / c2
                    fd = 0.02
                    L = K / fd * D
                    out = core.ask("in", P1, G, c2, K)
                    try:
                        P2 = fluids.isothermal_gas(rho, fd, P1=P1, L=L, D=D, m=G * A)
                        theirs = ("ok", P2)
                    except Exception:
                        P2c = fluids.P_isothermal_critical_flow(P1, fd, D, L)
                        mmax = fluids.isothermal_gas(rho, fd, P1=P1, P2=P2c, L=L, D=D)
                        theirs = ("choked", mmax / A, P2c)
                    if out[0] == "choked" or theirs[0] == "choked":
                        choke_rows.append((P1, c2, K, Ma, out, theirs))
                        if out[0] == "choked" and theirs[0] == "choked":
                            d = max(rel(float(out[1]), theirs[1]), rel(float(out[2]), theirs[2]))
                            if d > worst[0]:
                                worst = (d, f"choked P1={P1:g} K={K:g}")
                        else:
                            worst = (1.0, f"one side choked: P1={P1:g} c2={c2:g} K={K:g} Ma={Ma:g}")
                        continue
                    d = rel(float(out[0]), theirs[1])
                    if d > worst[0]:
                        worst = (d, f"P1={P1:g} c2={c2:g} K={K:g} Ma={Ma:g}: "
                                    f"{float(out[0]):.9g} vs {theirs[1]:.9g}")
    ok &= report("isothermal line, end pressure / choked figures", worst, 1e-6)
    print(f"    {len(choke_rows)} choked cases, e.g.:")
    for row in choke_rows[:3]:
        P1, c2, K, Ma, out, theirs = row
        print(f"      P1={P1:g} c2={c2:g} K={K:g} Ma1={Ma:g}: ours G_max={float(out[1]):.6g} "
              f"P*={float(out[2]):.6g}; fluids G_max={theirs[1]:.6g} P2_crit={theirs[2]:.6g}")

    # Start pressure of an outlet line ending at Pend, not choked at its end: fluids gives the mass
    # flow between our start pressure and Pend (ρ = P1/c², known once P1 is), to match G·A.
    worst = (0.0, "")
    for Pend in [0.1013e6, 0.3e6]:
        for K in [1.0, 5.0, 20.0]:
            for Ma_end in [0.1, 0.3, 0.6, 0.9]:
                c2 = 86011.0
                G = Ma_end * Pend / math.sqrt(c2)
                out = core.ask("out", Pend, G, c2, K)
                P1 = float(out[-1])
                fd = 0.02
                m = fluids.isothermal_gas(P1 / c2, fd, P1=P1, P2=Pend, L=K / fd * D, D=D)
                d = rel(m, G * A)
                if d > worst[0]:
                    worst = (d, f"Pend={Pend:g} K={K:g} Ma_end={Ma_end:g}: P1={P1:.9g}, "
                                f"m {m:.9g} vs {G * A:.9g}")
    ok &= report("isothermal line, start pressure from its end", worst, 1e-6)
    core.close()
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
