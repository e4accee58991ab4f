#include "cli/type_edit_command.h"

#include "cli/store_edit.h"
#include "runs/recycle_settings_check.h"
#include "runs/run_texts.h"

#include <CLI/CLI.hpp>

namespace brumo {

namespace {

struct ChangeWords {
    const char* name;
    const char* help;
};

constexpr ChangeWords kWords[] = {
    {"remove", "Remove a junk file type from the list."},
    {"enable", "Enable a junk file type, so that runs clean it up."},
    {"disable", "Disable a junk file type, so that runs leave it out."},
    {"move", "Move a junk file type to another place in the list, the order of clean-up."}};

} // namespace

CLI::App* TypeEditCommand::Add(CLI::App& app) {
    const ChangeWords& words = kWords[static_cast<int>(change_)];
    CLI::App* sub = app.add_subcommand(words.name, words.help);
    sub->add_option("TYPE", type_, "The type's number in \"brumo list\" or its name.")->required();
    if (change_ == Change::Move)
        sub->add_option("POSITION", position_, "Its new number, from 1 to the number of types.")
            ->required();
    return sub;
}

int TypeEditCommand::Execute(CliContext& context) {
    std::optional<TypeCatalog> catalog = StoreEdit::Begin(context);
    if (!catalog)
        return ExitError;
    const TypeCatalog::Lookup found = catalog->Find(type_);
    if (!found.type)
        return context.Fail(found.error);
    std::vector<TJunkFileObj> types = catalog->Types();
    const size_t at = static_cast<size_t>(found.number) - 1;
    const std::string name = StoreEdit::Quoted(types[at]);
    const std::string number = std::to_string(found.number);

    switch (change_) {
    case Change::Remove:
        types.erase(types.begin() + static_cast<std::ptrdiff_t>(at));
        return StoreEdit::Save(context, types, "Removed " + name + ", type " + number + ".");
    case Change::Enable:
    case Change::Disable: {
        const bool enable = change_ == Change::Enable;
        if (types[at].Enabled == enable) {
            context.out << name << " is " << (enable ? "enabled" : "disabled")
                        << " already; nothing was written.\n";
            return ExitOk;
        }
        if (enable && types[at].Method == MethodRecycleBin) {
            // As the window's check box: no Recycle Bin type is enabled while the bin is unusable.
            RecycleSettingsCheck check;
            if (check.CheckRecycleSettings()) {
                context.NoteRecycleProblems();
                return context.Fail(
                    RunTexts::CannotEnableRecycleType(check.RecycleSettingsError()));
            }
        }
        types[at].Enabled = enable;
        return StoreEdit::Save(
            context, types, (enable ? "Enabled " : "Disabled ") + name + ", type " + number + ".");
    }
    case Change::Move:
        if (position_ < 1 || static_cast<size_t>(position_) > types.size())
            return context.Fail("the position must be a number from 1 to " +
                                std::to_string(types.size()));
        if (static_cast<size_t>(position_) == at + 1) {
            context.out << name << " is type " << number << " already; nothing was written.\n";
            return ExitOk;
        }
        {
            TJunkFileObj moved = std::move(types[at]);
            types.erase(types.begin() + static_cast<std::ptrdiff_t>(at));
            types.insert(types.begin() + position_ - 1, std::move(moved));
        }
        return StoreEdit::Save(context, types,
                               "Moved " + name + " from " + number + " to " +
                                   std::to_string(position_) + ".");
    }
    return ExitError;
}

} // namespace brumo
