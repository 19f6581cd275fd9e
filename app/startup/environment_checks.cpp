// Windows PE recognition and the processor generation rule.
#include "app/startup/environment_checks.h"

#include "runtime/text_commands.h"

bool IsWindowsPEDirectory(const char* windowsDirectory) {
    OwnedText first = LeftText(windowsDirectory, 1);
    OwnedText upper = ToUpperCase(first.get());
    return CompareText(upper.get(), "X") == 0;
}

int32_t DetectProcessorGeneration(const char* processorName) {
    TextArray words = SplitText(processorName, " ");
    if (words.size() < 3)
        return 0;
    OwnedText vendor = ToUpperCase(words[0]);
    OwnedText intel = ToUpperCase("Intel(R)");
    if (CompareText(vendor.get(), intel.get()) != 0)
        return 0;
    OwnedText tier = LeftText(words[2], 2);
    OwnedText tierUpper = ToUpperCase(tier.get());
    bool knownTier = false;
    for (const char* t : {"I3", "I5", "I7", "I9"})
        knownTier = knownTier || CompareText(tierUpper.get(), t) == 0;
    if (!knownTier)
        return 0;
    TextArray pieces = SplitText(words[2], "-");
    if (pieces.size() < 2)
        return 0;
    OwnedText digit = LeftText(pieces[1], 1);
    if (CompareText(digit.get(), "7") == 0)
        return 7;
    if (CompareText(digit.get(), "8") == 0)
        return 8;
    if (CompareText(digit.get(), "9") == 0)
        return 9;
    return 0;
}
