// What the imports say when DISM failed.
#include <gtest/gtest.h>

#include "app/inject/dism_outcome.h"

namespace {

TEST(DismFailureMessage, NamesTheFlowAndTheCode) {
    EXPECT_STREQ(DismFailureMessage("精准导入驱动失败", true, 2).c_str(), "精准导入驱动失败,DISM错误代码:2！");
    EXPECT_STREQ(DismFailureMessage("模糊导入驱动失败", true, 87).c_str(), "模糊导入驱动失败,DISM错误代码:87！");
    EXPECT_STREQ(DismFailureMessage("自定义导入驱动失败", true, 0xC0000005).c_str(),
                 "自定义导入驱动失败,DISM错误代码:0xC0000005！");
    EXPECT_STREQ(DismFailureMessage("精准导入驱动失败", false, 0).c_str(), "精准导入驱动失败,DISM无法运行！");
}

}  // namespace
