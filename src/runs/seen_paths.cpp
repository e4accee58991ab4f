#include "runs/seen_paths.h"

#include "platform/folder.h"

namespace brumo {

SeenPaths::SeenPaths() : exact_(Folder::SpellsAsOnDisk()) {}

std::string SeenPaths::ExactKey(const std::string& path) {
    std::string key = path;
    if (key.size() >= 2 && key[1] == ':' && key[0] >= 'a' && key[0] <= 'z')
        key[0] = static_cast<char>(key[0] - 'a' + 'A');
    return key;
}

std::string SeenPaths::Key(const std::string& path) const {
    const size_t separator = path.rfind('\\');
    if (separator == std::string::npos)
        return path;
    const std::string_view folder = std::string_view(path).substr(0, separator);
    if (folder != lastFolder_) {
        lastFolder_.assign(folder);
        lastId_ = Folder::IdentityOf(lastFolder_.size() == 2 ? lastFolder_ + "\\" : lastFolder_);
    }
    if (!lastId_)
        return path;
    // No path begins with a "<": the key cannot be taken for one.
    return "<" + std::to_string(lastId_->volume) + ":" + std::to_string(lastId_->index) + ">" +
           path.substr(separator);
}

// A name below a known folder is the one the walk found on disk, so it compares letter for
// letter everywhere: case twins in a folder that tells case apart stay two files.
static bool NamesAsOnDisk(const std::string& key) {
    return !key.empty() && key[0] == '<';
}

bool SeenPaths::Insert(const std::string& path) {
    const std::string key = Key(path);
    return exact_ || NamesAsOnDisk(key) ? exactPaths_.insert(ExactKey(key)).second
                                        : paths_.insert(key).second;
}

bool SeenPaths::Contains(const std::string& path) const {
    const std::string key = Key(path);
    return exact_ || NamesAsOnDisk(key) ? exactPaths_.count(ExactKey(key)) != 0
                                        : paths_.count(key) != 0;
}

void SeenPaths::Clear() {
    paths_.clear();
    exactPaths_.clear();
    lastFolder_.clear();
    lastId_.reset();
}

} // namespace brumo
