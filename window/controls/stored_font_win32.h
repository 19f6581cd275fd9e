// Fonts made from the LOGFONTA blocks that controls store.
#pragma once

#include <windows.h>

#include "runtime/scoped_handle.h"
#include "window/form_byte_reader.h"

// The font a control draws with: made from its stored block, or the stock GUI font when the
// block is not a 60-byte LOGFONTA or creation fails. Owns what it made.
class StoredFont {
  public:
    StoredFont() = default;
    StoredFont(const StoredFont&) = delete;
    StoredFont& operator=(const StoredFont&) = delete;

    // Makes the font of the block (replacing any made before).
    void Make(FormBytes block);

    HFONT get() const { return font_ ? font_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }
    bool made() const { return font_.IsOpen(); }

  private:
    GdiFont font_;
};
