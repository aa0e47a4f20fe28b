#pragma once

#include <cstdlib>
#include <ctime>
#include <string>

namespace velmor::test {

// Sets TZ for the life of the object, so that item dates have known texts.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        const char* old = std::getenv("TZ");
        hadOld_ = old != nullptr;
        old_ = old ? old : "";
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (hadOld_) {
            setenv("TZ", old_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::string old_;
    bool hadOld_ = false;
};

}  // namespace velmor::test
