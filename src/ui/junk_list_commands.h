#pragma once

#include "model/junk_file_type.h"

#include <memory>

class QAction;

namespace brumo {

class THDForm;

// The main window's commands that edit the list: add, defaults, edit, remove and undo,
// moves, properties, check all and one clean-up method for all.
class JunkListCommands {
public:
    explicit JunkListCommands(THDForm& form) : form_(form) {}

    void aAddExecute();
    void aDefaultsExecute();
    void aEditExecute();
    void aRemExecute();
    void aUndoExecute();
    void aMoveExecute(int step);
    void aPropsExecute();
    void aCheckAllExecute(QAction* sender);
    void mnuMethodAllClick();
    void mnuSharedAllClick(QAction* sender);

private:
    // Appends after the duplicate-function question, which may decline.
    void AddWithIdentityCheck(std::unique_ptr<TJunkFileObj> type);
    // Ends a command that changed the list: the recovery copy, then the rules.
    void Changed();

    THDForm& form_;
};

} // namespace brumo
