// Prints the relief-system figures that bench/system_vs_fluids.py compares with an independent
// implementation (python3-fluids). One query a line on standard input, one answer a line:
//   f Re eD              → the Darcy friction factor
//   kb percent | kw percent → the bellows factor, or "refused" beyond the curve
//   in P1 G c2 K         → the end pressure of a line fed at P1 (Pa), or "choked G_max P_choke"
//   out Pend G c2 K      → the start pressure of a line ending at Pend (Pa), "choked" when the
//                          exit chokes
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

#include "system/system_calc.h"

using namespace ventora::system;

int main() {
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream in(line);
        std::string q;
        in >> q;
        if (q == "f") {
            double Re = 0, eD = 0;
            in >> Re >> eD;
            const auto fr = darcy_friction(Re, eD);
            if (fr) std::printf("%.17g\n", fr->f);
            else std::printf("none\n");
        } else if (q == "kb" || q == "kw") {
            double p = 0;
            in >> p;
            const auto k = q == "kb" ? bellows_K_b(p) : bellows_K_w(p);
            if (k) std::printf("%.17g\n", *k);
            else std::printf("refused\n");
        } else if (q == "in" || q == "out") {
            double P = 0, G = 0, c2 = 0, K = 0;
            in >> P >> G >> c2 >> K;
            if (q == "in") {
                const auto r = isothermal_from_inlet(P, G, c2, K);
                if (r.choked) std::printf("choked %.17g %.17g\n", r.G_max, r.P_choke);
                else std::printf("%.17g\n", r.P_out);
            } else {
                const auto r = isothermal_to_outlet(P, G, c2, K);
                std::printf("%s%.17g\n", r.choked ? "choked " : "", r.P_in);
            }
        } else {
            std::printf("unknown\n");
        }
        std::fflush(stdout);
    }
}
