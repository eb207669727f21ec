#include "client/frame/ClientProcess.h"

ClientProcessState& ClientProcess() {
    static ClientProcessState state;
    return state;
}
