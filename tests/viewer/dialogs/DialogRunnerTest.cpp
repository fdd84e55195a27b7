#include "viewer/dialogs/DialogRunner.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// A dialog of one text field, run the way the viewer's dialogs are.
class NameDlg : public QDialog {
    Q_OBJECT
public:
    struct Values {
        std::string name;
    };
    explicit NameDlg(QWidget* parent) : QDialog(parent), edit_(new QLineEdit(this))
    {
        edit_->setObjectName("name");
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(edit_);
    }
    void SetValues(const Values& values) { edit_->setText(QString::fromStdString(values.name)); }
    Values GetValues() const { return {edit_->text().toStdString()}; }

private:
    QLineEdit* edit_;
};

class OtherDlg : public NameDlg {
    Q_OBJECT
public:
    using NameDlg::NameDlg;
};

QApplication& App()
{
    static int argc = 1;
    static char name[] = "dialog-runner-test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

} // namespace

TEST(DialogRunner, ScriptAnswersByClassRecordsCallsAndCancelsTheUnknown)
{
    tessara::ScopedDialogScript script;
    script->Answer<NameDlg>([](NameDlg::Values& v) {
        v.name += " changed";
        return tessara::IDOK;
    });

    NameDlg::Values values{"site"};
    EXPECT_EQ(tessara::RunDialog<NameDlg>(nullptr, values), tessara::IDOK);
    EXPECT_EQ(values.name, "site changed");

    // A class the script does not know is cancelled and leaves the values alone.
    OtherDlg::Values other{"kept"};
    EXPECT_EQ(tessara::RunDialog<OtherDlg>(nullptr, other), tessara::IDCANCEL);
    EXPECT_EQ(other.name, "kept");

    // A cancelling answer does not copy back what it changed.
    script->Answer<NameDlg>([](NameDlg::Values& v) {
        v.name = "discarded";
        return tessara::IDCANCEL;
    });
    EXPECT_EQ(tessara::RunDialog<NameDlg>(nullptr, values), tessara::IDCANCEL);
    EXPECT_EQ(values.name, "site changed");

    const auto calls = script->Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(script->Dialogs(), (std::vector<std::string>{"NameDlg", "OtherDlg", "NameDlg"}));
    EXPECT_EQ(std::any_cast<NameDlg::Values>(calls[0].valuesIn).name, "site");
    EXPECT_EQ(std::any_cast<NameDlg::Values>(calls[0].valuesOut).name, "site changed");
}

TEST(DialogRunner, RealDialogReturnsItsValuesOnlyWhenAccepted)
{
    App();
    ASSERT_EQ(tessara::CurrentDialogScript(), nullptr);
    auto finishWith = [](const QString& text, bool accept) {
        QTimer::singleShot(0, [text, accept] {
            auto* dialog = qobject_cast<NameDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->findChild<QLineEdit*>("name")->setText(text);
            accept ? dialog->accept() : dialog->reject();
        });
    };

    NameDlg::Values values{"before"};
    finishWith("typed", true);
    EXPECT_EQ(tessara::RunDialog<NameDlg>(nullptr, values), tessara::IDOK);
    EXPECT_EQ(values.name, "typed");

    finishWith("thrown away", false);
    EXPECT_EQ(tessara::RunDialog<NameDlg>(nullptr, values), tessara::IDCANCEL);
    EXPECT_EQ(values.name, "typed");
}

#include "DialogRunnerTest.moc"
