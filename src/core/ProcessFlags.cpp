#include "core/ProcessFlags.h"

ProcessFlags& GetProcessFlags() {
    static ProcessFlags flags;
    return flags;
}
