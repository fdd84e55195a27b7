#pragma once

#include <string_view>

class QWidget;

namespace tessara {

// Buttons and icon of a message box, combined with |, as the system's callers spell them.
inline constexpr unsigned MB_OK = 0x0000;
inline constexpr unsigned MB_OKCANCEL = 0x0001;
inline constexpr unsigned MB_YESNOCANCEL = 0x0003;
inline constexpr unsigned MB_YESNO = 0x0004;
inline constexpr unsigned MB_TYPEMASK = 0x000F;
inline constexpr unsigned MB_ICONHAND = 0x0010;
inline constexpr unsigned MB_ICONERROR = MB_ICONHAND;
inline constexpr unsigned MB_ICONSTOP = MB_ICONHAND;
inline constexpr unsigned MB_ICONQUESTION = 0x0020;
inline constexpr unsigned MB_ICONWARNING = 0x0030;
inline constexpr unsigned MB_ICONEXCLAMATION = MB_ICONWARNING;
inline constexpr unsigned MB_ICONINFORMATION = 0x0040;
inline constexpr unsigned MB_ICONASTERISK = MB_ICONINFORMATION;
inline constexpr unsigned MB_ICONMASK = 0x00F0;
inline constexpr unsigned MB_DEFBUTTON2 = 0x0100;

// Answers.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// The caption the viewer's message boxes carry.
inline constexpr std::string_view kDefaultMessageCaption = "ORVANE SurfLook(Free)";

// Shows a modal message and returns the answer. One service serves the process
// (see MessageBox.h); tests install ScriptedMessageBoxes.
class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // text and caption are UTF-8; owner may be null.
    virtual int Show(std::string_view text, std::string_view caption, unsigned flags, QWidget* owner) = 0;
    // Releases threads waiting for a box to be answered (see QtMessageBoxService).
    virtual void CancelPending() {}
};

// The answer of a box that nobody can see: the harmless choice (IDOK for an
// information box, IDNO or IDCANCEL for a question).
int UnattendedAnswer(unsigned flags);

} // namespace tessara
