#pragma once

#include "outside/LxData.h"

#include <optional>
#include <string>
#include <string_view>

// The rules of the LandXML attribute records, apart from any widget: how long a
// text may be, how the datum difference is read and written, and how the time
// stamp becomes the XML's xs:dateTime.
class LandXmlAttrRules {
public:
    static constexpr std::size_t kMaxFieldBytes = 127;   // CP932 bytes

    //! The longest whole-character prefix whose CP932 form takes at most 127 bytes.
    static std::string CutField(std::string_view utf8);
    //! Cuts every text of the three records.
    static void CutAll(LxDATA_Project& project, LxDATA_Application& application, LxDATA_Coordinate& coordinate);
    //! The datum difference as stored ("0.000"), whatever the process locale.
    static std::string FormatDifference(double metres);
    //! Reads a stored or typed difference in the C locale; nullopt when it is not a
    //! finite number.
    static std::optional<double> ParseDifference(std::string_view text);
    //! "YYYY-MM-DD HH:MM:SS" -> "YYYY-MM-DDTHH:MM:SS"; nullopt for anything else.
    static std::optional<std::string> ToXmlDateTime(std::string_view timeStamp);
    //! The zone texts for zone 1..19 ("9(X,Y)", "第9系"); false for other zones.
    static bool ZoneTexts(int zone, std::string& name, std::string& desc);
};
