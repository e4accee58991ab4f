#include "platform/named_event.h"

#include <atomic>
#include <map>
#include <mutex>

namespace brumo {

namespace {

class ProcessEvent : public NamedEvent {
public:
    void Set() override { set_.store(true, std::memory_order_release); }
    void Reset() override { set_.store(false, std::memory_order_release); }
    bool IsSet() const override { return set_.load(std::memory_order_acquire); }

private:
    std::atomic<bool> set_{false};
};

// Events live while someone holds them; a name whose event has gone starts a new, clear one.
struct EventTable {
    std::mutex mutex;
    std::map<std::string, std::weak_ptr<ProcessEvent>> events;
};

EventTable& Table() {
    static EventTable table;
    return table;
}

} // namespace

void NamedEvent::KeepToThisProcess(bool) {
    // The table is the process's own already.
}

std::shared_ptr<NamedEvent> NamedEvent::Create(const std::string& name) {
    EventTable& table = Table();
    std::lock_guard<std::mutex> lock(table.mutex);
    for (auto it = table.events.begin(); it != table.events.end();) {
        if (it->second.expired() && it->first != name)
            it = table.events.erase(it);
        else
            ++it;
    }
    if (auto existing = table.events[name].lock())
        return existing;
    auto event = std::make_shared<ProcessEvent>();
    table.events[name] = event;
    return event;
}

} // namespace brumo
