// Looks one entry point up by name in a loaded library.
#pragma once

#include <dlfcn.h>

namespace tessaly {

template <class F>
void Resolve(void* library, const char* name, F& pointer) {
  pointer = reinterpret_cast<F>(dlsym(library, name));
}

}  // namespace tessaly
