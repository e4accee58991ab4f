#include "platform/folder_prefetch.h"

namespace brumo {

// Folders are not read ahead here: the walk reads each one itself.
std::unique_ptr<FolderPrefetch> FolderPrefetch::Create() {
    return nullptr;
}

} // namespace brumo
