// The window enumeration that three searches share (the corner grab, the
// mouse software, JoyToKey's window): one pass over every top-level window
// with one callback, which the engine owns. JoyToKey runs it from below the
// engine through this interface.
#ifndef HOPLA_SHARED_WINDOW_SEARCH_H_
#define HOPLA_SHARED_WINDOW_SEARCH_H_

namespace hopla {

class WindowSearch {
 public:
  virtual ~WindowSearch() = default;
  // Enumerates every top-level window with the shared callback: afterwards
  // JoyToKeyWindow is the last window titled as JoyToKey's while its use is
  // ticked (the other searches' results likewise).
  virtual void EnumerateAll() = 0;
};

}  // namespace hopla

#endif  // HOPLA_SHARED_WINDOW_SEARCH_H_
