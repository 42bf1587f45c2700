// The program-wide workflow state: the only data the windows share. It carries the route and the
// results from one window to the next, lives for the whole run and is never saved.
#pragma once

#include <optional>

#include <QObject>

#include "account/account.h"
#include "numbers/number.h"
#include "route/route.h"

namespace ventora {

struct workflow_state {
    // The device of the chosen route; none before the first choice. Never reset.
    std::optional<route::device> cal_route;
    // The vessel's relief rate W_s in kg/h: the whole-number part of the last W_s the relief-rate
    // window showed. Reset to 0 when the main window loads.
    float vessel_ws = 0.0F;
    // Discharge capacity of the last safety-valve calculation, kg/h; unset when it computed none.
    // Reset to 0 when the main window loads.
    number valve_capacity = 0.0;
    // The accounts of the route as its windows last computed it, with the book's title block:
    // what the calculation book shows. Announced by workflow_events().book_changed().
    account::route_account book;
    // The last press of the relief-rate window, and of the safety-valve window after it: what the
    // relief-system checks take from the route. A new relief rate forgets the valve's press (it
    // was checked against the old rate). Announced by workflow_events().route_changed().
    std::optional<relief::relief_input> relief_input;
    std::optional<relief::relief_result> relief_result;
    std::optional<valve::valve_press_input> valve_input;
    std::optional<valve::valve_press_result> valve_result;
};

// The one program-wide instance. Touched only from the user-interface thread.
workflow_state& workflow();

// Tells the windows that follow the workflow (the calculation book) that it changed.
class workflow_notifier : public QObject {
    Q_OBJECT
signals:
    void book_changed();
    // The route's relief rate or valve was computed again: results drawn from the old ones are
    // no longer the route's.
    void route_changed();
};
workflow_notifier& workflow_events();

}  // namespace ventora
