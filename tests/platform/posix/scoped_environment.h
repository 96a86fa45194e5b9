#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace vivo::platform {

// Points a variable of the environment elsewhere for the life of the object.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        Set(name, value);
    }
    ~ScopedEnvironment() { Set(name_, old_ ? old_->c_str() : nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    static void Set(const char* name, const char* value) { value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name); }
    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace vivo::platform
