#include "platform/ScreenSize.h"

#include <mutex>

namespace scr {
namespace {
std::mutex g_mutex;
std::function<ScreenSize()> g_provider;
} // namespace

ScreenSize PrimaryScreenSize() {
    std::function<ScreenSize()> provider;
    {
        std::lock_guard lock(g_mutex);
        provider = g_provider;
    }
    return provider ? provider() : ScreenSize{};
}

void SetPrimaryScreenSizeProvider(std::function<ScreenSize()> provider) {
    std::lock_guard lock(g_mutex);
    g_provider = std::move(provider);
}

} // namespace scr
