// Fonts made from the LOGFONTA blocks that controls store.
#include "window/controls/stored_font_win32.h"

#include <cstring>

#include "window/form_properties.h"

void StoredFont::Make(FormBytes block) {
    font_.Close();
    if (!HasStoredFont(block))
        return;
    static_assert(sizeof(LOGFONTA) == kLogFontSize);
    LOGFONTA font;
    std::memcpy(&font, block.data(), sizeof font);
    // The stored character set and quality describe the designer's machine; let the system pick
    // the face for its own code page instead.
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = 0;
    font.lfFaceName[LF_FACESIZE - 1] = '\0';
    font_.Attach(CreateFontIndirectA(&font));
}
