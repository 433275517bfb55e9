// How a run of the tool fails: a one-line message and an exit status. Every
// failure is thrown as a Failure and reported by main.
#pragma once

#include <string>

#include "movlex.h"

namespace movlex::cli {

constexpr int EXIT_BAD_INPUT = 1;
constexpr int EXIT_BAD_COMMAND_LINE = 2;

struct Failure {
    int exit_code;
    std::string message;
};

[[noreturn]] inline void command_line_error(std::string message) {
    throw Failure{EXIT_BAD_COMMAND_LINE, std::move(message)};
}
[[noreturn]] inline void input_error(std::string message) { throw Failure{EXIT_BAD_INPUT, std::move(message)}; }

// The name of a result code, for messages ("RC_BAD_ARGUMENT").
inline const char* code_name(RetCode code) {
    switch (code) {
        case RC_OK: return "RC_OK";
        case RC_NOT_INITIALIZED: return "RC_NOT_INITIALIZED";
        case RC_BAD_ARGUMENT: return "RC_BAD_ARGUMENT";
        case RC_NO_MEMORY: return "RC_NO_MEMORY";
        case RC_START_OUT_OF_RANGE: return "RC_START_OUT_OF_RANGE";
        case RC_END_OUT_OF_RANGE: return "RC_END_OUT_OF_RANGE";
        case RC_INTERNAL_ERROR: return "RC_INTERNAL_ERROR";
        default: return "an unknown code";
    }
}

// "LABEL: ENTRY failed with RC_... (N)".
inline std::string entry_failure(const std::string& label, const char* entry, RetCode code) {
    return label + ": " + entry + " failed with " + code_name(code) + " (" + std::to_string(code) + ")";
}

}  // namespace movlex::cli
