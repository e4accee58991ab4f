#include "platform/named_event.h"

#include "platform/win32/win_text.h"

#include "platform/win32/windows_api.h"

#include <atomic>

namespace brumo {

namespace {
class Win32Event : public NamedEvent {
public:
    explicit Win32Event(HANDLE handle) : handle_(handle) {}
    ~Win32Event() override { CloseHandle(handle_); }
    Win32Event(const Win32Event&) = delete;
    Win32Event& operator=(const Win32Event&) = delete;

    void Set() override { SetEvent(handle_); }
    void Reset() override { ResetEvent(handle_); }
    bool IsSet() const override { return WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0; }

private:
    HANDLE handle_;
};

std::atomic<bool> processOwn{false};
} // namespace

void NamedEvent::KeepToThisProcess(bool own) {
    processOwn.store(own);
}

std::shared_ptr<NamedEvent> NamedEvent::Create(const std::string& name) {
    // Object names may not hold a backslash; anything else is the caller's text. A name kept
    // to this process carries its id, so that a count stopped with Ctrl-C in one console does
    // not stop a clean-up run elsewhere, nor one process's start reset another's stop.
    std::wstring wide = WinText::Wide(name);
    for (auto& c : wide)
        if (c == L'\\')
            c = L'/';
    if (!wide.empty() && processOwn.load())
        wide += L" [" + std::to_wstring(GetCurrentProcessId()) + L"]";
    HANDLE h = CreateEventW(nullptr, TRUE, FALSE, wide.empty() ? nullptr : wide.c_str());
    // A name taken by another kind of object still gets a working, private event.
    if (!h)
        h = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return std::make_shared<Win32Event>(h);
}

} // namespace brumo
