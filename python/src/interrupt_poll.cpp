#include "interrupt_poll.h"

#include <pybind11/pybind11.h>

namespace ixo::python {

InterruptPoll::InterruptPoll(std::chrono::milliseconds interval)
    : interval_(interval), next_look_(std::chrono::steady_clock::now() + interval) {}

bool InterruptPoll::Poll() {
  if (interrupted_) return true;
  const auto now = std::chrono::steady_clock::now();
  if (now < next_look_) return false;
  next_look_ = now + interval_;
  pybind11::gil_scoped_acquire gil;
  // Runs the handlers of the signals that arrived meanwhile (on the main
  // thread only; elsewhere it returns 0 at once). A handler that raises
  // leaves its exception set and makes this -1.
  interrupted_ = PyErr_CheckSignals() != 0;
  return interrupted_;
}

void InterruptPoll::ThrowIfInterrupted() const {
  if (interrupted_) throw pybind11::error_already_set();
}

}  // namespace ixo::python
