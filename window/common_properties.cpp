// Value limits of the common position and size properties.
#include "window/common_properties.h"

int32_t ClampPosition(int32_t value) {
    if (value > kCoordinateLimit)
        return kCoordinateLimit;
    if (value < -kCoordinateLimit)
        return -kCoordinateLimit;
    return value;
}

int32_t ClampSize(int32_t value) {
    if (value > kCoordinateLimit)
        return kCoordinateLimit;
    return value < 0 ? 0 : value;
}

int32_t ClampCommonProperty(int32_t number, int32_t value) {
    switch (number) {
        case kPropertyLeft:
        case kPropertyTop:
            return ClampPosition(value);
        case kPropertyWidth:
        case kPropertyHeight:
            return ClampSize(value);
        default:
            return value;
    }
}
