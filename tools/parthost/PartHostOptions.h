#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The command line of parthost.
struct PartHostOptions {
    std::string seed;
    std::string plugin;
    std::string out;
    std::optional<std::uint32_t> docalc;
    bool form = false;
    bool csv = false;
    bool edit = false;
    bool interactive = false;    // --edit leaves the dialog to a person until it closes
    bool formLayout = false;     // each form PDF gets its layout report beside it
    std::string script;

    // False with error for an unknown option, a missing value or a missing required one.
    bool Parse(const std::vector<std::string>& args, std::string& error);
    static const char* Usage();
};
