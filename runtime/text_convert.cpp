// Conversions between values and their bytes: ToText, ZeroByteSet and ByteSetData.
#include <charconv>
#include <cmath>
#include <cstring>

#include "runtime/byte_set.h"
#include "runtime/fatal_error.h"
#include "runtime/text_commands.h"

namespace {

// Numbers, logicals and dates are formatted into a buffer of this size.
constexpr size_t kFormatBufferSize = 100;

// Date-times read from raw data are limited to 0100-01-01 .. 9999-12-31.
constexpr double kEarliestDate = -657434.0;
constexpr double kLatestDate = 2958465.0;

class Formatter {
  public:
    template <typename T>
    Formatter& Number(T value) {
        // std::to_chars never consults the locale: the decimal point is always ".", and floats
        // come out in the shortest form that reads back as the same value.
        end_ = std::to_chars(end_, buffer_ + kFormatBufferSize, value).ptr;
        return *this;
    }
    Formatter& Literal(const char* text) {
        const size_t n = std::strlen(text);
        std::memcpy(end_, text, n);
        end_ += n;
        return *this;
    }
    OwnedText Text() const { return MakeText(buffer_, static_cast<size_t>(end_ - buffer_)); }

  private:
    char buffer_[kFormatBufferSize];
    char* end_ = buffer_;
};

struct CivilDate {
    int64_t year;
    unsigned month;
    unsigned day;
};

// Proleptic Gregorian date of a day count relative to 1970-01-01.
CivilDate CivilFromDays(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const unsigned month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    return {static_cast<int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

// "2024年3月5日", followed by "13时7分0秒" when the time of day is not midnight. The whole part
// counts days from 1899-12-30; the fraction is the time of day whatever the sign.
OwnedText FormatDateTime(double value) {
    if (std::isnan(value))
        return OwnedText();
    value = value < kEarliestDate ? kEarliestDate : (value > kLatestDate ? kLatestDate : value);
    const double wholeDays = std::trunc(value);
    auto days = static_cast<int64_t>(wholeDays);
    auto seconds = static_cast<int64_t>(std::llround(std::fabs(value - wholeDays) * 86400.0));
    if (seconds >= 86400) {
        seconds -= 86400;
        ++days;
    }
    constexpr int64_t kDaysFrom1970To1899_12_30 = -25569;
    const CivilDate date = CivilFromDays(days + kDaysFrom1970To1899_12_30);
    Formatter f;
    f.Number(date.year).Literal("年").Number(date.month).Literal("月").Number(date.day).Literal("日");
    if (seconds != 0) {
        f.Number(seconds / 3600).Literal("时").Number(seconds / 60 % 60).Literal("分");
        f.Number(seconds % 60).Literal("秒");
    }
    return f.Text();
}

// Width in bytes of the value of type codes 1 to 9.
size_t WidthOfType(int32_t typeCode) {
    static constexpr uint8_t kWidths[10] = {0, 1, 2, 4, 8, 4, 8, 4, 8, 4};
    return kWidths[typeCode];
}

TaggedValue DecodeValue(int32_t typeCode, const uint8_t* bytes) {
    TaggedValue v;
    switch (typeCode) {
        case 1:
            v.tag = ValueTag::Byte;
            v.byteValue = bytes[0];
            break;
        case 2:
            v.tag = ValueTag::Short;
            std::memcpy(&v.shortValue, bytes, 2);
            break;
        case 3:
            v.tag = ValueTag::Int;
            std::memcpy(&v.intValue, bytes, 4);
            break;
        case 4:
            v.tag = ValueTag::Long;
            std::memcpy(&v.longValue, bytes, 8);
            break;
        case 5:
            v.tag = ValueTag::Float;
            std::memcpy(&v.floatValue, bytes, 4);
            break;
        case 6:
            v.tag = ValueTag::Double;
            std::memcpy(&v.doubleValue, bytes, 8);
            break;
        case 7: {
            int32_t raw;
            std::memcpy(&raw, bytes, 4);
            v.tag = ValueTag::Logical;
            v.intValue = raw != 0 ? 1 : 0;
            break;
        }
        case 8: {
            double raw;
            std::memcpy(&raw, bytes, 8);
            v.tag = ValueTag::DateTime;
            v.doubleValue = raw < kEarliestDate ? kEarliestDate : (raw > kLatestDate ? kLatestDate : raw);
            break;
        }
        case 9: {
            // A 32-bit code address of the program.
            uint32_t raw;
            std::memcpy(&raw, bytes, 4);
            v.tag = ValueTag::SubProgram;
            v.pointer = reinterpret_cast<void*>(static_cast<uintptr_t>(raw));
            break;
        }
    }
    return v;
}

}  // namespace

OwnedText ToText(const TaggedValue& value) {
    switch (value.tag) {
        case ValueTag::Text:
            return MakeText(value.text, value.text ? std::strlen(value.text) : 0);
        case ValueTag::ByteSet: {
            const auto* data = reinterpret_cast<const char*>(ByteSetBytes(value.byteSet));
            const size_t n = ByteSetLength(value.byteSet);
            const void* zero = n != 0 ? std::memchr(data, 0, n) : nullptr;
            return MakeText(data, zero ? static_cast<size_t>(static_cast<const char*>(zero) - data) : n);
        }
        case ValueTag::Byte:
            return Formatter().Number(value.byteValue).Text();
        case ValueTag::Short:
            return Formatter().Number(value.shortValue).Text();
        case ValueTag::Int:
            return Formatter().Number(value.intValue).Text();
        case ValueTag::Long:
            return Formatter().Number(value.longValue).Text();
        case ValueTag::Float:
            return Formatter().Number(value.floatValue).Text();
        case ValueTag::Double:
            return Formatter().Number(value.doubleValue).Text();
        case ValueTag::Logical:
            return Formatter().Literal(value.intValue != 0 ? "真" : "假").Text();
        case ValueTag::DateTime:
            return FormatDateTime(value.doubleValue);
        default:
            return OwnedText();
    }
}

OwnedByteSet ZeroByteSet(int32_t n) {
    if (n <= 0)
        return OwnedByteSet();
    const size_t count = static_cast<size_t>(n);
    auto* block = static_cast<uint8_t*>(RuntimeAlloc(8 + count));
    const uint32_t header[2] = {1, static_cast<uint32_t>(count)};
    std::memcpy(block, header, 8);
    std::memset(block + 8, 0, count);
    return OwnedByteSet(block);
}

ReadValue ByteSetData(const uint8_t* byteSet, int32_t typeCode, int32_t* position) {
    if (typeCode < 1 || typeCode > 10)
        ReportFatalError("“欲取出数据的类型”参数值无效", 0, 0, 0);

    const size_t length = ByteSetLength(byteSet);
    const uint8_t* data = ByteSetBytes(byteSet);
    // A position below 1 (-1 is what an earlier read leaves at the end) has nothing to read.
    const bool readable = position == nullptr || *position >= 1;
    const size_t offset = position != nullptr && readable ? static_cast<size_t>(*position - 1) : 0;
    const size_t available = readable && offset < length ? length - offset : 0;
    const uint8_t* at = available != 0 ? data + offset : nullptr;

    size_t consumed;
    ReadValue result;
    if (typeCode == 10) {
        const void* zero = available != 0 ? std::memchr(at, 0, available) : nullptr;
        const size_t textLength = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - at) : available;
        OwnedText text = MakeText(reinterpret_cast<const char*>(at), textLength);
        consumed = textLength + (zero ? 1 : 0);
        const TaggedValue value = TaggedValue::OfText(text.get());
        result = ReadValue(value, std::move(text));
    } else {
        // Too few bytes left: the missing high bytes read as zero.
        uint8_t buffer[8] = {};
        const size_t width = WidthOfType(typeCode);
        if (available != 0)
            std::memcpy(buffer, at, available < width ? available : width);
        consumed = width;
        result = ReadValue(DecodeValue(typeCode, buffer), OwnedText());
    }

    if (position != nullptr) {
        if (!readable || offset + consumed >= length)
            *position = -1;
        else
            *position = static_cast<int32_t>(offset + consumed + 1);
    }
    return result;
}
