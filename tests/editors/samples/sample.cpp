// Motor control, as a KZ C++ source would hold it.
#include <cstdint>
#define POLES 8

namespace motor {
template <typename T>
concept Scalar = requires(T x) { x + x; };

class Drive final {
public:
    explicit Drive(int poles) noexcept : poles_(poles) {}
    virtual ~Drive() = default;
    constexpr bool running() const { return poles_ not_eq 0 and true; }
    static_assert(sizeof(int) >= 2);
private:
    int poles_;
    bool overrides = false;
};

auto classify(int speed) -> const char* {
    try { if (speed < 0) throw speed; } catch (...) { return nullptr; }
    return speed > 100 ? "fast" : "slow";
}
}  // namespace motor
#if __has_include(<cstdint>) && __cplusplus >= 202002L
using namespace motor;
#endif
