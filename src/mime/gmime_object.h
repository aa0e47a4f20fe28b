#pragma once

#include <gmime/gmime.h>

#include <mutex>

namespace velmor {

// Owns one GObject reference.
template <typename T>
struct GObjectRef {
    explicit GObjectRef(T* object) : get(object) {}
    ~GObjectRef() {
        if (get != nullptr) {
            g_object_unref(get);
        }
    }
    GObjectRef(const GObjectRef&) = delete;
    GObjectRef& operator=(const GObjectRef&) = delete;
    T* get;
};

inline void InitializeGMime() {
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

}  // namespace velmor
