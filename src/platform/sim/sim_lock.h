// The simulated desktop's one lock, and how ThreadSanitizer sees it.
//
// Every call into the simulated desktop takes this lock. Were the sanitizer
// to see it, it would take it for an ordering between the program's threads
// wherever both call the platform (the clock, the cursor) in between, and
// miss their races. Built with ThreadSanitizer, the lock is one it does not
// see: neither taking it nor what the desktop reads and writes while it is
// held counts; the orderings a real PC gives (an event set and taken, a
// thread's start and end, input queued and served, a sent message answered)
// are told to it instead, where they happen (RealOrdering). Otherwise it is
// a plain std::mutex.
#ifndef HOPLA_PLATFORM_SIM_SIM_LOCK_H_
#define HOPLA_PLATFORM_SIM_SIM_LOCK_H_

#include <condition_variable>
#include <mutex>

#if defined(__SANITIZE_THREAD__)
extern "C" {
void AnnotateIgnoreSyncBegin(const char* file, int line);
void AnnotateIgnoreSyncEnd(const char* file, int line);
void AnnotateIgnoreReadsBegin(const char* file, int line);
void AnnotateIgnoreReadsEnd(const char* file, int line);
void AnnotateIgnoreWritesBegin(const char* file, int line);
void AnnotateIgnoreWritesEnd(const char* file, int line);
void AnnotateHappensBefore(const char* file, int line, const volatile void* at);
void AnnotateHappensAfter(const char* file, int line, const volatile void* at);
}
#endif

namespace hopla::sim {

#if defined(__SANITIZE_THREAD__)

// The calling thread's synchronisation and memory accesses stop being seen,
// or are seen again. Nests.
inline void StopSeeing() {
  AnnotateIgnoreSyncBegin(__FILE__, __LINE__);
  AnnotateIgnoreReadsBegin(__FILE__, __LINE__);
  AnnotateIgnoreWritesBegin(__FILE__, __LINE__);
}
inline void SeeAgain() {
  AnnotateIgnoreWritesEnd(__FILE__, __LINE__);
  AnnotateIgnoreReadsEnd(__FILE__, __LINE__);
  AnnotateIgnoreSyncEnd(__FILE__, __LINE__);
}

// While it lives, nothing the thread does is seen.
class Unseen {
 public:
  Unseen() { StopSeeing(); }
  ~Unseen() { SeeAgain(); }
  Unseen(const Unseen&) = delete;
  Unseen& operator=(const Unseen&) = delete;
};

// Inside the lock, for a moment seen again (a thread's start).
class SeenAgain {
 public:
  SeenAgain() { SeeAgain(); }
  ~SeenAgain() { StopSeeing(); }
  SeenAgain(const SeenAgain&) = delete;
  SeenAgain& operator=(const SeenAgain&) = delete;
};

class SimMutex {
 public:
  void lock() {
    StopSeeing();
    mutex_.lock();
  }
  bool try_lock() {
    StopSeeing();
    if (mutex_.try_lock()) return true;
    SeeAgain();
    return false;
  }
  void unlock() {
    mutex_.unlock();
    SeeAgain();
  }

 private:
  std::mutex mutex_;
};
using SimCondition = std::condition_variable_any;

// An ordering a real PC gives: what one thread did before
// ReleaseOrdering(at) comes before what another does after
// AcquireOrdering(at). Outside the lock; the ...Locked ones with it held.
inline void ReleaseOrdering(const void* at) {
  AnnotateHappensBefore(__FILE__, __LINE__, at);
}
inline void AcquireOrdering(const void* at) {
  AnnotateHappensAfter(__FILE__, __LINE__, at);
}
inline void ReleaseOrderingLocked(const void* at) {
  AnnotateIgnoreSyncEnd(__FILE__, __LINE__);
  AnnotateHappensBefore(__FILE__, __LINE__, at);
  AnnotateIgnoreSyncBegin(__FILE__, __LINE__);
}
inline void AcquireOrderingLocked(const void* at) {
  AnnotateIgnoreSyncEnd(__FILE__, __LINE__);
  AnnotateHappensAfter(__FILE__, __LINE__, at);
  AnnotateIgnoreSyncBegin(__FILE__, __LINE__);
}

#else

class Unseen {
 public:
  // User-provided: a guard that does nothing here is still no unused
  // variable.
  Unseen() {}  // NOLINT(modernize-use-equals-default)
  Unseen(const Unseen&) = delete;
  Unseen& operator=(const Unseen&) = delete;
};
class SeenAgain {
 public:
  SeenAgain() {}  // NOLINT(modernize-use-equals-default)
  SeenAgain(const SeenAgain&) = delete;
  SeenAgain& operator=(const SeenAgain&) = delete;
};
using SimMutex = std::mutex;
using SimCondition = std::condition_variable;
inline void ReleaseOrdering(const void*) {}
inline void AcquireOrdering(const void*) {}
inline void ReleaseOrderingLocked(const void*) {}
inline void AcquireOrderingLocked(const void*) {}

#endif

using SimLock = std::unique_lock<SimMutex>;
using SimGuard = std::lock_guard<SimMutex>;

}  // namespace hopla::sim

#endif  // HOPLA_PLATFORM_SIM_SIM_LOCK_H_
