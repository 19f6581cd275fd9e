// Message boxes read from outside their process.
#include "tests/e2e/driver/message_box.h"

#include <climits>

#include "tests/e2e/driver/controls.h"
#include "tests/e2e/driver/screen_pixels.h"
#include "tests/e2e/driver/window_search.h"

namespace {

bool IsStatic(HWND window) {
    return lstrcmpiA(ClassNameOf(window).c_str(), "Static") == 0;
}

bool IsIconStatic(HWND window) {
    return IsStatic(window) && (GetWindowLongA(window, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

// Per channel; system icons drawn by two processes of the same system are the same bitmaps, so
// the tolerance only absorbs rounding in the blending of edge pixels.
bool Near(uint32_t a, uint32_t b) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (d > 24 || d < -24)
            return false;
    }
    return true;
}

// Mismatching opaque pixels per thousand when the icon stands at (left, top) of the capture.
// Opaque pixels are those that look the same drawn on black and on white.
int MismatchPerMille(const Pixels& shown, const Pixels& onBlack, const Pixels& onWhite, int left, int top) {
    int opaque = 0;
    int wrong = 0;
    for (int y = 0; y < onBlack.height; ++y) {
        for (int x = 0; x < onBlack.width; ++x) {
            if (onBlack.at(x, y) != onWhite.at(x, y))
                continue;
            ++opaque;
            if (!Near(onBlack.at(x, y), shown.at(left + x, top + y)))
                ++wrong;
        }
    }
    return opaque == 0 ? 1000 : wrong * 1000 / opaque;
}

}  // namespace

const char* BoxIconName(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::kNone:
            return "none";
        case BoxIcon::kStop:
            return "stop";
        case BoxIcon::kExclamation:
            return "exclamation";
        case BoxIcon::kInformation:
            return "information";
        case BoxIcon::kUnknown:
            break;
    }
    return "unknown";
}

BoxIcon IconOfStyle(UINT style) {
    switch (style & MB_ICONMASK) {
        case MB_ICONHAND:
            return BoxIcon::kStop;
        case MB_ICONEXCLAMATION:
            return BoxIcon::kExclamation;
        case MB_ICONASTERISK:
            return BoxIcon::kInformation;
        case 0:
            return BoxIcon::kNone;
        default:
            return BoxIcon::kUnknown;
    }
}

HWND FindMessageBox(DWORD processId) {
    for (HWND window : TopLevelWindows(processId, true)) {
        if (ClassNameOf(window) != "#32770")
            continue;
        bool text = false;
        bool button = false;
        bool tree = false;
        for (HWND child : Descendants(window)) {
            const std::string name = ClassNameOf(child);
            if (lstrcmpiA(name.c_str(), "SysTreeView32") == 0)
                tree = true;
            else if (lstrcmpiA(name.c_str(), "Button") == 0)
                button = true;
            else if (IsStatic(child) && !IsIconStatic(child))
                text = true;
        }
        if (text && button && !tree)
            return window;
    }
    return nullptr;
}

namespace {

// The box's controls exist before its caption and text do: both are set while it initialises, and
// a loaded machine can be caught in between. Every box of the tool has both.
bool Settled(HWND box) {
    if (TextOf(box).empty())
        return false;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsStatic(child) && !IsIconStatic(child) && !TextOf(child).empty())
            return true;
    }
    return false;
}

}  // namespace

HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindMessageBox(processId)) != nullptr && Settled(box); }, timeoutMs);
    return box;
}

MessageBoxView ReadMessageBox(HWND box) {
    MessageBoxView view;
    view.window = box;
    view.title = TextOf(box);
    // The text static is 0xFFFF on Windows and 100 under Wine; the icon static 20 on Windows and
    // 1088 under Wine: the styles tell them apart on both.
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsIconStatic(child)) {
            // The handle means nothing in this process, but a static without one shows no icon.
            if (IsWindowVisible(child) && SendMessageA(child, STM_GETICON, 0, 0) != 0) {
                // A box that has only just appeared, or a window still closing over it, can leave
                // the icon's pixels unreadable for a moment: look again before giving up.
                view.icon = RecogniseIcon(child);
                for (int attempt = 0; view.icon == BoxIcon::kUnknown && attempt < 40; ++attempt) {
                    Sleep(50);
                    view.icon = RecogniseIcon(child);
                }
            }
        } else if (IsStatic(child)) {
            if (view.text.empty())
                view.text = TextOf(child);
        } else if (lstrcmpiA(ClassNameOf(child).c_str(), "Button") == 0 && IsWindowVisible(child)) {
            view.buttons.push_back(TextOf(child));
        }
    }
    return view;
}

BoxIcon RecogniseIcon(HWND iconStatic) {
    // Paint first: a box that has just appeared may not have drawn its icon yet.
    RedrawWindow(GetParent(iconStatic), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT rect;
    if (!GetWindowRect(iconStatic, &rect))
        return BoxIcon::kUnknown;
    const Pixels shown = CaptureScreen(rect);
    struct Candidate {
        BoxIcon kind;
        LPCSTR id;
    };
    const Candidate candidates[] = {
        {BoxIcon::kStop, IDI_HAND}, {BoxIcon::kExclamation, IDI_EXCLAMATION}, {BoxIcon::kInformation, IDI_ASTERISK}};
    BoxIcon best = BoxIcon::kUnknown;
    int bestScore = INT_MAX;
    for (const Candidate& candidate : candidates) {
        HICON icon = LoadIconA(nullptr, candidate.id);
        const Pixels onBlack = DrawIconPixels(icon, 0x000000);
        const Pixels onWhite = DrawIconPixels(icon, 0xFFFFFF);
        if (onBlack.empty() || shown.width < onBlack.width || shown.height < onBlack.height)
            continue;
        // The static draws the icon at its top left; a few positions more cost little and cover
        // a centred or framed icon.
        for (int top = 0; top + onBlack.height <= shown.height && top <= 8; ++top) {
            for (int left = 0; left + onBlack.width <= shown.width && left <= 8; ++left) {
                const int score = MismatchPerMille(shown, onBlack, onWhite, left, top);
                if (score < bestScore) {
                    bestScore = score;
                    best = candidate.kind;
                }
            }
        }
    }
    // The three icons differ in most of their pixels; a few percent off is still the same one.
    return bestScore <= 50 ? best : BoxIcon::kUnknown;
}

bool DismissMessageBox(HWND box) {
    return box && PostMessageA(box, WM_COMMAND, IDOK, 0);
}
