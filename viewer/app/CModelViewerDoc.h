#pragma once

// The program's document. The viewer keeps all its data in the main view, so the
// document holds nothing; it exists from start-up until the frame closes.
class CModelViewerDoc {
public:
    bool OnNewDocument() { return true; }
};
