#pragma once

#include <cstdint>

// Command codes of the two pipes.
namespace pipecmd {

// Sent by the host on the viewer's pipe.
inline constexpr std::uint8_t kLoadHostData = 1;
inline constexpr std::uint8_t kWriteExchange = 4;
inline constexpr std::uint8_t kStopServer = 11;
inline constexpr std::uint8_t kPointsInPolygons = 18;
inline constexpr std::uint8_t kWriteShownTins = 19;
inline constexpr std::uint8_t kLoadHostPolygons = 20;
inline constexpr std::uint8_t kClearHostPolygons = 21;
inline constexpr std::uint8_t kNoOperation = 22;

// Sent by the viewer on the host's pipe.
inline constexpr std::uint8_t kGetHostCad = 0;
inline constexpr std::uint8_t kRegisterTin = 10;
inline constexpr std::uint8_t kFetchHostCad = 12;
inline constexpr std::uint8_t kFetchTexture = 13;
inline constexpr std::uint8_t kGetPointClouds = 16;
inline constexpr std::uint8_t kWindowPlacement = 17;

// Command 4 always asks the exchange writer for the TIN part's layer-flag form.
inline constexpr int kExchangeTinTypeLayerFlag = 0xFF;

// Pipe names as the host knows them; the platform maps them to local sockets.
inline constexpr const char* kViewerPipeName = "\\\\.\\PIPE\\ORVANE_SendMessage2";
inline constexpr const char* kHostPipeName = "\\\\.\\PIPE\\ORVANE_SendMessage1";

}  // namespace pipecmd
