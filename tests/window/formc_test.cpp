// The form compiler: the bytes it writes, what the reader makes of them, and its complaints.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/ui/form_routines.h"
#include "tools/formc/form_compiler.h"
#include "window/form_description.h"

namespace {

// The tests' sources are ASCII; the real compiler converts to GBK, which leaves ASCII unchanged.
bool AsciiOnly(std::string_view text, std::string& out) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    out.assign(text);
    return true;
}

std::vector<uint8_t> FromHex(const char* hex) {
    std::vector<uint8_t> bytes;
    int pending = -1;
    for (const char* p = hex; *p; ++p) {
        int digit;
        if (*p >= '0' && *p <= '9')
            digit = *p - '0';
        else if (*p >= 'A' && *p <= 'F')
            digit = *p - 'A' + 10;
        else
            continue;
        if (pending < 0) {
            pending = digit;
        } else {
            bytes.push_back(static_cast<uint8_t>(pending * 16 + digit));
            pending = -1;
        }
    }
    return bytes;
}

std::string Str(FormBytes bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// The records point into the bytes, which therefore travel with them.
struct Compiled {
    std::vector<uint8_t> bytes;
    FormDescription form;
};

Compiled CompileAndRead(const char* source) {
    Compiled compiled;
    const FormCompileResult result = CompileFormSource(source, AsciiOnly);
    EXPECT_TRUE(result.ok) << result.error;
    compiled.bytes = result.description;
    FormReadResult read = ReadFormDescription(compiled.bytes, kFormRoutineCount);
    EXPECT_TRUE(read.ok) << read.error << " at " << read.errorOffset;
    compiled.form = std::move(read.form);
    return compiled;
}

TEST(FormCompiler, WritesTheStoredLayoutByteForByte) {
    const char* source = R"(
        window 0x52000001 0x06000001   # a version-1 window with one button
            version 1
            title "T"
            control 0x16000002 Button b
                caption "OK"
                on clicked RunCustomImport
            end
        end
    )";
    const std::vector<uint8_t> expected = FromHex(
        // Directory: 8 bytes of body, one identifier, one slot.
        "08000000 01000052 00000000"
        // Window record: designer values, two empty texts, two controls, table of 346 bytes.
        "00000000 00000000 00000000 00000000 02000000 5A010000"
        // Control identifiers, then record offsets into the record area.
        "01000006 02000016 00000000 B8000000"
        // Record 0, 180 bytes: window class, no link, reserved, empty name and second name, live
        // slot, geometry, cursor slot, container, no children, default cursor, empty tag,
        // reserved, flags, tab number, no events, five reserved.
        "B4000000 01000100 00000000 00000000 00000000 00000000 00000000 00 00 00000000"
        "00000000 00000000 00000000 00000000 00000000 00000000 00000000 04000000 00000000"
        "00 00000000 00000000 00000000 00000000"
        "00000000 00000000 00000000 00000000 00000000"
        // Window settings of version 1: border fixed, 0, button face, no maximise or minimise box,
        // control box, stored position, movable, then five zeros; picture, two blocks, title, help.
        "01000000 02000000 00000000 000000FF 00000000 00000000 01000000 00000000 01000000"
        "00000000 00000000 00000000 00000000 00000000"
        "00000000 00000000 00000000 01000000 54 00000000"
        // Record 1, 142 bytes: button "b", clicked (event 0) bound to routine 4.
        "8E000000 0B000100 00000000 00000000 00000000 00000000 00000000 6200 00 00000000"
        "00000000 00000000 00000000 00000000 00000000 00000000 00000000 04000000 00000000"
        "00 00000000 00000000 00000000 01000000 00000000 04000000"
        "00000000 00000000 00000000 00000000 00000000"
        // Button settings: version 1, normal, centred both ways, no picture, GUI font, caption.
        "01000000 00000000 01000000 01000000 00000000 00000000 02000000 4F4B");
    const FormCompileResult result = CompileFormSource(source, AsciiOnly);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.description, expected);
}

