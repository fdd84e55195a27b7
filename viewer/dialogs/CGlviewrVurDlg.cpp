#include "viewer/dialogs/CGlviewrVurDlg.h"

#include "viewer/dialogs/CCustomIntEdit.h"
#include "viewer/dialogs/CEXColorCtr.h"
#include "viewer/dialogs/CNumericDoubleEdit.h"
#include "viewer/dialogs/ColorDialogService.h"
#include "viewer/dialogs/ControlIds.h"
#include "viewer/dialogs/DialogFont.h"
#include "viewer/dialogs/DialogKeys.h"
#include "viewer/dialogs/EditCommit.h"
#include "viewer/dialogs/TinOptionControls.h"
#include "viewer/dialogs/ViewSettingsForm.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace {

const QStringList kPointSizes{"極小", "小さい", "普通", "大きい", "特大"};
const QStringList kDisplayTypes{"点群カラー", "即値(0)", "即値(1)", "元カラー", "元カラー(反転値)", "先カラー",
                                "先カラー(反転値)", "元α", "元α(反転値)＊", "先α", "先α(反転値)", "元α反転値"};
const QStringList kLineWidths{"1.0", "2.0", "3.0", "4.0", "5.0"};
const QStringList kProjections{"正射影", "透視射影（弱い）", "透視射影（標準）", "透視射影（強い）"};
const QStringList kMaterials{"ホワイト", "ルビー", "エメラルド", "翡翠", "黒曜石", "真珠", "トルコ石",
                             "真鍮", "青銅", "クローム", "銅", "金", "銀", "プラスチック(黒)",
                             "プラスチック(シアン)", "プラスチック(緑)", "プラスチック(赤)",
                             "プラスチック(白)", "プラスチック(黄)", "ゴム(黒)", "ゴム(シアン)", "ゴム(緑)",
                             "ゴム(赤)", "ゴム(白)", "ゴム(黄)"};

template <class W>
W* Hidden(W* w)
{
    w->setVisible(false);
    return w;
}

QComboBox* Combo(QWidget* parent, int id, const QStringList& items)
{
    auto* combo = ControlIds::Create<QComboBox>(parent, id);
    combo->addItems(items);
    return combo;
}

} // namespace

CGlviewrVurDlg::CGlviewrVurDlg(QWidget* parent) : QDialog(parent), m_modes(ReductionModes::FromGenerator())
{
    setWindowTitle("環境設定");
    DialogFont::Apply(this);
    BuildControls();
    DialogKeys::Install(this, DialogKeys::Rule::EnterAsTab, {m_ok, m_cancel, m_defaults, m_apply});
}

