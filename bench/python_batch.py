#!/usr/bin/env python3
"""The batch tool's work written as a plain Python loop, for tool_throughput.sh to compare with:
json.loads each line, the same formulas as the calculations, json.dumps each answer.

Covers what the benchmark's request mix asks (every case, valve type, medium and nozzle with
numbers in range); an error line is answered with a generic error. Its output must equal
ventora-calc's on the mix, which tool_throughput.sh checks before timing anything.
"""
import json
import math
import struct
import sys


def single(x):
    return struct.unpack("f", struct.pack("f", x))[0]


def general(x, digits):
    if x == 0:
        return "0"
    s = "%.*G" % (digits, x)
    mantissa, e, exponent = s.partition("E")
    if "." in mantissa:
        mantissa = mantissa.rstrip("0").rstrip(".")
    return mantissa + e + exponent


def num(req, key, initial):
    v = req.get(key, initial)
    if isinstance(v, str):
        try:
            return float(v.strip()) if v.strip() else None
        except ValueError:
            return None
    return float(v)


def z(x):
    return 0.0 if x is None else x


def relief(req):
    case = req["case"]
    if case == "typed_rate":
        ws = num(req, "W_t", "")
        if ws is None or ws <= 0:
            return "refused", ["未正确输入数据"], None, None
        area = None
    elif case == "compressed_gas":
        if req.get("compressed_kind") == "production_capacity":
            ws = num(req, "G", "")
        else:
            rho, d, v = num(req, "rho", ""), num(req, "d", ""), num(req, "v", "")
            if z(rho) <= 0 or z(d) <= 0 or z(v) <= 0:
                return "refused", ["参数输入错误!请重新输入"], None, None
            ws = float(math.floor(rho * d * d * v * 0.00283))
        if z(ws) <= 0:
            return "refused", ["参数输入错误!请重新输入"], None, None
        area = None
    else:
        D, L, h = num(req, "D", "0"), num(req, "L", "0"), num(req, "h", "0")
        q, lam, t, delta = num(req, "q", "0"), num(req, "lambda", "0"), num(req, "t", "0"), num(req, "delta", "0")
        form = req.get("vessel_form")
        if form == "hemispherical_heads":
            area = single(3.14 * D * L)
        elif form == "elliptical_heads":
            area = single(3.14 * D * (L + 0.3 * D))
        elif form == "vertical":
            area = single(3.14 * D * h)
        else:
            area = single(0.5 * 3.14 * D * D)
        a = area ** 0.82
        if req.get("insulation") == "uninsulated":
            F = {"below_ground": 0.3, "above_ground": 1.0, "water_spray": 0.6}[req.get("installation")]
            ws = float(math.floor(2.55 * 100000 * F * a / q))
        else:
            ws = float(math.floor(2.61 * (650.0 - t) * lam * a / (delta * q)))
        if req.get("fire_exposure") == "fire_free":
            ws = float(math.floor(ws * 0.3))
    messages = []
    if area is not None:
        messages.append("当前计算出的面积(m^2)： " + general(area, 7))
    messages.append("当前计算出的安全泄放量(kg/h)： " + general(ws, 15))
    return "ok", messages, area, ws


def valve(req):
    K = {"full_lift": 0.65, "micro_lift_ring": 0.45, "micro_lift_plain": 0.3}
    vtype, medium = req.get("valve_type"), req.get("medium")
    if vtype is None:
        return {"status": "no_valve_type", "messages": ["没有选择安全阀的形式!请重新选择!"],
                "K": None, "area": None, "capacity": None, "check": None}
    d1, D, h, phi = (num(req, k, "0") for k in ("d1", "D", "h", "phi"))
    C, Ps, M, T, Z, k, rho, Po = (num(req, x, "0") for x in ("C", "Ps", "M", "T", "Z", "k", "rho", "Po"))
    k_ = K[vtype]
    if vtype == "full_lift":
        A = float(math.floor(0.25 * 3.14 * d1 * d1))
    elif req.get("seal_face") == "flat":
        A = float(math.floor(3.14 * D * d1 / 25.0))
    else:
        A = float(math.floor(3.14 * d1 * h * math.sin(phi * 3.14 / 180.0)))
    messages = ["当前计算出的安全阀最小排气截面积(mm^2)： " + general(A, 15)]
    if medium == "gas":
        r, e, a = Po / Ps, k / (k - 1.0), 2.0 / (k + 1.0)
        Pd = 1.1 * Ps + 0.1
        root = math.sqrt(M / (Z * T))
        if r <= a ** e:
            W = float(math.floor(0.076 * k_ * C * Pd * A * root))
        else:
            W1 = float(math.floor(55.84 * k_ * Pd * A * root))
            W = W1 * single(math.sqrt(e * (r ** (2.0 / k) - r ** ((k + 1.0) / k))))
    elif medium == "saturated_steam":
        Pd = 1.03 * Ps + 0.1
        if Pd > 22.064:  # no saturated steam above water's critical pressure
            return {"status": "bad_input", "messages": messages + ["参数输入不正确！请重新输入！"],
                    "K": k_, "area": A, "capacity": None, "check": None}
        if Pd <= 10.0:
            W = float(math.floor(5.25 * k_ * A * Pd))
        else:
            W = single(math.floor(5.25 * k_ * A * Pd)) * ((190.6 * Pd - 6895.0) / (229.2 * Pd - 7315.0))
    else:
        W = float(math.floor(5.1 * k_ * A * math.sqrt(rho * ((1.2 * Ps + 0.1) - Po))))
    messages.append("当前计算出的安全阀排放能力(kg/h)： " + general(W, 15))
    ws = single(float(req.get("vessel_ws", 0)))
    check = "fail" if W <= 0 or W < ws else "pass"
    messages.append("警告！安全阀排放能力小于压力容器安全泄放量！请重新选择安全阀！" if check == "fail"
                    else "安全阀排放能力校验合格！")
    return {"status": "checked", "messages": messages, "K": k_, "area": A, "capacity": W, "check": check}


