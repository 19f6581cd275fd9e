// The program's stored form description: the content of both windows, and a reader that turns
// every malformed description away without reading past its end.
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include "app/ui/form_routines.h"
#include "tests/support/test_support.h"
#include "window/form_blob.h"
#include "window/form_description.h"

namespace {

constexpr uint32_t kMainWindow = 0x52010001;
constexpr uint32_t kCustomWindow = 0x5201268A;
constexpr uint32_t kNone = kNoFormRoutine;

std::string Str(FormBytes bytes) {
    return std::string(bytes.begin(), bytes.end());
}

int32_t IntAt(FormBytes bytes, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | bytes[at + i];
    return static_cast<int32_t>(v);
}

const FormDescription& ProgramForm() {
    static const FormReadResult result = ReadFormDescription(ProgramFormDescription(), kFormRoutineCount);
    EXPECT_TRUE(result.ok) << result.error << " at " << result.errorOffset;
    return result.form;
}

const ControlRecord& Control(uint32_t windowId, size_t record) {
    const WindowRecord* window = FindFormWindow(ProgramForm(), windowId);
    EXPECT_NE(window, nullptr);
    return window->controls.at(record);
}

template <typename T>
const T& PropertiesOf(const ControlRecord& control) {
    EXPECT_TRUE(std::holds_alternative<T>(control.properties)) << Str(control.name);
    static const T kEmpty{};
    const T* p = std::get_if<T>(&control.properties);
    return p ? *p : kEmpty;
}

TEST(ProgramForm, HoldsBothWindowsWithTheWindowFirstInEachTable) {
    const FormDescription& form = ProgramForm();
    ASSERT_EQ(form.windows.size(), 2u);
    EXPECT_EQ(form.windows[0].id, kMainWindow);
    EXPECT_EQ(form.windows[1].id, kCustomWindow);
    for (const WindowRecord& window : form.windows) {
        ASSERT_EQ(window.controls.size(), 8u);
        EXPECT_EQ(window.controls[0].cls, ControlClass::kWindow);
        EXPECT_TRUE(window.controls[0].name.empty());
        EXPECT_TRUE(window.text1.empty());
        EXPECT_TRUE(window.text2.empty());
    }
    EXPECT_EQ(FindFormWindow(form, 0x52010002), nullptr);
    EXPECT_EQ(FindFormControl(form.windows[0], 0x1601268B), nullptr);
}

TEST(ProgramForm, WindowSettings) {
    struct Case {
        uint32_t window;
        uint32_t ownId;
        const char* title;
        int32_t rect[4];
        uint32_t minimizeButton;
        std::vector<EventBinding> events;
    };
    const Case cases[] = {
        {kMainWindow,
         0x06010000,
         "TovanUSB3.X 驱动一键安装ForWin7",
         {50, 50, 436, 217},
         1,
         {{0, static_cast<uint32_t>(FormRoutine::kStartupSequence)},
          {1, static_cast<uint32_t>(FormRoutine::kAnswerCloseRequest)},
          {2, static_cast<uint32_t>(FormRoutine::kRemoveWorkDirectory)}}},
        {kCustomWindow,
         0x06012689,
         "离线向目标系统导入自定义驱动",
         {50, 50, 397, 195},
         0,
         {{1, static_cast<uint32_t>(FormRoutine::kAnswerCloseRequest)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        const ControlRecord& self = Control(c.window, 0);
        EXPECT_EQ(self.id, c.ownId);
        EXPECT_EQ(self.left, c.rect[0]);
        EXPECT_EQ(self.top, c.rect[1]);
        EXPECT_EQ(self.width, c.rect[2]);
        EXPECT_EQ(self.height, c.rect[3]);
        EXPECT_EQ(self.flags, kControlVisible);
        ASSERT_EQ(self.events.size(), c.events.size());
        for (size_t i = 0; i < c.events.size(); ++i) {
            EXPECT_EQ(self.events[i].event, c.events[i].event);
            EXPECT_EQ(self.events[i].routine, c.events[i].routine);
        }
        const WindowProperties& p = PropertiesOf<WindowProperties>(self);
        EXPECT_EQ(Str(p.title), c.title);
        EXPECT_EQ(p.version, 6u);
        EXPECT_EQ(p.border, 2u);
        EXPECT_EQ(p.selection12, 1u);
        EXPECT_EQ(p.backgroundColour, 0xFF000000u);
        EXPECT_EQ(p.maximizeButton, 0u);
        EXPECT_EQ(p.minimizeButton, c.minimizeButton);
        EXPECT_EQ(p.controlBox, 1u);
        EXPECT_EQ(p.position, 1u);
        EXPECT_EQ(p.movable, 1u);
        EXPECT_EQ(p.selection14, 0u);
        EXPECT_EQ(p.enterMovesFocus, 0u);
        EXPECT_EQ(p.escCloses, 1u);
        EXPECT_EQ(p.f1OpensHelp, 0u);
        EXPECT_EQ(p.integer25, 0u);
        EXPECT_EQ(p.showInTaskbar, 1u);
        EXPECT_EQ(p.logical27, 0u);
        EXPECT_EQ(p.selection28, 0u);
        EXPECT_EQ(p.alwaysOnTop, 0u);
        EXPECT_EQ(p.logical30, 0u);
        for (FormBytes empty : {p.className, p.backgroundPicture, p.block20, p.block13, p.helpFile})
            EXPECT_TRUE(empty.empty());
    }
}

TEST(ProgramForm, ControlsOfBothWindowsInTableOrder) {
    constexpr uint32_t kVisibleTab = kControlVisible | kControlTabStop;
    const auto kOpen = static_cast<uint32_t>(FormRoutine::kOpenCustomImportWindow);
    const auto kStart = static_cast<uint32_t>(FormRoutine::kStartTargetInjection);
    const auto kRun = static_cast<uint32_t>(FormRoutine::kRunCustomImport);
    const auto kDriver = static_cast<uint32_t>(FormRoutine::kBrowseDriverFolder);
    const auto kTarget = static_cast<uint32_t>(FormRoutine::kBrowseTargetDirectory);
    struct Case {
        uint32_t window;
        size_t record;
        const char* name;
        ControlClass cls;
        uint32_t id;
        int32_t left, top, width, height;
        uint32_t flags;
        uint32_t clicked;  // routine bound to event 0, kNone when nothing is bound
    };
    const Case cases[] = {
        {kMainWindow, 1, "状态条1", ControlClass::kStatusBar, 0x160125FB, 0, 200, 432, 20, kControlVisible, kNone},
        {kMainWindow, 2, "单选框2", ControlClass::kRadioBox, 0x160125F6, 192, 136, 72, 24, kVisibleTab, kNone},
        {kMainWindow, 3, "单选框1", ControlClass::kRadioBox, 0x160125F5, 112, 136, 72, 24, kVisibleTab, kNone},
        {kMainWindow, 4, "透明标签2", ControlClass::kTransLabel, 0x160125F4, 48, 136, 57, 24, kControlVisible, kNone},
        {kMainWindow, 5, "按钮3", ControlClass::kButton, 0x160125F2, 56, 80, 320, 32, kVisibleTab, kOpen},
        {kMainWindow, 6, "按钮2", ControlClass::kButton, 0x160125F1, 56, 32, 320, 32, kVisibleTab, kStart},
        // Hidden, and left of it beyond the window's width of 436.
        {kMainWindow, 7, "按钮1", ControlClass::kButton, 0x160125F0, 440, 104, 320, 32, kControlTabStop, kNone},
        {kCustomWindow, 1, "按钮3", ControlClass::kButton, 0x16012691, 136, 120, 136, 32, kVisibleTab, kRun},
        {kCustomWindow, 2, "按钮2", ControlClass::kButton, 0x1601268E, 328, 80, 56, 24, kVisibleTab, kDriver},
        {kCustomWindow, 3, "编辑框2", ControlClass::kEditBox, 0x1601268F, 8, 80, 304, 24, kVisibleTab, kNone},
        {kCustomWindow, 4, "透明标签2", ControlClass::kTransLabel, 0x16012690, 8, 56, 120, 24, kControlVisible, kNone},
        {kCustomWindow, 5, "按钮1", ControlClass::kButton, 0x1601268D, 328, 32, 56, 24, kVisibleTab, kTarget},
        {kCustomWindow, 6, "编辑框1", ControlClass::kEditBox, 0x1601268C, 8, 32, 304, 24, kVisibleTab, kNone},
        {kCustomWindow, 7, "透明标签1", ControlClass::kTransLabel, 0x1601268B, 8, 8, 176, 24, kControlVisible, kNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ControlRecord& control = Control(c.window, c.record);
        EXPECT_EQ(Str(control.name), c.name);
        EXPECT_EQ(control.cls, c.cls);
        EXPECT_EQ(control.id, c.id);
        EXPECT_EQ(control.left, c.left);
        EXPECT_EQ(control.top, c.top);
        EXPECT_EQ(control.width, c.width);
        EXPECT_EQ(control.height, c.height);
        EXPECT_EQ(control.flags, c.flags);
        if (c.clicked == kNone) {
            EXPECT_TRUE(control.events.empty());
        } else {
            ASSERT_EQ(control.events.size(), 1u);
            EXPECT_EQ(control.events[0].event, 0);
            EXPECT_EQ(control.events[0].routine, c.clicked);
        }
        // Nothing of the program uses links, containers, tags, cursors of their own or tab numbers.
        EXPECT_EQ(control.sharedEventLink, 0u);
        EXPECT_EQ(control.container, 0u);
        EXPECT_TRUE(control.children.empty());
        EXPECT_TRUE(control.tag.empty());
        EXPECT_TRUE(control.secondName.empty());
        EXPECT_EQ(Str(control.cursor), std::string(4, '\0'));
        EXPECT_EQ(control.tabOrder, 0u);
        EXPECT_FALSE(control.propertiesRefused);
        // Names reach Win32 as they stand: the zero byte follows them in the description.
        EXPECT_EQ(control.name.data()[control.name.size()], 0);
    }
}

// The LOGFONTA of the radio buttons and labels: -12 pixels, normal weight, GB2312 character set.
void ExpectStoredFont(FormBytes font) {
    ASSERT_EQ(font.size(), 60u);
    EXPECT_EQ(IntAt(font, kLogFontHeight), -12);
    EXPECT_EQ(IntAt(font, kLogFontWidth), 0);
    EXPECT_EQ(IntAt(font, kLogFontEscapement), 0);
    EXPECT_EQ(IntAt(font, kLogFontOrientation), 0);
    EXPECT_EQ(IntAt(font, kLogFontWeight), 400);
    EXPECT_EQ(font[kLogFontItalic], 0);
    EXPECT_EQ(font[kLogFontUnderline], 0);
    EXPECT_EQ(font[kLogFontStrikeOut], 0);
    EXPECT_EQ(font[kLogFontCharSet], 134);
    EXPECT_EQ(font[kLogFontFaceName], 0);
}

#ifdef _WIN32
static_assert(sizeof(LOGFONTA) == kLogFontSize);
static_assert(offsetof(LOGFONTA, lfHeight) == kLogFontHeight && offsetof(LOGFONTA, lfWeight) == kLogFontWeight);
static_assert(offsetof(LOGFONTA, lfItalic) == kLogFontItalic && offsetof(LOGFONTA, lfCharSet) == kLogFontCharSet);
static_assert(offsetof(LOGFONTA, lfQuality) == kLogFontQuality && offsetof(LOGFONTA, lfFaceName) == kLogFontFaceName);
#endif

TEST(ProgramForm, ButtonsAreNormalCentredPushButtonsWithTheGuiFont) {
    struct Case {
        uint32_t window;
        size_t record;
        const char* caption;
    };
    const Case cases[] = {
        {kMainWindow, 5, "离线向目标系统导入自定义驱动"},
        {kMainWindow, 6, "离线向目标系统导入USB3.X驱动"},
        {kMainWindow, 7, "向当前系统安装驱动和补丁"},
        {kCustomWindow, 1, "开始导入"},
        {kCustomWindow, 2, "浏  览"},
        {kCustomWindow, 5, "浏  览"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        const ButtonProperties& p = PropertiesOf<ButtonProperties>(Control(c.window, c.record));
        EXPECT_EQ(Str(p.caption), c.caption);
        EXPECT_EQ(p.version, 1u);
        EXPECT_EQ(p.type, 0u);
        EXPECT_EQ(p.horizontalAlign, 1u);
        EXPECT_EQ(p.verticalAlign, 1u);
        EXPECT_TRUE(p.picture.empty());
        EXPECT_FALSE(HasStoredFont(p.font));
    }
}

TEST(ProgramForm, RadioButtonsAndLabelsUseTheStoredFont) {
    const RadioBoxProperties& fuzzy = PropertiesOf<RadioBoxProperties>(Control(kMainWindow, 2));
    const RadioBoxProperties& precise = PropertiesOf<RadioBoxProperties>(Control(kMainWindow, 3));
    EXPECT_EQ(Str(fuzzy.caption), "模糊导入");
    EXPECT_EQ(fuzzy.selected, 0u);
    EXPECT_EQ(Str(precise.caption), "精准导入");
    EXPECT_EQ(precise.selected, 1u);
    for (const RadioBoxProperties* p : {&fuzzy, &precise}) {
        EXPECT_EQ(p->pushLike, 0u);
        EXPECT_EQ(p->flat, 0u);
        EXPECT_EQ(p->textOnLeft, 0u);
        EXPECT_EQ(p->horizontalAlign, 0u);
        EXPECT_EQ(p->verticalAlign, 1u);
        EXPECT_EQ(p->textColour, 0u);
        EXPECT_EQ(p->backgroundColour, 0xFF000000u);
        EXPECT_TRUE(p->picture.empty());
        ExpectStoredFont(p->font);
    }

    struct Label {
        uint32_t window;
        size_t record;
        const char* caption;
    };
    const Label labels[] = {
        {kMainWindow, 4, "注入类型:"},
        {kCustomWindow, 4, "请选择驱动所在目录:"},
        {kCustomWindow, 7, "请选择目标系统的Windows目录:"},
    };
    for (const Label& c : labels) {
        SCOPED_TRACE(c.caption);
        const TransLabelProperties& p = PropertiesOf<TransLabelProperties>(Control(c.window, c.record));
        EXPECT_EQ(Str(p.caption), c.caption);
        EXPECT_EQ(p.effect, 0u);
        EXPECT_EQ(p.textColour, 0u);
        EXPECT_EQ(p.horizontalAlign, 0u);
        EXPECT_EQ(p.verticalAlign, 1u);
        EXPECT_EQ(p.wordWrap, 0u);
        ExpectStoredFont(p.font);
    }
}

TEST(ProgramForm, EditBoxesStoreNoSettings) {
    for (size_t record : {3u, 6u}) {
        const ControlRecord& edit = Control(kCustomWindow, record);
        EXPECT_TRUE(edit.propertyBlock.empty());
        const EditBoxProperties& p = PropertiesOf<EditBoxProperties>(edit);
        EXPECT_EQ(p.borderStyle, 1u);
        EXPECT_EQ(p.backgroundColour, 0xFFFFFFu);
        EXPECT_EQ(p.textColour, 0u);
        EXPECT_EQ(p.multiline, 0u);
        EXPECT_EQ(p.passwordChar, '*');
    }
}

TEST(ProgramForm, StatusBarHasOneSunkenPartWithTheInitialText) {
    const StatusBarProperties& p = PropertiesOf<StatusBarProperties>(Control(kMainWindow, 1));
    EXPECT_EQ(p.backgroundColour, 0xFF000000u);
    EXPECT_EQ(p.placement, 0u);
    EXPECT_EQ(p.sizeGrip, 0u);
    EXPECT_FALSE(HasStoredFont(p.font));
    EXPECT_TRUE(p.imageList.empty());
    ASSERT_EQ(p.parts.size(), 1u);
    const StatusBarPart& part = p.parts[0];
    EXPECT_EQ(part.width, 430);
    EXPECT_EQ(part.style, kPartSunken);
    EXPECT_EQ(part.icon, -1);
    EXPECT_TRUE(part.tooltip.empty());
    const std::string text = Str(part.text);
    EXPECT_EQ(text.size(), 69u);
    EXPECT_EQ(text, "状态:等待操作,支持第八代英特尔主板" + std::string(26, ' ') + "Ver:2.1.0");
    EXPECT_EQ(part.text.data()[part.text.size()], 0);
}

// ---- Malformed descriptions.

// A copy in a heap block of exactly its size, so that the sanitizers see any read past its end.
std::vector<uint8_t> Copy(FormBytes bytes, size_t length) {
    return std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

bool Inside(FormBytes span, const std::vector<uint8_t>& buffer) {
    return span.empty() || (span.data() >= buffer.data() && span.data() + span.size() <= buffer.data() + buffer.size());
}

// Every span of an accepted description lies in the bytes it was read from.
bool AllSpansInside(const FormDescription& form, const std::vector<uint8_t>& buffer) {
    for (const WindowRecord& w : form.windows) {
        if (!Inside(w.text1, buffer) || !Inside(w.text2, buffer) || !Inside(w.controlTable, buffer))
            return false;
        for (const ControlRecord& c : w.controls) {
            for (FormBytes s : {c.name, c.secondName, c.cursor, c.tag, c.propertyBlock, c.stored}) {
                if (!Inside(s, buffer))
                    return false;
            }
        }
    }
    return true;
}

TEST(FormReader, RejectsEveryTruncation) {
    const FormBytes blob = ProgramFormDescription();
    for (size_t length = 0; length < blob.size(); ++length) {
        const std::vector<uint8_t> cut = Copy(blob, length);
        const FormReadResult result = ReadFormDescription(cut, kFormRoutineCount);
        EXPECT_FALSE(result.ok) << "length " << length;
        EXPECT_TRUE(result.form.windows.empty());
        EXPECT_LE(result.errorOffset, length);
    }
}

TEST(FormReader, RejectsTrailingBytes) {
    for (uint8_t extra : {0x00, 0x01, 0xFF}) {
        std::vector<uint8_t> longer = Copy(ProgramFormDescription(), ProgramFormDescription().size());
        longer.push_back(extra);
        const FormReadResult result = ReadFormDescription(longer, kFormRoutineCount);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.errorOffset, ProgramFormDescription().size());
    }
}

// Single-byte corruptions: at every offset a few typical values, then random ones. Each either
// reads to records that stay inside the bytes or is rejected; the sanitizers watch the reads.
TEST(FormReader, SingleByteCorruptionsReadInsideOrAreRejected) {
    const FormBytes blob = ProgramFormDescription();
    std::vector<uint8_t> bytes = Copy(blob, blob.size());
    size_t rejected = 0;
    size_t tried = 0;
    auto tryValue = [&](size_t at, uint8_t value) {
        const uint8_t original = bytes[at];
        if (value == original)
            return;
        bytes[at] = value;
        const FormReadResult result = ReadFormDescription(bytes, kFormRoutineCount);
        ++tried;
        if (result.ok) {
            EXPECT_TRUE(AllSpansInside(result.form, bytes)) << "offset " << at;
        } else {
            ++rejected;
            EXPECT_NE(result.error, nullptr);
            EXPECT_LT(result.errorOffset, bytes.size());
        }
        bytes[at] = original;
    };
    for (size_t at = 0; at < bytes.size(); ++at) {
        for (uint8_t value : {uint8_t(bytes[at] ^ 0x01), uint8_t(bytes[at] ^ 0x80), uint8_t(0x00), uint8_t(0xFF)})
            tryValue(at, value);
    }
    std::mt19937 random(20240611);
    for (int i = 0; i < 20000; ++i)
        tryValue(random() % bytes.size(), static_cast<uint8_t>(random()));
    // Texts, geometry and settings take any byte; lengths, counts and identifiers do not.
    EXPECT_GT(rejected, tried / 10);
    EXPECT_LT(rejected, tried);
}

// Targeted faults, placed through the records of the real description.
TEST(FormReader, RejectsBadLengthsIdentifiersAndReferences) {
    const FormBytes blob = ProgramFormDescription();
    const FormDescription& form = ProgramForm();
    const WindowRecord& main = form.windows[0];
    auto at = [&](const uint8_t* p) { return static_cast<size_t>(p - blob.data()); };
    const size_t table = at(main.controlTable.data());          // identifiers, then offsets
    const size_t count = table - 8;                             // control count before the table length
    const size_t record1 = at(main.controls[1].stored.data());  // class code of 状态条1
    const ControlRecord& self = main.controls[0];
    // The window's event count follows its tag, a reserved DWORD, the flags and the tab number.
    const size_t events = at(self.tag.data()) + 1 + 12;
    // The container follows the second name, the live-object slot, the geometry and the cursor slot.
    const size_t container1 = at(main.controls[1].secondName.data()) + 1 + 4 + 16 + 4;
    const size_t parts = at(std::get<StatusBarProperties>(main.controls[1].properties).parts[0].text.data()) - 16;

    struct Case {
        const char* what;
        size_t offset;
        uint32_t value;
        const char* error;
    };
    const Case cases[] = {
        {"directory length 0", 0, 0, "bad window directory length"},
        {"directory length not a multiple of 8", 0, 12, "bad window directory length"},
        {"directory past the end", 0, 0x10000, "bad window directory length"},
        {"window identifier 0", 4, 0, "bad window identifier"},
        {"window identifier of another kind", 4, 0x53010001, "bad window identifier"},
        {"window number 0", 4, 0x52000000, "bad window identifier"},
        {"same window twice", 8, kMainWindow, "duplicate window identifier"},
        {"no controls", count, 0, "bad control count"},
        {"more controls than the table holds", count, 300, "bad control count"},
        {"control table past the end", count + 4, 0x7FFFFFFF, "control table runs past the end"},
        {"control identifier 0", table, 0, "bad control identifier"},
        {"control identifier of another kind", table + 4, 0x150125FB, "bad control identifier"},
        {"same control twice", table + 8, 0x160125FB, "duplicate control identifier"},
        {"offset beside its record", table + 32 + 4, 0, "control record offset does not match the table"},
        {"record past its table", record1 - 4, 0x10000, "control record runs past its table"},
        {"unknown class", record1, 0x00010002, "unknown control class"},
        {"a second window class", record1, 0x00010001, "window class only in the window's own record"},
        {"menu-item class with a control identifier", record1, 0x00010003, "menu item class and identifier disagree"},
        {"event count past the record", events, 1000, "event count runs past the record"},
        {"unknown routine", events + 8, kFormRoutineCount, "unknown routine"},
        {"event bound twice", events + 12, 0, "event bound twice"},
        {"container that is not in the window", container1, 0x16019999, "bad container"},
        {"container is the window itself", container1, 0x06010000, "bad container"},
        {"shared-event link to another class", record1 + 4, 0x160125F6, "bad shared-event link"},
        {"status bar with two parts stored as one", parts, 2, "malformed property block"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = Copy(blob, blob.size());
        for (int i = 0; i < 4; ++i)
            bytes[c.offset + i] = static_cast<uint8_t>(c.value >> (8 * i));
        const FormReadResult result = ReadFormDescription(bytes, kFormRoutineCount);
        EXPECT_FALSE(result.ok) << c.what;
        EXPECT_STREQ(result.error, c.error) << c.what;
    }
}

TEST(FormReader, NewerPropertyVersionIsLeftToTheClass) {
    // The class refuses the record when its window loads; reading the description still succeeds.
    const FormBytes blob = ProgramFormDescription();
    const ControlRecord& hidden = ProgramForm().windows[0].controls[7];
    std::vector<uint8_t> bytes = Copy(blob, blob.size());
    bytes[static_cast<size_t>(hidden.propertyBlock.data() - blob.data())] = 2;
    const FormReadResult result = ReadFormDescription(bytes, kFormRoutineCount);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.form.windows[0].controls[7].propertiesRefused);
    EXPECT_FALSE(result.form.windows[0].controls[6].propertiesRefused);
}

TEST(FormReaderDeathTest, MalformedDescriptionIsFatalAtStartUp) {
    const std::vector<uint8_t> cut = Copy(ProgramFormDescription(), 100);
    EXPECT_EXIT(ReadFormDescriptionOrDie(cut, kFormRoutineCount), testing::ExitedWithCode(kFatalExitCode),
                FatalBoxContaining("载入窗口模板数据段出错!"));
    EXPECT_EQ(ReadFormDescriptionOrDie(ProgramFormDescription(), kFormRoutineCount).windows.size(), 2u);
}

}  // namespace
