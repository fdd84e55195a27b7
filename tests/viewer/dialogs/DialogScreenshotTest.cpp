#include "DialogTestSupport.h"

#include "platform/MemoryProfile.h"
#include "viewer/dialogs/CColorAddDlg.h"
#include "viewer/dialogs/CColorButton.h"
#include "viewer/dialogs/CColorSettingDlg.h"
#include "viewer/dialogs/CDeleteDlg.h"
#include "viewer/dialogs/CEXColorCtr.h"
#include "viewer/dialogs/CGlviewrVurDlg.h"
#include "viewer/dialogs/CInOutXYZVurDlg.h"
#include "viewer/dialogs/ColorRef.h"
#include "viewer/dialogs/DanmenConfDlg.h"
#include "viewer/dialogs/DstConfDlg.h"
#include "viewer/dialogs/FileSimpleDlg.h"
#include "viewer/dialogs/MakeTinDlg.h"
#include "viewer/dialogs/VurGridDlg.h"
#include "viewer/dialogs/VurOutRemoveDlg.h"
#include "viewer/dialogs/VurRadiusDlg.h"
#include "viewer/dialogs/VurTinToElmDlg.h"
#include "viewer/render/ViewSettings.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

namespace {

// Every character a dialog shows (labels, buttons, combo items, list cells) has a
// glyph in the font the dialog draws with (its fallbacks included).
QString MissingGlyphs(const QWidget& dialog)
{
    QString texts;
    for (const auto* label : dialog.findChildren<QLabel*>())
        texts += label->text();
    for (const auto* button : dialog.findChildren<QAbstractButton*>())
        texts += button->text();
    for (const auto* combo : dialog.findChildren<QComboBox*>())
        for (int i = 0; i < combo->count(); ++i)
            texts += combo->itemText(i);
    texts += dialog.windowTitle();
    QString missing;
    const QFontMetrics metrics(dialog.font());
    for (const uint c : texts.toUcs4()) {
        if (c > 0x20 && c != '&' && !metrics.inFontUcs4(c))
            missing += QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
    }
    return missing;
}

QColor PixelOf(const QImage& image, const QWidget& dialog, const QWidget& control, QPoint inControl)
{
    return image.pixelColor(control.mapTo(&dialog, inControl));
}

struct Shot {
    const char* name;
    std::function<std::unique_ptr<QWidget>()> make;
    std::function<void(QWidget&, const QImage&)> check;
    bool keep = false;  // also written to docs/screenshots/
};

const ViewSettings& Defaults()
{
    static const ViewSettings s;
    return s;
}

std::string ModelFolder()
{
    const auto folder = std::filesystem::path(::testing::TempDir()) / "screenshot-models";
    std::filesystem::create_directories(folder);
    for (const char* name : {"site-a.tpf", "SITE-B.TPF", "notes.txt"})
        std::ofstream(folder / name) << "x";
    return folder.string() + "/";
}

std::vector<Shot> Shots()
{
    return {
        {"view_settings_brightness_25",
         [] {
             auto d = std::make_unique<CGlviewrVurDlg>(nullptr);
             CGlviewrVurDlg::Values v;
             v.settings.colourBrightness = 25;
             d->SetValues(v);
             return d;
         },
         [](QWidget& d, const QImage&) {
             EXPECT_EQ(Id<QLabel>(d, 35374)->text(), "+25");
             for (int id : {32914, 32915, 32917, 32963, 32954, 32901})
                 EXPECT_FALSE(Id<QWidget>(d, id)->isVisible()) << id;
         },
         true},
        {"colour_setting_white_to_black",
         [] {
             auto d = std::make_unique<CColorSettingDlg>(nullptr);
             CColorSettingDlg::Values v;
             v.store.m_nCurIndex = 2;  // the built-in 255 white, 0 black
             v.store.m_nCurId = v.store.m_settings[2].id;
             d->SetValues(v);
             return d;
         },
         [](QWidget& w, const QImage& image) {
             auto& d = static_cast<CColorSettingDlg&>(w);
             const QRect bar = d.BarRect();
             ASSERT_GT(bar.height(), 10);
             const QPoint mid(bar.center().x(), 0);
             EXPECT_EQ(image.pixelColor(mid.x(), bar.top()), QColor(Qt::white));
             EXPECT_LT(image.pixelColor(mid.x(), bar.bottom()).value(), 8);
             const int grey = image.pixelColor(mid.x(), bar.top() + bar.height() / 2).red();
             EXPECT_NEAR(grey, 128, 4);
             EXPECT_FALSE(Id<QWidget>(d, 35360)->isEnabled());
         },
         true},
        {"colour_add_level_128",
         [] {
             auto d = std::make_unique<CColorAddDlg>(nullptr);
             d->SetValues({128, ColorRef::Rgb(40, 160, 90)});
             return d;
         },
         [](QWidget& d, const QImage& image) {
             auto* sample = Id<CColorButton>(d, 35366);
             EXPECT_EQ(PixelOf(image, d, *sample, sample->rect().center()), QColor(40, 160, 90));
         }},
        {"grid_filter_kind_0",
         [] {
             auto d = std::make_unique<VurGridDlg>(nullptr);
             d->SetValues(VurGridDlg::Values::FromSettings(Defaults(), 0));
             return d;
         },
         [](QWidget& d, const QImage& image) {
             EXPECT_TRUE(Id<QWidget>(d, 22003)->isEnabled());
             auto* text = Id<QLabel>(d, 623);
             EXPECT_EQ(PixelOf(image, d, *text, QPoint(text->width() - 2, 1)), QColor(Qt::white));
         },
         true},
        {"grid_filter_kind_1",
         [] {
             auto d = std::make_unique<VurGridDlg>(nullptr);
             d->SetValues(VurGridDlg::Values::FromSettings(Defaults(), 1));
             return d;
         },
         [](QWidget& d, const QImage&) { EXPECT_FALSE(Id<QWidget>(d, 22003)->isEnabled()); }},
        {"radius_filter",
         [] {
             auto d = std::make_unique<VurRadiusDlg>(nullptr);
             d->SetValues(VurRadiusDlg::Values::FromSettings(Defaults()));
             return d;
         },
         [](QWidget& d, const QImage&) { EXPECT_EQ(Id<QLineEdit>(d, 22001)->text(), "0.80"); }},
        {"outlier_filter",
         [] {
             auto d = std::make_unique<VurOutRemoveDlg>(nullptr);
             d->SetValues(VurOutRemoveDlg::Values::FromSettings(Defaults()));
             return d;
         },
         [](QWidget& d, const QImage&) { EXPECT_EQ(Id<QLineEdit>(d, 22001)->text(), "50"); }},
        {"make_tin_break_lines_off",
         [] {
             auto d = std::make_unique<MakeTinDlg>(nullptr);
             d->SetValues(MakeTinDlg::Values::FromSettings(Defaults(), "点群からTINを作成します 処理を実行しますか？"));
             return d;
         },
         [](QWidget& d, const QImage&) {
             for (int id : {32956, 32957, 32958, 32959})
                 EXPECT_FALSE(Id<QWidget>(d, id)->isEnabled()) << id;
         }},
        {"tin_to_cad_type_5",
         [] {
             auto d = std::make_unique<VurTinToElmDlg>(nullptr);
             d->SetValues({5});
             return d;
         },
         [](QWidget& d, const QImage&) {
             EXPECT_TRUE(Id<QRadioButton>(d, 32939)->isChecked());
             EXPECT_EQ(Id<QRadioButton>(d, 32939)->text(), "TINの構成点");
         }},
        {"delete_all",
         [] {
             static ViewSettings s;
             return std::make_unique<CDeleteDlg>(&s, nullptr, nullptr);
         },
         [](QWidget& d, const QImage&) {
             for (int id : {32932, 32933, 32934, 32935, 32936, 32937})
                 EXPECT_FALSE(Id<QWidget>(d, id)->isEnabled()) << id;
         }},
        {"distance_and_section_on_the_view",
         [] {
             static ViewSettings s;
             auto view = std::make_unique<QWidget>();
             view->resize(500, 300);
             view->setAutoFillBackground(true);
             QPalette p = view->palette();
             p.setColor(QPalette::Window, QColor(10, 15, 20));
             view->setPalette(p);
             (new DanmenConfDlg(&s, view.get(), {}))->show();
             auto* dst = new DstConfDlg(&s, view.get());
             dst->move(0, 150);
             dst->show();
             return view;
         },
         [](QWidget& view, const QImage& image) {
             auto* section = view.findChild<DanmenConfDlg*>();
             ASSERT_NE(section, nullptr);
             EXPECT_EQ(section->pos(), QPoint(0, 0));
             EXPECT_EQ(image.pixelColor(view.width() - 2, view.height() - 2), QColor(10, 15, 20));
         }},
        {"file_choice_models",
         [] {
             auto d = std::make_unique<FileSimpleDlg>(nullptr);
             d->SetValues({ModelFolder(), "tpf", {}});
             return d;
         },
         [](QWidget& d, const QImage&) {
             auto* list = Id<QTreeWidget>(d, 22011);
             ASSERT_EQ(list->topLevelItemCount(), 2);
             EXPECT_EQ(list->topLevelItem(0)->text(0), "SITE-B");
             EXPECT_EQ(list->topLevelItem(1)->text(0), "site-a");
         }},
        {"comma_export_scale_3",
         [] {
             auto d = std::make_unique<CInOutXYZVurDlg>(nullptr);
             d->SetValues({3, true, "/work/out/points.csv"});
             return d;
         },
         [](QWidget& d, const QImage&) { EXPECT_EQ(Id<QComboBox>(d, 321)->currentText(), "1/10倍"); }},
        {"colour_samples_12px",
         [] {
             auto w = std::make_unique<QWidget>();
             auto* sample = new CEXColorCtr(w.get());
             sample->setObjectName("sample");
             sample->SetColor(ColorRef::Rgb(5, 120, 255));
             sample->setGeometry(0, 0, 160, 12);
             auto* button = new CColorButton(w.get());
             button->setObjectName("button");
             button->SetColor(ColorRef::Rgb(5, 120, 255));
             button->setGeometry(0, 20, 40, 20);
             w->resize(170, 45);
             return w;
         },
         [](QWidget& w, const QImage& image) {
             const QColor colour(5, 120, 255);
             EXPECT_EQ(image.pixelColor(10, 6), colour);
             EXPECT_EQ(image.pixelColor(32, 6), colour);
             EXPECT_NE(image.pixelColor(35, 6), colour);
             // The text starts at 36: no ink between the swatch frame and there.
             const QColor background = w.findChild<CEXColorCtr*>("sample")->palette().color(QPalette::Base);
             for (int y = 1; y < 11; ++y)
                 EXPECT_EQ(image.pixelColor(35, y), background) << y;
             bool ink = false;
             for (int x = 36; x < 159; ++x)
                 for (int y = 4; y < 11; ++y)
                     ink = ink || image.pixelColor(x, y) != background;
             EXPECT_TRUE(ink);
             EXPECT_EQ(image.pixelColor(20, 30), colour);
         }},
    };
}

class DialogScreenshots : public ::testing::TestWithParam<Shot> {};

TEST_P(DialogScreenshots, DrawsItsStateWithEveryGlyph)
{
    DialogTestApp();
    const Shot& shot = GetParam();
    auto widget = shot.make();
    ASSERT_TRUE(TakeFocus(*widget));
    const QImage image = widget->grab().toImage();
    const QString dir = QStringLiteral(TESSARA_BINARY_DIR_PATH "/screenshots");
    QDir().mkpath(dir);
    ASSERT_TRUE(image.save(dir + "/" + shot.name + ".png"));
    EXPECT_EQ(MissingGlyphs(*widget), QString()) << shot.name;
    shot.check(*widget, image);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogScreenshots, ::testing::ValuesIn(Shots()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
