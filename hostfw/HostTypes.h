#pragma once

#include <cstdint>

// Exported from the shared library. Plug-ins compile with hidden visibility, so
// everything they reach in hostfw must say so explicitly.
#define HOSTFW_API __attribute__((visibility("default")))

using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using BOOL = int;

// Answers of the part-program entries the host calls.
inline constexpr WORD kPartResultDone = 0;
inline constexpr WORD kPartResultFailed = 4;
inline constexpr WORD kPartResultNotAvailable = 0x8000;

// DoCalc flag bits.
inline constexpr DWORD kDoCalcCheck = 0x01;
inline constexpr DWORD kDoCalcCalculate = 0x02;
inline constexpr DWORD kDoCalcMakeFigure = 0x04;
inline constexpr DWORD kDoCalcOutput = 0x08;
inline constexpr DWORD kDoCalcForm = 0x10;

// A double equal to this means "not set" in every stored and collected value.
inline constexpr double kUnsetValue = 1e-16;

// Limits of the host's fixed-size text fields, counted in CP932 bytes.
inline constexpr unsigned kRecordTextBytes = 254;   // char[255] with its terminator
inline constexpr unsigned kHostPathBytes = 259;     // char[260] with its terminator

// Message-box flags and answers the host framework understands (the platform's values).
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbIconHand = 0x10;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;
inline constexpr unsigned kMbTaskModal = 0x2000;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
