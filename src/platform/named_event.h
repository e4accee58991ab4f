#pragma once

#include <memory>
#include <string>

namespace brumo {

// A named manual-reset event. Creating a name that exists opens the same event.
class NamedEvent {
public:
    virtual ~NamedEvent() = default;
    // New events start clear.
    static std::shared_ptr<NamedEvent> Create(const std::string& name);
    virtual void Set() = 0;
    virtual void Reset() = 0;
    // A wait with a zero time-out.
    virtual bool IsSet() const = 0;
};

} // namespace brumo
