#include "DialogTestSupport.h"

#include "viewer/dialogs/BeepHook.h"
#include "viewer/dialogs/CCustomDblEdit.h"
#include "viewer/dialogs/CCustomIntEdit.h"
#include "viewer/dialogs/CNumericDoubleEdit.h"
#include "viewer/dialogs/CNumericDoubleEditEx.h"
#include "viewer/dialogs/CNumericIntEdit.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// A window with an edit under test and a button that takes the focus away.
template <class Edit>
struct Form {
    QApplication& app = DialogTestApp();
    QWidget window;
    Edit* edit = new Edit(&window);
    QPushButton* other = new QPushButton("other", &window);
    Form()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(other);
    }
    void TypeAndLeave(const QString& text)
    {
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, text);
        other->setFocus(Qt::TabFocusReason);
    }
};

class BeepCounter {
public:
    BeepCounter() : m_previous(BeepHook::Set([this] { ++count; })) {}
    ~BeepCounter() { BeepHook::Set(m_previous); }
    int count = 0;

private:
    std::function<void()> m_previous;
};

TEST(NumericEdit, FocusLossRestoresTheLastValidValue)
{
    Form<CNumericDoubleEdit> f;
    double value = 100.0;
    f.edit->Bind(&value, 0.0001, 1000.0, 4);
    ASSERT_TRUE(TakeFocus(f.window));
    EXPECT_EQ(f.edit->text(), "100.0000");
    f.TypeAndLeave("5000");
    EXPECT_EQ(f.edit->text(), "100.0000");
    EXPECT_EQ(value, 100.0);
    f.TypeAndLeave("");
    EXPECT_EQ(f.edit->text(), "100.0000");
    f.TypeAndLeave("0.0001");
    EXPECT_EQ(value, 0.0001);
    f.TypeAndLeave("1000");
    EXPECT_EQ(f.edit->text(), "1000.0000");
}

TEST(NumericEdit, RefusedCharactersBeepAndLeaveTheText)
{
    Form<CNumericIntEdit> f;
    int value = 12;
    f.edit->Bind(&value, 0, 255);
    ASSERT_TRUE(TakeFocus(f.window));
    BeepCounter beeps;
    f.edit->setFocus(Qt::TabFocusReason);
    f.edit->setCursorPosition(2);
    QTest::keyClicks(f.edit, "a.");
    EXPECT_EQ(f.edit->text(), "12");
    EXPECT_EQ(beeps.count, 2);
    QTest::keyClick(f.edit, Qt::Key_Backspace);
    QTest::keyClicks(f.edit, "5");
    EXPECT_EQ(f.edit->text(), "15");
    EXPECT_EQ(beeps.count, 2);
}

TEST(NumericEdit, PastedTextOfAnyLengthIsRefusedOnFocusLoss)
{
    Form<CNumericIntEdit> f;
    int value = 7;
    f.edit->Bind(&value, 0, 255);
    ASSERT_TRUE(TakeFocus(f.window));
    f.edit->setFocus(Qt::TabFocusReason);
    f.edit->setText(QString(5000, QChar('9')));
    f.other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(f.edit->text(), "7");
}

TEST(NumericEdit, AClickSelectsAllAndASecondPlacesTheCaret)
{
    Form<CNumericDoubleEdit> f;
    double value = 12.5;
    f.edit->Bind(&value, -9999.9999, 9999.9999, 4);
    ASSERT_TRUE(TakeFocus(f.window));
    f.other->setFocus(Qt::TabFocusReason);
    QTest::mouseClick(f.edit, Qt::LeftButton, {}, QPoint(3, f.edit->height() / 2));
    EXPECT_TRUE(f.edit->hasFocus());
    EXPECT_EQ(f.edit->selectedText(), f.edit->text());
    QTest::mouseClick(f.edit, Qt::LeftButton, {}, QPoint(3, f.edit->height() / 2));
    EXPECT_FALSE(f.edit->hasSelectedText());
}

TEST(NumericEditEx, SignalsOncePerChangedValueOnly)
{
    Form<CNumericDoubleEditEx> f;
    double value = 0.3;
    f.edit->Bind(&value, 0.0, 10.0, 2);
    ASSERT_TRUE(TakeFocus(f.window));
    QSignalSpy changed(f.edit, &CNumericDoubleEditEx::ValueChanged);
    f.TypeAndLeave("0.30");
    EXPECT_EQ(changed.count(), 0);
    f.TypeAndLeave("20");
    EXPECT_EQ(changed.count(), 0);
    f.TypeAndLeave("1.5");
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(value, 1.5);
}

TEST(CustomEdits, ShowTheirValueAndKeepItAgainstBadText)
{
    Form<CCustomDblEdit> f;
    f.edit->SetDecimals(2);
    f.edit->SetRange(0.01, 100.0);
    f.edit->SetValue(0.5);
    ASSERT_TRUE(TakeFocus(f.window));
    EXPECT_EQ(f.edit->text(), "0.50");
    f.TypeAndLeave("abc");
    EXPECT_EQ(f.edit->Value(), 0.5);
    EXPECT_EQ(f.edit->text(), "0.50");
    f.TypeAndLeave("0");
    EXPECT_EQ(f.edit->text(), "0.50");
    f.TypeAndLeave("100");
    EXPECT_EQ(f.edit->Value(), 100.0);

    Form<CCustomIntEdit> g;
    g.edit->SetRange(1, 100);
    g.edit->SetValue(2);
    ASSERT_TRUE(TakeFocus(g.window));
    g.TypeAndLeave("0");
    EXPECT_EQ(g.edit->Value(), 2);
    g.TypeAndLeave("1");
    EXPECT_EQ(g.edit->Value(), 1);
}

TEST(NumericEdit, DecimalEditsTakeNoInputMethod)
{
    DialogTestApp();
    CNumericDoubleEdit edit;
    CCustomDblEdit custom;
    EXPECT_FALSE(edit.testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_FALSE(custom.testAttribute(Qt::WA_InputMethodEnabled));
}

} // namespace
