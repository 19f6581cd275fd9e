// The import flows against a recording view: what a refused start shows, and that it changes
// nothing else (no controls greyed, no status, no run).
#include "app/flows/import_flows.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/offline_windows.h"

namespace {

class RecordingView : public FlowView {
  public:
    void Refuse(const char* message, BoxIcon icon) override { Note("refuse", message, icon); }
    void Begin() override { events.push_back("begin"); }
    void ShowStatus(const char* text) override { events.push_back(std::string("status ") + text); }
    void Finish(const FlowEnd& end) override { Note("finish", end.message, end.icon); }

    std::vector<std::string> events;

  private:
    void Note(const char* what, const char* message, BoxIcon icon) {
        events.push_back(std::string(what) + " " + message + " " + std::to_string(static_cast<int>(icon)));
    }
};

TEST(ImportFlows, RefusedStartsShowOneBoxAndChangeNothingElse) {
    OfflineWindowsRoot windows8({FakeCmd::kWin81, FakeCmd::kNone, true});
    OfflineWindowsRoot noExplorer({FakeCmd::kWin7x64, FakeCmd::kNone, false});
    TempFolder drivers;
    ASSERT_TRUE(windows8.ok() && noExplorer.ok() && drivers.ok());
    const std::string windows8Root = windows8.path() + "\\";
    const std::string noExplorerWindows = noExplorer.path() + "\\Windows";
    struct Case {
        const char* name;
        void (*run)(RecordingView&, const Case&);
        std::string first;
        std::string second;
        std::string expected;
    };
    const Case cases[] = {
        {"no Windows directory", [](RecordingView& v, const Case& c) { RunCustomImport(v, "", c.second.c_str()); }, "",
         drivers.path(), "refuse 请选择目标系统的Windows目录！ 48"},
        {"no driver folder", [](RecordingView& v, const Case& c) { RunCustomImport(v, c.first.c_str(), ""); },
         noExplorerWindows, "", "refuse 请选择驱动所在目录！ 48"},
        {"no Explorer.exe",
         [](RecordingView& v, const Case& c) { RunCustomImport(v, c.first.c_str(), c.second.c_str()); },
         noExplorerWindows, drivers.path(), "refuse 请选择正确的Windows系统！ 48"},
        {"not Windows 7, precise",
         [](RecordingView& v, const Case& c) { RunTargetInjection(v, c.first.c_str(), true); }, windows8Root, "",
         "refuse 本功能仅适合Windows7系统，请选择正确的系统 16"},
        {"not Windows 7, fuzzy", [](RecordingView& v, const Case& c) { RunTargetInjection(v, c.first.c_str(), false); },
         windows8Root, "", "refuse 本功能仅适合Windows7系统，请选择正确的系统 16"},
    };
    for (const Case& c : cases) {
        RecordingView view;
        c.run(view, c);
        EXPECT_EQ(view.events, std::vector<std::string>{c.expected}) << c.name;
    }
}

}  // namespace
