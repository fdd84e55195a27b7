#pragma once

#include <QFrame>

class CCustomStatic;

// The white, sunken band across the top of the filter and TIN dialogs: the
// information icon (624) and a one-line description (623).
class InfoHeader : public QFrame {
    Q_OBJECT
public:
    explicit InfoHeader(QWidget* parent);
    CCustomStatic* Text() const { return m_text; }

private:
    CCustomStatic* m_text;
};
