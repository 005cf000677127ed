#pragma once

namespace velkaro::cli {

// Keeps a little memory aside so that running out of it is reported, never an abort. The C++
// runtime needs memory to throw std::bad_alloc; when the limit is so tight that it could not
// even set up its emergency pool at start-up, that throw itself would call std::terminate. The
// new-handler installed here gives the reserve back and throws, so that the core can report the
// conversion that ran out; when no reserve is left, it removes the pending temporary files,
// says so on standard error and ends the process with status 1.
class MemoryReserve {
  public:
    // Takes the reserve and installs the new-handler; once, at the start of main.
    static void install() noexcept;
    // Installs the new-handler without a reserve, for the objects built before main (CLI11's
    // validators): no exception thrown there could be caught, so running out of memory ends the
    // process with status 1 and "内存不足" at once. Returns true, for use as an initialiser.
    static bool installBeforeMain() noexcept;
    // Takes the reserve again after it was used, where memory allows.
    static void restore() noexcept;
};

} // namespace velkaro::cli
