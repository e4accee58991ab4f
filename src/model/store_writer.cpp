#include "model/store_writer.h"

#include "model/store_tags.h"
#include "platform/text_codec.h"

#include <bit>

namespace brumo {

void StoreWriter::Append(uint64_t value, int byteCount) {
    for (int i = 0; i < byteCount; ++i)
        bytes_ += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void StoreWriter::WriteInteger(int32_t value) {
    const auto raw = static_cast<uint64_t>(static_cast<uint32_t>(value));
    if (value >= -128 && value <= 127) {
        bytes_ += static_cast<char>(StoreTag::Int8);
        Append(raw, 1);
    } else if (value >= -32768 && value <= 32767) {
        bytes_ += static_cast<char>(StoreTag::Int16);
        Append(raw, 2);
    } else {
        bytes_ += static_cast<char>(StoreTag::Int32);
        Append(raw, 4);
    }
}

void StoreWriter::WriteBoolean(bool value) {
    bytes_ += static_cast<char>(value ? StoreTag::True : StoreTag::False);
}

void StoreWriter::WriteDate(TDateTime value) {
    bytes_ += static_cast<char>(StoreTag::Date);
    Append(std::bit_cast<uint64_t>(value), 8);
}

void StoreWriter::WriteString(std::string_view text) {
    if (!TextCodec::IsSevenBit(text)) {
        // Text is UTF-8 inside the program already.
        bytes_ += static_cast<char>(StoreTag::Utf8String);
        Append(text.size(), 4);
    } else if (text.size() <= 255) {
        bytes_ += static_cast<char>(StoreTag::ShortString);
        Append(text.size(), 1);
    } else {
        bytes_ += static_cast<char>(StoreTag::LongString);
        Append(text.size(), 4);
    }
    bytes_.append(text);
}

} // namespace brumo
