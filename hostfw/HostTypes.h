#pragma once

#include "platform/MessageBoxService.h"

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

// Message-box flags and answers: the platform's values under the names hostfw's
// callers use (MB_TASKMODAL is the host's own addition).
inline constexpr unsigned kMbOk = tessara::MB_OK;
inline constexpr unsigned kMbYesNo = tessara::MB_YESNO;
inline constexpr unsigned kMbIconHand = tessara::MB_ICONHAND;
inline constexpr unsigned kMbIconQuestion = tessara::MB_ICONQUESTION;
inline constexpr unsigned kMbIconExclamation = tessara::MB_ICONEXCLAMATION;
inline constexpr unsigned kMbIconInformation = tessara::MB_ICONINFORMATION;
inline constexpr unsigned kMbTaskModal = 0x2000;
inline constexpr int kIdOk = tessara::IDOK;
inline constexpr int kIdCancel = tessara::IDCANCEL;
inline constexpr int kIdYes = tessara::IDYES;
inline constexpr int kIdNo = tessara::IDNO;
