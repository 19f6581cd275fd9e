// The limits that writes of the common position and size properties apply.
#include "window/common_properties.h"

#include <cstdint>

#include <gtest/gtest.h>

namespace {

struct ClampCase {
    int32_t number;
    int32_t written;
    int32_t stored;
};

TEST(CommonPropertiesTest, WritesAreClampedByProperty) {
    const ClampCase cases[] = {
        {kPropertyWidth, 40000, 32627},
        {kPropertyWidth, -5, 0},
        {kPropertyWidth, 32627, 32627},
        {kPropertyWidth, 32628, 32627},
        {kPropertyHeight, INT32_MAX, 32627},
        {kPropertyHeight, INT32_MIN, 0},
        {kPropertyHeight, 0, 0},
        {kPropertyHeight, 217, 217},
        {kPropertyLeft, 40000, 32627},
        {kPropertyLeft, -40000, -32627},
        {kPropertyLeft, -5, -5},
        {kPropertyLeft, -32627, -32627},
        {kPropertyTop, -32628, -32627},
        {kPropertyTop, INT32_MIN, -32627},
        {kPropertyTop, 275, 275},
        {kPropertyTop, 32628, 32627},
        // Other properties keep what was written.
        {kPropertyVisible, 40000, 40000},
        {kPropertyDisabled, -5, -5},
        {kFirstClassProperty, 40000, 40000},
    };
    for (const ClampCase& c : cases) {
        EXPECT_EQ(ClampCommonProperty(c.number, c.written), c.stored)
            << "property " << c.number << " written " << c.written;
    }
}

}  // namespace
