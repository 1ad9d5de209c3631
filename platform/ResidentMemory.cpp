#include "platform/ResidentMemory.h"

#include <fstream>
#include <string>

namespace scr {

int64_t ResidentBytesOf(pid_t pid) {
    if (pid <= 0) return -1;
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            int64_t kilobytes = -1;
            if (!(status >> kilobytes) || kilobytes < 0) return -1;
            return kilobytes * 1024;
        }
        status.ignore(4096, '\n');
    }
    return -1;
}

} // namespace scr
