#pragma once

#include <functional>
#include <utility>

// Runs its task when the scope ends, however it ends: what a handler puts up while it
// works (a busy label, a swapped button, a disabled panel) goes back on an error too.
// The task must not throw.
class TOnExit {
 public:
  explicit TOnExit(std::function<void()> task) : task_(std::move(task)) {}
  ~TOnExit() { task_(); }
  TOnExit(const TOnExit&) = delete;
  TOnExit& operator=(const TOnExit&) = delete;

 private:
  std::function<void()> task_;
};
