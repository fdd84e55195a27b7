#pragma once

#include <QLineEdit>

// The in-place editor of a stop's level. Enter hands the typed text to the
// owner, Escape the text from before; any focus loss hides the editor and
// drops what was typed.
class CInputEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CInputEdit(QWidget* parent = nullptr);
    //! Shows the editor over `cell` for (row, column) with `text`.
    void Begin(int row, int column, const QRect& cell, const QString& text, bool selectAll);
    int Row() const { return m_row; }
    int Column() const { return m_column; }
    bool Editing() const { return m_row >= 0; }

signals:
    //! The owner's notice of an ended edit (Enter: typed text; Escape: the text before).
    void Finished(int row, int column, const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void End();
    int m_row = -1;
    int m_column = -1;
    QString m_before;
};
