// The base of everything a handler can receive as its sender.
#ifndef HOPLA_TOOLKIT_COMPONENT_H_
#define HOPLA_TOOLKIT_COMPONENT_H_

#include <functional>
#include <string>

namespace hopla {

class Component {
 public:
  explicit Component(std::string name) : name_(std::move(name)) {}
  virtual ~Component() = default;
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  const std::string& Name() const { return name_; }

 private:
  std::string name_;
};

// An event handler taking its sender, as every handler of the program does.
using NotifyEvent = std::function<void(Component& sender)>;

}  // namespace hopla

#endif  // HOPLA_TOOLKIT_COMPONENT_H_