void CGlviewrVurDlg::BuildControls()
{
    using C = ControlIds;
    auto* grid = new QGridLayout(this);
    int row = 0;
    auto addRow = [&](const QString& label, QWidget* w, QWidget* extra = nullptr) {
        grid->addWidget(new QLabel(label, this), row, 0);
        grid->addWidget(w, row, 1, 1, extra ? 1 : 2);
        if (extra)
            grid->addWidget(extra, row, 2);
        ++row;
    };
    m_pointSize = Combo(this, 32905, kPointSizes);
    addRow("点群の表示サイズ", m_pointSize);
    m_displayType = Combo(this, 32964, kDisplayTypes);
    addRow("点群の表示タイプ", m_displayType);
    m_colour = C::Create<CEXColorCtr>(this, 35371);
    auto* pick = C::Create<QPushButton>(this, 35372, "...");
    addRow("点群の単色", m_colour, pick);
    m_bright = C::Create<QSlider>(this, 35373, Qt::Horizontal);
    m_bright->setRange(-100, 100);
    m_brightLabel = C::Create<QLabel>(this, 35374);
    addRow("色の明るさ", m_bright, m_brightLabel);
    m_cadWidth = Combo(this, 32907, kLineWidths);
    addRow("CAD図形の線幅", m_cadWidth);
    m_partWidth = Combo(this, 32908, kLineWidths);
    addRow("パート図の線幅", m_partWidth);
    m_projection = Combo(this, 32909, kProjections);
    addRow("遠近法表示", m_projection);

    auto* background = new QGroupBox("背景色", this);
    auto* bgLayout = new QHBoxLayout(background);
    m_black = C::Create<QRadioButton>(background, 32960, "黒色");
    m_blue = C::Create<QRadioButton>(background, 32961, "青色");
    m_white = C::Create<QRadioButton>(background, 32962, "白色");
    m_gradient = C::Create<QCheckBox>(background, 32965, "グラデーション");
    for (QWidget* w : {static_cast<QWidget*>(m_black), static_cast<QWidget*>(m_blue),
                       static_cast<QWidget*>(m_white), static_cast<QWidget*>(m_gradient)})
        bgLayout->addWidget(w);
    grid->addWidget(background, row++, 0, 1, 3);
    m_hideNear = C::Create<QCheckBox>(this, 32910, "手前の点群を非表示にし裏側の点群を可視化");
    grid->addWidget(m_hideNear, row++, 0, 1, 3);
    m_hideNoZ = C::Create<QCheckBox>(this, 32911, "Z値が未登録の図形は非表示にする");
    grid->addWidget(m_hideNoZ, row++, 0, 1, 3);
    m_material = Combo(this, 32919, kMaterials);
    addRow("面の質感と色（単色）", m_material);
    m_paleSlope = C::Create<QCheckBox>(this, 32923, "傾斜角での表示で塗り潰しを薄く表現する");
    grid->addWidget(m_paleSlope, row++, 0, 1, 3);
    auto* mouse = new QGroupBox("マウス設定", this);
    auto* mouseLayout = new QVBoxLayout(mouse);
    m_mouseA = C::Create<QRadioButton>(mouse, 32952, "タイプＡ（移動：中ボタン　回転：右ボタン）");
    m_mouseB = C::Create<QRadioButton>(mouse, 32953, "タイプＢ（移動：右ボタン　回転：中ボタン）");
    mouseLayout->addWidget(m_mouseA);
    mouseLayout->addWidget(m_mouseB);
    grid->addWidget(mouse, row++, 0, 1, 3);

    // Controls the dialog carries but does not show: their settings pass through.
    m_tin = new TinOptionControls(this);
    for (QWidget* w : std::initializer_list<QWidget*>{m_tin->reduce, m_tin->consider, m_tin->remove, m_tin->split,
                                                      m_tin->flat, m_tin->maxEdge, m_tin->pitch, m_tin->flatRange})
        w->setVisible(false);
    m_materialBg = Hidden(C::Create<QCheckBox>(this, 32924, "面の質感と色(単色)を背景に適用する"));
    m_hostCad = Hidden(C::Create<QCheckBox>(this, 32925, "ORVANEのＣＡＤを描画する"));
    m_hostPart = Hidden(C::Create<QCheckBox>(this, 32926, "ORVANEのパート図を描画する"));
    auto* pickGroup = new QButtonGroup(this);
    const char* pickTexts[] = {"なし", "ﾊﾟｰﾄ図", "CAD図", "ﾊﾟｰﾄ図＋CAD図"};
    for (int i = 0; i < 4; ++i) {
        m_pick[i] = Hidden(C::Create<QRadioButton>(this, 32901 + i, pickTexts[i]));
        pickGroup->addButton(m_pick[i]);
    }
    m_tinLimit = Hidden(C::Create<CCustomIntEdit>(this, 32963));
    m_alignLeft = Hidden(C::Create<QRadioButton>(this, 32954, "SurfLook(Free)を左半分に配置"));
    m_alignRight = Hidden(C::Create<QRadioButton>(this, 32955, "SurfLook(Free)を右半分に配置"));
    auto* alignGroup = new QButtonGroup(this);
    alignGroup->addButton(m_alignLeft);
    alignGroup->addButton(m_alignRight);

    auto* buttons = new QHBoxLayout;
    m_defaults = C::Create<QPushButton>(this, 32927, "初期値");
    m_apply = C::Create<QPushButton>(this, 35375, "更新");
    m_ok = C::Create<QPushButton>(this, 1, "OK");
    m_cancel = C::Create<QPushButton>(this, 2, "キャンセル");
    buttons->addWidget(m_defaults);
    buttons->addStretch();
    buttons->addWidget(m_apply);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    grid->addLayout(buttons, row++, 0, 1, 3);

    connect(pick, &QPushButton::clicked, this, [this] {
        if (const auto chosen = ChooseColor(m_colour->Color(), this))
            m_colour->SetColor(*chosen);
    });
    connect(m_bright, &QSlider::valueChanged, this, [this](int v) {
        m_brightLabel->setText(QString::fromStdString(ViewSettingsForm::BrightnessLabel(v)));
    });
    connect(m_ok, &QPushButton::clicked, this, &CGlviewrVurDlg::OnOk);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_apply, &QPushButton::clicked, this, &CGlviewrVurDlg::OnApply);
    connect(m_defaults, &QPushButton::clicked, this, &CGlviewrVurDlg::OnDefaults);
}

void CGlviewrVurDlg::SetValues(const Values& values)
{
    m_values = values;
    Load();
}

