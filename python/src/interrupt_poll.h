// Ctrl+C during a long computation that runs without the GIL: the library asks
// the calling thread between replications whether to stop, and InterruptPoll
// answers by looking at Python's pending signals now and then.
#pragma once

#include <chrono>

namespace ixo::python {

class InterruptPoll {
 public:
  // Looks at the signals at most once per `interval`, so that a quick loop
  // does not fight other Python threads for the GIL at every replication.
  explicit InterruptPoll(std::chrono::milliseconds interval = std::chrono::milliseconds(50));

  // True once a signal handler has raised (Ctrl+C: KeyboardInterrupt), and
  // from then on. Must be called on the thread that released the GIL, without
  // holding it; it takes the GIL for the look and gives it back. The raised
  // exception stays pending in the thread's error indicator, for
  // ThrowIfInterrupted.
  bool Poll();

  // With the GIL held again: throws pybind11::error_already_set (the
  // KeyboardInterrupt) when Poll has seen a signal handler raise.
  void ThrowIfInterrupted() const;

 private:
  std::chrono::milliseconds interval_;
  std::chrono::steady_clock::time_point next_look_;
  bool interrupted_ = false;
};

}  // namespace ixo::python
