#include "shell/workflow_state.h"

namespace ventora {

workflow_state& workflow() {
    static workflow_state state;
    return state;
}

workflow_notifier& workflow_events() {
    static workflow_notifier notifier;
    return notifier;
}

}  // namespace ventora
