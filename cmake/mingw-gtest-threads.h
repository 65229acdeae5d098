// GoogleTest's Windows build wants std::mutex and std::condition_variable, which the
// C++ library of MinGW-w64's win32 thread model (GCC 12) does not provide. This header
// is forced into GoogleTest and the Windows test executables only, never into the
// program, and supplies the two on Windows' own slim locks.
#pragma once
#if defined(__MINGW32__) && !defined(_GLIBCXX_HAS_GTHREADS)
#include <windows.h>

#include <mutex>

namespace std {

class mutex {
 public:
  mutex() = default;
  mutex(const mutex&) = delete;
  mutex& operator=(const mutex&) = delete;
  void lock() { AcquireSRWLockExclusive(&m_lock); }
  bool try_lock() { return TryAcquireSRWLockExclusive(&m_lock) != 0; }
  void unlock() { ReleaseSRWLockExclusive(&m_lock); }
  SRWLOCK* native_handle() { return &m_lock; }

 private:
  SRWLOCK m_lock = SRWLOCK_INIT;
};

class condition_variable {
 public:
  condition_variable() = default;
  condition_variable(const condition_variable&) = delete;
  condition_variable& operator=(const condition_variable&) = delete;
  void notify_one() { WakeConditionVariable(&m_cv); }
  void notify_all() { WakeAllConditionVariable(&m_cv); }
  void wait(unique_lock<mutex>& lock) { SleepConditionVariableSRW(&m_cv, lock.mutex()->native_handle(), INFINITE, 0); }
  template <class Predicate>
  void wait(unique_lock<mutex>& lock, Predicate ready) {
    while (!ready()) wait(lock);
  }

 private:
  CONDITION_VARIABLE m_cv = CONDITION_VARIABLE_INIT;
};

}  // namespace std
#endif
