#pragma once

#include <string>

// What the command line asks of the program. Tavendel has two options of its
// own, --help and --version, which answer without opening a window (so they
// need no display); Qt's own documented options (-platform, -style, ...) are
// left to Qt; any other option is refused. Arguments that are not options
// are ignored, as they always were.
struct CommandLine
{
    enum class Action { Run, ShowHelp, ShowVersion, Refuse };

    static CommandLine parse(int argc, const char* const* argv);

    Action action = Action::Run;
    std::string refused; // the option refused
};

// The texts printed for --help and --version, and the one-line error for an
// option refused.
std::string helpText();
std::string versionText();
std::string refusalText(const std::string& option);
