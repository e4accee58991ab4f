#include "ui/command_rules.h"

namespace brumo {

CommandStates CommandRules::Evaluate(const CommandInputs& in) {
    CommandStates s;
    if (in.runMode != RunIdle) {
        s.cleanup = in.runMode == RunCleaning;
        s.count = in.runMode == RunCounting;
        return s;
    }
    const bool selected = in.selected >= 0 && in.selected < in.rowCount;
    const bool rows = in.rowCount > 0;
    s.cleanup = in.anyChecked;
    s.testMode = true;
    s.add = s.defaults = true;
    s.rem = s.edit = s.props = s.count = selected;
    s.undo = in.undoHeld;
    s.up = selected && in.selected > 0;
    s.down = selected && in.selected < in.rowCount - 1;
    s.checkAll = s.clearAll = s.methodAll = rows;
    s.held = s.help = s.about = true;
    return s;
}

} // namespace brumo
