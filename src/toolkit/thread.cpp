#include "toolkit/thread.h"

namespace hopla {

void TThread::Start() {
  platform_.StartThread([self = shared_from_this()] {
    // Marks the end even when the body throws, so holders never wait on a
    // thread that is gone; the last reference then frees the object.
    struct EndMark {
      TThread& thread;
      ~EndMark() { thread.finished_.store(true, std::memory_order_release); }
    } end_mark{*self};
    self->Execute();
  });
}

}  // namespace hopla