TEST(FormCompiler, EverySettingReachesTheReader) {
    const Compiled compiled = CompileAndRead(R"(
window 0x52000007 0x06000010
    designer 11 12
    rect -5 6 700 800
    flags visible disabled
    tab-order 3
    cursor 32512
    tag "w"
    title "Title"
    class-name "Cls"
    help-file "h.hlp"
    border resizable
    selection-12 7
    background 0x123456
    maximise-button yes
    minimise-button yes
    control-box no
    position maximised
    movable no
    selection-14 2
    enter-moves-focus yes
    esc-closes yes
    f1-help yes
    integer-25 -1
    taskbar no
    logical-27 yes
    selection-28 3
    always-on-top yes
    logical-30 yes
    on close-request none
    on resized RemoveWorkDirectory
    control 0x16000011 Button btn
        type default
        align right
        valign bottom
        font height -20 width 3 weight 700 italic underline strike-out charset 1 quality 2 face "Arial"
        caption "Go"
        on got-focus BrowseDriverFolder
    end
    control 0x16000012 RadioBox rb
        push-like yes
        flat yes
        text-on-left yes
        align right
        valign top
        text-colour white
        background black
        selected yes
        caption "R"
    end
    control 0x16000013 TransLabel lbl
        container 0x16000015
        effect 3
        text-colour 0xFF
        align centre
        valign bottom
        word-wrap yes
        caption "L"
    end
    control 0x16000014 StatusBar sb
        link 0x16000016
        placement free
        size-grip yes
        background 0x10
        part width 100 style raised icon 2 text "a" tooltip "tip"
        part text "b"
    end
    control 0x16000015 EditBox ed
        children 0x16000013 0 0x16000011
        cursor none
    end
    control 0x16000016 StatusBar sb2
    end
end
)");
    const FormDescription& form = compiled.form;
    ASSERT_EQ(form.windows.size(), 1u);
    const WindowRecord& window = form.windows[0];
    EXPECT_EQ(window.id, 0x52000007u);
    EXPECT_EQ(window.designerValue1, 11u);
    EXPECT_EQ(window.designerValue2, 12u);
    ASSERT_EQ(window.controls.size(), 7u);

    const ControlRecord& self = window.controls[0];
    EXPECT_EQ(self.id, 0x06000010u);
    EXPECT_EQ(self.left, -5);
    EXPECT_EQ(self.top, 6);
    EXPECT_EQ(self.width, 700);
    EXPECT_EQ(self.height, 800);
    EXPECT_EQ(self.flags, kControlVisible | kControlDisabled);
    EXPECT_EQ(self.tabOrder, 3u);
    EXPECT_EQ(Str(self.cursor), std::string("\x00\x7F\x00\x00", 4));
    EXPECT_EQ(Str(self.tag), "w");
    ASSERT_EQ(self.events.size(), 2u);
    EXPECT_EQ(self.events[0].event, 12);
    EXPECT_EQ(self.events[0].routine, kNoFormRoutine);
    EXPECT_EQ(self.events[1].event, 4);
    EXPECT_EQ(self.events[1].routine, static_cast<uint32_t>(FormRoutine::kRemoveWorkDirectory));
    const WindowProperties& w = std::get<WindowProperties>(self.properties);
    const uint32_t windowValues[] = {w.version,        w.border,         w.selection12,     w.backgroundColour,
                                     w.maximizeButton, w.minimizeButton, w.controlBox,      w.position,
                                     w.movable,        w.selection14,    w.enterMovesFocus, w.escCloses,
                                     w.f1OpensHelp,    w.integer25,      w.showInTaskbar,   w.logical27,
                                     w.selection28,    w.alwaysOnTop,    w.logical30};
    const uint32_t expectedWindow[] = {6, 1, 7, 0x123456, 1, 1, 0, 3, 0, 2, 1, 1, 1, 0xFFFFFFFF, 0, 1, 3, 1, 1};
    for (size_t i = 0; i < std::size(expectedWindow); ++i)
        EXPECT_EQ(windowValues[i], expectedWindow[i]) << "window setting " << i;
    EXPECT_EQ(Str(w.title), "Title");
    EXPECT_EQ(Str(w.className), "Cls");
    EXPECT_EQ(Str(w.helpFile), "h.hlp");

    const ControlRecord& btn = window.controls[1];
    EXPECT_EQ(Str(btn.name), "btn");
    ASSERT_EQ(btn.events.size(), 1u);
    EXPECT_EQ(btn.events[0].event, -7);
    const ButtonProperties& b = std::get<ButtonProperties>(btn.properties);
    EXPECT_EQ(b.type, 1u);
    EXPECT_EQ(b.horizontalAlign, 2u);
    EXPECT_EQ(b.verticalAlign, 2u);
    EXPECT_EQ(Str(b.caption), "Go");
    ASSERT_TRUE(HasStoredFont(b.font));
    std::string font(60, '\0');
    font.replace(0, 8, std::string("\xEC\xFF\xFF\xFF\x03\x00\x00\x00", 8));
    font.replace(16, 12, std::string("\xBC\x02\x00\x00\x01\x01\x01\x01\x00\x00\x02\x00", 12));
    font.replace(28, 5, "Arial");
    EXPECT_EQ(Str(b.font), font);

    const RadioBoxProperties& r = std::get<RadioBoxProperties>(window.controls[2].properties);
    const uint32_t radioValues[] = {r.pushLike,      r.flat,       r.textOnLeft,       r.horizontalAlign,
                                    r.verticalAlign, r.textColour, r.backgroundColour, r.selected};
    const uint32_t expectedRadio[] = {1, 1, 1, 2, 0, 0xFFFFFF, 0, 1};
    for (size_t i = 0; i < std::size(expectedRadio); ++i)
        EXPECT_EQ(radioValues[i], expectedRadio[i]) << "radio setting " << i;
    EXPECT_FALSE(HasStoredFont(r.font));

    const ControlRecord& lbl = window.controls[3];
    EXPECT_EQ(lbl.container, 0x16000015u);
    const TransLabelProperties& l = std::get<TransLabelProperties>(lbl.properties);
    EXPECT_EQ(l.effect, 3u);
    EXPECT_EQ(l.textColour, 0xFFu);
    EXPECT_EQ(l.horizontalAlign, 1u);
    EXPECT_EQ(l.verticalAlign, 2u);
    EXPECT_EQ(l.wordWrap, 1u);
    EXPECT_EQ(Str(l.caption), "L");

    const ControlRecord& sb = window.controls[4];
    EXPECT_EQ(sb.sharedEventLink, 0x16000016u);
    const StatusBarProperties& s = std::get<StatusBarProperties>(sb.properties);
    EXPECT_EQ(s.placement, 2u);
    EXPECT_EQ(s.sizeGrip, 1u);
    EXPECT_EQ(s.backgroundColour, 0x10u);
    ASSERT_EQ(s.parts.size(), 2u);
    EXPECT_EQ(s.parts[0].width, 100);
    EXPECT_EQ(s.parts[0].style, kPartRaised);
    EXPECT_EQ(s.parts[0].icon, 2);
    EXPECT_EQ(Str(s.parts[0].text), "a");
    EXPECT_EQ(Str(s.parts[0].tooltip), "tip");
    EXPECT_EQ(s.parts[1].width, -1);
    EXPECT_EQ(s.parts[1].style, kPartSunken);
    EXPECT_EQ(s.parts[1].icon, -1);
    EXPECT_EQ(Str(s.parts[1].text), "b");

    const ControlRecord& ed = window.controls[5];
    EXPECT_TRUE(ed.propertyBlock.empty());
    EXPECT_TRUE(ed.cursor.empty());
    EXPECT_EQ(ed.children, (std::vector<uint32_t>{0x16000013, 0, 0x16000011}));
    EXPECT_TRUE(std::get<StatusBarProperties>(window.controls[6].properties).parts.empty());
}

