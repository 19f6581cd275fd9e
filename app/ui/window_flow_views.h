// The two windows as the import flows see them. Windows only.
#pragma once

#include "app/flows/flow_view.h"

// The main window: the status bar's first part, and 按钮1, 按钮2, 按钮3, 单选框1 and 单选框2
// greyed out while a flow runs.
class MainWindowView : public FlowView {
  public:
    void Refuse(const char* message, BoxIcon icon) override;
    void Begin() override;
    void ShowStatus(const char* text) override;
    void Finish(const FlowEnd& end) override;
};

// The custom-import window: 按钮3 disabled with "正在导入" while DISM runs; no status bar.
class CustomWindowView : public FlowView {
  public:
    void Refuse(const char* message, BoxIcon icon) override;
    void Begin() override;
    void ShowStatus(const char*) override {}
    void Finish(const FlowEnd& end) override;
};
