// What a calculation window holds as a person sees it: the choices and every box's text exactly as
// typed, with the tab that shows. A window captures its inputs into its form and can be filled
// from one; the case files keep them. A default form is the window as it opens.
#pragma once

#include <optional>

#include <QString>

#include "disc/disc_calc.h"
#include "relief/relief_calc.h"
#include "valve/valve_calc.h"

namespace ventora::forms {

// 压力容器安全泄放量计算: the showing tab is the relief case.
struct relief_form {
    relief::relief_case tab = relief::relief_case::typed_rate;
    std::optional<relief::compressed_kind> compressed;
    std::optional<relief::fire_exposure> fire;
    std::optional<relief::insulation> insulated;
    std::optional<relief::installation> installed;
    std::optional<relief::vessel_form> form;
    QString G, rho, d, v;  // compressed gas
    QString D = QStringLiteral("0"), L = QStringLiteral("0"), h = QStringLiteral("0"),
            q = QStringLiteral("0"), lambda = QStringLiteral("0"), t = QStringLiteral("0"),
            delta = QStringLiteral("0");  // liquefied gas
    QString W_t;  // typed rate
    bool operator==(const relief_form&) const = default;
};

// 安全阀计算: the window opens on its input tab.
struct valve_form {
    bool notes_tab = false;
    std::optional<valve::valve_type> type;
    std::optional<valve::seal_face> face;
    std::optional<valve::valve_medium> medium;
    QString d1 = QStringLiteral("0"), D = QStringLiteral("0"), h = QStringLiteral("0"),
            phi = QStringLiteral("0");
    QString C = QStringLiteral("0"), Ps = QStringLiteral("0"), M = QStringLiteral("0"),
            T = QStringLiteral("0"), Z = QStringLiteral("0"), k = QStringLiteral("0"),
            rho = QStringLiteral("0"), Po = QStringLiteral("0");
    bool operator==(const valve_form&) const = default;
};

// 爆破片计算.
struct disc_form {
    std::optional<disc::disc_medium> medium;
    std::optional<disc::nozzle_type> nozzle;
    QString p_b = QStringLiteral("0"), M = QStringLiteral("0"), T = QStringLiteral("0"),
            Z = QStringLiteral("0"), k = QStringLiteral("0"), p_o = QStringLiteral("0"),
            rho = QStringLiteral("0");
    bool operator==(const disc_form&) const = default;
};

// 泄放系统校核: only what the route does not hold. A line's check, and the fire case, are asked for
// when one of their boxes holds text (or, for the fire case, the drainage is chosen).
struct system_form {
    bool disc = false;            // a bursting disc under each valve
    bool bellows = false;         // balanced-bellows valve
    bool open_discharge = false;  // the reaction force of an open discharge
    std::optional<bool> drainage;  // adequate drainage and fire-fighting
    QString n, F_d;
    QString inlet_D, inlet_L, inlet_K, inlet_eps;
    QString outlet_D, outlet_L, outlet_K, outlet_eps, P_e;
    QString A_o, P_2;
    QString mu, rho, k, T, M;
    QString fire_A, fire_F;
    bool operator==(const system_form&) const = default;

    bool inlet_asked() const { return !(inlet_D + inlet_L + inlet_K + inlet_eps).isEmpty(); }
    bool outlet_asked() const { return !(outlet_D + outlet_L + outlet_K + outlet_eps).isEmpty(); }
    bool fire_asked() const { return drainage.has_value() || !(fire_A + fire_F).isEmpty(); }
};

}  // namespace ventora::forms
