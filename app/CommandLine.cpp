#include "CommandLine.h"

#include <algorithm>
#include <array>
#include <string_view>

#ifndef TAVENDEL_VERSION
#error "TAVENDEL_VERSION must hold the project's version"
#endif

namespace {

// Qt's options as QGuiApplication and QApplication document them, with
// whether each takes a value as its next argument.
struct QtOption
{
    std::string_view name;
    bool takesValue;
};
constexpr std::array kQtOptions{
    QtOption{"platform", true},      QtOption{"platformpluginpath", true},
    QtOption{"platformtheme", true}, QtOption{"plugin", true},
    QtOption{"qwindowgeometry", true}, QtOption{"qwindowicon", true},
    QtOption{"qwindowtitle", true},  QtOption{"session", true},
    QtOption{"display", true},       QtOption{"geometry", true},
    QtOption{"style", true},         QtOption{"stylesheet", true},
    QtOption{"qmljsdebugger", true}, QtOption{"reverse", false},
    QtOption{"widgetcount", false},
};

const QtOption* qtOption(std::string_view argument)
{
    // Qt takes "--name" like "-name", and "-name=value" in one argument.
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    const std::string_view name = argument.substr(0, argument.find('='));
    const auto found = std::find_if(kQtOptions.begin(), kQtOptions.end(),
                                    [name](const QtOption& option) { return option.name == name; });
    return found == kQtOptions.end() ? nullptr : &*found;
}

} // namespace

CommandLine CommandLine::parse(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--")
            break; // what follows are no options
        if (argument.size() < 2 || argument.front() != '-')
            continue;
        if (argument == "--help" || argument == "-h")
            return {Action::ShowHelp, {}};
        if (argument == "--version" || argument == "-v")
            return {Action::ShowVersion, {}};
        const QtOption* option = qtOption(argument);
        if (!option)
            return {Action::Refuse, std::string(argument)};
        if (option->takesValue && argument.find('=') == std::string_view::npos)
            ++i;
    }
    return {};
}

std::string helpText()
{
    return "Usage: tavendel [OPTION]\n"
           "Practise reading and writing Roman numerals.\n"
           "\n"
           "  -h, --help     show this help and exit\n"
           "  -v, --version  show the version and exit\n"
           "\n"
           "Without options the program opens its first window. Qt's own options\n"
           "(such as -platform or -style) are passed to Qt.\n";
}

std::string versionText()
{
    return "tavendel " TAVENDEL_VERSION "\n";
}

std::string refusalText(const std::string& option)
{
    return "tavendel: unknown option '" + option + "' (try 'tavendel --help')\n";
}
