#include "platform/win32/held_move.h"

#include "platform/file_system.h"
#include "platform/win32/partial_copy.h"
#include "platform/win32/win_text.h"

namespace brumo {

namespace {
// The attributes a program may set; the others describe what a file is.
constexpr uint32_t kSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                               FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                               FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                               FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool NoLinksHere(const OsError& e) {
    return e.code == ERROR_INVALID_FUNCTION || e.code == ERROR_NOT_SUPPORTED ||
           e.code == ERROR_TOO_MANY_LINKS;
}

// Deletes name in folder when it is the file given (or, with any, whatever it is).
void RemoveName(const HeldFolder& folder, const std::string& name, const FileIdentity* only) {
    NtFile entry;
    FileIdentity found;
    if (folder.OpenEntry(name, DELETE, entry, found))
        return;
    if (!only || found.SameFile(*only))
        (void)entry.SetDisposition(true);
}
} // namespace

OsError MoveByPath(const std::string& from, const std::string& to) {
    if (MoveFileExW(WinText::FilePath(from).c_str(), WinText::FilePath(to).c_str(),
                    MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH))
        return {};
    const DWORD code = GetLastError();
    return OsError{code ? static_cast<int>(code) : ERROR_GEN_FAILURE};
}

OsError HeldMove::Move(NtFile& file, const FileIdentity& identity, const std::string& from,
                       const std::string& to) const {
    const std::wstring newName = WinText::Wide(toName);
    const OsError linked = file.Link(target.Handle(), newName);
    if (NoLinksHere(linked)) {
        const OsError renamed = file.Rename(target.Handle(), newName);
        if (renamed.code != ERROR_NOT_SAME_DEVICE)
            return renamed;
    }
    if (linked.code == ERROR_NOT_SAME_DEVICE || NoLinksHere(linked)) {
        file.Reset();
        return copies.empty() ? MoveByPath(from, to) : CopyAcross(identity);
    }
    if (linked)
        return linked;
    // The name did not exist before, so whatever it names now came from this link.
    if (!target.Names(toName, identity)) {
        RemoveName(target, toName, nullptr);
        return OsError{HeldFolder::LinkOnTheWay()};
    }
    // A read-only file gives up a name only with the attribute cleared; it is set back through
    // the same handle, for the name that stays.
    const uint32_t attributes = identity.attributes & kSettable;
    const bool readOnly = attributes & FILE_ATTRIBUTE_READONLY;
    OsError e = readOnly ? file.SetAttributes(attributes & ~FILE_ATTRIBUTE_READONLY) : OsError{};
    if (!e)
        e = file.SetDisposition(true);
    if (readOnly)
        (void)file.SetAttributes(attributes);
    file.Reset();
    if (!e && source.Names(fromName, identity))
        e.code = HeldFolder::LinkOnTheWay();
    if (e)
        RemoveName(target, toName, &identity);
    return e;
}

OsError HeldMove::CopyAcross(const FileIdentity& identity) const {
    // A link is moved as itself or not at all.
    if (identity.attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return OsError{ERROR_NOT_SAME_DEVICE};
    NtFile in;
    FileIdentity found;
    if (OsError e =
            source.OpenEntry(fromName, FILE_READ_DATA | DELETE | FILE_WRITE_ATTRIBUTES, in, found,
                             FILE_NON_DIRECTORY_FILE | FILE_SEQUENTIAL_ONLY, FILE_SHARE_READ))
        return e;
    if (!found.SameFile(identity))
        return OsError{HeldFolder::LinkOnTheWay()};
    NtFile copy;
    {
        HeldFolder folder;
        if (OsError e = HeldFolder::Open(copies, folder, true))
            return e;
        if (OsError e = PartialCopy::Write(in, folder, toName, copy))
            return e;
    }
    FileIdentity copied;
    OsError e = copy.Identity(copied);
    if (!e)
        e = copy.Rename(target.Handle(), WinText::Wide(toName));
    if (!e && !target.Names(toName, copied))
        e.code = HeldFolder::LinkOnTheWay();
    // The source goes only once its copy is in place; if it cannot go, neither does the copy, so
    // that the file is never in both places.
    const uint32_t attributes = identity.attributes & kSettable;
    const bool readOnly = attributes & FILE_ATTRIBUTE_READONLY;
    if (!e && readOnly)
        e = in.SetAttributes(attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!e)
        e = in.SetDisposition(true);
    if (e && readOnly)
        (void)in.SetAttributes(attributes);
    in.Reset();
    if (!e && source.Names(fromName, identity))
        e.code = HeldFolder::LinkOnTheWay();
    (void)(e ? copy.SetDisposition(true) : copy.SetAttributes(attributes));
    copy.Reset();
    FileSystem::RemoveEmptyFolder(copies);
    return e;
}

} // namespace brumo
