// The window itself: the top-level window that holds a loaded form's controls.
#pragma once

#include <utility>
#include <vector>

#include "window/controls/control_win32.h"
#include "window/controls/stored_colour_win32.h"

class WindowFrame : public Control {
  public:
    bool Create(const ControlCreateArgs& args) override;
    void OnWindowGone() override;

    const WindowProperties& settings() const { return settings_; }
    // ShowWindow command of the stored position setting.
    int ShowCommand() const;

    // A modal load disables the other parentless windows; closing enables each again, unless it
    // had been disabled before.
    void DisableOtherWindows();
    void EnableOtherWindows();

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void Close();

    WindowProperties settings_;
    ColourBrush background_;
    HFONT font_ = nullptr;
    HWND lastFocus_ = nullptr;
    std::vector<HWND> disabled_;
};

// The registered window class of every loaded window.
inline constexpr char kWindowFrameClass[] = "TovFormWindow";

// The frame of a loaded window, or null.
WindowFrame* FrameOf(const LoadedWindow& window);
