#include "platform/Shuffle.h"

#include "platform/Random.h"

#include <cstddef>

namespace scr {

void Shuffle(std::vector<int>& values) {
    if (values.empty()) return;
    std::vector<int> pool = values;
    // Draw from a shrinking pool: position k takes a random remaining entry,
    // whose slot is refilled with the pool's last live entry.
    for (int k = static_cast<int>(values.size()) - 1; k >= 0; --k) {
        const int j = RandomBelow(k + 1);
        values[static_cast<std::size_t>(k)] = pool[static_cast<std::size_t>(j)];
        pool[static_cast<std::size_t>(j)] = pool[static_cast<std::size_t>(k)];
    }
}

} // namespace scr
