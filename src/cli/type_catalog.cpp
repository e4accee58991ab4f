#include "cli/type_catalog.h"

#include "model/default_types.h"
#include "model/type_store.h"
#include "platform/locale_info.h"

#include <charconv>

namespace brumo {

namespace {

std::optional<long long> WholeNumber(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    long long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

std::optional<std::string> TypeCatalog::Load(const ProgramFiles& files, TypeCatalog& catalog) {
    return LoadFrom(files.TypeStoreToRead(), catalog);
}

TypeCatalog TypeCatalog::Of(std::vector<TJunkFileObj> types) {
    TypeCatalog catalog;
    catalog.types_ = std::move(types);
    return catalog;
}

std::optional<std::string> TypeCatalog::LoadFrom(const std::string& storePath,
                                                 TypeCatalog& catalog) {
    TypeStore store(false);
    TypeStore::LoadResult result = store.Load(storePath);
    switch (result.status) {
    case TypeStore::LoadStatus::Loaded:
        catalog.types_ = std::move(result.types);
        catalog.fromDefaults_ = false;
        break;
    case TypeStore::LoadStatus::Missing:
    case TypeStore::LoadStatus::Empty:
        catalog = OfDefaults(false);
        break;
    case TypeStore::LoadStatus::Failed:
        return result.error.empty() ? "The type store " + Quoted(storePath) + " cannot be read."
                                    : result.error;
    }
    catalog.storePath_ = storePath;
    return std::nullopt;
}

TypeCatalog TypeCatalog::OfDefaults(bool recycleUnusable) {
    TypeCatalog catalog;
    catalog.types_ = DefaultTypes::Build(recycleUnusable);
    catalog.fromDefaults_ = true;
    return catalog;
}

int TypeCatalog::DisableRecycleTypes() {
    int disabled = 0;
    for (TJunkFileObj& type : types_) {
        if (type.Method != MethodRecycleBin)
            continue;
        disabled += type.Enabled ? 1 : 0;
        type.Enabled = false;
    }
    return disabled;
}

TypeCatalog::Lookup TypeCatalog::Find(const std::string& which) const {
    Lookup found;
    std::vector<int> named;
    for (size_t i = 0; i < types_.size(); ++i)
        if (LocaleInfo::EqualIgnoreCase(types_[i].Name, which))
            named.push_back(static_cast<int>(i) + 1);

    if (auto number = WholeNumber(which)) {
        bool inRange = *number >= 1 && *number <= static_cast<long long>(types_.size());
        if (inRange && (named.empty() || (named.size() == 1 && named[0] == *number))) {
            found.number = static_cast<int>(*number);
            found.type = &types_[static_cast<size_t>(*number - 1)];
            return found;
        }
        if (inRange) {
            found.error = Quoted(which) + " is both the number of junk file type " +
                          Quoted(types_[static_cast<size_t>(*number - 1)].Name) +
                          " and the name of junk file type " + std::to_string(named[0]) +
                          "; give the number.";
            return found;
        }
        if (named.empty()) {
            found.error = "There is no junk file type number " + which + "; the list has " +
                          std::to_string(types_.size()) + " (see \"brumo list\").";
            return found;
        }
    }

    if (named.size() == 1) {
        found.number = named[0];
        found.type = &types_[static_cast<size_t>(named[0] - 1)];
    } else if (named.empty()) {
        found.error =
            "There is no junk file type named " + Quoted(which) + " (see \"brumo list\").";
    } else {
        std::string numbers;
        for (int n : named)
            numbers += (numbers.empty() ? "" : ", ") + std::to_string(n);
        found.error = "Several junk file types are named " + Quoted(which) + " (numbers " +
                      numbers + "); give the number.";
    }
    return found;
}

} // namespace brumo
