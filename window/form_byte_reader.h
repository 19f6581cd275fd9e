// Bounds-checked little-endian cursor over a span of form description bytes.
#pragma once

#include <cstdint>
#include <span>

using FormBytes = std::span<const uint8_t>;

// Every read either succeeds completely or fails and leaves the cursor where it was, so a
// malformed length can never carry a read past the end of the span.
class FormByteReader {
  public:
    explicit FormByteReader(FormBytes bytes) : bytes_(bytes) {}

    bool ReadDword(uint32_t& value) {
        if (Remaining() < 4)
            return false;
        const uint8_t* p = bytes_.data() + pos_;
        value = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
                static_cast<uint32_t>(p[3]) << 24;
        pos_ += 4;
        return true;
    }

    bool ReadInt(int32_t& value) {
        uint32_t raw;
        if (!ReadDword(raw))
            return false;
        value = static_cast<int32_t>(raw);
        return true;
    }

    bool ReadBytes(uint32_t count, FormBytes& out) {
        if (Remaining() < count)
            return false;
        out = bytes_.subspan(pos_, count);
        pos_ += count;
        return true;
    }

    // Counted text or counted block: a DWORD byte count, then that many bytes.
    bool ReadCounted(FormBytes& out) {
        const size_t start = pos_;
        uint32_t count;
        if (!ReadDword(count) || !ReadBytes(count, out)) {
            pos_ = start;
            return false;
        }
        return true;
    }

    // Terminated text: the bytes up to a zero byte, which is consumed but not part of the text.
    // The byte after the returned span is therefore always that zero.
    bool ReadTerminated(FormBytes& out) {
        for (size_t i = pos_; i < bytes_.size(); ++i) {
            if (bytes_[i] == 0) {
                out = bytes_.subspan(pos_, i - pos_);
                pos_ = i + 1;
                return true;
            }
        }
        return false;
    }

    FormBytes Rest() {
        FormBytes rest = bytes_.subspan(pos_);
        pos_ = bytes_.size();
        return rest;
    }

    size_t Remaining() const { return bytes_.size() - pos_; }
    bool AtEnd() const { return pos_ == bytes_.size(); }
    const uint8_t* Position() const { return bytes_.data() + pos_; }

  private:
    FormBytes bytes_;
    size_t pos_ = 0;
};
