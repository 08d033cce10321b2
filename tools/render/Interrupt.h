#pragma once

// Ctrl-C as a request to stop: the first one asks the running renders to stop at their next
// block (their outputs are not written), a second one ends the program at once.

// Installs the handler; the previous one comes back when the guard goes.
class InterruptGuard {
public:
  InterruptGuard();
  ~InterruptGuard();
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

private:
  void (*previous)(int);
};

bool InterruptRequested();