TEST(FormCompiler, WindowVersionDecidesWhichSettingsAreStored) {
    const Compiled compiled = CompileAndRead(R"(
        window 0x52000001 0x06000001
            version 2
            taskbar no
            title "x"
        end
    )");
    const FormDescription& form = compiled.form;
    const WindowProperties& w = std::get<WindowProperties>(form.windows[0].controls[0].properties);
    EXPECT_EQ(w.version, 2u);
    EXPECT_EQ(w.showInTaskbar, 0u);
    EXPECT_EQ(Str(w.title), "x");
    // 15 DWORDs (version, 13 settings, taskbar), five counts (picture, two blocks, title, help
    // file) and the title's one byte: nothing of versions 3 to 6.
    EXPECT_EQ(form.windows[0].controls[0].propertyBlock.size(), 4u * 15 + 4 * 5 + 1);
}

TEST(FormCompiler, MenuItemsStoreOneHandler) {
    const Compiled compiled = CompileAndRead(R"(
        window 0x52000001 0x06000001
            control 0x26000002 MenuItem open
                on 0 OpenCustomImportWindow
            end
            control 0x26000003 MenuItem nothing
            end
        end
    )");
    const std::vector<ControlRecord>& controls = compiled.form.windows[0].controls;
    ASSERT_EQ(controls.size(), 3u);
    for (size_t i : {1u, 2u}) {
        EXPECT_EQ(controls[i].cls, ControlClass::kMenuItem);
        ASSERT_EQ(controls[i].events.size(), 1u);
        EXPECT_EQ(controls[i].events[0].event, 0);
    }
    EXPECT_EQ(controls[1].events[0].routine, static_cast<uint32_t>(FormRoutine::kOpenCustomImportWindow));
    EXPECT_EQ(controls[2].events[0].routine, kNoFormRoutine);
}

