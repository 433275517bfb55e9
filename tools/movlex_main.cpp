// movlex: computes indicators of the library over OHLCV data in CSV form and
// writes the input rows back with one column per indicator output. It acts as
// a host of the library: MOVLEX_INIT first (unless --no-init), the
// indicators through their exported entries, MOVLEX_SHUTDOWN last.
//
// Every failure ends the program with a one-line message on standard error
// and a non-zero status. By default every result is computed before the
// first row is written (batch_run.hpp); with --stream (or --by) each row is
// written once computed, so a failure can come after earlier rows
// (stream_run.hpp).
#include <cstdio>
#include <new>
#include <string>

#include "batch_run.hpp"
#include "input_file.hpp"
#include "library_session.hpp"
#include "options.hpp"
#include "run_failure.hpp"
#include "stream_run.hpp"

namespace movlex::cli {
namespace {

int run(int argc, char** argv) {
    const Options options = parse_options(argc, argv);
    if (options.shown) {
        std::fputs(options.shown->c_str(), stdout);
        return 0;
    }
    if (options.list) {
        std::fputs(describe_indicators().c_str(), stdout);
        return 0;
    }
    LibrarySession library(options.initialise);
    if (options.scan)
        run_scan(options);
    else if (options.stream)
        run_streaming(options);
    else
        run_batch(options);
    if (!options.input_path && !options.scan)
        std::fprintf(stderr, "movlex: no input file was given; read the bundled sample %s\n", bundled_sample().c_str());
    return 0;
}

// The message on one line, whatever text it quotes.
std::string one_line(const std::string& message) {
    std::string line;
    for (char c : message) line += (c == '\n' || c == '\r') ? ' ' : c;
    return line;
}

}  // namespace
}  // namespace movlex::cli

int main(int argc, char** argv) {
    using namespace movlex::cli;
    try {
        return run(argc, argv);
    } catch (const Failure& failure) {
        std::fprintf(stderr, "movlex: %s\n", one_line(failure.message).c_str());
        return failure.exit_code;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "movlex: out of memory\n");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "movlex: %s\n", one_line(error.what()).c_str());
    }
    return EXIT_BAD_INPUT;
}
