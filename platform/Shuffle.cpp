#include "platform/Shuffle.h"

#include <cstdlib>
#include <ctime>
#include <vector>

namespace scr {

void SeedRandomFromClock() {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

// glibc's rand() yields 0 .. 2^31 - 1, the 31-bit range the program expects.
int32_t RandomValue() {
    return static_cast<int32_t>(std::rand() & 0x7fffffff);
}

int32_t RandomBelow(int32_t range) {
    return range < 1 ? 0 : RandomValue() % range;
}

void Shuffle(std::span<int32_t> entries) {
    if (entries.empty()) return;
    std::vector<int32_t> pool(entries.begin(), entries.end());
    SeedRandomFromClock();
    for (auto k = static_cast<int32_t>(entries.size()) - 1; k >= 0; --k) {
        int32_t j = RandomBelow(k + 1);
        entries[static_cast<size_t>(k)] = pool[static_cast<size_t>(j)];
        pool[static_cast<size_t>(j)] = pool[static_cast<size_t>(k)];
    }
}

} // namespace scr
