#include "platform/Shuffle.h"

#include <cstddef>
#include <vector>

namespace scr {

void Shuffle(std::span<int32_t> entries, RandomSource& random) {
    if (entries.empty()) return;
    std::vector<int32_t> pool(entries.begin(), entries.end());
    for (int k = static_cast<int>(entries.size()) - 1; k >= 0; --k) {
        const int j = random.Random(k + 1);
        entries[static_cast<std::size_t>(k)] = pool[static_cast<std::size_t>(j)];
        pool[static_cast<std::size_t>(j)] = pool[static_cast<std::size_t>(k)];
    }
}

} // namespace scr
