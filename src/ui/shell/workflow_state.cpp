#include "shell/workflow_state.h"

namespace ventora {

workflow_state& workflow() {
    static workflow_state state;
    return state;
}

}  // namespace ventora
