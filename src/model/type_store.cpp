#include "model/type_store.h"

#include "model/store_reader.h"
#include "model/store_writer.h"
#include "platform/file_system.h"

namespace brumo {

namespace {
std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// A system message as a sentence of its own: trailing line breaks off, a full stop on.
std::string Sentence(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    if (!text.empty() && text.back() != '.')
        text += '.';
    return text;
}

std::string KeepNote(const std::string& path) {
    return " Brumo will keep a copy of the file as " + Quoted(TypeStore::FreeCopyName(path)) +
           " before it writes the file again.";
}
} // namespace

std::string TypeStore::WriteResult::Message() const {
    if (error.empty())
        return notice;
    if (notice.empty())
        return error;
    return notice + "\n" + error;
}

std::string TypeStore::FreeCopyName(const std::string& path) {
    for (int n = 1; n < 10000; ++n) {
        std::string name = path + ".BAD" + (n == 1 ? std::string() : std::to_string(n));
        if (!FileSystem::FileExists(name) && !FileSystem::FolderExists(name))
            return name;
    }
    return {};
}

std::string TypeStore::Serialize(std::span<const TJunkFileObj* const> types) {
    StoreWriter out;
    for (const TJunkFileObj* type : types)
        if (type)
            type->SaveToStream(out);
    return out.Take();
}

std::string TypeStore::Serialize(std::span<const TJunkFileObj> types) {
    StoreWriter out;
    for (const auto& type : types)
        type.SaveToStream(out);
    return out.Take();
}

TypeStore::LoadResult TypeStore::Parse(std::string_view bytes, const std::string& fileName) {
    LoadResult result;
    if (bytes.empty()) {
        result.status = LoadStatus::Empty;
        return result;
    }
    StoreReader in(bytes, fileName);
    while (!in.AtEnd()) {
        TJunkFileObj type;
        if (auto error = type.LoadFromStream(in)) {
            result.status = LoadStatus::Failed;
            const size_t read = result.types.size();
            result.error = error->message + " " + std::to_string(read) +
                           (read == 1 ? " junk file type was" : " junk file types were") +
                           " read before the error.";
            return result;
        }
        result.types.push_back(std::move(type));
    }
    result.status = LoadStatus::Loaded;
    return result;
}

TypeStore::LoadResult TypeStore::Load(const std::string& path) {
    LoadResult result;
    const std::string target = FileSystem::LinkTarget(path);
    // What stands at the name is no store of anyone's: say so rather than stand in for it.
    const char* notAFile = FileSystem::FolderExists(target) ? "a folder"
                           : FileSystem::IsSpecialFile(target)
                               ? "no regular file (a FIFO or a device)"
                               : nullptr;
    if (notAFile) {
        failed_.insert(path);
        result.status = LoadStatus::Failed;
        result.error = Quoted(path) +
                       (target == path ? "" : " (a link to " + Quoted(target) + ")") + " is " +
                       notAFile + ", not a file of junk file types: move it away.";
        return result;
    }
    if (!files_->FileExists(target)) {
        failed_.erase(path);
        result.status = LoadStatus::Missing;
        return result;
    }
    std::string bytes;
    if (OsError error = files_->ReadFile(target, bytes)) {
        failed_.insert(path);
        result.status = LoadStatus::Failed;
        result.error = "Cannot open file " + Quoted(path) + ". " + Sentence(error.Message());
        if (writes_)
            result.error += KeepNote(path);
        return result;
    }
    result = Parse(bytes, path);
    if (result.status == LoadStatus::Failed) {
        failed_.insert(path);
        if (writes_)
            result.error += KeepNote(path);
    } else {
        failed_.erase(path);
    }
    return result;
}

bool TypeStore::KeepFailedFile(const std::string& path, bool moveIt, WriteResult& result) {
    if (!failed_.contains(path))
        return true;
    if (!files_->FileExists(path)) {
        failed_.erase(path); // gone meanwhile: nothing left to keep
        return true;
    }
    const std::string copy = FreeCopyName(path);
    OsError error;
    if (copy.empty()) {
        error.code = OsError::AccessDenied();
    } else if (moveIt) {
        error = files_->MoveFile(path, copy);
    } else {
        std::string bytes;
        error = files_->ReadFile(FileSystem::LinkTarget(path), bytes);
        if (!error)
            error = files_->WriteFileAtomic(copy, bytes);
    }
    if (error) {
        result.error = Quoted(path) +
                       " failed to load earlier and is left as it is, because keeping a copy "
                       "of it failed: " +
                       error.Message();
        return false;
    }
    failed_.erase(path);
    result.keptCopy = copy;
    result.notice = Quoted(path) +
                    " could not be read when it was loaded; its contents were kept as " +
                    Quoted(copy) + ".";
    return true;
}

TypeStore::WriteResult TypeStore::Save(const std::string& path,
                                       std::span<const TJunkFileObj* const> types) {
    WriteResult result;
    if (!KeepFailedFile(path, false, result))
        return result;
    // A link stays a link: the list goes where it points.
    if (OsError error = files_->WriteFileAtomic(FileSystem::LinkTarget(path), Serialize(types))) {
        result.error = "Cannot create file " + Quoted(path) + ". " + error.Message();
        return result;
    }
    result.saved = true;
    return result;
}

TypeStore::WriteResult TypeStore::Save(const std::string& path,
                                       std::span<const TJunkFileObj> types) {
    std::vector<const TJunkFileObj*> pointers;
    pointers.reserve(types.size());
    for (const auto& type : types)
        pointers.push_back(&type);
    return Save(path, pointers);
}

TypeStore::WriteResult TypeStore::Remove(const std::string& path) {
    WriteResult result;
    const bool keep = failed_.contains(path);
    if (!KeepFailedFile(path, true, result))
        return result;
    if (!keep || result.keptCopy.empty()) {
        OsError error = files_->DeleteFile(path);
        if (error && error.code != OsError::NotFound()) {
            result.error = "Cannot delete file " + Quoted(path) + ". " + error.Message();
            return result;
        }
    }
    result.saved = true;
    return result;
}

} // namespace brumo
