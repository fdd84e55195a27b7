#pragma once

#include <string>
#include <vector>

// What the command line gave: the V and X switches (equivalent) and the work folder.
struct LaunchArgs {
    int vSwitch = 0;
    int xSwitch = 0;
    std::string folder;   // UTF-8, with '/' appended
};

// The viewer's command line: one of the switches V or X (any case, judged by the
// first character) and exactly one existing folder. An argument starting with '-'
// is a switch; one starting with '/' is a switch only when no such path exists,
// so "/V /srv/survey/site1" works. The first rejected argument makes the whole
// line invalid, and the program then ends silently.
class CVCommandLineInfo {
public:
    explicit CVCommandLineInfo(LaunchArgs& args) : m_args(args) {}

    //! One argument (without its switch character when isSwitch), in order.
    void ParseParam(const std::string& param, bool isSwitch, bool isLast);
    //! Splits the arguments after the program name as above and parses each.
    void ParseArguments(const std::vector<std::string>& arguments);

    bool Valid() const { return m_valid != 0; }
    bool Error() const { return m_error != 0; }

private:
    int m_valid = 0;
    int m_error = 0;
    LaunchArgs& m_args;
};
