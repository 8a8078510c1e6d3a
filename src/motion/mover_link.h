// The mover threads' way back to the window. A mover may still be finishing
// its pass when the window goes away; once the window has let go, the link
// answers as if nothing were ticked and forwards nothing.
#ifndef HOPLA_MOTION_MOVER_LINK_H_
#define HOPLA_MOTION_MOVER_LINK_H_

#include <mutex>

namespace hopla {

// What the mover needs of the main window.
class MoverSite {
 public:
  virtual ~MoverSite() = default;
  virtual bool TurnAtEdges() const = 0;  // OrikaesiCheckBox
  // A brake strength other than none and at least one kind selected.
  virtual bool BrakeWanted() const = 0;
  // SpeedBarChange: StepDelay and StepPixels as the speed slider says.
  virtual void ApplySpeedBar() = 0;
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

  bool TurnAtEdges() {
    std::lock_guard lock(mutex_);
    return site_ != nullptr && site_->TurnAtEdges();
  }
  bool BrakeWanted() {
    std::lock_guard lock(mutex_);
    return site_ != nullptr && site_->BrakeWanted();
  }
  void ApplySpeedBar() {
    std::lock_guard lock(mutex_);
    if (site_ != nullptr) site_->ApplySpeedBar();
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
