// Marks an import as running, so that the windows refuse to close under it: closing the main
// window would delete the work directory under a running DISM, and closing the custom-import
// window would destroy it under its own running handler.
#pragma once

class ImportRunning {
public:
    ImportRunning() { ++depth_; }
    ~ImportRunning() { --depth_; }
    ImportRunning(const ImportRunning&) = delete;
    ImportRunning& operator=(const ImportRunning&) = delete;

    static bool Any() { return depth_ > 0; }

private:
    static inline int depth_ = 0;
};
