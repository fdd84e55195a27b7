#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// What the file choice lists: the files of one folder with one extension
// (letter case ignored, so "A.TPF" copied from another system counts), their
// titles and update times, and the path the choice answers.
class ModelFileList {
public:
    struct Entry {
        std::string title;     // the name without the extension
        std::string timeText;  // the user's locale: long date, blank, time
    };

    //! Regular files only, sorted by name; an unreadable or missing folder lists nothing.
    static std::vector<Entry> List(const std::string& folder, const std::string& extension);
    //! Empty for a zero time.
    static std::string TimeText(std::chrono::system_clock::time_point t);
    //! folder/name.extension; nullopt for an empty name.
    static std::optional<std::string> ResultPath(const std::string& folder, const std::string& name,
                                                 const std::string& extension);
    //! The file a name stands for: folder/name.extension when it exists, else the
    //! listed file of that title whose extension differs in letter case ("A.TPF");
    //! nullopt when the folder holds neither.
    static std::optional<std::string> ExistingPath(const std::string& folder, const std::string& name,
                                                   const std::string& extension);
};
