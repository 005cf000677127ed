#include "memory_reserve.h"

#include "interruption_cleanup.h"

#include <cstdio>
#include <cstdlib>
#include <new>

namespace velkaro::cli {
namespace {

constexpr std::size_t kReserveSize = 64 * 1024;
void *reserve = nullptr;

void onOutOfMemory() {
    if (reserve != nullptr) {
        std::free(reserve);
        reserve = nullptr;
        throw std::bad_alloc();
    }
    InterruptionCleanup::removeAll();
    std::fputs("velkaro-convert: 内存不足\n", stderr);
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

void MemoryReserve::install() noexcept {
    restore();
    std::set_new_handler(onOutOfMemory);
}

bool MemoryReserve::installBeforeMain() noexcept {
    std::set_new_handler(onOutOfMemory);
    return true;
}

void MemoryReserve::restore() noexcept {
    if (reserve == nullptr) {
        reserve = std::malloc(kReserveSize);
    }
}

} // namespace velkaro::cli
