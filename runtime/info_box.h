// The message box command: any basic value as the message, the box task-modal unless the caller
// asks for a system-modal one.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/value.h"

// The icons of the program's boxes, as the flag bits that choose them (with the OK button alone).
enum class BoxIcon : int32_t {
    kStop = 0x10,
    kExclamation = 0x30,
    kInformation = 0x40,
};

// Shows the box and returns the button pressed: 0 OK, 1 Cancel, 2 Abort, 3 Retry, 4 Ignore,
// 5 Yes, 6 No, and 0 for anything else. The title defaults to "信息："; the owner is a window
// handle (the window runtime turns window references into handles), null for none.
int32_t InfoBox(const TaggedValue& message,
                int32_t flags,
                std::optional<const char*> title = std::nullopt,
                void* owner = nullptr);
