#pragma once
// Running C library calls whose error callback must not return (libjpeg,
// libpng). C++ exceptions cannot pass through the libraries' C frames (the
// 32-bit build's libraries have no unwind tables), so the callback long-jumps
// back to Guarded(), whose caller raises ImageError. The step given to Guarded()
// must own nothing that needs destruction, so that the jump skips no destructor;
// objects that own memory are made outside it.

#include <csetjmp>
#include <utility>

namespace kv {

// Runs `step`; false when the library jumped to `jump`. Kept out of line so that
// setjmp's frame is this function's alone and the caller's variables stay valid.
template <typename Step>
[[gnu::noinline]] bool Guarded(std::jmp_buf& jump, Step&& step) {
  if (setjmp(jump) != 0) return false;
  std::forward<Step>(step)();
  return true;
}

}  // namespace kv
