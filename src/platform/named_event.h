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
    // Where names are shared between processes (Windows), makes the events created from now
    // on this process's own. The window keeps the shared name that other programs may use to
    // stop it; a headless command must neither stop it nor be stopped by it.
    static void KeepToThisProcess(bool own);
    virtual void Set() = 0;
    virtual void Reset() = 0;
    // A wait with a zero time-out.
    virtual bool IsSet() const = 0;
};

} // namespace brumo