def disc(req):
    medium, nozzle = req.get("medium"), req.get("nozzle")
    p_b, M, T, Z, k, p_o, rho = (num(req, x, "0") for x in ("p_b", "M", "T", "Z", "k", "p_o", "rho"))
    ws = single(float(req.get("vessel_ws", 0)))
    K = {"straight_pipe": 0.68, "flush_pipe": 0.73, "bell_mouth": 0.8}.get(nozzle)
    if medium == "gas":
        if z(k) <= 1:
            return "bad_k", "气体绝热系数错误!请重新选择!", None
        C = float(math.floor(520.0 * math.sqrt(k * (2.0 / (k + 1.0)) ** ((k + 1.0) / (k - 1.0)))))
        r, r_c = p_o / p_b, (2.0 / (k + 1.0)) ** (k / (k - 1.0))
        s = math.sqrt(M / (Z * T))
        if r <= r_c:
            A = float(math.floor(ws / (0.076 * K * C * p_b * s)))
        else:
            f = single(math.sqrt(k / (k - 1.0) * (r ** (2.0 / k) - r ** ((k + 1.0) / k))))
            A = float(math.floor(ws / (55.84 * K * p_b * s * f)))
    elif medium == "liquid":
        A = float(math.floor(ws / (5.1 * 0.62 * math.sqrt(rho * (p_b - p_o)))))
    else:
        if p_b > 22.064:  # no saturated steam above water's critical pressure
            return "bad_input", "输入参数错误!请重新选择!", None
        if p_b <= 10.0:
            A = float(math.floor(ws / (5.25 * K * p_b)))
        else:
            A = float(math.floor(ws / (5.25 * K * p_b) * ((229.2 * p_b - 7315.0) / (190.6 * p_b - 6895.0))))
    if A < 0:
        return "bad_input", "输入参数错误!请重新选择!", None
    return "area_ready", "当前计算出的爆破片所需的最小排放面积(mm^2)： " + general(A, 15), A


def whole(x):
    return int(x) if x is not None and x == int(x) and abs(x) < 1e15 else x


def answer(n, line):
    try:
        req = json.loads(line)
        calc = req["calc"]
    except (ValueError, KeyError, TypeError):
        return {"line": n, "error": "not a request"}
    if calc == "relief":
        status, messages, area, ws = relief(req)
        out = {"line": n, "calc": "relief", "status": status, "messages": messages}
        if req["case"] == "liquefied_gas":
            out["area"] = whole(area)
        out["ws"] = whole(ws)
        out["stored"] = whole(float(single(math.floor(ws)))) if ws is not None else None
        return out
    if calc == "valve":
        out = {"line": n, "calc": "valve"}
        out.update({k: whole(v) if isinstance(v, float) else v for k, v in valve(req).items()})
        return out
    status, message, A = disc(req)
    return {"line": n, "calc": "disc", "status": status, "messages": [message], "area": whole(A)}


def main():
    out = sys.stdout
    with open(sys.argv[1], encoding="utf-8") as f:
        for n, line in enumerate(f, 1):
            out.write(json.dumps(answer(n, line), ensure_ascii=False, separators=(",", ":")))
            out.write("\n")


if __name__ == "__main__":
    main()
