// The custom-import window as the custom import uses it.
#pragma once

#include "runtime/owned.h"

// Contents of 编辑框1 (the target's Windows directory) and 编辑框2 (the driver folder), as typed.
OwnedText ReadCustomTargetText();
OwnedText ReadCustomDriverFolderText();
// 按钮3: disabled with "正在导入" while DISM runs, enabled with "开始导入" otherwise.
void SetCustomStartButtonRunning(bool running);
