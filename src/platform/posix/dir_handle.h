#pragma once

#include <list>
#include <memory>
#include <string>
#include <sys/types.h>

namespace brumo {

// The descriptor of an open folder. While no one is using it, the descriptor may be closed
// to make room and reopened later relative to its parent (checked to be the same folder), so
// that a walk deeper than the process's descriptor limit still works.
class DirHandle {
public:
    // Takes over a descriptor opened elsewhere; it stays open for the handle's lifetime.
    static std::shared_ptr<DirHandle> Adopt(int fd);
    ~DirHandle();
    DirHandle(const DirHandle&) = delete;
    DirHandle& operator=(const DirHandle&) = delete;

    // Keeps the descriptor open while it lives.
    class Use {
    public:
        Use() = default;
        Use(Use&& other) noexcept;
        Use& operator=(Use&& other) noexcept;
        ~Use();
        int Fd() const { return fd_; }
        explicit operator bool() const { return handle_ != nullptr; }

    private:
        friend class DirHandle;
        Use(DirHandle* handle, int fd) : handle_(handle), fd_(fd) {}
        void Release();
        DirHandle* handle_ = nullptr;
        int fd_ = -1;
    };
    // Opens the descriptor again where it was closed. Sets errno and returns an empty Use
    // when that fails (the folder is gone or was replaced).
    Use Acquire();

    // A subfolder by name, never through a link nor onto another file system. Null with
    // errno set on failure.
    static std::shared_ptr<DirHandle> OpenChild(const std::shared_ptr<DirHandle>& parent,
                                                const std::string& name);

    // Folder descriptors kept open at most before the least recently used are closed.
    static size_t OpenLimit();

private:
    struct Pool;
    DirHandle() = default;
    int EnsureOpenLocked(Pool& pool);
    void RegisterLocked(Pool& pool, int fd);
    void CloseLocked(Pool& pool, bool reopenable);

    std::shared_ptr<DirHandle> parent_; // null for an adopted handle
    std::string name_;
    int fd_ = -1;
    int pins_ = 0;
    bool identityKnown_ = false;
    dev_t dev_ = 0;
    ino_t ino_ = 0;
    std::list<DirHandle*>::iterator lru_;
};

} // namespace brumo
