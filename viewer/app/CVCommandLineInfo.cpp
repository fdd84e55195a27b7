#include "viewer/app/CVCommandLineInfo.h"

#include <filesystem>
#include <system_error>

namespace {

bool PathExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::exists(std::filesystem::path(path), error);
}

}  // namespace

void CVCommandLineInfo::ParseParam(const std::string& param, bool isSwitch, bool isLast)
{
    if (m_error != 0) return;
    if (isSwitch) {
        const char first = param.empty() ? '\0' : param.front();
        if (first == 'V' || first == 'v') {
            m_args.vSwitch = 1;
        } else if (first == 'X' || first == 'x') {
            m_args.xSwitch = 1;
        } else {
            m_error = 1;
        }
    } else if (param.empty()) {
        // An empty argument names no folder (with the separator it would be the root).
        m_error = 1;
    } else if (m_args.folder.size() <= 1) {
        // The separator is appended even when the argument ends in one already.
        m_args.folder = param + "/";
    } else {
        m_error = 1;
    }
    if (isLast && m_error == 0) {
        if (m_args.vSwitch == 0 && m_args.xSwitch == 0) return;
        if (!PathExists(m_args.folder)) {
            m_error = 1;
        } else {
            m_valid = 1;
        }
    }
}

void CVCommandLineInfo::ParseArguments(const std::vector<std::string>& arguments)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool isLast = i + 1 == arguments.size();
        const bool dashSwitch = !argument.empty() && argument.front() == '-';
        const bool slashSwitch = !argument.empty() && argument.front() == '/' && !PathExists(argument);
        if (dashSwitch || slashSwitch) {
            ParseParam(argument.substr(1), true, isLast);
        } else {
            ParseParam(argument, false, isLast);
        }
    }
}
