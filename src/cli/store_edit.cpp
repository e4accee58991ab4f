#include "cli/store_edit.h"

#include "model/type_store.h"
#include "runs/line_escape.h"

namespace brumo {

std::optional<TypeCatalog> StoreEdit::Begin(const CliContext& context) {
    if (context.WindowOpen()) {
        context.Fail("the window of this program is open and writes its own list of junk file "
                     "types when it closes, over any change made here; nothing was changed. "
                     "Make the change in the window, or close it first.");
        return std::nullopt;
    }
    if (context.RecoveryPending()) {
        context.Fail("the recovery copy \"" + context.files.RecoveryCopy +
                     "\" waits to be restored or discarded (\"brumo recover\"); nothing was "
                     "changed.");
        return std::nullopt;
    }
    return context.LoadTypes(true);
}

int StoreEdit::Save(const CliContext& context, const std::vector<TJunkFileObj>& types,
                    const std::string& done) {
    TypeStore store;
    const TypeStore::WriteResult saved = store.Save(context.files.TypeStore, types);
    if (!saved.saved)
        return context.Fail(saved.Message());
    context.out << done << "\n";
    return ExitOk;
}

std::string StoreEdit::Quoted(const TJunkFileObj& type) {
    return "\"" + LineEscape::Of(type.Name) + "\"";
}

} // namespace brumo
