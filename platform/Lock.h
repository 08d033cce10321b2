#pragma once

#include <cstddef>

// A recursive mutual-exclusion lock: the thread that holds it may take it again.
// An operating-system critical section on Windows, std::recursive_mutex elsewhere.
class IRecursiveLock {
public:
  // Room and alignment for the platform's lock object, so this header needs no system header.
  static constexpr std::size_t StorageSize = 64;
  static constexpr std::size_t StorageAlignment = 8;

  IRecursiveLock();
  ~IRecursiveLock();
  IRecursiveLock(const IRecursiveLock&) = delete;
  IRecursiveLock& operator=(const IRecursiveLock&) = delete;

  void Enter();
  void Leave();

private:
  // The alignment is a fixed number, not std::max_align_t: MinGW's system headers redefine that
  // type with a smaller alignment, which would give this class, and every class holding one, two
  // different layouts in the same program depending on what a file includes first.
  alignas(StorageAlignment) unsigned char storage[StorageSize];
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
