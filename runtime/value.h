// Type tags and the tagged value that cross the runtime's command interface.
#pragma once

#include <cstdint>

enum class ValueTag : uint32_t {
    Omitted = 0,
    Byte = 0x80000101,
    Short = 0x80000201,
    Int = 0x80000301,
    Long = 0x80000401,
    Float = 0x80000501,
    Double = 0x80000601,
    Logical = 0x80000002,
    DateTime = 0x80000003,
    Text = 0x80000004,
    ByteSet = 0x80000005,
    SubProgram = 0x80000006,
    // Window and control references carry their class code from the form description.
    WindowRef = 0x10001,
    StatusBarRef = 0x20002,
    // The 11-member file version record.
    VersionRecord = 0x50005,
};

// The 12-byte argument and result record of the command convention. Commands here take typed
// C++ parameters instead; the record remains the layout of the interface on the 32-bit build.
struct ValueRecord {
    uint32_t low;
    uint32_t high;
    ValueTag tag;
};
static_assert(sizeof(ValueRecord) == 12);

// A value of any basic type with its tag, for the commands that accept any basic type or report
// the type they read. A Text or ByteSet member is borrowed unless the holder says otherwise.
struct TaggedValue {
    ValueTag tag = ValueTag::Omitted;
    union {
        uint8_t byteValue;
        int16_t shortValue;
        int32_t intValue;
        int64_t longValue;
        float floatValue;
        double doubleValue;
        const char* text;
        const uint8_t* byteSet;
        void* pointer;
    };

    TaggedValue() : longValue(0) {}
    static TaggedValue OfByte(uint8_t v) {
        TaggedValue t;
        t.tag = ValueTag::Byte;
        t.byteValue = v;
        return t;
    }
    static TaggedValue OfShort(int16_t v) {
        TaggedValue t;
        t.tag = ValueTag::Short;
        t.shortValue = v;
        return t;
    }
    static TaggedValue OfInt(int32_t v) {
        TaggedValue t;
        t.tag = ValueTag::Int;
        t.intValue = v;
        return t;
    }
    static TaggedValue OfLong(int64_t v) {
        TaggedValue t;
        t.tag = ValueTag::Long;
        t.longValue = v;
        return t;
    }
    static TaggedValue OfFloat(float v) {
        TaggedValue t;
        t.tag = ValueTag::Float;
        t.floatValue = v;
        return t;
    }
    static TaggedValue OfDouble(double v) {
        TaggedValue t;
        t.tag = ValueTag::Double;
        t.doubleValue = v;
        return t;
    }
    static TaggedValue OfLogical(bool v) {
        TaggedValue t;
        t.tag = ValueTag::Logical;
        t.intValue = v ? 1 : 0;
        return t;
    }
    static TaggedValue OfDateTime(double v) {
        TaggedValue t;
        t.tag = ValueTag::DateTime;
        t.doubleValue = v;
        return t;
    }
    static TaggedValue OfText(const char* v) {
        TaggedValue t;
        t.tag = ValueTag::Text;
        t.text = v;
        return t;
    }
    static TaggedValue OfByteSet(const uint8_t* v) {
        TaggedValue t;
        t.tag = ValueTag::ByteSet;
        t.byteSet = v;
        return t;
    }
};
