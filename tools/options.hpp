// The command line of the tool: every option declared once, with its help,
// and read into Options.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "indicator_request.hpp"

namespace movlex::cli {

struct Options {
    std::vector<IndicatorRequest> requests;
    std::optional<std::string> input_path;   // none: the bundled sample; "-": standard input
    std::optional<std::string> output_path;  // none: standard output
    bool initialise = true;
    bool list = false;
    bool stream = false;  // also set by --by
    bool quiet = false;
    std::optional<std::string> by_column;
    std::optional<IndicatorRequest> scan;  // --scan: every candlestick pattern, with these settings
    std::optional<std::string> shown;      // --help or --version: the text to print, and nothing else
};

// Reads the arguments; a bad command line ends the run (exit status 2).
Options parse_options(int argc, char** argv);

// The text of --version: "movlex 1.2.3".
std::string version_text();

}  // namespace movlex::cli
