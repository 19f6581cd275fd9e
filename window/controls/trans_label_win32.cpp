// TransLabel: a label that draws only its text, so that the window shows through around it.
#include "window/controls/trans_label_win32.h"

#include <variant>
#include <vector>

#include "window/controls/stored_colour_win32.h"

namespace {

constexpr char kClassName[] = "TovTransLabel";
constexpr int32_t kCaption = 0;  // property 8

bool RegisterLabelClass() {
    static ATOM atom = 0;
    if (atom == 0) {
        WNDCLASSA wc = {};
        wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = RuntimeInstance();
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        wc.lpszClassName = kClassName;
        atom = RegisterClassA(&wc);
    }
    return atom != 0;
}

UINT DrawFlags(const TransLabelProperties& p) {
    UINT flags = DT_NOCLIP;
    if (p.horizontalAlign == 1)
        flags |= DT_CENTER;
    else if (p.horizontalAlign == 2)
        flags |= DT_RIGHT;
    if (p.wordWrap) {
        flags |= DT_WORDBREAK | DT_VCENTER;
    } else {
        flags |= DT_SINGLELINE;
        if (p.verticalAlign == 1)
            flags |= DT_VCENTER;
        else if (p.verticalAlign == 2)
            flags |= DT_BOTTOM;
    }
    return flags;
}

}  // namespace

bool TransLabel::Create(const ControlCreateArgs& args) {
    const auto* stored = std::get_if<TransLabelProperties>(&args.record->properties);
    if (args.record->propertiesRefused || !RegisterLabelClass())
        return false;
    if (stored)
        settings_ = *stored;
    const std::string caption = TextOf(settings_.caption);
    // Labels take no focus: the tab-stop flag has no meaning for them.
    HWND hwnd = CreateWindowExA(
        WS_EX_TRANSPARENT, kClassName, caption.c_str(), WS_CHILD | WS_CLIPSIBLINGS | (args.style & WS_DISABLED),
        args.left, args.top, args.width, args.height, args.parent,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(args.controlNumber)), RuntimeInstance(), nullptr);
    if (hwnd == nullptr)
        return false;
    Attach(hwnd, args.windowId, args.record->id);
    font_.Make(settings_.font);
    return true;
}

PropertyKind TransLabel::ClassPropertyKind(int32_t index) const {
    return index == kCaption ? PropertyKind::kText : PropertyKind::kNone;
}

TaggedValue TransLabel::ReadClassProperty(int32_t index) {
    if (index == kCaption)
        return WindowTextValue(hwnd());
    return {};
}

void TransLabel::WriteClassProperty(int32_t index, const TaggedValue& value) {
    if (index == kCaption) {
        SetWindowTextA(hwnd(), value.text);
        Redraw();
    }
}

void TransLabel::Redraw() {
    // The old text lies on the parent's background: the parent repaints the label's area first.
    HWND parent = GetParent(hwnd());
    RECT r;
    GetWindowRect(hwnd(), &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    InvalidateRect(parent, &r, TRUE);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

LRESULT TransLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd(), &ps);
            Paint(dc);
            EndPaint(hwnd(), &ps);
            return 0;
        }
        default:
            return Control::HandleMessage(message, wParam, lParam);
    }
}

void TransLabel::Paint(HDC dc) {
    const int length = GetWindowTextLengthA(hwnd());
    if (length <= 0)
        return;
    std::vector<char> text(static_cast<size_t>(length) + 1);
    const int n = GetWindowTextA(hwnd(), text.data(), length + 1);
    RECT client;
    GetClientRect(hwnd(), &client);
    HGDIOBJ oldFont = SelectObject(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    const UINT flags = DrawFlags(settings_);
    // Effects draw an offset copy first: 1 a raised white edge, 2 a sunken grey one, 3 a black
    // shadow two pixels away.
    if (settings_.effect >= 1 && settings_.effect <= 3) {
        static const COLORREF kCopyColour[] = {RGB(255, 255, 255), RGB(128, 128, 128), RGB(0, 0, 0)};
        static const int kShift[] = {1, 1, 2};
        RECT copy = client;
        OffsetRect(&copy, kShift[settings_.effect - 1], kShift[settings_.effect - 1]);
        SetTextColor(dc, kCopyColour[settings_.effect - 1]);
        DrawTextA(dc, text.data(), n, &copy, flags);
    }
    SetTextColor(dc, ResolveColour(settings_.textColour));
    DrawTextA(dc, text.data(), n, &client, flags);
    SelectObject(dc, oldFont);
}
