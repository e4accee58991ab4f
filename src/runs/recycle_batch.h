#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace brumo {

// Paths waiting for one Recycle Bin operation. The batch is measured as the zero-terminated
// list the shell operation takes: each path plus its zero byte, the list ending in a second
// zero, in at most 16384 bytes.
class RecycleBatch {
public:
    static constexpr size_t Capacity = 16384;
    // A path joins only while path length plus the bytes used stays within this.
    static constexpr size_t FlushLimit = Capacity - 2;

    // True when the path does not fit beside what is queued: flush before adding it. A path
    // too long for any batch goes alone into an empty one.
    bool MustFlushBefore(const std::string& path) const {
        return !paths_.empty() && path.size() + used_ > FlushLimit;
    }
    void Add(const std::string& path, int64_t size) {
        used_ += path.size() + 1;
        paths_.push_back(path);
        sizes_.push_back(size);
    }
    void Clear() {
        paths_.clear();
        sizes_.clear();
        used_ = 0;
    }
    bool Empty() const { return paths_.empty(); }
    size_t BytesUsed() const { return used_; }
    const std::vector<std::string>& Paths() const { return paths_; }
    // The size each file was counted with when it joined.
    const std::vector<int64_t>& Sizes() const { return sizes_; }

private:
    std::vector<std::string> paths_;
    std::vector<int64_t> sizes_;
    size_t used_ = 0;
};

} // namespace brumo