void CGlviewrVurDlg::Load()
{
    const ViewSettingsForm f = ViewSettingsForm::Load(m_values.settings, m_modes);
    m_pointSize->setCurrentIndex(f.pointSize);
    m_displayType->setCurrentIndex(f.displayType);
    m_colour->SetColor(f.pointColour);
    m_bright->setValue(f.brightness);
    m_brightLabel->setText(QString::fromStdString(ViewSettingsForm::BrightnessLabel(f.brightness)));
    m_cadWidth->setCurrentIndex(f.cadLineWidth);
    m_partWidth->setCurrentIndex(f.partLineWidth);
    m_projection->setCurrentIndex(f.projection);
    (f.background == 0 ? m_black : (f.background == 1 ? m_blue : m_white))->setChecked(true);
    m_gradient->setChecked(f.gradient);
    m_hideNear->setChecked(f.hideNearPoints);
    m_hideNoZ->setChecked(f.hideWithoutZ);
    m_material->setCurrentIndex(f.material);
    m_paleSlope->setChecked(f.paleSlope);
    (f.mouseType == 0 ? m_mouseA : m_mouseB)->setChecked(true);
    TinOptionControls::State tin;
    tin.tinOption.m_nPolyRdcsplMode = m_modes.LevelOf(f.reduceItem);
    tin.tinOption.m_nConsiderBreakLineSw = f.considerBreakLines ? 1 : 0;
    tin.tinOption.m_nRemoveExcessiveTriangleSw = f.removeTriangles ? 1 : 0;
    tin.tinOption.m_dExcessiveTriangleLength = f.maxEdgeM;
    tin.splitBreakLines = f.splitBreakLines ? 1 : 0;
    tin.splitPitchM = f.splitPitchM;
    tin.flattenParallelBreakLines = f.flatBreakLines ? 1 : 0;
    tin.parallelDistanceM = f.flatRangeM;
    m_tin->Load(tin);
    m_materialBg->setChecked(f.materialToBackground);
    m_hostCad->setChecked(f.hostCad);
    m_hostPart->setChecked(f.hostPart);
    m_pick[f.pickMode]->setChecked(true);
    m_tinLimit->SetRange(1, 100);
    m_tinLimit->SetValue(f.tinPointLimit);
    if (f.alignment >= 0)
        (f.alignment == 1 ? m_alignLeft : m_alignRight)->setChecked(true);
}

void CGlviewrVurDlg::WriteBack()
{
    EditCommit::CommitFocused(this);
    ViewSettingsForm f;
    f.pointSize = m_pointSize->currentIndex();
    f.displayType = m_displayType->currentIndex();
    f.pointColour = m_colour->Color();
    f.brightness = m_bright->value();
    f.cadLineWidth = m_cadWidth->currentIndex();
    f.partLineWidth = m_partWidth->currentIndex();
    f.projection = m_projection->currentIndex();
    f.background = m_white->isChecked() ? 2 : (m_blue->isChecked() ? 1 : 0);
    f.gradient = m_gradient->isChecked();
    f.hideNearPoints = m_hideNear->isChecked();
    f.hideWithoutZ = m_hideNoZ->isChecked();
    f.material = m_material->currentIndex();
    f.paleSlope = m_paleSlope->isChecked();
    f.mouseType = m_mouseA->isChecked() ? 0 : 1;
    const TinOptionControls::State tin = m_tin->Store();
    f.reduceItem = m_modes.ItemOf(tin.tinOption.m_nPolyRdcsplMode);
    f.considerBreakLines = tin.tinOption.m_nConsiderBreakLineSw != 0;
    f.removeTriangles = tin.tinOption.m_nRemoveExcessiveTriangleSw != 0;
    f.maxEdgeM = tin.tinOption.m_dExcessiveTriangleLength;
    f.splitBreakLines = tin.splitBreakLines != 0;
    f.splitPitchM = tin.splitPitchM;
    f.flatBreakLines = tin.flattenParallelBreakLines != 0;
    f.flatRangeM = tin.parallelDistanceM;
    f.materialToBackground = m_materialBg->isChecked();
    f.hostCad = m_hostCad->isChecked();
    f.hostPart = m_hostPart->isChecked();
    f.pickMode = 0;
    for (int i = 0; i < 4; ++i) {
        if (m_pick[i]->isChecked())
            f.pickMode = i;
    }
    f.tinPointLimit = m_tinLimit->Value();
    f.alignment = m_alignLeft->isChecked() ? 1 : (m_alignRight->isChecked() ? 0 : -1);
    f.WriteBack(m_values.settings, m_modes);
}

void CGlviewrVurDlg::OnOk()
{
    WriteBack();
    accept();
}

void CGlviewrVurDlg::OnApply()
{
    WriteBack();
    if (m_values.applyNow)
        m_values.applyNow(m_values.settings);
}

void CGlviewrVurDlg::OnDefaults()
{
    ViewSettingsForm::ResetToDefaults(m_values.settings);
    if (m_values.applyNow)
        m_values.applyNow(m_values.settings);
    Load();
}