TEST(FormCompiler, EveryTextGoesThroughTheEncoder) {
    // An encoder that marks what it converted: names, captions, titles, tags, part texts, faces.
    auto marking = [](std::string_view text, std::string& out) {
        if (text == "refused")
            return false;
        out = "<" + std::string(text) + ">";
        return true;
    };
    const FormCompileResult result = CompileFormSource(R"(
        window 0x52000001 0x06000001
            title "t"
            control 0x16000002 StatusBar n
                tag "g"
                font face "f"
                part text "p" tooltip "q"
            end
        end
    )",
                                                       marking);
    ASSERT_TRUE(result.ok) << result.error;
    const FormReadResult read = ReadFormDescription(result.description, kFormRoutineCount);
    ASSERT_TRUE(read.ok) << read.error;
    const ControlRecord& bar = read.form.windows[0].controls[1];
    EXPECT_EQ(Str(std::get<WindowProperties>(read.form.windows[0].controls[0].properties).title), "<t>");
    EXPECT_EQ(Str(bar.name), "<n>");
    EXPECT_EQ(Str(bar.tag), "<g>");
    const StatusBarProperties& s = std::get<StatusBarProperties>(bar.properties);
    EXPECT_EQ(Str(s.parts[0].text), "<p>");
    EXPECT_EQ(Str(s.parts[0].tooltip), "<q>");
    EXPECT_EQ(Str(s.font.subspan(kLogFontFaceName, 4)), std::string("<f>\0", 4));

    const FormCompileResult refused =
        CompileFormSource("window 0x52000001 0x06000001\n title \"refused\"\nend\n", marking);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error, "line 2: text cannot be stored in the target code page");
}

