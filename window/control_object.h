// The live object behind a loaded control; the control classes derive from it.
#pragma once

// The window list owns these without knowing the classes: each class releases its own window
// resources in its destructor.
class ControlObject {
  public:
    ControlObject() = default;
    ControlObject(const ControlObject&) = delete;
    ControlObject& operator=(const ControlObject&) = delete;
    virtual ~ControlObject() = default;
};
