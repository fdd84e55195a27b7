#include "viewer/dialogs/CInOutXYZVurDlg.h"

#include "viewer/dialogs/DialogFont.h"
#include "viewer/dialogs/DialogKeys.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <array>

double CInOutXYZVurDlg::ScaleFactor(int index)
{
    static constexpr std::array<double, kScaleCount> kFactors{1.0, 10.0, 100.0, 0.1, 0.01};
    return index >= 0 && index < kScaleCount ? kFactors[static_cast<std::size_t>(index)] : 1.0;
}

CInOutXYZVurDlg::CInOutXYZVurDlg(QWidget* parent)
    : QDialog(parent), m_scale(new QComboBox(this)), m_xyz(new QRadioButton("XYZ形式（測量系）", this)),
      m_yxz(new QRadioButton("YXZ形式（数学系）", this)), m_path(new QLabel(this))
{
    setWindowTitle("カンマ形式（XYZ)");
    DialogFont::Apply(this);
    m_path->setObjectName("22010");
    m_path->setFrameShape(QFrame::StyledPanel);
    m_path->setFrameShadow(QFrame::Sunken);
    m_path->setMinimumWidth(340);
    m_scale->setObjectName("321");
    m_scale->addItems({"1倍", "10倍", "100倍", "1/10倍", "1/100倍"});
    m_xyz->setObjectName("322");
    m_yxz->setObjectName("323");
    auto* save = new QPushButton("保存(&S)", this);
    save->setObjectName("1");
    auto* cancel = new QPushButton("ｷｬﾝｾﾙ", this);
    cancel->setObjectName("2");

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_path, 0, 0, 1, 4);
    layout->addWidget(new QLabel("スケール：", this), 1, 0);
    layout->addWidget(m_scale, 1, 1);
    layout->addWidget(m_xyz, 2, 0, 1, 2);
    layout->addWidget(m_yxz, 3, 0, 1, 2);
    layout->addWidget(save, 4, 2);
    layout->addWidget(cancel, 4, 3);
    connect(save, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    DialogKeys::Install(this, DialogKeys::Rule::EnterAsTab, {save, cancel});
}

void CInOutXYZVurDlg::SetValues(const Values& values)
{
    m_values = values;
    const QString path = QString::fromStdString(values.path);
    m_path->setText(m_path->fontMetrics().elidedText(path, Qt::ElideMiddle, m_path->minimumWidth()));
    m_path->setToolTip(path);
    m_scale->setCurrentIndex(ShownScaleIndex(values.scaleIndex));
    (values.axisXyz ? m_xyz : m_yxz)->setChecked(true);
}

CInOutXYZVurDlg::Values CInOutXYZVurDlg::GetValues() const
{
    Values v = m_values;
    v.scaleIndex = ShownScaleIndex(m_scale->currentIndex());
    v.axisXyz = m_xyz->isChecked();
    return v;
}
