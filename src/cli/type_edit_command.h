#pragma once

#include "cli/subcommand.h"

#include <string>

namespace brumo {

// brumo remove|enable|disable TYPE and brumo move TYPE POSITION: one change to the list, as the
// main window's commands make it.
class TypeEditCommand : public Subcommand {
public:
    enum class Change { Remove, Enable, Disable, Move };

    explicit TypeEditCommand(Change change) : change_(change) {}
    CLI::App* Add(CLI::App& app) override;
    int Execute(CliContext& context) override;

private:
    Change change_;
    std::string type_;
    int position_ = 0;
};

} // namespace brumo
