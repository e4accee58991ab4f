#include "ui/junk_list_files.h"

#include "model/default_types.h"
#include "ui/prompter.h"

#include <filesystem>
#include <optional>

namespace brumo {

namespace {

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

std::vector<TJunkFileObj> JunkListFiles::Load(bool recycleUnusable) {
    std::optional<TypeStore::LoadResult> loaded;
    if (FileExists(files_.RecoveryCopy) &&
        Prompter::AskYes(window_,
                         "It appears that Brumo was not shut down properly. Attempt to restore "
                         "changed data from the previous session?",
                         PromptIcon::Question)) {
        // Used even when empty: the previous session may have removed every type.
        loaded = store_.Load(files_.RecoveryCopy);
        if (loaded->status == TypeStore::LoadStatus::Missing)
            loaded.reset(); // gone since the question: fall back to the type store
    }
    if (!loaded) {
        loaded = store_.Load(files_.TypeStoreToRead());
        if (loaded->status == TypeStore::LoadStatus::Missing ||
            loaded->status == TypeStore::LoadStatus::Empty)
            loaded.reset();
    }
    std::vector<TJunkFileObj> types;
    if (!loaded) {
        DefaultTypes::AppendTo(types, recycleUnusable);
        return types;
    }
    if (loaded->status == TypeStore::LoadStatus::Failed)
        Prompter::Tell(window_, Q(loaded->error), PromptIcon::Error);
    return std::move(loaded->types);
}

bool JunkListFiles::UnreadTypesAtRisk() const {
    return store_.FailedToLoad(files_.TypeStoreToRead());
}

void JunkListFiles::WriteRecoveryCopy(const std::vector<const TJunkFileObj*>& types) {
    if (UnreadTypesAtRisk())
        return;
    const TypeStore::WriteResult result = store_.Save(files_.RecoveryCopy, types);
    if (!result.Message().empty())
        Prompter::Tell(window_, Q(result.Message()),
                       result.saved ? PromptIcon::Information : PromptIcon::Error);
}

void JunkListFiles::SaveAtClose(const std::vector<const TJunkFileObj*>& types) {
    const TypeStore::WriteResult saved = store_.Save(files_.TypeStore, types);
    if (!saved.saved) {
        // The recovery copy is kept; it gets this session's list as well, so that the next
        // start offers everything that could not be stored. Not so a list that failed to
        // load: restored, it would replace the types that were never read.
        QString text = Q(saved.Message());
        if (UnreadTypesAtRisk()) {
            text += "\r\n\r\nThe junk file types of this session were not kept, so that the "
                    "types Brumo could not read stay as they are.";
            Prompter::Tell(window_, text, PromptIcon::Error);
            return;
        }
        const TypeStore::WriteResult kept = store_.Save(files_.RecoveryCopy, types);
        if (kept.saved)
            text += Q("\r\n\r\nYour junk file types were kept in \"" + files_.RecoveryCopy +
                      "\"; Brumo offers to restore them at its next start.");
        else
            text += "\r\n\r\nYour changes to the junk file types could not be saved: " +
                    Q(kept.Message());
        Prompter::Tell(window_, text, PromptIcon::Error);
        return;
    }
    if (!saved.notice.empty())
        Prompter::Tell(window_, Q(saved.notice), PromptIcon::Information);
    const TypeStore::WriteResult removed = store_.Remove(files_.RecoveryCopy);
    if (!removed.Message().empty())
        Prompter::Tell(window_, Q(removed.Message()),
                       removed.saved ? PromptIcon::Information : PromptIcon::Error);
}

} // namespace brumo
