// Mouse cursors made from the cursor blocks that controls store.
#include "window/controls/stored_cursor_win32.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

uint32_t Dword(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
}

uint16_t Word(const std::string& bytes, size_t at) {
    uint16_t v = 0;
    std::memcpy(&v, bytes.data() + at, 2);
    return v;
}

// A .cur file: a 6-byte header (reserved, type 2, count), 16-byte directory entries (hot spot in
// the planes and bit-count fields), then the images. The first image is used.
HCURSOR CursorFromFile(const std::string& file) {
    if (file.size() < 22 || Word(file, 2) != 2 || Word(file, 4) == 0)
        return nullptr;
    const uint16_t hotX = Word(file, 6 + 4);
    const uint16_t hotY = Word(file, 6 + 6);
    const uint32_t size = Dword(file, 6 + 8);
    const uint32_t offset = Dword(file, 6 + 12);
    if (offset > file.size() || size > file.size() - offset)
        return nullptr;
    // CreateIconFromResourceEx takes a cursor image as the hot spot followed by the bitmap.
    std::vector<BYTE> resource(4 + size);
    std::memcpy(resource.data(), &hotX, 2);
    std::memcpy(resource.data() + 2, &hotY, 2);
    std::memcpy(resource.data() + 4, file.data() + offset, size);
    return reinterpret_cast<HCURSOR>(CreateIconFromResourceEx(resource.data(), static_cast<DWORD>(resource.size()),
                                                              FALSE, 0x00030000, 0, 0, LR_DEFAULTCOLOR));
}

}  // namespace

HCURSOR CursorFromBlock(const std::string& block, bool& owned) {
    owned = false;
    if (block.size() < 4)
        return nullptr;
    const uint32_t kind = Dword(block, 0);
    if (kind == 0)
        return nullptr;
    if (kind == 0xFFFFFFFFu) {
        HCURSOR cursor = CursorFromFile(block.substr(4));
        owned = cursor != nullptr;
        return cursor;
    }
    return LoadCursorA(nullptr, MAKEINTRESOURCEA(kind));
}
