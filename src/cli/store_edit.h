#pragma once

#include "cli/cli_context.h"
#include "cli/type_catalog.h"

#include <optional>
#include <string>
#include <vector>

namespace brumo {

// What the commands that change the list of junk file types share: they start from the list
// "brumo list" shows, write it where the window writes it and as atomically, and never while an
// open window would write its own list over theirs or a recovery copy waits to be restored.
class StoreEdit {
public:
    // The list to change; nullopt once the reason it may not be changed has gone to the error
    // stream.
    static std::optional<TypeCatalog> Begin(const CliContext& context);
    // Writes the list and, once it is written, says `done` on the output stream.
    static int Save(const CliContext& context, const std::vector<TJunkFileObj>& types,
                    const std::string& done);
    // The type's name in a message: quoted, every character on one line.
    static std::string Quoted(const TJunkFileObj& type);
};

} // namespace brumo
