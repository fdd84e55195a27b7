#include "outside/XLandXmlAttrSetDlg.h"

#include "outside/LandXmlAttrRules.h"
#include "platform/MessageBox.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

const char* const kLabels[] = {
    "工事名", "工事の説明", "工事段階", "適用基準",
    "作成者", "作成者URL", "作成日時", "アプリケーション名", "バージョン",
    "座標系名", "水平基準", "鉛直基準", "平面直角座標系", "平面直角座標系の説明",
};

// The records' texts in the order of the labels.
std::array<std::string*, 14> TextsOf(XLandXmlAttrSetDlg::Values& v)
{
    return {&v.project.name, &v.project.desc, &v.project.projectPhase, &v.project.applicationCriterion,
            &v.application.manufacturer, &v.application.manufacturerURL, &v.application.timeStamp,
            &v.application.name, &v.application.version, &v.coordinate.name, &v.coordinate.horizontalDatum,
            &v.coordinate.verticalDatum, &v.coordinate.planeCoordinateName, &v.coordinate.planeCoordinateDesc};
}

}  // namespace

XLandXmlAttrSetDlg::XLandXmlAttrSetDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("LandXML属性設定"));
    auto* form = new QFormLayout;
    for (int i = 0; i < kTextFields; ++i) {
        m_texts[std::size_t(i)] = new QLineEdit(this);
        form->addRow(QString::fromUtf8(kLabels[i]), m_texts[std::size_t(i)]);
    }
    m_differTP = new QLineEdit(this);
    form->addRow(QString::fromUtf8("基準面との差(m)"), m_differTP);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &XLandXmlAttrSetDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &XLandXmlAttrSetDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void XLandXmlAttrSetDlg::SetValues(const Values& values)
{
    m_values = values;
    const auto texts = TextsOf(m_values);
    for (int i = 0; i < kTextFields; ++i)
        m_texts[std::size_t(i)]->setText(QString::fromStdString(*texts[std::size_t(i)]));
    m_differTP->setText(QString::fromStdString(LandXmlAttrRules::FormatDifference(values.coordinate.differTP)));
}

XLandXmlAttrSetDlg::Values XLandXmlAttrSetDlg::GetValues() const { return m_values; }

void XLandXmlAttrSetDlg::accept()
{
    const auto difference = LandXmlAttrRules::ParseDifference(m_differTP->text().toStdString());
    if (!difference) {
        tessara::MessageBox("基準面との差には数値を入力してください。", "LandXML", tessara::MB_OK | tessara::MB_ICONWARNING);
        return;
    }
    Values v = m_values;
    const auto texts = TextsOf(v);
    for (int i = 0; i < kTextFields; ++i)
        *texts[std::size_t(i)] = LandXmlAttrRules::CutField(m_texts[std::size_t(i)]->text().toStdString());
    v.coordinate.differTP = *difference;
    m_values = v;
    QDialog::accept();
}

int XLandXmlAttrSetDlg::Run(LxDATA_Project& project, LxDATA_Application& application, LxDATA_Coordinate& coordinate,
                            QWidget* parent)
{
    XLandXmlAttrSetDlg dlg(parent);
    dlg.SetValues({project, application, coordinate});
    if (dlg.exec() != QDialog::Accepted) return 0;
    const Values v = dlg.GetValues();
    project = v.project;
    application = v.application;
    coordinate = v.coordinate;
    return 1;
}
