// What an import flow shows while it runs and when it ends, whoever shows it: the windows today,
// a console tomorrow. The flows decide every text; a view only puts it where its user looks.
#pragma once

#include "runtime/info_box.h"

// How a flow that began ends: its status text (null for a view without one), and the message
// with its icon.
struct FlowEnd {
    const char* status;
    const char* message;
    BoxIcon icon;
};

class FlowView {
  public:
    virtual ~FlowView() = default;

    // A refusal before any work began: the message alone, nothing else changes.
    virtual void Refuse(const char* message, BoxIcon icon) = 0;
    // Work begins: nothing that would start another run may be used until Finish.
    virtual void Begin() = 0;
    virtual void ShowStatus(const char* text) = 0;
    // The one end of every flow that began: the status, the controls back, then the message.
    virtual void Finish(const FlowEnd& end) = 0;
};
