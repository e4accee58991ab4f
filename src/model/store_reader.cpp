#include "model/store_reader.h"

#include "model/legacy_text.h"
#include "model/store_tags.h"
#include "platform/text_codec.h"

#include <bit>

namespace brumo {

namespace {
int64_t SignExtend(uint64_t raw, size_t byteCount) {
    const unsigned bits = static_cast<unsigned>(byteCount * 8);
    if (bits >= 64)
        return static_cast<int64_t>(raw);
    const uint64_t sign = uint64_t{1} << (bits - 1);
    return static_cast<int64_t>((raw ^ sign) - sign);
}
} // namespace

StoreReader::StoreReader(std::string_view data, std::string fileName)
    : data_(data), fileName_(std::move(fileName)) {}

std::string StoreReader::Where() const {
    return "Error reading \"" + fileName_ + "\": ";
}

bool StoreReader::FailInvalid(size_t valueStart, uint8_t tag, const char* position) {
    if (!error_) {
        static const char* digits = "0123456789ABCDEF";
        const std::string hex{digits[tag >> 4], digits[tag & 15]};
        error_ =
            StoreError{Where() + "invalid property value at byte " + std::to_string(valueStart) +
                           " (tag 0x" + hex + " in " + position + ").",
                       valueStart};
    }
    pos_ = valueStart;
    return false;
}

bool StoreReader::FailShort(size_t valueStart) {
    if (!error_) {
        const std::string at = std::to_string(valueStart);
        error_ = StoreError{
            valueStart >= data_.size()
                ? Where() + "the data ends at byte " + at + ", before the record is complete."
                : Where() + "the data ends inside the value that starts at byte " + at + ".",
            valueStart};
    }
    pos_ = valueStart;
    return false;
}

bool StoreReader::Take(size_t count, size_t valueStart, std::string_view& bytes) {
    if (error_)
        return false;
    if (count > data_.size() - pos_)
        return FailShort(valueStart);
    bytes = data_.substr(pos_, count);
    pos_ += count;
    return true;
}

bool StoreReader::TakeNumber(size_t count, size_t valueStart, uint64_t& value) {
    std::string_view bytes;
    if (!Take(count, valueStart, bytes))
        return false;
    value = 0;
    for (size_t i = 0; i < count; ++i)
        value |= static_cast<uint64_t>(static_cast<uint8_t>(bytes[i])) << (8 * i);
    return true;
}

bool StoreReader::ReadTag(uint8_t& tag) {
    uint64_t raw = 0;
    if (!TakeNumber(1, pos_, raw))
        return false;
    tag = static_cast<uint8_t>(raw);
    return true;
}

bool StoreReader::ReadIntegerBody(uint8_t tag, size_t valueStart, int64_t& value) {
    size_t width;
    switch (static_cast<StoreTag>(tag)) {
    case StoreTag::Int8:
        width = 1;
        break;
    case StoreTag::Int16:
        width = 2;
        break;
    case StoreTag::Int32:
        width = 4;
        break;
    case StoreTag::Int64:
        width = 8;
        break;
    default:
        return false;
    }
    uint64_t raw = 0;
    if (!TakeNumber(width, valueStart, raw))
        return false;
    value = SignExtend(raw, width);
    return true;
}

bool StoreReader::ReadInteger(int32_t& value) {
    const size_t start = pos_;
    uint8_t tag = 0;
    if (!ReadTag(tag))
        return false;
    if (tag == static_cast<uint8_t>(StoreTag::Int64))
        return FailInvalid(start, tag, "an integer position");
    int64_t wide = 0;
    if (!ReadIntegerBody(tag, start, wide))
        return error_ ? false : FailInvalid(start, tag, "an integer position");
    value = static_cast<int32_t>(wide);
    return true;
}

bool StoreReader::ReadBoolean(bool& value) {
    uint8_t tag = 0;
    if (!ReadTag(tag))
        return false;
    value = tag == static_cast<uint8_t>(StoreTag::True);
    return true;
}

bool StoreReader::ReadString(std::string& value) {
    const size_t start = pos_;
    uint8_t tag = 0;
    if (!ReadTag(tag))
        return false;
    uint64_t length = 0;
    std::string_view bytes;
    switch (static_cast<StoreTag>(tag)) {
    case StoreTag::ShortString:
    case StoreTag::LongString:
        if (!TakeNumber(tag == static_cast<uint8_t>(StoreTag::ShortString) ? 1 : 4, start,
                        length) ||
            !Take(length, start, bytes))
            return false;
        // An 8-bit string with bytes of 128 and above was written in a code page.
        value = LegacyText::ToUtf8(bytes);
        return true;
    case StoreTag::Utf8String:
        if (!TakeNumber(4, start, length) || !Take(length, start, bytes))
            return false;
        value = LegacyText::ToUtf8(bytes);
        return true;
    case StoreTag::Utf16String:
        // The length counts 16-bit characters; 64-bit arithmetic cannot overflow here.
        if (!TakeNumber(4, start, length) || !Take(length * 2, start, bytes))
            return false;
        value = TextCodec::Utf16LeToUtf8(bytes);
        return true;
    default:
        return FailInvalid(start, tag, "a string position");
    }
}

bool StoreReader::ReadDate(TDateTime& value) {
    const size_t start = pos_;
    uint8_t tag = 0;
    if (!ReadTag(tag))
        return false;
    if (tag == static_cast<uint8_t>(StoreTag::Date)) {
        uint64_t raw = 0;
        if (!TakeNumber(8, start, raw))
            return false;
        value = std::bit_cast<double>(raw);
        return true;
    }
    int64_t days = 0;
    if (!ReadIntegerBody(tag, start, days))
        return error_ ? false : FailInvalid(start, tag, "a date position");
    value = static_cast<TDateTime>(days);
    return true;
}

} // namespace brumo
