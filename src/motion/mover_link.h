// The mover threads' one word back to the window: the walk has ended. What
// a pass needs it reads from the shared state; this is the only call up. A
// mover may still be finishing its pass when the window goes away; once the
// window has let go, the link forwards nothing.
#ifndef HOPLA_MOTION_MOVER_LINK_H_
#define HOPLA_MOTION_MOVER_LINK_H_

#include <mutex>

namespace hopla {

// What the mover needs of the main window.
class MoverSite {
 public:
  virtual ~MoverSite() = default;
  // The thread's last act: the execution timer's countdown starts now.
  virtual void MoverEnded() = 0;
};

class MoverLink {
 public:
  explicit MoverLink(MoverSite& site) : site_(&site) {}
  MoverLink(const MoverLink&) = delete;
  MoverLink& operator=(const MoverLink&) = delete;

  // The window lets go; returns once no call through the link is running.
  void Detach() {
    std::lock_guard lock(mutex_);
    site_ = nullptr;
  }

  void MoverEnded() {
    std::lock_guard lock(mutex_);
    if (site_ != nullptr) site_->MoverEnded();
  }

 private:
  std::mutex mutex_;
  MoverSite* site_;
};

}  // namespace hopla

#endif  // HOPLA_MOTION_MOVER_LINK_H_
