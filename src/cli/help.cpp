// The parser's help and usage errors, in the tool's own words.
#include <cstdint>
#include <memory>
#include <sstream>

#include "bytes/number_text.h"
#include "cli/commands.h"
#include "platform/encoding.h"

namespace cli {
namespace {

class ToolHelp : public CLI::Formatter {
  public:
    std::string make_option_name(const CLI::Option* option, bool positional) const override {
        if (positional && !option->get_option_text().empty()) return option->get_option_text();
        return CLI::Formatter::make_option_name(option, positional);
    }
    std::string make_option_opts(const CLI::Option* option) const override {
        if (option->get_positional() || option->get_option_text().empty()) return "";
        return " " + option->get_option_text();
    }
    std::string make_option_usage(const CLI::Option* option) const override {
        return make_option_name(option, true);
    }
    // Wrapped to fit 80 columns beside the names.
    std::string make_option_desc(const CLI::Option* option) const override {
        const std::size_t width = 79 - get_column_width();
        std::string text;
        std::size_t line = 0;
        std::istringstream words(option->get_description());
        for (std::string word; words >> word;) {
            if (line > 0 && line + 1 + word.size() > width) {
                text += '\n';
                line = 0;
            } else if (line > 0) {
                text += ' ';
                ++line;
            }
            text += word;
            line += word.size();
        }
        return text;
    }
};

}  // namespace

const char* const kExitCodesHelp =
    "Exit codes: 0 all done; 1 a file that could not be read or written, or a\n"
    "usage error; 2 a file that is not a Velocitra 1.05 track (and none failed);\n"
    "129, 130, 143 stopped by SIGHUP, SIGINT (Ctrl-C), SIGTERM.";

CLI::Validator WholeNumber(int low, int high) {
    const std::string wanted =
        "wants a whole number from " + std::to_string(low) + " to " + std::to_string(high);
    return {[low, high, wanted](std::string& text) {
                // Decimal only: after the sign comes a digit, not "$" or "%".
                const bytes::NumberText number = bytes::ReadNumber(text);
                const std::size_t first = text.starts_with('+') ? 1 : 0;
                const bool whole = number.digits && number.exact && !number.negative &&
                                   number.length == text.size() && first < text.size() &&
                                   bytes::DigitValue(text[first]) < 10;
                if (whole && number.magnitude >= static_cast<std::uint64_t>(low) &&
                    number.magnitude <= static_cast<std::uint64_t>(high))
                    return std::string();
                return wanted + ", not '" + text + "'";
            },
            "", "WholeNumber"};
}

void UseToolHelp(CLI::App& app) {
    app.formatter(std::make_shared<ToolHelp>());
    app.get_formatter()->label("SUBCOMMAND", "COMMAND");
    app.get_formatter()->label("Positionals", "Arguments");
    app.get_formatter()->column_width(24);
}

std::string UsageErrorText(const CLI::ParseError& error, const std::string& command) {
    std::string what = error.what();
    // "-o: 1 required TEXT missing": the parser's words for a value left out.
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr && what.ends_with(" missing"))
        what.erase(what.find(':')) += " wants a value";
    const std::string help = command.empty() ? "trk --help" : "trk " + command + " --help";
    return "trk: " + platform::TerminalText(what) + "\nRun '" + help + "' for more.\n";
}

}  // namespace cli
