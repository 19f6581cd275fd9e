// Work that the program must not be closed under. An import: closing the main window would
// delete the work directory under a running DISM, and closing the custom-import window would
// destroy it under its own running handler. A folder dialog: its answer goes to the window that
// opened it.
#pragma once

class CloseGuard {
  public:
    CloseGuard() { ++depth_; }
    ~CloseGuard() { --depth_; }
    CloseGuard(const CloseGuard&) = delete;
    CloseGuard& operator=(const CloseGuard&) = delete;

    static bool Any() { return depth_ > 0; }

  private:
    static inline int depth_ = 0;
};