TEST(FormCompiler, ReportsTheFirstFaultWithItsLine) {
    struct Case {
        const char* source;
        const char* error;
    };
    const Case cases[] = {
        {"", "line 1: no window in the source"},
        {"control 0x16000002 Button b\n", "line 1: 'control' belongs directly inside a window"},
        {"rect 1 2 3 4\n", "line 1: 'rect' outside a window"},
        {"end\n", "line 1: 'end' without 'window' or 'control'"},
        {"window 0x52000001 0x06000001\n title \"x\"\n", "line 1: 'end' missing"},
        {"window 0x52000001 0x06000001\nwindow 0x52000002 0x06000001\n",
         "line 2: 'window' inside a window: 'end' missing"},
        {"window 0x53000001 0x06000001\nend\n",
         "line 1: bad window identifier (kind 2 in bits 24-27 and a non-zero number)"},
        {"window 0x52000001 0x06000001\nend\nwindow 0x52000001 0x06000002\nend\n",
         "line 3: window identifier used twice"},
        {"window 0x52000001 0x16000000\nend\n",
         "line 1: bad control identifier (kind 6 in bits 24-27 and a non-zero number)"},
        {"window 0x52000001 0x06000001\ncontrol 0x06000001 Button b\nend\nend\n",
         "line 2: control identifier used twice in the window"},
        {"window 0x52000001 0x06000001\ncontrol 0x26000002 Button b\nend\nend\n",
         "line 2: menu items, and only they, have menu-item identifiers"},
        {"window 0x52000001 0x06000001\ncontrol 0x16000002 Label b\n", "line 2: unknown control class 'Label'"},
        {"window 0x52000001 0x06000001\ncontrol 0x16000002 Window b\n", "line 2: unknown control class 'Window'"},
        {"window 0x52000001 0x06000001\ncontrol 0x16000002 Button b\n colour 1\n",
         "line 3: unknown setting 'colour' for Button"},
        {"window 0x52000001 0x06000001\n rect 1 2 x 4\n", "line 2: 'x' is not a number"},
        {"window 0x52000001 0x06000001\n rect 1 2 3 2147483648\n", "line 2: 2147483648 is out of range"},
        {"window 0x52000001 0x06000001\n rect 1 2 3\n", "line 2: 'rect' takes 4 value(s)"},
        {"window 0x52000001 0x06000001\n rect 1 2 3 4\n rect 1 2 3 4\n", "line 3: 'rect' given twice"},
        {"window 0x52000001 0x06000001\n flags visible shown\n", "line 2: unknown flag 'shown'"},
        {"window 0x52000001 0x06000001\n on created Foo\n", "line 2: unknown routine 'Foo'"},
        {"window 0x52000001 0x06000001\n on created none\n on 0 StartupSequence\n", "line 3: event 0 bound twice"},
        {"window 0x52000001 0x06000001\n on clicked none\n", "line 2: 'clicked' is not a number"},
        {"window 0x52000001 0x06000001\n title \"open\n", "line 2: text without closing quote"},
        {"window 0x52000001 0x06000001\n title \"a\\n\"\n", "line 2: unknown escape in text (only \\\" and \\\\)"},
        {"window 0x52000001 0x06000001\n title plain\n", "line 2: 'title' expects a text in double quotes"},
        {"window 0x52000001 0x06000001\n version 7\n", "line 2: Window knows property versions up to 6"},
        {"window 0x52000001 0x06000001\n version 3\n always-on-top yes\nend\n",
         "line 1: 'always-on-top' needs property version 4"},
        {"window 0x52000001 0x06000001\n picture x\n", "line 2: 'picture' accepts only none"},
        {"window 0x52000001 0x06000001\n cursor -1\n", "line 2: cursor files are not supported"},
        {"window 0x52000001 0x06000001\n container 0x16000002\n", "line 2: unknown setting 'container' for Window"},
        {"window 0x52000001 0x06000001\ncontrol 0x16000002 EditBox e\n version 1\n",
         "line 3: unknown setting 'version' for EditBox"},
        {"window 0x52000001 0x06000001\ncontrol 0x16000002 Button b\n font face "
         "\"0123456789012345678901234567890123\"\n",
         "line 3: face name longer than 31 bytes"},
        {"window 0x52000001 0x06000001\ncontrol 0x16000002 Button b\n font bold\n",
         "line 3: unknown font attribute 'bold'"},
        {"window 0x52000001 0x06000001\ncontrol 0x16000002 StatusBar s\n part colour 1\n",
         "line 3: unknown part attribute 'colour'"},
        {"window 0x52000001 0x06000001\ncontrol 0x16000002 Button s\n part width 1\n",
         "line 3: unknown setting 'part' for Button"},
        {"window 0x52000001 0x06000001\ncontrol 0x26000002 MenuItem m\n on 1 none\n",
         "line 3: a menu item has only event 0"},
        {"window 0x52000001 0x06000001\ncontrol 0x16000002 Button b\n link 0x16000003\nend\ncontrol 0x16000003 EditBox "
         "e\nend\nend\n",
         "line 2: link must name another control of the same class that has no link"},
        {"window 0x52000001 0x06000001\ncontrol 0x16000002 Button a\n container 0x16000003\nend\n"
         "control 0x16000003 Button b\n container 0x16000002\nend\nend\n",
         "line 2: container must name another control of the window, without a cycle"},
        {"window 0x52000001 0x06000001\ncontrol 0x16000002 Button a\n container 0x06000001\nend\nend\n",
         "line 2: container must name another control of the window, without a cycle"},
        {"window 0x52000001 0x06000001\ncontrol 0x16000002 Button a\n children 0 0x16000009\nend\nend\n",
         "line 2: children must name controls of the window (0 separates pages)"},
    };
    for (const Case& c : cases) {
        const FormCompileResult result = CompileFormSource(c.source, AsciiOnly);
        EXPECT_FALSE(result.ok) << c.source;
        EXPECT_TRUE(result.description.empty());
        EXPECT_EQ(result.error, c.error) << c.source;
    }
}

}  // namespace
