#include "runs/recycle_sender.h"

#include "platform/recycle_bin.h"

namespace brumo {

namespace {
class SystemRecycleSender final : public RecycleSender {
public:
    std::vector<RecycleResult> SendEach(const std::vector<std::string>& paths) const override {
        return RecycleBin::SendEach(paths);
    }
    std::string ErrorText(int code) const override { return RecycleBin::ErrorText(code); }
};
} // namespace

const RecycleSender& RecycleSender::System() {
    static const SystemRecycleSender sender;
    return sender;
}

} // namespace brumo
