// What the scenarios share: the survey listings they feed devcon, the expected DISM command lines,
// and a test fixture that starts the sandbox tool in the simulated Windows PE.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/driver/message_box.h"
#include "tests/e2e/e2e_session.h"

// A devcon listing of a machine with an Intel 300 series, an ASMedia ASM1042, a Fresco Logic
// FL1100 and an Etron EJ168 controller (indented with full-width spaces), and a second device of
// the Intel kind. Lower-case identifiers (the ASM1042A line) and non-PCI, non-USB lines must not
// select anything; the USB root hub passes the filter but is in no index.
std::string MatchingListing();
// Devices none of which is in either index.
std::string UnmatchedListing();

// The DISM that the tool chooses in the simulated Windows PE (64-bit Wine, cmd.exe 10.0).
inline constexpr char kDismPath[] = "X:\\TovUSB\\\\dism\\x64\\dism.exe";

// Processor brands the scenarios give the tool (the sandbox's TOVUSB_SANDBOX_PROCESSOR_BRAND), so
// that what they expect does not hang on the machine that runs them, and each branch of the
// generation rule runs everywhere. The rule (docs of DetectProcessorGeneration): "Intel(R)" as the
// first word (case ignored, leading spaces trimmed), a third word "iN-G..." with N one of 3, 5,
// 7, 9 and G the generation digit; 8 and 9 select the one Intel 8th-generation package for every
// device.
struct ProcessorCase {
    const char* brand;
    bool eighthGeneration;  // what the rule makes of it, read off by hand
};
inline constexpr ProcessorCase kProcessorCases[] = {
    {"Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz", true},
    {"Intel(R) Core(TM) i9-9900K CPU @ 3.60GHz", true},
    {"   intel(r) Core(TM) I5-8250U CPU @ 1.60GHz", true},  // spaces in front, other letter case
    {"Intel(R) Core(TM) i5-7500 CPU @ 3.40GHz", false},
    {"Intel(R) Core(TM) i7-10700 CPU @ 2.90GHz", false},      // the digit after the dash is 1
    {"Intel(R) Pentium(R) Gold G5400 CPU @ 3.70GHz", false},  // 8th-generation era, no iN tier
    {"AMD Ryzen 7 3700X 8-Core Processor", false},
};
// The brand the scenarios give the tool unless they say otherwise: a 7th-generation Core.
inline constexpr char kScenarioBrand[] = "Intel(R) Core(TM) i7-7700 CPU @ 3.60GHz";
// Given as the brand: none, the tool reads the processor's own.
inline constexpr char kProcessorsOwnBrand[] = "";

// The driver folders that MatchingListing selects for a 64-bit or 32-bit target, in the order
// of the listing, one per matched identifier (qualified paths, ending in "\" but the Intel
// 8th-generation package's): fixed lists, one for each branch of the generation rule.
std::vector<std::string> MatchedFolders(bool target64Bit, bool eighthGeneration = false);
// The .inf names below the folders, as the DISM simulator records them, sorted without case.
std::vector<std::string> PackagesIn(const std::vector<std::string>& folders);
// Every .inf name of the architecture folder of the payload, sorted without case.
std::vector<std::string> ArchitecturePackages(bool target64Bit);

// The parameter texts of the three imports (after DismPath and one space).
std::string PreciseParameters(const std::string& image, const std::string& folder);
std::string FuzzyParameters(const std::string& image, bool target64Bit);
std::string CustomParameters(const std::string& image, const std::string& folder);

// A log entry as the tool writes it: the text and two CR LF pairs.
std::string LogEntry(const std::string& text);

class ToolScenario : public testing::Test {
  protected:
    void SetUp() override;

    // Starts the sandbox tool with the listing and the processor brand, and waits for its main
    // window.
    void StartTool(const std::string& listing = MatchingListing(), const std::string& brand = kScenarioBrand);
    // Clicks 按钮2 and picks the folder in the dialog (cancels for an empty folder).
    void ChooseTarget(const std::string& folder);
    // The next box, checked for the title "提示" and a single button.
    MessageBoxView ExpectBox(const std::string& text, BoxIcon icon);
    void DismissBox(const MessageBoxView& box);
    // No box is shown once the tool's thread has handled what the test gave it
    // (WaitForThreadToCatchUp): a box that the last action opens is up by then.
    void ExpectNoBox();
    // Closes the main window; the process exits with 0 and the work directory is gone.
    void CloseAndExpectCleanExit();
    std::vector<std::string> DismCommandLines() const;
    void ExpectAllControlsEnabled(bool enabled);

    ToolSession session_;
};
