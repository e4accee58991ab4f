#pragma once

#include "model/store_error.h"
#include "platform/date_time.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brumo {

// Reads tagged values of the type store from a whole file held in memory. It accepts more
// than the writer emits: UTF-16 strings, 64-bit and smaller integers in date positions. A
// failed read leaves the first error in the reader; every later read then fails too.
// Lengths are checked against the bytes that remain before anything is allocated.
class StoreReader {
public:
    // fileName only names the data in error messages.
    StoreReader(std::string_view data, std::string fileName);
    // The reader keeps a view of the data, so a temporary would leave it dangling.
    StoreReader(std::string&& data, std::string fileName) = delete;

    size_t Position() const { return pos_; }
    size_t Size() const { return data_.size(); }
    bool AtEnd() const { return pos_ >= data_.size(); }
    bool Failed() const { return error_.has_value(); }
    const std::optional<StoreError>& Error() const { return error_; }

    bool ReadInteger(int32_t& value);
    // Any byte other than the True tag reads as False, without error.
    bool ReadBoolean(bool& value);
    // Strings come back as UTF-8 whatever their stored form.
    bool ReadString(std::string& value);
    // An integer in a date position is a whole day number.
    bool ReadDate(TDateTime& value);

private:
    bool Take(size_t count, size_t valueStart, std::string_view& bytes);
    bool TakeNumber(size_t count, size_t valueStart, uint64_t& value);
    bool ReadTag(uint8_t& tag);
    bool ReadIntegerBody(uint8_t tag, size_t valueStart, int64_t& value);
    std::string Where() const;
    bool FailInvalid(size_t valueStart, uint8_t tag, const char* position);
    bool FailShort(size_t valueStart);

    std::string_view data_;
    std::string fileName_;
    size_t pos_ = 0;
    std::optional<StoreError> error_;
};

} // namespace brumo
