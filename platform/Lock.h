#pragma once

#include <cstddef>

// A recursive mutual-exclusion lock: the thread that holds it may take it again.
// An operating-system critical section on Windows, std::recursive_mutex elsewhere.
class IRecursiveLock {
public:
  IRecursiveLock();
  ~IRecursiveLock();
  IRecursiveLock(const IRecursiveLock&) = delete;
  IRecursiveLock& operator=(const IRecursiveLock&) = delete;

  void Enter();
  void Leave();

private:
  // Room for the platform's lock object, so this header needs no system header.
  alignas(std::max_align_t) unsigned char storage[64];
};

// Holds a lock for the lifetime of the guard.
class IScopedLock {
public:
  explicit IScopedLock(IRecursiveLock& lock) : lock(lock) { lock.Enter(); }
  ~IScopedLock() { lock.Leave(); }
  IScopedLock(const IScopedLock&) = delete;
  IScopedLock& operator=(const IScopedLock&) = delete;

private:
  IRecursiveLock& lock;
};

// Process-wide locks, each made on first use (safely against concurrent first calls) and
// released when the library is unloaded.
enum class ProcessLockId { Creation, ImageCache, FontCache };
IRecursiveLock& ProcessLock(ProcessLockId id);
